#include "platform/ui/grid.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/keys.h"
#include "platform/ui/metrics.h"

namespace plat::ui {

GridAlignment AlignmentOf(int32_t code) {
    GridAlignment a;
    if (code < 1 || code > 9) return a;
    a.horizontal = static_cast<GridAlignment::Horizontal>((code - 1) / 3);
    a.vertical = static_cast<GridAlignment::Vertical>((code - 1) % 3);
    return a;
}

// --- GridCell ----------------------------------------------------------------------------------

std::string GridCell::Text() const { return grid_->CellText(row_, col_); }
void GridCell::SetText(std::string text) const { grid_->SetCellText(row_, col_, std::move(text)); }
std::string GridCell::Tag() const { return grid_->CellTag(row_, col_); }
void GridCell::SetTag(std::string tag) const { grid_->SetCellTag(row_, col_, std::move(tag)); }
int32_t GridCell::Width() const { return grid_->ColWidth(col_); }
int32_t GridCell::Height() const { return grid_->RowHeight(row_); }

void GridCell::SetEditorWidth(int32_t pixels) const {
    grid_->Check(row_, col_);
    grid_->At(row_, col_).editorWidth = std::max(0, pixels);
    grid_->Touch();
}

void GridCell::SetEditorHeight(int32_t pixels) const {
    grid_->Check(row_, col_);
    grid_->At(row_, col_).editorHeight = std::max(0, pixels);
    grid_->Touch();
}

void GridCell::SetEditorBorderStyle(int32_t style) const {
    grid_->Check(row_, col_);
    grid_->At(row_, col_).editorBorderStyle = style;
    grid_->Touch();
}

// --- GridCellEditor ------------------------------------------------------------------------------

int32_t GridCellEditor::Row() const { return grid_->EditRow(); }
int32_t GridCellEditor::Col() const { return grid_->EditCol(); }
const std::string& GridCellEditor::Text() const { return grid_->EditText(); }
void GridCellEditor::SetText(std::string text) const { grid_->SetEditText(std::move(text)); }
const std::string& GridCellEditor::OldText() const { return grid_->EditOldText(); }
const std::string& GridCellEditor::TextBefore() const { return grid_->EditTextBefore(); }
GridCell GridCellEditor::Cell() const { return GridCell(*grid_, grid_->EditRow(), grid_->EditCol()); }

// --- Grid: shape and cells -------------------------------------------------------------------------

Grid::Grid() {
    SetBackColor(vbWindowBackground);
    SetForeColor(vbWindowText);
}

void Grid::Touch() {
    if (redraw_)
        NotifyChanged();
    else
        dirty_ = true;
}

void Grid::Resize(int32_t rows, int32_t cols) {
    if (rows < 0 || cols < 0)
        throw UiError("The grid \"" + Name() + "\" cannot have " + std::to_string(rows) + " rows and " +
                      std::to_string(cols) + " columns");
    if (editing_ && (editRow_ >= rows || editCol_ >= cols)) Cancel();
    std::vector<CellData> next(static_cast<size_t>(rows) * cols);
    for (int32_t r = 0; r < std::min(rows, rows_); ++r)
        for (int32_t c = 0; c < std::min(cols, cols_); ++c) next[static_cast<size_t>(r) * cols + c] = std::move(At(r, c));
    cells_ = std::move(next);
    rows_ = rows;
    cols_ = cols;
    rowHeights_.resize(rows, kDefaultRowHeight);
    colWidths_.resize(cols, kDefaultColWidth);
    colStyles_.resize(cols);
    row_ = std::clamp(row_, 0, std::max(0, rows - 1));
    col_ = std::clamp(col_, 0, std::max(0, cols - 1));
    topRow_ = std::clamp(topRow_, 0, std::max(0, rows - 1));
    Touch();
}

void Grid::SetRows(int32_t rows) {
    if (rows != rows_) Resize(rows, cols_);
}

void Grid::SetCols(int32_t cols) {
    if (cols != cols_) Resize(rows_, cols);
}

int32_t Grid::NextRow(int32_t row) const { return rows_ > 0 ? (row + 1) % rows_ : 0; }

void Grid::Check(int32_t row, int32_t col) const {
    if (!Inside(row, col))
        throw UiError("The grid \"" + Name() + "\" has no cell (" + std::to_string(row) + ", " + std::to_string(col) +
                      ")");
}

void Grid::CheckRow(int32_t row) const {
    if (row < 0 || row >= rows_) throw UiError("The grid \"" + Name() + "\" has no row " + std::to_string(row));
}

void Grid::CheckCol(int32_t col) const {
    if (col < 0 || col >= cols_) throw UiError("The grid \"" + Name() + "\" has no column " + std::to_string(col));
}

GridCell Grid::Cell(int32_t row, int32_t col) {
    Check(row, col);
    return GridCell(*this, row, col);
}

std::string Grid::CellText(int32_t row, int32_t col) const { return Inside(row, col) ? At(row, col).text : std::string(); }

void Grid::SetCellText(int32_t row, int32_t col, std::string text) {
    Check(row, col);
    if (At(row, col).text == text) return;
    At(row, col).text = std::move(text);
    Touch();
}

std::string Grid::CellTag(int32_t row, int32_t col) const { return Inside(row, col) ? At(row, col).tag : std::string(); }

void Grid::SetCellTag(int32_t row, int32_t col, std::string tag) {
    Check(row, col);
    At(row, col).tag = std::move(tag);
}

// --- Grid: looks ------------------------------------------------------------------------------------

GridStyle Grid::CellStyle(int32_t row, int32_t col) const { return Inside(row, col) ? At(row, col).style : GridStyle{}; }

void Grid::SetCellStyle(int32_t row, int32_t col, GridStyle style) {
    Check(row, col);
    if (At(row, col).style == style) return;
    At(row, col).style = std::move(style);
    Touch();
}

template <class T>
void Grid::SetCellStyleMember(int32_t row, int32_t col, std::optional<T> GridStyle::*member, T value) {
    GridStyle s = CellStyle(row, col);
    s.*member = value;
    SetCellStyle(row, col, s);
}

void Grid::SetCellForeColor(int32_t row, int32_t col, Color color) {
    SetCellStyleMember(row, col, &GridStyle::foreColor, color);
}

void Grid::SetCellSelectedForeColor(int32_t row, int32_t col, Color color) {
    SetCellStyleMember(row, col, &GridStyle::selectedForeColor, color);
}

void Grid::SetCellBackColor(int32_t row, int32_t col, Color color) {
    SetCellStyleMember(row, col, &GridStyle::backColor, color);
}

void Grid::SetCellSelectedBackColor(int32_t row, int32_t col, Color color) {
    SetCellStyleMember(row, col, &GridStyle::selectedBackColor, color);
}

void Grid::SetCellBold(int32_t row, int32_t col, bool on) { SetCellStyleMember(row, col, &GridStyle::bold, on); }

void Grid::SetCellAlignment(int32_t row, int32_t col, int32_t code) {
    SetCellStyleMember(row, col, &GridStyle::alignment, code);
}

GridStyle Grid::ColStyle(int32_t col) const { return col >= 0 && col < cols_ ? colStyles_[col] : GridStyle{}; }

void Grid::SetColStyle(int32_t col, GridStyle style) {
    CheckCol(col);
    if (colStyles_[col] == style) return;
    colStyles_[col] = std::move(style);
    Touch();
}

void Grid::SetColAlignment(int32_t col, int32_t code) {
    GridStyle s = ColStyle(col);
    s.alignment = code;
    SetColStyle(col, s);
}

namespace {

template <class T>
T Pick(const std::optional<T>& cell, const std::optional<T>& column, T grid) {
    return cell ? *cell : (column ? *column : grid);
}

}  // namespace

Color Grid::EffectiveBackColor(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).backColor, ColStyle(col).backColor, BackColor());
}

Color Grid::EffectiveSelectedBackColor(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).selectedBackColor, ColStyle(col).selectedBackColor, Color{vbHighlight});
}

Color Grid::EffectiveForeColor(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).foreColor, ColStyle(col).foreColor, ForeColor());
}

Color Grid::EffectiveSelectedForeColor(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).selectedForeColor, ColStyle(col).selectedForeColor, Color{vbHighlightText});
}

bool Grid::EffectiveBold(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).bold, ColStyle(col).bold, FontBold());
}

int32_t Grid::EffectiveAlignment(int32_t row, int32_t col) const {
    return Pick(CellStyle(row, col).alignment, ColStyle(col).alignment, int32_t{0});
}

// --- Grid: sizes, position, settings ---------------------------------------------------------------------

int32_t Grid::RowHeight(int32_t row) const {
    CheckRow(row);
    return rowHeights_[row];
}

void Grid::SetRowHeight(int32_t row, int32_t twips) {
    CheckRow(row);
    twips = std::max(0, twips);
    if (rowHeights_[row] == twips) return;
    rowHeights_[row] = twips;
    Touch();
}

int32_t Grid::ColWidth(int32_t col) const {
    CheckCol(col);
    return colWidths_[col];
}

void Grid::SetColWidth(int32_t col, int32_t twips) {
    CheckCol(col);
    twips = std::max(0, twips);
    if (colWidths_[col] == twips) return;
    colWidths_[col] = twips;
    Touch();
}

void Grid::SetRow(int32_t row) {
    row = std::clamp(row, 0, std::max(0, rows_ - 1));
    if (row == row_) return;
    row_ = row;
    Touch();
}

void Grid::SetCol(int32_t col) {
    col = std::clamp(col, 0, std::max(0, cols_ - 1));
    if (col == col_) return;
    col_ = col;
    Touch();
}

void Grid::SetTopRow(int32_t row) {
    row = std::clamp(row, 0, std::max(0, rows_ - 1));
    if (row == topRow_) return;
    topRow_ = row;
    Touch();
}

void Grid::SetRedraw(bool on) {
    if (on == redraw_) return;
    redraw_ = on;
    if (on && dirty_) {
        dirty_ = false;
        NotifyChanged();
    }
}

void Grid::SetSelectionMode(int32_t mode) {
    selectionMode_ = mode;
    Touch();
}

void Grid::SetFocusRectStyle(int32_t style) {
    focusRectStyle_ = style;
    Touch();
}

void Grid::SetUserResize(bool on) {
    userResize_ = on;
    Touch();
}

void Grid::SetEditorWidth(int32_t pixels) {
    editorWidth_ = std::max(0, pixels);
    Touch();
}

void Grid::SetEditorHeight(int32_t pixels) {
    editorHeight_ = std::max(0, pixels);
    Touch();
}

int32_t Grid::EditorWidthOf(int32_t row, int32_t col) const {
    return Inside(row, col) && At(row, col).editorWidth >= 0 ? At(row, col).editorWidth : editorWidth_;
}

int32_t Grid::EditorHeightOf(int32_t row, int32_t col) const {
    return Inside(row, col) && At(row, col).editorHeight >= 0 ? At(row, col).editorHeight : editorHeight_;
}

int32_t Grid::EditorBorderStyleOf(int32_t row, int32_t col) const {
    return Inside(row, col) && At(row, col).editorBorderStyle >= 0 ? At(row, col).editorBorderStyle : 1;
}

// --- Grid: the edit cycle ------------------------------------------------------------------------------

void Grid::SetEditState(int32_t row, int32_t col, GridEditState state) {
    Check(row, col);
    const bool thisCell = editing_ && editRow_ == row && editCol_ == col;
    switch (state) {
        case GridEditState::Start:
            if (row == 0 || thisCell) return;
            StartEdit(row, col);
            return;
        case GridEditState::End:
            if (thisCell) Commit();
            return;
        case GridEditState::Cancel:
            if (thisCell) Cancel();
            return;
    }
}

void Grid::EndEditing() {
    if (editing_) Commit();
}

void Grid::StartEdit(int32_t row, int32_t col) {
    if (editing_) Commit();
    // The commit's handler may have reshaped the grid.
    if (!Inside(row, col) || editing_) return;
    GridCell cell(*this, row, col);
    int32_t flags = 0;
    Fire(OnGridCellRequestEditing, cell, flags);
    if (!Inside(row, col) || editing_) return;
    editing_ = true;
    ++editSerial_;
    editRow_ = row;
    editCol_ = col;
    editOldText_ = At(row, col).text;
    edit_.SetText(editOldText_);
    edit_.SelectAll();  // the first key replaces the text
    before_ = edit_;
    editFlags_ = flags;
    row_ = row;
    col_ = col;
    Touch();
}

void Grid::Commit() {
    editing_ = false;
    ++editSerial_;
    std::string text = edit_.Text();
    edit_ = before_ = {};
    GridCell cell(*this, editRow_, editCol_);
    Fire(OnGridCellAfterEditing, text, cell);
    if (Inside(cell.Row(), cell.Col())) {
        At(cell.Row(), cell.Col()).text = std::move(text);
    }
    Touch();
}

void Grid::Cancel() {
    editing_ = false;
    ++editSerial_;
    edit_ = before_ = {};
    Touch();
}

void Grid::SetEditText(std::string text) {
    if (!editing_ || text == edit_.Text()) return;
    if (text == before_.Text()) {
        edit_ = before_;
    } else {
        const auto caret = static_cast<int32_t>(text.size());
        edit_.SetText(std::move(text), caret);
    }
    Touch();
}

void Grid::ChangeEdit(EditableText next) {
    if (next.Text() == edit_.Text()) {
        if (next == edit_) return;
        edit_ = std::move(next);
        Touch();
        return;
    }
    before_ = std::move(edit_);
    edit_ = std::move(next);
    Touch();
    GridCellEditor editor(*this);
    Fire(OnGridCellEditingChange, editor);
}

// --- Grid: user actions -----------------------------------------------------------------------------------

bool Grid::ClickCell(int32_t row, int32_t col, int32_t button) {
    if (!Inside(row, col) || !BeginUserAction(true)) return false;
    if (editing_ && (editRow_ != row || editCol_ != col)) Commit();
    if (!Inside(row, col)) return false;
    row_ = row;
    col_ = col;
    Touch();
    GridCell cell(*this, row, col);
    Fire(OnGridCellClick, cell, button);
    return true;
}

bool Grid::TypeEditKey(int32_t keyAscii) {
    if (!editing_ || !BeginUserAction(true) || !editing_) return false;
    const uint64_t serial = editSerial_;
    int32_t key = keyAscii;
    GridCellEditor editor(*this);
    Fire(OnGridCellEditingKeyPress, editor, key);
    // Swallowed, or the handler ended this edit itself (or opened another).
    if (key == 0 || !editing_ || editSerial_ != serial) return true;
    if (key == vbKeyReturn) {
        Commit();
        return true;
    }
    if (key == vbKeyEscape) {
        Cancel();
        return true;
    }
    if (key == vbKeyBack) {
        ChangeEdit(edit_.Deleted(true));
    } else if (key >= 32 && key <= 255) {
        const char ch = static_cast<char>(key);
        ChangeEdit(edit_.Typed(std::string_view(&ch, 1)));
    }
    return true;
}

bool Grid::TypeEditText(std::string_view text) {
    for (char c : text)
        if (!TypeEditKey(static_cast<unsigned char>(c))) return false;
    return true;
}

bool Grid::EnterEditText(std::string_view text) {
    if (!editing_ || !BeginUserAction(true) || !editing_) return false;
    EditableText next;
    next.SetText(std::string(text), static_cast<int32_t>(text.size()));
    ChangeEdit(std::move(next));
    return true;
}

bool Grid::SelectEditText(int32_t anchor, int32_t caret) {
    if (!editing_ || !BeginUserAction(true) || !editing_) return false;
    EditableText next = edit_;
    next.Select(anchor, caret);
    ChangeEdit(std::move(next));
    return true;
}

namespace {

// Twips to whole pixels, rounded as a renderer places them.
int32_t Pixels(int32_t twips, int32_t twipsPerPixel) {
    return static_cast<int32_t>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

}  // namespace

int32_t Grid::RowPixels(int32_t row) const { return Pixels(rowHeights_[row], std::max(1, Metrics().TwipsPerPixelY())); }

int32_t Grid::RowRoom() const {
    // The frame around the rows, and a horizontal scroll bar when the columns overflow.
    constexpr int32_t kFramePixels = 4;
    const TextMetrics& metrics = Metrics();
    const int32_t pixelX = std::max(1, metrics.TwipsPerPixelX()), pixelY = std::max(1, metrics.TwipsPerPixelY());
    int32_t room = Pixels(Height(), pixelY) - (rows_ > 0 ? RowPixels(0) : 0) - kFramePixels;
    int32_t widths = 0;
    for (int32_t width : colWidths_) widths += Pixels(width, pixelX);
    const int32_t bar = metrics.VScrollBarWidth();
    if (widths > Pixels(Width(), pixelX) - kFramePixels - bar) room -= bar;
    return room;
}

int32_t Grid::PageRows() const {
    int32_t room = RowRoom();
    int32_t count = 0;
    for (int32_t row = std::max(topRow_, 1); row < rows_ && room >= RowPixels(row); ++row) {
        room -= RowPixels(row);
        ++count;
    }
    return std::max(count, 1);
}

void Grid::ScrollToRow(int32_t row) {
    if (row < 1 || row >= rows_) return;
    // Row 0 stays in view above the others: a top row of 0 shows row 1 first.
    if (row < std::max(topRow_, 1)) {
        SetTopRow(row);
        return;
    }
    // The least top row that shows `row` whole.
    int32_t room = RowRoom() - RowPixels(row);
    int32_t top = row;
    while (top > 1 && room >= RowPixels(top - 1)) room -= RowPixels(--top);
    if (std::max(topRow_, 1) < top) SetTopRow(top);
}

void Grid::KeyAction(int32_t keyCode, int32_t shift) {
    if (editing_) {
        EditableText next = edit_;
        if (keyCode == vbKeyDelete)
            next = edit_.Deleted(false);
        else if (keyCode == 'A' && (shift & vbCtrlMask))
            next.SelectAll();
        else if (!next.MoveCaret(keyCode, (shift & vbShiftMask) != 0))
            return;
        ChangeEdit(std::move(next));
        return;
    }
    if (rows_ < 2) return;
    // The keys move among the data rows; the header row is never current by a key.
    int32_t row = row_;
    switch (keyCode) {
        case vbKeyUp: row = row_ - 1; break;
        case vbKeyDown: row = row_ + 1; break;
        case vbKeyPageUp: row = row_ - PageRows(); break;
        case vbKeyPageDown: row = row_ + PageRows(); break;
        case vbKeyHome: row = 1; break;
        case vbKeyEnd: row = rows_ - 1; break;
        default: return;
    }
    SetRow(std::clamp(row, 1, rows_ - 1));
    ScrollToRow(row_);
}

}  // namespace plat::ui
