#pragma once
// Runs one statement of a member the way the make library's handlers do: a
// failing statement is reported (traced in the editor build) and skipped.

#include <exception>
#include <string_view>

#include "makes/trace.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

template <class F>
bool RunStep(std::string_view module, std::string_view procedure, int line, F&& statement) noexcept {
    try {
        statement();
        return true;
    } catch (const std::exception& e) {
        try { ReportStepFailure(e.what(), module, procedure, line); } catch (...) {}
    } catch (...) {
        try { ReportStepFailure("Unknown error", module, procedure, line); } catch (...) {}
    }
    return false;
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
