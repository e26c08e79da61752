#pragma once
// The UUCP lock file of a serial device, the convention by which programs on
// Linux (terminal programs, modem tools) tell each other that a port is taken:
// a file "LCK..<device name>" in the lock folder holding the owner's PID as ten
// characters and a newline.
//
// Lock folders: $ORVIK_SERIAL_LOCK_DIRS (folders separated by ":"), else
// /run/lock and /var/lock; one folder reached by two paths counts once. A
// missing or unwritable folder is no error: other programs' locks are still
// honoured, and the port is opened without a lock of our own.

#include <sys/types.h>

#include <string>
#include <vector>

namespace plat {

class UucpLock {
public:
    enum class Result {
        Free,  // no live lock of another program (ours taken where a folder allowed it)
        Busy,  // a live process holds the device, or a lock is being written right now
    };

    // How old a lock without a readable PID must be before it counts as stale:
    // younger, its owner may still be writing it.
    static constexpr int kUnreadableGraceSeconds = 5;

    UucpLock() = default;
    ~UucpLock() { Release(); }
    UucpLock(const UucpLock&) = delete;
    UucpLock& operator=(const UucpLock&) = delete;

    // Looks at the locks of `devicePath` (links resolved) in every lock folder:
    // a live PID (also one we may not signal) means Busy; a dead PID or an old
    // unreadable lock is stale and removed. Then takes our own lock where a
    // folder allows it. `holder` gets the PID of a live lock (0 for a fresh
    // unreadable one).
    Result Acquire(const std::string& devicePath, pid_t* holder = nullptr);
    // Removes the locks taken by Acquire (those that still hold our PID).
    void Release();

    // The lock file name of a device: "LCK.." + the base name of its real path.
    static std::string LockName(const std::string& devicePath);
    // The lock folders in use, each once (by real path), missing ones left out.
    static std::vector<std::string> LockFolders();
    // The PID in a lock file's text: first line, leading blanks, digits; 0 when none.
    static pid_t ParsePid(const std::string& text);
    // The text of our lock: the PID as ten characters and a newline.
    static std::string LockText(pid_t pid);

    const std::vector<std::string>& Held() const { return held_; }

private:
    std::vector<std::string> held_;  // paths of our lock files
};

}  // namespace plat
