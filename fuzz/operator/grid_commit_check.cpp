#include "fuzz/operator/grid_commit_check.h"

#include <algorithm>
#include <utility>

#include "platform/values/text.h"

namespace fuzz_operator {

GridCommitCheck::GridCommitCheck(std::string name, Rule rule, Shown shown)
    : name_(std::move(name)), rule_(std::move(rule)), shown_(std::move(shown)) {}

GridCommitCheck::Number GridCommitCheck::Classify(const std::string& text) {
    const std::string trimmed = plat::Trim(text);
    if (trimmed.empty()) return Number::Blank;
    int32_t digits = 0, points = 0;
    bool other = false, sign = false, inner = false;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.' || c == ',') ++points;
        else if ((c == '-' || c == '+') && i == 0) sign = true;
        else if (c == ' ') inner = true;
        else other = true;
    }
    if (other || digits == 0 || points > 1 || inner) return Number::No;
    if (sign || trimmed != text) return Number::Unclear;
    return Number::Yes;
}

std::string GridCommitCheck::Check(const plat::ui::Grid* grid, const Action& last) {
    std::string finding;
    if (!grid) {
        editing_ = false;
        return finding;
    }
    bool sameEdit = editing_ && grid->Editing() && grid->EditRow() == row_ && grid->EditCol() == col_;
    // The same cell edited again since (the window ended the edit and opened
    // it anew): the text it started from is what the first edit left.
    const bool reopened = editing_ && sameEdit && grid->EditOldText() != old_;
    if (reopened) sameEdit = false;
    if (editing_ && !sameEdit && last.local && row_ < grid->Rows() && col_ < grid->Cols()) {
        const std::string now = reopened ? grid->EditOldText() : grid->CellText(row_, col_);
        std::vector<std::string> allowed{old_};
        bool any = false;
        if (last.verb != "escape" && typed_ != old_) {
            const auto stored = rule_(row_, col_, typed_);
            if (stored) allowed.insert(allowed.end(), stored->begin(), stored->end());
            any = !stored;
        }
        if (!any && std::find(allowed.begin(), allowed.end(), now) == allowed.end())
            finding = name_ + ": cell (" + std::to_string(row_) + ", " + std::to_string(col_) + ") shows \"" + now +
                      "\" after \"" + typed_ + "\" was committed over \"" + old_ + "\"";
    }
    editing_ = grid->Editing();
    if (editing_) {
        if (!sameEdit) old_ = grid->EditOldText();
        row_ = grid->EditRow();
        col_ = grid->EditCol();
        typed_ = grid->EditText();
    }
    if (!finding.empty()) return finding;
    for (int32_t row = 1; row < grid->Rows(); ++row)
        for (int32_t col = 0; col < grid->Cols(); ++col) {
            if (editing_ && row == row_ && col == col_) continue;
            const std::string text = grid->CellText(row, col);
            if (!shown_(row, col, text))
                return name_ + ": committed cell (" + std::to_string(row) + ", " + std::to_string(col) +
                       ") shows \"" + text + "\", not as the window formats what it stores";
        }
    return finding;
}

}  // namespace fuzz_operator
