#pragma once
// CMeasurement: one measured quantity of a test: its key, description and
// unit, the reading and the value the simulator was set to, and the status of
// the reading against the limits (0 not evaluated, 1 passed, 2 failed).
//
// Saved form (written and read through CMeasurementColl):
//   <Measurement Key="SpO2">
//     <Description>20016::SpO2 level</Description>   untranslated; pin pairs "20019::..._:_3_:_7"
//     <Value>97</Value>                               numbers with "."; read with either sign
//     <ValueFormat>1</ValueFormat>                    1 whole-number display
//     <Unit>%</Unit>                                  untranslated
//     <PresetValue>98</PresetValue>
//     <Status>1</Status>
//     <TestNotPerformed>1</TestNotPerformed>          only for status 0
//   </Measurement>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "host/report.h"
#include "host/test_element.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CMeasurement : public plat::Object, public host::IMeasurement, public host::IMeasurement2 {
public:
    // Parses a reading into Value and sets Status 0. The unit at the end is
    // cut off ("97 %" with unit "%" is 97); a text holding "<" or ">" is kept
    // as text, and so is a text in which no number can be read ("OPEN"); a
    // number is held as a double; an empty text, or a number beyond double
    // range, leaves Value empty. Sends one trace line.
    void StoreValue(std::string_view reading);
    void SetPresetValue(const plat::Variant& value) { presetValue_ = value; }
    bool IntegerFormat() const { return integerFormat_; }

    // Report rows of the measurement in the host's table markup ("|" cells, ";" rows).
    std::string GetReportLine(const std::shared_ptr<host::IReport>& report) const;
    // The tightest enabled bound of the standard's items named LimitKey, for
    // the report; `found`, `value` and `unit` carry what earlier calls found.
    void FindReportLimit(int32_t index, const std::shared_ptr<host::ILimitStandard>& standard, bool useTolerance,
                         bool& found, float& value, std::string& unit) const;
    // Sets Status: 2 for a text reading, 0 for none, else 1 or 2 as the limits
    // judge it; 0 when the limits cannot be asked.
    void Evaluate(const std::shared_ptr<host::ILimitStandards>& standards,
                  const std::shared_ptr<host::ILimitData>& limits);
    host::XmlElementPtr SaveElement(host::IXmlDocument& document) const;
    void Init(std::string key, std::string description, std::string limitKey, std::string unit, bool integerFormat);
    // Fills the measurement from a "Measurement" element; what the element
    // does not hold keeps its value.
    void LoadElement(const host::IXmlElement& element);

    // IMeasurement
    std::string Description() const override { return description_; }
    std::string Key() const override { return key_; }
    std::string LimitKey() const override { return limitKey_; }
    int32_t Status() const override { return status_; }
    std::string Unit() const override { return unit_; }
    plat::Variant Value() const override { return value_; }
    plat::Variant PresetValue() const override { return presetValue_; }
    int32_t ValueType() const override { return value_.IsNumeric() ? 1 : 5; }
    std::string ValueFormat() const override;
    std::string Flags() const override { return {}; }
    std::string ToolTipText() const override { return {}; }
    void Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>& context) override;
    // Measurements are written only by their collection.
    host::XmlElementPtr Save(host::IXmlDocument& document) const override;

    // IMeasurement2 (flags: 1 tolerance bounds, 2 formatted text, 4 unit appended)
    plat::Variant GetLimitValue(const std::shared_ptr<host::ILimitStandard>& standard, int32_t index,
                                int32_t flags) const override;
    plat::Variant GetResultValue(int32_t flags) const override;
    bool SupportsLimit(int32_t) const override { return true; }
    // The bound a tolerance item works out from the preset value; the item's
    // own bound for any other item.
    float CalculateLimitValue(const std::shared_ptr<host::ILimitItem>& item, int32_t index) const override;
    // 1 valid, 2 outside: 1 for no reading, 2 for a text reading or a preset
    // that is no 32-bit number.
    int32_t ValidateLimits(const std::shared_ptr<host::ILimitStandard>& standard) const override;

private:
    void FindLimit(int32_t index, const std::shared_ptr<host::ILimitStandard>& standard, bool useTolerance,
                   bool& found, float& value) const;
    double PresetNumber() const;

    ServerLock lock_;
    std::string description_;
    std::string key_;
    int32_t status_ = 0;
    std::string limitKey_;
    std::string unit_;
    plat::Variant presetValue_;
    plat::Variant value_;
    bool integerFormat_ = false;
};

}  // namespace plugin
