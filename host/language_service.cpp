#include "host/language_service.h"

#include <cctype>
#include <cstdlib>

#include "host/host_application.h"
#include "platform/com/com.h"
#include "platform/com/fs.h"
#include "platform/values/text.h"

namespace host {

namespace {

constexpr std::string_view kDefaultLanguage = "English";

// An id is ASCII letters and digits with at least one digit ("20021",
// "T1708"); a word before "::" (a name such as "abc::def") is no id.
bool IsTextId(std::string_view s) {
    bool digit = false;
    for (char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u) || u >= 0x80) return false;
        digit = digit || std::isdigit(u);
    }
    return digit;
}

// Language and section names become path parts: nothing that leaves the folder.
bool SafePathPart(std::string_view s) {
    return !s.empty() && s != "." && s != ".." && s.find('/') == std::string_view::npos &&
           s.find('\0') == std::string_view::npos;
}

std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char next = s[i + 1];
            if (next == 'n') { out += '\n'; ++i; continue; }
            if (next == 't') { out += '\t'; ++i; continue; }
            if (next == '\\') { out += '\\'; ++i; continue; }
        }
        out += s[i];
    }
    return out;
}

std::map<std::string, std::string> ParseTable(std::string_view bytes) {
    std::map<std::string, std::string> table;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string key = plat::Trim(line.substr(0, eq));
        if (key.empty() || key[0] == '#') continue;
        // A later line for the same id wins, as a correction appended to a table would expect.
        table[key] = Unescape(line.substr(eq + 1));
    }
    return table;
}

// "%%1", "%%2", ... by the arguments, in one pass so that argument texts are
// never substituted again.
std::string ReplaceArguments(std::string_view text, const std::vector<plat::Variant>& args) {
    if (args.empty()) return std::string(text);
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "%%") == 0) {
            size_t j = i + 2;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            if (j > i + 2 && j - i - 2 <= 4) {
                size_t n = std::stoul(std::string(text.substr(i + 2, j - i - 2)));
                if (n >= 1 && n <= args.size()) {
                    try {
                        out += args[n - 1].AsString();
                    } catch (const std::exception&) {
                        // An argument without a text form shows as nothing.
                    }
                    i = j;
                    continue;
                }
            }
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

std::string CLanguageService::Translate(std::string_view section, std::string_view text,
                                        const std::vector<plat::Variant>& args) {
    size_t sep = text.find("::");
    if (sep == std::string_view::npos || !IsTextId(text.substr(0, sep))) return ReplaceArguments(text, args);
    std::string id(text.substr(0, sep));
    std::string_view result = text.substr(sep + 2);
    if (const auto* table = Table(section)) {
        auto it = table->find(id);
        if (it != table->end()) result = it->second;
    }
    return ReplaceArguments(result, args);
}

void CLanguageService::TranslateControls(std::string_view section, const std::vector<ICaptioned*>& controls) {
    for (ICaptioned* control : controls)
        if (control) control->SetCaption(Translate(section, control->Caption()));
}

void CLanguageService::SetLanguage(std::string_view language) {
    std::string name = plat::Trim(language);
    if (name.empty()) name = kDefaultLanguage;
    if (languageSet_ && name == language_) return;
    language_ = std::move(name);
    languageSet_ = true;
    tables_.clear();
}

std::string CLanguageService::Language() {
    if (!languageSet_) {
        std::string name;
        try {
            name = HostApplication().Settings()->Value("GUI").AsString();
        } catch (const std::exception&) {
            // No readable setting: the default language.
        }
        SetLanguage(name);
    }
    return language_;
}

std::string CLanguageService::LanguagesRoot() const {
    if (!root_.empty()) return root_;
    if (const char* env = std::getenv("ORVIK_LANGUAGES_DIR"); env && *env) return env;
    static const int anchor = 0;
    return plat::fs::Join(plat::fs::FolderOf(plat::ModulePath(&anchor)), "languages");
}

void CLanguageService::SetLanguagesRoot(std::string folder) {
    root_ = std::move(folder);
    tables_.clear();
}

void CLanguageService::Reload() { tables_.clear(); }

const std::map<std::string, std::string>* CLanguageService::Table(std::string_view section) {
    // First, since fixing the language at first use empties the cache.
    std::string language = Language();
    auto it = tables_.find(section);
    if (it == tables_.end()) {
        std::map<std::string, std::string> table;
        if (SafePathPart(language) && SafePathPart(section)) {
            std::string path = plat::fs::Join(plat::fs::Join(LanguagesRoot(), language), std::string(section) + ".lng");
            std::string bytes;
            if (plat::fs::ReadFile(path, bytes)) table = ParseTable(bytes);
        }
        it = tables_.emplace(std::string(section), std::move(table)).first;
    }
    return &it->second;
}

CLanguageService& LanguageService() {
    static CLanguageService service;
    return service;
}

}  // namespace host
