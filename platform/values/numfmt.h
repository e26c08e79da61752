#pragma once
// Numbers to text and back, and whole-number conversions.
//
// Format patterns ("#0.000", "##0", "#####0", "######0", "00#", "0000",
// "###0.0000", "####0.00##"): "0" is a required digit, "#" an optional one;
// the value is first taken to 15 significant digits, then rounded half away
// from zero to the pattern's decimals (so 0.29*100 with "00#" gives "029" and
// 1.005 with two decimals "1.01"); more integer digits than placeholders are
// written whole. Integer digits are padded with zeros from the leftmost "0"
// on ("00#" with 5 gives "005"; "#0.000" with 0.25 gives "0.250"); decimals
// past the last "0" are written only when not zero ("####0.00##": 1.5 gives
// "1.50", 1.23456 "1.2346"). Negatives get "-" unless they round to zero. The
// decimal sign written is the user's decimal sign setting; no separators.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace plat {

// A conversion whose result does not fit its type (a double beyond 32 bits).
class Overflow : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user's decimal sign ('.' unless set); tests switch it to ','.
char DecimalSign();
void SetDecimalSign(char sign);

// Restores the decimal sign when it leaves scope.
class ScopedDecimalSign {
public:
    explicit ScopedDecimalSign(char sign) : saved_(DecimalSign()) { SetDecimalSign(sign); }
    ~ScopedDecimalSign() { SetDecimalSign(saved_); }
    ScopedDecimalSign(const ScopedDecimalSign&) = delete;
    ScopedDecimalSign& operator=(const ScopedDecimalSign&) = delete;
private:
    char saved_;
};

// The value formatted with a pattern as described above. An empty pattern gives
// the general number form; NaN and infinities give "NaN", "Inf", "-Inf";
// characters other than "0", "#" and one "." throw std::invalid_argument.
std::string FormatNumber(double value, std::string_view pattern);

// The general number form (the platform's number-to-text conversion): the
// shortest text of up to 15 significant digits; exponent form ("1E+15",
// "1.5E-07", "-2.25E+20") when the magnitude rounded to 15 digits is below
// 1E-4 or at least 1E15; the user's decimal sign; never "-0".
std::string NumberToText(double value);
// A single-precision value in the general form, to its own seven significant
// digits: a bound of 0.1f reads "0.1", not the digits of the nearest double.
std::string SingleToText(float value);

// Whole numbers with halves to the even neighbour; Overflow outside the type.
int32_t RoundToLong(double value);
int16_t RoundToInteger(double value);
std::optional<int32_t> TryRoundToLong(double value);
std::optional<int16_t> TryRoundToInteger(double value);

// The leading number of a text, by a rule that ignores the locale: blanks,
// tabs and line feeds anywhere are skipped; an optional sign, digits with at
// most one "." as decimal point, optionally an exponent ("E" or "D", optional
// sign, digits); "&H" + hex digits or "&O" + octal digits gives that whole
// number; reading stops at the first character that fits none of this; no
// number gives 0. (Both ValText functions of the system replace "," by "."
// and then call this.) Never throws; an exponent beyond the double range
// gives the largest double with the number's sign, never inf or NaN.
double ReadLeadingNumber(std::string_view text);

// The text as one number by the rule above: nullopt unless a number is there
// and nothing but blanks, tabs and line feeds follows it (" 2 5 " is 25, "1e" is none).
std::optional<double> ReadWholeNumber(std::string_view text);

// Text to number by the user's decimal sign (the platform's locale-aware
// conversion): nullopt when the text is not one number as a whole.
std::optional<double> ParseLocaleNumber(std::string_view text);

}  // namespace plat
