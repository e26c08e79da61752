#include "platform/serial/device_holders.h"

#include <dirent.h>
#include <limits.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string_view>

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

// The pseudo-terminal number of "/dev/pts/<n>", -1 for any other device.
long PtyIndex(const std::string& device) {
    constexpr std::string_view kPts = "/dev/pts/";
    if (device.compare(0, kPts.size(), kPts) != 0 || !IsNumber(device.c_str() + kPts.size())) return -1;
    return std::stol(device.substr(kPts.size()));
}

// Whether the descriptor is the master side of pseudo-terminal `index`.
bool IsPtyMaster(const std::string& procFolder, const char* fd, const std::string& target, long index) {
    if (index < 0 || (target != "/dev/ptmx" && target != "/dev/pts/ptmx")) return false;
    std::ifstream info(procFolder + "/fdinfo/" + fd);
    std::string line;
    while (std::getline(info, line))
        if (line.rfind("tty-index:", 0) == 0) return std::stol(line.substr(10)) == index;
    return false;
}

// A process holding the device counts, unless it also holds the master side of
// the same pseudo-terminal: then it is the far end of the line (a simulator).
bool HoldsDevice(const std::string& procFolder, const std::string& device, long ptyIndex) {
    const std::string fdFolder = procFolder + "/fd";
    DirPtr dir(::opendir(fdFolder.c_str()), ::closedir);
    if (!dir) return false;  // gone, or not ours to read
    bool holds = false;
    std::string target(PATH_MAX, '\0');
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!IsNumber(entry->d_name)) continue;
        const std::string link = fdFolder + "/" + entry->d_name;
        const ssize_t n = ::readlink(link.c_str(), target.data(), target.size());
        if (n <= 0) continue;
        const std::string linked = target.substr(0, static_cast<size_t>(n));
        if (linked == device) holds = true;
        else if (IsPtyMaster(procFolder, entry->d_name, linked, ptyIndex)) return false;
    }
    return holds;
}

}  // namespace

pid_t FindOtherDeviceHolder(const std::string& devicePath, const std::string& procRoot) {
    const std::string device = fs::RealPath(devicePath);
    if (device.empty()) return 0;
    const long ptyIndex = PtyIndex(device);
    const pid_t self = ::getpid();
    DirPtr proc(::opendir(procRoot.c_str()), ::closedir);
    if (!proc) return 0;
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsNumber(entry->d_name)) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(entry->d_name));
        if (pid == self) continue;
        if (HoldsDevice(procRoot + "/" + entry->d_name, device, ptyIndex)) return pid;
    }
    return 0;
}

}  // namespace plat
