// Pictures of the detailed-result page (in the element setup dialog that a
// result's CreateDialog gives the host), of the help view showing a test's
// page from the Help folder beside this program, and of the results grid of
// tests of the real plug-in's template (loaded by ProgID from beside this
// program), each in the state its file name gives.
#include "bench/render/draw_results.h"

#include "bench/render/draw_and_unload.h"
#include "bench/render/draw_dialogs.h"
#include "bench/render/shipped_plug_in.h"

#include <cstdio>
#include <string>

#include "host/host_application.h"
#include "platform/com/com.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/result_view_interface.h"

#include "platform/qt/qt_renderer.h"
#include "plugin/results/result_data.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_html_help.h"
#include "plugin/shell/f_element_setup.h"

namespace {

class FHolder : public plat::ui::Form {
public:
    FHolder(std::string caption, plat::ObjectPtr page, int32_t width, int32_t height) : Form("frmHolder") {
        SetCaption(std::move(caption));
        SetInnerSize(width, height);
        AddObject("xvbPage", std::move(page)).Move(0, 0, width, height);
    }
};

// The results grid of a new test of that ID with the readings given (none:
// as a run starts), its first standard selected.
int DrawGrid(plat::qt::QtRenderer& renderer, host::IPlugIn& plugIn, int32_t testId, const std::string& readings,
             bool useExpected, const std::filesystem::path& path) {
    auto test = plugIn.CreateTest(testId);
    auto object = plat::CreateObject("OrvikPelmo2.XResultView");
    auto grid = std::dynamic_pointer_cast<plugin::IResultView>(object);
    auto result = plat::CreateObjectAs<host::IResultData>("OrvikPelmo2.CResultData");
    auto testResult = std::dynamic_pointer_cast<plugin::ITestResult>(result);
    if (!grid || !testResult) return 1;
    testResult->InitializeResult(test);
    if (!readings.empty()) testResult->StoreResult(readings, nullptr);
    FHolder form("Results", object, 9000, testId == 100 ? 1400 : 2000);
    form.Load();
    grid->SetOwner(test);
    grid->InitTest();
    if (testId != 100) grid->InitProbeTest();
    auto standard = test->Limits()->Standards()->Item(1);
    grid->SelectStandard(standard->Name(), standard->Text(), useExpected);
    if (!readings.empty()) grid->DisplayResults(result);
    return DrawAndUnload(renderer, form, path);
}


}  // namespace

int DrawResults(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    plugin::RegisterResultsClasses();
    {
        auto result = std::make_shared<plugin::CResultData>();
        result->SetComment(
            "Oximeter read 2 % low at 70 %; probe cable replaced before the retest.\r\n"
            "Retest passed at every point.\r\n"
            "Serial number checked against the label.\r\n"
            "Front panel scratched (cosmetic only).\r\n"
            "Returned to the ward on Friday.");
        auto dialog = std::make_shared<plugin::FElementSetup>();
        dialog->Load();
        dialog->CreateSetupCtrl("OrvikPelmo2.XDetailedResult", "xvbSetupControl");
        dialog->Initialize(plat::Variant(plat::ObjectPtr(result)));
        if (auto control = dialog->SetupControl()) control->Move(0, 0, 6000, 1800);
        dialog->SetInnerSize(6000, 1800);
        dialog->SetCaption("Detailed result");
        failed += DrawAndUnload(renderer, *dialog, folder / "detailed_result_page_with_comment.png");
    }
    {
        auto help = std::make_shared<plugin::XHtmlHelp>();
        FHolder form("Help", help, 6000, 6600);
        form.Load();
        if (!help->Initialize("SpO2SimulationHtmlHelp.html")) {
            std::fprintf(stderr, "help page not found beside the program\n");
            ++failed;
        }
        failed += DrawAndUnload(renderer, form, folder / "help_view_spo2_simulation_page.png");
    }
    return failed;
}

int DrawResultGrids(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    try {
        ShippedPlugIn plugIn("orvik_draw_results.reg");
        failed += DrawGrid(renderer, *plugIn, 100, "97::80", true,
                           folder / "results_grid_spo2_expected_limits_bpm_out_of_limits.png");
        failed += DrawGrid(renderer, *plugIn, 200, "1.9::1.35", false,
                           folder / "results_grid_led_photo_not_reported.png");
        failed += DrawGrid(renderer, *plugIn, 400, "OTHER=1", false,
                           folder / "results_grid_resistance_no_resistances_found.png");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "results grid pictures: %s\n", error.what());
        ++failed;
    }
    return failed;
}
