#pragma once
// The settings of one SpO2 simulation test: the oximeter make
// (built-in by number, or a custom make with its R-curve), whether to upload
// the custom curve, optical or electrical simulation, the preset or the custom
// SpO2, pulse rate and amplitude, the TLC of each built-in make, and the
// test-guide buttons. It is the test's configuration as the host sees it:
// cloned with the test, saved into and loaded from the element tree (with a
// custom make carried inside and reconciled with the local make files on
// load), and printed into the report.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "host/test_element.h"
#include "makes/make_utils.h"
#include "platform/values/variant.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

// The plug-in's settings object: kept and handed on to copies, never called.
// Its ConfigChanged changes nothing here (changed defaults reach only tests
// made from the template afterwards), so the configuration does not follow it.
using PluginSetupPtr = std::shared_ptr<CPluginSetup>;

class CSpO2SimulationConfig : public plat::Object, public host::IConfigData, public ITestConfiguration {
public:
    // Test-guide button flags.
    static constexpr int32_t kEnableSkip = 1;
    static constexpr int32_t kEnableNA = 2;
    // Make indices of 10 and more are custom makes.
    static constexpr int32_t kFirstCustomMake = makes::kFirstCustomMake;
    static constexpr std::array<int32_t, kFirstCustomMake> kDefaultTlc{1100, 1150, 1024, 3030, 3500,
                                                                       4000, 3500, 1024, 3520, 4095};

    CSpO2SimulationConfig();

    int32_t OximeterMake() const { return oximeterMake_; }
    void SetOximeterMake(int32_t value) { oximeterMake_ = value; }
    const std::string& OximeterMakeName() const { return oximeterMakeName_; }
    void SetOximeterMakeName(std::string value) { oximeterMakeName_ = std::move(value); }
    bool UploadRCurve() const { return uploadRCurve_; }
    void SetUploadRCurve(bool value) { uploadRCurve_ = value; }
    int32_t SimulationType() const { return simulationType_; }
    void SetSimulationType(int32_t value) { simulationType_ = value; }
    const makes::OximeterMakePtr& CurrentMake() const { return currentMake_; }
    void SetCurrentMake(makes::OximeterMakePtr make) { currentMake_ = std::move(make); }
    // This configuration's own copy of the make library (none until read).
    const makes::MakeListPtr& Makes() const { return makes_; }
    // Copies another configuration into this one (neither the defaults flag
    // nor the owner test); nothing for none.
    void CopyCloneData(const CSpO2SimulationConfig* source);
    // Set when the plug-in defaults must not be read into this configuration
    // any more: it was cloned or loaded.
    bool pReadFromRegStatus() const { return readFromRegStatus_; }
    void SetpReadFromRegStatus(bool value) { readFromRegStatus_ = value; }

    const PluginSetupPtr& GetPluginSetup() const { return mcpSetup_; }
    // Deep copies of the library's makes, in order; empty when there is none.
    makes::MakeListPtr CloneMakes() const;
    int32_t EnableBtnFlags() const { return enableBtnFlags_; }
    void SetEnableBtnFlags(int32_t value) { enableBtnFlags_ = value; }
    int32_t SpO2() const { return spo2_; }
    void SetSpO2(int32_t value) { spo2_ = value; }
    int32_t CustomSpO2() const { return customSpO2_; }
    void SetCustomSpO2(int32_t value) { customSpO2_ = value; }
    const std::string& PresetName() const { return presetName_; }
    void SetPresetName(std::string value) { presetName_ = std::move(value); }
    int32_t SimulationID() const { return simulationId_; }
    void SetSimulationID(int32_t value) { simulationId_ = value; }
    int32_t BPM() const { return bpm_; }
    void SetBPM(int32_t value) { bpm_ = value; }
    int32_t CustomBPM() const { return customBpm_; }
    void SetCustomBPM(int32_t value) { customBpm_ = value; }
    const std::string& PulseAmplitude() const { return pulseAmplitude_; }
    void SetPulseAmplitude(std::string value) { pulseAmplitude_ = std::move(value); }
    const std::string& CustomPulseAmplitude() const { return customPulseAmplitude_; }
    void SetCustomPulseAmplitude(std::string value) { customPulseAmplitude_ = std::move(value); }
    // The owner is not held: the test holds its configuration.
    void SetParentTest(const host::TestElementPtr& test) override { ownerTest_ = test; }
    host::TestElementPtr ParentTest() const { return ownerTest_.lock(); }
    // Keeps the settings object and sets the defaults again.
    void SetPluginSetup(const PluginSetupPtr& setup) override;
    // The TLC of the selected make: a built-in make's table entry, the custom
    // make's own TLC, or entry 0 for a custom index without a make.
    int32_t GetTlc() const;
    void SetTlc(int32_t value);

    // host::IConfigData
    bool HasDialog() const override { return true; }
    // A copy that carries the defaults flag. A configuration that has not
    // read the plug-in defaults (the template's) first reads them, and the
    // make library, into itself.
    std::shared_ptr<host::IConfigData> Clone() const override;
    // The element-setup dialog with the configuration view; nothing without an owner test.
    std::shared_ptr<host::IDialog> CreateDialog() override;
    void Load(const host::IXmlElement& element, const plat::Variant& second) override;
    host::XmlElementPtr Save(host::IXmlDocument& document) const override;
    void PrintReport(const std::shared_ptr<host::IReport>& report) override;

private:
    void SetDefaults();
    void FallBackToBuiltInMake();
    void ReadPluginDefaults();
    makes::OximeterMakePtr FindMake(const std::string& name) const;
    bool HasCustomMake() const { return oximeterMake_ >= kFirstCustomMake && currentMake_; }

    // Element form (spo2_simulation_config_element.cpp).
    host::XmlElementPtr SavePluginSetup(host::IXmlDocument& document) const;
    host::XmlElementPtr SaveTestGuideSettings(host::IXmlDocument& document, bool skip, bool na) const;
    void LoadPluginSetup(const host::IXmlElement& element);
    void LoadTestGuideSettings(const host::IXmlElement& element);

    // Reconciliation of a carried make (spo2_simulation_config_make.cpp).
    void LoadEmbeddedMake(const host::IXmlElement& element);
    static makes::OximeterMakePtr ReadEmbeddedMake(const host::IXmlElement& element);
    static bool IsSameRCurve(const makes::COximeterMake& local, const makes::COximeterMake& carried);
    static bool IsSameMake(const makes::COximeterMake& local, const makes::COximeterMake& carried);
    bool AskOverwriteMake() const;
    // Tells the operator that the test lost its custom make (`wanted`) and
    // uses the make now selected.
    void TellMakeFallBack(const std::string& wanted) const;
    void OverwriteMake(const makes::OximeterMakePtr& local, const makes::OximeterMakePtr& carried);
    void SaveMakeAs(const std::string& fileName, const std::string& makeName, const makes::OximeterMakePtr& carried);
    void TakeMake(const makes::OximeterMakePtr& carried);
    void WriteMakeFile(makes::OximeterMakePtr make) const;

    // Report (spo2_simulation_config_report.cpp).
    void BuildReportHeader(host::IReport& report, std::string& format, std::string& header) const;
    std::string BuildReportBody(host::IReport& report) const;

    int32_t enableBtnFlags_ = kEnableSkip | kEnableNA;
    std::weak_ptr<host::ITestElement> ownerTest_;
    makes::MakeListPtr makes_;
    int32_t bpm_ = 55;
    int32_t spo2_ = 98;
    std::string pulseAmplitude_ = "5";
    makes::OximeterMakePtr currentMake_;
    int32_t oximeterMake_ = 0;
    std::string presetName_;
    int32_t simulationId_ = 0;
    bool uploadRCurve_ = false;
    bool readFromRegStatus_ = false;
    std::string oximeterMakeName_;
    std::string customPulseAmplitude_ = "5";
    int32_t customSpO2_ = 98;
    int32_t customBpm_ = 75;
    int32_t simulationType_ = 1;
    std::array<int32_t, kFirstCustomMake> tlc_ = kDefaultTlc;
    PluginSetupPtr mcpSetup_;
};

}  // namespace plugin
