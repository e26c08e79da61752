#pragma once

#include "platform/loop/clock.h"

namespace plat {

// The real monotonic clock.
class RealClock final : public Clock {
public:
    Millis Now() const override;
    bool IsVirtual() const override { return false; }
};

}  // namespace plat
