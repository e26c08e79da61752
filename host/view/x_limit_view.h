#pragma once
// The host's limit view (stand-in): the page on which a technician edits a
// test's limits. The plug-in adds one row per measurement key, then hands it
// the limits (ILimitData) through Initialize. The page lists the limit
// standards, lets the user create one by its text, and edits the selected
// standard's item of each row: upper and lower bound, whether each bound is
// enabled, and (for rows that offer operators) the bounds' expression.
//
// Grid columns: description, unit, upper on, upper, lower on, lower,
// expression. A click on an "on" cell switches the bound; a click on a bound
// opens its editor (a number, either decimal sign; anything else, or the text
// left as it was, puts the old value back); the expression list below the
// grid serves the row last clicked. A row whose key the standard has no item
// for shows "-" and takes no edits. Every edit raises "Change" to the
// callback. Locked: nothing edits, and an open edit is dropped. An open edit
// ends, as a focus move ends it, before the page shows another standard, is
// hidden or goes with its window (EndEdit).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/limits.h"
#include "host/test_element.h"
#include "host/ui_interfaces.h"
#include "host/view/limit_view.h"
#include "platform/ui/controls.h"
#include "platform/ui/grid.h"
#include "platform/ui/user_control.h"

namespace host {

class XLimitView : public plat::ui::UserControl, public ICustomControl, public ILimitView {
public:
    enum Column : int32_t { kDescription = 0, kUnit, kUpperOn, kUpper, kLowerOn, kLower, kExpression, kColumns };
    static constexpr int32_t kUpperBound = 0;
    static constexpr int32_t kLowerBound = 1;

    XLimitView();

    void AddRow(const std::string& key, const std::string& description, const std::string& unit,
                const std::string& operators) override;
    int32_t RowCount() const { return static_cast<int32_t>(rows_.size()); }
    const std::string& RowKey(int32_t row) const { return rows_.at(static_cast<size_t>(row - 1)).key; }
    // The expressions a row offers, in order.
    const std::vector<std::string>& RowOperators(int32_t row) const {
        return rows_.at(static_cast<size_t>(row - 1)).operators;
    }

    // ICustomControl.
    std::shared_ptr<ICallBack> CallBack() const override { return callBack_; }
    void SetCallBack(std::shared_ptr<ICallBack> callBack) override { callBack_ = std::move(callBack); }
    WindowHandle HWnd() const override { return hWnd(); }
    bool Visible() const override;
    void SetVisible(bool visible) override;
    bool Locked() const override { return locked_; }
    void SetLocked(bool locked) override;
    // Takes the limits (an ILimitData; anything else leaves the page empty)
    // and shows their first standard.
    void Initialize(const plat::Variant& value) override;
    void Refresh() override;
    void SetFocus() override;

    // The standard picked in the list (nullptr when none).
    std::shared_ptr<ILimitStandard> SelectedStandard() const;
    void EndEdit() override;

private:
    struct Row {
        std::string key, description, unit;
        std::vector<std::string> operators;
    };
    void ListStandards(const std::string& selectText);
    void ShowStandard();
    void ShowRow(int32_t row);
    void ShowExpressions();
    std::shared_ptr<ILimitItem> ItemOfRow(int32_t row) const;
    std::string Shown(const std::string& text) const;
    void RaiseChange();
    void UserControl_Resize();
    void cboStandard_Click();
    void cmdNewStandard_Click();
    void cboExpression_Click();
    void grdLimits_GridCellClick(plat::ui::GridCell& cell);
    void grdLimits_GridCellAfterEditing(std::string& newText, plat::ui::GridCell& cell);

    plat::ui::Label& lblStandard = Add<plat::ui::Label>("lblStandard");
    plat::ui::ComboBox& cboStandard = Add<plat::ui::ComboBox>("cboStandard");
    plat::ui::TextBox& txtNewStandard = Add<plat::ui::TextBox>("txtNewStandard");
    plat::ui::CommandButton& cmdNewStandard = Add<plat::ui::CommandButton>("cmdNewStandard");
    plat::ui::Grid& grdLimits = Add<plat::ui::Grid>("grdLimits");
    plat::ui::Label& lblExpression = Add<plat::ui::Label>("lblExpression");
    plat::ui::ComboBox& cboExpression = Add<plat::ui::ComboBox>("cboExpression");

    std::vector<Row> rows_;
    std::shared_ptr<ILimitData> limits_;
    std::vector<std::shared_ptr<ILimitStandard>> listed_;  // the standards in list order
    std::shared_ptr<ILimitStandard> shown_;                // the standard the grid shows
    std::shared_ptr<ICallBack> callBack_;
    bool locked_ = false;
    bool showing_ = false;  // the page fills its lists: no edits
    int32_t expressionRow_ = 0;
};

}  // namespace host
