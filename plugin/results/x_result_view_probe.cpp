// The probe tests' rows of the results grid (LED, photodiode, resistance).
#include <algorithm>
#include <vector>

#include "driver/probe_report.h"
#include "host/translate_text.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"
#include "plugin/results/x_result_view.h"
#include "plugin/results/measurement_coll.h"
#include "plugin/shell/pelmo2_utils.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_kind.h"
#include "plugin/results/test_type_keys.h"

namespace plugin {

namespace {

constexpr int32_t kNameCol = 1, kValueCol = 2, kHighCol = 3, kLowCol = 4, kUnitCol = 5;
constexpr std::string_view kPinPrefix = drv::probe_report::kPin;

// The kind of a grid of fixed probe readings; nullptr for pin pairs (the
// resistance test, and a test ID of no kind).
const TestKind* FixedProbeKind(int32_t testId) {
    const TestKind* kind = FindTestKind(testId);
    return kind && kind->readings == TestKind::Readings::ProbeReport ? kind : nullptr;
}

// The rows a probe grid starts with.
std::vector<std::string> ProbeKeys(int32_t testId) {
    const TestKind* kind = FixedProbeKind(testId);
    if (!kind) return {PinPairKey(1, 2)};
    std::vector<std::string> keys;
    for (const TestKind::Measurement& measurement : kind->measurements) keys.emplace_back(measurement.key);
    return keys;
}

}  // namespace

std::string XResultView::ProbePrefix() const {
    const TestKind* kind = FixedProbeKind(TestID());
    return std::string(kind ? kind->keyPrefix : kPinPrefix);
}

std::string XResultView::ProbeUnit() const { return MeasurementUnit(ProbeKeys(TestID()).front()); }

void XResultView::WriteProbeRow(int32_t row, const std::string& name, const std::string& key) {
    tlstGrid.SetCellText(row, kNameCol, name);
    tlstGrid.SetCellTag(row, kNameCol, key);
    rowKeys_[static_cast<size_t>(row)] = key;
    tlstGrid.SetCellText(row, kHighCol, "");
    tlstGrid.SetCellText(row, kLowCol, "");
    tlstGrid.SetCellText(row, kUnitCol, ProbeUnit());
}

void XResultView::InitProbeTest() {
    EndEntry();
    ClearGrid(true, true);
    plat::PassOver([&] {
        SetColumns();
        const std::vector<std::string> keys = ProbeKeys(TestID());
        SetRows(static_cast<int32_t>(keys.size()) + 1);
        for (size_t i = 0; i < keys.size(); ++i)
            WriteProbeRow(static_cast<int32_t>(i) + 1, MeasurementDescription(keys[i]), keys[i]);
    });
    UserControl_Resize();
}

void XResultView::LayoutProbeLimitRows() {
    ClearGrid(true, true);
    if (!selected_) {
        InitProbeTest();
        return;
    }
    int32_t row = 1;
    plat::PassOver([&] {
        SetColumns();
        const int32_t expected =
            FixedProbeKind(TestID()) ? static_cast<int32_t>(ProbeKeys(TestID()).size()) : PinPairCount();
        SetRows(expected + 1);
        const std::string prefix = ProbePrefix();
        auto items = selected_->LimitItems();
        const int32_t count = items ? items->Count() : 0;
        for (int32_t i = 1; i <= count; ++i) {
            plat::PassOver([&] {
                auto item = items->Item(i);
                if (!item) return;
                const std::string name = item->Key();
                if (!plat::StartsWithNoCase(name, prefix) || FindRowByKey(name, 1, row - 1) > 0) return;
                // A standard may name more quantities than the test has: the grid grows.
                if (row >= tlstGrid.Rows()) SetRows(row + 1);
                if (ShowProbeLimitItem(item, row)) ++row;
            });
        }
    });
    plat::PassOver([&] { SetRows(row); });
    UserControl_Resize();
}

bool XResultView::ShowProbeLimitItem(const std::shared_ptr<host::ILimitItem>& item, int32_t row) {
    const std::string name = item->Key();
    const std::string description = MeasurementDescription(name);
    // A name that is no quantity of ours takes no row.
    if (description.empty()) return false;
    WriteProbeRow(row, description, name);
    tlstGrid.SetCellText(row, kHighCol, BoundText(*item, 0));
    tlstGrid.SetCellText(row, kLowCol, BoundText(*item, 1));
    return true;
}

int32_t XResultView::FindRowByKey(const std::string& key, int32_t firstRow, int32_t lastRow) const {
    for (int32_t row = std::max(firstRow, 1); row <= lastRow && row < tlstGrid.Rows(); ++row)
        if (plat::EqualsNoCase(tlstGrid.CellTag(row, kNameCol), key)) return row;
    return 0;
}

void XResultView::RestoreRowKeys() {
    const int32_t rows = std::min(tlstGrid.Rows(), static_cast<int32_t>(rowKeys_.size()));
    for (int32_t row = 1; row < rows; ++row)
        plat::PassOver([&] { tlstGrid.SetCellTag(row, kNameCol, rowKeys_[static_cast<size_t>(row)]); });
}

void XResultView::ShowProbeResults(const std::shared_ptr<host::IResultData>& result) {
    std::shared_ptr<CMeasurementColl> measurements;
    plat::PassOver([&] {
        if (auto testResult = std::dynamic_pointer_cast<ITestResult>(result)) measurements = testResult->Measurements();
    });
    if (!measurements || measurements->Count() == 0) return;

    tlstGrid.SetRedraw(false);
    // "No resitances found" took a row's key away last time: give it back.
    RestoreRowKeys();
    MarkAllRowsNoData();
    const bool append = tlstGrid.Rows() == 1;
    bool pinMeasured = false;
    for (const auto& measurement : measurements->NewEnum()) {
        plat::PassOver([&] { ShowProbeMeasurement(*measurement, append); });
        plat::PassOver([&] {
            if (plat::StartsWithNoCase(measurement->Key(), kPinPrefix) && measurement->Status() != 0)
                pinMeasured = true;
        });
    }
    if (!FixedProbeKind(TestID()) && !pinMeasured) ShowNoResistances();
    tlstGrid.SetRedraw(true);
}

void XResultView::MarkAllRowsNoData() {
    for (int32_t row = 1; row < tlstGrid.Rows(); ++row) MarkRowNoData(row);
}

void XResultView::MarkRowNoData(int32_t row) {
    ApplyRowLook(row, RowLook::NoData);
    const std::string noData = host::TranslateText(kLanguageSection, "20039::no data");
    plat::PassOver([&] { tlstGrid.SetCellText(row, kValueCol, noData); });
}

void XResultView::ShowProbeMeasurement(const CMeasurement& measurement, bool append) {
    // Not measured: its row stays "no data".
    if (measurement.Status() == 0) return;
    const bool ok = measurement.Status() == 1;
    const std::string key = measurement.Key();
    const std::string value = measurement.Value().AsString();
    if (append) {
        const int32_t row = tlstGrid.Rows();
        SetRows(row + 1);
        tlstGrid.SetCellText(row, kNameCol, MeasurementDescription(key));
        tlstGrid.SetCellTag(row, kNameCol, key);
        rowKeys_[static_cast<size_t>(row)] = key;
        tlstGrid.SetCellText(row, kValueCol, value);
        for (int32_t col : {kHighCol, kLowCol}) tlstGrid.SetCellText(row, col, "");
        tlstGrid.SetCellText(row, kUnitCol, ProbeUnit());
        SetRowLook(row, ok);
        return;
    }
    const int32_t row = FindRowByKey(key, 1, tlstGrid.Rows() - 1);
    if (row == 0) return;
    tlstGrid.SetCellText(row, kValueCol, value);
    SetRowLook(row, ok);
}

void XResultView::ShowNoResistances() {
    for (int32_t row = 1; row < tlstGrid.Rows(); ++row) {
        if (!plat::StartsWithNoCase(tlstGrid.CellTag(row, kNameCol), kPinPrefix)) continue;
        plat::PassOver([&] {
            // No pin key finds this row any more.
            tlstGrid.SetCellTag(row, kNameCol, std::string(kPinPrefix));
            tlstGrid.SetCellText(row, kValueCol, host::TranslateText(kLanguageSection, "20040::No resitances found"));
        });
        return;
    }
}

}  // namespace plugin
