#pragma once
// MPelmo2Utils: the description and unit of every measurement key, translated
// (for display and reports) or in the stored "id::text" form (for saved data),
// the pin pairs of the probe-resistance test, and the preset names.
//
// Keys compare exactly, with case, with the fixed readings of the test kinds
// (test_kind.h); any other key is read as a pin pair of the resistance test,
// "PIN<first>_TO_PIN<second>" (drv::probe_report::ParsePinPair).
// Translated texts go through the report when one is given (its language),
// else through the host's language service; section "Pelmo2".

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/report.h"

namespace plugin {

inline constexpr const char* kLanguageSection = "Pelmo2";
inline constexpr const char* kPinPairText = "20019::Pin %%1 to Pin %%2";

std::string PinPairText(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
// The stored form of a pin pair's description: its text and pins joined by
// "_:_" ("20019::Pin %%1 to Pin %%2_:_3_:_7").
std::string PinPairTextId(std::string_view key);
// The number of pin pairs of the resistance test: 12 * 13 / 2.
int32_t PinPairCount();

std::string MeasurementDescription(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
std::string MeasurementDescriptionId(std::string_view key);
// A stored description translated by the host's language service: a pin
// pair's with its pins (a joined text of other than three parts stays as it
// is), any other as a language text.
std::string TranslateDescriptionId(const std::string& stored);
std::string MeasurementUnit(std::string_view key, const std::shared_ptr<host::IReport>& report = nullptr);
std::string MeasurementUnitId(std::string_view key);

// The translated name of preset ID 0 to 24 (the presets table's text); "" for
// any other index.
std::string PresetName(int32_t index, const std::shared_ptr<host::IReport>& report = nullptr);

}  // namespace plugin
