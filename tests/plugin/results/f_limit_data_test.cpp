// The limit dialog with the host's limit view, headless: the rows of each test
// type, the dialog's refusals, docking, and a limit edited in the view and
// saved with the test.
#include "plugin/results/f_limit_data.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "host/error_service.h"
#include "host/limit_standards.h"
#include "host/run_context.h"
#include "host/test_element_base.h"
#include "host/view/x_limit_view.h"
#include "host/xml.h"
#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/limit_dialog_maker.h"
#include "plugin/results/results_classes.h"
#include "plugin/shell/pelmo2_plugin.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/plugin/results/template_plug_in_test.h"
#include "tests/support/sandbox.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using host::XLimitView;
using plugin::CLimitData;
using plugin::FLimitData;
using results_test::FakeElement;

// The host's window the dialog's view is docked into.
class FHolder : public plat::ui::Form {
public:
    FHolder() : Form("frmLimits") { SetInnerSize(9000, 4500); }
};

// A view that has no page for the host.
class NoPage : public plat::ui::UserControl {};

// A view whose rows cannot be added.
class BrokenView : public XLimitView {
public:
    void AddRow(const std::string&, const std::string&, const std::string&, const std::string&) override {
        throw std::runtime_error("no rows");
    }
};

bool LimitFormLoaded() {
    for (plat::ui::Form* form : plat::ui::LoadedForms())
        if (form->Name() == "FLimitData") return true;
    return false;
}

class LimitDialogTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        host::ErrorService().SetEcho(false);
        host::ErrorService().ClearLog();
        plugin::RegisterResultsParts();
    }
    void TearDown() override {
        if (dialog_) dialog_->Unload();
        plugin::SetLimitDialogMaker(nullptr);
    }
    std::shared_ptr<CLimitData> LimitsOf(int32_t testId) {
        owner_ = std::make_shared<FakeElement>(testId);
        return results_test::GiveLimits(owner_);
    }
    // The dialog of the limits and its view.
    XLimitView& Open(const std::shared_ptr<CLimitData>& limits) {
        dialog_ = std::dynamic_pointer_cast<FLimitData>(limits->CreateDialog());
        if (!dialog_) throw std::runtime_error("no limit dialog");
        return *dialog_->View()->ObjectAs<XLimitView>();
    }
    // Counts the "Change" events the dialog raises to its host.
    void CountChanges(int32_t& changes) {
        dialog_->SetCallBack(std::make_shared<host::CCallBack>(
            [&changes](const std::string& name, const std::vector<plat::Variant>&) { changes += name == "Change"; }));
    }
    static plat::ui::Grid& Grid(XLimitView& view) { return *view.Controls().FindAs<plat::ui::Grid>("grdLimits"); }

    plat::VirtualTimeScope time_;
    std::shared_ptr<FakeElement> owner_;
    std::shared_ptr<FLimitData> dialog_;
};

TEST_F(LimitDialogTest, EachTestTypeOffersTheRowsOfItsMeasurements) {
    auto& pins = Open(LimitsOf(400));
    ASSERT_EQ(pins.RowCount(), 78);
    EXPECT_EQ(pins.RowKey(1), "PIN1_TO_PIN2");
    EXPECT_EQ(pins.RowKey(12), "PIN1_TO_PIN13");
    EXPECT_EQ(pins.RowKey(13), "PIN2_TO_PIN3");
    EXPECT_EQ(pins.RowKey(78), "PIN12_TO_PIN13");
    EXPECT_EQ(Grid(pins).CellText(78, XLimitView::kDescription), "Pin 12 to Pin 13");
    EXPECT_EQ(Grid(pins).CellText(1, XLimitView::kUnit), "KOhms");
    EXPECT_TRUE(pins.RowOperators(1).empty());
    dialog_->Unload();

    auto& photo = Open(LimitsOf(300));
    ASSERT_EQ(photo.RowCount(), 2);
    EXPECT_EQ(Grid(photo).CellText(2, XLimitView::kDescription), "Photodiode - IR");
    EXPECT_EQ(Grid(photo).CellText(1, XLimitView::kUnit), "");
    dialog_->Unload();

    auto& spo2 = Open(LimitsOf(100));
    ASSERT_EQ(spo2.RowCount(), 2);
    EXPECT_EQ(spo2.RowKey(2), "BPM");
    EXPECT_EQ(Grid(spo2).CellText(2, XLimitView::kUnit), "BPM");
    EXPECT_EQ(spo2.RowOperators(1), (std::vector<std::string>{"X+Y", "Y", "X+(X*Y%)"}));
    EXPECT_EQ(plugin::SpO2Operators(), "<op>X+Y;Y;X+(X*Y%)</op>");
    dialog_->Unload();

    auto group = LimitsOf(1);
    group->CreateStandard("Pelmo2", "Group");
    auto& none = Open(group);
    EXPECT_EQ(none.RowCount(), 0);
    ASSERT_NE(none.SelectedStandard(), nullptr) << "still initialised with the limits";
    EXPECT_EQ(none.SelectedStandard()->Text(), "Group");
}

TEST_F(LimitDialogTest, AViewWithoutAPageGivesNoDialogAndLeavesNoWindow) {
    auto limits = LimitsOf(100);
    plugin::SetLimitDialogMaker([](const std::shared_ptr<host::ILimitData>& l, int32_t testId) {
        return plugin::NewLimitDataDialog(l, testId, [] { return plat::ObjectPtr(std::make_shared<NoPage>()); });
    });
    EXPECT_EQ(limits->CreateDialog(), nullptr);
    EXPECT_FALSE(LimitFormLoaded());
    plugin::SetLimitDialogMaker([](const std::shared_ptr<host::ILimitData>& l, int32_t testId) {
        return plugin::NewLimitDataDialog(l, testId, [] { return plat::ObjectPtr(); });
    });
    EXPECT_EQ(limits->CreateDialog(), nullptr);
    EXPECT_FALSE(LimitFormLoaded());
    EXPECT_TRUE(host::ErrorService().Log().empty());
}

TEST_F(LimitDialogTest, AFailureWhileTheDialogIsBuiltUnloadsItsWindowAndIsReported) {
    auto limits = LimitsOf(200);
    plugin::SetLimitDialogMaker([](const std::shared_ptr<host::ILimitData>& l, int32_t testId) {
        return plugin::NewLimitDataDialog(l, testId, [] { return plat::ObjectPtr(std::make_shared<BrokenView>()); });
    });
    EXPECT_EQ(limits->CreateDialog(), nullptr);
    EXPECT_FALSE(LimitFormLoaded());
    ASSERT_EQ(host::ErrorService().Log().size(), 1u);
    EXPECT_EQ(host::ErrorService().Log()[0].reportLocation, "CLimitData");
}

TEST_F(LimitDialogTest, TheViewDocksIntoTheHostsWindowAndComesBackBeforeUnloading) {
    auto& view = Open(LimitsOf(100));
    FHolder holder;
    holder.Show();
    dialog_->UnDock();  // never docked: nothing happens
    EXPECT_FALSE(dialog_->IsDocked());
    EXPECT_EQ(view.DockParent(), nullptr);

    dialog_->Dock(holder.hWnd());
    EXPECT_TRUE(dialog_->IsDocked());
    EXPECT_EQ(view.DockParent(), &holder);
    dialog_->Move(120.4f, 240.6f, 8000, 4000);
    EXPECT_EQ(dialog_->View()->Top(), 241);
    EXPECT_EQ(dialog_->View()->Width(), 8000);
    dialog_->Hide();
    EXPECT_FALSE(view.Visible());
    dialog_->Show({});
    EXPECT_TRUE(view.Visible());
    dialog_->SetLocked(true);
    EXPECT_TRUE(dialog_->Locked());

    dialog_->Unload();
    EXPECT_FALSE(dialog_->IsDocked());
    EXPECT_EQ(view.DockParent(), nullptr) << "the view went back to the form first";
    EXPECT_FALSE(LimitFormLoaded());
    dialog_.reset();
}

TEST_F(LimitDialogTest, ALimitEditedInTheViewIsSavedWithTheTest) {
    auto limits = LimitsOf(100);
    auto& view = Open(limits);
    FHolder holder;
    holder.Show();
    dialog_->Dock(holder.hWnd());
    int32_t changes = 0;
    CountChanges(changes);

    // A new standard, with the default items of the test type.
    auto& name = *view.Controls().FindAs<plat::ui::TextBox>("txtNewStandard");
    ASSERT_TRUE(name.TypeText("Bench"));
    ASSERT_TRUE(view.Controls().FindAs<plat::ui::CommandButton>("cmdNewStandard")->Click());
    ASSERT_NE(view.SelectedStandard(), nullptr);
    EXPECT_EQ(view.SelectedStandard()->Text(), "Bench");
    EXPECT_EQ(changes, 1);

    auto& grid = Grid(view);
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpperOn), "No");
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpperOn));
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kLowerOn));
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpperOn), "Yes");
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditText("2,5\r"));
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kLower));
    ASSERT_TRUE(grid.TypeEditText("-3\r"));
    ASSERT_TRUE(grid.ClickCell(2, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditText("abc\r"));  // no number: the bound stays
    EXPECT_EQ(grid.CellText(2, XLimitView::kUpper), "0");
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "2.5");
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kExpression));
    ASSERT_TRUE(view.Controls().FindAs<plat::ui::ComboBox>("cboExpression")->PickText("X+(X*Y%)"));
    EXPECT_EQ(grid.CellText(1, XLimitView::kExpression), "X+(X*Y%)");
    EXPECT_EQ(changes, 6);

    // Locked, nothing edits.
    dialog_->SetLocked(true);
    ASSERT_TRUE(grid.ClickCell(2, XLimitView::kUpperOn));
    EXPECT_EQ(grid.CellText(2, XLimitView::kUpperOn), "No");
    EXPECT_FALSE(grid.Editing());

    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(owner_->Save(*doc, {}));
    auto reread = host::XmlFactory().NewDocument();
    reread->LoadXml(doc->Xml());
    auto loaded = LimitsOf(100);
    owner_->Load(*reread->DocumentElement(), nullptr);
    ASSERT_NE(loaded->Standards(), nullptr);
    auto standard = loaded->Standards()->Item(0, "Pelmo2", "Bench");
    ASSERT_NE(standard, nullptr);
    auto item = standard->LimitItems()->Item(1);
    EXPECT_EQ(item->Key(), "SpO2");
    EXPECT_TRUE(item->BoundEnabled(0));
    EXPECT_TRUE(item->BoundEnabled(1));
    EXPECT_FLOAT_EQ(item->BoundValue(0), 2.5f);
    EXPECT_FLOAT_EQ(item->BoundValue(1), -3.0f);
    EXPECT_EQ(item->Expression(0), "X+(X*Y%)");
    EXPECT_FALSE(standard->LimitItems()->Item(2)->BoundEnabled(0));
}

TEST_F(LimitDialogTest, ABoundKeepsOnlyANumberTypedAndShowsWhatTheItemHolds) {
    auto limits = LimitsOf(100);
    limits->CreateStandard("Pelmo2", "Bench");
    auto& view = Open(limits);
    FHolder holder;
    holder.Show();
    dialog_->Dock(holder.hWnd());
    int32_t changes = 0;
    CountChanges(changes);
    auto& grid = Grid(view);
    auto item = view.SelectedStandard()->LimitItems()->Item(1);
    for (const char* text : {"1e3", "&H3E8", "0x10", "-", ".", "2.5.1", "abc"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
        ASSERT_TRUE(grid.EnterEditText(text));
        ASSERT_TRUE(grid.TypeEditKey(13));
        EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "0");
        EXPECT_EQ(item->BoundValue(0), 0.0f);
    }
    for (const char* text : {"+5.", "-.5", " 0,1"}) {
        ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
        ASSERT_TRUE(grid.EnterEditText(text));
        ASSERT_TRUE(grid.TypeEditKey(13));
    }
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "0.1");
    EXPECT_EQ(item->BoundValue(0), 0.1f);
    // Leaving the cell as it was stores nothing.
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditKey(13));
    EXPECT_EQ(changes, 3);
}

// The host's frame: Close (also Esc) hides it.
class FClosingHolder : public FHolder {
public:
    FClosingHolder() {
        cmdClose.SetCancel(true);
        cmdClose.OnClick = [this] { Hide(); };
    }
    plat::ui::CommandButton& cmdClose = Add<plat::ui::CommandButton>("cmdClose");
};

TEST_F(LimitDialogTest, AnOpenEditEndsBeforeTheViewShowsAnotherStandardOrCloses) {
    auto limits = LimitsOf(100);
    auto first = limits->CreateStandard("Pelmo2", "First");
    auto second = limits->CreateStandard("Pelmo2", "Second");
    auto& view = Open(limits);
    FClosingHolder holder;
    holder.Show();
    dialog_->Dock(holder.hWnd());
    auto& grid = Grid(view);
    auto upper = [](const std::shared_ptr<host::ILimitStandard>& s) { return s->LimitItems()->Item(1)->BoundValue(0); };

    // Picking another standard keeps the value typed into the one shown.
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditText("5"));
    ASSERT_TRUE(view.Controls().FindAs<plat::ui::ComboBox>("cboStandard")->PickItem(1));
    EXPECT_EQ(upper(first), 5.0f);
    EXPECT_EQ(upper(second), 0.0f);
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "0");

    // Esc drops the typed text and leaves the frame open.
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditText("6"));
    ASSERT_TRUE(holder.PressEscape());
    EXPECT_TRUE(holder.Visible());
    EXPECT_EQ(upper(second), 0.0f);
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "0");

    // Close keeps the typed value, as leaving the cell does.
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kUpper));
    ASSERT_TRUE(grid.TypeEditText("7"));
    ASSERT_TRUE(holder.cmdClose.Click());
    EXPECT_EQ(upper(second), 7.0f);
    EXPECT_EQ(grid.CellText(1, XLimitView::kUpper), "7");

    // So does a window closed from the close box, which unloads the dialog.
    holder.Show();
    ASSERT_TRUE(grid.ClickCell(1, XLimitView::kLower));
    ASSERT_TRUE(grid.TypeEditText("-2"));
    ASSERT_TRUE(holder.UserClose());
    dialog_->Unload();
    EXPECT_EQ(second->LimitItems()->Item(1)->BoundValue(1), -2.0f);
    dialog_.reset();
}

TEST_F(LimitDialogTest, ARowWithoutAnItemInTheStandardTakesNoEdits) {
    auto limits = LimitsOf(100);
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize("Pelmo2", "Bare", 1);
    limits->CreateStandard("Pelmo2", "Full");
    limits->Standards()->Add(standard);
    auto& view = Open(limits);
    FHolder holder;
    holder.Show();
    dialog_->Dock(holder.hWnd());
    auto& standards = *view.Controls().FindAs<plat::ui::ComboBox>("cboStandard");
    ASSERT_EQ(standards.ListCount(), 2);
    ASSERT_TRUE(standards.PickItem(1));
    EXPECT_EQ(Grid(view).CellText(1, XLimitView::kUpper), "-");
    ASSERT_TRUE(Grid(view).ClickCell(1, XLimitView::kUpper));
    EXPECT_FALSE(Grid(view).Editing());
    EXPECT_FALSE(view.Controls().Item("cboExpression").Enabled());
}

}  // namespace

namespace {

// The plug-in's own SpO2 test from the shipped template, its limits edited in
// the limit view docked into the host's window.
class TemplateLimitDialogTest : public results_test::TemplatePlugInTest {
protected:
    void TearDown() override {
        plugin::SetLimitDialogMaker(nullptr);
        TemplatePlugInTest::TearDown();
    }
};

TEST_F(TemplateLimitDialogTest, ALimitEditedInTheHostsWindowComesBackWithTheLoadedTest) {
    auto test = plugIn_->CreateTest(100);
    ASSERT_TRUE(test);
    auto dialog = test->Limits()->CreateDialog();
    ASSERT_TRUE(dialog);
    FHolder window;
    window.Show();
    dialog->Dock(window.hWnd());
    dialog->Show({});
    auto* standards = dynamic_cast<plat::ui::ComboBox*>(
        plat::ui::test::ScriptedOperator::FindControl(window, "cboStandard"));
    auto* grid = dynamic_cast<plat::ui::Grid*>(plat::ui::test::ScriptedOperator::FindControl(window, "grdLimits"));
    ASSERT_NE(standards, nullptr);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(standards->Text(), "Oximeter accuracy");  // the template's standard, translated
    ASSERT_TRUE(grid->ClickCell(2, XLimitView::kUpper));  // BPM
    ASSERT_TRUE(grid->TypeEditText("7.5\r"));
    dialog->Unload();

    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(test->Save(*doc, {}));
    auto reread = host::XmlFactory().NewDocument();
    reread->LoadXml(doc->Xml());
    auto loaded = host::LoadTestElement(*reread->DocumentElement(), std::make_shared<host::CLoadContext>());
    ASSERT_TRUE(loaded);
    auto standard = loaded->Limits()->Standards()->Item(1);
    ASSERT_TRUE(standard);
    EXPECT_EQ(standard->LimitItems()->Item(2)->Key(), "BPM");
    EXPECT_FLOAT_EQ(standard->LimitItems()->Item(2)->BoundValue(0), 7.5f);
}

}  // namespace
