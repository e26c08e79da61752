#include "plugin/shell/pelmo2_utils.h"

#include <array>

#include "host/language_service.h"
#include "platform/values/text.h"
#include "plugin/config/presets.h"

namespace plugin {

namespace {

struct KeyTexts {
    std::string_view key, description, unit;
};

constexpr std::array<KeyTexts, 7> kNamedKeys = {{
    {"SpO2", "20016::SpO2 level", "%"},
    {"BPM", "20017::Beats per minute", "20034::BPM"},
    {"LED-R", "21001::LEDs - R", "20041::Volts"},
    {"LED-IR", "21002::LEDs - IR", "20041::Volts"},
    {"LED-PHOTO", "21003::LEDs - PHTO", "20041::Volts"},
    {"PHOTODIODE-R", "21004::Photodiode - R", ""},
    {"PHOTODIODE-IR", "21005::Photodiode - IR", ""},
}};

constexpr std::string_view kPinPairUnit = "20042::KOhms";

const KeyTexts* FindNamedKey(std::string_view key) {
    for (const KeyTexts& named : kNamedKeys)
        if (named.key == key) return &named;
    return nullptr;
}

}  // namespace

std::string TranslateText(std::string_view text, const std::shared_ptr<host::IReport>& report,
                          const std::vector<plat::Variant>& args) {
    try {
        if (report) return report->Translate(kLanguageSection, std::string(text), args);
        return host::LanguageService().Translate(kLanguageSection, text, args);
    } catch (...) {
        return {};
    }
}

std::optional<PinPair> ParsePinPair(std::string_view key) {
    constexpr std::string_view kTo = "_TO_";
    if (!plat::StartsWithNoCase(key, "PIN")) return std::nullopt;
    const size_t to = key.find(kTo, 1);
    if (to == std::string_view::npos || to < 3) return std::nullopt;
    const size_t second = to + kTo.size() + 3;  // past the second "PIN"
    if (second > key.size()) return std::nullopt;
    return PinPair{std::string(key.substr(3, to - 3)), std::string(key.substr(second))};
}

std::string PinPairText(std::string_view key, const std::shared_ptr<host::IReport>& report) {
    auto pins = ParsePinPair(key);
    if (!pins) return {};
    return TranslateText(kPinPairText, report, {plat::Variant(pins->first), plat::Variant(pins->second)});
}

std::string PinPairTextId(std::string_view key) {
    auto pins = ParsePinPair(key);
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
    if (const KeyTexts* named = FindNamedKey(key)) return TranslateText(named->description, report);
    return PinPairText(key, report);
}

std::string MeasurementDescriptionId(std::string_view key) {
    if (const KeyTexts* named = FindNamedKey(key)) return std::string(named->description);
    return PinPairTextId(key);
}

std::string MeasurementUnit(std::string_view key, const std::shared_ptr<host::IReport>& report) {
    const KeyTexts* named = FindNamedKey(key);
    const std::string_view unit = named ? named->unit : kPinPairUnit;
    if (unit.empty()) return {};
    return TranslateText(unit, report);
}

std::string MeasurementUnitId(std::string_view key) {
    const KeyTexts* named = FindNamedKey(key);
    return std::string(named ? named->unit : kPinPairUnit);
}

std::string PresetName(int32_t index, const std::shared_ptr<host::IReport>& report) {
    const std::string_view text = CPresets::PresetText(index);
    if (text.empty()) return {};
    return TranslateText(text, report);
}

}  // namespace plugin
