#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"

namespace {

using namespace plat::ui;

// An identity entry like the product's: filtered boxes that select all on focus.
class FEntry : public Form {
public:
    FEntry() : Form("frmEntry") {
        txtSerial.OnKeyPress = [](int32_t& key) {
            const bool ok = (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') ||
                            key == vbKeyBack;
            if (!ok) key = 0;
        };
        txtSerial.OnChange = [this] { ++serialChanges; };
        txtSerial.OnGotFocus = [this] {
            txtSerial.SetSelStart(0);
            txtSerial.SetSelLength(static_cast<int32_t>(txtSerial.Text().size()));
        };
        txtName.SetMaxLength(5);
        optA.SetValue(true);
        optX.SetValue(true);
    }
    TextBox& txtSerial = Add<TextBox>("txtSerial");
    TextBox& txtName = Add<TextBox>("txtName");
    Frame& fraGroup = Add<Frame>("fraGroup");
    CommandButton& cmdInFrame = Add<CommandButton>("cmdInFrame", &fraGroup);
    OptionButton& optA = Add<OptionButton>("optA");
    OptionButton& optB = Add<OptionButton>("optB");
    OptionButton& optX = Add<OptionButton>("optX", &fraGroup);
    OptionButton& optY = Add<OptionButton>("optY", &fraGroup);
    CheckBox& chkUpload = Add<CheckBox>("chkUpload");
    ListBox& lstMakes = Add<ListBox>("lstMakes");
    int serialChanges = 0;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { form_.Show(); }
    plat::VirtualTimeScope time_;
    FEntry form_;
};

TEST_F(ControlsTest, KeyPressFiltersAndFocusSelectsAll) {
    TextBox& t = form_.txtSerial;
    t.SetText("AB12");
    form_.serialChanges = 0;
    EXPECT_TRUE(form_.txtName.SetFocus());
    // Typing focuses the box, whose GotFocus selects all: the first key replaces it.
    EXPECT_TRUE(t.TypeText("x-9"));
    EXPECT_EQ(t.Text(), "x9");
    EXPECT_EQ(form_.serialChanges, 2);  // "-" was dropped before it changed anything
    EXPECT_TRUE(t.TypeKey(vbKeyBack));
    EXPECT_EQ(t.Text(), "x");
    EXPECT_TRUE(t.HasFocus());
}

TEST_F(ControlsTest, KeyPressCanReplaceTheKey) {
    form_.txtName.OnKeyPress = [](int32_t& key) {
        if (key >= 'a' && key <= 'z') key -= 32;
    };
    form_.txtName.TypeText("ab");
    EXPECT_EQ(form_.txtName.Text(), "AB");
}

TEST_F(ControlsTest, TypingReplacesTheSelectionAndStopsAtMaxLength) {
    TextBox& t = form_.txtName;
    t.SetText("abcde");  // program side: MaxLength does not apply to code
    t.SetText("abcdefg");
    EXPECT_EQ(t.Text(), "abcdefg");
    t.SetText("abc");
    t.SetSelStart(1);
    t.SetSelLength(1);
    EXPECT_EQ(t.SelText(), "b");
    EXPECT_TRUE(t.TypeText("XYZW"));  // W would be the sixth character
    EXPECT_EQ(t.Text(), "aXYZc");
    EXPECT_EQ(t.SelStart(), 4);
}

TEST_F(ControlsTest, BackspaceDeletesBeforeTheCaretOrTheSelection) {
    TextBox& t = form_.txtName;
    t.SetText("abcd");
    t.SetSelStart(2);
    t.TypeKey(vbKeyBack);
    EXPECT_EQ(t.Text(), "acd");
    EXPECT_EQ(t.SelStart(), 1);
    t.SetSelStart(0);
    t.TypeKey(vbKeyBack);  // nothing before the caret
    EXPECT_EQ(t.Text(), "acd");
    t.SetSelLength(2);
    t.TypeKey(vbKeyBack);
    EXPECT_EQ(t.Text(), "d");
    t.TypeKey(vbKeyReturn);  // a control code inserts nothing
    EXPECT_EQ(t.Text(), "d");
}

TEST_F(ControlsTest, LockedBoxFiresKeyPressButDoesNotChange) {
    TextBox& t = form_.txtName;
    int keys = 0;
    t.OnKeyPress = [&](int32_t&) { ++keys; };
    t.SetLocked(true);
    EXPECT_TRUE(t.TypeKey('a'));
    EXPECT_FALSE(t.EnterText("abc"));
    EXPECT_EQ(t.Text(), "");
    EXPECT_EQ(keys, 1);
}

TEST_F(ControlsTest, EnterTextReplacesAllCutToMaxLengthWithoutKeyPress) {
    TextBox& t = form_.txtSerial;
    EXPECT_TRUE(t.EnterText("a-b"));  // pasting is not typing: no key filter
    EXPECT_EQ(t.Text(), "a-b");
    form_.txtName.EnterText("1234567");
    EXPECT_EQ(form_.txtName.Text(), "12345");
}

TEST_F(ControlsTest, ProgramSetterFiresChangeOnlyWhenTheTextDiffers) {
    form_.txtSerial.SetEnabled(false);
    form_.txtSerial.SetText("A1");
    form_.txtSerial.SetText("A1");
    EXPECT_EQ(form_.serialChanges, 1);
    form_.txtSerial.SetSelStart(2);
    form_.txtSerial.SetSelText("B");
    EXPECT_EQ(form_.txtSerial.Text(), "A1B");
    EXPECT_EQ(form_.serialChanges, 2);
}

TEST_F(ControlsTest, UnreachableControlsRefuseEveryAction) {
    int clicks = 0;
    form_.cmdInFrame.OnClick = [&] { ++clicks; };
    form_.chkUpload.OnClick = [&] { ++clicks; };
    form_.lstMakes.AddItem("A");
    form_.lstMakes.OnClick = [&] { ++clicks; };

    form_.txtSerial.SetEnabled(false);
    EXPECT_FALSE(form_.txtSerial.TypeKey('a'));
    EXPECT_FALSE(form_.txtSerial.EnterText("a"));
    EXPECT_FALSE(form_.txtSerial.SetFocus());
    EXPECT_EQ(form_.txtSerial.Text(), "");

    form_.fraGroup.SetEnabled(false);  // a disabled container
    EXPECT_FALSE(form_.cmdInFrame.Click());
    EXPECT_FALSE(form_.optY.Click());
    form_.fraGroup.SetEnabled(true);
    form_.fraGroup.SetVisible(false);  // an invisible container
    EXPECT_FALSE(form_.cmdInFrame.Click());
    form_.fraGroup.SetVisible(true);

    form_.chkUpload.SetVisible(false);
    EXPECT_FALSE(form_.chkUpload.Click());
    form_.chkUpload.SetVisible(true);

    form_.SetEnabled(false);  // a disabled window
    EXPECT_FALSE(form_.chkUpload.Click());
    EXPECT_FALSE(form_.lstMakes.PickItem(0));
    form_.SetEnabled(true);
    form_.Hide();  // a window that is not shown
    EXPECT_FALSE(form_.cmdInFrame.Click());
    form_.Show();

    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form_.chkUpload.Value(), 0);
    EXPECT_TRUE(form_.cmdInFrame.Click());
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, DisablingTheFocusedControlDropsTheFocus) {
    ASSERT_TRUE(form_.txtName.SetFocus());
    form_.txtName.SetEnabled(false);
    EXPECT_EQ(form_.ActiveControl(), nullptr);
    ASSERT_TRUE(form_.cmdInFrame.SetFocus());
    form_.fraGroup.SetVisible(false);
    EXPECT_EQ(form_.ActiveControl(), nullptr);
}

TEST_F(ControlsTest, FocusEventsFireInOrderAndLabelsTakeNoFocus) {
    std::vector<std::string> log;
    form_.txtName.OnGotFocus = [&] { log.push_back("name got"); };
    form_.txtName.OnLostFocus = [&] { log.push_back("name lost"); };
    form_.chkUpload.OnGotFocus = [&] { log.push_back("check got"); };
    form_.chkUpload.OnClick = [&] { log.push_back("check click"); };
    form_.txtName.SetFocus();
    form_.txtName.SetFocus();  // already there: no events
    form_.chkUpload.Click();   // a click moves the focus first
    EXPECT_EQ(log, (std::vector<std::string>{"name got", "name lost", "check got", "check click"}));
    Label& lbl = form_.Add<Label>("lblTitle");
    EXPECT_FALSE(lbl.SetFocus());
    EXPECT_TRUE(form_.chkUpload.HasFocus());
}

TEST_F(ControlsTest, LostFocusHandlerCanKeepTheFocus) {
    // A validating box that takes the focus back while the other control gets it.
    form_.txtName.OnLostFocus = [&] { form_.txtName.SetFocus(); };
    int otherGot = 0;
    form_.chkUpload.OnGotFocus = [&] { ++otherGot; };
    form_.txtName.SetFocus();
    form_.chkUpload.SetFocus();
    EXPECT_TRUE(form_.txtName.HasFocus());
    EXPECT_EQ(otherGot, 0);
}

TEST_F(ControlsTest, OptionButtonsAreGroupedPerContainer) {
    int clicksB = 0;
    form_.optB.OnClick = [&] { ++clicksB; };
    EXPECT_TRUE(form_.optA.Value());
    EXPECT_TRUE(form_.optX.Value());
    EXPECT_TRUE(form_.optB.Click());
    EXPECT_FALSE(form_.optA.Value());
    EXPECT_TRUE(form_.optX.Value());  // the frame's group is untouched
    EXPECT_TRUE(form_.optB.Click());  // already on: no second Click
    EXPECT_EQ(clicksB, 1);
    form_.optY.SetValue(true);
    EXPECT_FALSE(form_.optX.Value());
    EXPECT_TRUE(form_.optB.Value());
}

TEST_F(ControlsTest, CheckBoxValueAndClick) {
    std::vector<int32_t> seen;
    CheckBox& c = form_.chkUpload;
    c.OnClick = [&] { seen.push_back(c.Value()); };
    c.SetValue(1);
    c.SetValue(1);  // unchanged: no Click
    c.Click();
    c.SetValue(2);
    c.Click();  // grayed becomes unchecked
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 0, 2, 0}));
    EXPECT_THROW(c.SetValue(3), UiError);
}

TEST_F(ControlsTest, ListKeepsSelectionAndItemDataAcrossInsertAndRemove) {
    ListBox& l = form_.lstMakes;
    int clicks = 0;
    l.OnClick = [&] { ++clicks; };
    l.AddItem("Nellcor");
    l.AddItem("Masimo");
    l.SetItemData(l.NewIndex(), 42);
    l.SetListIndex(1);
    l.AddItem("Acme", 0);  // inserted before the selection
    EXPECT_EQ(l.NewIndex(), 0);
    EXPECT_EQ(l.ListIndex(), 2);
    EXPECT_EQ(l.Text(), "Masimo");
    EXPECT_EQ(l.ItemData(2), 42);
    l.RemoveItem(0);
    EXPECT_EQ(l.ListIndex(), 1);
    l.RemoveItem(1);  // the selected one
    EXPECT_EQ(l.ListIndex(), -1);
    EXPECT_EQ(l.Text(), "");
    EXPECT_EQ(l.List(5), "");
    EXPECT_THROW(l.ItemData(5), UiError);
    EXPECT_THROW(l.SetListIndex(1), UiError);
    EXPECT_FALSE(l.PickItem(3));
    EXPECT_TRUE(l.PickText("nellcor"));
    EXPECT_EQ(l.ListIndex(), 0);
    EXPECT_EQ(clicks, 2);  // SetListIndex(1) and the pick; Remove and Clear do not click
    l.Clear();
    EXPECT_EQ(l.ListCount(), 0);
    EXPECT_EQ(l.ListIndex(), -1);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, ListSelectsAnItemByItsText) {
    ListBox& l = form_.lstMakes;
    int clicks = 0;
    l.OnClick = [&] { ++clicks; };
    l.AddItem("Nellcor");
    l.AddItem("Masimo");
    l.AddItem("masimo");
    EXPECT_EQ(l.FindItem("MASIMO"), 1);  // the first of the same text, letter case ignored
    EXPECT_EQ(l.FindItem("Acme"), -1);
    EXPECT_TRUE(l.SelectText("masimo"));
    EXPECT_EQ(l.ListIndex(), 1);
    EXPECT_TRUE(l.SelectText("Masimo"));  // already selected: no second Click
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(l.SelectText("Acme"));
    EXPECT_EQ(l.ListIndex(), 1);
    EXPECT_EQ(clicks, 1);
    l.SetEnabled(false);  // the program side selects what a person could not pick
    EXPECT_TRUE(l.SelectText("nellcor"));
    EXPECT_EQ(l.ListIndex(), 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, ComboBoxTextFollowsItsStyle) {
    ComboBox& pick = form_.Add<ComboBox>("cboType");
    pick.SetStyle(ComboStyle::DropdownList);
    pick.AddItem("Pelmo Q5 F");
    pick.AddItem("Pelmo Q5 FE");
    pick.SetText("pelmo q5 fe");
    EXPECT_EQ(pick.ListIndex(), 1);
    EXPECT_EQ(pick.Text(), "Pelmo Q5 FE");
    EXPECT_THROW(pick.SetText("other"), UiError);
    EXPECT_FALSE(pick.EnterText("typed"));

    ComboBox& edit = form_.Add<ComboBox>("cboEdit");
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.AddItem("One");
    edit.SetText("free text");
    EXPECT_EQ(edit.Text(), "free text");
    EXPECT_TRUE(edit.PickItem(0));
    EXPECT_EQ(edit.Text(), "One");
    EXPECT_TRUE(edit.EnterText("Two"));
    EXPECT_EQ(changes, 2);
    edit.Clear();
    EXPECT_EQ(edit.Text(), "");
}

TEST_F(ControlsTest, DefaultFlagIsUniquePerWindow) {
    CommandButton& a = form_.Add<CommandButton>("cmdA");
    CommandButton& b = form_.Add<CommandButton>("cmdB");
    a.SetDefault(true);
    b.SetDefault(true);
    EXPECT_FALSE(a.Default());
    EXPECT_TRUE(b.Default());
}

TEST_F(ControlsTest, NamesAreCaseInsensitiveAndUnique) {
    EXPECT_EQ(form_.Controls().Find("TXTSERIAL"), &form_.txtSerial);
    EXPECT_EQ(form_.Controls().FindAs<TextBox>("txtserial"), &form_.txtSerial);
    EXPECT_EQ(form_.Controls().FindAs<Label>("txtSerial"), nullptr);
    EXPECT_THROW(form_.Controls().Item("nothing"), UiError);
    EXPECT_THROW(form_.Add<Label>("TxtSerial"), UiError);
    EXPECT_THROW(form_.Controls().Remove("txtSerial"), UiError);  // the window's own control
    EXPECT_THROW(form_.txtName.SetContainer(&form_.txtSerial), UiError);
    form_.txtName.SetContainer(&form_.fraGroup);
    form_.fraGroup.SetEnabled(false);
    EXPECT_FALSE(form_.txtName.TypeKey('a'));
}

}  // namespace

namespace {

using namespace plat::ui;

TEST(Labels, CaptionsSplitIntoLinesAtEveryLineEnd) {
    Label l;
    l.SetCaption("Note:\r\n 1. first\n\n2. second\rlast");
    EXPECT_EQ(l.Lines(), (std::vector<std::string>{"Note:", " 1. first", "", "2. second", "last"}));
    l.SetCaption("");
    EXPECT_EQ(l.Lines(), (std::vector<std::string>{""}));
}

TEST(Labels, AutoSizeFitsTheTextAndFollowsCaptionChanges) {
    Label l;
    l.Move(100, 200, 5000, 100);
    l.SetCaption("abc\r\nabcdef");
    l.SetAutoSize(true);
    EXPECT_EQ(l.Width(), 6 * 6 * 15);
    EXPECT_EQ(l.Height(), 2 * 13 * 15);
    EXPECT_EQ(l.Left(), 100);
    l.SetCaption("a");
    EXPECT_EQ(l.Height(), 13 * 15);
}

TEST(Labels, AWordWrappedAutoSizeLabelKeepsItsWidthAndGrowsDown) {
    Label l;
    l.Move(0, 0, 10 * 6 * 15, 0);  // ten characters wide
    l.SetWordWrap(true);
    l.SetCaption("one two three four\r\nfive");
    l.SetAutoSize(true);
    // "one two" / "three four" / "five"
    EXPECT_EQ(l.Width(), 10 * 6 * 15);
    EXPECT_EQ(l.Height(), 3 * 13 * 15);
}

}  // namespace
