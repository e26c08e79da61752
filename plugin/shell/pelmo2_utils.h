#pragma once
// MPelmo2Utils: the description and unit of every measurement key, translated
// (for display and reports) or in the stored "id::text" form (for saved data),
// the pin pairs of the probe-resistance test, and the preset names.
//
// Keys compare exactly, with case, with the fixed readings of the test kinds
// (test_kind.h); any other key is read as a pin pair of the resistance test,
// "PIN<first>_TO_PIN<second>".
// Translated texts go through the report when one is given (its language),
// else through the host's language service; section "Pelmo2".

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/report.h"

namespace plugin {

inline constexpr const char* kLanguageSection = "Pelmo2";
inline constexpr const char* kPinPairText = "20019::Pin %%1 to Pin %%2";
// Joins the parts of a stored pin-pair description.
inline constexpr std::string_view kPinPairJoin = "_:_";

struct PinPair {
    std::string first, second;
};
// The two pins of a key that begins with "PIN" (any case) and holds "_TO_"
// (exact case) followed by at least three characters (the second "PIN");
// nullopt for any other key.
std::optional<PinPair> ParsePinPair(std::string_view key);

std::string PinPairText(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
std::string PinPairTextId(std::string_view key);
// The number of pin pairs of the resistance test: 12 * 13 / 2.
int32_t PinPairCount();

std::string MeasurementDescription(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
std::string MeasurementDescriptionId(std::string_view key);
std::string MeasurementUnit(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
std::string MeasurementUnitId(std::string_view key);

// The translated name of preset ID 0 to 24 (the presets table's text); "" for
// any other index.
std::string PresetName(int32_t index, const std::shared_ptr<host::IReport>& report = nullptr);

}  // namespace plugin
