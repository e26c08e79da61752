#include "editor/load_language.h"

#include <memory>
#include <string>

#include "host/error_service.h"
#include "host/host_application.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "platform/values/pass_over.h"

namespace editor {

namespace {

// Runs one step: true to go on with the next one. A step that fails with a
// registry error is skipped; any other failure ends the loading.
template <class F>
bool LanguageStep(F&& step) {
    return plat::PassOver(
        [&] {
            try {
                step();
            } catch (const host::HostError& e) {
                if (e.Number() != host::errors::RegistryFailed) throw;
            }
            return true;
        },
        false);
}

}  // namespace

void LoadLanguage() {
    std::string keyPath;
    std::string language;
    if (!LanguageStep([&] { keyPath = host::HostResources().Text(host::CHostResources::LanguageKeyText); })) return;
    if (!LanguageStep([&] {
            auto key = std::make_shared<host::CRegistryKey>();
            key->Open(host::HKey::LocalMachine, keyPath);
            language = key->ReadValue("GUI");
        }))
        return;
    LanguageStep([&] { host::LanguageService().SetLanguage(language); });
}

}  // namespace editor
