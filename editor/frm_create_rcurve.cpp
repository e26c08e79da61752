#include "editor/frm_create_rcurve.h"

#include <array>

#include "editor/make_checks.h"
#include "host/translate_text.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/form_captions.h"
#include "dialogs/numeric_grid.h"

namespace editor {

namespace {

constexpr const char* kSection = dialogs::kLanguageSection;

constexpr int32_t kRowHeight = 240;
constexpr int32_t kHeaderHeight = 340;
constexpr plat::ui::Color kLightYellow = 255 + 255 * 256 + 192 * 65536;
constexpr plat::ui::Color kBlue = 255 * 65536;

// The step-by-step text: each line translated by itself, a line with `gap`
// followed by one empty line.
struct HelpLine {
    int indent;
    const char* text;
    bool gap;
};
constexpr std::array<HelpLine, 20> kHelpLines{{
    {0, "21034::1. Set up the Pulse Oximeter and connect it to Pelmo Q5.", true},
    {0, "21071::2. From the Pelmo Q5", false},
    {7, "21082::(i) 'Main Menu 1' select 'SIM | TLC', and set TLC Value.", true},
    {7, "21072::(ii) 'Main Menu 1' select 'SIM | MAN', and set:", false},
    {15, "21073::SpO2 = 100%", false},
    {15, "21035::BPM = 100", true},
    {7, "21036::(iii) 'Main Menu 2' select 'OPTS | RVAL', and set:", false},
    {15, "21037::Step = 0.010", true},
    {7, "21038::(iv) 'Main Menu 2' select 'CONF | STEP', and set:", false},
    {15, "21039::SpO2 STEP SIZE = 1", true},
    {0, "21040::3. From the Pelmo Q5 'Main Menu 2' select 'OPTS | RVAL', and read 'R' value.", true},
    {0, "21041::4. Enter the first reading of 'R' value in the 'Value #1' column in 'Tamblin' window against "
        "currently selected SpO2 value.",
     true},
    {0, "21042::5. From the Pelmo Q5 increase the 'R' value by '0.010'.", true},
    {0, "21044::6. Enter the second reading of 'R' value in the 'Value #2' column.", true},
    {0, "21043::7. From the Pelmo Q5 increase the 'R' value by '0.010'.", true},
    {0, "21045::8. Enter the third reading of 'R' value in the 'Value #3' column.", true},
    {0, "21075::9. From the Pelmo Q5 'Main Menu 1' select 'SIM | MAN', and decrement the 'SpO2' by '1'.", true},
    {0, "21076::10. Continue the steps from 3 to 9 until the 'SpO2' reaches to '50%'.", false},
    {7, "21077::- Average 'R' value will be displayed in the 'Avg. Value' column.", true},
    {0, "21078::11. Click 'Save' button to save the new oximeter details.", false},
}};

std::string HelpText() {
    std::string text;
    for (std::size_t i = 0; i < kHelpLines.size(); ++i) {
        const HelpLine& line = kHelpLines[i];
        text += std::string(static_cast<std::size_t>(line.indent), ' ') + host::TranslateText(kSection, line.text);
        if (i + 1 == kHelpLines.size()) break;
        text += "\r\n";
        if (line.gap) text += "\r\n";
    }
    return text;
}

int32_t WholeValue(const plat::ui::TextBox& box) { return plat::RoundToLong(makes::ValText(box.Text())); }

}  // namespace

frmCreateRcurve::frmCreateRcurve() : Form("frmCreateRcurve") {
    SetCaption("21006::Tamblin");
    FraRcurveDetails.SetCaption("22008::Oximeter Details");
    lblRedDC.SetCaption("20083::Red DC");
    lblIRAC.SetCaption("20086::IR AC");
    lblIRDC.SetCaption("20084::IR DC");
    lblTLC.SetCaption("20043::TLC");
    lblLightLevel.SetCaption("20085::Light level");
    lblHeader.SetCaption("21074::Generating an R-Curve from a Pulse Oximeter");
    cmdSave.SetCaption("21008::&Save");
    cmdClose.SetCaption("21009::&Close");
    cmdClose.SetCancel(true);

    cmbLightLevel.SetStyle(plat::ui::ComboStyle::DropdownList);
    for (plat::ui::TextBox* box : {&txtRDC, &txtIRDC, &txtIRAC, &txtTLC})
        box->OnKeyPress = [this](int32_t& keyAscii) { ValueBox_KeyPress(keyAscii); };
    for (plat::ui::Label* label : {&lblHelp, &lblHeader, &lblHelpMsg2, &lblHelpNote}) label->SetBackColor(kLightYellow);
    lblHelpMsg2.SetWordWrap(true);
    lblHelpNote.SetWordWrap(true);

    // Positions in twips; the frame's controls relative to the frame.
    FraRcurveDetails.Move(120, 120, 12735, 8415);
    lblRedDC.Move(165, 360, 1110, 195);
    txtRDC.Move(1485, 315, 1500, 285);
    lblIRAC.Move(3255, 360, 960, 195);
    txtIRAC.Move(4320, 315, 1500, 285);
    lblIRDC.Move(300, 765, 975, 195);
    txtIRDC.Move(1485, 720, 1500, 285);
    lblTLC.Move(3360, 765, 840, 195);
    txtTLC.Move(4320, 720, 1500, 285);
    lblLightLevel.Move(60, 1170, 1260, 195);
    cmbLightLevel.Move(1485, 1110, 1500, 315);
    tliRValue.Move(240, 1560, 5595, 6705);
    lblHelp.Move(6000, 315, 6600, 7920);
    lblHeader.Move(6120, 360, 5940, 240);
    lblHelpMsg2.Move(6120, 720, 6420, 7005);
    lblHelpNote.Move(6120, 7800, 6375, 390);
    cmdSave.Move(10320, 8655, 1215, 375);
    cmdClose.Move(11640, 8655, 1215, 375);
    int32_t tab = 0;
    for (plat::ui::Control* control : std::initializer_list<plat::ui::Control*>{
             &txtRDC, &txtIRAC, &txtIRDC, &txtTLC, &cmbLightLevel, &tliRValue, &cmdSave, &cmdClose})
        control->SetTabIndex(tab++);
    SetInnerSize(12930, 9105);

    OnLoad = [this] { Form_Load(); };
    OnQueryUnload = [this](bool& cancel, plat::ui::UnloadMode mode) {
        if (mode == plat::ui::UnloadMode::ControlMenu && !EndCellEdit()) cancel = true;
    };
    WireRValueGrid(tliRValue);
    cmdSave.OnClick = [this] { cmdSave_Click(); };
    cmdClose.OnClick = [this] { cmdClose_Click(); };
}

void frmCreateRcurve::Init(makes::MakeListPtr curveNames, makes::OximeterMakePtr comMake) {
    curveNames_ = std::move(curveNames);
    make_ = std::move(comMake);
}

// ---- load ----

void frmCreateRcurve::Form_Load() {
    plat::PassOver([&] {
        txtIRAC.SetText("1000");
        txtIRDC.SetText("3500");
        txtRDC.SetText("3500");
        txtTLC.SetText("3500");
    });
    plat::PassOver([&] {
        cmbLightLevel.Clear();
        cmbLightLevel.AddItem(host::TranslateText(kSection, "20089::Medium"));
        cmbLightLevel.AddItem(host::TranslateText(kSection, "20088::Low"));
        cmbLightLevel.SetListIndex(0);
    });
    // The window's caption, then every control's.
    plat::PassOver([&] { dialogs::TranslateFormCaptions(*this); });
    LayOutGrid();
    plat::PassOver([&] {
        lblHelpNote.SetFontBold(false);
        lblHelpNote.SetForeColor(kBlue);
        lblHelpNote.SetCaption(host::TranslateText(kSection, "21069::Note:") + " " +
                               host::TranslateText(kSection, "21070::R-Value should be inbetween 0 and 2.50."));
        lblHeader.SetFontBold(true);
        lblHeader.SetCaption(host::TranslateText(kSection, "21074::Generating an R-Curve from a Pulse Oximeter"));
    });
    plat::PassOver([&] { lblHelpMsg2.SetCaption(HelpText()); });
}

void frmCreateRcurve::LayOutGrid() {
    plat::PassOver([&] {
        tliRValue.SetRows(kGridRows);
        tliRValue.SetCols(kAverageCol + 1);
        tliRValue.SetSelectionMode(0);
        tliRValue.SetFocusRectStyle(0);
        tliRValue.SetUserResize(false);
    });
    plat::PassOver([&] {
        tliRValue.SetColWidth(0, 700);
        tliRValue.SetColWidth(1, 0);  // part of the grid's design; never read or written
        for (int32_t col = kFirstReadingCol; col <= kAverageCol; ++col) tliRValue.SetColWidth(col, 1150);
    });
    plat::PassOver([&] {
        for (int32_t row = 1; row < kGridRows; ++row) {
            tliRValue.SetCellText(row, 0, std::to_string(makes::kLastSpO2 + 1 - row));
            tliRValue.SetRowHeight(row, kRowHeight);
        }
        tliRValue.SetRowHeight(0, kHeaderHeight);
        tliRValue.SetCellText(0, 0, "%");
        const std::string reading = host::TranslateText(kSection, "21047::Value #");
        for (int32_t col = kFirstReadingCol; col <= kLastReadingCol; ++col)
            tliRValue.SetCellText(0, col, reading + std::to_string(col - kFirstReadingCol + 1));
        tliRValue.SetCellText(0, kAverageCol, host::TranslateText(kSection, "21046::Avg. Value"));
    });
}

// ---- entry ----

void frmCreateRcurve::ValueBox_KeyPress(int32_t& keyAscii) { LightValueKeyPress(keyAscii); }

void frmCreateRcurve::tliRValue_GridCellClick(plat::ui::GridCell& cell, int32_t button) {
    // Only the readings are typed; the SpO2 and average columns are the dialog's own.
    if (button != 1 || cell.Row() < 1 || cell.Col() < kFirstReadingCol || cell.Col() > kLastReadingCol) return;
    plat::PassOver([&] { tliRValue.SetEditState(cell.Row(), cell.Col(), plat::ui::GridEditState::Start); });
}

void frmCreateRcurve::tliRValue_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
    // Enter commits the cell (its after-editing handler normalises it and
    // works out the average) and opens the next reading as it is.
    plat::PassOver([&] { dialogs::MGrid::Grid_NumericKeyPress(tliRValue, editor, keyAscii); });
}

void frmCreateRcurve::tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& editor) {
    plat::PassOver([&] { CheckRValue(editor); });
}

std::string frmCreateRcurve::RowAverage(int32_t row, int32_t editedCol, const std::string& edited) {
    double sum = 0;
    int32_t count = 0;
    for (int32_t col = kFirstReadingCol; col <= kLastReadingCol; ++col) {
        const std::string text = col == editedCol ? edited : tliRValue.CellText(row, col);
        if (plat::Trim(text).empty()) continue;
        sum += makes::ValText(text);
        ++count;
    }
    if (count == 0) return {};
    return NumberText(plat::FormatNumber(sum / count, "#0.00"));
}

void frmCreateRcurve::tliRValue_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) {
    plat::PassOver([&] {
        // What is no reading puts back the cell's value from before the edit.
        const bool reading = CommitRValue(newText, cell);
        const int32_t row = cell.Row();
        for (int32_t col = kFirstReadingCol; col <= kLastReadingCol; ++col) {
            if (col == cell.Col()) {
                if (reading && !newText.empty()) newText = NumberText(newText);
                continue;
            }
            const std::string text = tliRValue.CellText(row, col);
            if (!plat::Trim(text).empty()) tliRValue.SetCellText(row, col, NumberText(text));
        }
        // A row whose readings were all emptied keeps the average it showed.
        const std::string average = RowAverage(row, cell.Col(), newText);
        if (!average.empty()) tliRValue.SetCellText(row, kAverageCol, average);
    });
}

void frmCreateRcurve::tliRValue_LostFocus() {
    plat::PassOver([&] { tliRValue.EndEditing(); });
}

bool frmCreateRcurve::EndCellEdit() {
    plat::PassOver([&] { tliRValue.EndEditing(); });
    return !tliRValue.Editing();
}

// ---- buttons ----

bool frmCreateRcurve::CheckEntries() {
    return CheckMakeEntries({&txtRDC, &txtIRDC, &txtIRAC, &txtTLC}, tliRValue,
                            {kFirstReadingCol, kFirstReadingCol + 1, kLastReadingCol});
}

void frmCreateRcurve::cmdSave_Click() {
    // An edit still open belongs to what is saved.
    if (!EndCellEdit() || !CheckEntries()) return;
    std::string fileName;
    std::string makeName;
    if (!AskForFileName(fileName, makeName, curveNames_)) return;
    if (!make_) return;

    auto& make = *make_;
    make.SetIRAC(WholeValue(txtIRAC));
    make.SetIRDC(WholeValue(txtIRDC));
    make.SetLightLevel(cmbLightLevel.ListIndex() + 1);
    make.SetRedDC(WholeValue(txtRDC));
    make.SetTLC(WholeValue(txtTLC));
    make.SetFile(fileName);
    make.SetName(makeName);
    // Each average is worked out again from its readings, so that no value
    // the operator typed after the last commit is missed.
    auto curve = std::make_shared<makes::RCurveCollection>();
    make.SetRCurve(curve);
    for (int32_t i = 1; i < kGridRows; ++i) {
        const int32_t row = kGridRows - i;
        std::string average = RowAverage(row);
        if (average.empty()) average = "0";
        tliRValue.SetCellText(row, kAverageCol, average);
        make.AddRValue(makes::kFirstSpO2 - 1 + i, average);
    }
    cancelClicked_ = false;
    Hide();
}

void frmCreateRcurve::cmdClose_Click() {
    if (!EndCellEdit()) return;
    cancelClicked_ = true;
    Hide();
}

}  // namespace editor
