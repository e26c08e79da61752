#include "makes/trace.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

void Trace(const std::vector<std::string>&) {}

std::string TraceText(std::string_view description, std::string_view module, std::string_view procedure, int line) {
    std::string text(description);
    text += "\r\nin Tamblin.";
    text += module;
    text += '.';
    text += procedure;
    text += " at line ";
    text += std::to_string(line);
    return text;
}

void ReportStepFailure(std::string_view description, std::string_view module, std::string_view procedure, int line) {
    if constexpr (!kPluginBuild) Trace({TraceText(description, module, procedure, line)});
}

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
