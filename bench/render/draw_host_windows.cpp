// The host program's main window: the shipped sequence as it stands at
// start, nothing run yet; and its frame around each page of the plug-in
// (the settings, the SpO2 test's configuration and limits, a result's
// detailed page with a comment), each as it opens.
#include "bench/render/draw_host_windows.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "host/test_element_base.h"
#include "hostprog/f_dialog_frame.h"
#include "hostprog/f_host_main.h"
#include "hostprog/host_main.h"
#include "bench/render/draw_and_unload.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/tree_view.h"

namespace {
const char kAnchor = 0;

// The frame is modal: it is drawn, and closed, from inside its own wait.
int DrawFrame(plat::qt::QtRenderer& renderer, const char* name, const char* caption,
              const std::shared_ptr<host::IDialog>& dialog, const std::filesystem::path& path) {
    if (!dialog) {
        std::fprintf(stderr, "%s: the plug-in gave no page\n", path.filename().c_str());
        return 1;
    }
    auto frame = std::make_shared<hostprog::FDialogFrame>(name, caption);
    int failed = 1;
    std::function<void()> draw = [&] {
        if (!frame->Visible()) {
            plat::MessageLoop::Current().Post(draw);
            return;
        }
        failed = DrawPicture(renderer, *frame, path);
        frame->Hide();
    };
    plat::MessageLoop::Current().Post(draw);
    frame->ShowDialog(dialog);
    renderer.Flush();
    return failed;
}

int DrawFrames(plat::qt::QtRenderer& renderer, host::IPlugIn& plugIn, const std::filesystem::path& folder) {
    int failed = 0;
    failed += DrawFrame(renderer, "frmPlugInSettings", "Plug-in settings", plugIn.Setup()->CreateDialog(),
                        folder / "host_frame_settings.png");
    auto test = plugIn.CreateTest(100);
    failed += DrawFrame(renderer, "frmConfiguration", "Configuration", test->Configuration()->CreateDialog(),
                        folder / "host_frame_configuration.png");
    failed += DrawFrame(renderer, "frmLimits", "Limits", test->Limits()->CreateDialog(),
                        folder / "host_frame_limits.png");
    auto result = plat::CreateObjectAs<host::IResultData>("OrvikPelmo2.CResultData");
    result->SetComment("Probe cable replaced before the retest.");
    failed += DrawFrame(renderer, "frmResult", "Result details", result->CreateDialog(),
                        folder / "host_frame_result_details.png");
    return failed;
}
}

int DrawHostWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-draw-host-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    const std::filesystem::path scratch = pattern;
    plat::Registry::UseFile((scratch / "registry.reg").string());
    int failed = 0;
    {
        std::string error;
        auto plugIn = hostprog::HostMain::LoadPlugIn(plat::fs::FolderOf(plat::ModulePath(&kAnchor)), error);
        if (!plugIn) {
            std::fprintf(stderr, "%s\n", error.c_str());
            ++failed;
        } else {
            auto window = std::make_shared<hostprog::FHostMain>(plugIn);
            window->Load();
            failed += DrawAndUnload(renderer, *window, folder / "host_main_window.png");
            try {
                failed += DrawFrames(renderer, *plugIn, folder);
            } catch (const std::exception& e) {
                std::fprintf(stderr, "frame pictures: %s\n", e.what());
                ++failed;
            }
            host::UnregisterPlugIn(plugIn->ID());
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return failed;
}
