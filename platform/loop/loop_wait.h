#pragma once
// One wait of the calling thread: the caller pumps it until its own condition
// holds, as a modal window or a driver command does.
//
//   plat::LoopWait wait;                 // the stall limit counts from here
//   while (!done) wait.Pump();
//
// Under the virtual clock the wait fails instead of hanging: when a pump finds
// nothing at all to do (no task, timer, descriptor or idle action), or when
// the next pump would start after more than the loop's StallLimit() of virtual
// time since the wait began (a periodic timer keeps the clock moving while
// nothing ends the wait). The failure is a LoopStall, or what `onStall` throws.

#include <functional>
#include <string>

#include "platform/loop/message_loop.h"

namespace plat {

class LoopWait {
public:
    // `onStall` gets the reason ("nothing is left to do ...") and throws the
    // caller's own AbortError naming what waits; LoopStall(reason) when it is
    // empty or returns.
    explicit LoopWait(std::function<void(const std::string& reason)> onStall = {});

    // One pump of the thread's current loop (DoEvents). True when anything ran.
    bool Pump();
    // As Pump, but never waits (DoEventsNoWait); the stall limit still applies.
    bool PumpNoWait();

    // The reason text of a limit that passed, e.g. "24 h of virtual time".
    static std::string DescribeLimit(Millis limitMs);

private:
    MessageLoop& Loop();
    [[noreturn]] void Stall(const std::string& reason);
    void CheckLimit(MessageLoop& loop);

    std::function<void(const std::string&)> onStall_;
    uint64_t loopId_ = 0;
    Millis start_ = 0;
};

}  // namespace plat
