#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::ScriptedOperator;

// A settings page, as the plug-in docks them into the host's windows.
class XPage : public UserControl {
public:
    XPage() {
        txtValue.OnGotFocus = [this] { log.push_back("txtValue got"); };
        txtValue.OnLostFocus = [this] { log.push_back("txtValue lost"); };
        cmdApply.OnClick = [this] { log.push_back("apply"); };
    }
    TextBox& txtValue = Add<TextBox>("txtValue");
    CommandButton& cmdApply = Add<CommandButton>("cmdApply");
    std::vector<std::string> log;
};

// The plug-in's dialog window: never shown itself, it holds the page.
class FSetup : public Form {
public:
    FSetup() : Form("frmSetup") {
        OnGotFocus = [this] { page->txtValue.SetFocus(); };
    }
    void Create() {
        extender = Controls().Add("UiTest.XPage", "xvbSetupControl");
        page = extender->ObjectAs<XPage>();
    }
    std::shared_ptr<ObjectControl> extender;
    std::shared_ptr<XPage> page;
};

// The host's window that the page is docked into.
class FHost : public Form {
public:
    FHost() : Form("frmHost") {
        txtName.OnLostFocus = [this] { log.push_back("txtName lost"); };
        txtName.OnGotFocus = [this] { log.push_back("txtName got"); };
    }
    TextBox& txtName = Add<TextBox>("txtName");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    std::vector<std::string> log;
};

class DockingTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::RegisterClass("UiTest.XPage", [] { return std::make_shared<XPage>(); });
        setup_.Load();
        setup_.Create();
    }
    void TearDown() override { plat::UnregisterClass("UiTest.XPage"); }
    plat::VirtualTimeScope time_;
    FSetup setup_;
    FHost host_;
};

TEST_F(DockingTest, HandlesNameLiveHostsOnly) {
    EXPECT_NE(host_.hWnd(), 0);
    EXPECT_NE(host_.hWnd(), setup_.hWnd());
    EXPECT_NE(setup_.page->hWnd(), setup_.hWnd());
    EXPECT_EQ(FromHandle(host_.hWnd()), &host_);
    WindowHandle gone = 0;
    {
        FHost temp;
        gone = temp.hWnd();
    }
    EXPECT_EQ(FromHandle(gone), nullptr);
    EXPECT_EQ(SetParent(gone, host_.hWnd()), 0);
    EXPECT_EQ(SetParent(setup_.page->hWnd(), gone), 0);
    EXPECT_EQ(setup_.page->DockParent(), nullptr);
}

TEST_F(DockingTest, AnUndockedPageOfAHiddenWindowRefusesAndADockedOneActs) {
    host_.Show();
    EXPECT_FALSE(setup_.page->cmdApply.Click());  // its own window is never shown

    EXPECT_EQ(SetParent(setup_.page->hWnd(), host_.hWnd()), setup_.hWnd());
    EXPECT_EQ(setup_.page->DockParent(), &host_);
    EXPECT_EQ(setup_.page->ParentHost(), &host_);
    EXPECT_TRUE(setup_.page->cmdApply.Click());
    EXPECT_EQ(setup_.page->log.back(), "apply");

    // The holder of the page still shows and hides it through its extender.
    setup_.extender->SetVisible(false);
    EXPECT_FALSE(setup_.page->cmdApply.Click());
    setup_.extender->SetVisible(true);
    host_.SetEnabled(false);
    EXPECT_FALSE(setup_.page->cmdApply.Click());
    host_.SetEnabled(true);

    // Undocked again (back to its own window), it is out of reach.
    EXPECT_EQ(SetParent(setup_.page->hWnd(), setup_.hWnd()), host_.hWnd());
    EXPECT_EQ(setup_.page->DockParent(), nullptr);
    EXPECT_FALSE(setup_.page->cmdApply.Click());
}

TEST_F(DockingTest, ADockedPageInAWindowBehindAModalOneIsOutOfReach) {
    host_.Show();
    SetParent(setup_.page->hWnd(), host_.hWnd());
    FHost modal;
    ScriptedOperator op;
    op.Do("frmHost", "try the page behind", [&](Form& f) {
        EXPECT_EQ(&f, &modal);
        EXPECT_FALSE(setup_.page->cmdApply.Click());
        f.Hide();
    });
    modal.Show(ShowMode::Modal);
    EXPECT_TRUE(op.Done());
    EXPECT_TRUE(setup_.page->cmdApply.Click());
}

TEST_F(DockingTest, DockingRefusesCycles) {
    EXPECT_EQ(SetParent(host_.hWnd(), host_.hWnd()), 0);
    ASSERT_NE(SetParent(setup_.page->hWnd(), host_.hWnd()), 0);
    EXPECT_EQ(SetParent(host_.hWnd(), setup_.page->hWnd()), 0);
    EXPECT_EQ(host_.DockParent(), nullptr);
}

TEST_F(DockingTest, MoveOfADockedPageStaysInsideItsParent) {
    SetParent(setup_.page->hWnd(), host_.hWnd());
    setup_.extender->Move(120, 240, 3000, 2000);
    EXPECT_EQ(setup_.extender->Left(), 120);
    EXPECT_EQ(setup_.extender->Height(), 2000);
    EXPECT_EQ(setup_.page->ParentHost(), &host_);
}

TEST_F(DockingTest, TheFocusOfADockedPageIsTheHoldersFocus) {
    host_.Show();
    ASSERT_TRUE(host_.txtName.HasFocus());
    SetParent(setup_.page->hWnd(), host_.hWnd());
    ASSERT_TRUE(setup_.page->txtValue.UserFocus());
    EXPECT_EQ(host_.log, (std::vector<std::string>{"txtName got", "txtName lost"}));
    EXPECT_EQ(host_.ActiveControl(), &setup_.page->txtValue);
    EXPECT_FALSE(host_.txtName.HasFocus());
    // Leaving the window takes the focus back from the page.
    SetParent(setup_.page->hWnd(), 0);
    EXPECT_EQ(host_.ActiveControl(), nullptr);
    EXPECT_EQ(setup_.page->log.back(), "txtValue got");
}

TEST_F(DockingTest, AWindowPassesItsFocusToTheDockedPage) {
    host_.Show();
    SetParent(setup_.page->hWnd(), host_.hWnd());
    host_.cmdOK.SetFocus();
    // The host asks the dialog window for the focus; the window has no
    // control of its own to take it, so its GotFocus hands it to the page.
    setup_.Show();
    setup_.Hide();
    SetParent(setup_.hWnd(), host_.hWnd());
    setup_.Show();
    ASSERT_TRUE(setup_.SetFocus());
    EXPECT_TRUE(setup_.page->txtValue.HasFocus());
    EXPECT_EQ(host_.ActiveControl(), &setup_.page->txtValue);
    EXPECT_FALSE(setup_.UserClose());  // docked: no close box of its own
    EXPECT_TRUE(setup_.Loaded());
}

TEST_F(DockingTest, TheOperatorFindsDockedControlsOnTheHoldingWindow) {
    SetParent(setup_.page->hWnd(), host_.hWnd());
    ScriptedOperator op;
    op.Type("frmHost", "txtValue", "12").Click("frmHost", "cmdApply").Click("frmHost", "cmdOK");
    host_.cmdOK.OnClick = [this] { host_.Hide(); };
    host_.Show(ShowMode::Modal);
    EXPECT_EQ(setup_.page->txtValue.Text(), "12");
    EXPECT_EQ(setup_.page->log.back(), "apply");
}

TEST_F(DockingTest, ADestroyedParentLeavesThePageUndocked) {
    auto other = std::make_unique<FHost>();
    SetParent(setup_.page->hWnd(), other->hWnd());
    other.reset();
    EXPECT_EQ(setup_.page->DockParent(), nullptr);
    EXPECT_EQ(setup_.page->ParentHost(), &setup_);
}

// --- Focus moved by a person, Tab order ----------------------------------------------------

class FTabbed : public Form {
public:
    FTabbed() : Form("frmTabbed") {
        for (auto* t : {&txtA, &txtB, &txtC}) {
            t->OnGotFocus = [this, t] { log.push_back(t->Name() + " got"); };
            t->OnLostFocus = [this, t] { log.push_back(t->Name() + " lost"); };
        }
        // Tab order differs from the order of placing.
        txtC.SetTabIndex(0);
        lblCaption.SetTabIndex(1);
        txtA.SetTabIndex(2);
        txtB.SetTabIndex(3);
    }
    TextBox& txtA = Add<TextBox>("txtA");
    TextBox& txtB = Add<TextBox>("txtB");
    Label& lblCaption = Add<Label>("lblCaption");
    TextBox& txtC = Add<TextBox>("txtC");
    std::vector<std::string> log;
};

class FocusTest : public ::testing::Test {
protected:
    plat::VirtualTimeScope time_;
    FTabbed form_;
};

TEST_F(FocusTest, ShowFocusesTheFirstInTabOrderAndAClickMovesItWithEvents) {
    form_.Show();
    EXPECT_TRUE(form_.txtC.HasFocus());
    ASSERT_TRUE(form_.txtB.UserFocus());
    EXPECT_EQ(form_.log, (std::vector<std::string>{"txtC got", "txtC lost", "txtB got"}));
    EXPECT_FALSE(form_.lblCaption.UserFocus());  // a label takes no focus
}

TEST_F(FocusTest, TabFollowsTabIndexSkipsUnreachableAndWraps) {
    form_.Show();
    form_.txtA.SetEnabled(false);
    ASSERT_TRUE(form_.PressTab());
    EXPECT_TRUE(form_.txtB.HasFocus());
    ASSERT_TRUE(form_.PressTab());
    EXPECT_TRUE(form_.txtC.HasFocus());  // wrapped around
    ASSERT_TRUE(form_.PressTab(true));
    EXPECT_TRUE(form_.txtB.HasFocus());
    form_.txtA.SetEnabled(true);
    form_.txtA.SetTabStop(false);
    ASSERT_TRUE(form_.PressTab(true));
    EXPECT_TRUE(form_.txtC.HasFocus());
    EXPECT_EQ(form_.log.back(), "txtC got");
}

TEST_F(FocusTest, AHiddenWindowRefusesFocusAndTab) {
    EXPECT_FALSE(form_.txtA.UserFocus());
    EXPECT_FALSE(form_.PressTab());
    EXPECT_TRUE(form_.log.empty());
}

TEST_F(FocusTest, TabEntersEmbeddedControlsAtTheirPlace) {
    plat::RegisterClass("UiTest.XPage", [] { return std::make_shared<XPage>(); });
    form_.Show();
    auto ext = form_.Controls().Add("UiTest.XPage", "xmdPage");
    ext->SetTabIndex(1);  // ties with the label: placed later, it comes after it
    auto page = ext->ObjectAs<XPage>();
    const std::vector<Control*> order = form_.TabOrder();
    const std::vector<Control*> expected{&form_.txtC, &page->txtValue, &page->cmdApply, &form_.txtA, &form_.txtB};
    EXPECT_EQ(order, expected);
    plat::UnregisterClass("UiTest.XPage");
}

TEST_F(FocusTest, TheOperatorTabsAndFocuses) {
    form_.txtB.OnChange = [this] { form_.Hide(); };
    ScriptedOperator op;
    op.PressTab("frmTabbed").PressTab("frmTabbed").Focus("frmTabbed", "txtB").Type("frmTabbed", "txtB", "x");
    form_.Show(ShowMode::Modal);
    EXPECT_EQ(form_.log, (std::vector<std::string>{"txtC got", "txtC lost", "txtA got", "txtA lost", "txtB got"}));
}

// --- Keys ------------------------------------------------------------------------------------

TEST_F(FocusTest, KeyDownPassesTheCodeByReferenceAndTypingRaisesDownPressUp) {
    form_.Show();
    std::vector<std::string> keys;
    form_.txtA.OnKeyDown = [&](int32_t& code, int32_t shift) {
        keys.push_back("down " + std::to_string(code) + "/" + std::to_string(shift));
    };
    form_.txtA.OnKeyPress = [&](int32_t& ascii) { keys.push_back("press " + std::to_string(ascii)); };
    form_.txtA.OnKeyUp = [&](int32_t& code, int32_t) {
        keys.push_back("up " + std::to_string(code));
        code = 0;  // discarded, as a handler may
    };
    ASSERT_TRUE(form_.txtA.TypeText("a.B"));
    EXPECT_EQ(form_.txtA.Text(), "a.B");
    EXPECT_EQ(keys, (std::vector<std::string>{"down 65/0", "press 97", "up 65", "down 190/0", "press 46", "up 190",
                                              "down 66/1", "press 66", "up 66"}));
    EXPECT_TRUE(form_.txtA.HasFocus());
}

TEST_F(FocusTest, DeleteRemovesAfterTheCaretUnlessZeroedOrLocked) {
    form_.Show();
    form_.txtA.SetText("abc");
    form_.txtA.SetSelStart(1);
    ASSERT_TRUE(form_.txtA.PressKey(vbKeyDelete));
    EXPECT_EQ(form_.txtA.Text(), "ac");
    form_.txtA.OnKeyDown = [](int32_t& code, int32_t) { code = 0; };
    form_.txtA.PressKey(vbKeyDelete);
    EXPECT_EQ(form_.txtA.Text(), "ac");
    form_.txtA.OnKeyDown = {};
    form_.txtA.SetLocked(true);
    form_.txtA.PressKey(vbKeyDelete);
    EXPECT_EQ(form_.txtA.Text(), "ac");
}

TEST_F(FocusTest, KeysAreRefusedWhereAPersonCannotReach) {
    form_.Show();
    int downs = 0;
    form_.txtA.OnKeyDown = [&](int32_t&, int32_t) { ++downs; };
    form_.txtA.SetVisible(false);
    EXPECT_FALSE(form_.txtA.PressKey(vbKeyDown));
    EXPECT_FALSE(form_.lblCaption.PressKey(vbKeySpace));
    EXPECT_EQ(downs, 0);
}

TEST(ComboLocked, ALockedComboTakesTheFocusButNeitherPicksNorTakesText) {
    plat::VirtualTimeScope time;
    Form form("frmCombo");
    auto& combo = form.Add<ComboBox>("cboMake");
    combo.AddItem("A");
    combo.AddItem("B");
    int clicks = 0;
    combo.OnClick = [&] { ++clicks; };
    form.Show();
    combo.SetLocked(true);
    EXPECT_FALSE(combo.PickItem(1));
    EXPECT_FALSE(combo.EnterText("x"));
    EXPECT_TRUE(combo.HasFocus());
    EXPECT_EQ(combo.ListIndex(), -1);
    combo.SetListIndex(1);  // code still sets it
    EXPECT_EQ(clicks, 1);
    combo.SetLocked(false);
    EXPECT_TRUE(combo.PickItem(0));
    EXPECT_EQ(clicks, 2);
}

}  // namespace
