#include "editor/single_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

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
constexpr int kFixedPlace = 2;

// The folder of the lock file at the place `which`, in the order taken; ""
// when that place is not the user's alone.
std::string LockFolder(int which, const std::string& tempFolder) {
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
    if (which == kFixedPlace) {
        // Per user, as tmux does, and apart from $TMPDIR, which two starts may not share.
        return PrivateFolder(plat::fs::Join(tempFolder, "orvik-" + std::to_string(::geteuid())));
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

enum class Taken { Yes, Busy, Unusable };

// The lock file at `path`, unless it is one of `held` already.
Taken TakeLock(const std::string& path, std::vector<int>& held) {
    const int fd = plat::fs::OpenLockFile(path, O_RDWR | O_CREAT, 0600);
    if (fd < 0) return Taken::Unusable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_uid != ::geteuid()) {
        ::close(fd);
        return Taken::Unusable;
    }
    // Two places are often one folder ($XDG_RUNTIME_DIR is /run/user/<uid>), and
    // a second flock of the process on the file would fail against its first.
    for (const int other : held) {
        struct stat hst {};
        if (::fstat(other, &hst) == 0 && hst.st_dev == st.st_dev && hst.st_ino == st.st_ino) {
            ::close(fd);
            return Taken::Yes;
        }
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Taken::Busy : Taken::Unusable;
    }
    held.push_back(fd);
    return Taken::Yes;
}

}  // namespace

SingleInstanceLock::SingleInstanceLock(std::string_view applicationTitle, std::string tempFolder)
    : name_(LockFileName(applicationTitle)), tempFolder_(std::move(tempFolder)) {}

SingleInstanceLock::~SingleInstanceLock() { Release(); }

bool SingleInstanceLock::Acquire() {
    if (Held()) return true;
    // Every start takes every place of the user's, in one order: a shell without
    // the runtime folder and the desktop session still meet at the fixed place,
    // and of two starting together the first at their first common place runs.
    for (int which = 0; which < kPlaces; ++which) {
        const std::string folder = LockFolder(which, tempFolder_);
        if (folder.empty()) continue;
        const std::string path = plat::fs::Join(folder, name_);
        const Taken taken = TakeLock(path, fds_);
        if (taken == Taken::Busy) {
            Release();
            return false;
        }
        if (taken != Taken::Yes) continue;
        if (path_.empty()) path_ = path;
        if (which == kFixedPlace) break;  // the cache folder only stands in for it
    }
    return true;
}

void SingleInstanceLock::Release() {
    for (const int fd : fds_) {
        ::flock(fd, LOCK_UN);
        ::close(fd);
    }
    fds_.clear();
    path_.clear();
}

}  // namespace editor
