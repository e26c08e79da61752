// The plug-in's settings page in its setup dialog, docked into a host window,
// with the custom make's R-curve viewer, under an improvising operator, on a
// make folder of two custom makes. Between actions: the page shows what the
// settings object holds (default make by position and name, the send-before-
// test choice); the viewer's R values show as it formats them; no make file
// changes (the page saves none).

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
#include "host/ui_interfaces.h"
#include "makes/make_utils.h"
#include "platform/com/registry.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/controls.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "plugin/config/config_classes.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/shell_classes.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using fuzz_operator::GridCommitCheck;

const std::string& MakeFolder() {
    return fuzz_operator::PlugInMakeFolder([](plat::Registry&) {
        plugin::RegisterConfigClasses();
        plugin::RegisterShellClasses();
    });
}

class SettingsSession {
public:
    explicit SettingsSession(fuzz_operator::ActionSource& input)
        : op_(input),
          folder_(MakeFolder()),
          rvalues_("xcmCustomMake.tliRValue", fuzz_operator::CustomMakeRValueRule, [](int32_t, int32_t col, const std::string& text) {
              return col == 0 || plat::Trim(text).empty() || plat::NumberToText(makes::ValText(text)) == text;
          }) {
        op_.SetCheck([this] { Check(); });
    }

    void Run(fuzz_operator::ActionSource& input) {
        // Defaults as a user's registry may hold them: a built-in or a custom make.
        setup_->SetDefaultOximeterLoc(input.Pick(12));
        setup_->SetDefaultDownloadPref(input.Pick(2) == 1);
        dialog_ = setup_->CreateDialog();
        window_ = std::make_unique<fuzz_operator::HostWindow>();
        window_->Show();
        dialog_->Dock(window_->hWnd());
        dialog_->Show({});
        op_.Run([this] { return !window_->Loaded() && !plat::ui::TopModalForm(); });
        dialog_->Unload();
        for (plat::ui::Form* form : plat::ui::LoadedForms())
            if (form->Visible()) op_.Finding("the window \"" + form->Name() + "\" is left open after the session");
    }

private:
    void Check() {
        if (window_->Loaded() && window_->Visible()) {
            auto* makesBox = dynamic_cast<plat::ui::ComboBox*>(
                plat::ui::test::ScriptedOperator::FindControl(*window_, "cboDefaultOximeter"));
            auto* send = dynamic_cast<plat::ui::CheckBox*>(
                plat::ui::test::ScriptedOperator::FindControl(*window_, "chkDownloadCustom"));
            if (makesBox && makesBox->ListIndex() != setup_->DefaultOximeterLoc())
                op_.Finding("the make list shows entry " + std::to_string(makesBox->ListIndex()) +
                            " while the settings hold " + std::to_string(setup_->DefaultOximeterLoc()));
            if (makesBox && makesBox->ListIndex() >= 0 && makesBox->Text() != setup_->DefaultCustomMakeName() &&
                setup_->DefaultOximeterLoc() >= 10)
                op_.Finding("the make list shows \"" + makesBox->Text() + "\" while the settings hold \"" +
                            setup_->DefaultCustomMakeName() + "\"");
            if (send && send->Enabled() && (send->Value() == 1) != setup_->DefaultDownloadPref())
                op_.Finding("the send box shows " + std::to_string(send->Value()) + " while the settings hold " +
                            std::to_string(setup_->DefaultDownloadPref()));
        }
        plat::ui::Form* viewer = plat::ui::FindForm("FMakeDetails");
        plat::ui::Grid* grid = nullptr;
        if (viewer && viewer->Loaded() && viewer->Visible())
            grid = dynamic_cast<plat::ui::Grid*>(
                plat::ui::test::ScriptedOperator::FindControl(*viewer, "xcmCustomMake.tliRValue"));
        const std::string finding = rvalues_.Check(grid, op_.Last());
        if (!finding.empty()) op_.Finding(finding);
        if (folder_.Take()) op_.Finding("make files " + folder_.Changes() + "changed on disk");
    }

    fuzz_operator::WindowOperator op_;
    fuzz_operator::FolderSnapshot folder_;
    GridCommitCheck rvalues_;
    std::shared_ptr<plugin::CPluginSetup> setup_ = std::make_shared<plugin::CPluginSetup>();
    std::shared_ptr<host::IDialog> dialog_;
    std::unique_ptr<fuzz_operator::HostWindow> window_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::VirtualTimeScope time;
    fuzz_operator::ActionSource input(data, size);
    SettingsSession session(input);
    session.Run(input);
    return 0;
}
