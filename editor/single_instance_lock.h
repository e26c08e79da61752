#pragma once
// One running copy of the program per user: a lock file named after the
// application title, held with flock for as long as the lock object lives. The
// kernel drops the lock when the process ends, however it ends, so a crash
// never blocks a new start.
//
// A start takes the lock file in every folder of the user's alone (a real
// folder, not a link, owned by the user, closed to group and others) of:
// $XDG_RUNTIME_DIR; /run/user/<uid> (never made here); the fixed place
// "orvik-<uid>" in the temporary folder ("/tmp", whatever $TMPDIR says), made
// 0700 when missing, or, when another user took that name first, "orvik" in
// the user's cache folder ($XDG_CACHE_HOME, else ~/.cache), made 0700 when
// missing. It runs only when it holds them all, so two starts of the user meet
// at the fixed place at least, whatever their environment. A folder that fails
// the test, or holds at the name anything but a regular file of the user's,
// is passed over, so nothing another user made can block a copy or let a
// second one start.

#include <string>
#include <string_view>
#include <vector>

namespace editor {

class SingleInstanceLock {
public:
    // `tempFolder` holds the fixed place; tests name one of their own.
    explicit SingleInstanceLock(std::string_view applicationTitle, std::string tempFolder = "/tmp");
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting. False when another process holds it
    // anywhere (and then nothing stays taken). When no lock file can be made
    // at all, the program runs without the protection: true, and Held() stays
    // false.
    bool Acquire();
    bool Held() const { return !fds_.empty(); }
    void Release();

    // The lock file of the first place held ("" while none is).
    const std::string& Path() const { return path_; }

private:
    std::string name_;
    std::string tempFolder_;
    std::string path_;
    std::vector<int> fds_;
};

}  // namespace editor
