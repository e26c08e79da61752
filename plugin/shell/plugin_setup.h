#pragma once
// CPluginSetup: the plug-in's settings, the defaults a new SpO2 simulation test
// starts from. Loaded from and saved to the registry by the host (ISetup), edited
// in place by the settings page, and followed by every SpO2 configuration
// through ConfigChanged.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/test_element.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CPluginSetup : public plat::Object, public host::ISetup {
public:
    // Make index of the default make: 0 to 9 a built-in make, 10 and up a custom make.
    int32_t DefaultOximeterLoc() const { return defaultOximeterLoc_; }
    void SetDefaultOximeterLoc(int32_t value) { defaultOximeterLoc_ = value; }
    // Send the custom make's R-curve before the test.
    bool DefaultDownloadPref() const { return defaultDownloadPref_; }
    void SetDefaultDownloadPref(bool value) { defaultDownloadPref_ = value; }
    // The default make's name as the settings page last showed it.
    const std::string& DefaultCustomMakeName() const { return defaultCustomMakeName_; }
    void SetDefaultCustomMakeName(std::string value) { defaultCustomMakeName_ = std::move(value); }

    // ConfigChanged: `handler` runs on every change while `subscriber` lives.
    // The settings object holds the subscriber only weakly, so the handler must
    // not hold it strongly either (capture a weak_ptr or a plain pointer).
    void ConnectConfigChanged(std::weak_ptr<const void> subscriber, std::function<void()> handler);
    // The number of subscribers still alive.
    int32_t ConfigChangedSubscribers() const;

    // ISetup
    bool HasDialog() const override { return true; }
    plat::Variant Settings() const override { return {}; }
    void SetSettings(const plat::Variant&) override {}
    // A new element setup dialog holding the settings page "OrvikPelmo2.XPluginSetup"
    // (control name "isc"), initialised with this object; nullptr when the
    // dialog cannot be made. The page is held only weakly (its dialog owns it).
    std::shared_ptr<host::IDialog> CreateDialog() override;
    // Reads the three defaults from the registry, then raises ConfigChanged.
    void RegLoad(const plat::Variant& first, const plat::Variant& second) override;
    // Writes the three defaults to the registry, then raises ConfigChanged.
    void RegSave(const plat::Variant& first, const plat::Variant& second) override;

    // The page that the last CreateDialog added, while it lives.
    plat::ObjectPtr CtrlPanel() const { return ctrlPanel_.lock(); }

    static constexpr const char* kSetupPageProgId = "OrvikPelmo2.XPluginSetup";

private:
    struct Subscription {
        std::weak_ptr<const void> subscriber;
        std::function<void()> handler;
    };
    void RaiseConfigChanged();

    ServerLock lock_;
    int32_t defaultOximeterLoc_ = 0;
    bool defaultDownloadPref_ = false;
    std::string defaultCustomMakeName_;
    std::weak_ptr<plat::Object> ctrlPanel_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace plugin
