#include "driver/f_timers.h"

#include "driver/cancel_flag.h"
#include "driver/pump.h"
#include "platform/loop/loop_wait.h"

namespace drv {

FTimers::FTimers() {
    tmrWait_.OnTick = [this] { tmrWait_.SetInterval(0); };
    tmrTimeOut_.OnTick = [this] {
        tmrTimeOut_.SetEnabled(false);
        if (OperationTimeOut) OperationTimeOut();
    };
}

void FTimers::StartTimeOut(int32_t& lTimeOut) {
    if (lTimeOut < 0) lTimeOut = 1000;
    tmrTimeOut_.SetInterval(lTimeOut);
    tmrTimeOut_.SetEnabled(true);
}

void FTimers::StopTimeOut() { tmrTimeOut_.SetEnabled(false); }

void FTimers::Wait(int32_t ms, const std::function<bool()>& stop) {
    tmrWait_.SetInterval(ms);
    tmrWait_.SetEnabled(true);
    plat::LoopWait wait;
    for (;;) {
        // Once cancelled, the one pump left must not wait out the delay.
        if (CancelFlag()) PumpPending(&wait);
        else PumpOnce(&wait);
        if (CancelFlag()) break;
        if (tmrWait_.Interval() == 0 || !tmrWait_.Enabled()) break;
        if (stop && stop()) break;
    }
    tmrWait_.SetEnabled(false);
}

void FTimers::Unload() {
    tmrWait_.SetEnabled(false);
    tmrTimeOut_.SetEnabled(false);
    OperationTimeOut = nullptr;
}

}  // namespace drv
