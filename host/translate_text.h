#pragma once
// The one way windows, messages and reports read an "id::text" of a language
// table (language_service.h gives the rules).

#include <string>
#include <string_view>
#include <vector>

#include "platform/values/variant.h"

namespace host {

class IReport;

// The text in the current language of the process-wide service, or in the
// report's language when a report is given; "" when translating failed.
std::string TranslateText(std::string_view section, std::string_view text, const std::vector<plat::Variant>& args = {},
                          const IReport* report = nullptr);

}  // namespace host
