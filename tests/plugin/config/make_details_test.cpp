// The custom-make view and the make-details dialog that hosts it, headless
// with the scripted operator.
#include "plugin/config/f_make_details.h"

#include <gtest/gtest.h>

#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/config_classes.h"
#include "plugin/config/x_custom_make.h"
#include "tests/plugin/config/config_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using plugin::FMakeDetails;
using plugin::XCustomMake;
using plat::ui::test::ScriptedOperator;

makes::OximeterMakePtr NewMake(const std::string& name, int32_t lightLevel = 1) {
    auto make = std::make_shared<makes::COximeterMake>();
    make->SetName(name);
    make->SetFile(name + ".txt");
    make->SetRedDC(1100);
    make->SetIRDC(1200);
    make->SetIRAC(300);
    make->SetTLC(4000);
    make->SetLightLevel(lightLevel);
    make->SetRCurve(std::make_shared<makes::RCurveCollection>());
    return make;
}

makes::MakeListPtr ListOf(std::initializer_list<makes::OximeterMakePtr> list) {
    auto makeList = std::make_shared<makes::MakeList>();
    for (const auto& make : list) (void)makeList->Add(make, make->Name());
    return makeList;
}

class CustomMakeViewTest : public plugin_test::ConfigTest {
protected:
    static plat::ui::Grid& Grid(XCustomMake& x) { return *x.Controls().FindAs<plat::ui::Grid>("tliRValue"); }
    static plat::ui::ComboBox& List(XCustomMake& x) { return *x.Controls().FindAs<plat::ui::ComboBox>("cboMakeName"); }
    static std::string Box(XCustomMake& x, const char* name) {
        return x.Controls().FindAs<plat::ui::TextBox>(name)->Text();
    }
    static std::string RValue(XCustomMake& x, int32_t spo2) {
        return Grid(x).CellText(spo2 - XCustomMake::kFirstSpO2 + 1, XCustomMake::kValueCol);
    }
};

TEST_F(CustomMakeViewTest, BeforeAnyMakeTheGridListsTheSpO2StepsEmptyAndDisabled) {
    auto x = std::make_shared<XCustomMake>();
    auto& grid = Grid(*x);
    ASSERT_EQ(grid.Rows(), 52);
    EXPECT_EQ(grid.CellText(0, 0), "%");
    EXPECT_EQ(grid.CellText(0, 2), "Value");
    EXPECT_EQ(grid.CellText(1, 0), "50");
    EXPECT_EQ(grid.CellText(51, 0), "100");
    EXPECT_EQ(grid.RowHeight(1), 240);
    EXPECT_FALSE(grid.Enabled());
    EXPECT_EQ(x->Controls().Item("fraSettings").Caption(), "Oximeter Details");
    EXPECT_EQ(x->Controls().Item("lblR").Caption(), "R-curve file");

    x->Initialize(-10, nullptr, nullptr, 2);  // neither make nor list
    EXPECT_EQ(List(*x).ListCount(), 0);
    EXPECT_EQ(x->SelectedOximeterMakeName(), "");
    EXPECT_EQ(Box(*x, "txtRDC"), "");
    EXPECT_EQ(Box(*x, "txtFile"), "");
    EXPECT_FALSE(grid.Enabled());
    for (const char* box : {"txtRDC", "txtIRDC", "txtIRAC", "txtLightLevel", "txtTLC", "txtFile"})
        EXPECT_TRUE(x->Controls().FindAs<plat::ui::TextBox>(box)->Locked()) << box;
}

TEST_F(CustomMakeViewTest, ShowsTheMakesValuesAndOnlyTheCurvePointsItCanPlace) {
    auto make = NewMake("Acme");
    make->AddRValue(49, "0.1");   // below the grid
    make->AddRValue(50, "0.4");
    make->AddRValue(75, "1,25");  // either decimal sign
    make->AddRValue(75, "1.3");   // a later point for the same SpO2 wins
    make->AddRValue(101, "2.0");  // above the grid
    auto x = std::make_shared<XCustomMake>();
    x->Initialize(0, make, ListOf({make}), 2);
    EXPECT_EQ(Box(*x, "txtRDC"), "1100");
    EXPECT_EQ(Box(*x, "txtIRDC"), "1200");
    EXPECT_EQ(Box(*x, "txtIRAC"), "300");
    EXPECT_EQ(Box(*x, "txtTLC"), "4000");
    EXPECT_EQ(Box(*x, "txtFile"), "Acme.txt");
    EXPECT_EQ(Box(*x, "txtLightLevel"), "Medium");
    EXPECT_EQ(RValue(*x, 50), "0.4");
    EXPECT_EQ(RValue(*x, 75), "1.3");
    EXPECT_EQ(RValue(*x, 51), "");  // missing points stay empty
    EXPECT_EQ(RValue(*x, 100), "");
    EXPECT_TRUE(Grid(*x).Enabled());
    EXPECT_EQ(Grid(*x).EffectiveAlignment(0, XCustomMake::kValueCol),
              Grid(*x).EffectiveAlignment(1, XCustomMake::kValueCol));  // the header as its values
    EXPECT_EQ(x->ShownMake(), make);

    for (int32_t level : {2, 0, 7}) {
        auto other = NewMake("Low " + std::to_string(level), level);
        x->Initialize(0, other, ListOf({other}), 2);
        EXPECT_EQ(Box(*x, "txtLightLevel"), "Low") << level;
        EXPECT_EQ(RValue(*x, 50), "") << "the earlier curve is cleared";
    }
}

TEST_F(CustomMakeViewTest, TheListSelectsTheGivenMakeAndShowsEachPickWithoutChangingAnything) {
    auto first = NewMake("Acme");
    first->AddRValue(60, "0.6");
    auto second = NewMake("Velam 3100", 2);
    second->AddRValue(60, "0.9");
    auto makeList = ListOf({first, second});
    auto x = std::make_shared<XCustomMake>();
    x->Initialize(12, NewMake("velam 3100"), makeList, 2);  // the given make is another object
    ASSERT_EQ(List(*x).ListCount(), 2);
    EXPECT_EQ(List(*x).ListIndex(), 1);  // letter case ignored
    EXPECT_EQ(x->SelectedOximeterMakeName(), "Velam 3100");
    EXPECT_EQ(x->ShownMake()->Name(), "velam 3100");  // the given make is what shows

    ASSERT_TRUE(List(*x).PickItem(0));
    EXPECT_EQ(x->ShownMake(), first);
    EXPECT_EQ(RValue(*x, 60), "0.6");
    EXPECT_EQ(x->SelectedOximeterMakeName(), "Acme");
    ASSERT_TRUE(List(*x).PickItem(1));
    EXPECT_EQ(RValue(*x, 60), "0.9");
    EXPECT_EQ(Box(*x, "txtLightLevel"), "Low");
    EXPECT_EQ(makeList->Count(), 2);
    EXPECT_EQ(first->RCurve()->Count(), 1);
    EXPECT_EQ(second->Name(), "Velam 3100");

    auto stranger = NewMake("Stranger");
    x->Initialize(0, stranger, makeList, 2);
    EXPECT_EQ(List(*x).ListCount(), 2) << "a second Initialize lists the makes once";
    EXPECT_EQ(List(*x).ListIndex(), -1);
    EXPECT_EQ(x->ShownMake(), stranger);
    EXPECT_EQ(x->SelectedOximeterMakeName(), "");
}

TEST_F(CustomMakeViewTest, ModeThreeLocksTheList) {
    auto first = NewMake("Acme");
    auto second = NewMake("Oxi Two");
    auto x = std::make_shared<XCustomMake>();
    x->Initialize(0, second, ListOf({first, second}), XCustomMake::kModeLocked);
    EXPECT_FALSE(List(*x).PickItem(0));
    EXPECT_EQ(x->SelectedOximeterMakeName(), "Oxi Two");
    x->Initialize(0, second, ListOf({first, second}), 1);
    EXPECT_TRUE(List(*x).PickItem(0));
}

class MakeDetailsTest : public CustomMakeViewTest {
protected:
    void SetUp() override {
        CustomMakeViewTest::SetUp();
        plugin::RegisterConfigClasses();
    }
    void TearDown() override {
        for (const auto& served : plugin::ConfigClasses()) plat::UnregisterClass(served.progId);
    }
    plat::VirtualTimeScope time_;
    makes::OximeterMakePtr acme_ = NewMake("Acme");
    makes::OximeterMakePtr oxi_ = NewMake("Oxi Two");
    makes::MakeListPtr list_ = ListOf({acme_, oxi_});
};

TEST_F(MakeDetailsTest, CloseGivesTheNameTheListShows) {
    ScriptedOperator op;
    op.Do("FMakeDetails", "check the window",
          [](plat::ui::Form& form) {
              EXPECT_EQ(form.Caption(), "View Custom R-curve");
              EXPECT_EQ(form.Controls().Item("cmdClose").Caption(), "&Close");
              auto& view = form.Controls().Item(FMakeDetails::kViewName);
              EXPECT_EQ(view.Left(), 120);
              EXPECT_EQ(view.Top(), 120);
              EXPECT_EQ(view.Width(), 7095);
              EXPECT_EQ(view.Height(), 4695);
          })
        .Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1)
        .Click("FMakeDetails", "cmdClose");
    EXPECT_EQ(plugin::ChooseInMakeDetails(10, acme_, list_, 2), "Oxi Two");

    op.Click("FMakeDetails", "cmdClose");  // no change: the given make's entry
    EXPECT_EQ(plugin::ChooseInMakeDetails(10, acme_, list_, 1), "Acme");
}

TEST_F(MakeDetailsTest, TheCloseBoxAndEscAreNoChoice) {
    auto dialog = std::make_shared<FMakeDetails>();
    dialog->Load();
    dialog->Initialize(11, acme_, list_, 2);
    ScriptedOperator op;
    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).Close("FMakeDetails");
    dialog->Show(plat::ui::ShowMode::Modal);
    EXPECT_FALSE(dialog->Accepted());
    EXPECT_EQ(dialog->SelectedOximeterMakeName(), "");

    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).Close("FMakeDetails");
    EXPECT_EQ(plugin::ChooseInMakeDetails(11, acme_, list_, 2), std::nullopt);

    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).PressEscape("FMakeDetails");
    EXPECT_EQ(plugin::ChooseInMakeDetails(11, acme_, list_, 2), std::nullopt);
    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).PressEnter("FMakeDetails");
    EXPECT_EQ(plugin::ChooseInMakeDetails(11, acme_, list_, 2), "Oxi Two") << "Enter is the Close button";
}

TEST_F(MakeDetailsTest, ALockedListGivesBackTheGivenMakeOrNothing) {
    ScriptedOperator op;
    op.Do("FMakeDetails", "try another make",
          [](plat::ui::Form& form) {
              auto* list = dynamic_cast<plat::ui::ComboBox*>(ScriptedOperator::FindControl(form, "xcmCustomMake.cboMakeName"));
              ASSERT_NE(list, nullptr);
              EXPECT_FALSE(list->PickItem(0));
          })
        .Click("FMakeDetails", "cmdClose");
    EXPECT_EQ(plugin::ChooseInMakeDetails(11, oxi_, list_, 3), "Oxi Two");

    op.Click("FMakeDetails", "cmdClose");  // a make the list does not hold
    EXPECT_EQ(plugin::ChooseInMakeDetails(11, NewMake("Gone"), list_, 3), std::nullopt);
}

TEST_F(MakeDetailsTest, WithoutTheViewCloseGivesNoName) {
    plat::UnregisterClass("OrvikPelmo2.XCustomMake");
    auto dialog = std::make_shared<FMakeDetails>();
    dialog->Load();
    dialog->Initialize(10, acme_, list_, 2);
    EXPECT_EQ(dialog->View(), nullptr);
    ScriptedOperator op;
    op.Click("FMakeDetails", "cmdClose");
    dialog->Show(plat::ui::ShowMode::Modal);
    EXPECT_TRUE(dialog->Accepted());
    EXPECT_EQ(dialog->SelectedOximeterMakeName(), "");
    dialog->Unload();
}

}  // namespace
