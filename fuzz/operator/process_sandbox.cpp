#include "fuzz/operator/process_sandbox.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/error_service.h"
#include "host/language_service.h"
#include "platform/com/registry.h"

namespace fuzz_operator {

ProcessSandbox::ProcessSandbox() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvik-fuzz-operator-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    plat::Registry::UseFile(folder_ + "/registry.reg");
    host::LanguageService().SetLanguagesRoot(folder_ + "/languages");
    host::LanguageService().SetLanguage("English");
    host::LanguageService().Reload();
    host::ErrorService().SetEcho(false);
    static const std::string removed = folder_;
    std::atexit([] {
        std::error_code ec;
        std::filesystem::remove_all(removed, ec);
    });
}

ProcessSandbox& ProcessSandbox::Instance() {
    static ProcessSandbox sandbox;
    return sandbox;
}

std::string ProcessSandbox::EmptyFolder(const std::string& name) const {
    const std::string path = folder_ + "/" + name;
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    std::filesystem::create_directories(path, ec);
    return path;
}

}  // namespace fuzz_operator
