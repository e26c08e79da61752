#pragma once
// XPluginSetup: the settings page of the plug-in's defaults (CPluginSetup):
// the default oximeter make (the ten built-in makes, then the custom makes of
// the make folder), a viewer of the chosen custom make's R-curve, and whether
// a custom R-curve is sent before the test. Every choice goes straight into
// the CPluginSetup being edited and is told to the host as "Change".
//
// CPluginSetup::CreateDialog adds it by ProgID "OrvikPelmo2.XPluginSetup" to
// the element setup dialog and initialises it with the settings object.

#include <cstdint>
#include <memory>

#include "host/test_element.h"
#include "host/ui_interfaces.h"
#include "host/view/x_help_text.h"
#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class CPluginSetup;

class XPluginSetup : public plat::ui::UserControl, public host::ICustomControl {
public:
    // Position of the first custom make in the make list.
    static constexpr int32_t kFirstCustomPosition = makes::kFirstCustomMake;

    XPluginSetup();

    // ICustomControl.
    std::shared_ptr<host::ICallBack> CallBack() const override { return callBack_; }
    void SetCallBack(std::shared_ptr<host::ICallBack> callBack) override { callBack_ = std::move(callBack); }
    host::WindowHandle HWnd() const override { return hWnd(); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    // Stored and returned only; the page stays editable.
    bool Locked() const override { return locked_; }
    void SetLocked(bool locked) override { locked_ = locked; }
    // Takes the CPluginSetup to edit, reloads its stored defaults, lists the
    // makes and selects the default make. A stored default that names no
    // listed make (a custom make gone, an index outside the built-in makes)
    // falls back to the first built-in make, and "DefaultMakeLocation" is
    // written as "0" at once. Raises no "Change".
    void Initialize(const plat::Variant& value) override;
    void Refresh() override;
    void SetFocus() override {}

    // Keeps the element (nothing else).
    void Initialize(const host::TestElementPtr& element) { element_ = element; }
    // The viewer and the download box serve custom makes only.
    void AdjustCustomMakeControls();

private:
    void cboDefaultOximeter_Click();
    void chkDownloadCustom_Click();
    void cmdEditRcurve_Click();
    void RaiseChange();
    void SelectByName(const std::string& name);

    plat::ui::Frame& fraMTISettings = Add<plat::ui::Frame>("fraMTISettings");
    plat::ui::Label& lblOximeterMake = Add<plat::ui::Label>("lblOximeterMake", &fraMTISettings);
    plat::ui::ComboBox& cboDefaultOximeter = Add<plat::ui::ComboBox>("cboDefaultOximeter", &fraMTISettings);
    plat::ui::CommandButton& cmdEditRcurve = Add<plat::ui::CommandButton>("cmdEditRcurve", &fraMTISettings);
    plat::ui::CheckBox& chkDownloadCustom = Add<plat::ui::CheckBox>("chkDownloadCustom", &fraMTISettings);
    std::shared_ptr<host::XHelpText> helpText_ = std::make_shared<host::XHelpText>();
    plat::ui::ObjectControl& xhtHelpText = AddObject("xhtHelpText", helpText_);

    ServerLock lock_;
    std::shared_ptr<host::ICallBack> callBack_;
    bool locked_ = false;
    std::shared_ptr<CPluginSetup> setup_;
    bool loading_ = false;
    makes::MakeListPtr customMakes_;
    host::TestElementPtr element_;
};

}  // namespace plugin
