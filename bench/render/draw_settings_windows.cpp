// Pictures of the make-details dialog, the settings page of the plug-in's
// defaults and the limit dialog, each in the state its file name gives.
#include "bench/render/draw_settings_windows.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/render/draw_and_unload.h"
#include "bench/render/draw_dialogs.h"
#include "host/limit_standards.h"
#include "host/view/x_limit_view.h"
#include "host/xml.h"
#include "platform/com/com.h"
#include "platform/com/registry.h"
#include "platform/qt/qt_renderer.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/f_make_details.h"
#include "plugin/results/f_limit_data.h"
#include "plugin/results/limit_data.h"
#include "plugin/shell/f_element_setup.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/shell_classes.h"
#include "plugin/shell/x_plugin_setup.h"

namespace {

// A make with a plausible curve: R falls from about 2 at 50 % to 0.45 at 100 %.
makes::OximeterMakePtr CurvedMake(const std::string& name, const std::string& file, int32_t lightLevel) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName(name);
    make->SetFile(file);
    make->SetRedDC(1150);
    make->SetIRDC(1320);
    make->SetIRAC(410);
    make->SetTLC(3520);
    make->SetLightLevel(lightLevel);
    make->SetRCurve(std::make_shared<makes::RCurveCollection>());
    for (int32_t spo2 = 50; spo2 <= 100; ++spo2) {
        const double r = 2.0 - 0.031 * (spo2 - 50);
        char text[16];
        std::snprintf(text, sizeof text, "%.3f", std::round(r * 1000) / 1000);
        make->AddRValue(spo2, text);
    }
    return make;
}

}  // namespace

int DrawSettingsWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    const auto scratch = std::filesystem::temp_directory_path() / "orvik_draw_settings_windows.reg";
    std::filesystem::remove(scratch);
    plat::Registry::UseFile(scratch.string());
    plugin::RegisterConfigClasses();
    plugin::RegisterShellClasses();

    auto acme = CurvedMake("Acme 3100", "acme3100.txt", 1);
    auto list = std::make_shared<makes::MakeList>();
    (void)list->Add(acme, acme->Name());
    (void)list->Add(CurvedMake("Oxi Two", "oxi_two.txt", 2), "Oxi Two");
    (void)list->Add(CurvedMake("Neo 7", "neo7.txt", 1), "Neo 7");
    {
        auto dialog = std::make_shared<plugin::FMakeDetails>();
        dialog->Load();
        dialog->Initialize(10, acme, list, 2);
        failed += DrawAndUnload(renderer, *dialog, folder / "make_details_custom_make_acme_shown.png");
    }

    {
        // The page reads the make folder: two makes saved into a scratch folder.
        const auto makeFolder = std::filesystem::temp_directory_path() / "orvik_draw_settings_makes";
        std::filesystem::remove_all(makeFolder);
        std::filesystem::create_directories(makeFolder);
        auto& registry = plat::Registry::Instance();
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path", makeFolder.string() + "/");
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultCustomMakeName", "Acme 3100");
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultDownloadPref", "1");
        for (auto make : {CurvedMake("Acme 3100", "acme3100.txt", 1), CurvedMake("Oxi Two", "oxi_two.txt", 2)})
            (void)makes::SaveMakesFile(make, make->File(), makes::kRegistryKey);
        auto setup = std::make_shared<plugin::CPluginSetup>();
        auto dialog = std::dynamic_pointer_cast<plugin::FElementSetup>(setup->CreateDialog());
        if (dialog && dialog->SetupControl()) {
            dialog->SetInnerSize(6600, 3360);
            dialog->SetupControl()->Move(0, 0, 6600, 3360);
            dialog->SetCaption("Plug-in settings");
            failed += DrawAndUnload(renderer, *dialog, folder / "settings_page_custom_make_with_upload.png");
        } else {
            std::fprintf(stderr, "no settings page to draw\n");
            ++failed;
        }
        std::filesystem::remove_all(makeFolder);
    }

    for (int32_t testId : {100, 400}) {
        // Limits of one standard whose first items carry bounds, as a technician leaves them.
        auto limits = std::make_shared<plugin::CLimitData>();
        auto standards = std::make_shared<host::CLimitStandards>();
        auto standard = std::make_shared<host::CLimitStandard>();
        standard->Initialize("Pelmo2", testId == 100 ? "Bench accuracy" : "Probe limits", 1);
        const std::vector<std::string> keys = testId == 100 ? std::vector<std::string>{"SpO2", "BPM"}
                                                            : std::vector<std::string>{"PIN1_TO_PIN2", "PIN1_TO_PIN3",
                                                                                       "PIN1_TO_PIN4"};
        for (const std::string& key : keys) {
            auto item = std::make_shared<host::CLimitItem>();
            item->Initialize(key, "", "", "");
            item->SetExpression(0, testId == 100 ? "X+Y" : "");
            item->SetBoundEnabled(0, true);
            item->SetBoundEnabled(1, key != "BPM");
            item->SetBoundValue(0, testId == 100 ? 2.0f : 12.5f);
            item->SetBoundValue(1, testId == 100 ? -2.0f : 8.0f);
            standard->AddItem(item);
        }
        standards->Add(standard);
        auto doc = host::XmlFactory().NewDocument();
        if (auto saved = standards->Save(*doc)) limits->Load(*saved, nullptr);
        auto dialog = std::dynamic_pointer_cast<plugin::FLimitData>(plugin::NewLimitDataDialog(limits, testId));
        if (!dialog) {
            std::fprintf(stderr, "no limit dialog to draw\n");
            ++failed;
            continue;
        }
        failed += DrawAndUnload(renderer, *dialog,
                       folder / (testId == 100 ? "limit_dialog_spo2_standard_with_bounds.png"
                                               : "limit_dialog_probe_resistance_pin_pairs.png"));
    }
    std::filesystem::remove(scratch);
    return failed;
}
