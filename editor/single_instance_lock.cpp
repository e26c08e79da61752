#include "editor/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "platform/com/fs.h"

namespace editor {
namespace {

// A real folder (not a link) of the user's, closed to group and others: no
// one else can put a file in it, nor take one away.
bool IsOwnPrivateFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// `folder`, made when missing; "" unless it is then the user's alone (another
// user may have made it first).
std::string PrivateFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return IsOwnPrivateFolder(folder) ? folder : std::string();
}

constexpr int kPlaces = 4;

// The folder of the lock file at the place `which`, in the order tried; ""
// when that place is not the user's alone.
std::string LockFolder(int which) {
    if (which == 0) {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        // A relative one is no runtime folder by the convention; one inherited
        // from another user (su without a login) is not ours.
        return runtime && runtime[0] == '/' && IsOwnPrivateFolder(runtime) ? runtime : std::string();
    }
    if (which == 1) {
        // The login manager's runtime folder of the user, which a session without
        // the variable (su - user) shares with the user's desktop session; never made here.
        const std::string system = "/run/user/" + std::to_string(::geteuid());
        return IsOwnPrivateFolder(system) ? system : std::string();
    }
    if (which == 2) {
        // Per user, as tmux does: a fixed name there would be the first user's.
        std::error_code ec;
        std::string temp = std::filesystem::temp_directory_path(ec).string();
        if (temp.empty()) temp = "/tmp";
        return PrivateFolder(plat::fs::Join(temp, "orvik-" + std::to_string(::geteuid())));
    }
    // Another user made that name first: the user's cache folder.
    const std::string cache = plat::fs::XdgBaseFolder("XDG_CACHE_HOME", ".cache");
    if (cache.empty() || !plat::fs::CreateFolder(cache)) return {};
    return PrivateFolder(plat::fs::Join(cache, "orvik"));
}

std::string LockFileName(std::string_view applicationTitle) {
    std::string name;
    for (char c : applicationTitle) name += (c == '/' || c == '\0') ? '_' : c;
    return name + ".lock";
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(std::string_view applicationTitle)
    : name_(LockFileName(applicationTitle)), path_(PathFor(applicationTitle)) {}

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::string SingleInstanceLock::PathFor(std::string_view applicationTitle) {
    for (int which = 0; which < kPlaces; ++which)
        if (const std::string folder = LockFolder(which); !folder.empty())
            return plat::fs::Join(folder, LockFileName(applicationTitle));
    return {};
}

bool SingleInstanceLock::Acquire() {
    if (fd_ >= 0) return true;
    // A place whose lock file cannot be used gives way to the next: every copy
    // of the user meets the same and so ends at the same file.
    for (int which = 0; which < kPlaces; ++which) {
        const std::string folder = LockFolder(which);
        if (folder.empty()) continue;
        const std::string path = plat::fs::Join(folder, name_);
        // Neither through a link nor waiting on a FIFO left at the name.
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd < 0) continue;
        struct stat st {};
        int rc = -1;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            do {
                rc = ::flock(fd, LOCK_EX | LOCK_NB);
            } while (rc != 0 && errno == EINTR);
            if (rc == 0) {
                fd_ = fd;
                path_ = path;
                return true;
            }
            if (errno == EWOULDBLOCK) {
                ::close(fd);
                return false;
            }
        }
        ::close(fd);
    }
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace editor
