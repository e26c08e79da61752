#pragma once
// Fakes around the test-guide window: a test element with a result and
// limits, the results grid and help viewer registered under their ProgIDs,
// and a driver control that records the calls made on it.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "driver/vti_interface.h"
#include "host/host_application.h"
#include "host/limit_standards.h"
#include "host/run_context.h"
#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/user_control.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/html_help_interface.h"
#include "plugin/shell/identity_pane_flag.h"
#include "plugin/shell/result_view_interface.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/fake_result.h"
#include "tests/support/sandbox.h"

namespace guide_test {

using Log = std::vector<std::string>;

// Every call on the fakes, in order, across all of them.
inline Log& Calls() {
    static Log log;
    return log;
}

class FakeResult : public test_support::FakeResult {
public:
    int32_t count = 0;
    int32_t MeasurementCount() const override { return count; }
};

using test_support::FakeElement;
using test_support::FakeLimits;

class FakeResultView : public plat::ui::UserControl, public plugin::IResultView {
public:
    std::weak_ptr<host::ITestElement> owner;
    void SetOwner(const host::TestElementPtr& element) override {
        owner = element;
        Calls().push_back("grid.Owner");
    }
    void SetEditMode(bool on) override { Calls().push_back(std::string("grid.SetEditMode(") + (on ? "1)" : "0)")); }
    void DisplayResults(const std::shared_ptr<host::IResultData>&) override { Calls().push_back("grid.DisplayResults"); }
    void SelectStandard(const std::string& name, const std::string& text, bool useExpected) override {
        Calls().push_back("grid.SelectStandard(" + name + "," + text + "," + (useExpected ? "1)" : "0)"));
    }
    void InitTest() override { Calls().push_back("grid.InitTest"); }
    void FireTestResultsChangedEvent() override { Calls().push_back("grid.Fire"); }
    void InitProbeTest() override { Calls().push_back("grid.InitProbeTest"); }
    void Refresh() override { Calls().push_back("grid.Refresh"); }
    void Raise(const std::string& name, std::vector<plat::Variant> params) { RaiseEvent(name, std::move(params)); }
};

class FakeHtmlHelp : public plat::ui::UserControl, public plugin::IHtmlHelp {
public:
    static inline bool answer = true;
    bool Initialize(const std::string& fileName) override {
        Calls().push_back("help.Initialize(" + fileName + ")");
        return answer;
    }
};

class FakeError : public plat::Object, public drv::ICPelmo2VTIError {
public:
    explicit FakeError(drv::ECommsStatus n) : number(n) {}
    drv::ECommsStatus number;
    drv::ECommsStatus ErrorNumber() const override { return number; }
    void SetErrorNumber(drv::ECommsStatus value) override { number = value; }
    void Reset() override { number = drv::ecsOK; }
};

class FakeVTIControl : public plat::ControlObject, public drv::IXVTIControl {
public:
    std::function<void()> onReset;  // runs inside ResetInstrument
    void RaiseError(drv::ECommsStatus number) {
        RaiseEvent(drv::kCommunicationErrorEvent, {plat::Variant(plat::ObjectPtr(std::make_shared<FakeError>(number)))});
    }
    void Raise(const std::string& name, std::vector<plat::Variant> params) { RaiseEvent(name, std::move(params)); }

    void InitVTI() override { Calls().push_back("vti.InitVTI"); }
    void AbortTest() override { Calls().push_back("vti.AbortTest"); }
    void StartRemote() override { Calls().push_back("vti.StartRemote"); }
    void EndRemote() override { Calls().push_back("vti.EndRemote"); }
    std::string LoadMakeParameters(int32_t, const std::string&, int32_t, int32_t, int32_t,
                                   const drv::KeyedCollection*) override {
        return {};
    }
    std::string SetMake(const std::string&) override { return {}; }
    std::string SetSpO2(int32_t) override { return {}; }
    std::string SetBPM(int32_t) override { return {}; }
    std::string SetPulseAmplitude(double) override { return {}; }
    std::string SetPresetValue(int32_t) override { return {}; }
    std::string SpO2Name() const override { return "OXY"; }
    std::string BPMName() const override { return "BPM"; }
    std::string PulseAmplitudeName() const override { return "AC"; }
    void ResetInstrument() override {
        Calls().push_back("vti.ResetInstrument");
        if (onReset) onReset();
    }
    bool UploadCancel() const override { return false; }
    void SetUploadCancel(bool) override {}
    std::string GetProbeResults(drv::KeyedCollection&) override { return {}; }
    std::string GetVersion() override { return {}; }
    std::string SetTLC(int32_t) override { return {}; }
};

inline std::shared_ptr<host::CLimitStandards> Standards(std::initializer_list<std::pair<std::string, std::string>> list) {
    return test_support::MakeStandards(list);
}

// A sandbox with the fakes registered and a window ready to be prepared.
class GuideTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        plat::MessageLoop::Reset();
        Calls().clear();
        FakeHtmlHelp::answer = true;
        plat::RegisterClass("OrvikPelmo2.XResultView", [] { return std::make_shared<FakeResultView>(); });
        plat::RegisterClass("OrvikPelmo2.XHtmlHelp", [] { return std::make_shared<FakeHtmlHelp>(); });
        plat::RegisterClass(drv::kXVTIControlProgId, [this] {
            vti = std::make_shared<FakeVTIControl>();
            return vti;
        });
        host::HostApplication().SetTitle({});
        host::HostApplication().SetConfirmStopAnswer(true);
        plugin::SetIdentityPaneShown(true);
        element = std::make_shared<FakeElement>();
        config = std::make_shared<plugin::CSpO2SimulationConfig>();
        element->config = config;
        element->limits = limits = std::make_shared<FakeLimits>();
        setup = std::make_shared<host::CTestSetup>();
        guide = std::make_shared<plugin::FTestGuide>();
    }
    void TearDown() override {
        if (guide && guide->Loaded()) guide->Unload();
        guide.reset();
        vti.reset();
        plat::UnregisterClass("OrvikPelmo2.XResultView");
        plat::UnregisterClass("OrvikPelmo2.XHtmlHelp");
        plat::UnregisterClass(drv::kXVTIControlProgId);
        plugin::ResetIdentityPaneFlagForTests();
        host::HostApplication().SetConfirmStopAnswer(true);
    }

    // Loads the window and prepares it for the element.
    void Prepare() {
        guide->Load();
        guide->InitGuide(element, setup, identity);
        guide->Show();
        Calls().clear();
    }
    std::shared_ptr<FakeResultView> Grid() const { return std::dynamic_pointer_cast<FakeResultView>(guide->ResultView()); }
    bool Enabled(int32_t id) { return guide->Toolbar().ButtonEnabled(id); }
    // Records each event the window raises.
    void Listen(Log& events) {
        guide->OnStartTest = [&] { events.push_back("StartTest"); };
        guide->OnAbortTest = [&] { events.push_back("AbortTest"); };
        guide->OnStopTest = [&] { events.push_back("StopTest"); };
        guide->OnNextTest = [&] { events.push_back("NextTest"); };
        guide->OnPrevious = [&] { events.push_back("Previous"); };
        guide->OnNA = [&] { events.push_back("NA"); };
        guide->OnSkip = [&] { events.push_back("Skip"); };
        guide->OnTestResultsChanged = [&](const std::string& s, const std::string& b) {
            events.push_back("TestResultsChanged(" + s + "," + b + ")");
        };
        guide->OnCommunicationError = [&](const std::shared_ptr<drv::ICPelmo2VTIError>& e) {
            events.push_back("CommunicationError(" + std::to_string(e->ErrorNumber()) + ")");
        };
    }

    std::shared_ptr<FakeElement> element;
    std::shared_ptr<plugin::CSpO2SimulationConfig> config;
    std::shared_ptr<FakeLimits> limits;
    std::shared_ptr<host::CTestSetup> setup;
    std::shared_ptr<plugin::CMtiData2> identity = std::make_shared<plugin::CMtiData2>();
    std::shared_ptr<plugin::FTestGuide> guide;
    std::shared_ptr<FakeVTIControl> vti;
};

}  // namespace guide_test
