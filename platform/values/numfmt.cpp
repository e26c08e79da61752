#include "platform/values/numfmt.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

#include <locale.h>

namespace plat {

namespace {

char g_decimalSign = '.';

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strtod in the "C" locale: the process locale may use another decimal sign.
double CStrtod(const std::string& text) {
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

// The number text a scan has gathered ([sign] digits [. digits] [e [sign] digits]).
// from_chars rounds as strtod does and is far cheaper; what it leaves (a value
// out of range) goes to strtod, whose result the callers expect there.
double ParseScanned(const std::string& number) {
    const char* first = number.data();
    const char* last = first + number.size();
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '+' || *first == '-')) ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc{} || end != last) return CStrtod(number);
    return negative ? -v : v;
}

// A finite value as its 15 significant decimal digits and the power of ten of
// the first one: value = 0.d1d2...d15 * 10^(exp10 + 1). Zero gives 15 zeros and 0.
struct Digits15 {
    std::string digits;
    int exp10 = 0;
};

// For a normal value, any decimal of at most 15 digits that reads back as the
// value is the value rounded to 15 digits: a double's half unit is below half a
// unit of the 15th digit. The two helpers below find such a decimal cheaply.

// A whole number below 1E15 over an exact power of ten (up to 1E22), as make
// files and entry fields hold them.
bool ShortDecimalDigits(double magnitude, Digits15& d) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    for (int k = 0; k < static_cast<int>(std::size(kPowers)); ++k) {
        const double scaled = std::nearbyint(magnitude * kPowers[k]);
        if (scaled >= 1e15) return false;
        if (scaled / kPowers[k] != magnitude) continue;  // the quotient of two exact values rounds once
        char buf[24];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<uint64_t>(scaled));
        if (ec != std::errc{}) return false;
        const auto count = static_cast<size_t>(end - buf);
        d.digits.assign(buf, count);
        d.digits.resize(15, '0');
        d.exp10 = static_cast<int>(count) - 1 - k;
        return true;
    }
    return false;
}

// The shortest text that reads back as the value, when it has 15 digits or fewer.
bool ShortestDigits(double magnitude, Digits15& d) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    if (ec != std::errc{}) return false;
    std::string digits;
    const char* p = buf;
    for (; p != end && *p != 'e'; ++p)
        if (IsDigit(*p)) digits.push_back(*p);
    if (p == end || digits.size() > 15) return false;
    const char* exponent = p + 1;
    if (exponent != end && *exponent == '+') ++exponent;
    if (std::from_chars(exponent, end, d.exp10).ec != std::errc{}) return false;
    d.digits = std::move(digits);
    d.digits.resize(15, '0');
    return true;
}

Digits15 ToDigits15(double magnitude) {
    Digits15 d;
    if (magnitude == 0) {
        d.digits.assign(15, '0');
        return d;
    }
    if (magnitude >= DBL_MIN && (ShortDecimalDigits(magnitude, d) || ShortestDigits(magnitude, d))) return d;
    // Subnormal values (fewer bits) and values of more than 15 digits are rounded here.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", magnitude);  // "d.ddddddddddddddde[+-]xx"
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) d.digits.push_back(*p);
    if (*p == 'e') d.exp10 = std::atoi(p + 1);
    return d;
}

// Adds one unit in the last place of `digits`; true when it carries out of the front.
bool Increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NaN";
    return value < 0 ? "-Inf" : "Inf";
}

// Placeholders of a pattern: integer digits written at least, decimals written
// at least and at most.
struct Pattern {
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
};

Pattern ParsePattern(std::string_view pattern) {
    Pattern p;
    size_t point = pattern.find('.');
    std::string_view intPart = pattern.substr(0, point);
    std::string_view decPart = point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
    for (size_t i = 0; i < intPart.size(); ++i) {
        char c = intPart[i];
        if (c != '0' && c != '#') throw std::invalid_argument("FormatNumber: unsupported pattern \"" + std::string(pattern) + "\"");
        if (c == '0' && p.minInt == 0) p.minInt = static_cast<int>(intPart.size() - i);
    }
    for (size_t i = 0; i < decPart.size(); ++i) {
        char c = decPart[i];
        if (c != '0' && c != '#') throw std::invalid_argument("FormatNumber: unsupported pattern \"" + std::string(pattern) + "\"");
        if (c == '0') p.minDec = static_cast<int>(i + 1);
    }
    p.maxDec = static_cast<int>(decPart.size());
    return p;
}

template <class T>
std::optional<T> TryRoundHalfEven(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double magnitude = std::fabs(value);
    double fl = std::floor(magnitude);
    double frac = magnitude - fl;  // exact for a magnitude
    if (frac > 0.5 || (frac == 0.5 && std::fmod(fl, 2.0) != 0)) fl += 1;
    double r = std::copysign(fl, value);
    if (r < static_cast<double>(std::numeric_limits<T>::min()) || r > static_cast<double>(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

// The scan behind ReadLeadingNumber. `end` receives the offset just behind the
// last character that belongs to the number (0 when there is none).
double ScanNumber(std::string_view text, size_t& end, bool& found) {
    size_t i = 0;
    end = 0;
    found = false;
    auto skip = [&] { while (i < text.size() && IsBlank(text[i])) ++i; };
    auto peek = [&]() -> char { skip(); return i < text.size() ? text[i] : '\0'; };

    if (peek() == '&') {
        ++i;
        char kind = peek();
        int base = (kind == 'H' || kind == 'h') ? 16 : (kind == 'O' || kind == 'o') ? 8 : 0;
        if (base == 0) return 0;
        ++i;
        double v = 0;
        for (;;) {
            char c = peek();
            int digit = IsDigit(c) ? c - '0'
                      : (base == 16 && c >= 'a' && c <= 'f') ? c - 'a' + 10
                      : (base == 16 && c >= 'A' && c <= 'F') ? c - 'A' + 10
                      : -1;
            if (digit < 0 || digit >= base) break;
            v = v * base + digit;
            ++i;
            end = i;
            found = true;
        }
        return std::isinf(v) ? DBL_MAX : v;
    }

    std::string number;
    char c = peek();
    if (c == '+' || c == '-') {
        number.push_back(c);
        ++i;
    }
    bool point = false;
    bool mantissaDigits = false;
    for (;;) {
        c = peek();
        if (IsDigit(c)) {
            number.push_back(c);
            mantissaDigits = true;
        } else if (c == '.' && !point) {
            number.push_back('.');
            point = true;
        } else {
            break;
        }
        ++i;
        if (mantissaDigits) end = i;
    }
    if (!mantissaDigits) {
        end = 0;
        return 0;
    }
    found = true;
    c = peek();
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
        ++i;
        std::string exponent = "e";
        c = peek();
        if (c == '+' || c == '-') {
            exponent.push_back(c);
            ++i;
        }
        bool expDigits = false;
        size_t expEnd = i;
        while (IsDigit(peek())) {
            exponent.push_back(text[i]);
            ++i;
            expEnd = i;
            expDigits = true;
        }
        if (expDigits) {  // a bare "E" is not part of the number
            number += exponent;
            end = expEnd;
        }
    }
    double v = ParseScanned(number);
    if (std::isinf(v)) v = std::copysign(DBL_MAX, v);
    return v;
}

}  // namespace

char DecimalSign() { return g_decimalSign; }
void SetDecimalSign(char sign) { g_decimalSign = sign; }

std::string FormatNumber(double value, std::string_view pattern) {
    if (pattern.empty()) return NumberToText(value);
    Pattern p = ParsePattern(pattern);
    if (!std::isfinite(value)) return NonFinite(value);

    Digits15 d = ToDigits15(std::fabs(value));
    std::string intDigits;
    std::string fracDigits;
    if (d.exp10 >= 0) {
        size_t n = static_cast<size_t>(d.exp10) + 1;
        if (n >= d.digits.size()) {
            intDigits = d.digits + std::string(n - d.digits.size(), '0');
        } else {
            intDigits = d.digits.substr(0, n);
            fracDigits = d.digits.substr(n);
        }
    } else {
        fracDigits = std::string(static_cast<size_t>(-d.exp10 - 1), '0') + d.digits;
    }

    // Half away from zero on the decimal digits (the magnitude is rounded).
    if (fracDigits.size() > static_cast<size_t>(p.maxDec)) {
        bool up = fracDigits[static_cast<size_t>(p.maxDec)] >= '5';
        fracDigits.resize(static_cast<size_t>(p.maxDec));
        if (up && Increment(fracDigits)) {
            if (Increment(intDigits)) intDigits.insert(intDigits.begin(), '1');
        }
    }

    size_t firstNonZero = intDigits.find_first_not_of('0');
    intDigits.erase(0, firstNonZero == std::string::npos ? intDigits.size() : firstNonZero);
    bool isZero = intDigits.empty() && fracDigits.find_first_not_of('0') == std::string::npos;
    if (intDigits.size() < static_cast<size_t>(p.minInt))
        intDigits.insert(0, static_cast<size_t>(p.minInt) - intDigits.size(), '0');
    while (fracDigits.size() > static_cast<size_t>(p.minDec) && fracDigits.back() == '0') fracDigits.pop_back();

    std::string out;
    if (value < 0 && !isZero) out.push_back('-');
    out += intDigits;
    if (!fracDigits.empty()) {
        out.push_back(DecimalSign());
        out += fracDigits;
    }
    return out;  // "#" alone with a zero value writes nothing, as the classic form does

}

std::string SingleToText(float value) {
    if (!std::isfinite(value)) return NonFinite(value);
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.7g", static_cast<double>(value));
    return NumberToText(std::strtod(digits, nullptr));
}

std::string NumberToText(double value) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    Digits15 d = ToDigits15(std::fabs(value));
    std::string& digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out;
    if (value < 0) out.push_back('-');
    if (d.exp10 < -4 || d.exp10 >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back(DecimalSign());
            out.append(digits, 1);
        }
        char expo[16];
        std::snprintf(expo, sizeof expo, "E%c%02d", d.exp10 < 0 ? '-' : '+', std::abs(d.exp10));
        out += expo;
    } else if (d.exp10 >= 0) {
        size_t n = static_cast<size_t>(d.exp10) + 1;
        if (digits.size() <= n) {
            out += digits;
            out.append(n - digits.size(), '0');
        } else {
            out.append(digits, 0, n);
            out.push_back(DecimalSign());
            out.append(digits, n);
        }
    } else {
        out.push_back('0');
        out.push_back(DecimalSign());
        out.append(static_cast<size_t>(-d.exp10 - 1), '0');
        out += digits;
    }
    return out;
}

std::optional<int32_t> TryRoundToLong(double value) { return TryRoundHalfEven<int32_t>(value); }
std::optional<int16_t> TryRoundToInteger(double value) { return TryRoundHalfEven<int16_t>(value); }

int32_t RoundToLong(double value) {
    auto r = TryRoundToLong(value);
    if (!r) throw Overflow("Overflow: " + NumberToText(value) + " does not fit a 32-bit whole number");
    return *r;
}

int16_t RoundToInteger(double value) {
    auto r = TryRoundToInteger(value);
    if (!r) throw Overflow("Overflow: " + NumberToText(value) + " does not fit a 16-bit whole number");
    return *r;
}

double ReadLeadingNumber(std::string_view text) {
    size_t end = 0;
    bool found = false;
    double v = ScanNumber(text, end, found);
    return v == 0 ? 0.0 : v;  // no "-0"
}

std::optional<double> ReadWholeNumber(std::string_view text) {
    size_t end = 0;
    bool found = false;
    double v = ScanNumber(text, end, found);
    if (!found) return std::nullopt;
    for (size_t i = end; i < text.size(); ++i)
        if (!IsBlank(text[i])) return std::nullopt;
    return v == 0 ? 0.0 : v;
}

std::optional<double> ParseLocaleNumber(std::string_view text) {
    size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return std::nullopt;
    text = text.substr(b, text.find_last_not_of(' ') - b + 1);

    const char sign = DecimalSign();
    std::string number;
    size_t i = 0;
    if (text[i] == '+' || text[i] == '-') number.push_back(text[i++]);
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (IsDigit(c)) {
            number.push_back(c);
            digits = true;
        } else if (c == sign && !point) {
            number.push_back('.');
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        number.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.push_back(text[i++]);
        bool expDigits = false;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            number.push_back(text[i]);
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    double v = CStrtod(number);
    if (!std::isfinite(v)) return std::nullopt;
    return v == 0 ? 0.0 : v;
}

}  // namespace plat
