#include "host/host_application.h"

#include <utility>

#include "host/registry_key.h"
#include "platform/values/text.h"

namespace host {

namespace {

// Session settings as the host keeps them: values of the host's settings key.
class HostSettings : public plat::Object, public IHostSettings {
public:
    plat::Variant Value(std::string_view name) const override {
        if (plat::EqualsNoCase(name, "GUI")) {
            CRegistryKey key;
            key.Open(HKey::LocalMachine, HostResources().Text(CHostResources::LanguageKeyText));
            std::string language = plat::Trim(key.ReadValue("GUI"));
            return language.empty() ? std::string("English") : language;
        }
        return std::string();
    }
};

}  // namespace

bool CHostApplication::ConfirmStop() const {
    // A copy: the question may replace itself while it is asked.
    const auto question = confirmStopQuestion_;
    return question ? question() : confirmStop_;
}

std::function<bool()> CHostApplication::SetConfirmStopQuestion(std::function<bool()> question) {
    std::swap(confirmStopQuestion_, question);
    return question;
}

std::shared_ptr<IHostSettings> CHostApplication::Settings() const { return std::make_shared<HostSettings>(); }

std::string CHostResources::Text(int32_t id) const {
    switch (id) {
        case LanguageKeyText: return "Software\\Velam\\Orvik\\Settings";
        default: return {};
    }
}

std::shared_ptr<CPicture> CHostResources::Picture(int32_t) const { return std::make_shared<CPicture>(); }

CHostApplication& HostApplication() {
    static CHostApplication application;
    return application;
}

CHostResources& HostResources() {
    static CHostResources resources;
    return resources;
}

CHostSession& HostSession() {
    static CHostSession session;
    return session;
}

}  // namespace host
