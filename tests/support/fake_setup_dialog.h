#pragma once
// The element setup dialog as a test sees it: it records the page it was
// asked for, the value it was handed and whether it was loaded and unloaded.
// Clear hasPage to have the page fail to come up.

#include <memory>
#include <string>

#include "host/ui_interfaces.h"
#include "plugin/factory/plugin_factory.h"

namespace test_support {

class FakeSetupDialog : public plat::Object, public host::IDialog, public plugin::ISetupDialogHost {
public:
    std::string progId, controlName;
    plat::Variant initializedWith;
    bool loaded = false, unloaded = false, hasPage = true;
    std::shared_ptr<plat::Object> page = std::make_shared<plat::Object>();

    void Load() override { loaded = true; }
    plat::ObjectPtr CreateSetupCtrl(const std::string& id, const std::string& name) override {
        progId = id;
        controlName = name;
        return hasPage ? page : nullptr;
    }
    std::shared_ptr<host::ICallBack> CallBack() const override { return nullptr; }
    void SetCallBack(std::shared_ptr<host::ICallBack>) override {}
    bool IsDocked() const override { return false; }
    bool Locked() const override { return false; }
    void SetLocked(bool) override {}
    void Initialize(const plat::Variant& value) override { initializedWith = value; }
    void Hide() override {}
    void Show(const plat::Variant&) override {}
    void Dock(host::WindowHandle) override {}
    void UnDock() override {}
    void Unload() override { unloaded = true; }
    void Move(float, float, float, float) override {}
    void Refresh() override {}
    void SetFocus() override {}
};

}  // namespace test_support
