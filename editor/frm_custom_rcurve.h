#pragma once
// The editor's one window: pick a make, see and edit its light values, light
// level and 51-point R-curve, save it, add or delete makes, send it to the
// simulator. The window owns the make list and the shown make; every road that
// changes the shown make ends by selecting a picker entry, whose handling shows
// it and resets the change tracking.
//
// What the window shows, a value being typed into a cell included, is compared
// with the shown make as stored (IsSettingsGotChanged); Save is enabled only
// while they differ, or while the shown make has no file written yet. Saving works on a copy of the shown
// make: the list, the picker and the shown make take it only once its file is
// on disk. Every road that saves, sends or shows another make, and closing,
// first ends an open cell edit as a focus move would.

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "editor/r_value_grid_window.h"
#include "editor/upload_run.h"
#include "makes/make_utils.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/grid.h"
#include "platform/ui/image_list.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/toolbar.h"

namespace editor {

// What a save came to.
enum class SaveResult { Saved, Declined, Failed };

class frmCustomRcurve : public plat::ui::Form, private RValueGridWindow {
public:
    static constexpr int32_t kRValueCol = 2;
    static constexpr int32_t kMaxLightValue = 4095;

    frmCustomRcurve();

    // State the tests and the other roads read.
    const makes::MakeListPtr& Makes() const { return m_Makes; }
    const makes::OximeterMakePtr& CurrentMake() const { return m_CurrentMake; }
    bool Uploading() const { return upload_.Active(); }
    bool IsSettingsGotChanged() const;

    // The checks of the Save button, in its order: the first failing one
    // shows its message, moves the focus (or opens the empty cell) and gives
    // false.
    bool CheckSettings();
    // Stores the shown make, in place after the overwrite question or under a
    // new name and file from the save-make dialog. Checks no values.
    SaveResult SaveOximeter();

private:
    // Load and unload.
    void Form_Load();
    void Form_QueryUnload(bool& cancel, plat::ui::UnloadMode mode);
    void Form_Unload();
    void LayOutGrid();
    void FillPicker();

    // Showing a make and reading the window back.
    void cmbCustomRcurve_Click();
    void SetOximeterMake();
    void ClearOximeterDetails();
    void ClearGrid();
    void FillRValueGrid();
    void SetOximeterParams(makes::COximeterMake& make) const;
    // Selects the picker entry of that name without running its handling.
    void SelectQuietly(const std::string& name);
    // The R value a row shows: the open editor's text in the cell being typed.
    std::string ShownRValue(int32_t row) const;
    // Save enabled exactly while the window differs from the shown make.
    void UpdateSave();
    // The no-make / some-make states of the toolbar, Send and the fields.
    void SetMakeControlsState(bool someMake);

    // Edits.
    // Ends an open cell edit as a focus move does; false when it stays open
    // (its commit was refused), and the caller then does nothing.
    bool EndCellEdit();
    // The shown make was added but its file could not be written.
    bool ShownMakeUnwritten() const { return m_CurrentMake && unwritten_.contains(m_CurrentMake); }
    void ValueBox_KeyPress(int32_t& keyAscii);
    void ValueBox_KeyUp(int32_t& keyCode);
    void ValueBox_Change(const plat::ui::TextBox& box);
    void cmbLightLevel_Click();
    void tliRValue_GridCellClick(plat::ui::GridCell& cell, int32_t button) override;
    void tliRValue_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii) override;
    void tliRValue_GridCellEditingChange(plat::ui::GridCellEditor& editor) override;
    void tliRValue_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) override;
    void tliRValue_LostFocus() override;

    // Buttons.
    void cmdSave_Click();
    void cmdClose_Click();
    // The Close road up to the unload: false keeps the window open.
    bool ReadyToClose();
    bool AskForOverwrite();

    // Add, Delete and Send; see frm_custom_rcurve_actions.cpp.
    friend class UploadRun;
    void tbrMakeAction_ButtonClick(plat::ui::ToolbarButton& button);
    void cmdUpload_Click();
    void CreateNewOximeter();
    void DeleteCurrentOximeter();
    void RemoveOximeter(const std::string& name);
    static void RemoveComboItem(plat::ui::ComboBox& combo, const std::string& text);
    // Puts the shown make's stored values back from `from` on, in the order
    // RDC, IRDC, IRAC, TLC, grid, light level (0 restores all).
    void RestoreFromMake(int32_t from);
    // Locks the fields and disables the make actions while an upload runs.
    void SetSendingState(bool sending);

    plat::ui::ImageList& imlMakeAction = Add<plat::ui::ImageList>("imlMakeAction");
    plat::ui::Toolbar& tbrmakeAction = Add<plat::ui::Toolbar>("tbrmakeAction");
    plat::ui::Label& lblCustomRcurve = Add<plat::ui::Label>("lblCustomRcurve");
    plat::ui::ComboBox& cmbCustomRcurve = Add<plat::ui::ComboBox>("cmbCustomRcurve");
    plat::ui::Label& lblRcurveFileName = Add<plat::ui::Label>("lblRcurveFileName");
    plat::ui::TextBox& txtRcurveFileName = Add<plat::ui::TextBox>("txtRcurveFileName");
    plat::ui::Frame& FraOximeter = Add<plat::ui::Frame>("FraOximeter");
    plat::ui::Label& lblRedDC = Add<plat::ui::Label>("lblRedDC", &FraOximeter);
    plat::ui::TextBox& txtRDC = Add<plat::ui::TextBox>("txtRDC", &FraOximeter);
    plat::ui::Label& lblIRDC = Add<plat::ui::Label>("lblIRDC", &FraOximeter);
    plat::ui::TextBox& txtIRDC = Add<plat::ui::TextBox>("txtIRDC", &FraOximeter);
    plat::ui::Label& lblIRAC = Add<plat::ui::Label>("lblIRAC", &FraOximeter);
    plat::ui::TextBox& txtIRAC = Add<plat::ui::TextBox>("txtIRAC", &FraOximeter);
    plat::ui::Label& lblTLC = Add<plat::ui::Label>("lblTLC", &FraOximeter);
    plat::ui::TextBox& txtTLC = Add<plat::ui::TextBox>("txtTLC", &FraOximeter);
    plat::ui::Label& lblLightLevel = Add<plat::ui::Label>("lblLightLevel", &FraOximeter);
    plat::ui::ComboBox& cmbLightLevel = Add<plat::ui::ComboBox>("cmbLightLevel", &FraOximeter);
    plat::ui::Frame& FraRcurve = Add<plat::ui::Frame>("FraRcurve");
    plat::ui::Grid& tliRValue = Add<plat::ui::Grid>("tliRValue", &FraRcurve);
    plat::ui::Label& lblHelpMsg2 = Add<plat::ui::Label>("lblHelpMsg2");
    plat::ui::Label& lblNote = Add<plat::ui::Label>("lblNote");
    plat::ui::Label& lblWarning = Add<plat::ui::Label>("lblWarning");
    plat::ui::Label& lblUploading = Add<plat::ui::Label>("lblUploading");
    plat::ui::ProgressBar& xtgUploading = Add<plat::ui::ProgressBar>("xtgUploading");
    plat::ui::CommandButton& cmdSave = Add<plat::ui::CommandButton>("cmdSave");
    plat::ui::CommandButton& cmdUpload = Add<plat::ui::CommandButton>("cmdUpload");
    plat::ui::CommandButton& cmdClose = Add<plat::ui::CommandButton>("cmdClose");

    makes::MakeListPtr m_Makes = std::make_shared<makes::MakeList>();
    makes::OximeterMakePtr m_CurrentMake;
    // Makes added whose file could not be written: unsaved until saved.
    std::set<makes::OximeterMakePtr> unwritten_;
    bool m_SaveOk = false;
    UploadRun upload_{*this};
    bool pickerQuiet_ = false;  // a selection put back by code, not a pick
    bool sessionStarted_ = false;
};

}  // namespace editor
