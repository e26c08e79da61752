#pragma once
// One running copy of the program per user session: a lock file named after
// the application title in $XDG_RUNTIME_DIR (else the temporary folder), held
// with flock for as long as the lock object lives. The kernel drops the lock
// when the process ends, however it ends, so a crash never blocks a new start.

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
    // The lock file of a title.
    static std::string PathFor(std::string_view applicationTitle);

private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace editor
