#include "plugin/shell/plugin_setup.h"

#include "makes/make_utils.h"
#include "platform/values/pass_over.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

void CPluginSetup::ConnectConfigChanged(std::weak_ptr<const void> subscriber, std::function<void()> handler) {
    if (!handler || subscriber.expired()) return;
    subscriptions_.push_back(Subscription{std::move(subscriber), std::move(handler)});
}

int32_t CPluginSetup::ConfigChangedSubscribers() const {
    int32_t alive = 0;
    for (const Subscription& s : subscriptions_)
        if (!s.subscriber.expired()) ++alive;
    return alive;
}

void CPluginSetup::RaiseConfigChanged() {
    std::erase_if(subscriptions_, [](const Subscription& s) { return s.subscriber.expired(); });
    // A handler may subscribe or drop others: walk a copy, and ask each
    // subscriber again right before its call.
    const std::vector<Subscription> now = subscriptions_;
    for (const Subscription& s : now) {
        auto alive = s.subscriber.lock();
        if (!alive) continue;
        plat::PassOver([&] { s.handler(); });
    }
}

std::shared_ptr<host::IDialog> CPluginSetup::CreateDialog() {
    std::shared_ptr<host::IDialog> dialog;
    plat::PassOver([&] { dialog = Factory().NewSetupDialog(); });
    auto dialogHost = std::dynamic_pointer_cast<ISetupDialogHost>(dialog);
    if (!dialogHost) return nullptr;
    plat::PassOver([&] { dialogHost->Load(); });
    plat::PassOver([&] { ctrlPanel_ = dialogHost->CreateSetupCtrl(kSetupPageProgId, "isc"); });
    plat::PassOver([&] {
        dialog->Initialize(plat::Variant(std::static_pointer_cast<plat::Object>(shared_from_this())));
    });
    return dialog;
}

void CPluginSetup::RegLoad(const plat::Variant&, const plat::Variant&) {
    plat::PassOver(
        [&] { GetDefaultMakeSettings(defaultOximeterLoc_, defaultCustomMakeName_, defaultDownloadPref_); });
    RaiseConfigChanged();
}

void CPluginSetup::RegSave(const plat::Variant&, const plat::Variant&) {
    const std::string_view key = makes::kRegistryKey;
    plat::PassOver([&] { SetRegistryValue(key, kDefaultMakeLocation, std::to_string(defaultOximeterLoc_)); });
    plat::PassOver([&] { SetRegistryValue(key, kDefaultCustomMakeName, defaultCustomMakeName_); });
    plat::PassOver([&] { SetRegistryValue(key, kDefaultDownloadPref, defaultDownloadPref_ ? "1" : "0"); });
    RaiseConfigChanged();
}

}  // namespace plugin
