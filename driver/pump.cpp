#include "driver/pump.h"

#include "platform/loop/loop_wait.h"
#include "platform/loop/message_loop.h"
#include "platform/values/abort_error.h"

namespace drv {

void PumpOnce(plat::LoopWait* wait) {
    try {
        if (wait)
            wait->Pump();
        else
            plat::MessageLoop::Current().DoEvents();
    } catch (...) {
        plat::RethrowAbort();
    }
}

void PumpPending(plat::LoopWait* wait) {
    try {
        if (wait)
            wait->PumpNoWait();
        else
            plat::MessageLoop::Current().DoEventsNoWait();
    } catch (...) {
        plat::RethrowAbort();
    }
}

}  // namespace drv
