#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::ScriptedOperator;
using Log = std::vector<std::string>;

// An options tree as the configuration view builds it.
class FOptions : public Form {
public:
    FOptions() : Form("frmOptions") {
        ilstCh.Add("tgs", LoadResPicture("TGS"));
        ilstCh.Add("chk:on", LoadResPicture("CHK_ON"));
        ilstCh.Add("chk:off", LoadResPicture("CHK_OFF"));
        tvwOptions.SetImageList(&ilstCh);
        auto& root = tvwOptions.Add("", "::TG", "Test Guide Settings", "tgs");
        root.SetBold(true);
        root.SetExpanded(true);
        tvwOptions.Add("::TG", "NA key", "Enable NA button", "chk:on");
        tvwOptions.Add("::TG", "Skip key", "Enable Skip button", "chk:off");
        tvwOptions.OnNodeClick = [this](TreeNode& n) { log.push_back("click " + n.Key()); };
        tvwOptions.OnCollapse = [this](TreeNode& n) {
            log.push_back("collapse " + n.Key());
            n.SetExpanded(true);  // the tree always stays open
        };
        tvwOptions.OnKeyDown = [this](int32_t& key, int32_t) { log.push_back("key " + std::to_string(key)); };
    }
    ImageList& ilstCh = Add<ImageList>("ilstCh");
    TreeView& tvwOptions = Add<TreeView>("tvwOptions");
    Log log;
};

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override { form_.Show(); }
    TreeView& tree() { return form_.tvwOptions; }
    plat::VirtualTimeScope time_;
    FOptions form_;
};

TEST_F(TreeTest, NodesKeepTheirParentsImagesAndOrder) {
    EXPECT_EQ(tree().Count(), 3);
    EXPECT_EQ(tree().Node("NA key").Parent(), &tree().Node("::TG"));
    EXPECT_EQ(tree().Node("::TG").Children().size(), 2u);
    EXPECT_EQ(tree().Node("Skip key").Image(), "chk:off");
    EXPECT_TRUE(tree().ImageListOf()->Exists(tree().Node("Skip key").Image()));
    EXPECT_THROW(tree().Add("", "NA key", "again"), UiError);
    EXPECT_THROW(tree().Add("nowhere", "x", "x"), UiError);
    EXPECT_THROW(tree().Add("", "", "x"), UiError);
    tree().Node("::TG").SetExpanded(false);
    EXPECT_EQ(tree().VisibleNodes().size(), 1u);
}

TEST_F(TreeTest, AClickRaisesNodeClickEvenOnTheSelectedNode) {
    ASSERT_TRUE(tree().ClickNode("NA key"));
    ASSERT_TRUE(tree().ClickNode("NA key"));
    EXPECT_EQ(form_.log, (Log{"click NA key", "click NA key"}));
    EXPECT_EQ(tree().SelectedItem(), &tree().Node("NA key"));
    EXPECT_TRUE(tree().HasFocus());
    EXPECT_FALSE(tree().ClickNode("missing"));
}

TEST_F(TreeTest, ArrowKeysMoveTheSelectionAndRaiseNodeClick) {
    tree().ClickNode("::TG");
    form_.log.clear();
    ASSERT_TRUE(tree().PressKey(vbKeyDown));
    ASSERT_TRUE(tree().PressKey(vbKeyDown));
    tree().PressKey(vbKeyDown);  // at the bottom: stays
    tree().PressKey(vbKeyUp);
    EXPECT_EQ(form_.log, (Log{"key 40", "click NA key", "key 40", "click Skip key", "key 40", "key 38", "click NA key"}));
}

TEST_F(TreeTest, NodeClickTellsAnArrowKeyFromAClick) {
    std::vector<bool> byKeyboard;
    tree().OnNodeClick = [&](TreeNode&) { byKeyboard.push_back(tree().NodeClickByKeyboard()); };
    tree().ClickNode("::TG");
    tree().PressKey(vbKeyDown);
    tree().PressKey(vbKeyDown);
    tree().ClickNode("NA key");  // right after arrow keys
    EXPECT_EQ(byKeyboard, (std::vector<bool>{false, true, true, false}));
    EXPECT_FALSE(tree().NodeClickByKeyboard());
}

TEST_F(TreeTest, AKeyHandlerThatZeroesTheCodeStopsTheMove) {
    tree().ClickNode("::TG");
    tree().OnKeyDown = [](int32_t& key, int32_t) { key = 0; };
    tree().PressKey(vbKeyDown);
    EXPECT_EQ(tree().SelectedItem()->Key(), "::TG");
}

TEST_F(TreeTest, ACollapseUndoneByTheHandlerKeepsTheTreeOpen) {
    ASSERT_TRUE(tree().ToggleNode("::TG"));
    EXPECT_TRUE(tree().Node("::TG").Expanded());
    EXPECT_EQ(form_.log, (Log{"collapse ::TG"}));
    EXPECT_FALSE(tree().ToggleNode("NA key"));  // no children: no plus or minus
    tree().ClickNode("::TG");
    tree().PressKey(vbKeyLeft);
    EXPECT_EQ(form_.log.back(), "collapse ::TG");
}

TEST_F(TreeTest, ACollapseHidingTheSelectionMovesItUp) {
    tree().OnCollapse = {};
    tree().ClickNode("Skip key");
    tree().ToggleNode("::TG");
    EXPECT_EQ(tree().SelectedItem(), &tree().Node("::TG"));
}

TEST_F(TreeTest, ADisabledTreeRefusesClicksAndKeys) {
    tree().SetEnabled(false);
    EXPECT_FALSE(tree().ClickNode("NA key"));
    EXPECT_FALSE(tree().PressKey(vbKeySpace));
    EXPECT_FALSE(tree().ToggleNode("::TG"));
    EXPECT_TRUE(form_.log.empty());
}

TEST_F(TreeTest, RemovingASubtreeClearsASelectionInIt) {
    tree().ClickNode("Skip key");
    tree().Remove("::TG");
    EXPECT_EQ(tree().Count(), 0);
    EXPECT_EQ(tree().SelectedItem(), nullptr);
    tree().PressKey(vbKeyDown);  // nothing to move to
}

TEST_F(TreeTest, TheOperatorClicksNodes) {
    tree().OnNodeClick = [this](TreeNode& n) {
        n.SetImage(n.Image() == "chk:on" ? "chk:off" : "chk:on");
        form_.Hide();
    };
    form_.Hide();
    ScriptedOperator op;
    op.ClickNode("frmOptions", "tvwOptions", "Skip key");
    form_.Show(ShowMode::Modal);
    EXPECT_EQ(tree().Node("Skip key").Image(), "chk:on");
}

// --- Toolbar ------------------------------------------------------------------------------------

class FMain : public Form {
public:
    FMain() : Form("frmMain") {
        tbrAction.Add("Add", "", ButtonStyle::Default, "add").SetToolTipText("Add new oximeter");
        tbrAction.Add("Delete").SetToolTipText("Delete this oximeter");
        tbrAction.Add("", "", ButtonStyle::Separator);
        tbrAction.Add("Hold", "Hold", ButtonStyle::Check);
        tbrAction.OnButtonClick = [this](ToolbarButton& b) {
            log.push_back(b.Key() + (b.Style() == ButtonStyle::Check ? (b.Value() ? " on" : " off") : ""));
        };
    }
    Toolbar& tbrAction = Add<Toolbar>("tbrAction");
    TextBox& txtName = Add<TextBox>("txtName");
    Log log;
};

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override { form_.Show(); }
    Toolbar& bar() { return form_.tbrAction; }
    plat::VirtualTimeScope time_;
    FMain form_;
};

TEST_F(ToolbarTest, ButtonsByOneBasedIndexAndByKey) {
    EXPECT_EQ(bar().Count(), 4);
    EXPECT_EQ(&bar().Button(2), &bar().Button("Delete"));
    EXPECT_EQ(bar().Button("Delete").Index(), 2);
    EXPECT_EQ(bar().Button(1).ToolTipText(), "Add new oximeter");
    EXPECT_THROW(bar().Button(0), UiError);
    EXPECT_THROW(bar().Button(5), UiError);
    EXPECT_THROW(bar().Button("Nope"), UiError);
    EXPECT_THROW(bar().Add("Add"), UiError);
}

TEST_F(ToolbarTest, AClickRaisesButtonClickWithoutTakingTheFocus) {
    ASSERT_TRUE(bar().ClickButton("Add"));
    ASSERT_TRUE(bar().ClickButton(2));
    EXPECT_EQ(form_.log, (Log{"Add", "Delete"}));
    EXPECT_TRUE(form_.txtName.HasFocus());
}

TEST_F(ToolbarTest, ACheckButtonTogglesItsValueBeforeTheEvent) {
    bar().ClickButton("Hold");
    bar().ClickButton("Hold");
    EXPECT_EQ(form_.log, (Log{"Hold on", "Hold off"}));
    bar().Button("Hold").SetValue(true);  // code: no event
    EXPECT_EQ(form_.log.size(), 2u);
}

TEST_F(ToolbarTest, DisabledButtonsSeparatorsAndADisabledBarRefuse) {
    bar().Button(2).SetEnabled(false);
    EXPECT_FALSE(bar().ClickButton(2));
    EXPECT_FALSE(bar().ClickButton(3));
    EXPECT_FALSE(bar().ClickButton(9));
    bar().Button(2).SetEnabled(true);
    bar().SetEnabled(false);
    EXPECT_FALSE(bar().ClickButton("Add"));
    EXPECT_TRUE(form_.log.empty());
}

TEST_F(ToolbarTest, TabReachesTheBarWhoseArrowsMoveTheHotButtonOverClickableOnes) {
    bar().Add("Hidden").SetVisible(false);
    bar().Add("Print");
    bar().Button("Delete").SetEnabled(false);
    ASSERT_TRUE(form_.PressTab());  // from the text box, around to the bar at its place
    ASSERT_TRUE(bar().HasFocus());
    EXPECT_EQ(bar().HotButton(), 1);
    std::vector<int32_t> hot;
    for (int32_t key : {vbKeyRight, vbKeyRight, vbKeyRight, vbKeyHome, vbKeyEnd, vbKeyLeft}) {
        bar().PressKey(key);
        hot.push_back(bar().HotButton());
    }
    EXPECT_EQ(hot, (std::vector<int32_t>{4, 6, 6, 1, 6, 4}));
    // Tab leaves the bar both ways; back on it, the hot button is the last one while it can be clicked.
    ASSERT_TRUE(form_.PressTab());
    EXPECT_TRUE(form_.txtName.HasFocus());
    ASSERT_TRUE(form_.PressTab(true));
    EXPECT_EQ(bar().HotButton(), 4);
    bar().Button("Hold").SetEnabled(false);
    EXPECT_EQ(bar().HotButton(), 1);
    EXPECT_TRUE(form_.log.empty());
}

TEST_F(ToolbarTest, SpaceAndEnterClickTheHotButtonWithTheClicksRefusals) {
    form_.PressTab();
    bar().PressKey(vbKeyRight);
    ASSERT_TRUE(bar().PressKey(vbKeySpace));
    ASSERT_TRUE(form_.PressEnter());
    bar().PressKey(vbKeyEnd);
    bar().PressKey(vbKeySpace);
    EXPECT_EQ(form_.log, (Log{"Delete", "Delete", "Hold on"}));
    EXPECT_TRUE(bar().HasFocus());
    bar().SetEnabled(false);
    EXPECT_FALSE(bar().PressKey(vbKeySpace));
    form_.PressEnter();
    EXPECT_EQ(form_.log.size(), 3u);
}

TEST_F(ToolbarTest, TheOperatorClicksButtons) {
    bar().OnButtonClick = [this](ToolbarButton& b) {
        form_.log.push_back(b.Key());
        if (b.Key() == "Delete") form_.Hide();
    };
    form_.Hide();
    ScriptedOperator op;
    op.ClickButton("frmMain", "tbrAction", "Add").ClickButton("frmMain", "tbrAction", 2);
    form_.Show(ShowMode::Modal);
    EXPECT_EQ(form_.log, (Log{"Add", "Delete"}));
}

}  // namespace
