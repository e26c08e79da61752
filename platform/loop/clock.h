#pragma once
// The time line of a message loop, behind an interface: the real monotonic
// clock, or a virtual one that tests move.

#include <cstdint>

namespace plat {

// Milliseconds on a monotonic time line.
using Millis = int64_t;

class Clock {
public:
    virtual ~Clock() = default;
    virtual Millis Now() const = 0;
    virtual bool IsVirtual() const = 0;
};

}  // namespace plat
