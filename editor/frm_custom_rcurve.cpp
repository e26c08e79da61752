#include "editor/frm_custom_rcurve.h"

#include <array>
#include <limits>
#include <optional>

#include "editor/load_language.h"
#include "editor/make_checks.h"
#include "host/host_application.h"
#include "host/translate_text.h"
#include "platform/com/fs.h"
#include "platform/ui/metrics.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/picture.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/form_captions.h"
#include "dialogs/numeric_grid.h"

namespace editor {

namespace {

constexpr const char* kSection = dialogs::kLanguageSection;

constexpr const char* kCaption = "21010::Orvik Tamblin";
constexpr const char* kSaveTitle = "21021::Save";
constexpr const char* kAskSaveChanges = "21057::Some of the settings have been changed. Do you want to save the changes?";
constexpr int32_t kValueBoxLength = 4;
constexpr int32_t kGridRows = makes::kCurvePoints + 1;  // a header and one row per point
constexpr int32_t kRowHeight = 240;
constexpr int32_t kHeaderHeight = 340;
constexpr int32_t kSlackPixels = 30;
constexpr plat::ui::Color kRed = 255;
constexpr plat::ui::Color kBlue = 16711680;

int32_t Message(std::string_view text, int32_t style, std::string_view title) {
    return plat::ui::MsgBox(host::TranslateText(kSection, text), style, host::TranslateText(kSection, title));
}

// The box's number made whole, halves to the even one; nullopt for a value no
// 32-bit number holds (pasted text).
std::optional<int32_t> WholeValue(const plat::ui::TextBox& box) {
    return plat::TryRoundToLong(makes::ValText(box.Text()));
}

int32_t StoredValue(const plat::ui::TextBox& box) {
    const double value = makes::ValText(box.Text());
    if (auto whole = plat::TryRoundToLong(value)) return *whole;
    return value < 0 ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
}

}  // namespace

frmCustomRcurve::frmCustomRcurve() : Form("frmCustomRcurve") {
    SetCaption(kCaption);
    SetIcon(plat::ui::LoadResPicture("app"));
    lblCustomRcurve.SetCaption("22009::Custom R-Curve");
    lblRcurveFileName.SetCaption("22010::R-curve file");
    FraOximeter.SetCaption("22008::Oximeter Details");
    lblRedDC.SetCaption("22012::Red DC");
    lblIRDC.SetCaption("22013::IR DC");
    lblIRAC.SetCaption("22014::IR AC");
    lblTLC.SetCaption("20043::TLC");
    lblLightLevel.SetCaption("22011::Light level");
    FraRcurve.SetCaption("22015::R-Curve");
    lblUploading.SetCaption("21012::Sending...");
    cmdSave.SetCaption("21008::&Save");
    cmdUpload.SetCaption("21011::Se&nd");
    cmdClose.SetCaption("21009::&Close");

    imlMakeAction.Add("add", plat::ui::LoadResPicture("add"));
    imlMakeAction.Add("delete", plat::ui::LoadResPicture("delete"));
    tbrmakeAction.SetImageList(&imlMakeAction);
    tbrmakeAction.Add("Add", "", plat::ui::ButtonStyle::Default, "add");
    tbrmakeAction.Add("Delete", "", plat::ui::ButtonStyle::Default, "delete");

    cmbCustomRcurve.SetStyle(plat::ui::ComboStyle::DropdownList);
    cmbLightLevel.SetStyle(plat::ui::ComboStyle::DropdownList);
    txtRcurveFileName.SetLocked(true);
    for (plat::ui::TextBox* box : {&txtRDC, &txtIRDC, &txtIRAC, &txtTLC}) {
        box->SetMaxLength(kValueBoxLength);
        box->OnKeyPress = [this](int32_t& keyAscii) { ValueBox_KeyPress(keyAscii); };
        box->OnKeyUp = [this](int32_t& keyCode, int32_t) { ValueBox_KeyUp(keyCode); };
        box->OnChange = [this, box] { ValueBox_Change(*box); };
    }
    lblHelpMsg2.SetWordWrap(true);
    lblNote.SetWordWrap(true);
    lblWarning.SetWordWrap(true);
    lblUploading.SetFontBold(true);

    // Positions in twips; the frames' controls relative to their frame.
    tbrmakeAction.Move(0, 0, 9240, 420);
    lblCustomRcurve.Move(240, 600, 1800, 285);
    cmbCustomRcurve.Move(2160, 560, 2400, 315);
    lblRcurveFileName.Move(240, 1020, 1800, 285);
    txtRcurveFileName.Move(2160, 980, 2400, 315);
    FraOximeter.Move(120, 1440, 4560, 2280);
    const std::array<std::pair<plat::ui::Label*, plat::ui::Control*>, 5> rows{{{&lblRedDC, &txtRDC},
                                                                               {&lblIRDC, &txtIRDC},
                                                                               {&lblIRAC, &txtIRAC},
                                                                               {&lblTLC, &txtTLC},
                                                                               {&lblLightLevel, &cmbLightLevel}}};
    int32_t top = 300;
    int32_t tab = 1;
    cmbCustomRcurve.SetTabIndex(0);
    for (const auto& [label, field] : rows) {
        label->Move(120, top + 40, 1800, 285);
        field->Move(2040, top, 2280, 315);
        field->SetTabIndex(tab++);
        top += 390;
    }
    FraRcurve.Move(4800, 480, 4320, 5280);
    tliRValue.Move(120, 300, 4080, 4860);
    tliRValue.SetTabIndex(tab++);
    lblHelpMsg2.Move(240, 3840, 4440, 600);
    lblNote.Move(240, 4500, 4440, 1260);
    lblWarning.Move(240, 5880, 8880, 480);
    lblUploading.Move(240, 6540, 1500, 285);
    xtgUploading.Move(1800, 6540, 2880, 285);
    cmdSave.Move(4800, 6480, 1320, 375);
    cmdUpload.Move(6240, 6480, 1320, 375);
    cmdClose.Move(7680, 6480, 1440, 375);
    cmdSave.SetTabIndex(tab++);
    cmdUpload.SetTabIndex(tab++);
    cmdClose.SetTabIndex(tab++);
    SetInnerSize(9240, 7080);

    OnLoad = [this] { Form_Load(); };
    OnQueryUnload = [this](bool& cancel, plat::ui::UnloadMode mode) { Form_QueryUnload(cancel, mode); };
    OnUnload = [this](bool&) { Form_Unload(); };
    cmbCustomRcurve.OnClick = [this] { cmbCustomRcurve_Click(); };
    cmbLightLevel.OnClick = [this] { cmbLightLevel_Click(); };
    WireRValueGrid(tliRValue);
    tbrmakeAction.OnButtonClick = [this](plat::ui::ToolbarButton& button) { tbrMakeAction_ButtonClick(button); };
    cmdSave.OnClick = [this] { cmdSave_Click(); };
    cmdUpload.OnClick = [this] { cmdUpload_Click(); };
    cmdClose.OnClick = [this] { cmdClose_Click(); };
}

// ---- load and unload ----

void frmCustomRcurve::Form_Load() {
    lblWarning.SetForeColor(kRed);
    plat::PassOver([&] {
        host::HostSession().Start();
        sessionStarted_ = true;
    });
    LoadLanguage();
    xtgUploading.SetVisible(false);
    lblUploading.SetVisible(false);
    cmdSave.SetEnabled(false);
    lblHelpMsg2.SetFontSize(9);
    plat::PassOver([&] {
        cmbLightLevel.Clear();
        cmbLightLevel.AddItem(host::TranslateText(kSection, "20089::Medium"));
        cmbLightLevel.AddItem(host::TranslateText(kSection, "20088::Low"));
        cmbLightLevel.SetListIndex(0);
    });
    // The window's caption, then every control's.
    plat::PassOver([&] { dialogs::TranslateFormCaptions(*this); });
    plat::PassOver([&] {
        lblHelpMsg2.SetCaption(
            host::TranslateText(kSection, "21030::1. Click on any 'R-Value' to edit.") + "\r\n" +
            host::TranslateText(kSection, "21031::2. Click 'Send' to send the selected custom R-Curve to Pelmo Q5."));
    });
    plat::PassOver([&] {
        lblNote.SetForeColor(kBlue);
        lblNote.SetCaption(
            host::TranslateText(kSection, "21069::Note:") + "\r\n" +
            host::TranslateText(kSection, "21079:: 1. R-Value should be inbetween 0 and 2.50.") + "\r\n" +
            host::TranslateText(kSection,
                                "21080:: 2. First 4 download slots are for Medium light technology, and next 2 "
                                "download slots are for Low light technology."));
    });
    plat::PassOver([&] {
        lblWarning.SetCaption(
            host::TranslateText(kSection, "21083::Warning: ") +
            host::TranslateText(kSection,
                                "21081::Custom R-Curve will not produce the desired simulation, if R-Curve is "
                                "saved in the wrong slot."));
    });
    LayOutGrid();
    plat::PassOver([&] { m_Makes = makes::ReadMakes(makes::kRegistryKey); });
    if (!m_Makes) m_Makes = std::make_shared<makes::MakeList>();
    plat::PassOver([&] {
        tbrmakeAction.Button("Add").SetToolTipText(host::TranslateText(kSection, "21032::Add new oximeter"));
        tbrmakeAction.Button("Delete").SetToolTipText(host::TranslateText(kSection, "21033::Delete this oximeter"));
    });
    FillPicker();
    plat::PassOver([&] {
        for (int32_t spo2 = makes::kFirstSpO2; spo2 <= makes::kLastSpO2; ++spo2)
            tliRValue.SetCellText(spo2 - makes::kFirstSpO2 + 1, 0, std::to_string(spo2));
    });
}

void frmCustomRcurve::LayOutGrid() {
    plat::PassOver([&] {
        tliRValue.SetRows(kGridRows);
        tliRValue.SetCols(kRValueCol + 1);
    });
    tliRValue.SetSelectionMode(0);
    tliRValue.SetFocusRectStyle(0);
    tliRValue.SetUserResize(false);
    plat::PassOver([&] {
        tliRValue.SetColWidth(0, 900);
        tliRValue.SetColWidth(1, 0);  // never addressed
        const int32_t twipsPerPixel = plat::ui::Metrics().TwipsPerPixelX();
        tliRValue.SetColWidth(kRValueCol, tliRValue.Width() - tliRValue.ColWidth(0) - kSlackPixels * twipsPerPixel);
    });
    plat::PassOver([&] {
        for (int32_t row = 1; row < kGridRows; ++row) {
            tliRValue.SetCellAlignment(row, kRValueCol, 0);
            tliRValue.SetRowHeight(row, kRowHeight);
        }
        tliRValue.SetRowHeight(0, kHeaderHeight);
        tliRValue.SetCellText(0, 0, "%");
        tliRValue.SetCellText(0, kRValueCol, host::TranslateText(kSection, "21055::R-Value"));
    });
}

void frmCustomRcurve::FillPicker() {
    if (m_Makes->Count() == 0) {
        SetMakeControlsState(false);
        cmdSave.SetEnabled(false);
        FillRValueGrid();
        return;
    }
    for (const auto& make : *m_Makes)
        plat::PassOver([&] { cmbCustomRcurve.AddItem(make->Name()); });
    plat::PassOver([&] { cmbCustomRcurve.SetListIndex(0); });
}

void frmCustomRcurve::Form_QueryUnload(bool& cancel, plat::ui::UnloadMode mode) {
    // The window never unloads under a running upload: closing it cancels the upload.
    if (upload_.Active()) {
        upload_.Cancel();
        cancel = true;
        return;
    }
    if (mode == plat::ui::UnloadMode::ControlMenu && !ReadyToClose()) cancel = true;
}

void frmCustomRcurve::Form_Unload() {
    plat::PassOver([&] {
        if (sessionStarted_) host::HostSession().End();
        sessionStarted_ = false;
    });
}

// ---- showing a make ----

void frmCustomRcurve::cmbCustomRcurve_Click() {
    if (pickerQuiet_) return;
    const std::string picked = cmbCustomRcurve.Text();
    if (!EndCellEdit()) {
        if (m_CurrentMake) SelectQuietly(m_CurrentMake->Name());
        return;
    }
    if (IsSettingsGotChanged()) {
        const std::string shown = m_CurrentMake->Name();
        if (Message(kAskSaveChanges, plat::ui::vbYesNo | plat::ui::vbInformation, kSaveTitle) == plat::ui::vbYes) {
            // Unsaved edits that cannot be stored keep the shown make selected with its edits.
            if (!CheckSettings() || SaveOximeter() != SaveResult::Saved) {
                SelectQuietly(shown);
                return;
            }
        }
    }
    // A save under a new name selected its own entry meanwhile: show what the user picked.
    if (cmbCustomRcurve.Text() != picked) SelectQuietly(picked);
    plat::PassOver([&] {
        cmdSave.SetEnabled(false);
        m_CurrentMake = nullptr;
        if (m_Makes->Count() == 0) {
            ClearOximeterDetails();
            ClearGrid();
        } else {
            if (m_Makes->Exists(picked)) m_CurrentMake = m_Makes->Item(picked);
            SetOximeterMake();
        }
    });
    // A make whose file was never written stays savable.
    UpdateSave();
}

void frmCustomRcurve::SelectQuietly(const std::string& name) {
    pickerQuiet_ = true;
    plat::PassOver([&] {
        for (int32_t i = 0; i < cmbCustomRcurve.ListCount(); ++i) {
            if (cmbCustomRcurve.List(i) == name) {
                cmbCustomRcurve.SetListIndex(i);
                break;
            }
        }
    });
    pickerQuiet_ = false;
}

void frmCustomRcurve::SetOximeterMake() {
    if (m_CurrentMake) {
        const auto& make = *m_CurrentMake;
        plat::PassOver([&] {
            txtRDC.SetText(std::to_string(make.RedDC()));
            txtIRDC.SetText(std::to_string(make.IRDC()));
            txtRcurveFileName.SetText(make.File());
            txtIRAC.SetText(std::to_string(make.IRAC()));
            txtTLC.SetText(std::to_string(make.TLC()));
        });
        FillRValueGrid();
        plat::PassOver([&] { cmbLightLevel.SetListIndex(make.LightLevel() - 1); });
    } else {
        ClearOximeterDetails();
        FillRValueGrid();
    }
    // Every make is shown from its first row, whatever the one before was scrolled to.
    plat::PassOver([&] {
        tliRValue.SetTopRow(0);
        tliRValue.SetRow(1);
        tliRValue.SetCol(kRValueCol);
    });
}

void frmCustomRcurve::ClearOximeterDetails() {
    plat::PassOver([&] {
        txtRcurveFileName.SetText("");
        txtRDC.SetText("");
        txtIRAC.SetText("");
        txtIRDC.SetText("");
        txtTLC.SetText("");
        cmbLightLevel.SetListIndex(0);
    });
}

void frmCustomRcurve::ClearGrid() {
    for (int32_t row = 1; row < tliRValue.Rows(); ++row)
        plat::PassOver([&] { tliRValue.SetCellText(row, kRValueCol, ""); });
}

void frmCustomRcurve::FillRValueGrid() {
    // A cell edit still open belongs to what the grid showed before.
    plat::PassOver([&] {
        if (tliRValue.Editing())
            tliRValue.SetEditState(tliRValue.EditRow(), tliRValue.EditCol(), plat::ui::GridEditState::Cancel);
    });
    ClearGrid();
    tliRValue.SetEnabled(false);
    tliRValue.SetRedraw(false);
    if (m_CurrentMake) {
        plat::PassOver([&] {
            if (const auto& curve = m_CurrentMake->RCurve()) {
                for (const auto& point : *curve) {
                    if (point->spo2() < makes::kFirstSpO2 || point->spo2() > makes::kLastSpO2) continue;
                    tliRValue.SetCellText(point->spo2() - makes::kFirstSpO2 + 1, kRValueCol, point->rvalue());
                }
            }
            tliRValue.SetEnabled(true);
        });
    }
    tliRValue.SetRedraw(true);
}

void frmCustomRcurve::SetOximeterParams(makes::COximeterMake& make) const {
    make.SetIRDC(StoredValue(txtIRDC));
    make.SetRedDC(StoredValue(txtRDC));
    make.SetIRAC(StoredValue(txtIRAC));
    make.SetTLC(StoredValue(txtTLC));
    make.SetLightLevel(cmbLightLevel.ListIndex() + 1);
    make.SetRCurve(nullptr);
    make.SetRCurve(std::make_shared<makes::RCurveCollection>());
    for (int32_t row = 1; row < tliRValue.Rows(); ++row)
        make.AddRValue(row + makes::kFirstSpO2 - 1, NumberText(tliRValue.CellText(row, kRValueCol)));
}

bool frmCustomRcurve::IsSettingsGotChanged() const {
    if (!m_CurrentMake) return false;
    if (ShownMakeUnwritten()) return true;
    const auto& make = *m_CurrentMake;
    auto differs = [](int32_t stored, const plat::ui::TextBox& box) {
        const std::string text = plat::Trim(box.Text());
        if (text == std::to_string(stored)) return false;
        // A pasted text of other than digits ("300.", "3e2") is not the stored value, whatever it reads as.
        if (!text.empty() && !IsValueOK(text)) return true;
        const auto shown = WholeValue(box);
        return !shown || *shown != stored;
    };
    if (differs(make.RedDC(), txtRDC) || differs(make.IRDC(), txtIRDC) || differs(make.IRAC(), txtIRAC)) return true;
    if (make.LightLevel() != cmbLightLevel.ListIndex() + 1) return true;
    if (differs(make.TLC(), txtTLC)) return true;
    if (const auto& curve = make.RCurve()) {
        for (const auto& point : *curve) {
            // Only SpO2 50 to 100 has a cell to compare with.
            if (point->spo2() < makes::kFirstSpO2 || point->spo2() > makes::kLastSpO2) continue;
            const std::string shown = ShownRValue(point->spo2() - makes::kFirstSpO2 + 1);
            if (NumberText(point->StoredRvalue()) != NumberText(shown)) return true;
        }
    }
    return false;
}

std::string frmCustomRcurve::ShownRValue(int32_t row) const {
    if (tliRValue.Editing() && tliRValue.EditRow() == row && tliRValue.EditCol() == kRValueCol)
        return tliRValue.EditText();
    return tliRValue.CellText(row, kRValueCol);
}

void frmCustomRcurve::UpdateSave() {
    plat::PassOver([&] { cmdSave.SetEnabled(IsSettingsGotChanged()); });
}

void frmCustomRcurve::SetMakeControlsState(bool someMake) {
    plat::PassOver([&] {
        tbrmakeAction.Button("Delete").SetEnabled(someMake);
        cmdUpload.SetEnabled(someMake);
        if (!someMake) cmdSave.SetEnabled(false);
        for (plat::ui::TextBox* box : {&txtRDC, &txtIRAC, &txtIRDC, &txtTLC}) box->SetLocked(!someMake);
        cmbLightLevel.SetLocked(!someMake);
    });
}

// ---- edits ----

void frmCustomRcurve::ValueBox_KeyPress(int32_t& keyAscii) { LightValueKeyPress(keyAscii); }

void frmCustomRcurve::ValueBox_KeyUp(int32_t& keyCode) {
    if (!m_CurrentMake) {
        keyCode = 0;
        return;
    }
    UpdateSave();
}

void frmCustomRcurve::ValueBox_Change(const plat::ui::TextBox& box) {
    // A paste changes the text without a key: Save follows it all the same.
    // Changes by the window itself are settled by the road that makes them.
    if (m_CurrentMake && box.HasFocus()) UpdateSave();
}

void frmCustomRcurve::cmbLightLevel_Click() { UpdateSave(); }

bool frmCustomRcurve::EndCellEdit() {
    plat::PassOver([&] { tliRValue.EndEditing(); });
    return !tliRValue.Editing();
}

void frmCustomRcurve::tliRValue_GridCellClick(plat::ui::GridCell& cell, int32_t button) {
    if (!m_CurrentMake) return;
    plat::PassOver([&] {
        if (button == 1 && cell.Row() >= 1 && cell.Col() == kRValueCol)
            tliRValue.SetEditState(cell.Row(), kRValueCol, plat::ui::GridEditState::Start);
    });
    UpdateSave();
}

void frmCustomRcurve::tliRValue_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
    // Enter commits the cell (its after-editing handler writes the number
    // back) and opens the next one, which stays as it is.
    dialogs::MGrid::Grid_NumericKeyPress(tliRValue, editor, keyAscii);
    UpdateSave();
}

void frmCustomRcurve::tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& editor) {
    CheckRValue(editor);
    // A value being typed is an edit already: Save (and its access key) can end the edit and store it.
    UpdateSave();
}

void frmCustomRcurve::tliRValue_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) {
    plat::PassOver([&] {
        // What is no R value puts back the cell's value from before the edit.
        if (CommitRValue(newText, cell) && !newText.empty())
            newText = NumberText(newText);
        // Stored now, so that Save follows the committed value.
        tliRValue.SetCellText(cell.Row(), cell.Col(), newText);
    });
    UpdateSave();
}

void frmCustomRcurve::tliRValue_LostFocus() {
    plat::PassOver([&] { tliRValue.EndEditing(); });
}

// ---- checks and saving ----

bool frmCustomRcurve::CheckSettings() {
    return CheckMakeEntries({&txtRDC, &txtIRDC, &txtIRAC, &txtTLC}, tliRValue, {kRValueCol});
}

void frmCustomRcurve::cmdSave_Click() {
    if (EndCellEdit() && CheckSettings()) SaveOximeter();
}

bool frmCustomRcurve::AskForOverwrite() {
    return Message("21020::Are you sure you want to overwrite the data for this oximeter?",
                   plat::ui::vbYesNo | plat::ui::vbQuestion, "21022::Overwrite") == plat::ui::vbYes;
}

SaveResult frmCustomRcurve::SaveOximeter() {
    if (!m_CurrentMake) return SaveResult::Declined;
    std::string folder;
    plat::PassOver([&] { folder = makes::GetMakesDirectory(makes::kRegistryKey); });
    std::string fileName = m_CurrentMake->File();
    std::string makeName = m_CurrentMake->Name();
    const std::string formerName = makeName;
    const bool readOnly = !fileName.empty() && plat::fs::IsReadOnly(folder + fileName);

    bool overwrite = false;
    bool toSave = false;
    if (!readOnly && AskForOverwrite()) {
        overwrite = toSave = true;
    } else {
        toSave = AskForFileName(fileName, makeName, m_Makes);
    }
    if (!toSave) {
        m_SaveOk = false;
        return SaveResult::Declined;
    }

    // The shown make and the list take the make only once its file is written.
    makes::OximeterMakePtr make = overwrite ? m_CurrentMake->Clone() : std::make_shared<makes::COximeterMake>();
    bool written = false;
    plat::PassOver([&] {
        SetOximeterParams(*make);
        make->SetName(makeName);
        make->SetFile(fileName);
        makes::OximeterMakePtr stored = make;
        written = makes::SaveMakesFile(stored, fileName, makes::kRegistryKey) && stored == make;
    });
    if (!written) {
        Message("21018::An unknown error occurred while saving the oximeter details. Please try again later.",
                plat::ui::vbOKOnly | plat::ui::vbCritical, kSaveTitle);
        return SaveResult::Failed;
    }

    plat::PassOver([&] {
        if (overwrite) {
            const int32_t at = m_Makes->IndexOf(formerName);
            if (at != 0) m_Makes->Remove(at);
            (void)m_Makes->Insert(at != 0 ? at : m_Makes->Count() + 1, make, make->Name());
            unwritten_.erase(m_CurrentMake);
            m_CurrentMake = make;
            cmdSave.SetEnabled(false);
        } else {
            cmbCustomRcurve.AddItem(makeName);
            (void)m_Makes->Add(make, makeName);
            m_CurrentMake = make;
            cmdSave.SetEnabled(false);
            cmbCustomRcurve.SetText(makeName);
            txtRcurveFileName.SetText(make->File());
        }
    });
    Message("21024::The oximeter was successfully saved.", plat::ui::vbOKOnly | plat::ui::vbInformation, kSaveTitle);
    return SaveResult::Saved;
}

// ---- closing ----

bool frmCustomRcurve::ReadyToClose() {
    if (upload_.Active()) {
        upload_.Cancel();
        return false;
    }
    if (!EndCellEdit()) return false;
    if (!IsSettingsGotChanged()) return true;
    if (Message(kAskSaveChanges, plat::ui::vbYesNo | plat::ui::vbInformation, kSaveTitle) != plat::ui::vbYes)
        return true;
    if (!CheckSettings()) return false;
    m_SaveOk = true;
    return SaveOximeter() == SaveResult::Saved && m_SaveOk;
}

void frmCustomRcurve::cmdClose_Click() {
    if (ReadyToClose()) Unload();
}

}  // namespace editor
