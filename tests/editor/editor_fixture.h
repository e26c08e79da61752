#pragma once
// The editor's windows headless on the virtual clock, with the scripted
// operator and a temporary make folder named in a scratch registry.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/frm_custom_rcurve.h"
#include "editor/make_checks.h"
#include "host/registry_key.h"
#include "makes/make_utils.h"
#include "platform/com/fs.h"
#include "platform/loop/message_loop.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/controls.h"
#include "platform/ui/grid.h"
#include "platform/ui/toolbar.h"
#include "platform/values/numfmt.h"
#include "tests/support/sandbox.h"
#include "tests/editor/sample_make.h"
#include "tests/support/ui/scripted_operator.h"

namespace editor_test {

using plat::ui::test::ScriptedOperator;

class EditorTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        folder_ = root_ + "/makes/";
        plat::fs::CreateFolder(folder_);
        auto key = std::make_shared<host::CRegistryKey>();
        key->Create(host::HKey::LocalMachine, makes::kRegistryKey);
        key->WriteValue("Path", folder_);
    }
    void TearDown() override {
        if (window_ && window_->Loaded()) {
            // A test that leaves the window open: no question on the way out.
            window_->OnQueryUnload = nullptr;
            window_->Unload();
        }
        plat::fs::SetBeforeRenameHookForTests(nullptr);
    }

    // Writes a make file into the make folder.
    std::string WriteMake(const makes::OximeterMakePtr& make, const std::string& file, bool readOnly = false) {
        const std::string path = folder_ + file;
        EXPECT_TRUE(plat::fs::ReplaceFile(path, makes::MakesFileText(*make), 0644));
        if (readOnly) plat::fs::SetReadOnly(path, true);
        return path;
    }
    std::string ReadFile(const std::string& file) {
        std::string bytes;
        plat::fs::ReadFile(folder_ + file, bytes);
        return bytes;
    }
    makes::OximeterMakePtr ReadBack(const std::string& file) { return makes::ReadMakesFile(folder_ + file); }

    // Opens the main window (modeless, as the program does).
    editor::frmCustomRcurve& Open() {
        window_ = std::make_shared<editor::frmCustomRcurve>();
        window_->Show(plat::ui::ShowMode::Modeless);
        return *window_;
    }
    // Lets the operator carry out every step queued.
    void Run(ScriptedOperator& op) {
        plat::MessageLoop::Current().RunUntil([&] { return op.Done(); });
        // The last step runs as a posted task.
        while (plat::MessageLoop::Current().DoEventsNoWait()) {
        }
    }
    // The save-make dialog's steps: a new name and file accepted, or the dialog refused.
    static void AcceptNewName(ScriptedOperator& op, const std::string& name, const std::string& file) {
        op.Type("FSaveMake", "tbOximeter", name)
            .Type("FSaveMake", "tbOximeterFile", file)
            .Click("FSaveMake", "cmdAccept");
    }
    static void RefuseNewName(ScriptedOperator& op) { op.Click("FSaveMake", "cmdRefuse"); }

    template <class T>
    T& Ctl(const std::string& name) {
        return *window_->Controls().FindAs<T>(name);
    }
    plat::ui::TextBox& Box(const std::string& name) { return Ctl<plat::ui::TextBox>(name); }
    plat::ui::Grid& Grid() { return Ctl<plat::ui::Grid>("tliRValue"); }
    plat::ui::ComboBox& Picker() { return Ctl<plat::ui::ComboBox>("cmbCustomRcurve"); }
    plat::ui::CommandButton& SaveButton() { return Ctl<plat::ui::CommandButton>("cmdSave"); }
    std::string RValue(int32_t spo2) { return Grid().CellText(spo2 - 49, 2); }
    std::vector<std::string> PickerEntries() {
        std::vector<std::string> entries;
        for (int32_t i = 0; i < Picker().ListCount(); ++i) entries.push_back(Picker().List(i));
        return entries;
    }
    static std::vector<std::string> Prompts(const ScriptedOperator& op) {
        std::vector<std::string> prompts;
        for (const auto& m : op.Messages()) prompts.push_back(m.prompt);
        return prompts;
    }

    plat::VirtualTimeScope time_;
    std::string folder_;
    std::shared_ptr<editor::frmCustomRcurve> window_;
};

}  // namespace editor_test
