#include "platform/loop/timer.h"

#include "platform/loop/message_loop_impl.h"

namespace plat {

Timer::Timer() : alive_(std::make_shared<bool>(true)) { Bind(); }

void Timer::Bind() {
    loop_ = &MessageLoop::Current().impl();
    loopAlive_ = loop_->life_;
}

Timer::~Timer() {
    *alive_ = false;
    if (scheduled_ != 0 && !loopAlive_.expired()) loop_->CancelEntry(scheduled_);
}

void Timer::SetInterval(int32_t ms) {
    interval_ = ms;
    Rearm();
}

void Timer::SetEnabled(bool on) {
    enabled_ = on;
    Rearm();
}

void Timer::Rearm() {
    if (loopAlive_.expired()) {
        // Its loop was reset (and its entry went with it): arm on the current one.
        scheduled_ = 0;
        Bind();
    }
    if (scheduled_ != 0) loop_->CancelEntry(scheduled_);
    scheduled_ = 0;
    if (enabled_ && interval_ > 0) scheduled_ = loop_->Schedule(loop_->Now() + interval_, nullptr, this);
}

}  // namespace plat
