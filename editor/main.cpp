// Tamblin, the R-curve editor (see kUsage).
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "editor/main_mod.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/qt/display_check.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/form.h"

namespace {

const char kAnchor = 0;
constexpr const char* kUsage =
    "usage: Tamblin [--check]\n"
    "The R-curve editor: edits oximeter makes and sends their R-curves to the SpO2 simulator.\n"
    "One copy runs per user; a second start ends at once.\n"
    "\n"
    "  --check  open the main window, draw it and close it: 0 when it was shown and drawn\n"
    "  --help   this text\n";
constexpr int kCheckPolls = 200;  // of 50 ms: 10 s for the window to show

bool DrawnInScratchFile(plat::qt::QtRenderer& renderer, plat::ui::Form& window) {
    std::string path = (std::filesystem::temp_directory_path() / "Tamblin-check-XXXXXX.png").string();
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0) return false;
    ::close(fd);
    const bool drawn = renderer.SavePicture(window, path);
    ::unlink(path.c_str());
    return drawn;
}

// Once the main window shows: draws it and closes it. Closes every window when
// it never shows, so that the program ends either way.
void CloseWhenDrawn(plat::qt::QtRenderer& renderer, bool& drawn, int pollsLeft) {
    plat::ui::Form* window = plat::ui::FindForm("frmCustomRcurve");
    if (window && window->Visible()) {
        renderer.Flush();
        drawn = renderer.WindowOf(*window) && DrawnInScratchFile(renderer, *window);
        window->Unload();
    } else if (pollsLeft > 0) {
        plat::MessageLoop::Current().PostDelayed(50, [&renderer, &drawn, pollsLeft] {
            CloseWhenDrawn(renderer, drawn, pollsLeft - 1);
        });
    } else {
        for (plat::ui::Form* form : plat::ui::LoadedForms()) form->Unload();
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg != "--check") {
            std::cerr << "Tamblin: " << (arg.starts_with('-') ? "unknown option " : "unexpected argument ") << arg
                      << '\n' << kUsage;
            return 2;
        }
        check = true;
    }
    if (const std::string why = plat::qt::DisplayCheck::Problem("Tamblin"); !why.empty()) {
        std::cerr << why << '\n';
        return 1;
    }
    bool prepared = false;  // stays false when another copy holds the lock
    bool drawn = false;
    std::unique_ptr<plat::qt::QtRenderer> renderer;
    const int code = editor::MainMod::Main(plat::fs::FolderOf(plat::ModulePath(&kAnchor)), [&] {
        prepared = true;
        renderer = std::make_unique<plat::qt::QtRenderer>();
        renderer->Install();
        if (check) CloseWhenDrawn(*renderer, drawn, kCheckPolls);
    });
    if (!check) return code;
    if (!prepared)
        std::cerr << "Tamblin: a copy of Tamblin runs already for this user: close it to run --check\n";
    else if (!drawn)
        std::cerr << "Tamblin: the main window was not shown and drawn\n";
    return drawn ? code : 1;
}
