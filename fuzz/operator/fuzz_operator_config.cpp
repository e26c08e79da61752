// The SpO2 configuration view, docked into a host window as the host shows a
// test's configuration, with its make-details window, under an improvising
// operator. Between actions: opening the view left the test's preset as it
// was; every committed value cell shows what the configuration stores; a
// commit of no number, or of an emptied cell, puts back the value from before
// the edit; the make-details window's R values show as it formats them; no
// make file changes (the view saves none).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/operator/action_source.h"
#include "fuzz/operator/folder_snapshot.h"
#include "fuzz/operator/grid_commit_check.h"
#include "fuzz/operator/plug_in_makes.h"
#include "fuzz/operator/host_window.h"
#include "fuzz/operator/process_sandbox.h"
#include "fuzz/operator/window_operator.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/config/x_spo2_simulation_config_view.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using fuzz_operator::GridCommitCheck;
using plugin::XSpO2SimulationConfigView;

const std::string& MakeFolder() {
    return fuzz_operator::PlugInMakeFolder([](plat::Registry& registry) {
        registry.WriteValue(plat::Hive::LocalMachine, makes::kRegistryKey, "DefaultMakeLocation", "7");
        plugin::RegisterConfigClasses();
        plugin::RegisterSpO2ConfigurationPart();
    });
}

// A value cell: no number, or nothing, puts back the old value; a number's
// range is the configuration's to judge (the model check follows it).
std::optional<std::vector<std::string>> ValueRule(int32_t, int32_t, const std::string& typed) {
    const auto kind = GridCommitCheck::Classify(typed);
    if (kind == GridCommitCheck::Number::No || kind == GridCommitCheck::Number::Blank)
        return std::vector<std::string>{};
    return std::nullopt;
}

class ConfigSession {
public:
    explicit ConfigSession(fuzz_operator::ActionSource& input)
        : op_(input),
          folder_(MakeFolder()),
          details_("tliDetails", ValueRule, [](int32_t, int32_t, const std::string&) { return true; }),
          rvalues_("xcmCustomMake.tliRValue", fuzz_operator::CustomMakeRValueRule, [](int32_t, int32_t col, const std::string& text) {
              return col == 0 || plat::Trim(text).empty() || plat::NumberToText(makes::ValText(text)) == text;
          }) {
        op_.SetCheck([this] { Check(); });
    }

    void Run(fuzz_operator::ActionSource& input) {
        plugin::CSpO2SimulationConfig templ;
        config_ = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(templ.Clone());
        element_->config = config_;
        config_->SetParentTest(element_);
        // The test's preset and make, as a saved test may hold them.
        // Half the tests on "Customize", whose values the operator edits.
        const int32_t preset = input.Pick(2) ? plugin::CPresets::kCustomID : input.Pick(plugin::CPresets::kCount);
        plugin::CPresets presets;
        presets.SetSpO2ConfigById(preset, *config_);
        config_->SetSimulationID(preset);
        config_->SetPresetName(presets.NameOfId(preset));
        config_->SetOximeterMake(input.Pick(13));

        dialog_ = config_->CreateDialog();
        window_ = std::make_unique<fuzz_operator::HostWindow>();
        window_->Show();
        dialog_->Dock(window_->hWnd());
        dialog_->Show({});
        if (input.Pick(8) == 0) dialog_->SetLocked(true);
        if (config_->SimulationID() != preset)
            op_.Finding("opening the view changed the test's preset from " + std::to_string(preset) + " to " +
                        std::to_string(config_->SimulationID()));

        op_.Run([this] { return !window_->Loaded() && !plat::ui::TopModalForm(); });
        dialog_->Unload();
        for (plat::ui::Form* form : plat::ui::LoadedForms())
            if (form->Visible()) op_.Finding("the window \"" + form->Name() + "\" is left open after the session");
    }

private:
    plat::ui::Grid* GridIn(plat::ui::Form* form, const char* path) const {
        if (!form || !form->Loaded() || !form->Visible()) return nullptr;
        return dynamic_cast<plat::ui::Grid*>(plat::ui::test::ScriptedOperator::FindControl(*form, path));
    }

    void Check() {
        const auto& last = op_.Last();
        auto* grid = GridIn(window_.get(), "tliDetails");
        for (auto [check, g] : {std::pair{&details_, grid},
                               std::pair{&rvalues_, GridIn(plat::ui::FindForm("FMakeDetails"), "xcmCustomMake.tliRValue")}}) {
            const std::string finding = check->Check(g, last);
            if (!finding.empty()) op_.Finding(finding);
        }
        if (grid) {
            const std::string stored[] = {std::to_string(config_->SpO2()), std::to_string(config_->BPM()),
                                          config_->PulseAmplitude()};
            for (int32_t row = XSpO2SimulationConfigView::kRowSpO2; row <= XSpO2SimulationConfigView::kRowAmplitude; ++row) {
                if (grid->Editing() && grid->EditRow() == row) continue;
                const std::string shown = grid->CellText(row, XSpO2SimulationConfigView::kValueCol);
                if (shown != stored[row - 1])
                    op_.Finding("value cell " + std::to_string(row) + " shows \"" + shown +
                                "\" while the configuration stores \"" + stored[row - 1] + "\"");
            }
        }
        if (folder_.Take()) op_.Finding("make files " + folder_.Changes() + "changed on disk");
    }

    fuzz_operator::WindowOperator op_;
    fuzz_operator::FolderSnapshot folder_;
    GridCommitCheck details_;
    GridCommitCheck rvalues_;
    std::shared_ptr<test_support::FakeElement> element_ = std::make_shared<test_support::FakeElement>();
    std::shared_ptr<plugin::CSpO2SimulationConfig> config_;
    std::shared_ptr<host::IDialog> dialog_;
    std::unique_ptr<fuzz_operator::HostWindow> window_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::VirtualTimeScope time;
    fuzz_operator::ActionSource input(data, size);
    ConfigSession session(input);
    session.Run(input);
    return 0;
}
