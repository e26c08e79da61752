// Pictures of the test-guide window, prepared for a test of the shipped
// template of the real plug-in (loaded by ProgID from beside this program,
// registered in a scratch registry), as a test shows it when it runs.
#include "bench/render/draw_test_guide.h"

#include "bench/render/draw_and_unload.h"
#include "bench/render/shipped_plug_in.h"

#include <cstdio>
#include <filesystem>

#include "host/host_application.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "platform/qt/qt_renderer.h"
#include "plugin/shell/mti_data.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/identity_pane_flag.h"
#include "plugin/factory/plugin_factory.h"

namespace {

// Gives the element a result holding the readings, as a run leaves it
// ("SpO2::BPM" for the SpO2 test, "KEY=value::..." for the probe tests).
host::TestElementPtr WithReadings(const host::TestElementPtr& element, const std::string& readings) {
    auto document = host::XmlFactory().NewDocument();
    element->Load(*document->CreateElement("ResultItem"), std::make_shared<host::CLoadContext>());
    if (auto result = std::dynamic_pointer_cast<plugin::ITestResult>(element->Result()))
        result->StoreResult(readings, std::make_shared<host::CTestSetup>());
    return element;
}

int DrawGuide(plat::qt::QtRenderer& renderer, const host::TestElementPtr& element, bool identityPane,
              const std::string& path) {
    auto setup = std::make_shared<host::CTestSetup>();
    auto identity = std::make_shared<plugin::CMtiData2>();
    identity->SetMtiType("Pelmo Q5 F");
    identity->SetSerialNo("Q5F20417");
    identity->SetFWVersion("2.14");
    plugin::SetIdentityPaneShown(!identityPane);
    auto guide = std::make_shared<plugin::FTestGuide>();
    guide->Load();
    guide->InitGuide(element, setup, identity);
    guide->SetInnerSize(12600, 7200);
    guide->Show();
    guide->UpdateToolBar();  // as after the readings of a run
    // SpO2 and BPM limits around the configured values.
    if (element->TestID() == 100) guide->Toolbar().ClickButton(plugin::FTestGuide::kExpectedValues);
    const int failed = DrawPicture(renderer, *guide, path);
    guide->Unload();
    guide.reset();
    renderer.Flush();  // the renderer forgets the window before another is made at its address
    return failed;
}

}  // namespace

int DrawTestGuides(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    try {
        ShippedPlugIn plugIn("orvik_draw_test_guide.reg");
        auto draw = [&](const host::TestElementPtr& element, bool identityPane, const char* file) {
            failed += DrawGuide(renderer, element, identityPane, (folder / file).string());
        };
        draw(plugIn->CreateTest(100), false, "test_guide_spo2_before_start.png");
        draw(plugIn->CreateTest(100), true, "test_guide_spo2_identity_pane.png");
        draw(WithReadings(plugIn->CreateTest(100), "97::64"), false, "test_guide_spo2_readings_one_outside.png");
        draw(WithReadings(plugIn->CreateTest(400), "PIN1_TO_PIN2=2.2"), false, "test_guide_resistance_probe_rows.png");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "test-guide pictures: %s\n", error.what());
        ++failed;
    }
    return failed;
}
