// Pictures of the detailed-result page (in the element setup dialog that a
// result's CreateDialog gives the host) and of the help view showing a test's
// page from the Help folder beside this program, each in the state its file
// name gives.
#include "bench/render/draw_results.h"

#include "bench/render/draw_dialogs.h"

#include <cstdio>
#include <string>

#include "platform/qt/qt_renderer.h"
#include "plugin/results/result_data.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_html_help.h"
#include "plugin/shell/felement_setup.h"

namespace {

class FHelpHolder : public plat::ui::Form {
public:
    explicit FHelpHolder(std::shared_ptr<plugin::XHtmlHelp> help) : Form("frmHelp") {
        SetCaption("Help");
        SetInnerSize(6000, 6600);
        AddObject("xhhHtmlHelp", std::move(help)).Move(0, 0, 6000, 6600);
    }
};

}  // namespace

int DrawResults(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    int failed = 0;
    plugin::RegisterResultsClasses();
    {
        auto result = std::make_shared<plugin::CResultData>();
        result->SetComment("Oximeter read 2 % low at 70 %; probe cable replaced before the retest.");
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
        FHelpHolder form(help);
        form.Load();
        if (!help->Initialize("SpO2SimulationHtmlHelp.html")) {
            std::fprintf(stderr, "help page not found beside the program\n");
            ++failed;
        }
        failed += DrawAndUnload(renderer, form, folder / "help_view_spo2_simulation_page.png");
    }
    return failed;
}
