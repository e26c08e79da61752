// A multi-line text box in a real window: lines shown one per CR LF, Enter
// and typing through the core, pastes and deletions as in a one-line box.
#include <QtGui/QClipboard>
#include <QtGui/QTextCursor>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QPlainTextEdit>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/keys.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using namespace plat::ui;

class FNotes : public Form {
public:
    FNotes() : Form("frmNotes") {
        SetInnerSize(6000, 3000);
        txtNote.Move(120, 120, 3000, 1200);
        txtNote.SetMultiLine(true);
        txtNote.SetScrollBars(vbVertical);
        txtWide.Move(120, 1500, 3000, 900);
        txtWide.SetMultiLine(true);
        txtWide.SetScrollBars(vbHorizontal);
        cmdOK.Move(3300, 120, 1200, 400);
        cmdOK.SetDefault(true);
        cmdOK.OnClick = [this] { log.push_back("ok"); };
        txtNote.OnKeyPress = [this](int32_t& key) { log.push_back("press " + std::to_string(key)); };
        txtNote.OnKeyUp = [this](int32_t& key, int32_t) { log.push_back("up " + std::to_string(key)); };
    }
    TextBox& txtNote = Add<TextBox>("txtNote");
    TextBox& txtWide = Add<TextBox>("txtWide");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    std::vector<std::string> log;
};

class MultiLineTest : public qt_test::RendererFixture {
protected:
    void SetUp() override {
        form.Show();
        Settle();
    }
    QPlainTextEdit* Note() { return Widget<QPlainTextEdit>(form.txtNote); }
    // Puts the widget's caret (and selection) as a person would.
    void Select(int anchor, int position) {
        QTextCursor cursor = Note()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        Note()->setTextCursor(cursor);
        Settle();
    }
    FNotes form;
};

TEST_F(MultiLineTest, TheBoxShowsItsLinesAndScrollBars) {
    ASSERT_NE(Note(), nullptr);
    auto* wide = Widget<QPlainTextEdit>(form.txtWide);
    ASSERT_NE(wide, nullptr);
    form.txtNote.SetText("one\r\ntwo\r\n\xC2\xA0three");  // a no-break space stays what it is
    form.txtNote.SetSelStart(5);
    form.txtNote.SetSelLength(5);
    Settle();
    EXPECT_EQ(Note()->toPlainText().size(), 14);
    EXPECT_EQ(Note()->document()->blockCount(), 3);
    EXPECT_EQ(Note()->textCursor().selectionStart(), 4);
    EXPECT_EQ(Note()->textCursor().selectionEnd(), 8);
    EXPECT_EQ(Note()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(Note()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(Note()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(wide->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(wide->lineWrapMode(), QPlainTextEdit::NoWrap);
    // Nothing a program set comes back as an edit.
    EXPECT_EQ(form.txtNote.Text(), "one\r\ntwo\r\n\xC2\xA0three");
}

TEST_F(MultiLineTest, EnterAndTypedKeysGoThroughTheCore) {
    form.txtNote.SetFocus();
    Settle();
    form.log.clear();
    QTest::keyClicks(Note(), "ab");
    QTest::keyClick(Note(), Qt::Key_Return);
    QTest::keyClicks(Note(), "c");
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "ab\r\nc");
    EXPECT_EQ(form.txtNote.SelStart(), 5);
    EXPECT_EQ(Note()->toPlainText(), "ab\nc");
    EXPECT_EQ(Note()->textCursor().position(), 4);
    // Enter typed a line break (one KeyPress, one KeyUp) and left the default button alone.
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "press 13"), 1);
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "up 13"), 1);
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "ok"), 0);
    // Backspace after the line break takes CR and LF together.
    Select(3, 3);
    EXPECT_EQ(form.txtNote.SelStart(), 4);
    QTest::keyClick(Note(), Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "abc");
    EXPECT_EQ(Note()->toPlainText(), "abc");
}

TEST_F(MultiLineTest, ALockedBoxKeepsItsTextAndLeavesEnterToTheWindow) {
    form.txtNote.SetText("line 1\r\nline 2");
    form.txtNote.SetLocked(true);
    form.txtNote.SetFocus();
    Settle();
    form.log.clear();
    EXPECT_TRUE(Note()->isReadOnly());
    QTest::keyClicks(Note(), "z");
    QTest::keyClick(Note(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "line 1\r\nline 2");
    EXPECT_EQ(Note()->toPlainText(), "line 1\nline 2");
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "ok"), 1);
    // A person can still move the caret and select in it.
    QTest::keyClick(Note(), Qt::Key_Down);
    QTest::keyClick(Note(), Qt::Key_End, Qt::ShiftModifier);
    Settle();
    EXPECT_GT(form.txtNote.SelLength(), 0);
}

TEST_F(MultiLineTest, PastesReachTheCoreWithCrLfAndTheCaretAfterThem) {
    form.txtNote.SetText("x\r\ny");
    form.txtNote.SetFocus();
    Settle();
    Select(2, 2);
    EXPECT_EQ(form.txtNote.SelStart(), 3);
    QApplication::clipboard()->setText("1\n2\n");
    QTest::keyClick(Note(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "x\r\n1\r\n2\r\ny");
    EXPECT_EQ(form.txtNote.SelStart(), 9);
    EXPECT_EQ(Note()->toPlainText(), "x\n1\n2\ny");
    // Over MaxLength: what was pasted is cut, never between CR and LF.
    form.txtNote.SetText("x\r\ny");
    form.txtNote.SetMaxLength(6);
    Settle();
    Select(2, 2);
    QTest::keyClick(Note(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "x\r\n1y");
    EXPECT_EQ(Note()->toPlainText(), "x\n1y");
}

TEST_F(MultiLineTest, SelectingAcrossLinesCountsCrLfAsTwoBytes) {
    form.txtNote.SetText("ab\r\ncd");
    form.txtNote.SetFocus();
    Settle();
    Select(1, 4);
    EXPECT_EQ(form.txtNote.SelStart(), 1);
    EXPECT_EQ(form.txtNote.SelLength(), 4);
    EXPECT_EQ(form.txtNote.SelText(), "b\r\nc");
    QTest::keyClick(Note(), Qt::Key_Delete);
    Settle();
    EXPECT_EQ(form.txtNote.Text(), "ad");
    EXPECT_EQ(Note()->toPlainText(), "ad");
}

TEST_F(MultiLineTest, ABoxGreyedWithTheButtonFaceShowsGreyAndADefaultOneAsItsWindow) {
    const QPalette app = QApplication::palette();
    EXPECT_EQ(form.txtNote.BackColor(), vbWindowBackground);
    EXPECT_EQ(Note()->palette().color(QPalette::Base), app.color(QPalette::Base));
    form.txtNote.SetBackColor(vbButtonFace);
    Settle();
    EXPECT_EQ(Note()->palette().color(QPalette::Base), app.color(QPalette::Button));
    // The frame keeps the window's colours.
    EXPECT_EQ(Note()->palette().color(QPalette::Window), app.color(QPalette::Window));
    form.txtNote.SetBackColor(vbWindowBackground);
    Settle();
    EXPECT_EQ(Note()->palette().color(QPalette::Base), app.color(QPalette::Base));
}

}  // namespace
