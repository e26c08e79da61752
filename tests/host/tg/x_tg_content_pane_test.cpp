// The host's test-guide content pane: pages docked into it, shown one at a
// time beside the help control, undocked again on release.

#include <gtest/gtest.h>

#include "host/tg/x_tg_content_pane.h"
#include "platform/ui/form.h"

namespace {

using host::CContentPaneItem;
using host::XTgContentPane;
namespace ui = plat::ui;

class Page : public ui::UserControl {};

class FWindow : public ui::Form {
public:
    FWindow() : Form("frmWindow") {
        SetInnerSize(9000, 6000);
        pane = std::make_shared<XTgContentPane>();
        AddObject("xcpContents", pane).Move(0, 0, 9000, 5000);
        pane->Arrange(9000, 5000);
        grid = AddPage("grid");
        help = AddPage("help");
        mti = AddPage("mti");
    }
    std::shared_ptr<ui::ObjectControl> AddPage(const std::string& name) {
        AddObject(name, std::make_shared<Page>());
        return std::dynamic_pointer_cast<ui::ObjectControl>(Controls().Shared(name));
    }
    std::shared_ptr<XTgContentPane> pane;
    std::shared_ptr<ui::ObjectControl> grid, help, mti;
};

std::shared_ptr<CContentPaneItem> Item(const std::string& caption) {
    auto item = std::make_shared<CContentPaneItem>();
    item->SetCaption(caption);
    return item;
}

ui::UserControl* PageOf(const std::shared_ptr<ui::ObjectControl>& c) { return c->ObjectAs<ui::UserControl>().get(); }

TEST(ContentPane, PagesAreDockedAndShownOneAtATimeBesideTheHelp) {
    auto window = std::make_shared<FWindow>();
    auto& pane = *window->pane;
    pane.SetMainControl(window->grid);
    pane.SetHelpControl(window->help);
    EXPECT_EQ(pane.AddPane(Item("MTI Data"), window->mti), 1);
    EXPECT_EQ(PageOf(window->grid)->DockParent(), &pane);
    EXPECT_EQ(PageOf(window->mti)->DockParent(), &pane);

    EXPECT_TRUE(window->grid->Visible());
    EXPECT_FALSE(window->mti->Visible());
    EXPECT_TRUE(window->help->Visible());
    pane.SelectPane(1);
    EXPECT_FALSE(window->grid->Visible());
    EXPECT_TRUE(window->mti->Visible());
    EXPECT_TRUE(window->help->Visible());
    pane.SelectPane(7);  // no such page
    EXPECT_EQ(pane.SelectedPane(), 1);

    // The page and the help share the width below the selector.
    EXPECT_GE(window->mti->Top(), XTgContentPane::kSelectorHeight);
    EXPECT_LE(window->mti->Left() + window->mti->Width(), window->help->Left());
    EXPECT_LE(window->help->Left() + window->help->Width(), 9000);
}

TEST(ContentPane, WithoutHelpThePageTakesTheWholeWidth) {
    auto window = std::make_shared<FWindow>();
    window->pane->SetMainControl(window->grid);
    EXPECT_EQ(window->grid->Width(), 9000);
    window->Controls().Item("xcpContents").Move(0, 0, 6000, 3000);  // the pane follows its size
    EXPECT_EQ(window->grid->Width(), 6000);
    EXPECT_EQ(window->grid->Top() + window->grid->Height(), 3000);
}

TEST(ContentPane, APersonPicksAPageInTheSelector) {
    auto window = std::make_shared<FWindow>();
    auto& pane = *window->pane;
    pane.SetMainControl(window->grid);
    pane.AddPane(Item("MTI Data"), window->mti);
    window->Show();
    EXPECT_TRUE(pane.PickPane(1));
    EXPECT_EQ(pane.SelectedPane(), 1);
    EXPECT_TRUE(pane.PickPane(1));  // the shown page stays
    EXPECT_EQ(pane.SelectedPane(), 1);
    EXPECT_TRUE(pane.PickPane(0));
    EXPECT_TRUE(window->grid->Visible());
    EXPECT_FALSE(pane.PickPane(2));
    window->Unload();
}

TEST(ContentPane, ReleaseUndocksAndClearForgetsThePages) {
    auto window = std::make_shared<FWindow>();
    auto& pane = *window->pane;
    pane.SetWindow(*window);
    pane.SetMainControl(window->grid);
    pane.AddPane(Item("One"), window->mti);
    FWindow other;
    pane.Release(other);  // not its window
    EXPECT_EQ(PageOf(window->grid)->DockParent(), &pane);
    pane.Release(*window);
    EXPECT_EQ(PageOf(window->grid)->DockParent(), nullptr);
    EXPECT_EQ(PageOf(window->mti)->DockParent(), nullptr);
    EXPECT_EQ(pane.Window(), nullptr);
    pane.Clear();
    EXPECT_EQ(pane.PaneCount(), 0);
    EXPECT_EQ(pane.MainControl(), nullptr);
    EXPECT_EQ(pane.AddPane(Item("Again"), window->mti), 1);  // pages can be added again
    EXPECT_EQ(pane.PaneItem(1)->Caption(), "Again");
}

TEST(ContentPane, APageWhoseControlWasRemovedIsPassedOver) {
    plat::RegisterClass("Test.Page", [] { return std::make_shared<Page>(); });
    auto window = std::make_shared<FWindow>();
    auto& pane = *window->pane;
    pane.SetWindow(*window);
    pane.AddPane(Item("Run time"), window->Controls().Add("Test.Page", "runTime"));
    window->Controls().Remove("runTime");
    pane.SelectPane(1);
    pane.Arrange(5000, 3000);
    pane.Release(*window);
    EXPECT_EQ(pane.SelectedPane(), 1);
    plat::UnregisterClass("Test.Page");
}

}  // namespace
