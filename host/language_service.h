#pragma once
// The host's language service. Texts are "id::English default" (for example
// "20021::Custom oximeter", or with letters in the id "T1708::Comment"); an id
// is letters and digits with at least one digit. Translate returns the current language's text for
// the id, or the English default when the language's table lacks it. A text
// without an id (a bare word) comes back as it is. "%%1", "%%2", ... are
// replaced by the arguments.
//
// Language tables are files <root>/<Language>/<section>.lng, e.g.
// languages/German/Pelmo2.lng, of lines "id=text". Blank lines and lines
// starting with "#" are skipped; in a text "\n" stands for a line break,
// "\t" for a tab and "\\" for a backslash. The root is $ORVIK_LANGUAGES_DIR,
// else the folder "languages" beside the host library.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/values/variant.h"

namespace host {

// A control whose caption the language service can translate (the UI layer
// adapts its controls to this).
class ICaptioned {
public:
    virtual ~ICaptioned() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
};

class CLanguageService {
public:
    std::string Translate(std::string_view section, std::string_view text,
                          const std::vector<plat::Variant>& args = {});
    // Replaces each control's caption by its translation.
    void TranslateControls(std::string_view section, const std::vector<ICaptioned*>& controls);

    // The current language: at first use the host setting "GUI" (default
    // "English"). An empty name selects "English".
    void SetLanguage(std::string_view language);
    std::string Language();

    std::string LanguagesRoot() const;
    // Points the service at another folder of language tables (tests).
    void SetLanguagesRoot(std::string folder);
    // Forgets loaded tables, so that edited files are read again.
    void Reload();

private:
    const std::map<std::string, std::string>* Table(std::string_view section);

    bool languageSet_ = false;
    std::string language_;
    std::string root_;  // "" means the default root
    // Loaded tables by section name (for the current language only).
    std::map<std::string, std::map<std::string, std::string>, std::less<>> tables_;
};

// The process-wide language service.
CLanguageService& LanguageService();

}  // namespace host
