#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::OperatorError;
using plat::ui::test::ScriptedOperator;

// A small slot dialog written the way the product's windows are.
class FSlot : public Form {
public:
    FSlot() : Form("frmSlot") {
        OnLoad = [this] { log.push_back("load"); SetCaption("Location"); };
        OnResize = [this] { log.push_back("resize"); };
        OnUnload = [this](bool&) { log.push_back("unload"); };
        cmdOK.SetDefault(true);
        cmdCancel.SetCancel(true);
        cmdOK.OnClick = [this] { cancelClicked = false; Hide(); };
        cmdCancel.OnClick = [this] { cancelClicked = true; Hide(); };
        for (int i = 1; i <= 4; ++i) cboSlot.AddItem("Custom #" + std::to_string(i));
        cboSlot.SetStyle(ComboStyle::DropdownList);
        cboSlot.SetListIndex(0);
    }
    ComboBox& cboSlot = Add<ComboBox>("cboSlot");
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    CommandButton& cmdCancel = Add<CommandButton>("cmdCancel");
    bool cancelClicked = false;
    std::vector<std::string> log;
};

class FormTest : public ::testing::Test {
protected:
    plat::VirtualTimeScope time_;
};

TEST_F(FormTest, ModalShowRunsUntilTheOperatorHidesTheWindow) {
    ScriptedOperator op;
    op.Pick("frmSlot", "cboSlot", 2).Click("frmSlot", "cmdOK");
    FSlot dlg;
    dlg.Show(ShowMode::Modal);
    EXPECT_FALSE(dlg.Visible());
    EXPECT_FALSE(dlg.cancelClicked);
    EXPECT_EQ(dlg.cboSlot.ListIndex(), 2);
    EXPECT_EQ(dlg.cboSlot.Text(), "Custom #3");
    EXPECT_TRUE(op.Done());
    EXPECT_TRUE(dlg.Unload());
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"load", "resize", "unload"}));
    EXPECT_EQ(FindForm("frmSlot"), nullptr);
}

TEST_F(FormTest, EnterAndEscClickTheDefaultAndCancelButtons) {
    ScriptedOperator op;
    FSlot dlg;
    op.PressEscape("frmSlot");
    dlg.Show(ShowMode::Modal);
    EXPECT_TRUE(dlg.cancelClicked);
    // The clicked Cancel button kept the focus; with the list focused Enter
    // goes to the Default button.
    EXPECT_TRUE(dlg.cmdCancel.HasFocus());
    op.Focus("frmSlot", "cboSlot").PressEnter("frmSlot");
    dlg.Show(ShowMode::Modal);
    EXPECT_FALSE(dlg.cancelClicked);
    // A focused command button takes Enter itself.
    op.Focus("frmSlot", "cmdCancel").PressEnter("frmSlot");
    dlg.Show(ShowMode::Modal);
    EXPECT_TRUE(dlg.cancelClicked);
}

TEST_F(FormTest, ShownWindowGivesTheFocusToTheFirstControlInTabOrder) {
    FSlot dlg;
    int got = 0;
    dlg.cboSlot.OnGotFocus = [&] { ++got; };
    dlg.Show();
    EXPECT_TRUE(dlg.cboSlot.HasFocus());
    EXPECT_EQ(dlg.ActiveControl(), &dlg.cboSlot);
    EXPECT_EQ(got, 1);
}

TEST_F(FormTest, ModalWindowWithoutOperatorFailsNamingTheWindow) {
    FSlot dlg;
    try {
        dlg.Show(ShowMode::Modal);
        FAIL() << "a modal window without operator must not return";
    } catch (const ModalStall& e) {
        EXPECT_NE(std::string(e.what()).find("frmSlot"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(dlg.IsModal());
    // The window is still shown and can be closed by code.
    EXPECT_TRUE(dlg.Unload());
}

TEST_F(FormTest, StallMessageSaysWhatTheOperatorWaitsFor) {
    ScriptedOperator op;
    op.Click("frmOther", "cmdGo");
    op.AllowUnfinished();
    FSlot dlg;
    try {
        dlg.Show(ShowMode::Modal);
        FAIL();
    } catch (const ModalStall& e) {
        EXPECT_NE(std::string(e.what()).find("frmOther"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("cmdGo"), std::string::npos) << e.what();
    }
}

TEST_F(FormTest, AModalWindowKeptBusyByAPeriodicTimerFailsAfterTheStallLimit) {
    plat::MessageLoop::Current().SetStallLimit(60 * 1000);
    FSlot dlg;
    plat::Timer timer;
    timer.SetInterval(1000);
    timer.SetEnabled(true);
    try {
        dlg.Show(ShowMode::Modal);
        FAIL() << "the modal window must not wait for ever";
    } catch (const ModalStall& e) {
        EXPECT_NE(std::string(e.what()).find("frmSlot"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("60 s"), std::string::npos) << e.what();
    }
    EXPECT_LE(plat::MessageLoop::Current().Now(), 61 * 1000);
    dlg.Unload();
}

TEST_F(FormTest, TimersKeepRunningWhileAModalWindowWaits) {
    FSlot dlg;
    plat::Timer timer;
    int ticks = 0;
    timer.OnTick = [&] {
        if (++ticks == 3) dlg.Hide();
    };
    timer.SetInterval(1000);
    timer.SetEnabled(true);
    const auto start = plat::MessageLoop::Current().Now();
    dlg.Show(ShowMode::Modal);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(plat::MessageLoop::Current().Now() - start, 3000);
}

// A main window whose button opens the slot dialog modally from its handler.
class FMain : public Form {
public:
    FMain() : Form("frmMain") {
        cmdSend.OnClick = [this] {
            FSlot dlg;
            dlg.Show(ShowMode::Modal);
            picked = dlg.cancelClicked ? -1 : dlg.cboSlot.ListIndex();
            dlg.Unload();
        };
        cmdClose.OnClick = [this] { Unload(); };
    }
    CommandButton& cmdSend = Add<CommandButton>("cmdSend");
    CommandButton& cmdClose = Add<CommandButton>("cmdClose");
    int picked = -2;
};

TEST_F(FormTest, OtherWindowsAreOutOfReachWhileAModalWindowIsUp) {
    FMain main;
    main.Show();  // modeless, as the editor's main window
    ScriptedOperator op;
    bool mainReachable = true;
    op.Click("frmMain", "cmdSend")
        .Do("frmSlot", "try the main window", [&](Form&) {
            mainReachable = main.cmdClose.Click() || main.IsInteractive();
        })
        .Pick("frmSlot", "cboSlot", 3)
        .Click("frmSlot", "cmdOK")
        .Click("frmMain", "cmdClose");
    plat::MessageLoop::Current().RunUntil([&] { return !main.Loaded(); });
    EXPECT_FALSE(mainReachable);
    EXPECT_EQ(main.picked, 3);
    EXPECT_TRUE(op.Done());
}

TEST_F(FormTest, ModalWindowOpensAModalWindowFromAnOperatorStep) {
    ScriptedOperator op;
    op.Click("frmMain", "cmdSend").Click("frmSlot", "cmdCancel").Click("frmMain", "cmdClose");
    FMain main;
    main.Show(ShowMode::Modal);  // ends when cmdClose unloads it
    EXPECT_EQ(main.picked, -1);
    EXPECT_FALSE(main.Loaded());
    EXPECT_EQ(TopModalForm(), nullptr);
}

TEST_F(FormTest, RefusedStepFailsWithAClearMessage) {
    ScriptedOperator op;
    op.Click("frmSlot", "cmdOK");
    FSlot dlg;
    dlg.cmdOK.SetEnabled(false);
    try {
        dlg.Show(ShowMode::Modal);
        FAIL();
    } catch (const OperatorError& e) {
        EXPECT_NE(std::string(e.what()).find("cmdOK"), std::string::npos) << e.what();
    }
    ASSERT_EQ(op.Errors().size(), 1u);
    op.ClearErrors();
}

TEST_F(FormTest, QueryUnloadCanKeepTheWindowAndUserCloseReportsTheMode) {
    FSlot dlg;
    std::vector<UnloadMode> modes;
    bool keep = true;
    dlg.OnQueryUnload = [&](bool& cancel, UnloadMode mode) {
        modes.push_back(mode);
        cancel = keep;
    };
    EXPECT_FALSE(dlg.UserClose());  // not shown: nobody can close it
    dlg.Show();
    EXPECT_FALSE(dlg.UserClose());
    EXPECT_TRUE(dlg.Loaded());
    keep = false;
    EXPECT_TRUE(dlg.Unload());
    EXPECT_EQ(modes, (std::vector<UnloadMode>{UnloadMode::ControlMenu, UnloadMode::Code}));
    EXPECT_FALSE(dlg.Loaded());
}

TEST_F(FormTest, ResizeFiresOnFirstShowAndOnSizeChangesOfALoadedWindow) {
    FSlot dlg;
    dlg.SetInnerSize(1000, 1000);  // not loaded: no event
    dlg.Load();
    dlg.Show();
    dlg.Hide();
    dlg.Show();  // second show: no further resize
    dlg.Move(0, 0, 2000 + Form::kFrameWidth, 900 + Form::kFrameHeight);
    EXPECT_EQ(dlg.ScaleWidth(), 2000);
    EXPECT_EQ(dlg.ScaleHeight(), 900);
    dlg.SetInnerSize(2000, 900);  // same size: no event
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"load", "resize", "resize"}));
}

TEST_F(FormTest, ShowingAModalWindowTwiceIsRefused) {
    ScriptedOperator op;
    FSlot dlg;
    bool refused = false;
    op.Do("frmSlot", "show it again", [&](Form& f) {
        try {
            f.Show(ShowMode::Modal);
        } catch (const UiError&) {
            refused = true;
        }
        f.Hide();
    });
    dlg.Show(ShowMode::Modal);
    EXPECT_TRUE(refused);
}

}  // namespace
