#pragma once
// The plug-in's one generic dialog: it holds one settings page, added at run
// time by ProgID, and serves the host's IDialog by passing each member on to
// the page's ICustomControl or by moving the page. The window itself is never
// shown by its own members: the page shows only once the host has docked it.
//
//   auto dialog = std::make_shared<FElementSetup>();
//   dialog->Load();
//   dialog->CreateSetupCtrl("OrvikPelmo2.XPluginSetup", "isc");
//   dialog->Initialize(plat::Variant(settings));
//   host->Use(std::static_pointer_cast<host::IDialog>(dialog));  // Dock, Show, Move ... Unload
//
// Every member passes over a failure inside it. After Unload every member
// does nothing (IsDocked and Locked answer false, CallBack nothing).

#include <memory>
#include <string>

#include "host/ui_interfaces.h"
#include "platform/ui/form.h"
#include "plugin/factory/server_lock.h"
#include "plugin/factory/plugin_factory.h"

namespace plugin {

class FElementSetup : public plat::ui::Form, public host::IDialog, public ISetupDialogHost {
public:
    FElementSetup();

    // Adds the page of `progId` under `name` and serves it from now on; an
    // empty ProgID adds nothing. Returns the page's object (nullptr when none).
    plat::ObjectPtr CreateSetupCtrl(const std::string& progId, const std::string& name) override;
    void Load() override;

    // IDialog.
    std::shared_ptr<host::ICallBack> CallBack() const override;
    void SetCallBack(std::shared_ptr<host::ICallBack> callBack) override;
    bool IsDocked() const override;
    bool Locked() const override;
    void SetLocked(bool locked) override;
    void Initialize(const plat::Variant& value) override;
    void Hide() override;
    void Show(const plat::Variant& argument) override;
    void Dock(host::WindowHandle parent) override;
    void UnDock() override;
    void Unload() override;
    void Move(float left, float top, float width, float height) override;
    void Refresh() override;
    void SetFocus() override;

    // The page's extender on this window (nullptr when none).
    std::shared_ptr<plat::ui::ObjectControl> SetupControl() const { return control_; }

private:
    bool Serving() const { return !unloaded_ && customControl_ != nullptr; }
    void GiveBackPage();

    bool docked_ = false;
    bool unloaded_ = false;
    std::shared_ptr<plat::ui::ObjectControl> control_;
    std::shared_ptr<host::ICustomControl> customControl_;
    ServerLock lock_;
};

}  // namespace plugin
