#pragma once
// The host program's main window: the test sequence as a tree (the group and
// its tests, each with its selection box and its result status), and what a
// host does with the plug-in's elements: run the selected test or the whole
// sequence, open the plug-in's settings, a test's configuration and limits, a
// result's detailed page, type a result's comment, save the sequence with
// its results and open it again, and write the report.
//
//   auto window = std::make_shared<FHostMain>(plugIn);
//   window->Show();                 // the template's sequence
//   window->OpenSequence(path);     // or one saved before

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "hostprog/report_writer.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/tree_view.h"

namespace hostprog {

class FHostMain : public plat::ui::Form {
public:
    static constexpr const char* kRootKey = "n";

    explicit FHostMain(std::shared_ptr<host::IPlugIn> plugIn);

    // The sequence shown (the plug-in's template sequence until one is opened).
    const host::TestElementPtr& Sequence() const { return sequence_; }
    // Replaces the sequence by the one saved in the file; a message and
    // false when it cannot be read (the shown sequence stays).
    bool OpenSequence(const std::string& path);
    // The element of a tree node; nullptr for none.
    host::TestElementPtr ElementOf(const std::string& key) const;
    // The node text of an element: its selection box, name and status.
    static std::string NodeText(const host::ITestElement& element);
    // The status word of a result status (0..3); "" for no result.
    static std::string StatusText(const host::ITestElement& element);

private:
    void Form_Load();
    void Form_Unload();
    void LayOut();
    void FillTree();
    void AddNode(const std::string& parentKey, const std::string& key, const host::TestElementPtr& element);
    void RefreshTree();
    void ShowSelected();
    host::TestElementPtr SelectedElement() const;
    void SetStatus(const std::string& text);
    void Run(const host::TestElementPtr& element);
    void ShowDialog(const std::string& name, const std::string& caption,
                    const std::shared_ptr<host::IDialog>& dialog, const std::string& missing);

    void chkSelected_Click();
    void txtComment_Change();
    void cmdConfiguration_Click();
    void cmdLimits_Click();
    void cmdResult_Click();
    void cmdSettings_Click();
    void cmdSave_Click();
    void cmdOpen_Click();
    void cmdReport_Click();
    // The report of the selected elements, each under its own name.
    ReportWriter::Document Report() const;
    void AddReportSections(ReportWriter::Document& document, const host::TestElementPtr& element,
                           int32_t depth) const;

    std::shared_ptr<host::IPlugIn> plugIn_;
    host::TestElementPtr sequence_;
    std::string sequenceFile_;  // the file the sequence was opened from or saved to
    std::map<std::string, std::weak_ptr<host::ITestElement>> nodes_;
    bool showing_ = false;  // the controls follow the selection: no edits then
    std::function<bool()> previousStopQuestion_;  // the host's question to Stop before this window asked its own

    plat::ui::TreeView& tvwSequence = Add<plat::ui::TreeView>("tvwSequence");
    plat::ui::CheckBox& chkSelected = Add<plat::ui::CheckBox>("chkSelected");
    plat::ui::CommandButton& cmdRunTest = Add<plat::ui::CommandButton>("cmdRunTest");
    plat::ui::CommandButton& cmdRunSequence = Add<plat::ui::CommandButton>("cmdRunSequence");
    plat::ui::CommandButton& cmdConfiguration = Add<plat::ui::CommandButton>("cmdConfiguration");
    plat::ui::CommandButton& cmdLimits = Add<plat::ui::CommandButton>("cmdLimits");
    plat::ui::CommandButton& cmdResult = Add<plat::ui::CommandButton>("cmdResult");
    plat::ui::CommandButton& cmdSettings = Add<plat::ui::CommandButton>("cmdSettings");
    plat::ui::Label& lblComment = Add<plat::ui::Label>("lblComment");
    plat::ui::TextBox& txtComment = Add<plat::ui::TextBox>("txtComment");
    plat::ui::Label& lblFile = Add<plat::ui::Label>("lblFile");
    plat::ui::TextBox& txtFile = Add<plat::ui::TextBox>("txtFile");
    plat::ui::CommandButton& cmdSave = Add<plat::ui::CommandButton>("cmdSave");
    plat::ui::CommandButton& cmdOpen = Add<plat::ui::CommandButton>("cmdOpen");
    plat::ui::Label& lblReport = Add<plat::ui::Label>("lblReport");
    plat::ui::TextBox& txtReport = Add<plat::ui::TextBox>("txtReport");
    plat::ui::CommandButton& cmdReport = Add<plat::ui::CommandButton>("cmdReport");
    plat::ui::Label& lblStatus = Add<plat::ui::Label>("lblStatus");
};

}  // namespace hostprog
