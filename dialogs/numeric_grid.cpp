#include "dialogs/numeric_grid.h"

#include <cmath>
#include <string>

#include "makes/make_utils.h"
#include "platform/ui/metrics.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

namespace MGrid {

namespace {

constexpr int32_t kEnter = 13;
constexpr int32_t kEscape = 27;
constexpr int32_t kBackspace = 8;
constexpr int32_t kPoint = 46;
constexpr int32_t kComma = 44;
constexpr int32_t kDecimalRow = 3;  // the plug-in's only row with fractions
constexpr int32_t kEditorSlackTwips = 30;

double BoundValue(const plat::Variant& bound) {
    return bound.IsNumeric() ? bound.AsDouble() : makes::ValText(bound.AsString());
}

// The shape of a number: digits with at most one decimal sign, perhaps after
// a "-". `digits` tells a number from one only begun.
bool NumberShape(std::string_view text, bool& digits) {
    digits = false;
    bool sign = false;
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == kPoint || c == kComma) && !sign) {
            sign = true;
        } else {
            return false;
        }
    }
    return true;
}

bool Acceptable(const std::string& text, const plat::Variant& lowerBound, const plat::Variant& upperBound,
                const plat::Variant& decimals) {
    const double value = makes::ValText(text);
    if (!lowerBound.IsEmpty() && BoundValue(lowerBound) > value) return false;
    if (!upperBound.IsEmpty() && BoundValue(upperBound) < value) return false;
    if (decimals.IsEmpty()) return true;
    const size_t sign = text.find_first_of(".,");
    if (sign == std::string::npos) return true;
    const double allowed = std::nearbyint(BoundValue(decimals));
    return static_cast<double>(text.size() - sign - 1) <= allowed;
}

int32_t EditorPixels(int32_t twips, int32_t twipsPerPixel) {
    return static_cast<int32_t>(std::lround(static_cast<float>(twips + kEditorSlackTwips) / twipsPerPixel));
}

}  // namespace

bool Grid_IsNumericValue(std::string_view text, const plat::Variant& lowerBound, const plat::Variant& upperBound,
                         const plat::Variant& decimals) {
    const std::string trimmed = plat::Trim(text);
    bool digits = false;
    return NumberShape(trimmed, digits) && digits && Acceptable(trimmed, lowerBound, upperBound, decimals);
}

void Grid_CheckNumericValue(const plat::ui::GridCellEditor& editor, const plat::Variant& lowerBound,
                            const plat::Variant& upperBound, const plat::Variant& decimals) {
    // A refused change leaves the text as it was just before it, so that what was typed stays.
    std::string newText;
    const bool checked = plat::PassOver([&] {
        const std::string trimmed = plat::Trim(editor.Text());
        bool digits = false;
        if (NumberShape(trimmed, digits) && !digits) {
            newText = trimmed;  // a number being started
        } else {
            newText = Grid_IsNumericValue(trimmed, lowerBound, upperBound, decimals) ? trimmed : editor.TextBefore();
        }
    });
    plat::PassOver([&] {
        editor.SetText(checked ? newText : editor.TextBefore());
    });
}

bool Grid_CommitNumericValue(std::string& newText, const plat::ui::GridCell& cell, const plat::Variant& lowerBound,
                             const plat::Variant& upperBound, const plat::Variant& decimals) {
    bool kept = false;
    std::string committed;
    const bool checked = plat::PassOver([&] {
        committed = plat::Trim(newText);
        kept = committed.empty() || Grid_IsNumericValue(committed, lowerBound, upperBound, decimals);
    });
    if (checked && kept) {
        newText = std::move(committed);
        return true;
    }
    plat::PassOver([&] { newText = cell.Text(); });
    return false;
}

void Grid_NumericKeyFilter(const plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
    if (keyAscii == kEnter || keyAscii == kEscape) return;
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace) return;
    if (keyAscii == kPoint || keyAscii == kComma) {
        if constexpr (!kPluginBuild) return;
        bool inDecimalRow = false;
        plat::PassOver([&] { inDecimalRow = editor.Row() == kDecimalRow; });
        if (inDecimalRow) return;
    }
    keyAscii = 0;
}

void Grid_NumericKeyPress(plat::ui::Grid& grid, const plat::ui::GridCellEditor& editor, int32_t& keyAscii) {
    if (keyAscii == kEscape) {
        plat::PassOver([&] { grid.SetEditState(editor.Row(), editor.Col(), plat::ui::GridEditState::Cancel); });
        return;
    }
    if (keyAscii != kEnter) {
        Grid_NumericKeyFilter(editor, keyAscii);
        return;
    }
    int32_t row = 0, col = 0;
    if (!plat::PassOver([&] {
            row = editor.Row();
            col = editor.Col();
        }))
        return;
    plat::PassOver([&] { grid.SetEditState(row, col, plat::ui::GridEditState::End); });
#ifdef ORVIK_MAKES_PLUGIN
    int32_t next = row + 1;
    plat::PassOver([&] {
        if (next >= grid.Rows()) {
            next = 1;
            grid.SetTopRow(1);
        } else if (grid.RowTotal() > 0) {  // no rows to wrap over: the position stays
            grid.SetTopRow((grid.TopRow() + 1) % grid.RowTotal());
        }
    });
#else
    int32_t next = row;
    plat::PassOver([&] {
        if (grid.Cols() < 4) {
            ++next;
        } else if (col >= 4) {
            col = 2;
            ++next;
        } else {
            ++col;
        }
        if (next >= grid.Rows()) next = 1;
        grid.SetTopRow(next - 1);
    });
#endif
    plat::PassOver([&] { grid.SetEditState(next, col, plat::ui::GridEditState::Start); });
}

void Grid_RequestEditing(const plat::ui::GridCell& cell, int32_t& flags) {
    int32_t twipsPerPixel = plat::ui::HeadlessMetrics::kTwipsPerPixel;
    plat::PassOver([&] {
        const int32_t measured = plat::ui::Metrics().TwipsPerPixelX();
        if (measured > 0) twipsPerPixel = measured;
    });
    plat::PassOver([&] { cell.SetEditorWidth(EditorPixels(cell.Width(), twipsPerPixel)); });
    plat::PassOver([&] { cell.SetEditorHeight(EditorPixels(cell.Height(), twipsPerPixel)); });
    if constexpr (!kPluginBuild)
        plat::PassOver([&] { cell.SetEditorBorderStyle(0); });
    flags |= kEditFlags;
}

#ifdef ORVIK_MAKES_PLUGIN
void Grid_ClearColumnValues(plat::ui::Grid& grid, int32_t col) {
    for (int32_t row = 1; row < grid.Rows(); ++row)
        plat::PassOver([&] { grid.SetCellText(row, col, ""); });
}
#endif

}  // namespace MGrid

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
