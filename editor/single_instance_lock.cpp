#include "editor/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace editor {

SingleInstanceLock::SingleInstanceLock(std::string_view applicationTitle) : path_(PathFor(applicationTitle)) {}

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::string SingleInstanceLock::PathFor(std::string_view applicationTitle) {
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        folder = runtime;
    } else {
        std::error_code ec;
        folder = std::filesystem::temp_directory_path(ec).string();
        if (folder.empty()) folder = "/tmp";
    }
    std::string name;
    for (char c : applicationTitle) name += (c == '/' || c == '\0') ? '_' : c;
    return folder + "/" + name + ".lock";
}

bool SingleInstanceLock::Acquire() {
    if (fd_ >= 0) return true;
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return true;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool taken = errno == EWOULDBLOCK;
        ::close(fd);
        return !taken;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace editor
