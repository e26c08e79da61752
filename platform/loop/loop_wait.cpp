#include "platform/loop/loop_wait.h"

#include "platform/loop/loop_stall.h"

namespace plat {

LoopWait::LoopWait(std::function<void(const std::string& reason)> onStall) : onStall_(std::move(onStall)) {
    Loop();
}

// The thread's current loop; the stall limit counts again from now in a loop
// that replaced the one the wait began in.
MessageLoop& LoopWait::Loop() {
    MessageLoop& loop = MessageLoop::Current();
    if (loop.Id() != loopId_) {
        loopId_ = loop.Id();
        start_ = loop.Now();
    }
    return loop;
}

std::string LoopWait::DescribeLimit(Millis limitMs) {
    constexpr Millis kHour = 60 * 60 * 1000;
    if (limitMs > 0 && limitMs % kHour == 0) return std::to_string(limitMs / kHour) + " h of virtual time";
    if (limitMs > 0 && limitMs % 1000 == 0) return std::to_string(limitMs / 1000) + " s of virtual time";
    return std::to_string(limitMs) + " ms of virtual time";
}

void LoopWait::Stall(const std::string& reason) {
    if (onStall_) onStall_(reason);
    throw LoopStall(reason);
}

void LoopWait::CheckLimit(MessageLoop& loop) {
    if (!loop.Virtual()) return;
    if (loop.Now() - start_ > loop.StallLimit())
        Stall("more than " + DescribeLimit(loop.StallLimit()) +
              " passed without the wait ending (something keeps the clock moving, such as a periodic timer)");
}

bool LoopWait::Pump() {
    MessageLoop& loop = Loop();
    CheckLimit(loop);
    const bool isVirtual = loop.Virtual() != nullptr;
    const uint64_t id = loopId_;
    // `loop` may be gone after the pump, when a handler reset it.
    const bool ran = loop.DoEvents();
    if (MessageLoop::Current().Id() != id) return true;  // the wait goes on in the new loop
    if (!ran && isVirtual)
        Stall("nothing is left to do: no task, timer, descriptor or idle handler can end the wait");
    return ran;
}

bool LoopWait::PumpNoWait() {
    MessageLoop& loop = Loop();
    CheckLimit(loop);
    return loop.DoEventsNoWait();
}

}  // namespace plat
