#include "editor/load_language.h"

#include <memory>
#include <string>

#include "host/error_service.h"
#include "host/host_application.h"
#include "host/language_service.h"
#include "host/registry_key.h"
#include "platform/values/abort_error.h"

namespace editor {

namespace {

// Runs one step: true to go on with the next one.
template <class F>
bool LanguageStep(F&& step) {
    try {
        step();
        return true;
    } catch (const plat::AbortError&) {
        throw;
    } catch (const host::HostError& e) {
        return e.Number() == host::errors::RegistryFailed;
    } catch (...) {
        return false;
    }
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
