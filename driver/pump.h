#pragma once
// Message pumping of the driver. An idle pump of the thread's loop waits for
// the next timer, input or task; the driver's own delays rely on that (no
// spinning), while a pump that must not wait (a cancelled wait, a pass
// between two parsed lines) runs only what is due now.
// A failure in someone else's handler run by a pump is no failure of the
// command in progress: it is passed over and never leaves the driver.

namespace drv {

// Pumps once; when nothing is due, waits for the next timer, input or task.
void PumpOnce();
// Runs what is due now and returns at once.
void PumpPending();

}  // namespace drv
