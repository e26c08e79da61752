#pragma once
// The driver's cancel flag: one Boolean per thread, shared by every driver
// object of the library on that thread. Every wait and reply loop of the
// driver gives up once it is set.

namespace drv {

bool CancelFlag();
void SetCancelFlag(bool on);
// Clears the calling thread's flag (tests start from a known state).
void ResetCancelFlagForTests();

}  // namespace drv
