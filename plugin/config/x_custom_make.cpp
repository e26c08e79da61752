#include "plugin/config/x_custom_make.h"

#include "host/translate_text.h"
#include "platform/ui/metrics.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/captions.h"

namespace plugin {

namespace {

constexpr const char* kSection = "Pelmo2";
constexpr int32_t kRowHeight = 240;
constexpr int32_t kValueColumnMarginPixels = 30;  // room for the vertical scroll bar

}  // namespace

XCustomMake::XCustomMake() {
    fraSettings.SetCaption("22008::Oximeter Details");
    lblCustom.SetCaption("22009::Custom R-curve");
    lblRedDC.SetCaption("22012::Red DC");
    lblIRDC.SetCaption("22013::IR DC");
    lblIRAC.SetCaption("22014::IR AC");
    lblLightLevel.SetCaption("22011::Light level");
    lblTLC.SetCaption("20043::TLC");
    lblR.SetCaption("22010::R-curve file");
    fraRValue.SetCaption("22015::R-curve");
    cboMakeName.SetStyle(plat::ui::ComboStyle::DropdownList);
    LayOut();

    cboMakeName.OnClick = [this] { cboMakeName_Click(); };
    // The read-only boxes never keep the caret: a click into one goes to the list.
    for (plat::ui::TextBox* box : {&txtRDC, &txtIRDC, &txtIRAC, &txtLightLevel, &txtTLC, &txtFile})
        box->OnGotFocus = [this] { plat::PassOver([&] { cboMakeName.SetFocus(); }); };

    // Start.
    plat::PassOver([&] { TranslateControls(kSection, *this); });
    makes_.reset();
    plat::PassOver([&] {
        tliRValue.SetRows(kLastSpO2 - kFirstSpO2 + 2);
        tliRValue.SetCols(kValueCol + 1);
        for (int32_t row = 1; row < tliRValue.Rows(); ++row) {
            tliRValue.SetCellText(row, 0, std::to_string(row + kFirstSpO2 - 1));
            tliRValue.SetRowHeight(row, kRowHeight);
        }
        tliRValue.SetCellText(0, 0, "%");
        tliRValue.SetCellText(0, kValueCol, host::TranslateText(kSection, "20020::Value"));
        tliRValue.SetColWidth(1, 0);  // not used
    });
    SetBoxesReadOnly();
    plat::PassOver([&] { tliRValue.SetEnabled(false); });
}

void XCustomMake::LayOut() {
    fraSettings.Move(0, 0, 3480, 4695);
    lblCustom.Move(120, 300, 3240, 255);
    cboMakeName.Move(120, 555, 3240, 315);
    const std::pair<plat::ui::Label*, plat::ui::TextBox*> rows[] = {
        {&lblRedDC, &txtRDC}, {&lblIRDC, &txtIRDC}, {&lblIRAC, &txtIRAC},
        {&lblLightLevel, &txtLightLevel}, {&lblTLC, &txtTLC}, {&lblR, &txtFile}};
    int32_t top = 1050;
    for (const auto& [label, box] : rows) {
        label->Move(120, top + 30, 1440, 255);
        box->Move(1620, top, 1740, 315);
        top += 420;
    }
    txtFile.Move(120, top + 255, 3240, 315);
    lblR.Move(120, top, 3240, 255);
    fraRValue.Move(3600, 0, 3495, 4695);
    tliRValue.Move(120, 300, 3255, 4275);
    tliRValue.SetTabStop(false);
    cboMakeName.SetTabIndex(0);
}

void XCustomMake::Initialize(int32_t /*index*/, const makes::OximeterMakePtr& make,
                             const makes::MakeListPtr& makeList, int32_t mode) {
    makes_ = makeList;
    plat::PassOver([&] {
        cboMakeName.Clear();
        if (makes_)
            for (const makes::OximeterMakePtr& listed : *makes_)
                if (listed) cboMakeName.AddItem(listed->Name());
    });
    if (make) {
        plat::PassOver([&] {
            for (int32_t i = 0; i < cboMakeName.ListCount(); ++i) {
                if (plat::EqualsNoCase(cboMakeName.List(i), make->Name())) {
                    cboMakeName.SetListIndex(i);
                    break;
                }
            }
        });
    }
    ShowMake(make);
    SetBoxesReadOnly();
    plat::PassOver([&] { cboMakeName.SetLocked(mode == kModeLocked); });
    plat::PassOver([&] { TranslateControls(kSection, *this); });
    plat::PassOver([&] {
        const int32_t margin = kValueColumnMarginPixels * plat::ui::Metrics().TwipsPerPixelX();
        tliRValue.SetColWidth(kValueCol, std::max(0, tliRValue.Width() - tliRValue.ColWidth(0) - margin));
    });
    plat::PassOver([&] {
        // Right, and vertically centred like the SpO2 column; the header over the values as they are.
        for (int32_t row = 0; row < tliRValue.Rows(); ++row) tliRValue.SetCellAlignment(row, kValueCol, 8);
    });
}

std::string XCustomMake::SelectedOximeterMakeName() const { return cboMakeName.Text(); }

void XCustomMake::cboMakeName_Click() {
    shown_.reset();
    if (!makes_ || makes_->Count() == 0) return;
    const std::string name = cboMakeName.Text();
    for (const makes::OximeterMakePtr& listed : *makes_) {
        if (!listed || !plat::EqualsNoCase(listed->Name(), name)) continue;
        makes::OximeterMakePtr found = listed;
        plat::PassOver([&] { found = makes_->Item(name); });
        ShowMake(found);
        return;
    }
}

void XCustomMake::ShowMake(const makes::OximeterMakePtr& make) {
    shown_ = make;
    plat::PassOver([&] {
        txtRDC.SetText(make ? std::to_string(make->RedDC()) : "");
        txtIRDC.SetText(make ? std::to_string(make->IRDC()) : "");
        txtIRAC.SetText(make ? std::to_string(make->IRAC()) : "");
        txtTLC.SetText(make ? std::to_string(make->TLC()) : "");
        txtFile.SetText(make ? make->File() : "");
        txtLightLevel.SetText(
            !make ? "" : host::TranslateText(kSection, make->LightLevel() == 1 ? "20089::Medium" : "20088::Low"));
    });
    ShowRCurve(make);
}

void XCustomMake::ShowRCurve(const makes::OximeterMakePtr& make) {
    plat::PassOver([&] {
        for (int32_t row = 1; row < tliRValue.Rows(); ++row) tliRValue.SetCellText(row, kValueCol, "");
    });
    plat::PassOver([&] { tliRValue.SetEnabled(false); });
    if (make) {
        plat::PassOver([&] {
            if (!make->RCurve()) return;
            for (const makes::CRCurveElementPtr& point : *make->RCurve()) {
                if (!point || point->spo2() < kFirstSpO2 || point->spo2() > kLastSpO2) continue;
                tliRValue.SetCellText(point->spo2() - kFirstSpO2 + 1, kValueCol, point->rvalue());
            }
        });
        plat::PassOver([&] { tliRValue.SetEnabled(true); });
    }
    plat::PassOver([&] { tliRValue.SetVisible(true); });
}

void XCustomMake::SetBoxesReadOnly() {
    for (plat::ui::TextBox* box : {&txtRDC, &txtIRDC, &txtIRAC, &txtLightLevel, &txtTLC, &txtFile})
        plat::PassOver([&] { box->SetLocked(true); });
}

}  // namespace plugin
