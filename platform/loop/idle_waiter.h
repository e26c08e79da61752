#pragma once
// Where an idle pump under the real clock waits when a window system owns the
// thread's event dispatching (MessageLoop::SetIdleWaiter): the waiter sleeps
// in its own dispatcher and watches the loop's descriptors there. Never used
// under the virtual clock.

#include <cstdint>
#include <vector>

namespace plat {

class IdleWaiter {
public:
    virtual ~IdleWaiter() = default;
    // Returns after `timeoutMs` (-1: no deadline), when one of `fds` is
    // readable or hung up, or when Wake() was called during this Wait. May
    // return early.
    virtual void Wait(int64_t timeoutMs, const std::vector<int>& fds) = 0;
    // Called on the loop's thread, from a handler the waiter's dispatcher ran
    // inside Wait, when the loop got new work (a posted task, an earlier
    // deadline) or a new set of descriptors: Wait must return soon.
    virtual void Wake() = 0;
};

}  // namespace plat
