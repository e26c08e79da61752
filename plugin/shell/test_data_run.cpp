// CTestData's run: Perform shows the test-guide window modally and the
// window's events are handled here. The driver's waits pump the loop, so
// Stop, Abort and communication errors arrive nested inside a driver call
// that Start has in progress: those handlers only set flags, tell the driver
// to cancel, write the step code and hide the window.

#include <utility>

#include "driver/vti_interface.h"
#include "host/translate_text.h"
#include "platform/ui/msgbox.h"
#include "platform/values/pass_over.h"
#include "plugin/shell/mti_data.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_data.h"
#include "plugin/shell/test_kind.h"
#include "plugin/shell/utilities.h"

namespace plugin {

namespace {

constexpr const char* kRunTitle = "21023::Orvik Pelmo Q5 Plug-In";

enum StepCode : int32_t { kStepNext = 0, kStepPrevious = 1, kStepStop = 2, kStepSkip = 3 };
constexpr int32_t kNotApplicable = 3;

void ShowCritical(const std::string& text, const std::string& title) {
    plat::PassOver([&] {
        plat::ui::MsgBox(host::TranslateText(kLanguageSection, text), plat::ui::vbOKOnly | plat::ui::vbCritical,
                         host::TranslateText(kLanguageSection, title));
    });
}

std::string CommunicationMessage(int32_t errorNumber) {
    switch (errorNumber) {
    case drv::ecsUnknownMsg: return "20074::The instrument did not recognize the message.";
    case drv::ecsTimedOut:
        return "20075::Timeout while trying to connect Pelmo Q5 with the computer in remote control mode.";
    case drv::ecsIllegalPort: return "20076::The specified port doesn't exist on the system.";
    case drv::ecsMTINotFound:
        return "20077::No instrument was found connected. Check that it is powered on and displaying Main Menu 1.";
    case drv::ecsMTINotReady:
        return "20078::The instrument was found attached to your computer, please check probe cable.";
    case drv::ecsErrorReadingPort: return "20079::Unable to read from port.";
    case drv::ecsPortBusy: return "20080::Port is currently being used.";
    case drv::ecsUnexpectedReply: return "20081::The format of the reply was unrecognised.";
    default: return "20082::An unrecognised error.";
    }
}

}  // namespace

// ---- Perform ---------------------------------------------------------------------

void CTestData::Perform(const std::shared_ptr<host::ITestSetup>& setup) {
    auto self = Self();  // a handler may drop every other reference to the element
    if (!setup || !self) return;
    bool mayRun = false;
    plat::PassOver([&] { mayRun = setup->MayRun(self); });
    if (!mayRun) return;
    testSetup_ = setup;
    if (!Result()) NewResult();

    auto guide = std::make_shared<FTestGuide>();
    guide_ = guide;
    removeVTIPending_ = false;
    stepCodeWritten_ = false;
    // The window goes whatever happens, a stalled modal loop included.
    struct Closer {
        CTestData& element;
        std::shared_ptr<FTestGuide> guide;
        ~Closer() {
            plat::PassOver([&] {
                if (guide->Loaded()) guide->Unload();
            });
            if (element.guide_ == guide) element.guide_.reset();
        }
    } closer{*this, guide};

    ConnectGuide(*guide);
    plat::PassOver([&] { guide->Load(); });
    if (!mtiData_) mtiData_ = std::make_shared<CMtiData2>();
    plat::PassOver([&] { guide->InitGuide(self, setup, mtiData_); });
    plat::PassOver([&] { guide->Show(plat::ui::ShowMode::Modal); });
    // A window that went without the operator's choice is an abort: the
    // sequence must not go on by a step code an earlier element left.
    if (!stepCodeWritten_) mfrmTestGuide_AbortTest();

    removeVTIPending_ = false;
    plat::PassOver([&] { guide->RemoveVTI(); });
    std::shared_ptr<CMtiData2> identity;
    plat::PassOver([&] { identity = guide->CurrentMtiData(); });
    plat::PassOver([&] { guide->Unload(); });
    guide_.reset();
    StoreRunRecord(identity);
}

void CTestData::ConnectGuide(FTestGuide& guide) {
    guide.OnStartTest = [this] { mfrmTestGuide_StartTest(); };
    guide.OnAbortTest = [this] { mfrmTestGuide_AbortTest(); };
    guide.OnStopTest = [this] { mfrmTestGuide_StopTest(); };
    guide.OnNextTest = [this] { mfrmTestGuide_NextTest(); };
    guide.OnPrevious = [this] { mfrmTestGuide_Previous(); };
    guide.OnNA = [this] { mfrmTestGuide_NA(); };
    guide.OnSkip = [this] { mfrmTestGuide_Skip(); };
    guide.OnTestResultsChanged = [this](const std::string& spo2, const std::string& bpm) {
        mfrmTestGuide_TestResultsChanged(spo2, bpm);
    };
    guide.OnCommunicationError = [this](const std::shared_ptr<drv::ICPelmo2VTIError>& error) {
        mfrmTestGuide_CommunicationError(error);
    };
}

void CTestData::NewResult() {
    if (!base_) return;
    plat::PassOver([&] { base_->SetResult(Factory().NewTestResult()); });
    plat::PassOver([&] {
        if (auto result = std::dynamic_pointer_cast<ITestResult>(base_->Result())) result->InitializeResult(Self());
    });
}

void CTestData::StoreRunRecord(const std::shared_ptr<CMtiData2>& identity) {
    auto result = std::dynamic_pointer_cast<ITestResult>(Result());
    if (!result) return;
    plat::PassOver([&] {
        auto setup = TestSetup();
        auto records = setup ? setup->MtiRecords() : nullptr;
        result->SetMTIID(StoreMTIRecord(records, identity));
    });
    if (!identity) return;
    if (!mtiData_) mtiData_ = std::make_shared<CMtiData2>();
    mtiData_->SetMtiType(identity->MtiType());
    mtiData_->SetFWVersion(identity->FWVersion());
    mtiData_->SetSerialNo(identity->SerialNo());
}

void CTestData::ElementDone() {
    auto self = Self();
    auto setup = TestSetup();
    if (setup && self) plat::PassOver([&] { setup->ElementDone(self); });
}

void CTestData::SetStepCode(int32_t code) {
    stepCodeWritten_ = true;
    if (auto setup = TestSetup()) plat::PassOver([&] { setup->SetStepCode(code); });
}

void CTestData::HideGuide() {
    if (auto guide = guide_) plat::PassOver([&] { guide->Hide(); });
}

// ---- Start -------------------------------------------------------------------------

bool CTestData::CheckRCurve() {
    if (!HasConfiguration(TestID())) return true;
    auto config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(spo2Config_);
    // Nothing below could be sent without a make: refuse before any command.
    const bool usable = config && config->OximeterMake() >= 0 &&
                        (config->OximeterMake() < makes::kFirstCustomMake ||
                         (!config->OximeterMakeName().empty() && (!config->UploadRCurve() || config->CurrentMake())));
    if (usable) return true;
    ShowRCurveError();
    return false;
}

void CTestData::ShowRCurveError() {
    ShowCritical("20094::No R-Curve Selected. Please create R-Curve and then continue with the test.",
                 "20090::R-Curve Error");
    abort_ = true;
    if (auto guide = guide_) plat::PassOver([&] { guide->EndRun(); });
}

void CTestData::mfrmTestGuide_StartTest() {
    auto self = Self();
    auto guide = guide_;
    if (!guide || !self) return;
    if (!CheckRCurve()) return;
    abort_ = false;
    if (auto result = std::dynamic_pointer_cast<ITestResult>(Result()))
        plat::PassOver([&] { result->InitializeResult(self); });
    else
        NewResult();
    plat::PassOver([&] { guide->ResetRun(); });
    StartRemoteMode();
    plat::PassOver([&] { guide->EnableStopAndAbortButtons(true); });
    if (!abort_) plat::PassOver([&] { DriveInstrument(); });
    ShowRunOutcome();
    ElementDone();
    // A communication error asked for the control's removal; the driver call
    // that raised it has returned by now.
    if (removeVTIPending_) {
        removeVTIPending_ = false;
        plat::PassOver([&] { guide->RemoveVTI(); });
    }
}

void CTestData::StartRemoteMode() {
    auto guide = guide_;
    if (!guide) return;
    plat::PassOver([&] { guide->CreateVTI(); });
    std::shared_ptr<drv::IXVTIControl> control;
    plat::PassOver([&] { control = guide->VTIControl(); });
    if (!control) {
        // Without the driver nothing can be driven: a failure, not a clean run.
        ReportCommunicationError(drv::ecsErrorUnknown);
        return;
    }
    plat::PassOver([&] { control->SetUploadCancel(false); });
    plat::PassOver([&] { control->EndRemote(); });
    plat::PassOver([&] { control->StartRemote(); });
}

void CTestData::ShowRunOutcome() {
    auto guide = guide_;
    if (!guide) return;
    if (abort_) {
        plat::PassOver([&] { guide->EndRun(); });
        return;
    }
    plat::PassOver([&] { guide->ShowMeasurements(); });
    if (HasTypedReadings(TestID()))
        plat::PassOver([&] { guide->CompleteRun(); });
    else
        plat::PassOver([&] { guide->EndRun(); });
}

// ---- the other buttons -----------------------------------------------------------

void CTestData::mfrmTestGuide_StopTest() {
    abort_ = true;
    std::shared_ptr<drv::IXVTIControl> control;
    if (auto guide = guide_) plat::PassOver([&] { control = guide->VTIControl(); });
    if (!control) return;
    plat::PassOver([&] { control->SetUploadCancel(true); });
    plat::PassOver([&] { control->AbortTest(); });
}

void CTestData::mfrmTestGuide_AbortTest() {
    mfrmTestGuide_StopTest();
    if (base_) plat::PassOver([&] { base_->SetResult(nullptr); });
    SetStepCode(kStepStop);
    HideGuide();
}

void CTestData::mfrmTestGuide_NextTest() {
    SetStepCode(kStepNext);
    HideGuide();
}

void CTestData::mfrmTestGuide_Previous() {
    ElementDone();
    SetStepCode(kStepPrevious);
    HideGuide();
}

void CTestData::mfrmTestGuide_NA() {
    if (!Result()) NewResult();
    if (auto result = std::dynamic_pointer_cast<ITestResult>(Result())) {
        plat::PassOver([&] { result->ClearMeasurements(); });
        plat::PassOver([&] { result->SetStatus(kNotApplicable); });
    }
    SetStepCode(kStepNext);
    HideGuide();
    ElementDone();
}

void CTestData::mfrmTestGuide_Skip() {
    if (base_) plat::PassOver([&] { base_->SetResult(nullptr); });
    SetStepCode(kStepSkip);
    HideGuide();
    ElementDone();
}

void CTestData::mfrmTestGuide_TestResultsChanged(const std::string& spo2, const std::string& bpm) {
    if (auto result = std::dynamic_pointer_cast<ITestResult>(Result()))
        plat::PassOver([&] { result->StoreReadings({spo2, bpm}, TestSetup()); });
    if (auto guide = guide_) plat::PassOver([&] { guide->UpdateToolBar(); });
}

// ---- communication errors --------------------------------------------------------

void CTestData::mfrmTestGuide_CommunicationError(const std::shared_ptr<drv::ICPelmo2VTIError>& error) {
    int32_t number = 0;
    if (error) plat::PassOver([&] { number = error->ErrorNumber(); });
    ReportCommunicationError(number);
}

void CTestData::ReportCommunicationError(int32_t errorNumber) {
    if (abort_) return;
    abort_ = true;
    ShowCritical(CommunicationMessage(errorNumber), kRunTitle);
    // Removing the control now would destroy the driver under the call that
    // raised the event: Start (or Perform) removes it once that call returned.
    removeVTIPending_ = true;
}

}  // namespace plugin
