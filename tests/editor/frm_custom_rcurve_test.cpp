// The main window: start, showing and picking makes, editing, change tracking, closing.
#include <gtest/gtest.h>

#include <fstream>

#include "host/host_application.h"
#include "tests/editor/editor_fixture.h"

namespace editor_test {
namespace {

using plat::ui::vbNo;
using plat::ui::vbOK;
using plat::ui::vbYes;

class MainWindowTest : public EditorTest {
protected:
    // Two makes on disk: "Alpha" (alpha.txt) and "Beta" (beta.txt).
    void TwoMakes() {
        WriteMake(SampleMake("Alpha", 1000, 1.5), "alpha.txt");
        WriteMake(SampleMake("Beta", 2000, 2.0), "beta.txt");
    }
};

TEST_F(MainWindowTest, StartWithoutMakesLeavesOnlyAddUsable) {
    auto& w = Open();
    EXPECT_EQ(w.Caption(), "Orvik Tamblin");
    EXPECT_EQ(Picker().ListCount(), 0);
    EXPECT_EQ(w.CurrentMake(), nullptr);
    EXPECT_FALSE(SaveButton().Enabled());
    EXPECT_FALSE(Ctl<plat::ui::CommandButton>("cmdUpload").Enabled());
    auto& bar = Ctl<plat::ui::Toolbar>("tbrmakeAction");
    EXPECT_TRUE(bar.Button("Add").Enabled());
    EXPECT_FALSE(bar.Button("Delete").Enabled());
    for (const char* name : {"txtRDC", "txtIRDC", "txtIRAC", "txtTLC"}) EXPECT_TRUE(Box(name).Locked()) << name;
    EXPECT_TRUE(Ctl<plat::ui::ComboBox>("cmbLightLevel").Locked());
    EXPECT_EQ(Grid().Rows(), 52);
    EXPECT_EQ(Grid().CellText(1, 0), "50");
    EXPECT_EQ(Grid().CellText(51, 0), "100");
    EXPECT_EQ(RValue(50), "");
    EXPECT_FALSE(Ctl<plat::ui::ProgressBar>("xtgUploading").Visible());

    // With no make shown, the grid takes no clicks.
    EXPECT_FALSE(Grid().Enabled());
}

TEST_F(MainWindowTest, StartShowsTheFirstMakeUnchanged) {
    TwoMakes();
    const std::size_t sessionsBefore = host::HostSession().Starts();
    auto& w = Open();
    EXPECT_TRUE(host::HostSession().Running());
    EXPECT_EQ(host::HostSession().Starts(), sessionsBefore + 1);
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(Picker().Text(), "Alpha");
    ASSERT_NE(w.CurrentMake(), nullptr);
    EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
    EXPECT_EQ(Box("txtRDC").Text(), "1000");
    EXPECT_EQ(Box("txtIRDC").Text(), "2000");
    EXPECT_EQ(Box("txtIRAC").Text(), "300");
    EXPECT_EQ(Box("txtTLC").Text(), "400");
    EXPECT_EQ(Box("txtRcurveFileName").Text(), "alpha.txt");
    EXPECT_EQ(RValue(50), "1.5");
    EXPECT_EQ(RValue(100), "1");
    EXPECT_EQ(Grid().CellText(0, 2), "R-Value");
    EXPECT_FALSE(SaveButton().Enabled());
    EXPECT_TRUE(Ctl<plat::ui::Toolbar>("tbrmakeAction").Button("Delete").Enabled());
    EXPECT_EQ(Ctl<plat::ui::Toolbar>("tbrmakeAction").Button("Add").ToolTipText(), "Add new oximeter");

    w.Unload();
    EXPECT_FALSE(host::HostSession().Running());
}

TEST_F(MainWindowTest, TextsComeInTheLanguageOfTheHostSetting) {
    TwoMakes();
    std::filesystem::create_directories(root_ + "/languages/German");
    std::ofstream(root_ + "/languages/German/Pelmo2.lng")
        << "21010=Orvik Tamblin DE\n21008=&Speichern\n21055=R-Wert\n20089=Mittel\n";
    auto key = std::make_shared<host::CRegistryKey>();
    key->Create(host::HKey::LocalMachine, host::HostResources().Text(host::CHostResources::LanguageKeyText));
    key->WriteValue("GUI", "German");

    Open();
    EXPECT_EQ(window_->Caption(), "Orvik Tamblin DE");
    EXPECT_EQ(SaveButton().Caption(), "&Speichern");
    EXPECT_EQ(Grid().CellText(0, 2), "R-Wert");
    EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").List(0), "Mittel");
    EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").List(1), "Low");  // missing from the table
}

TEST_F(MainWindowTest, ValueBoxesTakeDigitsOnlyAndSaveFollowsTheStoredValue) {
    TwoMakes();
    Open();
    ScriptedOperator op;
    op.Do("frmCustomRcurve", "clear RDC", [&](plat::ui::Form&) { Box("txtRDC").SetText(""); })
        .Type("frmCustomRcurve", "txtRDC", "1a-2.3,45")
        .Do("frmCustomRcurve", "check", [&](plat::ui::Form&) {
            EXPECT_EQ(Box("txtRDC").Text(), "1234");  // letters and signs dropped, no fifth digit
            EXPECT_TRUE(SaveButton().Enabled());
            Box("txtRDC").SetText("");
        })
        .Type("frmCustomRcurve", "txtRDC", "1000")
        .Do("frmCustomRcurve", "typed back", [&](plat::ui::Form&) {
            EXPECT_FALSE(SaveButton().Enabled());
            Box("txtIRAC").SetText("");
        })
        .Type("frmCustomRcurve", "txtIRAC", "0300")
        .Do("frmCustomRcurve", "leading zero", [&](plat::ui::Form&) { EXPECT_FALSE(SaveButton().Enabled()); })
        .Pick("frmCustomRcurve", "cmbLightLevel", 1)
        .Do("frmCustomRcurve", "light level", [&](plat::ui::Form&) { EXPECT_TRUE(SaveButton().Enabled()); })
        .Pick("frmCustomRcurve", "cmbLightLevel", 0)
        .Do("frmCustomRcurve", "light level back", [&](plat::ui::Form&) { EXPECT_FALSE(SaveButton().Enabled()); })
        // A paste changes the box without a key; a text of other than digits is no stored value.
        .EnterText("frmCustomRcurve", "txtIRAC", "300.")
        .Do("frmCustomRcurve", "pasted", [&](plat::ui::Form&) { EXPECT_TRUE(SaveButton().Enabled()); });
    Run(op);
}

TEST_F(MainWindowTest, KeysInAnRValueCellActAtTheCaretAndOnTheSelection) {
    using plat::ui::vbKeyDelete, plat::ui::vbKeyEnd, plat::ui::vbKeyHome, plat::ui::vbKeyLeft, plat::ui::vbKeyRight,
        plat::ui::vbShiftMask, plat::ui::vbCtrlMask;
    TwoMakes();
    Open();
    const char* w = "frmCustomRcurve";
    auto shows = [&](const std::string& text, int32_t selStart, int32_t selLength) {
        return [=, this](plat::ui::Form&) {
            EXPECT_EQ(Grid().EditText(), text);
            EXPECT_EQ(Grid().EditSelStart(), selStart);
            EXPECT_EQ(Grid().EditSelLength(), selLength);
        };
    };
    ScriptedOperator op;
    op.ClickCell(w, "tliRValue", 2, 2)
        .Do(w, "opened with its text selected", shows("1.49", 0, 4))
        .PressKey(w, "tliRValue", vbKeyRight)
        .Do(w, "Right ends the selection", shows("1.49", 4, 0))
        .PressKey(w, "tliRValue", vbKeyHome)
        .TypeInCell(w, "tliRValue", "0")
        .Do(w, "typed at the caret", shows("01.49", 1, 0))
        .PressKey(w, "tliRValue", vbKeyDelete)
        .Do(w, "Delete takes the character after the caret", shows("0.49", 1, 0))
        .PressKey(w, "tliRValue", vbKeyEnd)
        .PressKey(w, "tliRValue", vbKeyLeft, vbShiftMask)
        .PressKey(w, "tliRValue", vbKeyLeft, vbShiftMask)
        .Do(w, "Shift+Left selects", shows("0.49", 2, 2))
        .TypeInCell(w, "tliRValue", "\b")
        .Do(w, "Backspace removes the selection", shows("0.", 2, 0))
        .PressKey(w, "tliRValue", vbKeyLeft)
        .TypeInCell(w, "tliRValue", "3")
        .Do(w, "3.: out of range, refused", shows("0.", 1, 0))
        .TypeInCell(w, "tliRValue", "1")
        .Do(w, "Left moved the caret", shows("01.", 2, 0))
        .TypeInCell(w, "tliRValue", "\b\b")
        .PressKey(w, "tliRValue", vbKeyEnd)
        .TypeInCell(w, "tliRValue", "3\r")
        .Do(w, "committed", [&](plat::ui::Form&) { EXPECT_EQ(RValue(51), "0.3"); })
        .PressKey(w, "tliRValue", vbKeyRight)
        .PressKey(w, "tliRValue", 'A', vbCtrlMask)
        .TypeInCell(w, "tliRValue", "\b")
        .Do(w, "Ctrl+A then Backspace empties it", shows("", 0, 0))
        .TypeInCell(w, "tliRValue", "2\r")
        .Do(w, "the next one", [&](plat::ui::Form&) { EXPECT_EQ(RValue(52), "2"); });
    Run(op);
}

TEST_F(MainWindowTest, GridEditingNormalisesTheCommittedCellAndUpdatesSave) {
    TwoMakes();
    Open();
    ScriptedOperator op;
    // Header and SpO2 column open nothing.
    op.ClickCell("frmCustomRcurve", "tliRValue", 0, 2)
        .ClickCell("frmCustomRcurve", "tliRValue", 3, 0)
        .Do("frmCustomRcurve", "nothing open", [&](plat::ui::Form&) { EXPECT_FALSE(Grid().Editing()); })
        .ClickCell("frmCustomRcurve", "tliRValue", 1, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "1,5\r")
        .Do("frmCustomRcurve", "after Enter", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(50), "1.5");  // unchanged value: "1,5" is 1.5
            EXPECT_FALSE(SaveButton().Enabled());
            // The next row's editor is open and holds that cell's text untouched.
            EXPECT_TRUE(Grid().Editing());
            EXPECT_EQ(Grid().EditRow(), 2);
            EXPECT_EQ(Grid().EditText(), "1.49");
        })
        .TypeInCell("frmCustomRcurve", "tliRValue", "0.50")
        .Do("frmCustomRcurve", "still editing", [&](plat::ui::Form&) {
            EXPECT_EQ(Grid().EditText(), "0.50");
            EXPECT_TRUE(SaveButton().Enabled()) << "a value being typed is an edit";
        })
        // Committed by a click elsewhere, not by a key: Save follows all the same.
        .ClickCell("frmCustomRcurve", "tliRValue", 10, 0)
        .Do("frmCustomRcurve", "committed", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(51), "0.5");
            EXPECT_TRUE(SaveButton().Enabled());
        })
        .ClickCell("frmCustomRcurve", "tliRValue", 2, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "1.49\r")
        .Do("frmCustomRcurve", "typed back", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(51), "1.49");
            EXPECT_FALSE(SaveButton().Enabled());
        })
        // Out of range or a third decimal: the key that would make it is refused.
        .TypeInCell("frmCustomRcurve", "tliRValue", "2.51")
        .Do("frmCustomRcurve", "out of range", [&](plat::ui::Form&) { EXPECT_EQ(Grid().EditText(), "2.5"); })
        .PressKey("frmCustomRcurve", "tliRValue", 'A', plat::ui::vbCtrlMask)
        .TypeInCell("frmCustomRcurve", "tliRValue", "0.123")
        .Do("frmCustomRcurve", "three decimals", [&](plat::ui::Form&) { EXPECT_EQ(Grid().EditText(), "0.12"); })
        .Do("frmCustomRcurve", "select all", [&](plat::ui::Form&) { Grid().EnterEditText("."); })
        .TypeInCell("frmCustomRcurve", "tliRValue", "\r")
        .Do("frmCustomRcurve", "a lone point", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(52), "1.48");  // no number: the value from before
            Grid().EnterEditText("");
        })
        .TypeInCell("frmCustomRcurve", "tliRValue", "\r")
        .Do("frmCustomRcurve", "emptied", [&](plat::ui::Form&) {
            EXPECT_EQ(RValue(53), "");  // stays empty; the save checks refuse it
            EXPECT_TRUE(SaveButton().Enabled());
        })
        .TypeInCell("frmCustomRcurve", "tliRValue", "x\x1b")
        .Do("frmCustomRcurve", "escape", [&](plat::ui::Form&) {
            EXPECT_FALSE(Grid().Editing());
            EXPECT_EQ(RValue(54), "1.46");
        });
    Run(op);
}

TEST_F(MainWindowTest, ACommittedTextThatIsNoRValuePutsBackTheValueFromBefore) {
    TwoMakes();
    Open();
    ScriptedOperator op;
    int32_t n = 0;
    for (const char* pasted : {"abc", "1e3", "&H3E8", "-", ".", "1e-1", "\xEF\xBC\x91"}) {
        op.ClickCell("frmCustomRcurve", "tliRValue", 1, 2).EnterText("frmCustomRcurve", "tliRValue", pasted);
        // Committed by Enter, or by a click elsewhere.
        if (n++ % 2 == 0)
            op.TypeInCell("frmCustomRcurve", "tliRValue", "\r");
        else
            op.ClickCell("frmCustomRcurve", "tliRValue", 5, 0);
        op.Do("frmCustomRcurve", "put back", [&, pasted](plat::ui::Form&) {
            EXPECT_EQ(RValue(50), "1.5") << pasted;
            EXPECT_FALSE(SaveButton().Enabled()) << pasted;
        });
    }
    Run(op);
}

TEST_F(MainWindowTest, AnOpenCellEditEndsBeforeAddDeleteOrTheCloseBox) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    // Add: the value typed without Enter is an edit of the shown make, asked about first.
    op.ClickCell("frmCustomRcurve", "tliRValue", 1, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "0.7")
        .ClickButton("frmCustomRcurve", "tbrmakeAction", "Add")
        .Answer(vbNo, "Do you want to save them before adding new oximeter make?")
        .Click("frmCreateRcurve", "cmdClose")
        .Do("frmCustomRcurve", "alpha as stored", [&](plat::ui::Form&) {
            EXPECT_FALSE(Grid().Editing());
            EXPECT_EQ(RValue(50), "1.5");
        })
        // Delete: a value typed into Alpha never lands in Beta, shown next.
        .ClickCell("frmCustomRcurve", "tliRValue", 1, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "0.7")
        .ClickButton("frmCustomRcurve", "tbrmakeAction", "Delete")
        .Answer(vbYes, "Are you sure you want to delete this oximeter?")
        .Answer(vbOK, "successfully deleted")
        .ClickCell("frmCustomRcurve", "tliRValue", 5, 0)
        .Do("frmCustomRcurve", "beta as stored", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Beta");
            EXPECT_EQ(RValue(50), "2");
            EXPECT_FALSE(SaveButton().Enabled());
        })
        // The close box asks about a value typed without Enter.
        .ClickCell("frmCustomRcurve", "tliRValue", 1, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "0.7")
        .Close("frmCustomRcurve")
        .Answer(vbNo, "Some of the settings have been changed");
    Run(op);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ReadBack("beta.txt")->RCurve()->Item(1)->rvalue(), "2");
}

TEST_F(MainWindowTest, ChangeTrackingLooksOnlyAtPointsThatHaveACell) {
    TwoMakes();
    auto& w = Open();
    // A point outside SpO2 50..100 has no cell (SpO2 49 would be the header row).
    w.CurrentMake()->AddRValue(49, "2.25");
    w.CurrentMake()->AddRValue(101, "0.1");
    EXPECT_FALSE(w.IsSettingsGotChanged());
    Grid().SetCellText(1, 2, "1.50");
    EXPECT_FALSE(w.IsSettingsGotChanged());
    Grid().SetCellText(1, 2, "1.51");
    EXPECT_TRUE(w.IsSettingsGotChanged());
}

TEST_F(MainWindowTest, PickingAnotherMakeAsksAboutUnsavedEdits) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    // No edits: no question.
    op.Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Do("frmCustomRcurve", "beta", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Beta");
            EXPECT_EQ(Box("txtRDC").Text(), "2000");
            Box("txtTLC").SetText("");
        })
        .Type("frmCustomRcurve", "txtTLC", "41")
        // An edit, dropped with No.
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 0)
        .Answer(vbNo, "Some of the settings have been changed. Do you want to save the changes?")
        .Do("frmCustomRcurve", "alpha", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
            EXPECT_EQ(Box("txtTLC").Text(), "400");
            EXPECT_FALSE(SaveButton().Enabled());
            Box("txtTLC").SetText("");
        })
        // Invalid edits are asked about too; Yes meets the check, and Alpha stays with its edits.
        .Type("frmCustomRcurve", "txtTLC", "5000")
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbOK, "TLC value can not be greater than 4095.")
        .Do("frmCustomRcurve", "alpha kept", [&](plat::ui::Form&) {
            EXPECT_EQ(Picker().Text(), "Alpha");
            EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
            EXPECT_EQ(Box("txtTLC").Text(), "5000");
            EXPECT_TRUE(SaveButton().Enabled());
        });
    Run(op);
    EXPECT_EQ(ReadBack("beta.txt")->TLC(), 400);
}

TEST_F(MainWindowTest, PickingAfterAFailedSaveKeepsTheShownMakeWithoutAskingAgain) {
    TwoMakes();
    auto& w = Open();
    plat::fs::SetBeforeRenameHookForTests([] { return false; });
    ScriptedOperator op;
    op.Pick("frmCustomRcurve", "cmbLightLevel", 1)
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbYes, "overwrite")
        .Answer(vbOK, "An unknown error occurred");
    Run(op);
    EXPECT_EQ(op.Messages().size(), 3u);  // the selection was put back without a second question
    EXPECT_EQ(Picker().Text(), "Alpha");
    EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
    EXPECT_EQ(Ctl<plat::ui::ComboBox>("cmbLightLevel").ListIndex(), 1);
    EXPECT_TRUE(SaveButton().Enabled());
}

TEST_F(MainWindowTest, PickingWithAnInvalidEditAsksAndNoDropsIt) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.ClickCell("frmCustomRcurve", "tliRValue", 17, 2)
        .Do("frmCustomRcurve", "empty a cell", [&](plat::ui::Form&) { Grid().EnterEditText(""); })
        .TypeInCell("frmCustomRcurve", "tliRValue", "\x0d")
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Answer(vbNo, "Some of the settings have been changed")
        .Do("frmCustomRcurve", "beta", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Beta");
            EXPECT_EQ(RValue(66), "1.84");
        });
    Run(op);
}

TEST_F(MainWindowTest, EveryMakeIsShownFromItsFirstRow) {
    TwoMakes();
    WriteMake(SampleMake("Gamma", 3000, 1.8), "gamma.txt");
    auto& w = Open();
    using Place = std::pair<int32_t, int32_t>;  // current row, top row
    auto place = [this] { return Place{Grid().Row(), Grid().TopRow()}; };
    EXPECT_EQ(place(), (Place{1, 0}));
    ScriptedOperator op;
    // Scrolled to the end by a key and a row further up made current by a click.
    op.PressKey("frmCustomRcurve", "tliRValue", plat::ui::vbKeyEnd)
        .ClickCell("frmCustomRcurve", "tliRValue", 45, 2)
        .TypeInCell("frmCustomRcurve", "tliRValue", "\x1b")
        .Do("frmCustomRcurve", "scrolled", [&](plat::ui::Form&) { EXPECT_EQ(place(), (Place{45, 34})); })
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Do("frmCustomRcurve", "picked", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Beta");
            EXPECT_EQ(place(), (Place{1, 0}));
            EXPECT_EQ(Grid().Col(), 2);
        })
        // Deleting shows the first make left, from its first row too.
        .PressKey("frmCustomRcurve", "tliRValue", plat::ui::vbKeyPageDown)
        .PressKey("frmCustomRcurve", "tliRValue", plat::ui::vbKeyPageDown)
        .ClickButton("frmCustomRcurve", "tbrmakeAction", "Delete")
        .Answer(vbYes, "Are you sure you want to delete this oximeter?")
        .Answer(vbOK, "successfully deleted")
        .Do("frmCustomRcurve", "deleted", [&](plat::ui::Form&) {
            EXPECT_EQ(w.CurrentMake()->Name(), "Alpha");
            EXPECT_EQ(place(), (Place{1, 0}));
        });
    Run(op);
}

TEST_F(MainWindowTest, SaveUnderANewNameFromThePickerStillShowsThePickedMake) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Do("frmCustomRcurve", "clear", [&](plat::ui::Form&) { Box("txtRDC").SetText(""); })
        .Type("frmCustomRcurve", "txtRDC", "1111")
        .Pick("frmCustomRcurve", "cmbCustomRcurve", 1)
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbNo, "overwrite");
    AcceptNewName(op, "Gamma", "gamma");
    op.Answer(vbOK, "successfully saved");
    Run(op);
    EXPECT_EQ(PickerEntries(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(Picker().Text(), "Beta");
    EXPECT_EQ(w.CurrentMake()->Name(), "Beta");
    EXPECT_EQ(Box("txtRDC").Text(), "2000");
    EXPECT_FALSE(SaveButton().Enabled());
    EXPECT_EQ(ReadBack("gamma.txt")->RedDC(), 1111);
    EXPECT_EQ(ReadBack("alpha.txt")->RedDC(), 1000);
    EXPECT_EQ(w.Makes()->Item("Alpha")->RedDC(), 1000);
}

TEST_F(MainWindowTest, CloseWithoutEditsClosesAtOnce) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Click("frmCustomRcurve", "cmdClose");
    Run(op);
    EXPECT_FALSE(w.Loaded());
    EXPECT_TRUE(op.Messages().empty());
}

TEST_F(MainWindowTest, CloseWithEditsAsksAndNoClosesWithoutSaving) {
    TwoMakes();
    auto& w = Open();
    const std::string before = ReadFile("alpha.txt");
    ScriptedOperator op;
    op.Pick("frmCustomRcurve", "cmbLightLevel", 1)
        .Click("frmCustomRcurve", "cmdClose")
        .Answer(vbNo, "Some of the settings have been changed");
    Run(op);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ReadFile("alpha.txt"), before);
}

TEST_F(MainWindowTest, CloseYesRunsTheSaveChecksAndStaysOpenOnAFailure) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Do("frmCustomRcurve", "clear", [&](plat::ui::Form&) { Box("txtIRAC").SetText(""); })
        .Click("frmCustomRcurve", "cmdClose")
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbOK, "All oximeter parameters must be filled.");
    Run(op);
    EXPECT_TRUE(w.Loaded());
    EXPECT_TRUE(Box("txtIRAC").HasFocus());
    EXPECT_EQ(ReadBack("alpha.txt")->IRAC(), 300);
}

TEST_F(MainWindowTest, CloseYesWithADeclinedOrFailedSaveStaysOpen) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Pick("frmCustomRcurve", "cmbLightLevel", 1)
        .Click("frmCustomRcurve", "cmdClose")
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbNo, "overwrite");
    RefuseNewName(op);
    Run(op);
    EXPECT_TRUE(w.Loaded());

    plat::fs::SetBeforeRenameHookForTests([] { return false; });
    op.Click("frmCustomRcurve", "cmdClose")
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbYes, "overwrite")
        .Answer(vbOK, "An unknown error occurred while saving");
    Run(op);
    EXPECT_TRUE(w.Loaded());
    EXPECT_TRUE(SaveButton().Enabled());
    EXPECT_EQ(ReadBack("alpha.txt")->LightLevel(), 1);

    plat::fs::SetBeforeRenameHookForTests(nullptr);
    op.Click("frmCustomRcurve", "cmdClose")
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbYes, "overwrite")
        .Answer(vbOK, "successfully saved");
    Run(op);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ReadBack("alpha.txt")->LightLevel(), 2);
}

TEST_F(MainWindowTest, TheCloseBoxTakesTheCloseRoad) {
    TwoMakes();
    auto& w = Open();
    ScriptedOperator op;
    op.Do("frmCustomRcurve", "empty TLC", [&](plat::ui::Form&) { Box("txtTLC").SetText(""); })
        .Do("frmCustomRcurve", "close box", [](plat::ui::Form& form) { EXPECT_FALSE(form.UserClose()); })
        .Answer(vbYes, "Some of the settings have been changed")
        .Answer(vbOK, "All oximeter parameters must be filled.");
    Run(op);
    EXPECT_TRUE(w.Loaded());

    op.Close("frmCustomRcurve").Answer(vbNo, "Some of the settings have been changed");
    Run(op);
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(ReadBack("alpha.txt")->TLC(), 400);
}

}  // namespace
}  // namespace editor_test
