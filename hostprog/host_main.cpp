#include "hostprog/host_main.h"

#include "driver/vti_interface.h"
#include "host/test_element_base.h"
#include "hostprog/f_host_main.h"
#include "hostprog/failure_text.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/window_identity.h"
#include "platform/values/abort_error.h"

namespace hostprog {

std::shared_ptr<host::IPlugIn> HostMain::LoadPlugIn(const std::string& programFolder, std::string& error) {
    // A missing driver is no reason not to start: the run tells of it.
    plat::EnsureServerRegistered(drv::kXVTIControlProgId, plat::fs::Join(programFolder, kDriverLibrary));
    if (!plat::EnsureServerRegistered(kPlugInProgId, plat::fs::Join(programFolder, kPlugInLibrary))) {
        error = std::string("The plug-in \"") + kPlugInProgId + "\" is not registered and " + kPlugInLibrary +
                " is not in " + programFolder + ".";
        return nullptr;
    }
    try {
        auto plugIn = plat::CreateObjectAs<host::IPlugIn>(kPlugInProgId);
        if (!plugIn) {
            error = std::string("The object \"") + kPlugInProgId + "\" is no plug-in.";
            return nullptr;
        }
        plugIn->Initialize(nullptr);
        if (auto setup = plugIn->Setup()) setup->RegLoad({}, {});
        host::RegisterPlugIn(plugIn);
        return plugIn;
    } catch (...) {
        plat::RethrowAbort();
        error = std::string("The plug-in \"") + kPlugInProgId + "\" could not be loaded: " + FullStop(FailureText());
        return nullptr;
    }
}

int HostMain::Main(const std::string& programFolder, const std::string& sequenceFile,
                   const std::function<void()>& prepareWindows) {
    plat::ui::SetApplicationTitle(kApplicationTitle);
    plat::ui::WindowIdentity::Set({kWindowClass, {}});
    if (prepareWindows) prepareWindows();
    std::string error;
    auto plugIn = LoadPlugIn(programFolder, error);
    if (!plugIn) {
        plat::ui::MsgBox(FullStop(error), plat::ui::vbCritical);
        return 1;
    }
    {
        auto window = std::make_shared<FHostMain>(plugIn);
        window->Show(plat::ui::ShowMode::Modeless);
        if (!sequenceFile.empty()) window->OpenSequence(sequenceFile);
        plat::MessageLoop::Current().RunUntil([&] { return !window->Loaded(); });
    }
    host::UnregisterPlugIn(plugIn->ID());
    return 0;
}

}  // namespace hostprog
