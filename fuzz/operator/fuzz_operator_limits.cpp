// The limit dialog with the host's limit view, docked into a host window, on
// the limits of a test of the input's choosing (none, one or two standards),
// under an improvising operator. Between actions: every committed bound and
// expression cell shows what the selected standard's item stores, formatted
// as the view formats it; a commit of no number (or of nothing) puts back the
// bound from before the edit.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/operator/action_source.h"
#include "fuzz/operator/grid_commit_check.h"
#include "fuzz/operator/host_window.h"
#include "fuzz/operator/process_sandbox.h"
#include "fuzz/operator/window_operator.h"
#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/ui_interfaces.h"
#include "host/view/x_limit_view.h"
#include "platform/loop/virtual_time_scope.h"
#include "platform/values/numfmt.h"
#include "plugin/results/f_limit_data.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/results_classes.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using fuzz_operator::GridCommitCheck;
using host::XLimitView;

// A bound: a number with either decimal sign; anything else, or nothing, puts
// the old value back. The value itself is the model check's to follow.
std::optional<std::vector<std::string>> BoundRule(int32_t, int32_t col, const std::string& typed) {
    if (col != XLimitView::kUpper && col != XLimitView::kLower) return std::nullopt;
    const auto kind = GridCommitCheck::Classify(typed);
    if (kind == GridCommitCheck::Number::No || kind == GridCommitCheck::Number::Blank)
        return std::vector<std::string>{};
    return std::nullopt;
}

class LimitSession {
public:
    explicit LimitSession(fuzz_operator::ActionSource& input)
        : op_(input), grid_("grdLimits", BoundRule, [](int32_t, int32_t, const std::string&) { return true; }) {
        op_.SetCheck([this] { Check(); });
    }

    void Run(fuzz_operator::ActionSource& input) {
        static const bool ready = [] {
            fuzz_operator::ProcessSandbox::Instance();
            plugin::RegisterResultsParts();
            return true;
        }();
        (void)ready;
        const int32_t tests[] = {100, 200, 300, 400, 500};
        owner_ = std::make_shared<results_test::FakeElement>(tests[input.Pick(5)]);
        limits_ = std::make_shared<plugin::CLimitData>();
        limits_->SetOwner(owner_);
        owner_->base->SetLimits(limits_);
        for (int32_t i = input.Pick(3); i > 0; --i) {
            auto standard = limits_->CreateStandard("S" + std::to_string(i), "Standard " + std::to_string(i));
            auto items = standard->LimitItems();
            for (int32_t n = 1; items && n <= items->Count(); ++n) {
                items->Item(n)->SetBoundValue(0, 100.5f);
                items->Item(n)->SetBoundValue(1, -2);
                items->Item(n)->SetBoundEnabled(0, true);
            }
        }
        dialog_ = std::dynamic_pointer_cast<plugin::FLimitData>(limits_->CreateDialog());
        if (!dialog_) op_.Finding("the limits made no dialog");
        view_ = dialog_->View()->ObjectAs<XLimitView>();
        window_ = std::make_unique<fuzz_operator::HostWindow>();
        window_->Show();
        dialog_->Dock(window_->hWnd());
        dialog_->Show({});
        if (input.Pick(8) == 0) dialog_->SetLocked(true);
        op_.Run([this] { return !window_->Loaded() && !plat::ui::TopModalForm(); });
        dialog_->Unload();
        host::ErrorService().ClearLog();
        for (plat::ui::Form* form : plat::ui::LoadedForms())
            if (form->Visible()) op_.Finding("the window \"" + form->Name() + "\" is left open after the session");
    }

private:
    void Check() {
        const bool shown = window_->Loaded() && window_->Visible();
        auto* grid = shown ? dynamic_cast<plat::ui::Grid*>(plat::ui::test::ScriptedOperator::FindControl(*window_, "grdLimits"))
                           : nullptr;
        const std::string finding = grid_.Check(grid, op_.Last());
        if (!finding.empty()) op_.Finding(finding);
        if (!grid || !view_) return;
        auto standard = view_->SelectedStandard();
        if (!standard) return;
        auto items = standard->LimitItems();
        for (int32_t row = 1; row <= view_->RowCount() && row < grid->Rows(); ++row) {
            std::shared_ptr<host::ILimitItem> item;
            for (int32_t n = 1; items && n <= items->Count() && !item; ++n)
                if (items->Item(n)->Key() == view_->RowKey(row)) item = items->Item(n);
            if (!item) continue;
            const std::pair<int32_t, std::string> cells[] = {
                {XLimitView::kUpper, plat::SingleToText(item->BoundValue(XLimitView::kUpperBound))},
                {XLimitView::kLower, plat::SingleToText(item->BoundValue(XLimitView::kLowerBound))},
                {XLimitView::kExpression, item->Expression(0)}};
            for (const auto& [col, stored] : cells) {
                if (grid->Editing() && grid->EditRow() == row && grid->EditCol() == col) continue;
                if (grid->CellText(row, col) != stored)
                    op_.Finding("limit cell (" + std::to_string(row) + ", " + std::to_string(col) + ") shows \"" +
                                grid->CellText(row, col) + "\" while the standard stores \"" + stored + "\"");
            }
        }
    }

    fuzz_operator::WindowOperator op_;
    GridCommitCheck grid_;
    std::shared_ptr<results_test::FakeElement> owner_;
    std::shared_ptr<plugin::CLimitData> limits_;
    std::shared_ptr<plugin::FLimitData> dialog_;
    std::shared_ptr<XLimitView> view_;
    std::unique_ptr<fuzz_operator::HostWindow> window_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::VirtualTimeScope time;
    fuzz_operator::ActionSource input(data, size);
    LimitSession session(input);
    session.Run(input);
    return 0;
}
