// The save-make dialog in both flavours, headless with the scripted operator,
// and the file-name rules it shares with the configuration.
#include "dialogs/f_save_make.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/loop/virtual_time_scope.h"
#include "dialogs/make_file_name.h"
#include "tests/makes/make_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using dialogs::FSaveMake;
using plat::ui::test::ScriptedOperator;

constexpr const char* kWindow = "FSaveMake";
constexpr const char* kNameInUse = "This Oximeter name is in use";
constexpr const char* kInvalidName = "Invalid oximeter name";
constexpr const char* kFileInUse = "This file name is in use";

makes::MakeListPtr Makes(const std::vector<std::pair<std::string, std::string>>& entries) {
    auto list = std::make_shared<makes::MakeList>();
    for (const auto& [name, file] : entries) {
        auto make = std::make_shared<makes::COximeterMake>();
        make->SetName(name);
        make->SetFile(file);
        EXPECT_TRUE(list->Add(make, name));
    }
    return list;
}

class SaveMakeTest : public makes_test::MakeFolderTest {
protected:
    // Opens the dialog; the editor's leaves both boxes empty whatever it is given.
    void Open(const makes::MakeListPtr& makes, const std::string& name = {}, const std::string& file = {}) {
#ifdef ORVIK_MAKES_PLUGIN
        dialog_->Initialize(makes, name, file);
#else
        dialog_->Initialize(makes, name);
        (void)file;
#endif
        dialog_->Show(plat::ui::ShowMode::Modal);
    }

    // Types the two boxes, presses OK and expects the refusal `text` with the focus in `focusBox`.
    void ExpectRefusal(const makes::MakeListPtr& makes, const std::string& name, const std::string& file,
                       const std::string& text, const std::string& focusBox) {
        SCOPED_TRACE(name + " / " + file);
        dialog_ = std::make_shared<FSaveMake>();
        ScriptedOperator op;
        op.Type(kWindow, "tbOximeter", name)
            .Type(kWindow, "tbOximeterFile", file)
            .Click(kWindow, "cmdAccept")
            .Answer(plat::ui::vbOK, text)
            .Do(kWindow, "check the focus",
                [&](plat::ui::Form& form) {
                    ASSERT_TRUE(form.ActiveControl());
                    EXPECT_EQ(form.ActiveControl()->Name(), focusBox);
                    EXPECT_TRUE(form.Visible());
                })
            .Click(kWindow, "cmdRefuse");
        Open(makes);
        ASSERT_EQ(op.Messages().size(), 1u);
        EXPECT_EQ(op.Messages()[0].title, "Save");
        EXPECT_EQ(op.Messages()[0].Icon(), plat::ui::vbCritical);
        EXPECT_EQ(dialog_->Response(), FSaveMake::kRefused);
        dialog_->Unload();
    }

    plat::VirtualTimeScope time_;
    std::shared_ptr<FSaveMake> dialog_ = std::make_shared<FSaveMake>();
};

TEST_F(SaveMakeTest, OKIsEnabledByANameAndAValidFileName) {
    ScriptedOperator op;
    auto okEnabled = [](plat::ui::Form& form) { return form.Controls().Item("cmdAccept").Enabled(); };
    op.Do(kWindow, "OK disabled at first", [&](plat::ui::Form& form) { EXPECT_FALSE(okEnabled(form)); })
        .Type(kWindow, "tbOximeter", "  ")
        .Do(kWindow, "no file yet", [&](plat::ui::Form& form) { EXPECT_FALSE(okEnabled(form)); })
        .Type(kWindow, "tbOximeterFile", ".TxT")
        .Do(kWindow, "only the extension", [&](plat::ui::Form& form) { EXPECT_FALSE(okEnabled(form)); })
        .EnterText(kWindow, "tbOximeterFile", "a:b")
        .Do(kWindow, "a colon", [&](plat::ui::Form& form) { EXPECT_FALSE(okEnabled(form)); })
        .EnterText(kWindow, "tbOximeterFile", "")
        .Type(kWindow, "tbOximeterFile", "a?b*c|d")
        .Do(kWindow, "typed invalid characters have no effect",
            [&](plat::ui::Form& form) {
                EXPECT_EQ(form.Controls().FindAs<plat::ui::TextBox>("tbOximeterFile")->Text(), "abcd");
                EXPECT_TRUE(okEnabled(form));  // a name of blanks counts as a name here ...
            })
        .Click(kWindow, "cmdAccept")
        .Answer(plat::ui::vbOK, kInvalidName)  // ... and is refused on OK
        .Type(kWindow, "tbOximeter", "0123456789")
        .Do(kWindow, "at most 9 characters typed",
            [&](plat::ui::Form& form) {
                EXPECT_EQ(form.Controls().FindAs<plat::ui::TextBox>("tbOximeter")->Text().size(), 9u);
            })
        .Close(kWindow);
    Open(Makes({}));
    EXPECT_EQ(dialog_->Response(), 0);  // the close box accepts nothing
}

TEST_F(SaveMakeTest, RefusesBuiltInDefaultAndUnusableNames) {
    const auto none = Makes({});
    ExpectRefusal(none, "nellcor", "x", kNameInUse, "tbOximeter");
    ExpectRefusal(none, "   ", "x", kInvalidName, "tbOximeter");
    for (const char* name : {"a[b", "a]b", "a:b", "a,b", "caf\xC3\xA9"})
        ExpectRefusal(none, name, "x", kInvalidName, "tbOximeter");
    ExpectRefusal(none, "Acme", ".hidden", kInvalidName, "tbOximeterFile");
}

TEST_F(SaveMakeTest, RefusesTakenNamesAndFilesInTheOrderOfTheList) {
    ExpectRefusal(Makes({{"Other", "Nellcor.txt"}}), "Acme", "nellcor.TXT", kFileInUse, "tbOximeterFile");
    const auto five = Makes({{"A", "a.txt"}, {"B", "b.txt"}, {"C", "c.txt"}, {"D", "d.txt"}, {"E", "e.txt"}});
    ExpectRefusal(five, "c", "e", kNameInUse, "tbOximeter");
    ExpectRefusal(five, "d", "B", kFileInUse, "tbOximeterFile");
    ExpectRefusal(five, "b", "b.txt", kNameInUse, "tbOximeter");
}

TEST_F(SaveMakeTest, RefusesAFileOfTheMakeFolderThatNoListedMakeOwns) {
    WriteFile("Orphan.TXT", "not a make");
    ExpectRefusal(Makes({{"A", "a.txt"}}), "New", "orphan", kFileInUse, "tbOximeterFile");
}

TEST_F(SaveMakeTest, OKGivesTheTrimmedNameAndTheFileWithItsExtension) {
    WriteFile("other.txt", "x");
    for (const auto& [typed, expected] : std::vector<std::pair<std::string, std::string>>{
             {"Abc", "Abc.txt"}, {"Abc.TXT", "Abc.TXT"}, {" Abc ", "Abc.txt"}}) {
        dialog_ = std::make_shared<FSaveMake>();
        ScriptedOperator op;
        op.Type(kWindow, "tbOximeter", " New ").Type(kWindow, "tbOximeterFile", typed).PressEnter(kWindow);
        Open(Makes({{"A", "a.txt"}}));
        EXPECT_EQ(dialog_->Response(), FSaveMake::kAccepted);
        EXPECT_EQ(dialog_->OximeterName(), "New");
        EXPECT_EQ(dialog_->Filename(), expected);
        EXPECT_FALSE(dialog_->Visible());
        dialog_->Unload();
    }
}

TEST_F(SaveMakeTest, ListsTheMakesAndWithoutThemOneEmptyRowThatTakesPart) {
    ScriptedOperator op;
    op.Do(kWindow, "check the list",
          [](plat::ui::Form& form) {
              auto* grid = form.Controls().FindAs<plat::ui::Grid>("tlstOximeters");
              ASSERT_EQ(grid->Rows(), 3);
              EXPECT_EQ(grid->CellText(0, 1), "Oximeter make name");
              EXPECT_EQ(grid->CellText(2, 1), "B");
              EXPECT_EQ(grid->CellText(2, 2), "b.txt");
          })
        .PressEscape(kWindow);
    Open(Makes({{"A", "a.txt"}, {"B", "b.txt"}}));
    EXPECT_EQ(dialog_->Response(), FSaveMake::kRefused);
    dialog_->Unload();

    dialog_ = std::make_shared<FSaveMake>();
    op.Do(kWindow, "one empty row",
          [](plat::ui::Form& form) {
              auto* grid = form.Controls().FindAs<plat::ui::Grid>("tlstOximeters");
              EXPECT_EQ(grid->Rows(), 2);
              EXPECT_EQ(grid->CellText(1, 1), "");
          })
        .Type(kWindow, "tbOximeter", "New")
        .Type(kWindow, "tbOximeterFile", "new")
        .Click(kWindow, "cmdAccept");
    Open(nullptr);
    EXPECT_EQ(dialog_->Response(), FSaveMake::kAccepted);
}

#ifdef ORVIK_MAKES_PLUGIN
TEST_F(SaveMakeTest, ThePlugInsPrefilledTextsAreCheckedAsTypedOnesAre) {
    ScriptedOperator op;
    op.Do(kWindow, "prefilled", [](plat::ui::Form& form) {
        EXPECT_TRUE(form.Controls().Item("cmdAccept").Enabled());
    });
    op.Click(kWindow, "cmdAccept").Answer(plat::ui::vbOK, kInvalidName).Click(kWindow, "cmdRefuse");
    Open(Makes({}), "<<custom OXIMETER>>", "carried.txt");

    for (const auto& [name, file, text, box] : std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"TenLetters", "x", kInvalidName, "tbOximeter"},
             {"a\x01b", "x", kInvalidName, "tbOximeter"},
             {"Acme", "bad\x01name", kInvalidName, "tbOximeterFile"},
             {"Acme", ".carried.txt", kInvalidName, "tbOximeterFile"},
             {"Acme", "a-very-long-file-name-carried", kFileInUse, "tbOximeterFile"}}) {
        if (text == kFileInUse) WriteFile("A-VERY-LONG-FILE-NAME-CARRIED.txt", "x");
        dialog_ = std::make_shared<FSaveMake>();
        ScriptedOperator check;
        check.Click(kWindow, "cmdAccept")
            .Answer(plat::ui::vbOK, text)
            .Do(kWindow, "focus", [&](plat::ui::Form& form) { EXPECT_EQ(form.ActiveControl()->Name(), box); })
            .Click(kWindow, "cmdRefuse");
        Open(Makes({}), name, file);
    }
}

TEST_F(SaveMakeTest, ServesTheConfigurationsSaveAsRoad) {
    std::shared_ptr<plugin::ISaveMakeDialog> dialog = std::make_shared<FSaveMake>();
    ScriptedOperator op;
    op.EnterText(kWindow, "tbOximeterFile", "mine").Click(kWindow, "cmdAccept");
    dialog->Initialize(Makes({{"Acme", "acme.txt"}}), "Carried", "");
    dialog->ShowModal();
    EXPECT_EQ(dialog->Response(), plugin::ISaveMakeDialog::kAccepted);
    EXPECT_EQ(dialog->OximeterName(), "Carried");
    EXPECT_EQ(dialog->Filename(), "mine.txt");
    dialog->Unload();
}
#endif

TEST(MakeFileNameTest, TheRulesOfAMakeFileName) {
    for (char c : std::string("/\\:*?\"<>|")) EXPECT_TRUE(dialogs::IsInvalidChar(c)) << c;
    for (char c : std::string("aZ0 .-_[],")) EXPECT_FALSE(dialogs::IsInvalidChar(c)) << c;

    for (const char* valid : {"a", " a.txt ", "make.TXT", ".hidden", "a\x01"}) EXPECT_TRUE(dialogs::IsValidFileName(valid)) << valid;
    for (const char* invalid : {"", "   ", ".txt", " .TxT ", "a/b", "a\\b", "c:", "a\"b", "x<y", "x>y", "x|y"})
        EXPECT_FALSE(dialogs::IsValidFileName(invalid)) << invalid;

    EXPECT_TRUE(dialogs::IsAcceptableMakeFileName("make.txt"));
    for (const char* refused : {".hidden.txt", "..", "a\x01.txt", "a\x7F.txt", "line\n.txt", "a/b.txt"})
        EXPECT_FALSE(dialogs::IsAcceptableMakeFileName(refused)) << refused;

    EXPECT_EQ(dialogs::WithMakeExtension("a"), "a.txt");
    EXPECT_EQ(dialogs::WithMakeExtension("a.Txt"), "a.Txt");
    EXPECT_EQ(dialogs::WithMakeExtension("a.txt.bak"), "a.txt.bak.txt");
    EXPECT_FALSE(dialogs::HasMakeExtension("txt"));
}

}  // namespace
