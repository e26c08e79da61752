#pragma once

#include <memory>

#include "platform/loop/clock.h"
#include "platform/loop/virtual_clock.h"

namespace plat {

// Convenience for tests: a fresh loop on a virtual clock for the scope.
class VirtualTimeScope {
public:
    explicit VirtualTimeScope(Millis start = 0);
    ~VirtualTimeScope();
    VirtualClock& Clock();
private:
    std::shared_ptr<VirtualClock> clock_;
};

}  // namespace plat
