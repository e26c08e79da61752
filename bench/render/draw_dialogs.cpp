// Pictures of the upload-slot and save-make dialogs and of the element setup
// dialog holding a page, each in the state its file name gives.
#include "bench/render/draw_and_unload.h"
#include "bench/render/draw_dialogs.h"

#include <cstdio>
#include <string>

#include "platform/com/com.h"
#include "platform/qt/qt_renderer.h"
#include "dialogs/frm_upload_location.h"
#include "dialogs/f_save_make.h"
#include "plugin/shell/f_element_setup.h"
#include "plugin/shell/shell_classes.h"

namespace {

makes::MakeListPtr ListedMakes() {
    auto list = std::make_shared<makes::MakeList>();
    for (const auto& [name, file] : {std::pair{"Acme", "acme.txt"}, std::pair{"Velam 3100", "velam3100.txt"},
                                     std::pair{"Oxi Two", "oxi_two.txt"}, std::pair{"Neo 7", "neo7.txt"}}) {
        auto make = std::make_shared<makes::COximeterMake>();
        make->SetName(name);
        make->SetFile(file);
        (void)list->Add(make, name);
    }
    return list;
}

}  // namespace

int DrawDialogs(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    for (int32_t level : {1, 2}) {
        auto dialog = std::make_shared<dialogs::frmUploadLocation>();
        dialog->Load();
        dialog->SetLightLevel(level);
        failed += DrawAndUnload(renderer, *dialog, folder / ("upload_location_light_level_" + std::to_string(level) + ".png"));
    }
    {
        auto dialog = std::make_shared<dialogs::FSaveMake>();
        dialog->Initialize(ListedMakes(), "Acme 2", "acme2");
        dialog->Load();
        failed += DrawAndUnload(renderer, *dialog, folder / "save_make_prefilled_four_makes_listed.png");
    }
    {
        // The identity page (the settings page has pictures of its own).
        for (const auto& served : plugin::ShellClasses())
            if (served.progId == "OrvikPelmo2.XMTIData") plat::RegisterClass(served.progId, served.factory);
        auto dialog = std::make_shared<plugin::FElementSetup>();
        dialog->Load();
        dialog->CreateSetupCtrl("OrvikPelmo2.XMTIData", "xvbSetupControl");
        if (auto control = dialog->SetupControl()) {
            control->Move(0, 0, 4800, 2100);
            dialog->SetInnerSize(4800, 2100);
        }
        dialog->SetCaption("Element setup");
        failed += DrawAndUnload(renderer, *dialog, folder / "element_setup_dialog_holding_identity_page.png");
    }
    return failed;
}
