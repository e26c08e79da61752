#include "platform/serial/uucp_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/com/fs.h"

namespace plat {

namespace {

constexpr char kFoldersVariable[] = "ORVIK_SERIAL_LOCK_DIRS";

bool IsAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The lock's text (at most a line's worth); false when it cannot be opened or read.
bool ReadLock(const std::string& path, std::string& text) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[128];
    ssize_t n;
    do n = ::read(fd, buffer, sizeof buffer);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n < 0) return false;
    text.assign(buffer, static_cast<size_t>(n));
    return true;
}

enum class Found { None, Live, Stale };

// What the lock at `path` says; `pid` gets a live owner's PID (0 for a fresh unreadable lock).
Found Inspect(const std::string& path, pid_t& pid) {
    pid = 0;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return Found::None;
    std::string text;
    pid = ReadLock(path, text) ? UucpLock::ParsePid(text) : 0;
    if (pid > 0) return IsAlive(pid) ? Found::Live : Found::Stale;
    pid = 0;
    const time_t age = ::time(nullptr) - st.st_mtime;
    return age < UucpLock::kUnreadableGraceSeconds ? Found::Live : Found::Stale;
}

// Writes our lock under a temporary name and links it to `path`, so that the
// lock never exists half-written and an existing one is never overwritten.
// errno tells why it failed.
bool CreateLock(const std::string& folder, const std::string& path) {
    std::string temp = folder + "/LTMP.XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    const std::string text = UucpLock::LockText(::getpid());
    bool ok = ::fchmod(fd, 0644) == 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ok = ::close(fd) == 0 && ok;
    int err = errno;
    if (ok && ::link(temp.c_str(), path.c_str()) != 0) {
        err = errno;
        ok = false;
    }
    ::unlink(temp.c_str());
    errno = err;
    return ok;
}

}  // namespace

std::string UucpLock::LockName(const std::string& devicePath) { return "LCK.." + fs::FileName(fs::RealPath(devicePath)); }

std::vector<std::string> UucpLock::LockFolders() {
    std::string list = "/run/lock:/var/lock";
    if (const char* env = ::getenv(kFoldersVariable); env && *env) list = env;
    std::vector<std::string> folders;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string folder = list.substr(start, end - start);
        start = end + 1;
        if (folder.empty() || !fs::FolderExists(folder)) continue;
        const std::string real = fs::RealPath(folder);
        if (std::find(folders.begin(), folders.end(), real) == folders.end()) folders.push_back(real);
    }
    return folders;
}

pid_t UucpLock::ParsePid(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    long long pid = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        pid = pid * 10 + (text[i] - '0');
        if (pid > 0x7FFFFFFF) return 0;  // no PID is that large
    }
    return digits ? static_cast<pid_t>(pid) : 0;
}

std::string UucpLock::LockText(pid_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

UucpLock::Result UucpLock::Acquire(const std::string& devicePath, pid_t* holder) {
    Release();
    if (holder) *holder = 0;
    const std::string name = LockName(devicePath);
    std::vector<std::string> usable;  // folders where we may take our own lock
    for (const std::string& folder : LockFolders()) {
        const std::string path = folder + "/" + name;
        pid_t pid = 0;
        switch (Inspect(path, pid)) {
            case Found::Live:
                if (holder) *holder = pid;
                return Result::Busy;
            case Found::Stale:
                // A stale lock we cannot remove stays; we go on without ours there.
                if (::unlink(path.c_str()) != 0 && errno != ENOENT) continue;
                break;
            case Found::None: break;
        }
        usable.push_back(folder);
    }
    for (const std::string& folder : usable) {
        const std::string path = folder + "/" + name;
        if (CreateLock(folder, path)) {
            held_.push_back(path);
            continue;
        }
        if (errno != EEXIST) continue;  // an unwritable folder: no lock of our own
        // Another program took it between our look and our link.
        pid_t pid = 0;
        if (Inspect(path, pid) == Found::Live) {
            if (holder) *holder = pid;
            Release();
            return Result::Busy;
        }
    }
    return Result::Free;
}

void UucpLock::Release() {
    for (const std::string& path : held_) {
        std::string text;
        // Only our own: a lock that has been replaced belongs to someone else now.
        if (ReadLock(path, text) && ParsePid(text) == ::getpid()) ::unlink(path.c_str());
    }
    held_.clear();
}

}  // namespace plat
