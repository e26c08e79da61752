#pragma once
// The words of the instrument's probe report that the driver's parser and its
// callers share: how a line of the report begins, the key the driver gives its
// item, and the two forms of a pin pair. Header only and free of driver code,
// so that the plug-in may include it without linking the driver.
//
//   "R=1.25"                    item "R" ("R=1.25")
//   "PHOTO: R=123 IR=456"       items "PHOTO-R" and "PHOTO-IR"
//   "PIN 1 TO PIN 2 = 10.2K"    item "PIN1-PIN2" ("PIN1-PIN2=10.2", kilo-ohms),
//                               measurement key "PIN1_TO_PIN2"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/values/text.h"

namespace drv::probe_report {

// Lines "<key>=<value>", kept under their key (any letter case in the report):
// the LED's red, infrared and photo readings, the photodiode's red and infrared.
inline constexpr std::string_view kRed = "R";
inline constexpr std::string_view kInfrared = "IR";
inline constexpr std::string_view kLedPhoto = "PHTO";
inline constexpr std::string_view kPhotodiodeRed = "PHOTO-R";
inline constexpr std::string_view kPhotodiodeInfrared = "PHOTO-IR";

// The photodiode's two readings on one line, split into the items above.
inline constexpr std::string_view kPhotodiodeLine = "PHOTO:";
inline constexpr std::string_view kPhotodiodeItem = "PHOTO-";
static_assert(kPhotodiodeRed.starts_with(kPhotodiodeItem) && kPhotodiodeRed.substr(kPhotodiodeItem.size()) == kRed &&
              kPhotodiodeInfrared.starts_with(kPhotodiodeItem) &&
              kPhotodiodeInfrared.substr(kPhotodiodeItem.size()) == kInfrared);

// A resistance line begins with it, and so do both forms of its pin pair.
inline constexpr std::string_view kPin = "PIN";
// Between the pins of the driver's item ...
inline constexpr std::string_view kPinItemJoin = "-";
// ... and of the measurement key, which the plug-in's results and limits use.
inline constexpr std::string_view kPinKeyJoin = "_TO_";

// "PIN<first>-PIN<second>": the driver's item of a pin pair.
inline std::string PinPairItemKey(std::string_view first, std::string_view second) {
    std::string key(kPin);
    key.append(first).append(kPinItemJoin).append(kPin).append(second);
    return key;
}

// "PIN<first>_TO_PIN<second>": the measurement key of a pin pair.
inline std::string PinPairKey(int32_t first, int32_t second) {
    std::string key(kPin);
    key.append(std::to_string(first)).append(kPinKeyJoin).append(kPin).append(std::to_string(second));
    return key;
}

// The measurement key of an item's key, in upper case: "pin1-pin2" gives
// "PIN1_TO_PIN2".
inline std::string PinPairKeyOfItem(std::string_view itemKey) {
    return plat::ToUpper(plat::Replace(itemKey, kPinItemJoin, kPinKeyJoin));
}

struct PinPair {
    std::string first, second;
};

// The two pins of a measurement key: it begins with "PIN" (any case) and holds
// "_TO_" (exact case) followed by at least three characters (the second
// "PIN", not compared); nullopt for any other key.
inline std::optional<PinPair> ParsePinPair(std::string_view key) {
    if (!plat::StartsWithNoCase(key, kPin)) return std::nullopt;
    const size_t to = key.find(kPinKeyJoin, 1);
    if (to == std::string_view::npos || to < kPin.size()) return std::nullopt;
    const size_t second = to + kPinKeyJoin.size() + kPin.size();
    if (second > key.size()) return std::nullopt;
    return PinPair{std::string(key.substr(kPin.size(), to - kPin.size())), std::string(key.substr(second))};
}

}  // namespace drv::probe_report
