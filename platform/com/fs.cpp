#include "platform/com/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

namespace plat::fs {
namespace {

char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// '*' any run, '?' one character, letters without regard to case.
bool Matches(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || LowerChar(pattern[p]) == LowerChar(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

mode_t CurrentUmask() {
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool SyncFolder(const std::string& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    int err = errno;
    ::close(fd);
    errno = err;
    return ok;
}

}  // namespace

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !Matches(name, pattern)) continue;
        if (FileExists(Join(folder, name))) names.emplace_back(name);
    }
    // Folded first, so that the order (and which of two names differing only in
    // case comes first) does not depend on the file system or the locale.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const size_t n = std::min(a.size(), b.size());
        for (size_t i = 0; i < n; ++i) {
            const char x = UpperChar(a[i]), y = UpperChar(b[i]);
            if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
        }
        if (a.size() != b.size()) return a.size() < b.size();
        return a < b;
    });
    return names;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolder(const std::string& path) {
    if (path.empty()) return false;
    if (FolderExists(path)) return true;
    std::string current;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        current = path.substr(0, end);
        if (!current.empty() && !FolderExists(current)) {
            if (::mkdir(current.c_str(), 0777) != 0 && errno != EEXIST) return false;
        }
        pos = end + 1;
    }
    return FolderExists(path);
}

bool IsReadOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

bool SetReadOnly(const std::string& path, bool readOnly) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    // Read-only keeps everyone from writing; clearing it gives the owner write access back.
    mode = readOnly ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    return ::chmod(path.c_str(), mode) == 0;
}

bool IsHidden(const std::string& path) {
    std::string name = FileName(path);
    return !name.empty() && name[0] == '.' && name != "." && name != "..";
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    (void)SyncFolder(FolderOf(to));
    return true;
}

bool ReadFile(const std::string& path, std::string& bytes) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    std::string out;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    bytes = std::move(out);
    return true;
}

std::string RealPath(const std::string& path) {
    std::string out = path;
    if (char* real = ::realpath(path.c_str(), nullptr)) {
        out = real;
        ::free(real);
    }
    return out;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes) {
    // Write through a link to the file it names, so the link itself survives.
    const std::string target = RealPath(path);
    struct stat st {};
    bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || (st.st_mode & S_IWUSR) == 0)) {
        errno = S_ISREG(st.st_mode) ? EACCES : EISDIR;
        return false;  // a read-only file is not replaced behind its owner's back
    }
    return ReplaceFile(target, bytes, exists ? (st.st_mode & 07777) : NewFileMode());
}

int OpenLockFile(const std::string& path, int flags, unsigned mode, std::string* why) {
    const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0) {
        if (why) *why = errno == ELOOP ? "it is a link" : std::strerror(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) return fd;
    ::close(fd);
    if (why) *why = "it is not a regular file";
    return -1;
}

unsigned NewFileMode() { return 0666 & ~CurrentUmask(); }

namespace {
std::function<bool()>& BeforeRenameHook() {
    static std::function<bool()> hook;
    return hook;
}

std::function<void(const std::string&)>& BeforeLockHook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Hidden and without an extension, so no listing of a kind of file shows it;
// the program's prefix, so no other program's temporary file has its shape.
constexpr std::string_view kTemporaryPrefix = ".orvik-tmp-";

// The prefix and the six letters or digits mkstemp puts in place of "XXXXXX".
bool IsTemporaryName(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + 6 || !name.starts_with(kTemporaryPrefix)) return false;
    return std::all_of(name.begin() + kTemporaryPrefix.size(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

}  // namespace

// A writer holds an exclusive flock on its file until the rename, so getting
// the lock means nobody writes it any more.
void RemoveAbandonedTemporaryFiles(const std::string& folder) {
    const int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(dirFd), ::closedir);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get()))
        if (IsTemporaryName(entry->d_name)) names.emplace_back(entry->d_name);
    for (const std::string& name : names) {
        struct stat byName {};
        if (::fstatat(dirFd, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(byName.st_mode)) continue;
        // Whatever took the name since the look, opening it neither follows a
        // link nor waits (a FIFO).
        const int fd = ::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(dirFd, name.c_str(), &byName, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(byName, held))
            (void)::unlinkat(dirFd, name.c_str(), 0);
        ::close(fd);
    }
}

namespace {
// A new temporary file in `folder`, its name in `temp`, locked for as long as
// the descriptor stays open. A cleaner may take the name for an abandoned
// file between its creation and the lock: then it is made anew.
int CreateLockedTemporaryFile(const std::string& folder, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + std::string(kTemporaryPrefix) + "XXXXXX";
        // O_EXCL: never another writer's file; O_CLOEXEC: a program started
        // meanwhile does not hold the lock on.
        const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0) return -1;
        if (auto& hook = BeforeLockHook()) hook(temp);
        // A file system without flock fails every cleaner's lock as well.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat held {}, byName {};
        if (::fstat(fd, &held) == 0 && ::lstat(temp.c_str(), &byName) == 0 && SameFile(held, byName)) return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}
}  // namespace

void SetBeforeRenameHookForTests(std::function<bool()> hook) { BeforeRenameHook() = std::move(hook); }

void SetBeforeLockHookForTests(std::function<void(const std::string&)> hook) { BeforeLockHook() = std::move(hook); }

bool ReplaceFile(const std::string& path, std::string_view bytes, unsigned mode, std::string* error) {
    const std::string folder = FolderOf(path);
    std::string temp;
    auto fail = [&](const char* what, int err) {
        if (error) *error = std::string(what) + " " + path + ": " + std::strerror(err);
        errno = err;
        return false;
    };
    const int fd = CreateLockedTemporaryFile(folder, temp);
    if (fd < 0) return fail("Cannot create a temporary file for", errno);
    const char* step = nullptr;
    if (::fchmod(fd, static_cast<mode_t>(mode & 07777)) != 0) step = "Cannot set the mode of";
    else if (!WriteAll(fd, bytes)) step = "Cannot write";
    else if (::fsync(fd) != 0) step = "Cannot write";
    int err = errno;
    if (!step) {
        auto& hook = BeforeRenameHook();
        if (hook && !hook()) {
            err = EIO;
            step = "Cannot replace";
        } else if (::rename(temp.c_str(), path.c_str()) != 0) {
            err = errno;
            step = "Cannot replace";
        }
    }
    if (step) ::unlink(temp.c_str());
    // The lock goes only now, the name being gone. fsync has reported any
    // write error, so closing has nothing left to report.
    ::close(fd);
    if (step) return fail(step, err);
    if (!SyncFolder(folder)) return fail("Cannot write", errno);
    return true;
}

std::string AddSeparator(std::string_view path) {
    if (path.empty() || path.back() == '/') return std::string(path);
    return std::string(path) + '/';
}

std::string FileName(std::string_view path) {
    size_t cut = path.rfind('/');
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string FolderOf(std::string_view path) {
    size_t cut = path.rfind('/');
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string Join(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    return AddSeparator(folder) + std::string(name);
}

std::string XdgBaseFolder(const char* variable, std::string_view belowHome) {
    if (const char* base = std::getenv(variable); base && base[0] == '/') return base;
    std::string home;
    if (const char* env = std::getenv("HOME"); env && *env) home = env;
    if (home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    return home.empty() ? std::string() : Join(home, belowHome);
}

}  // namespace plat::fs
