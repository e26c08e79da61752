#pragma once
// The editor program's trace routine and the error text its handlers build.
// The routine writes nothing; handlers call it and carry on.

#include <string>
#include <string_view>
#include <vector>

#include "makes/flavour.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

void Trace(const std::vector<std::string>& values);

// "<description>\r\nin <program>.<module>.<procedure> at line <line>"
std::string TraceText(std::string_view description, std::string_view module, std::string_view procedure, int line);

// What a failing step of this build does before going on: in the editor
// build it traces the error text, in the plug-in build nothing.
void ReportStepFailure(std::string_view description, std::string_view module, std::string_view procedure, int line);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
