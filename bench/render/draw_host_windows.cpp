// The host program's main window: the shipped sequence as it stands at
// start, nothing run yet.
#include "bench/render/draw_host_windows.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "host/test_element_base.h"
#include "hostprog/f_host_main.h"
#include "hostprog/host_main.h"
#include "bench/render/draw_and_unload.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/com/registry.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/tree_view.h"

namespace {
const char kAnchor = 0;
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
            host::UnregisterPlugIn(plugIn->ID());
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(scratch, ec);
    return failed;
}
