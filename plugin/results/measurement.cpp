#include "plugin/results/measurement.h"

#include <cfloat>
#include <cmath>
#include <optional>

#include "host/translate_text.h"
#include "host/xml.h"
#include "makes/make_utils.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/printed_limit_standards.h"
#include "plugin/shell/trace.h"
#include "plugin/shell/utilities.h"

namespace plugin {

namespace {

constexpr const char* kFractionFormat = "####0.00##";

// Walks the items named `limitKey` whose bound of the index is enabled; the
// first candidate is taken, then only a tighter one (smaller upper, larger
// lower bound).
template <class Candidate>
void WalkBounds(const std::string& limitKey, int32_t index, const std::shared_ptr<host::ILimitStandard>& standard,
                bool& found, float& value, Candidate candidate) {
    if (!standard) return;
    std::shared_ptr<host::ILimitItems> items;
    plat::PassOver([&] { items = standard->LimitItems(); });
    if (!items) return;
    int32_t count = 0;
    plat::PassOver([&] { count = items->Count(); });
    for (int32_t i = 1; i <= count; ++i) {
        plat::PassOver([&] {
            auto item = items->Item(i);
            if (!item || item->Key() != limitKey || !item->BoundEnabled(index)) return;
            std::optional<float> bound = candidate(item);
            if (!bound) return;
            const bool take = !found || (index == 0 && *bound < value) || (index == 1 && *bound > value);
            if (take) {
                value = *bound;
                found = true;
            }
        });
    }
}

}  // namespace

void CMeasurement::Init(std::string key, std::string description, std::string limitKey, std::string unit,
                        bool integerFormat) {
    key_ = std::move(key);
    description_ = std::move(description);
    limitKey_ = std::move(limitKey);
    unit_ = std::move(unit);
    integerFormat_ = integerFormat;
}

void CMeasurement::StoreValue(std::string_view reading) {
    std::string text = plat::Trim(reading);
    if (!plat::Trim(unit_).empty() && !text.empty()) {
        const std::string upperText = plat::ToUpper(text);
        const size_t at = upperText.rfind(plat::ToUpper(unit_));
        if (at != std::string::npos && at > 0) text = plat::Trim(std::string_view(text).substr(0, at));
    }

    plat::Variant value;
    double converted = 0;
    if (text.find_first_of("<>") != std::string::npos) {
        value = text;
    } else if (!text.empty()) {
        if (!ValTextFindsNumber(text)) {
            value = text;  // a reading such as "OPEN" or "---" stays what the instrument said
        } else {
            const double number = makes::ValText(text);
            if (std::fabs(number) < DBL_MAX) {
                value = number;
                converted = number;
            }
        }
    }
    value_ = value;
    plat::PassOver([&] { Trace("Value is :: " + plat::NumberToText(converted)); });
    status_ = 0;
}

void CMeasurement::Evaluate(const std::shared_ptr<host::ILimitStandards>& standards,
                            const std::shared_ptr<host::ILimitData>& limits) {
    int32_t status = 0;
    if (value_.Type() == plat::VarType::String) {
        status = 2;
    } else if (value_.IsNumeric() && limits) {
        status = plat::PassOver(
            [&] {
                auto self = std::dynamic_pointer_cast<host::IMeasurement>(shared_from_this());
                return limits->FindFailedStandards(self, standards) ? 2 : 1;
            },
            0);
    }
    status_ = status;
}

std::string CMeasurement::ValueFormat() const {
    if (!value_.IsNumeric()) return {};
    const double number = value_.AsDouble();
    if (integerFormat_ || number == std::nearbyint(number)) return "0";
    return kFractionFormat;
}

plat::Variant CMeasurement::GetResultValue(int32_t flags) const {
    if ((flags & 2) == 0 || ValueType() != 1) return value_;
    std::string text;
    plat::PassOver([&] { text = plat::FormatNumber(value_.AsDouble(), ValueFormat()); });
    if (flags & 4) text += " " + unit_;
    return text;
}

double CMeasurement::PresetNumber() const {
    if (presetValue_.IsNumeric()) return presetValue_.AsDouble();
    if (presetValue_.Type() == plat::VarType::String) return makes::ValText(presetValue_.AsString());
    return 0;
}

float CMeasurement::CalculateLimitValue(const std::shared_ptr<host::ILimitItem>& item, int32_t index) const {
    if (auto tolerance = std::dynamic_pointer_cast<host::IToleranceItem>(item))
        return tolerance->Bound(static_cast<float>(PresetNumber()), index);
    return item->BoundValue(index);
}

void CMeasurement::FindLimit(int32_t index, const std::shared_ptr<host::ILimitStandard>& standard,
                             bool useTolerance, bool& found, float& value) const {
    if (!SupportsLimit(index)) return;
    WalkBounds(limitKey_, index, standard, found, value, [&](const std::shared_ptr<host::ILimitItem>& item) {
        return std::optional<float>(useTolerance ? CalculateLimitValue(item, index) : item->BoundValue(index));
    });
}

void CMeasurement::FindReportLimit(int32_t index, const std::shared_ptr<host::ILimitStandard>& standard,
                                   bool useTolerance, bool& found, float& value, std::string& unit) const {
    WalkBounds(limitKey_, index, standard, found, value, [&](const std::shared_ptr<host::ILimitItem>& item) {
        const bool wasFound = found;
        const float held = value;
        float bound = 0;
        std::string boundUnit;
        auto tolerance = std::dynamic_pointer_cast<host::IToleranceItem>(item);
        if (useTolerance && tolerance) {
            bound = tolerance->Bound(static_cast<float>(PresetNumber()), index);
            boundUnit = unit_;
        } else {
            bound = item->BoundValue(index);
            boundUnit = item->Text(0).find('%') != std::string::npos ? "%" : unit_;
        }
        // The unit travels with the bound that is taken.
        if (!wasFound || (index == 0 && bound < held) || (index == 1 && bound > held)) unit = boundUnit;
        return std::optional<float>(bound);
    });
}

plat::Variant CMeasurement::GetLimitValue(const std::shared_ptr<host::ILimitStandard>& standard, int32_t index,
                                          int32_t flags) const {
    bool found = false;
    float bound = 0;
    FindLimit(index, standard, (flags & 1) != 0, found, bound);
    if (!found) return {};
    if ((flags & 2) == 0) return static_cast<double>(bound);
    const double number = static_cast<double>(bound);
    std::string text;
    plat::PassOver(
        [&] { text = plat::FormatNumber(number, number == std::nearbyint(number) ? "0" : kFractionFormat); });
    if ((flags & 4) && (flags & 1)) text += " " + unit_;
    return text;
}

int32_t CMeasurement::ValidateLimits(const std::shared_ptr<host::ILimitStandard>& standard) const {
    if (value_.IsEmpty()) return 1;
    if (!value_.IsNumeric()) return 2;
    if (!LimitItemExists(key_, standard)) return 1;
    const float value = static_cast<float>(value_.AsDouble());
    std::optional<int32_t> preset;
    plat::PassOver([&] { preset = plat::TryRoundToLong(makes::ValText(presetValue_.AsString())); });
    if (!preset) return 2;
    return WithinLimits(value, key_, standard, *preset) ? 1 : 2;
}

std::string CMeasurement::GetReportLine(const std::shared_ptr<host::IReport>& report) const {
    if (!report) return {};
    int32_t options = 0, level = 0;
    plat::PassOver([&] { options = report->PrintOptions(); });
    plat::PassOver([&] { level = report->PrintLevel(); });
    if ((options & host::IReport::OnlyFailed) && status_ != 2) return {};

    const std::string description = "      " + MeasurementDescription(limitKey_, report);
    std::string preset;
    plat::PassOver([&] {
        const double number = makes::ValText(presetValue_.AsString());
        if (number > 0) preset = plat::NumberToText(number);
    });
    std::string value;
    plat::PassOver([&] { value = value_.AsString(); });
    const std::string unit = MeasurementUnit(limitKey_, report);
    const std::string cells = "|" + description + "|" + preset + "|" + value + "|" + unit;

    const LimitStandardList& standards = PrintedLimitStandards();
    if ((options & host::IReport::LimitColumns) == 0 || level == 2 || standards.empty()) return cells + ";";

    std::string text;
    bool matched = false;
    for (const auto& standard : standards) {
        if (!standard) {
            text += cells + "|||;";
            continue;
        }
        if (!LimitItemExists(limitKey_, standard)) continue;
        std::string limitCells[2];
        for (int32_t index = 0; index < 2; ++index) {
            bool found = false;
            float bound = 0;
            std::string boundUnit;
            FindReportLimit(index, standard, true, found, bound, boundUnit);
            if (found) limitCells[index] = plat::SingleToText(bound);
        }
        std::string name;
        plat::PassOver([&] { name = standard->Name(); });
        const std::string limits = "|" + limitCells[0] + "|" + limitCells[1] + "|" + name + ";";
        if (!matched) {
            text += cells + limits;
        } else if (text.find(description) != std::string::npos) {
            text += "||||" + limits;
        } else {
            text = cells + limits;
        }
        matched = true;
    }
    // No printed standard holds the key: the reading is still printed.
    if (text.empty()) text = cells + "|||;";
    return text;
}

host::XmlElementPtr CMeasurement::SaveElement(host::IXmlDocument& document) const {
    auto element = document.CreateElement("Measurement");
    element->SetAttribute("Key", key_);
    const host::CXmlFactory& factory = host::XmlFactory();
    element->AddChild("Description", MeasurementDescriptionId(key_));
    plat::Variant value = value_;
    if (value.Type() == plat::VarType::String) value = plat::Trim(value.AsString());
    element->AppendChild(factory.CreateValueElement(document, value, "Value"));
    element->AddChild("ValueFormat", integerFormat_ ? "1" : "0");
    element->AddChild("Unit", MeasurementUnitId(key_));
    element->AppendChild(factory.CreateValueElement(document, presetValue_, "PresetValue"));
    element->AppendChild(factory.CreateStatusElement(document, status_));
    if (status_ == 0) element->AddChild("TestNotPerformed", "1");
    return element;
}

void CMeasurement::LoadElement(const host::IXmlElement& element) {
    plat::PassOver([&] {
        key_ = element.GetAttribute("Key");
        limitKey_ = key_;
    });
    auto children = element.ChildNodes();
    const int32_t count = children ? children->Count() : 0;
    const host::CXmlFactory& factory = host::XmlFactory();
    for (int32_t i = 0; i < count; ++i) {
        auto child = children->ElementAt(i);
        if (!child) continue;
        const std::string name = child->Name();
        plat::PassOver([&] {
            if (name == "Value") {
                plat::Variant read = factory.ReadValueElement(*child);
                value_ = read.IsNumeric() ? plat::Variant(read.AsDouble()) : read;
            } else if (name == "Description") {
                description_ = TranslateDescriptionId(child->Text());
            } else if (name == "ValueFormat") {
                integerFormat_ = makes::ValText(child->Text()) == 1;
            } else if (name == "Unit") {
                unit_ = host::TranslateText(kLanguageSection, child->Text());
            } else if (name == "PresetValue") {
                presetValue_ = factory.ReadValueElement(*child);
            } else if (name == "Status") {
                status_ = factory.ReadStatusElement(*child);
            } else if (name == "TestNotPerformed") {
                if (makes::ValText(child->Text()) == 1) status_ = 0;
            }
        });
    }
}

void CMeasurement::Load(const host::IXmlElement& element, const std::shared_ptr<host::ILoadContext>&) {
    LoadElement(element);
}

host::XmlElementPtr CMeasurement::Save(host::IXmlDocument&) const { return nullptr; }

}  // namespace plugin
