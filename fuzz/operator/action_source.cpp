#include "fuzz/operator/action_source.h"

#include <array>

namespace fuzz_operator {

namespace {

constexpr std::array<const char*, 32> kTexts = {
    "",      "0",     "1",      "7",     "50",    "100",   "-",      ".",
    "1e3",   "&H3E8", " 7",     "7 ",    "-5",    "1.5",   "0.50",   "4095",
    "4096",  "99999", "abc",    "12a",   "+1",    "1,5",   "Äö€",    "2147483648",
    "1 2",   "   ",   "0007",   "98",    "0.01",  "-0",    "12345678901234567890123456789", "3.4028236E+38",
};

}  // namespace

std::string ActionSource::Text() {
    const uint8_t how = Byte();
    if (how < 200) return kTexts[how % kTexts.size()];
    // Printable ASCII from the input, up to 15 characters (what a keyboard
    // types; non-ASCII comes whole, as a paste or an input method gives it).
    const size_t length = how % 16;
    std::string text;
    while (text.size() < length && !Exhausted()) text.push_back(static_cast<char>(' ' + Byte() % 95));
    return text;
}

}  // namespace fuzz_operator
