#pragma once
// Message pumping of the driver. An idle pump of the thread's loop waits for
// the next timer, input or task; the driver's own delays rely on that (no
// spinning), while a pump that must not wait (a cancelled wait, a pass
// between two parsed lines) runs only what is due now.
// A failure in someone else's handler run by a pump is no failure of the
// command in progress: it is passed over and never leaves the driver. An
// AbortError (a stalled wait, a failing test harness) does leave it.
//
// A wait loop passes its plat::LoopWait, made before the loop, so that under
// the virtual clock it fails once it has waited longer than the loop's stall
// limit instead of running forever:
//
//   plat::LoopWait wait;
//   while (!done) drv::PumpOnce(&wait);

namespace plat {
class LoopWait;
}

namespace drv {

// Pumps once; when nothing is due, waits for the next timer, input or task.
void PumpOnce(plat::LoopWait* wait = nullptr);
// Runs what is due now and returns at once.
void PumpPending(plat::LoopWait* wait = nullptr);

}  // namespace drv
