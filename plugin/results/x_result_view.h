#pragma once
// XResultView: the results grid of the test-guide window. One row per measured
// quantity: name, recorded value, high and low limit of the selected limit
// standard, unit; a value outside the limits shows red and bold.
//
// The SpO2 simulation test has a row for each typed reading of its kind
// (test_kind.h), SpO2 (row 1) and BPM (row 2), whose recorded values the
// operator types while edit mode is on; every finished entry is judged
// against the selected standard and, once both readings are there, raised as
// TestResultsChanged(SpO2 text, BPM text, Enter pressed in the last row). Readings are whole numbers 0 to 1000, kept as the
// cell shows them ("098" is 98); an emptied cell becomes "0"; a cell left as it
// was records nothing, and any other text puts back the reading from before
// the edit. An open entry ends before the grid is refilled.
//
// The probe tests (LED, photodiode, resistance) show what the simulator
// reported, one row per probe quantity: the selected standard's items of the
// test's prefix ("LED", "PHOTO", "PIN"; any letter case), else a default set.
// The row's measurement key is the tag of its name cell. A measurement never
// measured (status 0) leaves its row "no data"; a resistance test without any
// measured pin pair says "No resitances found" in its first pin row.
//
// Columns: 0 unseen, 1 name, 2 recorded value, 3 high limit, 4 low limit, 5 unit.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/limits.h"
#include "host/test_element.h"
#include "platform/ui/grid.h"
#include "platform/ui/user_control.h"
#include "plugin/factory/server_lock.h"
#include "plugin/shell/result_view_interface.h"

namespace plugin {

class CMeasurement;
class CSpO2SimulationConfig;

class XResultView : public plat::ui::UserControl, public IResultView {
public:
    XResultView();

    // IResultView.
    void SetOwner(const host::TestElementPtr& element) override;
    // On: the SpO2 cell of an SpO2 test grid opens for entry; off: any entry ends.
    void SetEditMode(bool editable) override;
    void DisplayResults(const std::shared_ptr<host::IResultData>& result) override;
    // Selects the owner's standard of those two texts (any letter case) and
    // shows its limits; none matching (or none at all) clears the selection.
    void SelectStandard(const std::string& name, const std::string& text, bool useExpected) override;
    void InitTest() override;
    void FireTestResultsChangedEvent() override;
    void InitProbeTest() override;
    void Refresh() override;

    plat::ui::Grid& Grid() { return tlstGrid; }
    bool EditMode() const { return editMode_; }

private:
    enum class RowLook { Normal, OutOfLimits, NoData };

    // Layout and looks.
    void BuildLayout();
    void ClearColumn(int32_t col);
    void ClearGrid(bool names, bool units);
    void SetRowLook(int32_t row, bool ok);
    void ApplyRowLook(int32_t row, RowLook look);
    void UserControl_Resize();
    void SizeColumns();
    // The six columns, each with the alignment of its values, header included.
    void SetColumns();
    void SetRows(int32_t rows);

    // SpO2 simulation test.
    void LayoutLimitRows();
    void ShowSpO2LimitItem(const std::shared_ptr<host::ILimitItem>& item);
    void ShowSpO2Measurement(const CMeasurement& measurement);
    void EvaluateAllRows();
    void EvaluateRow(int32_t row);

    // Probe tests.
    void LayoutProbeLimitRows();
    bool ShowProbeLimitItem(const std::shared_ptr<host::ILimitItem>& item, int32_t row);
    void WriteProbeRow(int32_t row, const std::string& name, const std::string& key);
    int32_t FindRowByKey(const std::string& key, int32_t firstRow, int32_t lastRow) const;
    void ShowProbeResults(const std::shared_ptr<host::IResultData>& result);
    void MarkAllRowsNoData();
    void MarkRowNoData(int32_t row);
    void ShowProbeMeasurement(const CMeasurement& measurement, bool append);
    void ShowNoResistances();
    void RestoreRowKeys();
    std::string ProbePrefix() const;
    std::string ProbeUnit() const;

    // Entry (SpO2 simulation test).
    void tlstGrid_GridCellClick(plat::ui::GridCell& cell, int32_t button);
    void tlstGrid_GridCellRequestEditing(plat::ui::GridCell& cell, int32_t& flags);
    void tlstGrid_GridCellEditingKeyPress(plat::ui::GridCellEditor& editor, int32_t& keyAscii);
    void tlstGrid_GridCellEditingChange(plat::ui::GridCellEditor& editor);
    void tlstGrid_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell);
    void tlstGrid_LostFocus();
    void LeaveEditing();
    // An open entry ends (as a focus move ends it) before the grid shows anything else.
    void EndEntry();

    // The bound as the grid shows it; "" when not enabled.
    static std::string BoundText(const host::ILimitItem& item, int32_t index);
    int32_t TestID() const;
    std::shared_ptr<CSpO2SimulationConfig> Configuration() const;
    std::shared_ptr<host::ILimitStandards> OwnerStandards() const;

    plat::ui::Grid& tlstGrid = Add<plat::ui::Grid>("tlstGrid");

    ServerLock lock_;
    std::weak_ptr<host::ITestElement> owner_;
    std::shared_ptr<host::ILimitStandard> selected_;
    bool editMode_ = false;
    bool useExpected_ = false;
    bool lastRowEnter_ = false;
    // The measurement key of each probe row (index = row), kept apart from
    // the tags, which "No resitances found" overwrites.
    std::vector<std::string> rowKeys_;
};

}  // namespace plugin
