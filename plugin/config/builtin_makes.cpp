#include "plugin/config/builtin_makes.h"

#include <memory>

#include "host/registry_key.h"
#include "host/translate_text.h"
#include "platform/ui/controls.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"

namespace plugin {

namespace {

constexpr const char* kSection = "Pelmo2";

}  // namespace

void FillBuiltInMakes(plat::ui::ListControl& list) {
    for (int32_t index = 0; index < makes::kFirstCustomMake; ++index)
        plat::PassOver([&] { list.AddItem(BuiltInMakeName(index), index); });
}

std::string BuiltInMakeName(int32_t index) {
    if (index < 0 || index >= makes::kFirstCustomMake) return {};
    return host::TranslateText(kSection, makes::BuiltInMakeNames()[static_cast<size_t>(index)]);
}

void GetDefaultMakeSettings(int32_t& makeIndex, std::string& customMakeName, bool& downloadPref) {
    const std::string_view key = makes::kRegistryKey;
    plat::PassOver([&] { makeIndex = plat::RoundToLong(makes::ValText(GetRegistryString(key, kDefaultMakeLocation))); });
    plat::PassOver([&] { customMakeName = GetRegistryString(key, kDefaultCustomMakeName); });
    plat::PassOver(
        [&] { downloadPref = plat::RoundToLong(makes::ValText(GetRegistryString(key, kDefaultDownloadPref))) == 1; });
}

std::string GetRegistryString(std::string_view keyPath, std::string_view valueName) {
    return plat::PassOver(
        [&] {
            auto key = std::make_shared<host::CRegistryKey>();
            key->Open(host::HKey::LocalMachine, keyPath);
            return key->ReadValue(valueName);
        },
        std::string());
}

void SetRegistryValue(std::string_view keyPath, std::string_view valueName, std::string_view value) {
    plat::PassOver([&] {
        auto key = std::make_shared<host::CRegistryKey>();
        // Created first, so that a fresh machine keeps the value too.
        key->Create(host::HKey::LocalMachine, keyPath);
        key->WriteValue(valueName, value);
    });
}

}  // namespace plugin
