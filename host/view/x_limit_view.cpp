#include "host/view/x_limit_view.h"

#include <cmath>
#include <optional>
#include <algorithm>

#include "host/translate_text.h"
#include "platform/ui/object_control.h"
#include "platform/values/numfmt.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace host {

namespace {

constexpr std::string_view kOperatorsOpen = "<op>";
constexpr std::string_view kOperatorsClose = "</op>";
constexpr const char* kOn = "Yes";
constexpr const char* kOff = "No";
constexpr const char* kNoItem = "-";

// "<op>X+Y;Y</op>" -> {"X+Y", "Y"}; "" or a text without the tags -> {}.
std::vector<std::string> ParseOperators(const std::string& list) {
    std::vector<std::string> operators;
    if (list.size() < kOperatorsOpen.size() + kOperatorsClose.size() || !list.starts_with(kOperatorsOpen) ||
        !list.ends_with(kOperatorsClose))
        return operators;
    const std::string inner =
        list.substr(kOperatorsOpen.size(), list.size() - kOperatorsOpen.size() - kOperatorsClose.size());
    size_t start = 0;
    while (start <= inner.size()) {
        const size_t end = std::min(inner.find(';', start), inner.size());
        if (end > start) operators.push_back(inner.substr(start, end - start));
        start = end + 1;
    }
    return operators;
}

// A bound as a technician writes it: an optional sign, digits and at most one
// decimal sign of either kind ("-2,5", ".5"); nothing else ("1e3", "&H3E8",
// "0x10", "-", ".") and nothing a float cannot hold. nullopt when it is none.
std::optional<float> ReadBound(std::string_view text) {
    std::string number = plat::Trim(text);
    size_t at = number.empty() || (number[0] != '-' && number[0] != '+') ? 0 : 1;
    bool digits = false, point = false;
    for (; at < number.size(); ++at) {
        char& c = number[at];
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            c = '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    const std::optional<double> value = plat::ReadWholeNumber(number);  // whatever the C locale
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 3.0e38) return std::nullopt;
    return static_cast<float>(*value);
}

}  // namespace

XLimitView::XLimitView() {
    lblStandard.SetCaption("Standard:");
    cmdNewStandard.SetCaption("New standard");
    lblExpression.SetCaption("Expression:");
    cboStandard.SetStyle(plat::ui::ComboStyle::DropdownList);
    cboExpression.SetStyle(plat::ui::ComboStyle::DropdownList);
    grdLimits.SetRows(1);
    grdLimits.SetCols(kColumns);
    const char* heads[kColumns] = {"Measurement", "Unit", "High on", "High limit", "Low on", "Low limit",
                                   "Expression"};
    const int32_t widths[kColumns] = {2100, 900, 810, 1200, 810, 1200, 1000};
    for (int32_t col = 0; col < kColumns; ++col) {
        grdLimits.SetCellText(0, col, heads[col]);
        grdLimits.SetColWidth(col, widths[col]);
    }
    cboStandard.SetTabIndex(0);
    txtNewStandard.SetTabIndex(1);
    cmdNewStandard.SetTabIndex(2);
    grdLimits.SetTabIndex(3);
    cboExpression.SetTabIndex(4);
    cboExpression.SetEnabled(false);
    SetSize(8760, 4200);
    UserControl_Resize();

    OnResize = [this] { UserControl_Resize(); };
    cboStandard.OnClick = [this] { cboStandard_Click(); };
    cmdNewStandard.OnClick = [this] { cmdNewStandard_Click(); };
    cboExpression.OnClick = [this] { cboExpression_Click(); };
    grdLimits.OnGridCellClick = [this](plat::ui::GridCell& cell, int32_t) { grdLimits_GridCellClick(cell); };
    grdLimits.OnGridCellAfterEditing = [this](std::string& newText, plat::ui::GridCell& cell) {
        grdLimits_GridCellAfterEditing(newText, cell);
    };
    grdLimits.OnLostFocus = [this] { EndEdit(); };
}

void XLimitView::UserControl_Resize() {
    const int32_t width = std::max(ScaleWidth(), 6000);
    const int32_t height = std::max(ScaleHeight(), 2400);
    lblStandard.Move(120, 150, 1080, 255);
    cboStandard.Move(1200, 120, 3000, 315);
    txtNewStandard.Move(4320, 120, 2280, 315);
    cmdNewStandard.Move(6720, 90, std::max(width - 6840, 1320), 375);
    grdLimits.Move(120, 555, width - 240, height - 1095);
    lblExpression.Move(120, height - 420, 1080, 255);
    cboExpression.Move(1200, height - 450, 2400, 315);
}

bool XLimitView::Visible() const { return Extender() ? Extender()->Visible() : true; }

void XLimitView::SetVisible(bool visible) {
    if (!visible) EndEdit();
    if (Extender()) Extender()->SetVisible(visible);
}

void XLimitView::EndEdit() {
    plat::PassOver([&] { grdLimits.EndEditing(); });
}

void XLimitView::SetLocked(bool locked) {
    locked_ = locked;
    txtNewStandard.SetLocked(locked);
    cmdNewStandard.SetEnabled(!locked);
    cboExpression.SetLocked(locked);
    if (locked && grdLimits.Editing()) grdLimits.SetEditState(grdLimits.EditRow(), grdLimits.EditCol(),
                                                              plat::ui::GridEditState::Cancel);
}

void XLimitView::Refresh() { NotifyHostChanged(); }

void XLimitView::SetFocus() {
    plat::PassOver([&] { grdLimits.SetFocus(); });
}

void XLimitView::AddRow(const std::string& key, const std::string& description, const std::string& unit,
                        const std::string& operators) {
    rows_.push_back(Row{key, description, unit, ParseOperators(operators)});
    const int32_t row = RowCount();
    grdLimits.SetRows(row + 1);
    grdLimits.SetCellText(row, kDescription, description);
    grdLimits.SetCellText(row, kUnit, unit);
    ShowRow(row);
}

void XLimitView::Initialize(const plat::Variant& value) {
    limits_ = value.As<ILimitData>();
    ListStandards({});
}

std::string XLimitView::Shown(const std::string& text) const {
    std::string section;
    plat::PassOver([&] {
        if (auto owner = limits_ ? limits_->Owner() : nullptr) section = owner->PlugInID();
    });
    if (section.empty()) return text;
    return TranslateText(section, text);
}

void XLimitView::ListStandards(const std::string& selectText) {
    showing_ = true;
    listed_.clear();
    cboStandard.Clear();
    int32_t select = -1;
    plat::PassOver([&] {
        auto standards = limits_ ? limits_->Standards() : nullptr;
        for (int32_t i = 1; standards && i <= standards->Count(); ++i) {
            auto standard = standards->Item(i);
            if (!standard) continue;
            listed_.push_back(standard);
            cboStandard.AddItem(Shown(standard->Text()));
            if (select < 0 && !selectText.empty() && standard->Text() == selectText) select = cboStandard.NewIndex();
        }
    });
    if (select < 0 && cboStandard.ListCount() > 0) select = 0;
    cboStandard.SetListIndex(select);
    showing_ = false;
    ShowStandard();
}

std::shared_ptr<ILimitStandard> XLimitView::SelectedStandard() const {
    const int32_t index = cboStandard.ListIndex();
    if (index < 0 || index >= static_cast<int32_t>(listed_.size())) return nullptr;
    return listed_[static_cast<size_t>(index)];
}

std::shared_ptr<ILimitItem> XLimitView::ItemOfRow(int32_t row) const {
    auto standard = shown_;
    if (!standard || row < 1 || row > RowCount()) return nullptr;
    std::shared_ptr<ILimitItem> found;
    plat::PassOver([&] {
        auto items = standard->LimitItems();
        for (int32_t i = 1; items && i <= items->Count() && !found; ++i) {
            auto item = items->Item(i);
            if (item && item->Key() == RowKey(row)) found = item;
        }
    });
    return found;
}

void XLimitView::ShowStandard() {
    // An open edit belongs to the standard the grid shows until now.
    EndEdit();
    shown_ = SelectedStandard();
    grdLimits.SetRedraw(false);
    for (int32_t row = 1; row <= RowCount(); ++row) ShowRow(row);
    grdLimits.SetRedraw(true);
    expressionRow_ = 0;
    ShowExpressions();
}

void XLimitView::ShowRow(int32_t row) {
    auto item = ItemOfRow(row);
    if (!item) {
        for (int32_t col = kUpperOn; col < kColumns; ++col) grdLimits.SetCellText(row, col, kNoItem);
        return;
    }
    plat::PassOver([&] {
        grdLimits.SetCellText(row, kUpperOn, item->BoundEnabled(kUpperBound) ? kOn : kOff);
        grdLimits.SetCellText(row, kUpper, plat::SingleToText(item->BoundValue(kUpperBound)));
        grdLimits.SetCellText(row, kLowerOn, item->BoundEnabled(kLowerBound) ? kOn : kOff);
        grdLimits.SetCellText(row, kLower, plat::SingleToText(item->BoundValue(kLowerBound)));
        grdLimits.SetCellText(row, kExpression, item->Expression(0));
    });
}

void XLimitView::ShowExpressions() {
    showing_ = true;
    cboExpression.Clear();
    const bool offered = expressionRow_ >= 1 && expressionRow_ <= RowCount() && ItemOfRow(expressionRow_) &&
                         !RowOperators(expressionRow_).empty();
    if (offered) {
        const std::string current = grdLimits.CellText(expressionRow_, kExpression);
        for (const std::string& op : RowOperators(expressionRow_)) {
            cboExpression.AddItem(op);
            if (op == current) cboExpression.SetListIndex(cboExpression.NewIndex());
        }
    }
    cboExpression.SetEnabled(offered);
    showing_ = false;
}

void XLimitView::RaiseChange() {
    if (!callBack_) return;
    plat::PassOver([&] { callBack_->Raise("Change", {}); });
}

void XLimitView::cboStandard_Click() {
    if (!showing_) ShowStandard();
}

void XLimitView::cmdNewStandard_Click() {
    const std::string text = plat::Trim(txtNewStandard.Text());
    if (locked_ || !limits_ || text.empty()) return;
    std::string name;
    plat::PassOver([&] {
        if (auto owner = limits_->Owner()) name = owner->PlugInID();
    });
    bool created = false;
    plat::PassOver([&] { created = limits_->CreateStandard(name, text) != nullptr; });
    if (!created) return;
    txtNewStandard.SetText("");
    ListStandards(text);  // a standard of that text already there is the one shown
    RaiseChange();
}

void XLimitView::cboExpression_Click() {
    if (showing_ || locked_) return;
    auto item = ItemOfRow(expressionRow_);
    if (!item || cboExpression.ListIndex() < 0) return;
    plat::PassOver([&] { item->SetExpression(0, cboExpression.Text()); });
    ShowRow(expressionRow_);
    RaiseChange();
}

void XLimitView::grdLimits_GridCellClick(plat::ui::GridCell& cell) {
    const int32_t row = cell.Row();
    if (row < 1 || row > RowCount()) return;
    expressionRow_ = row;
    ShowExpressions();
    auto item = ItemOfRow(row);
    if (!item || locked_) return;
    switch (cell.Col()) {
    case kUpperOn:
    case kLowerOn: {
        const int32_t bound = cell.Col() == kUpperOn ? kUpperBound : kLowerBound;
        plat::PassOver([&] { item->SetBoundEnabled(bound, !item->BoundEnabled(bound)); });
        ShowRow(row);
        RaiseChange();
        break;
    }
    case kUpper:
    case kLower:
        grdLimits.SetEditState(row, cell.Col(), plat::ui::GridEditState::Start);
        break;
    default:
        break;
    }
}

void XLimitView::grdLimits_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell) {
    auto item = ItemOfRow(cell.Row());
    const bool boundCell = cell.Col() == kUpper || cell.Col() == kLower;
    const std::string before = cell.Text();
    const bool typed = plat::Trim(newText) != plat::Trim(before);
    const auto value = ReadBound(newText);
    // Nothing typed, or nothing to store: the value stays as it was.
    newText = before;
    if (!item || !boundCell || locked_ || !typed || !value) return;
    const int32_t bound = cell.Col() == kUpper ? kUpperBound : kLowerBound;
    plat::PassOver([&] { item->SetBoundValue(bound, *value); });
    // The cell shows what the item now holds, as every bound is shown.
    plat::PassOver([&] { newText = plat::SingleToText(item->BoundValue(bound)); });
    RaiseChange();
}

}  // namespace host
