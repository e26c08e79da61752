#include "dialogs/frm_upload_location.h"

#include <string>

#include "host/translate_text.h"
#include "platform/values/pass_over.h"
#include "dialogs/form_captions.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace {
constexpr int32_t kSlotsPerLevel1 = 4;
constexpr int32_t kFirstLevel2Slot = 4;
}  // namespace

frmUploadLocation::frmUploadLocation() : Form("frmUploadLocation") {
    SetCaption("22002::Location");
    lblUploadLocation.SetCaption("22003::Select location");
    cmdOK.SetCaption("22006::&OK");
    cmdCancel.SetCaption("22007::&Cancel");
    ComUploadLocation.SetStyle(plat::ui::ComboStyle::DropdownList);
    cmdOK.SetDefault(true);
    cmdCancel.SetCancel(true);
    ComUploadLocation.SetTabIndex(0);
    cmdOK.SetTabIndex(1);
    cmdCancel.SetTabIndex(2);

    lblUploadLocation.Move(240, 240, 3000, 285);
    ComUploadLocation.Move(240, 600, 3000, 315);
#ifdef ORVIK_MAKES_PLUGIN
    lblHelpOK.SetCaption("22004::Click OK - To send custom R-Curve to Pelmo Q5 and continue with the test.");
    lblHelpCancel.SetCaption("22005::Click Cancel - To cancel the test.");
    lblHelpOK.SetWordWrap(true);
    lblHelpCancel.SetWordWrap(true);
    lblHelpOK.Move(240, 1080, 4200, 480);
    lblHelpCancel.Move(240, 1620, 4200, 285);
    constexpr int32_t buttonsTop = 2100;
#else
    constexpr int32_t buttonsTop = 1140;
#endif
    cmdOK.Move(1080, buttonsTop, 1500, 375);
    cmdCancel.Move(2760, buttonsTop, 1500, 375);
    SetInnerSize(4680, buttonsTop + 615);

    OnLoad = [this] { Form_Load(); };
    cmdOK.OnClick = [this] { cmdOK_Click(); };
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
}

void frmUploadLocation::Form_Load() {
    plat::PassOver([&] { TranslateFormCaptions(*this); });
}

void frmUploadLocation::SetLightLevel(int32_t lngLightLevel) {
    plat::PassOver([&] {
        ComUploadLocation.Clear();
        const std::string entry = host::TranslateText(kLanguageSection, "21000::Custom #");
        const int32_t first = lngLightLevel == 1 ? 1 : kFirstLevel2Slot + 1;
        const int32_t last = lngLightLevel == 1 ? kSlotsPerLevel1 : kFirstLevel2Slot + 2;
        for (int32_t number = first; number <= last; ++number) ComUploadLocation.AddItem(entry + std::to_string(number));
        ComUploadLocation.SetListIndex(0);
    });
}

void frmUploadLocation::cmdOK_Click() {
    cancelClicked_ = false;
    Hide();
}

void frmUploadLocation::cmdCancel_Click() {
    cancelClicked_ = true;
    Hide();
}

std::optional<int32_t> AskUploadSlot(int32_t lightLevel) {
    const int32_t level = lightLevel == 1 ? 1 : 2;
    auto dialog = std::make_shared<frmUploadLocation>();
    dialog->SetLightLevel(level);
    std::optional<int32_t> slot;
    plat::PassOver([&] {
        dialog->Show(plat::ui::ShowMode::Modal);
        if (dialog->CancelClicked()) return;
        const int32_t chosen = dialog->UploadLocation();
        const int32_t offered = level == 1 ? kSlotsPerLevel1 : 2;
        if (chosen < 0 || chosen >= offered) return;  // nothing chosen is no slot
        slot = level == 2 ? chosen + kFirstLevel2Slot : chosen;
    });
    plat::PassOver([&] { dialog->Unload(); });
    return slot;
}

std::optional<int32_t> AskUploadSlot(const makes::COximeterMake& make) { return AskUploadSlot(make.LightLevel()); }

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
