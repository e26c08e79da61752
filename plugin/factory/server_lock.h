#pragma once
// Counts the plug-in library's live objects, so that the library can tell the
// host whether it may be unloaded. Objects the library hands out hold one.

#include <atomic>
#include <cstdint>

namespace plugin {

class ServerLock {
public:
    ServerLock() { ++Count(); }
    ServerLock(const ServerLock&) : ServerLock() {}
    ServerLock& operator=(const ServerLock&) { return *this; }
    ~ServerLock() { --Count(); }

    static std::atomic<int32_t>& Count() {
        static std::atomic<int32_t> count{0};
        return count;
    }
};

}  // namespace plugin
