#include "platform/serial/device_holders.h"

#include <dirent.h>
#include <unistd.h>

#include <memory>

#include "platform/com/fs.h"

namespace plat {

namespace {

using DirPtr = std::unique_ptr<DIR, int (*)(DIR*)>;

bool IsNumber(const char* name) {
    if (!*name) return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

bool HoldsDevice(const std::string& fdFolder, const std::string& device) {
    DirPtr dir(::opendir(fdFolder.c_str()), ::closedir);
    if (!dir) return false;  // gone, or not ours to read
    std::string target(device.size() + 1, '\0');
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!IsNumber(entry->d_name)) continue;
        const std::string link = fdFolder + "/" + entry->d_name;
        const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
        if (n == static_cast<ssize_t>(device.size()) && target.compare(0, device.size(), device) == 0) return true;
    }
    return false;
}

}  // namespace

pid_t FindOtherDeviceHolder(const std::string& devicePath, const std::string& procRoot) {
    const std::string device = fs::RealPath(devicePath);
    if (device.empty()) return 0;
    const pid_t self = ::getpid();
    DirPtr proc(::opendir(procRoot.c_str()), ::closedir);
    if (!proc) return 0;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsNumber(entry->d_name)) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(entry->d_name));
        if (pid == self) continue;
        if (HoldsDevice(procRoot + "/" + entry->d_name + "/fd", device)) return pid;
    }
    return 0;
}

}  // namespace plat
