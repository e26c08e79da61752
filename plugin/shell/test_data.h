#pragma once
// CTestData: the test element of the four test kinds: SpO2 simulation (test ID
// 100), LED (200), photodiode (300) and probe resistance (400). It wraps the
// host's base element, which holds identity, info, filter, configuration,
// limits and result and saves, loads and prints them; the element adds its
// kind's name, the creation of its configuration and limits (through the
// plug-in factory), a result made when a "ResultItem" is loaded, and the run.

#include <cstdint>
#include <memory>
#include <string>

#include "plugin/shell/base_element.h"
#include "plugin/config/server_lock.h"

namespace plugin {

class CPluginSetup;
class CMtiData2;

class CTestData : public CBaseElement<host::CTestElementBase> {
public:
    // Clears the library-wide identity-pane flag.
    CTestData();
    ~CTestData() override;

    // The language text of a kind's name ("20001::SpO2 Simulation Test"); ""
    // for a test ID the class does not know.
    static std::string KindName(int32_t testId);

    // Made by the template loader: ID = test ID, the configuration of test 100
    // (given the settings object) and the limits, both owned by this element.
    void Create(int32_t testId, const std::shared_ptr<CPluginSetup>& settings);
    // This element becomes a copy of the source: its base element's copy
    // (configuration and limits cloned, no result), with the parts pointed
    // at this element. The run state is not copied.
    void CopyFrom(const CTestData& source);
    std::shared_ptr<host::CTestElementBase> BaseCopy() const;

    // The run's state, kept between runs.
    std::shared_ptr<host::ITestSetup> TestSetup() const { return testSetup_; }
    bool Abort() const { return abort_; }
    void SetAbort(bool abort) { abort_ = abort; }
    // The SpO2 configuration (test 100 only), as the base element holds it.
    std::shared_ptr<host::IConfigData> SpO2Config() const { return spo2Config_; }
    std::shared_ptr<CMtiData2> MtiData() const { return mtiData_; }
    void SetMtiData(std::shared_ptr<CMtiData2> identity) { mtiData_ = std::move(identity); }

    // ITestElement (the rest is the base element's)
    std::string PlugInID() const override;
    // The base's identity, the kind's name (translated) and new limits owned
    // by this element.
    void Initialize(const std::string& plugInId, int32_t testId, int32_t id) override;
    host::TestElementPtr Clone() override;
    // Asks the run context whether the element may run and, when it may, runs
    // it (the factory's test run), keeping the element alive meanwhile.
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

    ServerLock lock_;
    std::shared_ptr<host::ITestSetup> testSetup_;
    bool abort_ = false;
    std::shared_ptr<host::IConfigData> spo2Config_;
    std::shared_ptr<CMtiData2> mtiData_;
};

}  // namespace plugin
