#pragma once
// One running copy of the program per user: a lock file named after the
// application title, held with flock for as long as the lock object lives. The
// kernel drops the lock when the process ends, however it ends, so a crash
// never blocks a new start.
//
// The lock file lies in a folder of the user's alone (a real folder, not a
// link, owned by the user, closed to group and others), the first of:
// $XDG_RUNTIME_DIR; /run/user/<uid> (never made here); "orvik-<uid>" in the temporary folder, made 0700 when
// missing; "orvik" in the user's cache folder ($XDG_CACHE_HOME, else
// ~/.cache), made 0700 when missing. A folder that fails the test, or holds at
// the name anything but a regular file of the user's, is passed over, so
// nothing another user made can block a copy or let a second one start.

#include <string>
#include <string_view>

namespace editor {

class SingleInstanceLock {
public:
    explicit SingleInstanceLock(std::string_view applicationTitle);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // Takes the lock without waiting. False when another process holds it.
    // When the lock file cannot be made at all, the program runs without the
    // protection: true, and Held() stays false.
    bool Acquire();
    bool Held() const { return fd_ >= 0; }
    void Release();

    const std::string& Path() const { return path_; }
    // The lock file of a title ("" when the user has no folder for it).
    static std::string PathFor(std::string_view applicationTitle);

private:
    std::string name_;
    std::string path_;
    int fd_ = -1;
};

}  // namespace editor
