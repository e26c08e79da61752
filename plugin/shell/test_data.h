#pragma once
// CTestData: the test element of the plug-in's test kinds (test_kind.h): SpO2
// simulation, LED, photodiode and probe resistance. It wraps the
// host's base element, which holds identity, info, filter, configuration,
// limits and result and saves, loads and prints them; the element adds its
// kind's name, the creation of its configuration and limits (through the
// plug-in factory), a result made when a "ResultItem" is loaded, and the run:
// the test-guide window shown modally, its events handled here
// (test_data_run.cpp), and the instrument steps of Start
// (test_data_instrument.cpp).

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/shell/base_element.h"
#include "plugin/factory/server_lock.h"

namespace drv {
class IXVTIControl;
class ICPelmo2VTIError;
}  // namespace drv

namespace plugin {

class CPluginSetup;
class CMtiData2;
class CSpO2SimulationConfig;
class FTestGuide;

class CTestData : public CBaseElement<host::CTestElementBase> {
public:
    // Clears the library-wide identity-pane flag.
    CTestData();
    ~CTestData() override;

    // The language text of a kind's name ("20001::SpO2 Simulation Test"); ""
    // for a test ID the class does not know.
    static std::string KindName(int32_t testId);

    // Made by the template loader: ID = test ID, the configuration of a kind
    // that has one (given the settings object) and the limits, both owned by
    // this element.
    void Create(int32_t testId, const std::shared_ptr<CPluginSetup>& settings);
    // This element becomes a copy of the source: its base element's copy
    // (configuration and limits cloned, no result), with the parts pointed
    // at this element. The run state is not copied.
    void CopyFrom(const CTestData& source);
    std::shared_ptr<host::CTestElementBase> BaseCopy() const;

    // The run's state, kept between runs.
    std::shared_ptr<host::ITestSetup> TestSetup() const { return testSetup_.lock(); }
    bool Abort() const { return abort_; }
    void SetAbort(bool abort) { abort_ = abort; }
    // The SpO2 configuration (the SpO2 test only), as the base element holds it.
    std::shared_ptr<host::IConfigData> SpO2Config() const { return spo2Config_; }
    std::shared_ptr<CMtiData2> MtiData() const { return mtiData_; }
    void SetMtiData(std::shared_ptr<CMtiData2> identity) { mtiData_ = std::move(identity); }

    // ITestElement (the rest is the base element's)
    std::string PlugInID() const override;
    // The base's identity, the kind's name (translated) and new limits owned
    // by this element.
    void Initialize(const std::string& plugInId, int32_t testId, int32_t id) override;
    host::TestElementPtr Clone() override;
    // Asks the run context whether the element may run and, when it may, shows
    // the test-guide window modally until a handler hides it, keeping the
    // element alive meanwhile; then records the test instrument.
    void Perform(const std::shared_ptr<host::ITestSetup>& setup) override;
    // A "ResultItem" gets a new result (parent: this element) first; every
    // node then goes to the base element.
    void Load(const host::IXmlElement& node, const std::shared_ptr<host::ILoadContext>& context) override;
    host::XmlElementPtr Save(host::IXmlDocument& document, const plat::Variant& option) override;
    void PrintReport(const std::shared_ptr<host::IReport>& report, const plat::Variant& second) override;
    void Terminate() override;
    void UpdateReferences() override;

private:
    // Points the limits (and the SpO2 configuration) at this element.
    void AttachParts();

    // ---- the run (test_data_run.cpp) ----
    void NewResult();
    void StartRemoteMode();
    void ShowRunOutcome();
    void ElementDone();
    void StoreRunRecord(const std::shared_ptr<CMtiData2>& identity);
    void ConnectGuide(FTestGuide& guide);
    // False (after message 20094) when the SpO2 test cannot set up a make.
    bool CheckRCurve();
    void ShowRCurveError();
    // The first communication failure of a run: its message, the abort flag
    // and the driver control's removal once the driver call has returned.
    void ReportCommunicationError(int32_t errorNumber);
    void SetStepCode(int32_t code);
    void HideGuide();
    void mfrmTestGuide_StartTest();
    void mfrmTestGuide_AbortTest();
    void mfrmTestGuide_StopTest();
    void mfrmTestGuide_NextTest();
    void mfrmTestGuide_Previous();
    void mfrmTestGuide_NA();
    void mfrmTestGuide_Skip();
    void mfrmTestGuide_TestResultsChanged(const std::string& spo2, const std::string& bpm);
    void mfrmTestGuide_CommunicationError(const std::shared_ptr<drv::ICPelmo2VTIError>& error);

    // ---- the instrument steps (test_data_instrument.cpp) ----
    void DriveInstrument();
    void DriveProbe(drv::IXVTIControl& control);
    void DriveSpO2(drv::IXVTIControl& control, CSpO2SimulationConfig& config);
    // Sends the current make into a slot the operator picks; false when the
    // run was aborted (cancelled, no make, or a failure).
    bool UploadMake(drv::IXVTIControl& control, CSpO2SimulationConfig& config);

    ServerLock lock_;
    // The run context of the last run. Weak: a run context keeps the elements
    // that reported done, and Perform holds it for the whole run anyway.
    std::weak_ptr<host::ITestSetup> testSetup_;
    bool abort_ = false;
    std::shared_ptr<host::IConfigData> spo2Config_;
    std::shared_ptr<CMtiData2> mtiData_;
    std::shared_ptr<FTestGuide> guide_;  // the window of the run in progress
    bool removeVTIPending_ = false;
    bool stepCodeWritten_ = false;  // by a handler, during the Perform in progress
};

}  // namespace plugin
