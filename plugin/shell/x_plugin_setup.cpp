#include "plugin/shell/x_plugin_setup.h"

#include "host/translate_text.h"
#include "platform/ui/object_control.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/config/captions.h"
#include "plugin/config/f_make_details.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/shell/plugin_setup.h"

namespace plugin {

namespace {
constexpr const char* kHelpText =
    "22023::These defaults will be used as the starting values in the Custom Setup property pages for test "
    "elements. Specify the default oximeter make to use for your tests. The 'View R-curve' feature can be used to "
    "view custom oximeter R-curves.";
constexpr int32_t kViewerMode = 1;
}  // namespace

XPluginSetup::XPluginSetup() {
    fraMTISettings.SetCaption("22019::Defaults");
    lblOximeterMake.SetCaption("22020::Oximeter make name");
    cmdEditRcurve.SetCaption("22021::View R-curve");
    chkDownloadCustom.SetCaption("22022::Send custom R-Curve to Pelmo Q5 before performing the test.");
    cboDefaultOximeter.SetStyle(plat::ui::ComboStyle::DropdownList);
    for (plat::ui::Control* control :
         {static_cast<plat::ui::Control*>(&fraMTISettings), static_cast<plat::ui::Control*>(&lblOximeterMake),
          static_cast<plat::ui::Control*>(&cboDefaultOximeter), static_cast<plat::ui::Control*>(&cmdEditRcurve),
          static_cast<plat::ui::Control*>(&chkDownloadCustom)})
        control->SetFontName("Tahoma");

    fraMTISettings.Move(120, 120, 6360, 1920);
    lblOximeterMake.Move(240, 360, 2400, 255);
    cboDefaultOximeter.Move(240, 645, 3600, 315);
    cmdEditRcurve.Move(4080, 615, 1800, 375);
    chkDownloadCustom.Move(240, 1200, 5880, 495);
    xhtHelpText.Move(120, 2160, 6360, 1080);
    cboDefaultOximeter.SetTabIndex(0);
    cmdEditRcurve.SetTabIndex(1);
    chkDownloadCustom.SetTabIndex(2);

    cboDefaultOximeter.OnClick = [this] { cboDefaultOximeter_Click(); };
    chkDownloadCustom.OnClick = [this] { chkDownloadCustom_Click(); };
    cmdEditRcurve.OnClick = [this] { cmdEditRcurve_Click(); };

    plat::PassOver([&] { TranslateControls(kLanguageSection, *this); });
    plat::PassOver([&] { helpText_->SetText(host::TranslateText(kLanguageSection, kHelpText)); });
    AdjustCustomMakeControls();
}

bool XPluginSetup::Visible() const { return Extender() && Extender()->Visible(); }

void XPluginSetup::SetVisible(bool visible) {
    if (Extender()) Extender()->SetVisible(visible);
}

void XPluginSetup::Refresh() { NotifyHostChanged(); }

void XPluginSetup::Initialize(const plat::Variant& value) {
    loading_ = true;
    plat::PassOver([&] { setup_ = value.As<CPluginSetup>(); });
    if (setup_) plat::PassOver([&] { setup_->RegLoad(plat::Variant(0), plat::Variant(std::string())); });
    plat::PassOver([&] { customMakes_ = makes::ReadMakes(makes::kRegistryKey); });

    bool nameFound = false;
    const std::string storedName = setup_ ? setup_->DefaultCustomMakeName() : std::string();
    plat::PassOver([&] {
        cboDefaultOximeter.Clear();
        FillBuiltInMakes(cboDefaultOximeter);
        if (!customMakes_) return;
        for (const makes::OximeterMakePtr& make : *customMakes_) {
            if (!make) continue;
            cboDefaultOximeter.AddItem(make->Name());
            if (plat::EqualsNoCase(make->Name(), storedName)) nameFound = true;
        }
    });

    if (setup_) {
        const int32_t storedIndex = setup_->DefaultOximeterLoc();
        if (nameFound) {
            SelectByName(storedName);
        } else if (storedIndex >= 0 && storedIndex < kFirstCustomPosition) {
            plat::PassOver([&] { cboDefaultOximeter.SetListIndex(storedIndex); });
        } else {
            // A custom make that is gone, or an index that names no make.
            plat::PassOver([&] { cboDefaultOximeter.SetListIndex(0); });
            setup_->SetDefaultOximeterLoc(0);
            SetRegistryValue(makes::kRegistryKey, kDefaultMakeLocation, "0");
        }
        plat::PassOver([&] { chkDownloadCustom.SetValue(setup_->DefaultDownloadPref() ? 1 : 0); });
    }
    AdjustCustomMakeControls();
    loading_ = false;
}

void XPluginSetup::SelectByName(const std::string& name) {
    plat::PassOver([&] { cboDefaultOximeter.SelectText(name); });
}

void XPluginSetup::cboDefaultOximeter_Click() {
    if (setup_) {
        setup_->SetDefaultOximeterLoc(cboDefaultOximeter.ListIndex());
        setup_->SetDefaultCustomMakeName(cboDefaultOximeter.Text());
    }
    AdjustCustomMakeControls();
    RaiseChange();
}

void XPluginSetup::chkDownloadCustom_Click() {
    if (setup_) setup_->SetDefaultDownloadPref(chkDownloadCustom.Value() == 1);
    RaiseChange();
}

void XPluginSetup::AdjustCustomMakeControls() {
    const bool custom = cboDefaultOximeter.ListIndex() >= kFirstCustomPosition;
    plat::PassOver([&] { cmdEditRcurve.SetEnabled(custom); });
    plat::PassOver([&] { chkDownloadCustom.SetEnabled(custom); });
}

void XPluginSetup::RaiseChange() {
    if (!callBack_ || loading_) return;
    plat::PassOver([&] { callBack_->Raise("Change", {}); });
}

void XPluginSetup::cmdEditRcurve_Click() {
    const std::string selected = cboDefaultOximeter.Text();
    makes::OximeterMakePtr make;
    plat::PassOver([&] {
        if (!selected.empty() && customMakes_ && customMakes_->Exists(selected)) make = customMakes_->Item(selected);
    });
    const auto chosen = ChooseInMakeDetails(cboDefaultOximeter.ListIndex(), make, customMakes_, kViewerMode);
    // Only a make the operator chose with Close, and that the list holds, replaces the selection.
    if (chosen) SelectByName(*chosen);
}

}  // namespace plugin
