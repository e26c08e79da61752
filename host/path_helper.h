#pragma once
// The host's path helper. Paths use "/" on this platform; "add backslash" adds
// the platform's separator.

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

class CPathHelper {
public:
    // The path with exactly one trailing separator ("a/b", "a/b/", "a/b//" ->
    // "a/b/"). The empty path stays empty; "/" stays "/".
    std::string AddBackslash(std::string_view path) const;
    // True when a regular file is at the path.
    bool FileExists(std::string_view path) const;
    // The decimal text of a whole number ("-12", "0").
    std::string LongToText(int32_t value) const;
};

// The process-wide path helper.
CPathHelper& PathHelper();

}  // namespace host
