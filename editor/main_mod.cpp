#include "editor/main_mod.h"

#include <memory>

#include "editor/driver_registration.h"
#include "editor/frm_custom_rcurve.h"
#include "editor/single_instance_lock.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/window_identity.h"
#include "platform/values/pass_over.h"

namespace editor {

int MainMod::Main(const std::string& programFolder, const std::function<void()>& prepareWindows,
                  const std::string& temporaryFolder) {
    SingleInstanceLock lock(kApplicationTitle, temporaryFolder);
    if (!lock.Acquire()) return 0;  // another copy runs: end silently
    plat::ui::SetApplicationTitle(kApplicationTitle);
    plat::ui::WindowIdentity::Set({kWindowClass, kDesktopFileName});
    EnsureDriverRegistered(programFolder);
    if (prepareWindows) prepareWindows();

    auto window = std::make_shared<frmCustomRcurve>();
    window->Show(plat::ui::ShowMode::Modeless);
    plat::MessageLoop::Current().RunUntil([&] { return !window->Loaded(); });
    return 0;
}

}  // namespace editor
