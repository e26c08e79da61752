#include "platform/loop/virtual_time_scope.h"

#include "platform/loop/message_loop.h"

namespace plat {

VirtualTimeScope::VirtualTimeScope(Millis start) : clock_(std::make_shared<VirtualClock>(start)) {
    MessageLoop::Reset(clock_);
}

VirtualTimeScope::~VirtualTimeScope() { MessageLoop::Reset(nullptr); }

VirtualClock& VirtualTimeScope::Clock() { return *clock_; }

}  // namespace plat
