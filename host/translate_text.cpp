#include "host/translate_text.h"

#include "host/language_service.h"
#include "host/report.h"
#include "platform/values/pass_over.h"

namespace host {

std::string TranslateText(std::string_view section, std::string_view text, const std::vector<plat::Variant>& args,
                          const IReport* report) {
    return plat::PassOver(
        [&] {
            if (report) return report->Translate(std::string(section), std::string(text), args);
            return LanguageService().Translate(section, text, args);
        },
        std::string());
}

}  // namespace host
