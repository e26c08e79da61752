#include "driver/cancel_flag.h"

namespace drv {

namespace {
thread_local bool cancelFlag = false;
}

bool CancelFlag() { return cancelFlag; }
void SetCancelFlag(bool on) { cancelFlag = on; }
void ResetCancelFlagForTests() { cancelFlag = false; }

}  // namespace drv
