#pragma once
// XCustomMake: the embeddable view that shows one custom oximeter make (light
// values, light level, file name and its R-curve as SpO2 / R value rows) and
// lets the user look through the other custom makes by name. It only shows:
// the boxes are read-only, the grid takes no edits, and neither the make nor
// the collection handed in is ever changed. The make-details dialog hosts it
// and, when closed, gives back the name the list shows.

#include <cstdint>
#include <string>

#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/grid.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"

namespace plugin {

class XCustomMake : public plat::ui::UserControl {
public:
    // List modes: the user may pick another make (1, 2), or the list is locked (3).
    static constexpr int32_t kModeLocked = 3;
    // Grid rows: a header and one row per SpO2 from 50 to 100.
    static constexpr int32_t kFirstSpO2 = makes::kFirstSpO2;
    static constexpr int32_t kLastSpO2 = makes::kLastSpO2;
    static constexpr int32_t kValueCol = 2;

    // Translates its captions and shows an empty, disabled grid with the SpO2 column filled.
    XCustomMake();

    // Lists the makes' names, selects the given make's entry (letter case
    // ignored) and shows the given make. `index` is accepted and not used.
    // Either may be empty.
    void Initialize(int32_t index, const makes::OximeterMakePtr& make, const makes::MakeListPtr& makeList,
                    int32_t mode);
    // The text the make list shows now ("" when nothing is selected).
    std::string SelectedOximeterMakeName() const;
    // The make shown now (nullptr when none).
    const makes::OximeterMakePtr& ShownMake() const { return shown_; }

private:
    void cboMakeName_Click();
    void ShowMake(const makes::OximeterMakePtr& make);
    void ShowRCurve(const makes::OximeterMakePtr& make);
    void SetBoxesReadOnly();
    void LayOut();

    plat::ui::Frame& fraSettings = Add<plat::ui::Frame>("fraSettings");
    plat::ui::Label& lblCustom = Add<plat::ui::Label>("lblCustom", &fraSettings);
    plat::ui::ComboBox& cboMakeName = Add<plat::ui::ComboBox>("cboMakeName", &fraSettings);
    plat::ui::Label& lblRedDC = Add<plat::ui::Label>("lblRedDC", &fraSettings);
    plat::ui::TextBox& txtRDC = Add<plat::ui::TextBox>("txtRDC", &fraSettings);
    plat::ui::Label& lblIRDC = Add<plat::ui::Label>("lblIRDC", &fraSettings);
    plat::ui::TextBox& txtIRDC = Add<plat::ui::TextBox>("txtIRDC", &fraSettings);
    plat::ui::Label& lblIRAC = Add<plat::ui::Label>("lblIRAC", &fraSettings);
    plat::ui::TextBox& txtIRAC = Add<plat::ui::TextBox>("txtIRAC", &fraSettings);
    plat::ui::Label& lblLightLevel = Add<plat::ui::Label>("lblLightLevel", &fraSettings);
    plat::ui::TextBox& txtLightLevel = Add<plat::ui::TextBox>("txtLightLevel", &fraSettings);
    plat::ui::Label& lblTLC = Add<plat::ui::Label>("lblTLC", &fraSettings);
    plat::ui::TextBox& txtTLC = Add<plat::ui::TextBox>("txtTLC", &fraSettings);
    plat::ui::Label& lblR = Add<plat::ui::Label>("lblR", &fraSettings);
    plat::ui::TextBox& txtFile = Add<plat::ui::TextBox>("txtFile", &fraSettings);
    plat::ui::Frame& fraRValue = Add<plat::ui::Frame>("fraRValue");
    plat::ui::Grid& tliRValue = Add<plat::ui::Grid>("tliRValue", &fraRValue);

    ServerLock lock_;
    makes::OximeterMakePtr shown_;
    makes::MakeListPtr makes_;
};

}  // namespace plugin
