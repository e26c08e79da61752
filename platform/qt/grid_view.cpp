#include "platform/qt/grid_view.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFrame>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableView>
#include <QtWidgets/QTableWidget>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_renderer.h"
#include "platform/qt/qt_text.h"
#include "platform/ui/keys.h"

namespace plat::qt {

namespace ui = plat::ui;

namespace {

Qt::Alignment ToQtAlignment(int32_t code) {
    const ui::GridAlignment a = ui::AlignmentOf(code);
    Qt::Alignment h = a.horizontal == ui::GridAlignment::Horizontal::Left     ? Qt::AlignLeft
                      : a.horizontal == ui::GridAlignment::Horizontal::Centre ? Qt::AlignHCenter
                                                                              : Qt::AlignRight;
    Qt::Alignment v = a.vertical == ui::GridAlignment::Vertical::Top      ? Qt::AlignTop
                      : a.vertical == ui::GridAlignment::Vertical::Middle ? Qt::AlignVCenter
                                                                          : Qt::AlignBottom;
    return h | v;
}

int MouseButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 1;
    }
}

}  // namespace

QWidget* GridView::Create(QWidget* parent) {
    table_ = new QTableWidget(parent);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    table_->setWordWrap(false);
    // The rows in view are the core's top row alone: a current cell set from the core scrolls nothing.
    table_->setAutoScroll(false);
    // Tab is the window's; Qt would also take it as a move, even when a hidden editor hands the focus back.
    table_->setTabKeyNavigation(false);
    Hook(table_->viewport(), [this](QObject*, QEvent* event) { return OnViewportEvent(table_, event); });
    // Row 0 is drawn by a view of its own over the table's column header, which keeps its
    // place at the top; the table's own row 0 has no height, so scrolling never takes it away
    // and the scroll bar's value stays the top row's number.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    fixed_ = new QTableView(table_);
    fixed_->setModel(table_->model());
    fixed_->horizontalHeader()->hide();
    fixed_->verticalHeader()->hide();
    fixed_->setFrameShape(QFrame::NoFrame);
    fixed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fixed_->setSelectionMode(QAbstractItemView::NoSelection);
    fixed_->setFocusPolicy(Qt::NoFocus);
    fixed_->setWordWrap(false);
    fixed_->setHorizontalScrollMode(table_->horizontalScrollMode());
    Hook(fixed_->viewport(), [this](QObject*, QEvent* event) {
        // The wheel over the header row scrolls the rows, never the header away.
        if (event->type() == QEvent::Wheel) {
            QApplication::sendEvent(table_->viewport(), event);
            return true;
        }
        return OnViewportEvent(fixed_, event);
    });
    Hook(header, [this, header](QObject*, QEvent* event) {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show)
            fixed_->setGeometry(header->geometry());
        return false;
    });
    QObject::connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged, Context(),
                     [this](int left) { fixed_->horizontalScrollBar()->setValue(left); });
    QObject::connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, Context(), [this](int top) {
        // A person scrolled: the first row in view is the core's top row.
        if (!Syncing() && Control()) grid_.SetTopRow(top);
    });
    // The focus frame (the table's current cell) is the core's current cell, where the highlight
    // is: a move the table makes by itself (a typed letter's search) is put back.
    QObject::connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, Context(),
                     [this](const QModelIndex& current) {
                         if (!Syncing() && Control() && current.isValid()) SyncCurrent();
                     });
    editor_ = new QLineEdit(table_->viewport());
    editor_->hide();
    editor_->setProperty("orvikOwnKeys", true);  // Enter and Esc are the editor's, not the window's
    Hook(editor_, [this](QObject*, QEvent* event) { return OnEditorKey(event); });
    QObject::connect(editor_, &QLineEdit::textEdited, Context(), [this](const QString& text) { OnEditorEdited(text); });
    QObject::connect(editor_, &QLineEdit::selectionChanged, Context(), [this] { OnEditorSelection(); });
    QObject::connect(editor_, &QLineEdit::cursorPositionChanged, Context(), [this] { OnEditorSelection(); });
    WatchFocus(table_);
    WatchFocus(editor_);
    // While a cell is edited the grid's keys are the editor's, also when the
    // window is activated again (after a message box) and the table gets the focus back.
    Hook(table_, [this](QObject*, QEvent* event) {
        if (event->type() == QEvent::FocusIn && editor_->isVisible()) editor_->setFocus(Qt::OtherFocusReason);
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut || event->type() == QEvent::Resize)
            SyncFocusFrame();
        return false;
    });
    // The style draws the focus frame of the current cell in the highlight colour the
    // current row has already: a frame around the whole table shows that it has the focus.
    focusFrame_ = new QFrame(table_);
    focusFrame_->setObjectName("focusFrame");
    focusFrame_->setStyleSheet("QFrame#focusFrame { border: 2px solid palette(highlight); background: transparent; }");
    focusFrame_->setAttribute(Qt::WA_TransparentForMouseEvents);
    focusFrame_->setFocusPolicy(Qt::NoFocus);
    focusFrame_->hide();
    return table_;
}

void GridView::SyncFocusFrame() {
    const bool show = table_->hasFocus() && !editor_->isVisible();
    if (show) {
        focusFrame_->setGeometry(table_->rect());
        focusFrame_->raise();
    }
    if (focusFrame_->isVisible() != show) focusFrame_->setVisible(show);
}

QLineEdit* GridView::Editor() const { return editor_ && editor_->isVisible() ? editor_ : nullptr; }

bool GridView::CoreHandlesKey(int32_t keyCode) const {
    if (grid_.Editing()) return false;
    switch (keyCode) {
        case ui::vbKeyUp:
        case ui::vbKeyDown:
        case ui::vbKeyPageUp:
        case ui::vbKeyPageDown:
        case ui::vbKeyHome:
        case ui::vbKeyEnd:
        case ui::vbKeyLeft:
        case ui::vbKeyRight: return true;
        default: return false;
    }
}

GridView::Shown GridView::Look(int32_t row, int32_t col) const {
    Shown s;
    s.text = grid_.CellText(row, col);
    const QPalette& palette = table_->palette();
    const bool current = row > 0 && row == grid_.Row();
    if (row == 0 && !grid_.CellStyle(0, col).backColor) {
        s.back = palette.color(QPalette::Button);  // the header row keeps the fixed look
        s.fore = palette.color(QPalette::ButtonText);
    } else if (current) {
        s.back = ToQColor(grid_.EffectiveSelectedBackColor(row, col), palette);
        s.fore = ToQColor(grid_.EffectiveSelectedForeColor(row, col), palette);
    } else {
        s.back = ToQColor(grid_.EffectiveBackColor(row, col), palette);
        s.fore = ToQColor(grid_.EffectiveForeColor(row, col), palette);
    }
    s.bold = grid_.EffectiveBold(row, col);
    s.alignment = grid_.EffectiveAlignment(row, col);
    return s;
}

void GridView::SyncOwn() {
    const int32_t rows = grid_.Rows(), cols = grid_.Cols();
    if (table_->rowCount() != rows || table_->columnCount() != cols || shownCols_ != cols) {
        table_->setRowCount(rows);
        table_->setColumnCount(cols);
        shown_.assign(static_cast<size_t>(rows) * cols, Shown{});
        shownCols_ = cols;
        for (int32_t r = 0; r < rows; ++r)
            for (int32_t c = 0; c < cols; ++c) table_->setItem(r, c, new QTableWidgetItem());
        shown_.assign(shown_.size(), Shown{"\x01", {}, {}, false, -1});  // nothing shown yet
    }
    for (int32_t c = 0; c < cols; ++c) {
        const int width = ToPixelsX(grid_.ColWidth(c));
        if (table_->columnWidth(c) != width) table_->setColumnWidth(c, width);
        if (fixed_->columnWidth(c) != width) fixed_->setColumnWidth(c, width);
    }
    for (int32_t r = 0; r < rows; ++r) {
        const int height = r == 0 ? 0 : ToPixelsY(grid_.RowHeight(r));  // row 0 is the fixed view's
        if (table_->rowHeight(r) != height) table_->setRowHeight(r, height);
    }
    SyncFixedRow();
    SyncCells();
    if (table_->verticalScrollBar()->value() != grid_.TopRow()) table_->verticalScrollBar()->setValue(grid_.TopRow());
    SyncEditor();
    SyncCurrent();
}

void GridView::SyncFixedRow() {
    QHeaderView* header = table_->horizontalHeader();
    const bool any = grid_.Rows() > 0;
    const int height = any ? ToPixelsY(grid_.RowHeight(0)) : 0;
    if (any && fixed_->rowHeight(0) != height) fixed_->setRowHeight(0, height);
    if (header->height() != height) header->setFixedHeight(height);
    if (header->isHidden() == any) header->setVisible(any);
    fixed_->setVisible(any);
    fixed_->setGeometry(header->geometry());
}

void GridView::SyncCells() {
    const int32_t rows = grid_.Rows(), cols = grid_.Cols();
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            Shown look = Look(r, c);
            Shown& was = shown_[static_cast<size_t>(r) * cols + c];
            if (look == was) continue;
            QTableWidgetItem* item = table_->item(r, c);
            if (look.text != was.text) item->setText(ToQt(look.text));
            if (look.back != was.back) item->setBackground(look.back);
            if (look.fore != was.fore) item->setForeground(look.fore);
            if (look.bold != was.bold) {
                QFont font = table_->font();
                font.setBold(look.bold);
                item->setFont(font);
            }
            if (look.alignment != was.alignment) item->setTextAlignment(ToQtAlignment(look.alignment));
            was = std::move(look);
        }
    }
}

void GridView::SyncCurrent() {
    const QModelIndex current = table_->model()->index(grid_.Row(), grid_.Col());
    if (current.isValid() && table_->currentIndex() != current)
        table_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void GridView::SyncEditor() {
    if (!grid_.Editing()) {
        if (editor_->isVisible()) {
            const bool hadFocus = editor_->hasFocus();
            editor_->hide();
            if (hadFocus) table_->setFocus(Qt::OtherFocusReason);
        }
        SyncFocusFrame();
        return;
    }
    const int32_t row = grid_.EditRow(), col = grid_.EditCol();
    // Exactly over its cell: an editor width set for another column would cover its neighbours.
    editor_->setGeometry(table_->visualRect(table_->model()->index(row, col)));
    editor_->setFrame(grid_.EditorBorderStyleOf(row, col) != 0);
    const std::string& core = grid_.EditText();
    const QString text = ToQt(core);
    if (editor_->text() != text) editor_->setText(text);
    // The caret and selection as the core has them, unless the editor shows them already.
    const int anchor = IndexOfByte(core, grid_.EditAnchor()), caret = IndexOfByte(core, grid_.EditCaret());
    if (EditorAnchor() != anchor || editor_->cursorPosition() != caret) {
        if (anchor == caret)
            editor_->setCursorPosition(caret);
        else
            editor_->setSelection(anchor, caret - anchor);
    }
    if (!editor_->isVisible()) editor_->show();
    if (table_->hasFocus()) editor_->setFocus(Qt::OtherFocusReason);
    SyncFocusFrame();
}

int GridView::EditorAnchor() const {
    if (!editor_->hasSelectedText()) return editor_->cursorPosition();
    const int start = editor_->selectionStart(), end = editor_->selectionEnd();
    return editor_->cursorPosition() == start ? end : start;
}

bool GridView::OnViewportEvent(QTableView* view, QEvent* event) {
    if (event->type() != QEvent::MouseButtonPress || Syncing()) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QModelIndex index = view->indexAt(mouse->position().toPoint());
    if (!index.isValid()) return false;
    const int32_t row = index.row(), col = index.column(), button = MouseButtonOf(mouse->button());
    Act([this, row, col, button] { grid_.ClickCell(row, col, button); });
    return true;
}

bool GridView::OnEditorKey(QEvent* event) {
    // Qt drops the selection when the editor loses the focus (a click on the
    // table): back in the editor, it shows the core's again.
    if (event->type() == QEvent::FocusIn && Control()) Renderer().Touch(grid_);
    if (event->type() != QEvent::KeyPress || Syncing()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const auto mods = key->modifiers() & ~Qt::KeypadModifier;
    // Select-all and the keys that move the caret or delete act in the core's editor.
    if (key->matches(QKeySequence::SelectAll)) {
        Act([this] { grid_.KeyDown('A', ui::vbCtrlMask); });
        return true;
    }
    if (!(mods & ~Qt::ShiftModifier)) {
        switch (key->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_Delete: {
                const int32_t code = VbKeyCode(key->key()), shift = VbShift(mods);
                Act([this, code, shift] { grid_.KeyDown(code, shift); });
                return true;
            }
            default: break;
        }
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    int32_t code = 0;
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: code = ui::vbKeyReturn; break;
        case Qt::Key_Escape: code = ui::vbKeyEscape; break;
        case Qt::Key_Backspace: code = ui::vbKeyBack; break;
        default: {
            const QString text = key->text();
            if (text.isEmpty() || !text.at(0).isPrint()) return false;
            for (QChar ch : text)
                if (ch.unicode() >= 0x80) return false;  // through textEdited as a whole text
            for (QChar ch : text) Act([this, ch] { grid_.TypeEditKey(ch.unicode()); });
            return true;
        }
    }
    Act([this, code] { grid_.TypeEditKey(code); });
    return true;
}

void GridView::OnEditorEdited(const QString& text) {
    // An edit the keys above did not make (a paste, cut, undo, a non-ASCII
    // character): the whole text, then the caret where the editor put it.
    const int caret = editor_->cursorPosition();
    Act([this, text, caret] {
        const std::string typed = FromQt(text);
        if (grid_.EnterEditText(typed) && grid_.Editing() && grid_.EditText() == typed) {
            const int32_t at = ByteOfIndex(text, caret);
            grid_.SelectEditText(at, at);
        }
    });
}

void GridView::OnEditorSelection() {
    // Without the focus it is no person's selection (Qt deselects on leaving).
    if (Syncing() || !Control() || !grid_.Editing() || !editor_->isVisible() || !editor_->hasFocus()) return;
    const QString text = editor_->text();
    if (FromQt(text) != grid_.EditText()) return;  // an edit is on its way (textEdited follows)
    const int32_t anchor = ByteOfIndex(text, EditorAnchor()), caret = ByteOfIndex(text, editor_->cursorPosition());
    if (anchor == grid_.EditAnchor() && caret == grid_.EditCaret()) return;
    Act([this, anchor, caret] { grid_.SelectEditText(anchor, caret); });
}

}  // namespace plat::qt
