#pragma once
// The dialog in which a technician derives a new make's R-curve by hand: the
// oximeter under test is read three times at every SpO2 step from 100 down to
// 50 while the simulator's R value is raised between readings; the dialog
// averages each row's readings itself. On Save it checks the entries, asks for
// a make name and file, fills the make its caller handed in and hides. It
// writes no file and never talks to the simulator.
//
//   auto make = std::make_shared<makes::COximeterMake>();
//   auto dialog = std::make_shared<frmCreateRcurve>();
//   dialog->Init(makes, make);
//   dialog->Show(plat::ui::ShowMode::Modal);
//   if (!dialog->CancelClicked()) store(make);   // 51 points, SpO2 50 first
//   dialog->Unload();
//
// Only a successful Save counts: Close, Esc and the close box leave the make
// untouched and CancelClicked true.

#include <cstdint>
#include <string>

#include "editor/r_value_grid_window.h"
#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"

namespace editor {

class frmCreateRcurve : public plat::ui::Form, private RValueGridWindow {
public:
    static constexpr int32_t kGridRows = makes::kCurvePoints + 1;  // header and SpO2 100 down to 50
    static constexpr int32_t kFirstReadingCol = 2;
    static constexpr int32_t kLastReadingCol = 4;
    static constexpr int32_t kAverageCol = 5;

    frmCreateRcurve();

    // The makes whose names and files are taken, and the make to fill.
    void Init(makes::MakeListPtr curveNames, makes::OximeterMakePtr comMake);
    bool CancelClicked() const { return cancelClicked_; }

private:
    void Form_Load();
    void LayOutGrid();
    void ValueBox_KeyPress(int32_t& keyAscii);
    void tliRValue_GridCellClick(plat::ui::GridCell& cell, int32_t button) override;
    void tliRValue_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) override;
    void tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& editor) override;
    void tliRValue_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) override;
    void tliRValue_LostFocus() override;
    // Ends an open cell edit as a focus move does; false when it stays open.
    bool EndCellEdit();
    void cmdSave_Click();
    void cmdClose_Click();

    // The checks of Save in their order; the first failing one shows its
    // message, moves the focus (or opens the empty cell) and gives false.
    bool CheckEntries();
    // The row's average of its filled readings, as the average column shows
    // it; "" when none is filled. `edited` stands in for the cell being committed.
    std::string RowAverage(int32_t row, int32_t editedCol = -1, const std::string& edited = {});

    plat::ui::Frame& FraRcurveDetails = Add<plat::ui::Frame>("FraRcurveDetails");
    plat::ui::Label& lblRedDC = Add<plat::ui::Label>("lblRedDC", &FraRcurveDetails);
    plat::ui::TextBox& txtRDC = Add<plat::ui::TextBox>("txtRDC", &FraRcurveDetails);
    plat::ui::Label& lblIRAC = Add<plat::ui::Label>("lblIRAC", &FraRcurveDetails);
    plat::ui::TextBox& txtIRAC = Add<plat::ui::TextBox>("txtIRAC", &FraRcurveDetails);
    plat::ui::Label& lblIRDC = Add<plat::ui::Label>("lblIRDC", &FraRcurveDetails);
    plat::ui::TextBox& txtIRDC = Add<plat::ui::TextBox>("txtIRDC", &FraRcurveDetails);
    plat::ui::Label& lblTLC = Add<plat::ui::Label>("lblTLC", &FraRcurveDetails);
    plat::ui::TextBox& txtTLC = Add<plat::ui::TextBox>("txtTLC", &FraRcurveDetails);
    plat::ui::Label& lblLightLevel = Add<plat::ui::Label>("lblLightLevel", &FraRcurveDetails);
    plat::ui::ComboBox& cmbLightLevel = Add<plat::ui::ComboBox>("cmbLightLevel", &FraRcurveDetails);
    plat::ui::Grid& tliRValue = Add<plat::ui::Grid>("tliRValue", &FraRcurveDetails);
    plat::ui::Label& lblHelp = Add<plat::ui::Label>("lblHelp", &FraRcurveDetails);
    plat::ui::Label& lblHeader = Add<plat::ui::Label>("lblHeader", &FraRcurveDetails);
    plat::ui::Label& lblHelpMsg2 = Add<plat::ui::Label>("lblHelpMsg2", &FraRcurveDetails);
    plat::ui::Label& lblHelpNote = Add<plat::ui::Label>("lblHelpNote", &FraRcurveDetails);
    plat::ui::CommandButton& cmdSave = Add<plat::ui::CommandButton>("cmdSave");
    plat::ui::CommandButton& cmdClose = Add<plat::ui::CommandButton>("cmdClose");

    makes::MakeListPtr curveNames_;
    makes::OximeterMakePtr make_;
    bool cancelClicked_ = true;
};

}  // namespace editor
