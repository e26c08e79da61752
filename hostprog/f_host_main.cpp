#include "hostprog/f_host_main.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "host/error_service.h"
#include "host/host_application.h"
#include "host/report.h"
#include "host/run_context.h"
#include "hostprog/f_dialog_frame.h"
#include "hostprog/failure_text.h"
#include "hostprog/report_writer.h"
#include "hostprog/sequence_file.h"
#include "platform/ui/msgbox.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace hostprog {

namespace {

constexpr int32_t kGap = 120;
constexpr int32_t kTreeWidth = 5400;
constexpr int32_t kTreeHeight = 4680;
constexpr int32_t kButtonWidth = 2280;
constexpr int32_t kButtonHeight = 375;
constexpr int32_t kRowHeight = 315;
constexpr int32_t kInnerWidth = kTreeWidth + kButtonWidth + 3 * kGap;

// A step code of the run context: the operator aborted the run.
constexpr int32_t kStepStop = 2;

void Tell(const std::string& text) { plat::ui::MsgBox(FullStop(text), plat::ui::vbExclamation); }

// The operator's answer to the guide's Stop, asked over the guide window.
bool AskStop() {
    return plat::ui::MsgBox("Stop the test that is running?",
                            plat::ui::vbYesNo | plat::ui::vbQuestion | plat::ui::vbDefaultButton2) == plat::ui::vbYes;
}

// The errors reported to the host since the log held `count` entries, one a
// line, as the error service writes them to standard error.
std::string LoggedSince(size_t count) {
    const auto& log = host::ErrorService().Log();
    std::string text;
    for (size_t i = std::min(count, log.size()); i < log.size(); ++i) {
        const host::ReportedError& entry = log[i];
        std::string line = "Error";
        if (entry.number != 0) {
            char number[16];
            std::snprintf(number, sizeof number, " 0x%X", static_cast<unsigned>(entry.number));
            line += number;
        }
        if (!entry.source.empty()) line += " from " + entry.source;
        if (!entry.location.empty()) line += " at " + entry.location;
        if (!entry.reportLocation.empty()) line += ", reported in " + entry.reportLocation;
        if (!entry.description.empty()) line += ": " + entry.description;
        text += (text.empty() ? "" : "\n") + FullStop(line);
    }
    return text;
}

}  // namespace

FHostMain::FHostMain(std::shared_ptr<host::IPlugIn> plugIn) : Form("FHostMain"), plugIn_(std::move(plugIn)) {
    OnLoad = [this] { Form_Load(); };
    OnUnload = [this](bool&) { Form_Unload(); };
    tvwSequence.OnNodeClick = [this](plat::ui::TreeNode&) { ShowSelected(); };
    chkSelected.OnClick = [this] { chkSelected_Click(); };
    txtComment.OnChange = [this] { txtComment_Change(); };
    cmdRunTest.OnClick = [this] { Run(SelectedElement()); };
    cmdRunSequence.OnClick = [this] { Run(sequence_); };
    cmdConfiguration.OnClick = [this] { cmdConfiguration_Click(); };
    cmdLimits.OnClick = [this] { cmdLimits_Click(); };
    cmdResult.OnClick = [this] { cmdResult_Click(); };
    cmdSettings.OnClick = [this] { cmdSettings_Click(); };
    cmdSave.OnClick = [this] { cmdSave_Click(); };
    cmdOpen.OnClick = [this] { cmdOpen_Click(); };
    cmdReport.OnClick = [this] { cmdReport_Click(); };
}

void FHostMain::Form_Load() {
    previousStopQuestion_ = host::HostApplication().SetConfirmStopQuestion(AskStop);
    std::string name;
    plat::PassOver([&] { name = plugIn_ ? plugIn_->Name() : std::string(); });
    SetCaption(name.empty() ? "Test host" : "Test host - " + name);
    // The sequence is a fresh copy of the plug-in's template.
    if (!sequence_ && plugIn_) {
        try {
            auto tests = plugIn_->Tests();
            auto first = tests && tests->Count() > 0 ? tests->Item(1) : nullptr;
            if (first) sequence_ = plugIn_->CreateTest(first->ID());
        } catch (...) {
            plat::RethrowAbort();
            Tell("The plug-in gives no test sequence: " + FailureText());
        }
    }
    LayOut();
    FillTree();
}

void FHostMain::Form_Unload() {
    host::HostApplication().SetConfirmStopQuestion(std::move(previousStopQuestion_));
    if (sequence_) plat::PassOver([&] { sequence_->Terminate(); });
    sequence_.reset();
    nodes_.clear();
}

void FHostMain::LayOut() {
    tvwSequence.Move(kGap, kGap, kTreeWidth, kTreeHeight);
    const int32_t x = kTreeWidth + 2 * kGap;
    int32_t y = kGap;
    chkSelected.SetCaption("Selected for the run");
    chkSelected.Move(x, y, kButtonWidth, kRowHeight);
    y += kRowHeight + kGap;
    for (auto* button : {&cmdRunTest, &cmdRunSequence, &cmdConfiguration, &cmdLimits, &cmdResult, &cmdSettings}) {
        button->Move(x, y, kButtonWidth, kButtonHeight);
        y += kButtonHeight + kGap;
    }
    cmdRunTest.SetCaption("Run test");
    cmdRunSequence.SetCaption("Run sequence");
    cmdConfiguration.SetCaption("Configuration...");
    cmdLimits.SetCaption("Limits...");
    cmdResult.SetCaption("Result details...");
    cmdSettings.SetCaption("Plug-in settings...");

    y = kTreeHeight + 2 * kGap;
    const int32_t labelWidth = 1200;
    const int32_t boxWidth = x - kGap - (labelWidth + 2 * kGap);  // the boxes end where the buttons' column begins
    const int32_t halfWidth = (kButtonWidth - kGap) / 2;
    auto row = [&](plat::ui::Label& label, const char* caption, plat::ui::TextBox& box) {
        label.SetCaption(caption);
        label.Move(kGap, y + 45, labelWidth, kRowHeight);
        box.Move(kGap + labelWidth + kGap, y, boxWidth, kRowHeight);
    };
    row(lblComment, "Comment:", txtComment);
    y += kButtonHeight + kGap;
    row(lblFile, "Sequence file:", txtFile);
    cmdSave.SetCaption("Save");
    cmdSave.Move(x, y, halfWidth, kButtonHeight);
    cmdOpen.SetCaption("Open");
    cmdOpen.Move(x + halfWidth + kGap, y, halfWidth, kButtonHeight);
    y += kButtonHeight + kGap;
    row(lblReport, "Report file:", txtReport);
    cmdReport.SetCaption("Write report");
    cmdReport.Move(x, y, kButtonWidth, kButtonHeight);
    y += kButtonHeight + kGap;
    lblStatus.Move(kGap, y, kInnerWidth - 2 * kGap, kRowHeight);
    SetInnerSize(kInnerWidth, y + kRowHeight + kGap);
}

std::string FHostMain::StatusText(const host::ITestElement& element) {
    const auto result = element.Result();
    if (!result) return {};
    switch (result->Status()) {
        case 1: return "passed";
        case 2: return "failed";
        case 3: return "not applicable";
        default: return "not evaluated";
    }
}

std::string FHostMain::NodeText(const host::ITestElement& element) {
    const auto filter = element.Filter();
    const auto info = element.Info();
    std::string text = (!filter || filter->Selected()) ? "[x] " : "[ ] ";
    text += info ? info->Name() : std::string();
    if (const std::string status = StatusText(element); !status.empty()) text += " - " + status;
    return text;
}

void FHostMain::AddNode(const std::string& parentKey, const std::string& key, const host::TestElementPtr& element) {
    std::string text;
    plat::PassOver([&] { text = NodeText(*element); });
    tvwSequence.Add(parentKey, key, text).SetExpanded(true);
    nodes_[key] = element;
    auto container = std::dynamic_pointer_cast<host::ITestContainer>(element);
    if (!container) return;
    int32_t index = 0;
    for (const auto& child : container->NewEnum())
        if (child) AddNode(key, key + "." + std::to_string(++index), child);
}

void FHostMain::FillTree() {
    showing_ = true;
    tvwSequence.Clear();
    nodes_.clear();
    if (sequence_) {
        AddNode("", kRootKey, sequence_);
        tvwSequence.SetSelectedItem(tvwSequence.Find(kRootKey));
    }
    showing_ = false;
    ShowSelected();
}

void FHostMain::RefreshTree() {
    for (const auto& [key, weak] : nodes_) {
        auto element = weak.lock();
        auto* node = tvwSequence.Find(key);
        if (!element || !node) continue;
        plat::PassOver([&] { node->SetText(NodeText(*element)); });
    }
}

host::TestElementPtr FHostMain::ElementOf(const std::string& key) const {
    auto it = nodes_.find(key);
    return it == nodes_.end() ? nullptr : it->second.lock();
}

host::TestElementPtr FHostMain::SelectedElement() const {
    auto* node = tvwSequence.SelectedItem();
    return node ? ElementOf(node->Key()) : nullptr;
}

void FHostMain::ShowSelected() {
    const auto element = SelectedElement();
    showing_ = true;
    std::shared_ptr<host::ITestFilter> filter;
    std::shared_ptr<host::IResultData> result;
    if (element) {
        plat::PassOver([&] { filter = element->Filter(); });
        plat::PassOver([&] { result = element->Result(); });
    }
    chkSelected.SetValue(filter && filter->Selected() ? 1 : 0);
    chkSelected.SetEnabled(filter != nullptr);
    std::string comment;
    if (result) plat::PassOver([&] { comment = result->Comment(); });
    txtComment.SetText(comment);
    txtComment.SetEnabled(result != nullptr);
    cmdResult.SetEnabled(result != nullptr);
    cmdRunTest.SetEnabled(element != nullptr);
    cmdConfiguration.SetEnabled(element != nullptr);
    cmdLimits.SetEnabled(element != nullptr);
    showing_ = false;
}

void FHostMain::SetStatus(const std::string& text) { lblStatus.SetCaption(text); }

void FHostMain::chkSelected_Click() {
    if (showing_) return;
    const auto element = SelectedElement();
    if (!element || !element->Filter()) return;
    element->Filter()->SetSelected(chkSelected.Value() == 1);
    RefreshTree();
}

void FHostMain::txtComment_Change() {
    if (showing_) return;
    const auto element = SelectedElement();
    const auto result = element ? element->Result() : nullptr;
    if (result) plat::PassOver([&] { result->SetComment(txtComment.Text()); });
}

void FHostMain::Run(const host::TestElementPtr& element) {
    if (!element) return;
    auto setup = std::make_shared<host::CTestSetup>();
    SetStatus("Running...");
    try {
        element->Perform(setup);
    } catch (...) {
        plat::RethrowAbort();
        Tell("The run failed: " + FailureText());
    }
    if (!Loaded()) return;
    RefreshTree();
    ShowSelected();
    // Abort and the guide's close box end the whole run with the stop code;
    // the element's status then is an older run's.
    if (setup->StepCode() == kStepStop) {
        SetStatus("Run aborted.");
        return;
    }
    std::string status;
    plat::PassOver([&] { status = StatusText(*element); });
    SetStatus(status.empty() ? "Run ended without a result." : "Run ended: " + status + ".");
}

void FHostMain::ShowDialog(const std::string& name, const std::string& caption,
                           const std::shared_ptr<host::IDialog>& dialog, const std::string& missing) {
    if (!dialog) {
        Tell(missing);
        return;
    }
    auto frame = std::make_shared<FDialogFrame>(name, caption);
    frame->ShowDialog(dialog);
    RefreshTree();
    ShowSelected();
}

void FHostMain::cmdConfiguration_Click() {
    const auto element = SelectedElement();
    if (!element) return;
    std::shared_ptr<host::IDialog> dialog;
    try {
        if (auto config = element->Configuration()) dialog = config->CreateDialog();
    } catch (...) {
        plat::RethrowAbort();
    }
    ShowDialog("frmConfiguration", "Configuration", dialog,
               "The plug-in gives no configuration dialog for this element.");
}

void FHostMain::cmdLimits_Click() {
    const auto element = SelectedElement();
    if (!element) return;
    std::shared_ptr<host::IDialog> dialog;
    try {
        if (auto limits = element->Limits()) dialog = limits->CreateDialog();
    } catch (...) {
        plat::RethrowAbort();
    }
    ShowDialog("frmLimits", "Limits", dialog, "The plug-in gives no limit dialog for this element.");
}

void FHostMain::cmdResult_Click() {
    const auto element = SelectedElement();
    if (!element) return;
    std::shared_ptr<host::IDialog> dialog;
    try {
        if (auto result = element->Result()) dialog = result->CreateDialog();
    } catch (...) {
        plat::RethrowAbort();
    }
    ShowDialog("frmResult", "Result details", dialog, "The plug-in gives no detailed page for this result.");
}

void FHostMain::cmdSettings_Click() {
    std::shared_ptr<host::ISetup> setup;
    std::shared_ptr<host::IDialog> dialog;
    try {
        setup = plugIn_ ? plugIn_->Setup() : nullptr;
        if (setup) dialog = setup->CreateDialog();
    } catch (...) {
        plat::RethrowAbort();
    }
    ShowDialog("frmPlugInSettings", "Plug-in settings", dialog, "The plug-in gives no settings dialog.");
    // The page edited the settings in place; they are kept once the frame closes.
    if (dialog && setup) {
        try {
            setup->RegSave({}, {});
        } catch (...) {
            plat::RethrowAbort();
            Tell("The settings could not be saved: " + FailureText());
        }
    }
}

void FHostMain::cmdSave_Click() {
    const std::string path = plat::Trim(txtFile.Text());
    if (path.empty()) {
        Tell("Type the name of the sequence file first.");
        return;
    }
    std::string error;
    if (!SequenceFile::Save(sequence_, path, error)) {
        Tell("The sequence could not be saved to " + path + ": " + error);
        return;
    }
    sequenceFile_ = path;
    SetStatus("Saved to " + path + ".");
}

bool FHostMain::OpenSequence(const std::string& path) {
    std::string error;
    const size_t logged = host::ErrorService().Log().size();
    auto loaded = SequenceFile::Open(path, error);
    // What the plug-in passed over while loading (a test it dropped) is told, not only logged.
    const std::string passedOver = LoggedSince(logged);
    if (!loaded) {
        Tell("The sequence could not be opened from " + path + ": " + error);
        return false;
    }
    if (sequence_) plat::PassOver([&] { sequence_->Terminate(); });
    sequence_ = std::move(loaded);
    sequenceFile_ = path;
    txtFile.SetText(path);
    if (Loaded()) FillTree();
    SetStatus("Opened " + path + ".");
    if (!passedOver.empty())
        Tell("Not all of " + path + " could be loaded; the plug-in reported:\n" + passedOver);
    return true;
}

void FHostMain::cmdOpen_Click() {
    const std::string path = plat::Trim(txtFile.Text());
    if (path.empty()) {
        Tell("Type the name of the sequence file first.");
        return;
    }
    OpenSequence(path);
}

void FHostMain::cmdReport_Click() {
    const std::string path = plat::Trim(txtReport.Text());
    if (path.empty()) {
        Tell("Type the name of the report file first (ending in .html for a page, else text).");
        return;
    }
    ReportWriter::Document document;
    try {
        document = Report();
    } catch (...) {
        plat::RethrowAbort();
        Tell("The report could not be printed: " + FailureText());
        return;
    }
    std::string error;
    if (!ReportWriter::Write(document, path, error)) {
        Tell("The report could not be written to " + path + ": " + error);
        return;
    }
    SetStatus("Report written to " + path + ".");
}

ReportWriter::Document FHostMain::Report() const {
    ReportWriter::Document document;
    document.title = "Test report";
    if (sequence_ && sequence_->Info()) plat::PassOver([&] { document.title = sequence_->Info()->Name(); });
    document.sequenceFile = sequenceFile_;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char date[32] = {};
    if (::localtime_r(&now, &local)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M", &local);
    document.date = date;
    if (sequence_) AddReportSections(document, sequence_, 0);
    return document;
}

void FHostMain::AddReportSections(ReportWriter::Document& document, const host::TestElementPtr& element,
                                  int32_t depth) const {
    // Elements left out of the run are left out of the report, as the plug-in's own printing does.
    if (const auto filter = element->Filter(); filter && !filter->Selected()) return;
    ReportWriter::Section section;
    section.depth = depth;
    if (const auto info = element->Info()) section.name = info->Name();
    section.status = StatusText(*element);
    if (section.status.empty()) section.status = "not run";
    if (const auto result = element->Result()) section.comment = result->Comment();

    auto report = std::make_shared<host::CReport>("English", 1, host::IReport::LimitColumns | 1);
    const auto container = std::dynamic_pointer_cast<host::ITestContainer>(element);
    if (container) {
        // A group prints its children after its own parts: each child gets a section of its own.
        if (const auto configuration = element->Configuration()) configuration->PrintReport(report);
        if (const auto limits = element->Limits()) limits->PrintReport(report, {});
        if (const auto result = element->Result()) result->PrintReport(report, {});
    } else {
        element->PrintReport(report, {});
    }
    section.tables = report->Tables();
    document.sections.push_back(std::move(section));
    if (container)
        for (const auto& child : container->NewEnum())
            if (child) AddReportSections(document, child, depth + 1);
}

}  // namespace hostprog
