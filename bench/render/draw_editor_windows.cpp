// The editor program's windows over the example makes of editor/examples.
#include "bench/render/draw_editor_windows.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/render/draw_and_unload.h"
#include "editor/frm_create_rcurve.h"
#include "editor/frm_custom_rcurve.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/qt/qt_renderer.h"

#ifndef ORVIK_EDITOR_EXAMPLES
#error "ORVIK_EDITOR_EXAMPLES names the folder of the example makes"
#endif

int DrawEditorWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    // A copy of the examples in a scratch folder: the window may create its make folder.
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-draw-editor-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return 1;
    const std::filesystem::path scratch = pattern;
    std::error_code ec;
    std::filesystem::copy(ORVIK_EDITOR_EXAMPLES, scratch / "makes", ec);
    plat::Registry::UseFile((scratch / "registry.reg").string());
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path",
                                          (scratch / "makes").string() + "/");
    int failed = 0;
    {
        auto window = std::make_shared<editor::frmCustomRcurve>();
        window->Load();
        window->OnQueryUnload = nullptr;
        failed += DrawAndUnload(renderer, *window, folder / "editor_main_window.png");
    }
    {
        // The new R-curve dialog with the first readings typed and averaged.
        auto dialog = std::make_shared<editor::frmCreateRcurve>();
        dialog->Init(std::make_shared<makes::MakeList>(), std::make_shared<makes::COximeterMake>());
        dialog->Load();
        auto& grid = *dialog->Controls().FindAs<plat::ui::Grid>("tliRValue");
        const char* readings[][3] = {{"1.01", "1.02", "1.04"}, {"0.99", "1", "1.02"}, {"0.98", "0.99", ""}};
        for (int32_t row = 1; row <= 3; ++row) {
            for (int32_t col = 2; col <= 4; ++col) {
                std::string text = readings[row - 1][col - 2];
                if (text.empty()) continue;
                grid.SetEditState(row, col, plat::ui::GridEditState::Start);
                grid.SetEditText(text);
                grid.SetEditState(row, col, plat::ui::GridEditState::End);
            }
        }
        failed += DrawAndUnload(renderer, *dialog, folder / "editor_new_rcurve_dialog.png");
    }
    std::filesystem::remove_all(scratch, ec);
    return failed;
}
