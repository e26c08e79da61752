#pragma once
// Small text helpers with the semantics of the original's string functions.
// Text is bytes: letter case is folded for ASCII letters only.

#include <string>
#include <string_view>

namespace plat {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
// Trims blanks (spaces only, as the original's Trim does).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);
// 1-based position of `what` in `s` from 1-based `start`, 0 when absent.
int InStr(std::string_view s, std::string_view what, int start = 1);
int InStrNoCase(std::string_view s, std::string_view what, int start = 1);
// Replaces every occurrence of `what`; the no-case form matches ASCII case-insensitively.
std::string Replace(std::string_view s, std::string_view what, std::string_view with);
std::string ReplaceNoCase(std::string_view s, std::string_view what, std::string_view with);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view tail);

}  // namespace plat
