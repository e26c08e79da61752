// The windows of the plug-in's flavour: every kind of control the renderer
// shows, and the plug-in's own windows.
#include "bench/render/draw_plug_in_windows.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/render/draw_config_view.h"
#include "bench/render/draw_and_unload.h"
#include "bench/render/draw_dialogs.h"
#include "bench/render/draw_settings_windows.h"
#include "bench/render/draw_results.h"
#include "bench/render/draw_test_guide.h"
#include "platform/com/registry.h"
#include "platform/qt/qt_renderer.h"
#include "platform/ui/ui.h"
#include "dialogs/frm_upload_location.h"
#include "plugin/shell/x_mti_data.h"

namespace {

namespace ui = plat::ui;

// Every kind of control, as the windows use them.
class FControls : public ui::Form {
public:
    FControls() : Form("frmControls") {
        SetCaption("Controls");
        SetInnerSize(9600, 6900);
        tbrMain.Move(0, 0, 9600, 720);
        tbrMain.Add("run", "Run").SetToolTipText("Run the test");
        tbrMain.Add("", "", ui::ButtonStyle::Separator);
        tbrMain.Add("hold", "Hold", ui::ButtonStyle::Check).SetValue(true);
        tbrMain.Add("stop", "Stop").SetEnabled(false);
        lblName.SetCaption("Oximeter:");
        lblName.Move(120, 840, 1200, 285);
        txtName.SetText("Pelmo Q5 FE");
        txtName.Move(1380, 810, 2400, 315);
        cboKind.SetStyle(ui::ComboStyle::DropdownList);
        cboKind.AddItem("Adult");
        cboKind.AddItem("Neonate");
        cboKind.SetListIndex(0);
        cboKind.Move(3900, 810, 1800, 315);
        chkLog.SetCaption("Write a log");
        chkLog.SetValue(1);
        chkLog.Move(120, 1260, 2400, 285);
        fraProbe.SetCaption("Probe");
        fraProbe.Move(120, 1680, 2800, 1300);
        optFinger.SetCaption("Finger");
        optFinger.SetValue(true);
        optFinger.Move(150, 330, 2400, 285);
        optEar.SetCaption("Ear");
        optEar.Move(150, 720, 2400, 285);
        lstMakes.AddItem("Velam 3100");
        lstMakes.AddItem("Velam 4200");
        lstMakes.AddItem("Pelmo Q5");
        lstMakes.SetListIndex(1);
        lstMakes.Move(3060, 1260, 2640, 1720);
        tvwTests.Move(5880, 840, 3600, 2140);
        tvwTests.Add("", "group", "Test group").SetExpanded(true);
        tvwTests.Add("group", "spo2", "SpO2 simulation").SetBold(true);
        tvwTests.Add("group", "probe", "Probe test");
        tvwTests.SetSelectedItem(tvwTests.Find("spo2"));
        grdValues.Move(120, 3120, 6600, 2700);
        grdValues.SetRows(12);
        grdValues.SetCols(4);
        const char* heads[] = {"Point", "SpO2 %", "R value", "Result"};
        for (int c = 0; c < 4; ++c) {
            grdValues.SetCellText(0, c, heads[c]);
            grdValues.SetColWidth(c, 1500);
        }
        for (int r = 1; r < 12; ++r) {
            grdValues.SetCellText(r, 0, std::to_string(r));
            grdValues.SetCellText(r, 1, std::to_string(100 - r * 2));
            grdValues.SetCellText(r, 2, std::to_string(0.4 + r * 0.05).substr(0, 4));
            grdValues.SetCellText(r, 3, r == 4 ? "Failed" : "Passed");
            grdValues.SetCellAlignment(r, 1, 8);
        }
        grdValues.SetCellForeColor(4, 3, ui::vbRed);
        grdValues.SetCellBackColor(4, 3, static_cast<ui::Color>(0xC0FFFF));
        grdValues.SetRow(2);
        prgBusy.Move(6900, 3120, 2580, 285);
        prgBusy.SetRunning(true);
        lblNote.SetCaption("A caption\r\non two lines");
        lblNote.SetBackColor(static_cast<ui::Color>(0xC0FFFF));
        lblNote.Move(6900, 3540, 2580, 600);
        cmdOK.SetCaption("OK");
        cmdOK.SetDefault(true);
        cmdOK.Move(6900, 6000, 1200, 420);
        cmdCancel.SetCaption("Cancel");
        cmdCancel.Move(8280, 6000, 1200, 420);
    }
    ui::Toolbar& tbrMain = Add<ui::Toolbar>("tbrMain");
    ui::Label& lblName = Add<ui::Label>("lblName");
    ui::TextBox& txtName = Add<ui::TextBox>("txtName");
    ui::ComboBox& cboKind = Add<ui::ComboBox>("cboKind");
    ui::CheckBox& chkLog = Add<ui::CheckBox>("chkLog");
    ui::Frame& fraProbe = Add<ui::Frame>("fraProbe");
    ui::OptionButton& optFinger = Add<ui::OptionButton>("optFinger", &fraProbe);
    ui::OptionButton& optEar = Add<ui::OptionButton>("optEar", &fraProbe);
    ui::ListBox& lstMakes = Add<ui::ListBox>("lstMakes");
    ui::TreeView& tvwTests = Add<ui::TreeView>("tvwTests");
    ui::Grid& grdValues = Add<ui::Grid>("grdValues");
    ui::ProgressBar& prgBusy = Add<ui::ProgressBar>("prgBusy");
    ui::Label& lblNote = Add<ui::Label>("lblNote");
    ui::CommandButton& cmdOK = Add<ui::CommandButton>("cmdOK");
    ui::CommandButton& cmdCancel = Add<ui::CommandButton>("cmdCancel");
};

// A window holding an embeddable page, as the test host holds the plug-in's.
class FHolder : public ui::Form {
public:
    FHolder(std::string caption, std::shared_ptr<ui::UserControl> page, int32_t width, int32_t height)
        : Form("frmHolder") {
        SetCaption(std::move(caption));
        SetInnerSize(width, height);
        AddObject("xvbPage", std::move(page)).Move(0, 0, width, height);
    }
};

}  // namespace

int DrawPlugInWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    // Windows read their remembered values from a scratch registry: the pictures never depend on this machine.
    const auto scratch = std::filesystem::temp_directory_path() / "orvik_draw_windows.reg";
    std::filesystem::remove(scratch);
    plat::Registry::UseFile(scratch.string());
    struct Picture {
        std::string file;
        std::function<std::unique_ptr<ui::Form>()> make;
    };
    const std::vector<Picture> pictures = {
        {"controls.png", [] { return std::make_unique<FControls>(); }},
        {"plugin_mti_data.png",
         [] { return std::make_unique<FHolder>("MTI data", std::make_shared<plugin::XMTIData>(), 4700, 2000); }},
        {"plugin_upload_location.png",
         [] {
             auto dlg = std::make_unique<dialogs::frmUploadLocation>();
             dlg->Load();
             dlg->SetLightLevel(1);
             return std::unique_ptr<ui::Form>(std::move(dlg));
         }},
    };
    int failed = 0;
    for (const auto& p : pictures) {
        auto form = p.make();
        form->Load();
        failed += DrawAndUnload(renderer, *form, folder / p.file);
    }
    std::filesystem::remove(scratch);
    failed += DrawTestGuides(renderer, folder);
    failed += DrawResultGrids(renderer, folder);
    failed += DrawDialogs(renderer, folder);
    failed += DrawSettingsWindows(renderer, folder);
    failed += DrawConfigView(renderer, folder);
    failed += DrawResults(renderer, folder);
    return failed;
}
