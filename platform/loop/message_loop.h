#pragma once
// The per-thread message loop that stands in for the window message queue:
// posted tasks, scheduled tasks, window timers, watched file descriptors and a
// clock behind an interface.
//
// DoEvents() is "pump all pending window messages once": it runs what is due
// now (posted tasks, due scheduled tasks, due timer ticks, ready descriptors)
// and returns. When nothing is due (an idle pump):
//  - idle handlers run first (a scripted test operator acts here);
//  - under the virtual clock, time jumps to the next timer deadline or
//    scheduled task, which then runs;
//  - under the real clock, the pump blocks in poll() until the next timer
//    deadline, a watched descriptor or a posted task (at most kMaxIdleBlockMs
//    when no deadline exists), so that waiting never spins. With an
//    IdleWaiter installed (a window system's dispatcher), the pump waits in
//    the waiter instead.
// DoEventsNoWait() is the same pump without the idle part: it never blocks,
// never runs idle handlers and never moves virtual time.
// Within one pump: posted tasks, then due scheduled tasks and timer ticks in
// deadline order (ties in creation order), then ready descriptors. Only what
// was there when the pump started runs (a task posted during a pump runs at
// the next one), so a pump always ends.
// Nested pumps are allowed (a handler may pump again); a timer, idle handler
// or descriptor whose handler is running is held back until it returns.
// Ids are unique per thread across loops, so a stale id never hits a newer loop.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/loop/clock.h"
#include "platform/loop/idle_waiter.h"
#include "platform/loop/real_clock.h"
#include "platform/loop/virtual_clock.h"

namespace plat {

class MessageLoop {
public:
    static constexpr Millis kMaxIdleBlockMs = 50;

    // The calling thread's loop (created on first use, real clock).
    static MessageLoop& Current();

    // Replaces the calling thread's loop by a fresh one with the given clock
    // (nullptr: the real clock). Drops every pending task and timer
    // registration; for tests and start-up.
    static void Reset(std::shared_ptr<Clock> clock = nullptr);

    const Clock& GetClock() const;
    Millis Now() const { return GetClock().Now(); }
    // The virtual clock, or nullptr under the real clock.
    VirtualClock* Virtual();

    // Pump once (see above). True when anything ran.
    bool DoEvents();
    // Runs what is due now (posted tasks, due timers and scheduled tasks,
    // ready descriptors) and returns: never blocks, never runs idle handlers,
    // never moves virtual time. True when anything ran.
    bool DoEventsNoWait();

    // Installs the waiter of idle pumps under the real clock (nullptr: poll()).
    // A Reset drops it with the loop.
    void SetIdleWaiter(std::shared_ptr<IdleWaiter> waiter);
    // How long an idle pump would wait now: 0 when something is due, -1 when
    // nothing is scheduled (only a descriptor or a post can wake it), else the
    // time to the next deadline. For a window system that runs a loop of its
    // own and must wake up in time for ours.
    Millis NextWaitMs() const;
    // The descriptors an idle pump waits on (those whose handler is not running).
    std::vector<int> WatchedFds() const;

    // Runs `task` at the next pump.
    void Post(std::function<void()> task);
    // Runs `task` at the first pump at or after Now()+delayMs. Returns an id for Cancel.
    uint64_t PostDelayed(Millis delayMs, std::function<void()> task);
    void Cancel(uint64_t id);

    // Calls `onReady` from a pump whenever `fd` is readable (or has hung up;
    // the owner must then Unwatch or the pump keeps calling). A descriptor
    // that is no longer open is dropped after one last call. Returns an id
    // for Unwatch.
    uint64_t WatchFd(int fd, std::function<void()> onReady);
    void Unwatch(uint64_t id);

    // Called by an idle pump; returns true when it did something.
    uint64_t AddIdleHandler(std::function<bool()> handler);
    void RemoveIdleHandler(uint64_t id);

    // Pumps until `done()` is true: a LoopWait (see loop_wait.h), failing with
    // LoopStall under the virtual clock instead of hanging.
    void RunUntil(const std::function<bool()>& done);

    // Virtual time a wait may take before it counts as stalled (LoopWait).
    static constexpr Millis kDefaultStallLimitMs = 24LL * 60 * 60 * 1000;
    Millis StallLimit() const;
    // For tests; a fresh loop (Reset) starts with the default.
    void SetStallLimit(Millis limitMs);

    // Unique per thread for the life of the thread: tells a reset loop from its successor.
    uint64_t Id() const;

    class Impl;
    Impl& impl() { return *impl_; }
    explicit MessageLoop(std::shared_ptr<Clock> clock);
    ~MessageLoop();
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace plat

// The loop's companions, so that one include serves a waiting caller.
#include "platform/loop/timer.h"
#include "platform/loop/virtual_time_scope.h"
