#pragma once
// The grid of the windows' tables: rows and columns of text cells counted from
// 0, row 0 the header row. Named members stand for every operation the windows
// use: counts, cell text and tag, looks per cell and per column, row heights
// and column widths, the row position and the top row (two members), drawing
// on and off, and the in-cell edit cycle.
//
// The edit cycle. SetEditState(row, col, Start) opens the editor on a data
// cell: GridCellRequestEditing runs first (it may size the editor and add
// flags), then the editor holds the cell's text. While it is open a person
// types into it (TypeEditKey): GridCellEditingKeyPress gets the key by
// reference (0 swallows it); Enter then commits and Esc cancels, unless the
// handler already ended this edit or opened another. The editor keeps a caret
// and a selection as a text box does (EditableText; the whole text is selected
// when it opens): a typed key replaces the selection or goes in at the caret,
// Backspace and Delete remove the selection or the character before / after
// the caret, Left, Right, Home and End move the caret (with Shift they
// select), Ctrl+A selects all. Any change of the text raises
// GridCellEditingChange, whose handler judges the new text and may put a text
// back with GridCellEditor::SetText (writing the editor's text from code
// raises no change event); putting back TextBefore() (the text just before
// the change) restores its caret and selection too. Committing (End, EndEditing, Enter, a click on another cell)
// raises GridCellAfterEditing with the new text by reference and stores what
// the handler left; cancelling drops the text. EndEditing commits whichever
// cell is being edited and never acts on the header cell (0, 0).
//
// Codes stored as given: the alignment code of a cell or column is one number
// 1..9 read as horizontal = (code - 1) / 3 (0 left, 1 centre, 2 right) and
// vertical = (code - 1) % 3 (0 top, 1 middle, 2 bottom); any other code is
// left and middle (AlignmentOf). The flags of GridCellRequestEditing start at
// 0 and are kept with the open edit (EditFlags) for the renderer; the core
// opens the editor whatever they hold.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/editable_text.h"

namespace plat::ui {

class Grid;

enum class GridEditState { Cancel = 0, End = 1, Start = 2 };

// The look of a cell or a column; an unset member inherits (cell over column
// over the grid's own colours and font).
struct GridStyle {
    std::optional<Color> backColor;
    std::optional<Color> selectedBackColor;
    std::optional<Color> foreColor;
    std::optional<Color> selectedForeColor;
    std::optional<bool> bold;
    std::optional<int32_t> alignment;
    bool operator==(const GridStyle&) const = default;
};

struct GridAlignment {
    enum class Horizontal { Left, Centre, Right } horizontal = Horizontal::Left;
    enum class Vertical { Top, Middle, Bottom } vertical = Vertical::Middle;
};
GridAlignment AlignmentOf(int32_t code);

// A cell handle (row, column) of a grid, as the grid's events pass it.
class GridCell {
public:
    GridCell(Grid& grid, int32_t row, int32_t col) : grid_(&grid), row_(row), col_(col) {}
    Grid& Owner() const { return *grid_; }
    int32_t Row() const { return row_; }
    int32_t Col() const { return col_; }
    std::string Text() const;
    void SetText(std::string text) const;
    std::string Tag() const;
    void SetTag(std::string tag) const;
    // The cell's size in twips: its column's width and its row's height.
    int32_t Width() const;
    int32_t Height() const;
    // The in-cell editor for this cell, in pixels (0: the cell's size), and
    // its border style (1 a border, 0 none).
    void SetEditorWidth(int32_t pixels) const;
    void SetEditorHeight(int32_t pixels) const;
    void SetEditorBorderStyle(int32_t style) const;

private:
    Grid* grid_;
    int32_t row_;
    int32_t col_;
};

// The open in-cell editor, as the edit events pass it.
class GridCellEditor {
public:
    explicit GridCellEditor(Grid& grid) : grid_(&grid) {}
    int32_t Row() const;
    int32_t Col() const;
    const std::string& Text() const;
    // Replaces the editor's text; no change event.
    void SetText(std::string text) const;
    // The cell's text from before the edit.
    const std::string& OldText() const;
    // The editor's text just before the change being handled (before the
    // first change, the cell's text from before the edit).
    const std::string& TextBefore() const;
    GridCell Cell() const;

private:
    Grid* grid_;
};

class Grid : public Control {
public:
    static constexpr int32_t kDefaultRowHeight = 240;
    static constexpr int32_t kDefaultColWidth = 960;

    Grid();
    bool CanTakeFocus() const override { return true; }

    // Counts, header row 0 included. Cells kept where both counts allow.
    // UiError below 0.
    int32_t Rows() const { return rows_; }
    void SetRows(int32_t rows);
    int32_t Cols() const { return cols_; }
    void SetCols(int32_t cols);
    // The row total that wraps the row position, and the row after `row`,
    // wrapped; 0 when the grid has no rows (never a division by 0).
    int32_t RowTotal() const { return rows_; }
    int32_t NextRow(int32_t row) const;

    // Cells. Reading outside the grid gives ""; writing outside is a UiError.
    GridCell Cell(int32_t row, int32_t col);
    std::string CellText(int32_t row, int32_t col) const;
    void SetCellText(int32_t row, int32_t col, std::string text);
    std::string CellTag(int32_t row, int32_t col) const;
    void SetCellTag(int32_t row, int32_t col, std::string tag);

    // Looks of a cell and of a column.
    GridStyle CellStyle(int32_t row, int32_t col) const;
    void SetCellStyle(int32_t row, int32_t col, GridStyle style);
    void SetCellForeColor(int32_t row, int32_t col, Color color);
    void SetCellSelectedForeColor(int32_t row, int32_t col, Color color);
    void SetCellBackColor(int32_t row, int32_t col, Color color);
    void SetCellSelectedBackColor(int32_t row, int32_t col, Color color);
    void SetCellBold(int32_t row, int32_t col, bool on);
    void SetCellAlignment(int32_t row, int32_t col, int32_t code);
    GridStyle ColStyle(int32_t col) const;
    void SetColStyle(int32_t col, GridStyle style);
    void SetColAlignment(int32_t col, int32_t code);
    // The look that shows: cell, else column, else the grid's own.
    Color EffectiveBackColor(int32_t row, int32_t col) const;
    Color EffectiveSelectedBackColor(int32_t row, int32_t col) const;
    Color EffectiveForeColor(int32_t row, int32_t col) const;
    Color EffectiveSelectedForeColor(int32_t row, int32_t col) const;
    bool EffectiveBold(int32_t row, int32_t col) const;
    int32_t EffectiveAlignment(int32_t row, int32_t col) const;

    // Sizes in twips. UiError outside the grid.
    int32_t RowHeight(int32_t row) const;
    void SetRowHeight(int32_t row, int32_t twips);
    int32_t ColWidth(int32_t col) const;
    void SetColWidth(int32_t col, int32_t twips);

    // The row position (the current row) and current column, set by code or
    // by a click; and the top row (the first row in view). Set values are
    // clamped into the grid.
    int32_t Row() const { return row_; }
    void SetRow(int32_t row);
    int32_t Col() const { return col_; }
    void SetCol(int32_t col);
    int32_t TopRow() const { return topRow_; }
    void SetTopRow(int32_t row);

    // Drawing off: changes reach the renderer only when it is switched on again.
    bool Redraw() const { return redraw_; }
    void SetRedraw(bool on);

    // Set-up settings that windows make once; kept for the renderer.
    int32_t SelectionMode() const { return selectionMode_; }
    void SetSelectionMode(int32_t mode);
    int32_t FocusRectStyle() const { return focusRectStyle_; }
    void SetFocusRectStyle(int32_t style);
    bool UserResize() const { return userResize_; }
    void SetUserResize(bool on);
    // The editor's size for every cell, in pixels (0: the cell's size);
    // GridCell's editor setters override it for one cell.
    int32_t EditorWidth() const { return editorWidth_; }
    void SetEditorWidth(int32_t pixels);
    int32_t EditorHeight() const { return editorHeight_; }
    void SetEditorHeight(int32_t pixels);
    // The editor size and border style that apply to a cell.
    int32_t EditorWidthOf(int32_t row, int32_t col) const;
    int32_t EditorHeightOf(int32_t row, int32_t col) const;
    int32_t EditorBorderStyleOf(int32_t row, int32_t col) const;

    // The edit cycle (see the header comment). Start on the header row does
    // nothing; End and Cancel act only on the cell being edited. UiError outside the grid.
    void SetEditState(int32_t row, int32_t col, GridEditState state);
    void EndEditing();
    bool Editing() const { return editing_; }
    int32_t EditRow() const { return editRow_; }
    int32_t EditCol() const { return editCol_; }
    const std::string& EditText() const { return edit_.Text(); }
    // Program side: a text other than the one before the last change puts the caret at its end.
    void SetEditText(std::string text);
    const std::string& EditTextBefore() const { return before_.Text(); }
    // The open editor's caret and selection, in bytes of its text.
    int32_t EditCaret() const { return edit_.Caret(); }
    int32_t EditAnchor() const { return edit_.Anchor(); }
    int32_t EditSelStart() const { return edit_.SelStart(); }
    int32_t EditSelLength() const { return edit_.SelLength(); }
    const std::string& EditOldText() const { return editOldText_; }
    int32_t EditFlags() const { return editFlags_; }

    // User actions. ClickCell commits an edit of another cell, makes the cell
    // current and raises GridCellClick with the mouse button (1 left). TypeEditKey
    // types into the open editor at its caret; TypeEditText types each character;
    // EnterEditText replaces the editor's text at once (an edit the renderer
    // passes whole: a paste, a non-ASCII character), the caret after it;
    // SelectEditText selects from `anchor` to `caret` (a mouse drag). The keys
    // that move the caret and Delete come as KeyDown. False when refused,
    // outside the grid, or (editing) no editor is open.
    bool ClickCell(int32_t row, int32_t col, int32_t button = 1);
    bool TypeEditKey(int32_t keyAscii);
    bool TypeEditText(std::string_view text);
    bool EnterEditText(std::string_view text);
    bool SelectEditText(int32_t anchor, int32_t caret);
    // An open cell editor takes Enter and Esc (TypeEditKey).
    bool TakeDialogKey(int32_t keyAscii) override { return editing_ && TypeEditKey(keyAscii); }

    std::function<void(GridCell& cell, int32_t button)> OnGridCellClick;
    std::function<void(GridCell& cell, int32_t& flags)> OnGridCellRequestEditing;
    std::function<void(std::string& newText, GridCell& cell)> OnGridCellAfterEditing;
    std::function<void(GridCellEditor& editor, int32_t& keyAscii)> OnGridCellEditingKeyPress;
    std::function<void(GridCellEditor& editor)> OnGridCellEditingChange;

protected:
    // With no editor open, Up, Down, PageUp, PageDown, Home and End move the
    // row position among the data rows (1 on) and scroll it into view; with
    // one open, the editing keys act in it (see the header comment).
    void KeyAction(int32_t keyCode, int32_t shift) override;

private:
    friend class GridCell;
    struct CellData {
        std::string text;
        std::string tag;
        GridStyle style;
        int32_t editorWidth = -1;  // -1: the grid's
        int32_t editorHeight = -1;
        int32_t editorBorderStyle = -1;
    };
    bool Inside(int32_t row, int32_t col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    void Check(int32_t row, int32_t col) const;
    void CheckRow(int32_t row) const;
    void CheckCol(int32_t col) const;
    CellData& At(int32_t row, int32_t col) { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    const CellData& At(int32_t row, int32_t col) const { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    void Resize(int32_t rows, int32_t cols);
    void Touch();
    // In pixels, as a renderer draws them: a row's height, and the room for
    // the data rows (the grid's height less the header row, the frame and a
    // horizontal scroll bar). The rows wholly in view from the top row (at
    // least 1), and the least scrolling that shows `row` whole.
    int32_t RowPixels(int32_t row) const;
    int32_t RowRoom() const;
    int32_t PageRows() const;
    void ScrollToRow(int32_t row);
    template <class T>
    void SetCellStyleMember(int32_t row, int32_t col, std::optional<T> GridStyle::*member, T value);
    void StartEdit(int32_t row, int32_t col);
    void Commit();
    void Cancel();
    // Takes a person's edit: a new text raises GridCellEditingChange.
    void ChangeEdit(EditableText next);

    int32_t rows_ = 0;
    int32_t cols_ = 0;
    std::vector<CellData> cells_;
    std::vector<int32_t> rowHeights_;
    std::vector<int32_t> colWidths_;
    std::vector<GridStyle> colStyles_;
    int32_t row_ = 0, col_ = 0, topRow_ = 0;
    bool redraw_ = true;
    bool dirty_ = false;
    int32_t selectionMode_ = 1;
    int32_t focusRectStyle_ = 1;
    bool userResize_ = true;
    int32_t editorWidth_ = 0;
    int32_t editorHeight_ = 0;

    bool editing_ = false;
    int32_t editRow_ = 0, editCol_ = 0;
    EditableText edit_;
    EditableText before_;  // the editor just before the last change
    std::string editOldText_;
    int32_t editFlags_ = 0;
    uint64_t editSerial_ = 0;     // counts edits opened and closed
};

}  // namespace plat::ui
