// The editor's main window with its dialogs (new R-curve, save-make, upload
// slot) under an improvising operator, on a make folder of two makes (one of
// them read-only) made afresh for every input. Between actions: every
// committed R-value cell shows a value as the window formats it, and a commit
// keeps what was typed or puts back the old value; a make file changes only
// by a Save, the new R-curve dialog's Save or Delete, and then reads back as
// the window shows it; picking a make shows it as stored, with no edit left
// open. Send reaches the simulated instrument on a fake serial line through
// the real driver, served in-process; once the window is gone no command but
// the session's closing "[Q]" reaches the line.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "driver/server.h"
#include "editor/frm_custom_rcurve.h"
#include "editor/make_checks.h"
#include "fuzz/operator/action_source.h"
#include "fuzz/operator/folder_snapshot.h"
#include "fuzz/operator/grid_commit_check.h"
#include "fuzz/operator/process_sandbox.h"
#include "fuzz/operator/window_gone_watch.h"
#include "fuzz/operator/window_operator.h"
#include "host/registry_key.h"
#include "makes/make_utils.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/msgbox.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using fuzz_operator::GridCommitCheck;

// A make with a straight R-curve.
std::string SampleMakeText(const std::string& name, int32_t redDC, double start) {
    makes::COximeterMake make;
    make.SetName(name);
    make.SetRedDC(redDC);
    make.SetIRDC(2000);
    make.SetIRAC(300);
    make.SetTLC(400);
    make.SetLightLevel(1);
    make.SetRCurve(std::make_shared<makes::RCurveCollection>());
    for (int32_t spo2 = 50; spo2 <= 100; ++spo2) make.AddRValue(spo2, plat::NumberToText(start - (spo2 - 50) * 0.01));
    return makes::MakesFileText(make);
}

// An R value or reading: a number is stored as the window formats it (or, out
// of range, the old text comes back); a blank stays blank; anything else puts
// back the old text.
std::optional<std::vector<std::string>> RValueRule(int32_t, int32_t, const std::string& typed) {
    switch (GridCommitCheck::Classify(typed)) {
    case GridCommitCheck::Number::Yes:
    case GridCommitCheck::Number::Unclear: return std::vector<std::string>{editor::NumberText(typed)};
    case GridCommitCheck::Number::Blank: return std::vector<std::string>{"", typed};
    case GridCommitCheck::Number::No: return std::vector<std::string>{};
    }
    return std::vector<std::string>{};
}

bool ShownAsFormatted(const std::string& text) {
    return plat::Trim(text).empty() || editor::NumberText(text) == text;
}

class EditorSession {
public:
    explicit EditorSession(fuzz_operator::ActionSource& input)
        : op_(input),
          watch_("frmCustomRcurve",
                 [this] {
                     if (!goneAt_) goneAt_ = sim_.CommandTexts().size();
                 }),
          folder_(ResetFolder()),
          mainGrid_("frmCustomRcurve.tliRValue", RValueRule,
                    [](int32_t, int32_t col, const std::string& text) {
                        return col != editor::frmCustomRcurve::kRValueCol || ShownAsFormatted(text);
                    }),
          createGrid_("frmCreateRcurve.tliRValue", RValueRule, [](int32_t, int32_t col, const std::string& text) {
              return col < 2 || ShownAsFormatted(text);
          }) {
        op_.SetCheck([this] { Check(); });
    }

    void Run() {
        window_ = std::make_shared<editor::frmCustomRcurve>();
        window_->Show(plat::ui::ShowMode::Modeless);
        shown_ = window_->CurrentMake();
        op_.Run([this] { return !window_->Loaded() && !plat::ui::TopModalForm(); });
        // Whatever the upload left armed runs out; the line stays quiet.
        bool later = false;
        plat::MessageLoop::Current().PostDelayed(120000, [&later] { later = true; });
        op_.Drive([&later] { plat::MessageLoop::Current().RunUntil([&later] { return later; }); });
        for (plat::ui::Form* form : plat::ui::LoadedForms())
            if (form->Visible()) op_.Finding("the window \"" + form->Name() + "\" is left open after the session");
    }

private:
    static std::string& Folder() {
        static std::string folder;
        return folder;
    }
    static std::string ResetFolder() {
        static const bool ready = [] {
            Folder() = fuzz_operator::ProcessSandbox::Instance().EmptyFolder("makes") + "/";
            for (const auto& served : drv::ServedClasses()) plat::RegisterClass(served.progId, served.factory);
            host::CRegistryKey key;
            key.Create(host::HKey::LocalMachine, makes::kRegistryKey);
            key.WriteValue("Path", Folder());
            return true;
        }();
        (void)ready;
        static const std::string alpha = SampleMakeText("Alpha", 1000, 1.5);
        static const std::string beta = SampleMakeText("Beta", 2000, 2.0);
        fuzz_operator::ProcessSandbox::Instance().EmptyFolder("makes");
        std::ofstream(Folder() + "alpha.txt", std::ios::binary) << alpha;
        std::ofstream(Folder() + "beta.txt", std::ios::binary) << beta;
        plat::fs::SetReadOnly(Folder() + "beta.txt", true);
        return Folder();
    }

    plat::ui::Grid* GridOf(const char* window) const {
        plat::ui::Form* form = plat::ui::FindForm(window);
        if (!form || !form->Loaded() || !form->Visible()) return nullptr;
        return dynamic_cast<plat::ui::Grid*>(plat::ui::test::ScriptedOperator::FindControl(*form, "tliRValue"));
    }

    void Check() {
        const auto& last = op_.Last();
        if (goneAt_) {
            const auto wire = sim_.CommandTexts();
            for (size_t i = *goneAt_; i < wire.size(); ++i)
                if (wire[i] != "[Q]" || i + 1 < wire.size())
                    op_.Finding("\"" + wire[i] + "\" reached the line after the editor's window was gone");
        }
        const bool mainInFront = window_->Loaded() && window_->Visible() && !plat::ui::TopModalForm();
        for (auto [check, grid] : {std::pair{&mainGrid_, GridOf("frmCustomRcurve")},
                                  std::pair{&createGrid_, GridOf("frmCreateRcurve")}}) {
            const std::string finding = check->Check(grid, last);
            if (!finding.empty()) op_.Finding(finding);
        }

        if (folder_.Take()) {
            const bool saveRoad = (last.verb == "click" && (last.control == "cmdSave" || last.control == "cmdAccept" ||
                                                            last.control == "tbrmakeAction")) ||
                                  last.verb == "enter" || op_.Answered(plat::ui::vbYes);
            if (!saveRoad)
                op_.Finding("make files " + folder_.Changes() + "changed on disk by " + last.verb + " " + last.control +
                            " on " + last.window);
            const auto& make = window_->CurrentMake();
            if (mainInFront && make && folder_.Changed(make->File())) {
                const auto back = makes::ReadMakesFile(Folder() + make->File());
                if (!back || makes::MakesFileText(*back) != makes::MakesFileText(*make))
                    op_.Finding("the saved file \"" + make->File() + "\" does not read back as the shown make");
                if (window_->IsSettingsGotChanged())
                    op_.Finding("after the save of \"" + make->File() + "\" the window shows other values than the file");
            }
        }

        if (mainInFront) {
            const auto& make = window_->CurrentMake();
            if (make != shown_ && make && last.verb == "pick" && last.control == "cmbCustomRcurve") {
                if (window_->IsSettingsGotChanged())
                    op_.Finding("the picked make \"" + make->Name() + "\" is shown with values it does not store");
                if (auto* grid = GridOf("frmCustomRcurve"); grid && grid->Editing())
                    op_.Finding("a cell edit stays open after picking the make \"" + make->Name() + "\"");
            }
            shown_ = make;
        }
    }

    fuzz_operator::WindowOperator op_;
    serialtest::FakeSerialScope serial_;
    serialtest::SimulatedInstrument sim_{serial_};
    std::optional<size_t> goneAt_;
    fuzz_operator::WindowGoneWatch watch_;
    fuzz_operator::FolderSnapshot folder_;
    GridCommitCheck mainGrid_;
    GridCommitCheck createGrid_;
    std::shared_ptr<editor::frmCustomRcurve> window_;
    makes::OximeterMakePtr shown_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::VirtualTimeScope time;
    fuzz_operator::ActionSource input(data, size);
    EditorSession session(input);
    session.Run();
    return 0;
}
