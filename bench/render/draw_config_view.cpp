// Pictures of the SpO2 configuration view, each in the state its file name
// gives: a built-in make under a preset, and a custom make sent before the
// test with customised values typed in.
#include "bench/render/draw_config_view.h"

#include <cstdio>
#include <string>

#include "bench/render/draw_and_unload.h"
#include "bench/render/draw_dialogs.h"
#include "host/test_element.h"
#include "platform/com/registry.h"
#include "platform/qt/qt_renderer.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/f_element_setup.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/test_data.h"

namespace {

constexpr int32_t kWidth = 6900;
constexpr int32_t kHeight = 5300;

int DrawOne(plat::qt::QtRenderer& renderer, const std::shared_ptr<plugin::CSpO2SimulationConfig>& config,
            const std::filesystem::path& path) {
    auto dialog = std::dynamic_pointer_cast<plugin::FElementSetup>(config->CreateDialog());
    if (!dialog || !dialog->SetupControl()) {
        std::fprintf(stderr, "no configuration view to draw\n");
        return 1;
    }
    dialog->SetInnerSize(kWidth, kHeight);
    dialog->SetupControl()->Move(0, 0, kWidth, kHeight);
    dialog->SetCaption("SpO2 simulation test configuration");
    return DrawAndUnload(renderer, *dialog, path);
}

std::shared_ptr<plugin::CSpO2SimulationConfig> ConfigOf(const std::shared_ptr<plugin::CTestData>& test) {
    return std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(test->Configuration());
}

}  // namespace

int DrawConfigView(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    const auto scratch = std::filesystem::temp_directory_path() / "orvik_draw_config_view.reg";
    const auto makeFolder = std::filesystem::temp_directory_path() / "orvik_draw_config_view_makes";
    std::filesystem::remove(scratch);
    std::filesystem::remove_all(makeFolder);
    std::filesystem::create_directories(makeFolder);
    plat::Registry::UseFile(scratch.string());
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "Path",
                                          makeFolder.string() + "/");
    for (const char* name : {"Acme 3100", "Oxi Two"}) {
        auto make = std::make_shared<makes::COximeterMake>();
        make->SetName(name);
        make->SetTLC(2750);
        make->SetRCurve(std::make_shared<makes::RCurveCollection>());
        for (int32_t spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, "1");
        (void)makes::SaveMakesFile(make, std::string(name) + ".txt", makes::kRegistryKey);
    }
    plugin::RegisterConfigClasses();
    plugin::RegisterSpO2ConfigurationPart();
    auto settings = std::make_shared<plugin::CPluginSetup>();

    {
        auto templ = std::make_shared<plugin::CTestData>();
        templ->Create(100, settings);
        auto test = std::dynamic_pointer_cast<plugin::CTestData>(templ->Clone());
        auto config = test ? ConfigOf(test) : nullptr;
        if (config) {
            config->SetOximeterMake(6);
            plugin::CPresets presets;
            presets.SetSpO2ConfigById(3, *config);
            config->SetPresetName(presets.NameOfId(3));
            failed += DrawOne(renderer, config, folder / "config_view_built_in_make_preset_hypox.png");
        } else {
            ++failed;
        }
    }
    {
        auto templ = std::make_shared<plugin::CTestData>();
        templ->Create(100, settings);
        auto test = std::dynamic_pointer_cast<plugin::CTestData>(templ->Clone());
        auto config = test ? ConfigOf(test) : nullptr;
        if (config && config->Makes() && config->Makes()->Exists("Oxi Two")) {
            config->SetOximeterMake(11);
            config->SetOximeterMakeName("Oxi Two");
            config->SetCurrentMake(config->Makes()->Item("Oxi Two"));
            config->SetUploadRCurve(true);
            config->SetCustomSpO2(85);
            config->SetCustomBPM(120);
            config->SetCustomPulseAmplitude("0.5");
            config->SetEnableBtnFlags(plugin::CSpO2SimulationConfig::kEnableSkip);
            plugin::CPresets presets;
            presets.SetSpO2ConfigById(plugin::CPresets::kCustomID, *config);
            config->SetPresetName(presets.NameOfId(plugin::CPresets::kCustomID));
            failed += DrawOne(renderer, config, folder / "config_view_custom_make_upload_customized_values.png");
        } else {
            std::fprintf(stderr, "no custom make to show\n");
            ++failed;
        }
    }
    std::filesystem::remove_all(makeFolder);
    std::filesystem::remove(scratch);
    return failed;
}
