#include "plugin/shell/pelmo2_utils.h"

#include "driver/probe_report.h"
#include "host/translate_text.h"
#include "platform/values/text.h"
#include "plugin/config/presets.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

// Joins the parts of a stored pin-pair description.
constexpr std::string_view kPinPairJoin = "_:_";

// The kind's fixed reading of that key; nullptr for a pin pair or an unknown key.
const TestKind::Measurement* FindNamedKey(std::string_view key) {
    for (const TestKind& kind : TestKinds()) {
        if (kind.readings == TestKind::Readings::PinPairs) continue;
        for (const TestKind::Measurement& named : kind.measurements)
            if (named.key == key) return &named;
    }
    return nullptr;
}

std::string_view PinPairUnit() {
    for (const TestKind& kind : TestKinds())
        if (kind.readings == TestKind::Readings::PinPairs && !kind.measurements.empty())
            return kind.measurements.front().unit;
    return {};
}

}  // namespace

std::string PinPairText(std::string_view key, const std::shared_ptr<host::IReport>& report) {
    auto pins = drv::probe_report::ParsePinPair(key);
    if (!pins) return {};
    return host::TranslateText(kLanguageSection, kPinPairText,
                               {plat::Variant(pins->first), plat::Variant(pins->second)}, report.get());
}

std::string PinPairTextId(std::string_view key) {
    auto pins = drv::probe_report::ParsePinPair(key);
    if (!pins) return {};
    std::string text(kPinPairText);
    text.append(kPinPairJoin).append(pins->first).append(kPinPairJoin).append(pins->second);
    return text;
}

int32_t PinPairCount() {
    constexpr int32_t pins = 12;
    return pins * (pins + 1) / 2;
}

std::string MeasurementDescription(std::string_view key, const std::shared_ptr<host::IReport>& report) {
    if (const TestKind::Measurement* named = FindNamedKey(key))
        return host::TranslateText(kLanguageSection, named->description, {}, report.get());
    return PinPairText(key, report);
}

std::string MeasurementDescriptionId(std::string_view key) {
    if (const TestKind::Measurement* named = FindNamedKey(key)) return std::string(named->description);
    return PinPairTextId(key);
}

std::string TranslateDescriptionId(const std::string& stored) {
    if (stored.find(kPinPairJoin) == std::string::npos) return host::TranslateText(kLanguageSection, stored);
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = stored.find(kPinPairJoin, from)) != std::string::npos; from = at + kPinPairJoin.size())
        parts.push_back(stored.substr(from, at - from));
    parts.push_back(stored.substr(from));
    if (parts.size() != 3) return stored;
    return host::TranslateText(kLanguageSection, parts[0], {plat::Variant(parts[1]), plat::Variant(parts[2])});
}

std::string MeasurementUnit(std::string_view key, const std::shared_ptr<host::IReport>& report) {
    const TestKind::Measurement* named = FindNamedKey(key);
    const std::string_view unit = named ? named->unit : PinPairUnit();
    if (unit.empty()) return {};
    return host::TranslateText(kLanguageSection, unit, {}, report.get());
}

std::string MeasurementUnitId(std::string_view key) {
    const TestKind::Measurement* named = FindNamedKey(key);
    return std::string(named ? named->unit : PinPairUnit());
}

std::string PresetName(int32_t index, const std::shared_ptr<host::IReport>& report) {
    const std::string_view text = CPresets::PresetText(index);
    if (text.empty()) return {};
    return host::TranslateText(kLanguageSection, text, {}, report.get());
}

}  // namespace plugin
