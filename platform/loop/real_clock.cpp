#include "platform/loop/real_clock.h"

#include <chrono>

namespace plat {

Millis RealClock::Now() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace plat
