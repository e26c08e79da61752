#pragma once
// Runs one statement of a member the way the make library's handlers do: a
// failing statement is reported (traced in the editor build) and skipped. An
// AbortError (a stalled wait, a failing test harness) is not the statement's
// failure and goes on up.

#include <exception>
#include <string_view>

#include "makes/trace.h"
#include "platform/values/abort_error.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

template <class F>
bool RunStep(std::string_view module, std::string_view procedure, int line, F&& statement) {
    try {
        statement();
        return true;
    } catch (const plat::AbortError&) {
        throw;
    } catch (const std::exception& e) {
        try { ReportStepFailure(e.what(), module, procedure, line); } catch (...) {}
    } catch (...) {
        try { ReportStepFailure("Unknown error", module, procedure, line); } catch (...) {}
    }
    return false;
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
