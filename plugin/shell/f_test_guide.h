#pragma once
// FTestGuide: the window a test shows modally for one run. It holds the
// host's test-guide toolbar and content pane, the test-instrument identity
// entry, the results grid and the test's help page, and while the instrument
// is in use the driver's control. It turns the operator's toolbar clicks into
// events for the test (On* members) and relays the driver's communication
// errors and the grid's readings; the test drives the instrument and writes
// the result in its handlers and calls the operations below to update the
// window.
//
// Toolbar ids: 101 Stop (after the host confirms), 102 N/A, 103 Previous,
// 201 Abort, 202 Start, 301 Next, 302 Skip, 402 and 501 no action here. A
// flagged Start (the host's alternate click) aborts a running test, else goes
// back when Previous is pressed. The close box is Abort. The SpO2 test's
// button flags enable Skip (bit 1) and N/A (bit 2); Next, like the others,
// follows the run state. Stop and Abort are enabled only while the test
// drives the instrument (EnableStopAndAbortButtons).
//
//   auto guide = std::make_shared<FTestGuide>();
//   guide->OnStartTest = [&] { ... };
//   guide->Load();
//   guide->InitGuide(element, setup, identity);
//   guide->Show(plat::ui::ShowMode::Modal);   // a handler hides it
//   guide->RemoveVTI();
//   auto identity = guide->CurrentMtiData();
//   guide->Unload();

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "driver/vti_interface.h"
#include "host/test_element.h"
#include "host/tg/x_tg_content_pane.h"
#include "host/tg/x_tg_toolbar.h"
#include "platform/ui/form.h"
#include "plugin/shell/x_mti_data.h"

namespace plugin {

class CMtiData2;
class IResultView;
class IHtmlHelp;

class FTestGuide : public plat::ui::Form {
public:
    // Toolbar ids.
    static constexpr int32_t kStop = 101, kNA = 102, kPrevious = 103, kAbort = 201, kStart = 202, kNext = 301,
                             kSkip = 302, kReserved = 402, kExpectedValues = 501;

    FTestGuide();
    ~FTestGuide() override;

    // Events to the test, in this order of declaration.
    std::function<void()> OnStartTest;
    std::function<void()> OnAbortTest;
    std::function<void()> OnStopTest;
    std::function<void()> OnNextTest;
    std::function<void()> OnPrevious;
    std::function<void()> OnNA;
    std::function<void()> OnSkip;
    // The operator's SpO2 and BPM readings from the grid (the SpO2 test only).
    std::function<void(const std::string& spo2, const std::string& bpm)> OnTestResultsChanged;
    // The driver reported a communication error.
    std::function<void(const std::shared_ptr<drv::ICPelmo2VTIError>& error)> OnCommunicationError;

    // The driver control while it is present, else nullptr.
    std::shared_ptr<drv::IXVTIControl> VTIControl() const;
    // Shows the result's status in the toolbar, then enables the buttons.
    void UpdateToolBar();
    // Adds (or takes) the driver control "VTIControl" and calls its InitVTI.
    // A control that cannot be created leaves VTIControl() empty.
    void CreateVTI();
    // Resets the instrument, ends remote mode and removes the driver control.
    // Safe to enter again: the control is taken out of the window first.
    void RemoveVTI();
    // The result in the grid (and, for the SpO2 test, the grid editable),
    // its status in the toolbar.
    void ShowMeasurements();
    void EnableStopAndAbortButtons(bool enable);

    // Prepares the window for the run: once, after Load, before Show.
    void InitGuide(const host::TestElementPtr& element, const std::shared_ptr<host::ITestSetup>& setup,
                   const std::shared_ptr<CMtiData2>& identity);
    // Start began: the grid rebuilt, the status cleared.
    void ResetRun();
    // The measurements are taken (only while running): the grid sends its
    // entries and stays editable.
    void CompleteRun();
    // The run ended early or needs no readings.
    void EndRun();
    // The identity as the operator left it on the identity pane.
    std::shared_ptr<CMtiData2> CurrentMtiData() const;

    bool Running() const { return running_; }
    host::TestElementPtr Element() const { return element_; }

    // The window's parts (for tests and the renderer).
    host::XTgToolbar& Toolbar() { return *toolbar_; }
    host::XTgContentPane& ContentPane() { return *contents_; }
    XMTIData& MtiDataControl() { return *mtiData_; }
    // The results grid and help viewer, when they could be added.
    std::shared_ptr<IResultView> ResultView() const;
    std::shared_ptr<IHtmlHelp> HtmlHelp() const;
    // The help file of a test ID ("" for an unknown ID).
    static std::string HelpFileName(int32_t testId);

private:
    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload(bool& cancel, plat::ui::UnloadMode mode);
    void SizeToContents();
    void Form_Unload();
    void SetButtonStates(bool enable);
    void StartRun();
    void AbortRun();
    void ConfirmStop();
    void SetBusy(const std::string& text, bool busy);
    void InitResultView();
    void ShowHelpPage();
    int32_t AddMtiPane();
    void ButtonClicked(int32_t id, bool flag);
    void StandardChanged();
    // Ends an open cell edit of the results grid, as a focus move does.
    void EndReadingEntry();
    void ShowResultStatus();
    void RegSaveMtiData();
    void Raise(const std::function<void()>& event);
    void xrvResult_ObjectEvent(const std::string& name, const std::vector<plat::Variant>& params);
    void VTIControl_ObjectEvent(const std::string& name, const std::vector<plat::Variant>& params);
    int32_t TestID() const;
    std::shared_ptr<host::IResultData> Result() const;
    int32_t ConfigurationFlags() const;

    std::shared_ptr<host::XTgToolbar> toolbar_;
    std::shared_ptr<host::XTgContentPane> contents_;
    std::shared_ptr<XMTIData> mtiData_;
    plat::ui::ObjectControl& xtbToolbar;
    plat::ui::ObjectControl& xcpContents;
    plat::ui::ObjectControl& xmdMtiData;

    host::TestElementPtr element_;
    bool running_ = false;
    std::shared_ptr<plat::ui::ObjectControl> mVTIControl;
    std::shared_ptr<plat::ui::ObjectControl> xrvResult;
    std::shared_ptr<plat::ui::ObjectControl> xhhHtmlHelp;
};

}  // namespace plugin
