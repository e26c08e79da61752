#include "plugin/results/x_html_help.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "host/host_application.h"
#include "host/path_helper.h"
#include "platform/com/fs.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace plugin {

namespace {

constexpr int32_t kOverlap = 30;  // the view's own border lies outside the control
constexpr const char* kFallbackLanguage = "English";
const char kLibraryAnchor = 0;

std::string& LibraryFolderOverride() {
    static std::string folder;
    return folder;
}

std::string LibraryFolder() {
    if (!LibraryFolderOverride().empty()) return LibraryFolderOverride();
    return plat::fs::FolderOf(plat::ModulePath(&kLibraryAnchor));
}

// A name that stays inside its folder.
bool PlainName(const std::string& name) {
    if (name.empty() || name == ".") return false;
    if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) return false;
    return name.find("..") == std::string::npos;
}

// The subfolder of `base` named `name`: that very name when it exists, else
// the first (by byte order) whose name differs from it only in letter case.
std::string FindFolder(const std::string& base, const std::string& name) {
    if (plat::fs::FolderExists(base + "/" + name)) return name;
    std::vector<std::string> matches;
    std::error_code error;
    for (std::filesystem::directory_iterator it(base, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;
        const std::string entry = it->path().filename().string();
        if (plat::EqualsNoCase(entry, name)) matches.push_back(entry);
    }
    if (matches.empty()) return {};
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

XHtmlHelp::XHtmlHelp() {
    OnResize = [this] { UserControl_Resize(); };
    plat::PassOver([&] { web_ = Controls().Add(std::string(plat::ui::kHtmlViewProgId), "web"); });
    if (web_) plat::PassOver([&] {
        UserControl_Resize();
        web_->SetVisible(true);
    });
}

std::shared_ptr<plat::ui::HtmlView> XHtmlHelp::Browser() const {
    return web_ ? web_->ObjectAs<plat::ui::HtmlView>() : nullptr;
}

void XHtmlHelp::SetLibraryFolderForTests(std::string folder) { LibraryFolderOverride() = std::move(folder); }

std::string XHtmlHelp::ResolveHelpFile(const std::string& fileName) const {
    if (!PlainName(fileName)) return {};
    std::string base;
    plat::PassOver([&] { base = host::PathHelper().AddBackslash(LibraryFolder()) + "Help"; });
    if (base.empty()) return {};

    std::string language;
    plat::PassOver([&] { language = plat::Trim(host::HostApplication().Settings()->Value("GUI").AsString()); });
    std::vector<std::string> languages;
    if (PlainName(language)) languages.push_back(language);
    if (!plat::EqualsNoCase(language, kFallbackLanguage)) languages.emplace_back(kFallbackLanguage);

    for (const std::string& wanted : languages) {
        std::string path;
        plat::PassOver([&] {
            const std::string folder = FindFolder(base, wanted);
            if (folder.empty()) return;
            const std::string candidate = base + "/" + folder + "/" + fileName;
            if (host::PathHelper().FileExists(candidate)) path = candidate;
        });
        if (!path.empty()) return path;
    }
    return {};
}

bool XHtmlHelp::Initialize(const std::string& fileName) {
    auto browser = Browser();
    if (!browser) return false;
    const std::string path = ResolveHelpFile(fileName);
    if (path.empty()) return false;
    bool sent = false;
    plat::PassOver([&] {
        browser->Navigate(path);
        sent = true;
    });
    return sent;
}

void XHtmlHelp::UserControl_Resize() {
    if (!web_) return;
    plat::PassOver([&] {
        web_->Move(-kOverlap, -kOverlap, ScaleWidth() + 2 * kOverlap, ScaleHeight() + 2 * kOverlap);
    });
}

}  // namespace plugin
