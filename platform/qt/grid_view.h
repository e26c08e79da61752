#pragma once
// The grid: every row including the header row 0 as table rows, column
// widths and row heights from twips, each cell's text, colours, bold and
// alignment, the current row in the selected colours, the top row in view
// (the first row under the header). The header row stays in view: a view of
// the same cells shows it in the place of the table's column header, and
// the table's own row 0 has no height. A sync writes only the cells that
// differ from what the table shows, so a burst of changes to a 52 x 6 grid
// costs one pass.
//
// A click on a cell is the core's ClickCell (with the mouse button). When the
// core opens its in-cell editor, a line edit lies over the cell and shows the
// core's text, caret and selection: typed ASCII keys, Backspace, Enter and Esc
// go to TypeEditKey (the edit events fire there; Enter commits and Esc
// cancels unless a handler took the key); Left, Right, Home, End (with Shift),
// Delete and Ctrl+A to the core's KeyDown, which moves the caret or deletes;
// any other change (paste, a non-ASCII character) to EnterEditText, and a
// selection made with the mouse (or Ctrl+arrows) to SelectEditText. With no editor open the moving keys
// (arrows, PageUp, PageDown, Home, End) are the core's: it moves the row
// position and the top row (Left and Right move nothing). The table's current
// cell, where Qt draws the focus frame, is always the core's current cell,
// which shows highlighted; a table with the focus (no editor open) shows a
// frame in the highlight colour around it.

#include <QtGui/QColor>

#include <string>
#include <vector>

#include "platform/qt/control_view.h"
#include "platform/ui/grid.h"

class QFrame;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace plat::qt {

class GridView final : public ControlView {
public:
    GridView(plat::ui::Grid& grid, QtRenderer& renderer) : ControlView(grid, renderer), grid_(grid) {}

    // The open editor's widget, or nullptr (for tests).
    QLineEdit* Editor() const;

protected:
    QWidget* Create(QWidget* parent) override;
    void SyncOwn() override;
    bool FillsBackground() const override { return false; }
    bool CoreHandlesKey(int32_t keyCode) const override;

private:
    struct Shown {
        std::string text;
        QColor back, fore;
        bool bold = false;
        int32_t alignment = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown Look(int32_t row, int32_t col) const;
    void SyncFixedRow();
    void SyncCells();
    void SyncCurrent();
    void SyncEditor();
    // Shows the frame of a table that has the focus itself (no editor open).
    void SyncFocusFrame();
    bool OnViewportEvent(QTableView* view, QEvent* event);
    bool OnEditorKey(QEvent* event);
    void OnEditorEdited(const QString& text);
    void OnEditorSelection();
    // Where the editor's selection starts from (its caret when none).
    int EditorAnchor() const;
    plat::ui::Grid& grid_;
    QTableWidget* table_ = nullptr;
    QTableView* fixed_ = nullptr;  // row 0, kept in view
    QLineEdit* editor_ = nullptr;
    QFrame* focusFrame_ = nullptr;
    std::vector<Shown> shown_;
    int32_t shownCols_ = 0;
};

}  // namespace plat::qt
