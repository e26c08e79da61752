// The upload-slot dialog and its helper, headless with the scripted operator.
#include "dialogs/frm_upload_location.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "platform/loop/virtual_time_scope.h"
#include "tests/support/sandbox.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using dialogs::AskUploadSlot;
using dialogs::frmUploadLocation;
using plat::ui::test::ScriptedOperator;

class UploadLocationTest : public test_support::SandboxTest {
protected:
    plat::VirtualTimeScope time_;
};

// What the dialog offers, read while it is shown.
std::vector<std::string> Entries(plat::ui::Form& form) {
    auto* list = form.Controls().FindAs<plat::ui::ComboBox>("ComUploadLocation");
    std::vector<std::string> entries;
    for (int32_t i = 0; i < list->ListCount(); ++i) entries.push_back(list->List(i));
    return entries;
}

TEST_F(UploadLocationTest, LightLevelOneOffersTheFirstFourSlots) {
    ScriptedOperator op;
    op.Do("frmUploadLocation", "check the list",
          [](plat::ui::Form& form) {
              EXPECT_EQ(form.Caption(), "Location");
              EXPECT_EQ(Entries(form), (std::vector<std::string>{"Custom #1", "Custom #2", "Custom #3", "Custom #4"}));
              EXPECT_EQ(form.Controls().FindAs<plat::ui::ComboBox>("ComUploadLocation")->ListIndex(), 0);
          })
        .Pick("frmUploadLocation", "ComUploadLocation", 2)
        .Click("frmUploadLocation", "cmdOK");
    EXPECT_EQ(AskUploadSlot(1), 2);

    op.Click("frmUploadLocation", "cmdOK");
    EXPECT_EQ(AskUploadSlot(1), 0);  // OK without touching the list
}

TEST_F(UploadLocationTest, AnyOtherLightLevelOffersTheLastTwoSlots) {
    for (int32_t level : {2, 0, 3, -1}) {
        ScriptedOperator op;
        op.Do("frmUploadLocation", "check the list",
              [](plat::ui::Form& form) {
                  EXPECT_EQ(Entries(form), (std::vector<std::string>{"Custom #5", "Custom #6"}));
              })
            .Pick("frmUploadLocation", "ComUploadLocation", 1)
            .Click("frmUploadLocation", "cmdOK");
        EXPECT_EQ(AskUploadSlot(level), 5) << "light level " << level;
        op.PressEnter("frmUploadLocation");
        makes::COximeterMake make;
        make.SetLightLevel(level);
        EXPECT_EQ(AskUploadSlot(make), 4) << "light level " << level;
    }
}

TEST_F(UploadLocationTest, EverythingButOKIsCancel) {
    ScriptedOperator op;
    op.Pick("frmUploadLocation", "ComUploadLocation", 1).Click("frmUploadLocation", "cmdCancel");
    EXPECT_EQ(AskUploadSlot(1), std::nullopt);
    op.PressEscape("frmUploadLocation");
    EXPECT_EQ(AskUploadSlot(2), std::nullopt);
    // The close box is no choice of a slot either.
    op.Pick("frmUploadLocation", "ComUploadLocation", 3).Close("frmUploadLocation");
    EXPECT_EQ(AskUploadSlot(1), std::nullopt);

    frmUploadLocation dialog;
    dialog.SetLightLevel(1);
    op.Close("frmUploadLocation");
    dialog.Show(plat::ui::ShowMode::Modal);
    EXPECT_TRUE(dialog.CancelClicked());
}

TEST_F(UploadLocationTest, TextsComeFromTheLanguageTable) {
    std::filesystem::create_directories(root_ + "/languages/English");
    std::ofstream(root_ + "/languages/English/Pelmo2.lng") << "21000=Slot \n22002=Where to\n22006=&Send\n";
    host::LanguageService().Reload();
    ScriptedOperator op;
    op.Do("frmUploadLocation", "check the texts", [](plat::ui::Form& form) {
        EXPECT_EQ(form.Caption(), "Where to");
        EXPECT_EQ(form.Controls().Item("cmdOK").Caption(), "&Send");
        EXPECT_EQ(form.Controls().Item("cmdCancel").Caption(), "&Cancel");
        EXPECT_EQ(Entries(form), (std::vector<std::string>{"Slot 5", "Slot 6"}));
    });
    op.Click("frmUploadLocation", "cmdOK");
    EXPECT_EQ(AskUploadSlot(2), 4);
}

TEST_F(UploadLocationTest, OnlyThePlugInsDialogCarriesTheHelpLabels) {
    frmUploadLocation dialog;
    dialog.Load();
    const bool hasHelp = dialog.Controls().Exists("lblHelpOK") && dialog.Controls().Exists("lblHelpCancel");
#ifdef ORVIK_MAKES_PLUGIN
    EXPECT_TRUE(hasHelp);
    EXPECT_EQ(dialog.Controls().Item("lblHelpCancel").Caption(), "Click Cancel - To cancel the test.");
#else
    EXPECT_FALSE(hasHelp);
    EXPECT_FALSE(dialog.Controls().Exists("lblHelpOK"));
#endif
    dialog.Unload();
}

}  // namespace
