#pragma once
// Send of the main window: one upload of the shown make to the simulator, in
// four steps. Begin puts the window in its sending state; Connect adds the
// driver control by ProgID and opens the instrument's remote session; Send
// asks for the slot and sends the make; End closes the session, removes the
// control, gives the window back and tells the outcome.
//
// The driver tells its failures only through its event, raised from inside
// the call that failed; the loop keeps running between the calls, so that
// Cancel and those events act, and the cancel flag is tested before each next
// call. The run owns the flags they set.

#include <functional>
#include <memory>

#include "makes/make_utils.h"

namespace drv {
class IXVTIControl;
class ICPelmo2VTIError;
}
namespace plat::ui {
class ObjectControl;
}

namespace editor {

class frmCustomRcurve;

class UploadRun {
public:
    explicit UploadRun(frmCustomRcurve& window) : window_(window) {}
    UploadRun(const UploadRun&) = delete;
    UploadRun& operator=(const UploadRun&) = delete;

    // From Begin to the end of End.
    bool Active() const { return active_; }
    void Run(makes::OximeterMakePtr make);
    // Close while the run is active: asks it to stop.
    void Cancel();

private:
    void Begin();
    // True when the remote session is open.
    bool Connect();
    void Send(const makes::COximeterMake& make);
    void End();

    // A driver call: skipped once the run is to stop, which the driver then learns.
    bool Step(const std::function<void(drv::IXVTIControl&)>& call);
    bool CreateVTIControl();
    void RemoveVTIControl();
    void CommunicationError(const drv::ICPelmo2VTIError& error);
    // Lets pending window messages run (Cancel clicks, driver events).
    static void Pump();

    frmCustomRcurve& window_;
    bool active_ = false;
    bool cancel_ = false;
    // The outcome: an error seen (kept for the whole run), the instrument not
    // found, the user's cancel, the final clean-up running.
    bool error_ = false;
    bool instrumentNotFound_ = false;
    bool userCancel_ = false;
    bool cleaningUp_ = false;
    std::shared_ptr<plat::ui::ObjectControl> control_;
    std::shared_ptr<drv::IXVTIControl> vti_;
};

}  // namespace editor
