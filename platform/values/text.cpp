#include "platform/values/text.h"

namespace plat {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// 0-based offset of `what` in `s` from 0-based `from`, npos when absent.
template <class Eq>
size_t Find(std::string_view s, std::string_view what, size_t from, Eq eq) {
    if (what.size() > s.size()) return std::string_view::npos;
    for (size_t i = from; i + what.size() <= s.size(); ++i) {
        size_t k = 0;
        while (k < what.size() && eq(s[i + k], what[k])) ++k;
        if (k == what.size()) return i;
    }
    return std::string_view::npos;
}

bool SameChar(char a, char b) { return a == b; }
bool SameCharNoCase(char a, char b) { return Upper(a) == Upper(b); }

template <class Eq>
int InStrWith(std::string_view s, std::string_view what, int start, Eq eq) {
    if (start < 1) start = 1;
    if (s.empty() || static_cast<size_t>(start) > s.size()) return 0;
    if (what.empty()) return start;
    size_t at = Find(s, what, static_cast<size_t>(start - 1), eq);
    return at == std::string_view::npos ? 0 : static_cast<int>(at + 1);
}

template <class Eq>
std::string ReplaceWith(std::string_view s, std::string_view what, std::string_view with, Eq eq) {
    if (what.empty()) return std::string(s);
    std::string out;
    size_t from = 0;
    for (;;) {
        size_t at = Find(s, what, from, eq);
        if (at == std::string_view::npos) break;
        out.append(s.substr(from, at - from));
        out.append(with);
        from = at + what.size();
    }
    out.append(s.substr(from));
    return out;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

std::string ToUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Upper(c);
    return out;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Lower(c);
    return out;
}

std::string TrimLeft(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return std::string();
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

int InStr(std::string_view s, std::string_view what, int start) { return InStrWith(s, what, start, SameChar); }
int InStrNoCase(std::string_view s, std::string_view what, int start) { return InStrWith(s, what, start, SameCharNoCase); }

std::string Replace(std::string_view s, std::string_view what, std::string_view with) {
    return ReplaceWith(s, what, with, SameChar);
}

std::string ReplaceNoCase(std::string_view s, std::string_view what, std::string_view with) {
    return ReplaceWith(s, what, with, SameCharNoCase);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

}  // namespace plat
