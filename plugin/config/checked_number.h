#pragma once
// Checked reading of numbers from registry values and saved data: an empty
// text reads as 0; a text that is not one number (either decimal sign) or
// does not fit gives nothing, so that the caller keeps its field as it was.

#include <cstdint>
#include <optional>
#include <string_view>

namespace plugin {

std::optional<double> CheckedNumber(std::string_view text);
// Rounded to a whole number, halves to the even neighbour.
std::optional<int32_t> CheckedWholeNumber(std::string_view text);

}  // namespace plugin
