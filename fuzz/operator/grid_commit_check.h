#pragma once
// Follows the cell edits of one grid from one idle moment to the next and
// checks each commit: a cell whose edit ended by the operator's own keys or
// clicks shows what the window stores for the typed text, formatted as the
// window formats it; a text that is no number under the cell's rules, or a
// cancelled edit, leaves the text from before the edit.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/operator/window_operator.h"
#include "platform/ui/grid.h"

namespace fuzz_operator {

class GridCommitCheck {
public:
    // What a cell may show once `typed` was committed into it: empty when the
    // text is no value there (the cell keeps its old text); several texts
    // where the rules leave a choice (a blank or a padded number); nullopt
    // when any text may come of it (a range the model checks itself).
    using Rule =
        std::function<std::optional<std::vector<std::string>>(int32_t row, int32_t col, const std::string& typed)>;
    // Whether a committed cell's text is one the window could have stored there.
    using Shown = std::function<bool(int32_t row, int32_t col, const std::string& text)>;

    GridCommitCheck(std::string name, Rule rule, Shown shown);

    // Call between actions with the grid as it is now (nullptr when its
    // window is gone). Returns what is wrong, or "".
    std::string Check(const plat::ui::Grid* grid, const Action& last);
    // Forgets the edit being followed (the window changed what it shows).
    void Forget() { editing_ = false; }

    // The plain reading of a typed number: digits with at most one decimal
    // sign (point or comma), nothing else (spaces around it count as unclear).
    enum class Number { Yes, No, Unclear, Blank };
    static Number Classify(const std::string& text);

private:
    std::string name_;
    Rule rule_;
    Shown shown_;
    bool editing_ = false;
    int32_t row_ = 0, col_ = 0;
    std::string typed_, old_;
};

}  // namespace fuzz_operator
