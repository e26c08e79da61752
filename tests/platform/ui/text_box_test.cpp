// Multi-line text boxes: line breaks held as CR LF, typed with Enter, pasted,
// deleted whole, and Enter kept from the window's default button.
#include <gtest/gtest.h>

#include <string>

#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"

namespace {

using namespace plat::ui;

class FNote : public Form {
public:
    FNote() : Form("frmNote") {
        txtNote.SetMultiLine(true);
        txtNote.SetScrollBars(vbVertical);
        cmdOK.SetDefault(true);
        cmdOK.OnClick = [this] { ++okClicks; };
    }
    TextBox& txtNote = Add<TextBox>("txtNote");
    TextBox& txtLine = Add<TextBox>("txtLine");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    int okClicks = 0;
};

class MultiLineTextBoxTest : public ::testing::Test {
protected:
    void SetUp() override { form_.Show(); }
    plat::VirtualTimeScope time_;
    FNote form_;
};

TEST_F(MultiLineTextBoxTest, EnterTypesALineBreakOnlyInAnUnlockedMultiLineBox) {
    TextBox& t = form_.txtNote;
    std::string pressed;
    t.OnKeyPress = [&](int32_t& key) { pressed += std::to_string(key) + " "; };
    t.TypeText("ab");
    ASSERT_TRUE(t.TypeKey(vbKeyReturn));
    t.TypeText("c");
    EXPECT_EQ(t.Text(), "ab\r\nc");
    EXPECT_EQ(t.SelStart(), 5);
    EXPECT_EQ(pressed, "97 98 13 99 ");

    // Enter on the window reaches the box, not the default button.
    t.SetSelStart(2);
    EXPECT_TRUE(form_.PressEnter());
    EXPECT_EQ(t.Text(), "ab\r\n\r\nc");
    EXPECT_EQ(form_.okClicks, 0);

    // Locked: KeyPress fires, nothing changes, Enter presses the default button.
    t.SetLocked(true);
    t.TypeKey(vbKeyReturn);
    EXPECT_EQ(t.Text(), "ab\r\n\r\nc");
    EXPECT_TRUE(form_.PressEnter());
    EXPECT_EQ(form_.okClicks, 1);

    // A one-line box types no line break and leaves Enter to the window.
    TextBox& line = form_.txtLine;
    line.TypeText("x");
    line.TypeKey(vbKeyReturn);
    EXPECT_EQ(line.Text(), "x");
    EXPECT_TRUE(form_.PressEnter());
    EXPECT_EQ(form_.okClicks, 2);
}

TEST_F(MultiLineTextBoxTest, AKeyPressHandlerCanDropOrMakeALineBreak) {
    TextBox& t = form_.txtNote;
    t.OnKeyPress = [](int32_t& key) { key = key == vbKeyReturn ? 0 : (key == '|' ? vbKeyReturn : key); };
    t.TypeText("a|b");
    t.TypeKey(vbKeyReturn);
    EXPECT_EQ(t.Text(), "a\r\nb");
}

TEST_F(MultiLineTextBoxTest, BackspaceAndDeleteTakeALineBreakAndAUtf8CharacterWhole) {
    TextBox& t = form_.txtNote;
    t.SetText("ab\r\ncd");
    t.SetSelStart(4);
    t.TypeKey(vbKeyBack);
    EXPECT_EQ(t.Text(), "abcd");
    EXPECT_EQ(t.SelStart(), 2);
    t.SetText("ab\r\ncd");
    t.SetSelStart(2);
    t.PressKey(vbKeyDelete);
    EXPECT_EQ(t.Text(), "abcd");
    EXPECT_EQ(t.SelStart(), 2);
    // A lone CR or LF is one character.
    t.SetText("a\nb\rc");
    t.SetSelStart(2);
    t.TypeKey(vbKeyBack);
    EXPECT_EQ(t.Text(), "ab\rc");
    t.SetSelStart(2);
    t.PressKey(vbKeyDelete);
    EXPECT_EQ(t.Text(), "abc");
    // A UTF-8 character goes whole: no broken byte is left in a name such as "Café".
    t.SetText("Caf\xC3\xA9s");
    t.SetSelStart(5);
    t.TypeKey(vbKeyBack);
    EXPECT_EQ(t.Text(), "Cafs");
    t.SetText("Caf\xC3\xA9s");
    t.SetSelStart(3);
    t.PressKey(vbKeyDelete);
    EXPECT_EQ(t.Text(), "Cafs");
}

TEST_F(MultiLineTextBoxTest, ALineBreakNeedsRoomForBothBytes) {
    TextBox& t = form_.txtNote;
    t.SetMaxLength(4);
    t.TypeText("abc");
    t.TypeKey(vbKeyReturn);
    EXPECT_EQ(t.Text(), "abc");
    t.SetSelStart(2);
    t.SetSelLength(1);
    t.TypeKey(vbKeyReturn);  // replaces the selection: fits
    EXPECT_EQ(t.Text(), "ab\r\n");
}

TEST_F(MultiLineTextBoxTest, PastedLineBreaksBecomeCrLfAndAreNeverCutInHalf) {
    TextBox& t = form_.txtNote;
    EXPECT_TRUE(t.EnterText("one\ntwo\rthree\r\nfour"));
    EXPECT_EQ(t.Text(), "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(t.SelStart(), static_cast<int32_t>(t.Text().size()));
    t.SetMaxLength(4);
    t.EnterText("one\ntwo");
    EXPECT_EQ(t.Text(), "one");
    t.SetMaxLength(5);
    t.EnterText("one\ntwo");
    EXPECT_EQ(t.Text(), "one\r\n");
    // A one-line box keeps a paste as it is (the renderer's box takes no line breaks).
    form_.txtLine.EnterText("a\nb");
    EXPECT_EQ(form_.txtLine.Text(), "a\nb");
    // The program's text is held as given.
    t.SetText("x\ny");
    EXPECT_EQ(t.Text(), "x\ny");
}

TEST(TextBoxLook, ScrollBarsOutOfRangeShowNone) {
    TextBox t;
    EXPECT_FALSE(t.MultiLine());
    t.SetScrollBars(vbBoth);
    EXPECT_EQ(t.ScrollBars(), vbBoth);
    t.SetScrollBars(static_cast<ScrollBarsConstants>(7));
    EXPECT_EQ(t.ScrollBars(), vbSBNone);
}

}  // namespace
