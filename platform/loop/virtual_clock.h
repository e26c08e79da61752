#pragma once

#include "platform/loop/clock.h"

namespace plat {

// A clock that only moves when told to (or when an idle pump jumps it).
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(Millis start = 0) : now_(start) {}
    Millis Now() const override { return now_; }
    bool IsVirtual() const override { return true; }
    void AdvanceTo(Millis t) { if (t > now_) now_ = t; }
    void Advance(Millis ms) { now_ += ms; }
private:
    Millis now_;
};

}  // namespace plat
