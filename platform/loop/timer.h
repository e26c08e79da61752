#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/loop/message_loop.h"

namespace plat {

// A window timer of the calling thread's loop (the original's Timer control).
// Interval in ms; 0 never fires. Setting the interval or enabling restarts the
// period. A tick only arrives during a pump and calls OnTick. A timer whose
// loop was reset stops ticking; arming it again binds it to the current loop.
class Timer {
public:
    Timer();
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    int32_t Interval() const { return interval_; }
    void SetInterval(int32_t ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    std::function<void()> OnTick;

private:
    friend class MessageLoop::Impl;
    void Rearm();
    int32_t interval_ = 0;
    bool enabled_ = false;
    uint64_t scheduled_ = 0;       // the loop entry of the next tick, 0 when none
    bool ticking_ = false;         // OnTick is running: no re-entrant tick
    std::shared_ptr<bool> alive_;  // false once destroyed (seen by a running tick)
    MessageLoop::Impl* loop_ = nullptr;  // the loop current when last bound
    std::weak_ptr<void> loopAlive_;      // expires when that loop is reset
    void Bind();
};

}  // namespace plat
