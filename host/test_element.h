#pragma once
// The host's test-tree interfaces: test elements and containers, their data
// objects (configuration, limits, result, measurements), the run context, the
// test-instrument record list, the plug-in and its settings.
//
// Interfaces are plain abstract classes; an object derives from plat::Object
// and from every interface it offers (as a COM object offers several), and
// callers move between them with std::dynamic_pointer_cast.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/limits.h"
#include "host/xml.h"
#include "platform/values/variant.h"

namespace host {

class IDialog;
class IReport;
class CPicture;
class ITestElement;
class ITestSetup;
using TestElementPtr = std::shared_ptr<ITestElement>;

// Texts that describe an element to the operator.
class ITestInfo {
public:
    virtual ~ITestInfo() = default;
    virtual std::string Name() const = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual std::string Description() const = 0;
    virtual void SetDescription(const std::string& description) = 0;
    virtual std::string Type() const = 0;
    virtual std::string Parameter() const = 0;
    virtual void SetTypeAndParameter(const std::string& type, const std::string& parameter) = 0;
};

// Whether an element takes part (is selected) in a run and its report.
class ITestFilter {
public:
    virtual ~ITestFilter() = default;
    virtual bool Selected() const = 0;
    virtual void SetSelected(bool selected) = 0;
};

// One measured quantity of a result.
class IMeasurement {
public:
    virtual ~IMeasurement() = default;
    virtual std::string Description() const = 0;
    virtual std::string Key() const = 0;
    virtual std::string LimitKey() const = 0;
    virtual int32_t Status() const = 0;
    virtual std::string Unit() const = 0;
    virtual plat::Variant Value() const = 0;
    virtual plat::Variant PresetValue() const = 0;
    virtual int32_t ValueType() const = 0;  // 1 a number, 5 text or empty
    virtual std::string ValueFormat() const = 0;
    virtual std::string Flags() const = 0;
    virtual std::string ToolTipText() const = 0;
    virtual void Load(const IXmlElement& element, const std::shared_ptr<ILoadContext>& context) = 0;
    virtual XmlElementPtr Save(IXmlDocument& document) const = 0;
};

// Limit handling of a measurement. Flags: 1 bounds from the preset value,
// 2 text formatted with the value format, 4 a blank and the unit appended.
class IMeasurement2 {
public:
    virtual ~IMeasurement2() = default;
    virtual plat::Variant GetLimitValue(const std::shared_ptr<ILimitStandard>& standard, int32_t index,
                                        int32_t flags) const = 0;
    virtual plat::Variant GetResultValue(int32_t flags) const = 0;
    virtual bool SupportsLimit(int32_t index) const = 0;
    virtual float CalculateLimitValue(const std::shared_ptr<ILimitItem>& item, int32_t index) const = 0;
    virtual int32_t ValidateLimits(const std::shared_ptr<ILimitStandard>& standard) const = 0;  // 1 valid, 2 outside
};

// The configuration of an element (the plug-in's settings of one test).
class IConfigData {
public:
    virtual ~IConfigData() = default;
    virtual bool HasDialog() const = 0;
    virtual std::shared_ptr<IConfigData> Clone() const = 0;
    virtual std::shared_ptr<IDialog> CreateDialog() = 0;
    virtual void Load(const IXmlElement& element, const plat::Variant& second) = 0;
    virtual XmlElementPtr Save(IXmlDocument& document) const = 0;
    virtual void PrintReport(const std::shared_ptr<IReport>& report) = 0;
};

// The limits of an element.
class ILimitData {
public:
    virtual ~ILimitData() = default;
    virtual std::string Description() const = 0;
    virtual void SetDescription(const std::string& description) = 0;
    virtual bool HasDialog() const = 0;
    virtual std::shared_ptr<ILimitStandards> Standards() const = 0;
    virtual TestElementPtr Owner() const = 0;
    virtual std::shared_ptr<ILimitData> Clone() const = 0;
    virtual std::shared_ptr<IDialog> CreateDialog() = 0;
    virtual std::shared_ptr<ILimitStandard> CreateStandard(const std::string& name, const std::string& text) = 0;
    virtual void Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) = 0;
    virtual XmlElementPtr Save(IXmlDocument& document) const = 0;
    virtual void PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& second) = 0;
    virtual void UpdateLimits(const TestElementPtr& element) = 0;
    // The standards that the measurement fails; nullptr means passed.
    virtual plat::ObjectPtr FindFailedStandards(const std::shared_ptr<IMeasurement>& measurement,
                                                const std::shared_ptr<ILimitStandards>& runStandards) const = 0;
};

// The result of an element. Status: 0 not evaluated, 1 passed, 2 failed, 3 not applicable.
class IResultData {
public:
    virtual ~IResultData() = default;
    virtual std::string Comment() const = 0;
    virtual void SetComment(const std::string& comment) = 0;
    virtual bool HasDialog() const = 0;
    virtual int32_t Status() const = 0;
    // By key text or 1-based position; nullptr when absent.
    virtual std::shared_ptr<IMeasurement> Measurement(const plat::Variant& index) const = 0;
    virtual int32_t MeasurementCount() const = 0;
    virtual plat::ObjectPtr ServiceRecord() const = 0;
    virtual int32_t MTIID() const = 0;
    virtual std::shared_ptr<IDialog> CreateDialog() = 0;
    virtual void Load(const IXmlElement& element, const std::shared_ptr<ILoadContext>& context) = 0;
    virtual XmlElementPtr Save(IXmlDocument& document) const = 0;
    virtual void PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& second) = 0;
};

// A node of the host's test tree.
class ITestElement {
public:
    virtual ~ITestElement() = default;
    virtual std::string PlugInID() const = 0;
    virtual int32_t TestID() const = 0;
    virtual int32_t ID() const = 0;
    virtual void SetID(int32_t id) = 0;
    virtual TestElementPtr Parent() const = 0;
    virtual void SetParent(const TestElementPtr& parent) = 0;
    virtual std::shared_ptr<ITestInfo> Info() const = 0;
    virtual std::shared_ptr<ITestFilter> Filter() const = 0;
    virtual std::shared_ptr<IResultData> Result() const = 0;
    virtual std::shared_ptr<ILimitData> Limits() const = 0;
    virtual std::shared_ptr<IConfigData> Configuration() const = 0;
    virtual void Initialize(const std::string& plugInId, int32_t testId, int32_t id) = 0;
    virtual TestElementPtr Clone() = 0;
    virtual void Perform(const std::shared_ptr<ITestSetup>& setup) = 0;
    virtual void Load(const IXmlElement& node, const std::shared_ptr<ILoadContext>& context) = 0;
    // The written element, or nullptr.
    virtual XmlElementPtr Save(IXmlDocument& document, const plat::Variant& option) = 0;
    virtual void PrintReport(const std::shared_ptr<IReport>& report, const plat::Variant& second) = 0;
    virtual bool QuerySetParent(const TestElementPtr& parent) = 0;
    virtual void Terminate() = 0;
    virtual void UpdateReferences() = 0;
    virtual plat::Variant GetMeasurementList() = 0;
};

// A node with children (1-based).
class ITestContainer {
public:
    virtual ~ITestContainer() = default;
    virtual int32_t Count() const = 0;
    // nullptr outside 1 .. Count().
    virtual TestElementPtr Item(int32_t index) const = 0;
    // Adds the element; position code 1 appends (the reference element is then not used).
    virtual void Add(const TestElementPtr& element, const TestElementPtr& reference, int32_t position) = 0;
    // The element of that ID among the children and their descendants; nullptr when none.
    virtual TestElementPtr FindElement(int32_t id) const = 0;
    virtual void Remove(const TestElementPtr& element) = 0;
    virtual std::vector<TestElementPtr> NewEnum() const = 0;
};

// The instrument record stored with results.
class CMtiRecord : public plat::Object {
public:
    void Initialize(std::string plugInId, int32_t key) { plugInId_ = std::move(plugInId); key_ = key; }
    void SetData(std::string type, std::string serialNo, std::string fwVersion) {
        type_ = std::move(type);
        serialNo_ = std::move(serialNo);
        fwVersion_ = std::move(fwVersion);
    }
    const std::string& PlugInID() const { return plugInId_; }
    int32_t Key() const { return key_; }
    const std::string& MtiType() const { return type_; }
    const std::string& SerialNo() const { return serialNo_; }
    const std::string& FWVersion() const { return fwVersion_; }
private:
    std::string plugInId_;
    int32_t key_ = 0;
    std::string type_, serialNo_, fwVersion_;
};

class IMtiRecordList {
public:
    virtual ~IMtiRecordList() = default;
    virtual int32_t Count() const = 0;
    virtual std::shared_ptr<CMtiRecord> Item(int32_t index) const = 0;  // 1-based; nullptr outside
    virtual void Add(std::shared_ptr<CMtiRecord> record) = 0;
};

// The run context handed to Perform. Step codes: 0 next, 1 previous, 2 stop, 3 skip.
class ITestSetup {
public:
    virtual ~ITestSetup() = default;
    virtual int32_t StepCode() const = 0;
    virtual void SetStepCode(int32_t code) = 0;
    virtual std::shared_ptr<IMtiRecordList> MtiRecords() const = 0;
    virtual std::shared_ptr<ILimitStandards> LimitStandards() const = 0;
    virtual bool MayRun(const TestElementPtr& element) = 0;
    virtual void ElementDone(const TestElementPtr& element) = 0;
};

// A plug-in's settings object.
class ISetup {
public:
    virtual ~ISetup() = default;
    virtual bool HasDialog() const = 0;
    virtual plat::Variant Settings() const = 0;
    virtual void SetSettings(const plat::Variant& value) = 0;
    virtual std::shared_ptr<IDialog> CreateDialog() = 0;
    virtual void RegLoad(const plat::Variant& first, const plat::Variant& second) = 0;
    virtual void RegSave(const plat::Variant& first, const plat::Variant& second) = 0;
};

// The entry object of a plug-in.
class IPlugIn {
public:
    virtual ~IPlugIn() = default;
    virtual std::string ID() const = 0;
    // Size 0 16x16, 1 32x16, 2 32x32; nullptr for an unknown icon.
    virtual std::shared_ptr<CPicture> Icon(int32_t iconId, int32_t size, const plat::Variant& third) const = 0;
    virtual std::string Name() const = 0;
    virtual int32_t Flags() const = 0;
    virtual std::shared_ptr<ISetup> Setup() const = 0;
    virtual std::shared_ptr<ISetup> ControlPanel() const = 0;
    virtual std::shared_ptr<ITestContainer> Tests() const = 0;
    virtual std::string Version() const = 0;
    virtual plat::ObjectPtr PlugInMenu() const = 0;
    virtual void Initialize(const plat::ObjectPtr& hostObject) = 0;
    virtual TestElementPtr CreateTest(int32_t id) = 0;
    virtual std::shared_ptr<IConfigData> CreateDUTData() = 0;
};

}  // namespace host
