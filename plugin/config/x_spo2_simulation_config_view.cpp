#include "plugin/config/x_spo2_simulation_config_view.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "host/translate_text.h"
#include "platform/ui/picture.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/config/builtin_makes.h"
#include "plugin/config/captions.h"
#include "plugin/config/checked_number.h"
#include "dialogs/numeric_grid.h"
#include "plugin/config/f_make_details.h"
#include "plugin/config/presets.h"
#include "plugin/config/spo2_simulation_config.h"

namespace plugin {

namespace {

namespace MGrid = dialogs::MGrid;

constexpr const char* kSection = "Pelmo2";
constexpr const char* kImageRoot = "tgs";
constexpr const char* kImageOn = "chk:on";
constexpr const char* kImageOff = "chk:off";
constexpr int32_t kModeChoose = 2;
constexpr int32_t kModeLook = 3;
constexpr plat::ui::Color kEditableColor = 0xFFFFFF;
constexpr plat::ui::Color kReadOnlyColor = plat::ui::SystemColor(0x0F);  // button face
// Values right, and vertically centred like the labels beside them.
constexpr int32_t kAlignValue = 8;
// The only amplitudes below 0.1 that the simulator takes.
constexpr std::array<double, 5> kSmallAmplitudes{0.02, 0.025, 0.05, 0.07, 0.075};

double Parsed(std::string_view text) { return makes::ValText(text); }

bool IsPartialNumber(const std::string& text) {
    const std::string trimmed = plat::Trim(text);
    return trimmed.empty() || trimmed == "-" || trimmed == "." || trimmed == ",";
}

// The decimals an amplitude takes: none from 1, one from 0.1 (and for a
// plain 0 being typed), up to three below that.
int32_t AmplitudeDecimals(double value, const std::string& text) {
    if (value >= 1) return 0;
    if (value >= 0.1 || text == "0" || text == "0.") return 1;
    return 3;
}

bool IsSmallAmplitude(double value) {
    const double shown = Parsed(plat::NumberToText(value));
    return std::any_of(kSmallAmplitudes.begin(), kSmallAmplitudes.end(),
                       [&](double allowed) { return std::abs(shown - allowed) < 1e-9; });
}

// The value of a text under the value cell's rules: digits, in the amplitude
// row with one decimal sign (either), within the row's range and decimals.
// Nothing for any other text ("", "-", ".", "abc", "1e3", "&H3E8").
std::optional<double> CellValue(int32_t row, const std::string& text) {
    const std::string trimmed = plat::Trim(text);
    const bool decimalRow = row == XSpO2SimulationConfigView::kRowAmplitude;
    int32_t digits = 0, signs = 0, decimals = 0;
    for (char c : trimmed) {
        if (c >= '0' && c <= '9') {
            ++digits;
            if (signs > 0) ++decimals;
        } else if ((c == '.' || c == ',') && decimalRow) {
            ++signs;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || signs > 1) return std::nullopt;
    const double value = Parsed(trimmed);
    if (row == XSpO2SimulationConfigView::kRowSpO2) return value <= 100 ? std::optional(value) : std::nullopt;
    if (row == XSpO2SimulationConfigView::kRowBPM) return value <= 250 ? std::optional(value) : std::nullopt;
    if (!decimalRow || value > 20 || decimals > AmplitudeDecimals(value, trimmed)) return std::nullopt;
    if (value > 0 && value < 0.1 && !IsSmallAmplitude(value)) return std::nullopt;
    return value;
}

}  // namespace

XSpO2SimulationConfigView::XSpO2SimulationConfigView() {
    fraOximeterDetails.SetCaption("22008::Oximeter Details");
    lblOximeterName.SetCaption("22020::Oximeter make name");
    lblTLC.SetCaption("20043::TLC");
    cmdAdvanced.SetCaption("22021::View R-curve");
    chkUploadRCurve.SetCaption("22022::Send custom R-Curve to Pelmo Q5 before performing the test.");
    FraSimulation.SetCaption("22024::Simulation Type");
    Optical.SetCaption("22025::Optical");
    OptElectrical.SetCaption("22026::Electrical");
    fraDetails.SetCaption("22027::Simulation Settings");
    fraTest.SetCaption("22001::Test Settings");
    cboMakeName.SetStyle(plat::ui::ComboStyle::DropdownList);
    cboPresets.SetStyle(plat::ui::ComboStyle::DropdownList);

    fraOximeterDetails.Move(120, 120, 6600, 2100);
    lblOximeterName.Move(240, 300, 3600, 255);
    cboMakeName.Move(240, 570, 3600, 315);
    lblTLC.Move(4080, 300, 1200, 255);
    txtTLC.Move(4080, 570, 1200, 315);
    Picture2.Move(240, 1000, 6240, 960);
    cmdAdvanced.Move(120, 120, 1800, 375);
    chkUploadRCurve.Move(120, 540, 6000, 315);
    FraSimulation.Move(120, 2340, 6600, 780);
    Picture1.Move(240, 300, 6240, 375);
    Optical.Move(120, 30, 2400, 315);
    OptElectrical.Move(2760, 30, 2400, 315);
    fraDetails.Move(120, 3240, 3600, 1980);
    cboPresets.Move(240, 270, 3120, 315);
    tliDetails.Move(240, 660, 3120, 1200);
    fraTest.Move(3840, 3240, 2880, 1980);
    tvwOptions.Move(120, 300, 2640, 1560);

    cboMakeName.SetTabIndex(0);
    txtTLC.SetTabIndex(1);
    cmdAdvanced.SetTabIndex(2);
    chkUploadRCurve.SetTabIndex(3);
    Optical.SetTabIndex(4);
    OptElectrical.SetTabIndex(5);
    cboPresets.SetTabIndex(6);
    tliDetails.SetTabIndex(7);
    tvwOptions.SetTabIndex(8);

    plat::PassOver([&] {
        ilstCh.Add(kImageRoot, plat::ui::LoadResPicture("TGS"));
        ilstCh.Add(kImageOn, plat::ui::LoadResPicture("CHK_ON"));
        ilstCh.Add(kImageOff, plat::ui::LoadResPicture("CHK_OFF"));
    });
    tvwOptions.SetImageList(&ilstCh);

    cboMakeName.OnClick = [this] { cboMakeName_Click(); };
    txtTLC.OnKeyPress = [this](int32_t& keyAscii) { txtTLC_KeyPress(keyAscii); };
    txtTLC.OnChange = [this] { txtTLC_Change(); };
    // A box left empty shows again the TLC that it kept.
    txtTLC.OnLostFocus = [this] {
        if (config_ && txtTLC.Text().empty())
            plat::PassOver([&] { ShowTlc(editMake_ ? editMake_->TLC() : config_->GetTlc()); });
    };
    cmdAdvanced.OnClick = [this] { cmdAdvanced_Click(); };
    chkUploadRCurve.OnClick = [this] { chkUploadRCurve_Click(); };
    Optical.OnClick = [this] { Optical_Click(); };
    OptElectrical.OnClick = [this] { OptElectrical_Click(); };
    cboPresets.OnClick = [this] { cboPresets_Click(); };
    tliDetails.OnGridCellClick = [this](plat::ui::GridCell& cell, int32_t button) {
        tliDetails_GridCellClick(cell, button);
    };
    tliDetails.OnGridCellRequestEditing = [](plat::ui::GridCell& cell, int32_t& flags) {
        plat::PassOver([&] { MGrid::Grid_RequestEditing(cell, flags); });
    };
    tliDetails.OnGridCellEditingKeyPress = [this](plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
        tliDetails_GridCellEditingKeyPress(editor, keyAscii);
    };
    tliDetails.OnGridCellEditingChange = [this](plat::ui::GridCellEditor& editor) {
        tliDetails_GridCellEditingChange(editor);
    };
    tliDetails.OnGridCellAfterEditing = [this](std::string& newText, plat::ui::GridCell& cell) {
        tliDetails_GridCellAfterEditing(newText, cell);
    };
    // Delete raises no key press: its change is judged as Backspace's.
    tliDetails.OnKeyDown = [this](int32_t& keyCode, int32_t) {
        if (keyCode == plat::ui::vbKeyDelete && tliDetails.Editing()) lastKey_ = plat::ui::vbKeyBack;
    };
    // Leaving the grid ends any cell edit.
    tliDetails.OnLostFocus = [this] { EndCellEdit(); };
    tvwOptions.OnKeyDown = [this](int32_t& keyCode, int32_t) { tvwOptions_KeyDown(keyCode); };
    tvwOptions.OnNodeClick = [this](plat::ui::TreeNode& node) { tvwOptions_NodeClick(node); };
    // The options tree always stays open.
    tvwOptions.OnCollapse = [](plat::ui::TreeNode& node) { node.SetExpanded(true); };
}

bool XSpO2SimulationConfigView::Visible() const { return Extender() && Extender()->Visible(); }

void XSpO2SimulationConfigView::SetVisible(bool visible) {
    if (Extender()) Extender()->SetVisible(visible);
}

void XSpO2SimulationConfigView::Refresh() { NotifyHostChanged(); }

void XSpO2SimulationConfigView::Initialize(const plat::Variant& value) {
    host::TestElementPtr test;
    plat::PassOver([&] { test = std::dynamic_pointer_cast<host::ITestElement>(value.AsObject()); });
    if (test) Initialize(test);
}

void XSpO2SimulationConfigView::Initialize(const host::TestElementPtr& test) {
    editMake_.reset();
    plat::PassOver([&] { TranslateControls(kSection, *this); });
    test_ = test;
    plat::PassOver([&] { presets_ = std::make_shared<CPresets>(); });
    plat::PassOver([&] {
        if (test_) config_ = std::dynamic_pointer_cast<CSpO2SimulationConfig>(test_->Configuration());
    });
    if (!config_) return;

    plat::PassOver([&] {
        if (config_->SimulationType() == 1)
            Optical.SetValue(true);
        else
            OptElectrical.SetValue(true);
    });
    // Any type but optical is stored as electrical, even when the button was on already.
    plat::PassOver([&] { config_->SetSimulationType(Optical.Value() ? 1 : 2); });

    FillMakeList();
    plat::PassOver([&] { ShowTlc(editMake_ ? editMake_->TLC() : config_->GetTlc()); });

    FillOptionsTree();
    FillPresets();
    FillDetailsGrid();
    plat::PassOver([&] {
        if (tliDetails.RowTotal() > 0) tliDetails.SetRow((tliDetails.Row() + 1) % tliDetails.RowTotal());
    });
    // Locked before it was filled: filling enabled controls the lock keeps off.
    if (locked_) SetLocked(true);
}

void XSpO2SimulationConfigView::FillMakeList() {
    plat::PassOver([&] { makes_ = config_->CloneMakes(); });
    plat::PassOver([&] {
        cboMakeName.Clear();
        FillBuiltInMakes(cboMakeName);
    });
    const bool noMakes = !makes_ || makes_->Count() == 0;
    const int32_t index = config_->OximeterMake();
    const bool builtInIndex = index >= 0 && index < kFirstCustomPosition;

    if (noMakes) {
        if (builtInIndex)
            plat::PassOver([&] { cboMakeName.SetListIndex(index); });
        else
            FallBackToFirstBuiltInMake();
        config_->SetCurrentMake(nullptr);
        plat::PassOver([&] { cmdAdvanced.SetEnabled(false); });
        plat::PassOver([&] { chkUploadRCurve.SetValue(config_->UploadRCurve() ? 1 : 0); });
        plat::PassOver([&] { chkUploadRCurve.SetEnabled(false); });
        return;
    }

    plat::PassOver([&] { cmdAdvanced.SetEnabled(true); });
    plat::PassOver([&] { chkUploadRCurve.SetEnabled(true); });
    const makes::OximeterMakePtr current = config_->CurrentMake();
    const std::string wanted = current ? current->Name() : std::string();
    bool found = false;
    for (const makes::OximeterMakePtr& make : *makes_) {
        if (!make) continue;
        plat::PassOver([&] { cboMakeName.AddItem(make->Name()); });
        if (current && plat::EqualsNoCase(make->Name(), wanted)) found = true;
    }
    if (found) {
        SelectMakeByName(wanted);
        plat::PassOver([&] { editMake_ = config_->CurrentMake() ? config_->CurrentMake()->Clone() : nullptr; });
    } else {
        if (builtInIndex)
            plat::PassOver([&] { cboMakeName.SetListIndex(index); });
        else
            FallBackToFirstBuiltInMake();
        config_->SetCurrentMake(nullptr);
        editMake_.reset();
    }
    plat::PassOver([&] { chkUploadRCurve.SetValue(config_->UploadRCurve() ? 1 : 0); });
}

void XSpO2SimulationConfigView::FallBackToFirstBuiltInMake() {
    // The list may already stand on entry 0: the make chosen action runs either way.
    plat::PassOver([&] {
        if (cboMakeName.ListIndex() == 0)
            cboMakeName_Click();
        else
            cboMakeName.SetListIndex(0);
    });
    config_->SetOximeterMake(0);
}

void XSpO2SimulationConfigView::SelectMakeByName(const std::string& name) {
    plat::PassOver([&] { cboMakeName.SelectText(name); });
}

void XSpO2SimulationConfigView::cboMakeName_Click() {
    if (!config_) return;
    EndCellEdit();
    const int32_t position = cboMakeName.ListIndex();
    const bool custom = position >= kFirstCustomPosition;
    plat::PassOver([&] { cmdAdvanced.SetVisible(custom); });
    plat::PassOver([&] { chkUploadRCurve.SetVisible(custom); });

    config_->SetOximeterMake(position);
    editMake_.reset();
    config_->SetOximeterMakeName(cboMakeName.Text());
    config_->SetCurrentMake(nullptr);
    if (custom && makes_ && makes_->Count() > 0) {
        plat::PassOver([&] {
            config_->SetCurrentMake(makes_->Item(config_->OximeterMakeName()));
            editMake_ = config_->CurrentMake()->Clone();
            ShowTlc(editMake_->TLC());
        });
    } else {
        plat::PassOver([&] { ShowTlc(config_->GetTlc()); });
    }
}

void XSpO2SimulationConfigView::ShowTlc(int32_t tlc) {
    // Showing the stored TLC writes nothing back.
    puttingBackTlc_ = true;
    plat::PassOver([&] { txtTLC.SetText(std::to_string(tlc)); });
    puttingBackTlc_ = false;
    tlcText_ = txtTLC.Text();
}

void XSpO2SimulationConfigView::txtTLC_KeyPress(int32_t& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != plat::ui::vbKeyReturn && keyAscii != plat::ui::vbKeyEscape &&
        keyAscii != plat::ui::vbKeyBack)
        keyAscii = 0;
}

void XSpO2SimulationConfigView::txtTLC_Change() {
    if (puttingBackTlc_ || !config_) return;
    const std::string text = txtTLC.Text();
    if (text.empty()) {
        // An emptied box stays empty; the TLC keeps its value.
        tlcText_.clear();
        return;
    }
    const bool digits = std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const std::optional<int32_t> value = digits && text.size() <= 9 ? CheckedWholeNumber(text) : std::nullopt;
    if (!value || *value > kMaxTlc) {
        // Pasted letters or a TLC beyond the simulator's range: the text before the edit comes back.
        puttingBackTlc_ = true;
        plat::PassOver([&] {
            txtTLC.SetText(tlcText_);
            txtTLC.SetSelStart(static_cast<int32_t>(tlcText_.size()));  // typing goes on at the end
        });
        puttingBackTlc_ = false;
        return;
    }
    tlcText_ = text;
    if (editMake_) editMake_->SetTLC(*value);
    plat::PassOver([&] { config_->SetTlc(*value); });
}

void XSpO2SimulationConfigView::cmdAdvanced_Click() {
    if (!config_) return;
    EndCellEdit();
    makes::OximeterMakePtr shown = editMake_;
    if (!shown) {
        plat::PassOver([&] {
            if (config_->CurrentMake())
                shown = config_->CurrentMake()->Clone();
            else if (makes_ && makes_->Exists(cboMakeName.Text()))
                shown = makes_->Item(cboMakeName.Text())->Clone();
        });
    }
    const int32_t mode = locked_ ? kModeLook : kModeChoose;
    std::optional<std::string> chosen;
    plat::PassOver([&] { chosen = ChooseInMakeDetails(cboMakeName.ListIndex(), shown, makes_, mode); });
    // Only an accepted choice of a listed make is taken, and a locked page only looks.
    if (locked_ || !chosen || !makes_ || !makes_->Exists(*chosen)) return;

    plat::PassOver([&] {
        config_->SetCurrentMake(makes_->Item(*chosen));
        config_->SetOximeterMakeName(config_->CurrentMake()->Name());
        editMake_ = config_->CurrentMake()->Clone();
        SelectMakeByName(editMake_->Name());
        ShowTlc(editMake_->TLC());
    });
}

void XSpO2SimulationConfigView::chkUploadRCurve_Click() {
    EndCellEdit();
    if (config_) config_->SetUploadRCurve(chkUploadRCurve.Value() == 1);
}

void XSpO2SimulationConfigView::Optical_Click() {
    EndCellEdit();
    if (config_) config_->SetSimulationType(Optical.Value() ? 1 : 2);
}

void XSpO2SimulationConfigView::OptElectrical_Click() {
    EndCellEdit();
    if (config_) config_->SetSimulationType(OptElectrical.Value() ? 2 : 1);
}

void XSpO2SimulationConfigView::FillPresets() {
    plat::PassOver([&] { cboPresets.Clear(); });
    if (!presets_) return;
    plat::PassOver([&] {
        for (const std::string& name : *presets_->Presets()) cboPresets.AddItem(name);
    });
    // By the preset's ID, never its stored name (another language's, or one
    // two presets share), so that opening the page keeps the test's preset. An
    // ID that names no preset selects nothing and changes nothing.
    plat::PassOver([&] {
        const int32_t position = CPresets::PositionOfId(config_->SimulationID());
        if (position > 0 && position <= cboPresets.ListCount()) cboPresets.SetListIndex(position - 1);
    });
}

int32_t XSpO2SimulationConfigView::SelectedPresetId() const {
    const int32_t position = cboPresets.ListIndex() + 1;
    for (int32_t id = 0; id < CPresets::kCount; ++id)
        if (CPresets::PositionOfId(id) == position) return id;
    return -1;
}

void XSpO2SimulationConfigView::cboPresets_Click() {
    if (!config_ || !presets_) return;
    EndCellEdit();
    // By the entry's ID, so that two presets translated alike cannot pick the wrong one.
    plat::PassOver([&] { presets_->SetSpO2ConfigById(SelectedPresetId(), *config_); });
    config_->SetPresetName(cboPresets.Text());
    ShowValues();
}

void XSpO2SimulationConfigView::FillDetailsGrid() {
    plat::PassOver([&] {
        tliDetails.SetRows(kRowAmplitude + 1);
        tliDetails.SetCols(kValueCol + 1);
        tliDetails.SetColWidth(0, 0);
        tliDetails.SetColWidth(1, 1620);
        tliDetails.SetColWidth(kValueCol, 1200);
        tliDetails.SetCellText(0, 1, host::TranslateText(kSection, "20047::Parameter"));
        tliDetails.SetCellText(0, kValueCol, host::TranslateText(kSection, "20020::Value"));
        tliDetails.SetCellText(kRowSpO2, 1, host::TranslateText(kSection, "20033::SpO2"));
        tliDetails.SetCellText(kRowBPM, 1, host::TranslateText(kSection, "20034::BPM"));
        tliDetails.SetCellText(kRowAmplitude, 1, host::TranslateText(kSection, "20018::Pulse amplitude"));
        for (int32_t row = 0; row <= kRowAmplitude; ++row)  // the header over the values as they are
            tliDetails.SetCellAlignment(row, kValueCol, kAlignValue);
    });
    ShowValues();
}

void XSpO2SimulationConfigView::ShowValues() {
    plat::PassOver([&] {
        tliDetails.SetCellText(kRowSpO2, kValueCol, std::to_string(config_->SpO2()));
        tliDetails.SetCellText(kRowBPM, kValueCol, std::to_string(config_->BPM()));
        tliDetails.SetCellText(kRowAmplitude, kValueCol, config_->PulseAmplitude());
    });
    ColourValueCells(SelectedPresetId() == CPresets::kCustomID);
}

void XSpO2SimulationConfigView::ColourValueCells(bool editable) {
    const plat::ui::Color color = editable ? kEditableColor : kReadOnlyColor;
    plat::PassOver([&] {
        tliDetails.SetRedraw(false);
        tliDetails.SetBackColor(color);
        for (int32_t row = kRowSpO2; row <= kRowAmplitude; ++row) {
            tliDetails.SetCellBackColor(row, kValueCol, color);
            tliDetails.SetCellSelectedBackColor(row, kValueCol, color);
            // On a light selection the value keeps the plain text colour.
            tliDetails.SetCellSelectedForeColor(row, kValueCol, plat::ui::vbButtonText);
        }
    });
    plat::PassOver([&] { tliDetails.SetRedraw(true); });
}

void XSpO2SimulationConfigView::tliDetails_GridCellClick(plat::ui::GridCell& cell, int32_t button) {
    if (locked_ || SelectedPresetId() != CPresets::kCustomID || button != 1) return;
    if (cell.Row() < 1 || cell.Col() != kValueCol) return;
    plat::PassOver([&] { tliDetails.SetEditState(cell.Row(), cell.Col(), plat::ui::GridEditState::Start); });
}

void XSpO2SimulationConfigView::tliDetails_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor,
                                                                   int32_t& keyAscii) {
    lastKey_ = keyAscii;
    // Enter and Escape act here only, once: the change handler filters keys and
    // never moves on. Enter commits, and the commit writes the number back.
    if (keyAscii != plat::ui::vbKeyReturn && keyAscii != plat::ui::vbKeyEscape) return;
    // Escape drops the edit: the value from before it comes back into the configuration too.
    if (keyAscii == plat::ui::vbKeyEscape) plat::PassOver([&] { StoreGridValue(editor.Row(), editor.OldText()); });
    plat::PassOver([&] { MGrid::Grid_NumericKeyPress(tliDetails, editor, keyAscii); });
}

void XSpO2SimulationConfigView::tliDetails_GridCellEditingChange(plat::ui::GridCellEditor& editor) {
    if (!config_) return;
    const std::string oldText = editor.OldText();
    const int32_t row = editor.Row();
    // A refused key leaves the text as it was just before it; the configuration
    // holds what the edit would then commit.
    const auto refuse = [&] {
        const std::string before = editor.TextBefore();
        editor.SetText(before);
        StoreGridValue(row, CellValue(row, before) ? before : oldText);
    };
    if (SelectedPresetId() == CPresets::kCustomID) {
        // A whole amplitude takes no decimals.
        if (row == kRowAmplitude && editor.Col() == kValueCol && Parsed(config_->PulseAmplitude()) >= 1 &&
            (lastKey_ == ',' || lastKey_ == '.') && Parsed(editor.Text()) >= 1) {
            lastKey_ = 0;
            refuse();
            return;
        }
        plat::PassOver([&] { MGrid::Grid_NumericKeyFilter(editor, lastKey_); });
        if (lastKey_ == 0) {
            refuse();
            return;
        }
    }
    if (lastKey_ <= 0) return;

    const std::string text = editor.Text();
    const double value = Parsed(text);
    int32_t max = 0;
    int32_t decimals = 0;
    if (row == kRowSpO2) max = 100;
    if (row == kRowBPM) max = 250;
    if (row == kRowAmplitude) {
        max = 20;
        decimals = AmplitudeDecimals(value, text);
    }
    if (value > 0 && decimals == 3 && !IsSmallAmplitude(value))
        editor.SetText(editor.TextBefore());
    else
        plat::PassOver([&] { MGrid::Grid_CheckNumericValue(editor, 0, max, decimals); });
    // A pasted text that is no number under the cell's rules does not stay either.
    if (!IsPartialNumber(editor.Text()) && !CellValue(row, editor.Text())) editor.SetText(editor.TextBefore());

    // The configuration holds what the edit would commit: a number being
    // started ("", ".") keeps the value from before the edit, as a commit would.
    StoreGridValue(row, CellValue(row, editor.Text()) ? editor.Text() : oldText);
}

void XSpO2SimulationConfigView::tliDetails_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) {
    if (!config_ || cell.Col() != kValueCol || cell.Row() < kRowSpO2 || cell.Row() > kRowAmplitude) return;
    // The cell keeps the number as this page writes it, or the value from
    // before the edit when the text is none; the configuration the same.
    if (std::optional<double> value = CellValue(cell.Row(), newText))
        newText = plat::NumberToText(*value);
    else
        newText = tliDetails.EditOldText();
    StoreGridValue(cell.Row(), newText);
}

void XSpO2SimulationConfigView::EndCellEdit() {
    // As a focus move does: a value being typed is committed before the page changes.
    plat::PassOver([&] { tliDetails.EndEditing(); });
}

void XSpO2SimulationConfigView::StoreGridValue(int32_t row, const std::string& text) {
    if (!CellValue(row, text)) return;
    const std::string trimmed = plat::Trim(text);
    plat::PassOver([&] {
        if (row == kRowAmplitude) {
            config_->SetPulseAmplitude(trimmed);
            config_->SetCustomPulseAmplitude(trimmed);
        } else if (row == kRowSpO2 || row == kRowBPM) {
            const std::optional<int32_t> n = CheckedWholeNumber(trimmed);
            if (!n) return;
            if (row == kRowSpO2) {
                config_->SetSpO2(*n);
                config_->SetCustomSpO2(*n);
            } else {
                config_->SetBPM(*n);
                config_->SetCustomBPM(*n);
            }
        }
    });
}

void XSpO2SimulationConfigView::FillOptionsTree() {
    plat::PassOver([&] {
        tvwOptions.Clear();
        const int32_t flags = config_->EnableBtnFlags();
        plat::ui::TreeNode& root =
            tvwOptions.Add("", kRootKey, host::TranslateText(kSection, "20044::Test Guide Settings"), kImageRoot);
        tvwOptions.Add(kRootKey, kNAKey, host::TranslateText(kSection, "20045::Enable NA button"),
                       (flags & CSpO2SimulationConfig::kEnableNA) ? kImageOn : kImageOff);
        tvwOptions.Add(kRootKey, kSkipKey, host::TranslateText(kSection, "20046::Enable Skip button"),
                       (flags & CSpO2SimulationConfig::kEnableSkip) ? kImageOn : kImageOff);
        root.SetExpanded(true);
        root.SetBold(true);
    });
}

void XSpO2SimulationConfigView::tvwOptions_KeyDown(int32_t& keyCode) {
    if (keyCode != plat::ui::vbKeySpace) return;
    if (locked_) return;
    if (plat::ui::TreeNode* node = tvwOptions.SelectedItem()) ToggleOption(*node);
}

void XSpO2SimulationConfigView::tvwOptions_NodeClick(plat::ui::TreeNode& node) {
    // Moving through the tree with the arrow keys ticks nothing; a click does.
    if (locked_ || tvwOptions.NodeClickByKeyboard()) return;
    ToggleOption(node);
}

void XSpO2SimulationConfigView::ToggleOption(plat::ui::TreeNode& node) {
    EndCellEdit();
    if (node.Image() == kImageOff) {
        node.SetImage(kImageOn);
        SetOption(node.Key(), true);
    } else if (node.Image() == kImageOn) {
        node.SetImage(kImageOff);
        SetOption(node.Key(), false);
    }
}

void XSpO2SimulationConfigView::SetOption(const std::string& key, bool on) {
    if (!config_) return;
    int32_t bit = 0;
    if (key == kNAKey) bit = CSpO2SimulationConfig::kEnableNA;
    if (key == kSkipKey) bit = CSpO2SimulationConfig::kEnableSkip;
    int32_t flags = config_->EnableBtnFlags();
    flags = on ? (flags | bit) : (flags & ~bit);
    config_->SetEnableBtnFlags(flags);
    if (callBack_) plat::PassOver([&] { callBack_->Raise("Change", {}); });
}

void XSpO2SimulationConfigView::SetLocked(bool locked) {
    // A value being typed is committed first: a locked page takes no more keys.
    EndCellEdit();
    locked_ = locked;
    // The upload box serves custom makes only: unlocking leaves it off without any.
    const bool anyCustomMake = makes_ && makes_->Count() > 0;
    plat::PassOver([&] { chkUploadRCurve.SetEnabled(!locked && (anyCustomMake || !config_)); });
    plat::PassOver([&] { Optical.SetEnabled(!locked); });
    plat::PassOver([&] { OptElectrical.SetEnabled(!locked); });
    plat::PassOver([&] { tvwOptions.SetEnabled(!locked); });
    plat::PassOver([&] { cboMakeName.SetLocked(locked); });
    plat::PassOver([&] { cboPresets.SetLocked(locked); });
    plat::PassOver([&] { txtTLC.SetLocked(locked); });
}

}  // namespace plugin
