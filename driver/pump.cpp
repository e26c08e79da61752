#include "driver/pump.h"

#include "platform/loop/message_loop.h"

namespace drv {

void PumpOnce() {
    try {
        plat::MessageLoop::Current().DoEvents();
    } catch (...) {
    }
}

void PumpPending() {
    try {
        plat::MessageLoop& loop = plat::MessageLoop::Current();
        loop.Post([] {});  // something due now: the pump runs its pass and does not go idle
        loop.DoEvents();
    } catch (...) {
    }
}

}  // namespace drv
