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
        plat::MessageLoop::Current().DoEventsNoWait();
    } catch (...) {
    }
}

}  // namespace drv
