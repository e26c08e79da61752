#include "plugin/results/x_result_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

#include "host/translate_text.h"
#include "makes/make_utils.h"
#include "platform/ui/metrics.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "dialogs/numeric_grid.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/utilities.h"
#include "plugin/shell/test_kind.h"

namespace plugin {

namespace {

namespace MGrid = dialogs::MGrid;

constexpr int32_t kColumns = 6;
constexpr int32_t kNameCol = 1, kValueCol = 2, kHighCol = 3, kLowCol = 4, kUnitCol = 5;
// The readings event's SpO2 and BPM: the first two typed readings of the table.
constexpr int32_t kSpO2Row = 1, kBpmRow = 2;
constexpr int32_t kAlignName = 2, kAlignValue = 8, kAlignUnit = 5;

const char* const kHeaders[kColumns] = {"", "20032::Measurement", "20035::Recorded value", "20036::High limit",
                                        "20037::Low limit", "20038::Unit"};

std::shared_ptr<CMeasurementColl> MeasurementsOf(const std::shared_ptr<host::IResultData>& result) {
    auto testResult = std::dynamic_pointer_cast<ITestResult>(result);
    return testResult ? testResult->Measurements() : nullptr;
}

// The readings the operator types, one row each from row 1; none for a kind
// without typed readings.
std::span<const TestKind::Measurement> TypedReadings(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    if (!kind || kind->readings != TestKind::Readings::Typed) return {};
    return kind->measurements;
}

// The row of a typed reading's key (exact case); 0 for any other key.
int32_t TypedRow(std::span<const TestKind::Measurement> readings, std::string_view key) {
    for (size_t i = 0; i < readings.size(); ++i)
        if (readings[i].key == key) return static_cast<int32_t>(i) + 1;
    return 0;
}

// What the configuration expects the reading to show; 0 without one.
int32_t ConfiguredValue(const TestKind::Measurement& reading, const CSpO2SimulationConfig* config) {
    return config && reading.configured ? (config->*reading.configured)() : 0;
}

}  // namespace

std::string XResultView::BoundText(const host::ILimitItem& item, int32_t index) {
    std::string text;
    plat::PassOver([&] {
        if (item.BoundEnabled(index)) text = plat::SingleToText(item.BoundValue(index));
    });
    return text;
}

XResultView::XResultView() {
    OnResize = [this] { UserControl_Resize(); };
    tlstGrid.OnGridCellClick = [this](plat::ui::GridCell& cell, int32_t button) { tlstGrid_GridCellClick(cell, button); };
    tlstGrid.OnGridCellRequestEditing = [this](plat::ui::GridCell& cell, int32_t& flags) {
        tlstGrid_GridCellRequestEditing(cell, flags);
    };
    tlstGrid.OnGridCellEditingKeyPress = [this](plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
        tlstGrid_GridCellEditingKeyPress(editor, keyAscii);
    };
    tlstGrid.OnGridCellEditingChange = [this](plat::ui::GridCellEditor& editor) { tlstGrid_GridCellEditingChange(editor); };
    tlstGrid.OnGridCellAfterEditing = [this](std::string& newText, plat::ui::GridCell& cell) {
        tlstGrid_GridCellAfterEditing(newText, cell);
    };
    tlstGrid.OnLostFocus = [this] { tlstGrid_LostFocus(); };
    SetRows(1);
}

// ---- Owner ----------------------------------------------------------------

void XResultView::SetOwner(const host::TestElementPtr& element) { owner_ = element; }

int32_t XResultView::TestID() const {
    int32_t id = 0;
    plat::PassOver([&] {
        if (auto owner = owner_.lock()) id = owner->TestID();
    });
    return id;
}

std::shared_ptr<CSpO2SimulationConfig> XResultView::Configuration() const {
    std::shared_ptr<CSpO2SimulationConfig> config;
    plat::PassOver([&] {
        if (auto owner = owner_.lock()) config = std::dynamic_pointer_cast<CSpO2SimulationConfig>(owner->Configuration());
    });
    return config;
}

std::shared_ptr<host::ILimitStandards> XResultView::OwnerStandards() const {
    std::shared_ptr<host::ILimitStandards> standards;
    plat::PassOver([&] {
        auto owner = owner_.lock();
        auto limits = owner ? owner->Limits() : nullptr;
        if (limits) standards = limits->Standards();
    });
    return standards;
}

// ---- Public members -------------------------------------------------------

void XResultView::InitTest() {
    EndEntry();
    BuildLayout();
    if (HasTypedReadings(TestID())) SetEditMode(false);
    ClearColumn(kValueCol);
    for (int32_t row = 1; row < tlstGrid.Rows(); ++row) SetRowLook(row, true);
}

void XResultView::DisplayResults(const std::shared_ptr<host::IResultData>& result) {
    EndEntry();
    if (!HasTypedReadings(TestID())) {
        ShowProbeResults(result);
        SizeColumns();
        return;
    }
    if (auto measurements = MeasurementsOf(result))
        for (const auto& measurement : measurements->NewEnum())
            plat::PassOver([&] { ShowSpO2Measurement(*measurement); });
    EvaluateAllRows();
    FireTestResultsChangedEvent();
}

void XResultView::SelectStandard(const std::string& name, const std::string& text, bool useExpected) {
    EndEntry();
    useExpected_ = useExpected;
    selected_.reset();
    // An owner without standards clears the selection as an unknown name does.
    plat::PassOver([&] {
        auto standards = OwnerStandards();
        const int32_t count = standards ? standards->Count() : 0;
        for (int32_t i = 1; i <= count && !selected_; ++i) {
            auto standard = standards->Item(i);
            if (standard && plat::EqualsNoCase(standard->Name(), name) && plat::EqualsNoCase(standard->Text(), text))
                selected_ = standard;
        }
    });
    if (HasTypedReadings(TestID())) {
        LayoutLimitRows();
        EvaluateAllRows();
    } else {
        LayoutProbeLimitRows();
        std::shared_ptr<host::IResultData> result;
        plat::PassOver([&] {
            if (auto owner = owner_.lock()) result = owner->Result();
        });
        ShowProbeResults(result);
        SizeColumns();
    }
}

void XResultView::Refresh() {
    plat::PassOver([&] { UserControl_Resize(); });
    NotifyHostChanged();
}

// ---- Layout ---------------------------------------------------------------

void XResultView::SetColumns() {
    tlstGrid.SetCols(kColumns);
    // By column, so that each header is aligned like the values under it.
    const int32_t alignments[kColumns] = {0, kAlignName, kAlignValue, kAlignValue, kAlignValue, kAlignUnit};
    for (int32_t col = kNameCol; col < kColumns; ++col) tlstGrid.SetColAlignment(col, alignments[col]);
}

void XResultView::SetRows(int32_t rows) {
    tlstGrid.SetRows(rows);
    rowKeys_.resize(static_cast<size_t>(rows));
}

void XResultView::BuildLayout() {
    auto headers = [&] {
        for (int32_t col = kNameCol; col < kColumns; ++col)
            plat::PassOver([&] { tlstGrid.SetCellText(0, col, host::TranslateText(kLanguageSection, kHeaders[col])); });
    };
    if (!HasTypedReadings(TestID())) {
        // A probe grid keeps the rows it has: a new run only empties the values.
        if (tlstGrid.Rows() >= 2) return;
        plat::PassOver([&] {
            SetColumns();
            SetRows(1);
        });
        headers();
        ClearGrid(false, false);
        UserControl_Resize();
        return;
    }
    const std::span<const TestKind::Measurement> readings = TypedReadings(TestID());
    plat::PassOver([&] {
        SetRows(static_cast<int32_t>(readings.size()) + 1);
        SetColumns();
    });
    headers();
    plat::PassOver([&] {
        for (int32_t row = 1; row <= static_cast<int32_t>(readings.size()); ++row) {
            const TestKind::Measurement& reading = readings[static_cast<size_t>(row - 1)];
            tlstGrid.SetCellText(row, kNameCol, host::TranslateText(kLanguageSection, reading.gridName));
            tlstGrid.SetCellTag(row, kNameCol, std::string(reading.key));
            rowKeys_[static_cast<size_t>(row)] = reading.key;
            tlstGrid.SetCellText(row, kUnitCol, host::TranslateText(kLanguageSection, reading.unit));
        }
    });
    ClearColumn(kValueCol);
    UserControl_Resize();
}

void XResultView::ClearColumn(int32_t col) {
    plat::PassOver([&] {
        if (col >= tlstGrid.Cols()) return;
        MGrid::Grid_ClearColumnValues(tlstGrid, col);
        if (col != kNameCol) return;
        // Names go with their keys.
        for (int32_t row = 1; row < tlstGrid.Rows(); ++row) {
            tlstGrid.SetCellTag(row, kNameCol, "");
            rowKeys_[static_cast<size_t>(row)].clear();
        }
    });
}

void XResultView::ClearGrid(bool names, bool units) {
    if (names) ClearColumn(kNameCol);
    if (units) ClearColumn(kUnitCol);
    ClearColumn(kValueCol);
    ClearColumn(kHighCol);
    ClearColumn(kLowCol);
}

void XResultView::SetRowLook(int32_t row, bool ok) { ApplyRowLook(row, ok ? RowLook::Normal : RowLook::OutOfLimits); }

void XResultView::ApplyRowLook(int32_t row, RowLook look) {
    plat::ui::Color fore = plat::ui::vbButtonText, selectedFore = plat::ui::vbHighlightText;
    bool bold = false;
    if (look != RowLook::Normal) {
        fore = plat::ui::vbRed;
        selectedFore = look == RowLook::OutOfLimits ? plat::ui::vbRed : plat::ui::vbHighlightText;
        bold = true;
    }
    for (int32_t col = kNameCol; col < kColumns; ++col)
        plat::PassOver([&] {
            tlstGrid.SetCellForeColor(row, col, fore);
            tlstGrid.SetCellSelectedForeColor(row, col, selectedFore);
            tlstGrid.SetCellBold(row, col, bold);
        });
}

void XResultView::UserControl_Resize() {
    plat::PassOver([&] { tlstGrid.Move(0, 0, ScaleWidth(), ScaleHeight()); });
    SizeColumns();
}

void XResultView::SizeColumns() {
    if (tlstGrid.Cols() <= kValueCol) return;
    tlstGrid.SetRedraw(false);
    plat::PassOver([&] {
        const plat::ui::TextMetrics& metrics = plat::ui::Metrics();
        const plat::ui::Font& font = tlstGrid.Font();
        int32_t headerHeight = 0, valueWidth = 0;
        for (int32_t col = kValueCol; col < tlstGrid.Cols(); ++col) {
            const std::string header = tlstGrid.CellText(0, col);
            headerHeight = std::max(headerHeight, metrics.TextHeight(header, font));
            valueWidth = std::max(valueWidth, metrics.TextWidth(header, font));
        }
        headerHeight = std::max(headerHeight + 90, 285);
        valueWidth = std::max(valueWidth + 240, 285);
        int32_t valuesWidth = 0;
        for (int32_t col = kValueCol; col < tlstGrid.Cols(); ++col) {
            // A value longer than the headers ("No resitances found") widens its own column.
            int32_t width = valueWidth;
            for (int32_t row = 1; row < tlstGrid.Rows(); ++row) {
                plat::ui::Font cellFont = font;
                cellFont.bold = tlstGrid.EffectiveBold(row, col);
                width = std::max(width, metrics.TextWidth(tlstGrid.CellText(row, col), cellFont) + 240);
            }
            tlstGrid.SetColWidth(col, width);
            valuesWidth += width;
        }
        tlstGrid.SetRowHeight(0, headerHeight);
        tlstGrid.SetColWidth(0, 0);
        const int32_t twipsPerPixel = std::max(1, metrics.TwipsPerPixelX());
        const int32_t scrollBar = (metrics.VScrollBarWidth() - 3) * twipsPerPixel;
        const int32_t nameWidth = std::max(tlstGrid.Width() - valuesWidth - scrollBar, 2700);
        tlstGrid.SetColWidth(kNameCol, nameWidth);
        tlstGrid.SetEditorWidth(nameWidth / twipsPerPixel);
    });
    tlstGrid.SetRedraw(true);
}

// ---- SpO2 simulation test -----------------------------------------------

void XResultView::LayoutLimitRows() {
    ClearColumn(kHighCol);
    ClearColumn(kLowCol);
    if (!selected_) return;
    plat::PassOver([&] {
        auto items = selected_->LimitItems();
        const int32_t count = items ? items->Count() : 0;
        for (int32_t i = 1; i <= count; ++i)
            if (auto item = items->Item(i)) plat::PassOver([&] { ShowSpO2LimitItem(item); });
    });
}

void XResultView::ShowSpO2LimitItem(const std::shared_ptr<host::ILimitItem>& item) {
    const std::span<const TestKind::Measurement> readings = TypedReadings(TestID());
    const int32_t row = TypedRow(readings, item->Key());
    if (row == 0) return;  // this grid has no row for it

    std::string texts[2];
    if (useExpected_) {
        const float expected =
            static_cast<float>(ConfiguredValue(readings[static_cast<size_t>(row - 1)], Configuration().get()));
        auto tolerance = std::dynamic_pointer_cast<host::IToleranceItem>(item);
        for (int32_t index = 0; index < 2; ++index)
            plat::PassOver([&] {
                if (item->BoundEnabled(index) && tolerance) texts[index] = plat::SingleToText(tolerance->Bound(expected, index));
            });
    } else {
        for (int32_t index = 0; index < 2; ++index) texts[index] = BoundText(*item, index);
    }
    tlstGrid.SetCellText(row, kHighCol, texts[0]);
    tlstGrid.SetCellText(row, kLowCol, texts[1]);
}

void XResultView::ShowSpO2Measurement(const CMeasurement& measurement) {
    const int32_t row = TypedRow(TypedReadings(TestID()), measurement.Key());
    if (row == 0) return;

    const plat::Variant value = measurement.Value();
    std::string text;
    if (value.IsNumeric()) {
        const std::string format = measurement.ValueFormat();
        text = format.empty() ? value.AsString() : plat::FormatNumber(value.AsDouble(), format);
    } else if (!value.IsEmpty()) {
        text = value.AsString();
    }
    tlstGrid.SetCellText(row, kValueCol, text);
}

void XResultView::EvaluateAllRows() {
    for (int32_t row = 1; row < tlstGrid.Rows(); ++row) EvaluateRow(row);
}

void XResultView::EvaluateRow(int32_t row) {
    const std::span<const TestKind::Measurement> readings = TypedReadings(TestID());
    if (row < 1 || row > static_cast<int32_t>(readings.size())) return;
    const TestKind::Measurement& reading = readings[static_cast<size_t>(row - 1)];
    plat::PassOver([&] {
        const std::string text = plat::Trim(tlstGrid.CellText(row, kValueCol));
        if (text.empty()) {
            SetRowLook(row, true);
            return;
        }
        bool ok = false;
        // A text that is no reading ("<5", "OPEN") is never within limits.
        if (text.find_first_of("<>") == std::string::npos && ValTextFindsNumber(text)) {
            const float value = static_cast<float>(makes::ValText(text));
            ok = WithinLimits(value, reading.key, selected_, ConfiguredValue(reading, Configuration().get()));
        }
        SetRowLook(row, ok);
    });
}

void XResultView::FireTestResultsChangedEvent() {
    TestResultsReadings readings;
    plat::PassOver([&] {
        readings.spo2 = plat::Trim(tlstGrid.CellText(kSpO2Row, kValueCol));
        readings.bpm = plat::Trim(tlstGrid.CellText(kBpmRow, kValueCol));
    });
    if (readings.spo2.empty() || readings.bpm.empty()) return;
    readings.enter = lastRowEnter_;
    RaiseEvent(kTestResultsChangedEvent, EventParams(readings));
}

}  // namespace plugin
