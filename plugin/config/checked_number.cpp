#include "plugin/config/checked_number.h"

#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace plugin {

std::optional<double> CheckedNumber(std::string_view text) {
    if (plat::Trim(text).empty()) return 0.0;
    return plat::ReadWholeNumber(plat::Replace(text, ",", "."));
}

std::optional<int32_t> CheckedWholeNumber(std::string_view text) {
    std::optional<double> number = CheckedNumber(text);
    if (!number) return std::nullopt;
    return plat::TryRoundToLong(*number);
}

}  // namespace plugin
