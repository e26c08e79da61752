#pragma once
// The small modal dialog in which the user picks the simulator's custom slot
// that an uploaded R-curve goes to. Light level 1 offers the slots shown as
// "Custom #1" to "#4" (slots 0-3), any other level "#5" and "#6" (slots 4-5).
// The plug-in's dialog also carries two help labels; the editor's has none.
//
// Callers go through AskUploadSlot rather than the dialog itself.

#include <cstdint>
#include <optional>

#include "makes/oximeter_make.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "dialogs/flavour.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

class frmUploadLocation : public plat::ui::Form {
public:
    frmUploadLocation();

    // Offers the slots of the light level and selects the first.
    void SetLightLevel(int32_t lngLightLevel);
    // The position of the chosen entry, from 0.
    int32_t UploadLocation() const { return ComUploadLocation.ListIndex(); }
    // True unless the dialog was left with OK: Cancel, Esc and the close box
    // all count as Cancel.
    bool CancelClicked() const { return cancelClicked_; }

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();

    plat::ui::Label& lblUploadLocation = Add<plat::ui::Label>("lblUploadLocation");
    plat::ui::ComboBox& ComUploadLocation = Add<plat::ui::ComboBox>("ComUploadLocation");
    plat::ui::CommandButton& cmdOK = Add<plat::ui::CommandButton>("cmdOK");
    plat::ui::CommandButton& cmdCancel = Add<plat::ui::CommandButton>("cmdCancel");
#ifdef ORVIK_MAKES_PLUGIN
    plat::ui::Label& lblHelpOK = Add<plat::ui::Label>("lblHelpOK");
    plat::ui::Label& lblHelpCancel = Add<plat::ui::Label>("lblHelpCancel");
#endif
    bool cancelClicked_ = true;
};

// Asks the user for the slot (0 to 5) that a make of this light level goes
// to; nullopt when the user cancelled. The level is taken as 1 when it is 1
// and as 2 otherwise, for the offered entries and for the slot alike.
std::optional<int32_t> AskUploadSlot(int32_t lightLevel);
// The same for the make's own light level.
std::optional<int32_t> AskUploadSlot(const makes::COximeterMake& make);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
