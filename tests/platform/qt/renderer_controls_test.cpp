// The grid, tree, toolbar, progress bar and HTML view in their widgets: what
// code sets shows, and a person's clicks, keys and edits reach the core's events.
#include <QtGui/QKeySequence>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QFrame>
#include <QtWidgets/QTreeWidget>

#include <chrono>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/qt/grid_view.h"
#include "platform/ui/keys.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace plat::ui;

class FCurve : public Form {
public:
    FCurve() : Form("frmCurve") {
        SetInnerSize(9000, 6000);
        grdValues.Move(120, 600, 6000, 4000);
        grdValues.SetRows(52);
        grdValues.SetCols(3);
        grdValues.SetColWidth(2, 1500);
        for (int r = 1; r < 52; ++r) grdValues.SetCellText(r, 0, std::to_string(r + 49));
        grdValues.OnGridCellClick = [this](GridCell& cell, int32_t button) {
            log.push_back("click " + std::to_string(cell.Row()) + "," + std::to_string(cell.Col()));
            if (button == 1 && cell.Row() >= 1 && cell.Col() == 2)
                grdValues.SetEditState(cell.Row(), cell.Col(), GridEditState::Start);
        };
        grdValues.OnGridCellEditingKeyPress = [this](GridCellEditor&, int32_t& key) {
            if (key == 'x') key = 0;  // swallowed
        };
        grdValues.OnGridCellEditingChange = [this](GridCellEditor& editor) { log.push_back("change " + editor.Text()); };
        grdValues.OnGridCellAfterEditing = [this](std::string& text, GridCell& cell) {
            log.push_back("after " + std::to_string(cell.Row()) + " " + text);
        };
        tbrMain.Move(0, 0, 9000, 500);
        tbrMain.Add("run", "Run");
        tbrMain.Add("", "", ButtonStyle::Separator);
        tbrMain.Add("hold", "Hold", ButtonStyle::Check).SetToolTipText("Hold the values");
        tbrMain.OnButtonClick = [this](ToolbarButton& b) {
            log.push_back("button " + b.Key() + (b.Value() ? " down" : ""));
        };
        tvwTests.Move(6300, 600, 2500, 2500);
        tvwTests.Add("", "spo2", "SpO2 test");
        tvwTests.Add("spo2", "spo2.1", "Point 1");
        tvwTests.Add("spo2", "spo2.2", "Point 2");
        tvwTests.Add("", "probe", "Probe test");
        tvwTests.OnNodeClick = [this](TreeNode& node) { log.push_back("node " + node.Key()); };
        tvwTests.OnExpand = [this](TreeNode& node) { log.push_back("expand " + node.Key()); };
        tvwTests.OnCollapse = [this](TreeNode& node) { log.push_back("collapse " + node.Key()); };
        prgBusy.Move(6300, 3300, 2500, 300);
    }
    Grid& grdValues = Add<Grid>("grdValues");
    Toolbar& tbrMain = Add<Toolbar>("tbrMain");
    TreeView& tvwTests = Add<TreeView>("tvwTests");
    ProgressBar& prgBusy = Add<ProgressBar>("prgBusy");
    std::vector<std::string> log;
};

class ControlsTest : public qt_test::RendererFixture {
protected:
    void SetUp() override {
        form.Show();
        Settle();
        form.log.clear();
    }
    QTableWidget* Table() { return Widget<QTableWidget>(form.grdValues); }
    void ClickCell(int row, int col) {
        QTableWidget* table = Table();
        table->scrollToItem(table->item(row, col));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(row, col)).center());
        Settle();
    }
    QLineEdit* Editor() { return Table()->viewport()->findChild<QLineEdit*>(); }
    FCurve form;
};

TEST_F(ControlsTest, GridCellsAndLooksShowAndOnlyChangedCellsAreWritten) {
    QTableWidget* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 52);
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnWidth(2), Px(1500));
    EXPECT_EQ(table->item(51, 0)->text(), "100");
    form.grdValues.SetCellText(3, 2, "1.25");
    form.grdValues.SetCellBackColor(3, 2, 0x00C0FFFF);
    form.grdValues.SetCellBold(3, 2, true);
    form.grdValues.SetCellAlignment(3, 2, 7);  // right, top
    Settle();
    QTableWidgetItem* cell = table->item(3, 2);
    EXPECT_EQ(cell->text(), "1.25");
    EXPECT_EQ(cell->background().color(), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_TRUE(cell->font().bold());
    EXPECT_EQ(cell->textAlignment(), int(Qt::AlignRight | Qt::AlignTop));
    // A widget-side change that the core did not make stays until that cell changes in the core.
    table->item(4, 2)->setText("stale");
    form.grdValues.SetCellText(5, 2, "2");
    Settle();
    EXPECT_EQ(table->item(4, 2)->text(), "stale");
    EXPECT_EQ(table->item(5, 2)->text(), "2");
}

TEST_F(ControlsTest, AGridEditInTheWidgetRunsTheEditEventsAndEnterCommitsOnce) {
    ClickCell(5, 2);
    ASSERT_TRUE(form.grdValues.Editing());
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isVisible());
    QTest::keyClicks(editor, "1x.5");
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_FALSE(form.grdValues.Editing());
    EXPECT_EQ(form.grdValues.CellText(5, 2), "1.5");
    EXPECT_EQ(Table()->item(5, 2)->text(), "1.5");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(form.log, (std::vector<std::string>{"click 5,2", "change 1", "change 1.", "change 1.5", "after 5 1.5"}));
}

TEST_F(ControlsTest, EscapeInTheGridEditorCancelsAndAClickElsewhereCommits) {
    ClickCell(6, 2);
    QTest::keyClicks(Editor(), "2");
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(form.grdValues.Editing());
    EXPECT_EQ(form.grdValues.CellText(6, 2), "");
    ClickCell(7, 2);
    QTest::keyClicks(Editor(), "9");
    ClickCell(8, 1);
    EXPECT_EQ(form.grdValues.CellText(7, 2), "9");
    EXPECT_EQ(form.log.back(), "click 8,1");
}

TEST_F(ControlsTest, ArrowKeysMoveTheGridsRowThroughTheCore) {
    form.grdValues.SetRow(3);
    form.grdValues.SetFocus();
    Settle();
    QTest::keyClick(Table(), Qt::Key_Down);
    Settle();
    EXPECT_EQ(form.grdValues.Row(), 4);
}

TEST_F(ControlsTest, TabShowsWhereTheFocusWent) {
    auto* tree = Widget<QTreeWidget>(form.tvwTests);
    QTableWidget* table = Table();
    auto* frame = table->findChild<QFrame*>("focusFrame");
    ASSERT_NE(frame, nullptr);
    form.tvwTests.SetFocus();
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), tree);
    EXPECT_FALSE(frame->isVisible());
    QTest::keyClick(tree, Qt::Key_Tab);
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), table);
    // The style draws focus frames only in a window whose focus moved by keyboard.
    EXPECT_TRUE(table->window()->testAttribute(Qt::WA_KeyboardFocusChange));
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->geometry(), table->rect());
    ClickCell(5, 2);  // the open editor shows the focus itself
    EXPECT_FALSE(frame->isVisible());
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(ControlsTest, AfterEscTheMovingKeysMoveTheHighlightAndTheFocusFrameTogether) {
    QTableWidget* table = Table();
    // The row drawn highlighted, the focus frame's cell, and whether that cell shows whole.
    auto seen = [&] {
        const QModelIndex current = table->currentIndex();
        const bool whole = table->viewport()->rect().contains(table->visualRect(current));
        return std::tuple{HighlightedRow(*table, 2), current.row(), current.column(), whole};
    };
    ClickCell(5, 2);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Settle();
    ASSERT_FALSE(form.grdValues.Editing());
    ASSERT_EQ(QApplication::focusWidget(), table);
    EXPECT_EQ(seen(), std::tuple(5, 5, 2, true));
    for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Up, Qt::Key_Left,
                        Qt::Key_Home, Qt::Key_Down, Qt::Key_Right}) {
        const int before = form.grdValues.Row();
        QTest::keyClick(table, key);
        Settle();
        const int row = form.grdValues.Row();
        EXPECT_EQ(seen(), std::tuple(row, row, 2, true)) << QKeySequence(key).toString().toStdString();
        if (key == Qt::Key_PageDown) {
            EXPECT_GT(row, before + 1);
        } else if (key == Qt::Key_End) {
            EXPECT_EQ(row, 51);
        } else if (key == Qt::Key_Home) {
            EXPECT_EQ(row, 1);
        }
    }
    // A typed character searches nothing, not even while it is held: "70" in the first column stays where it is.
    form.grdValues.ClickCell(5, 0);
    Settle();
    QTest::keyPress(table, Qt::Key_7);
    EXPECT_EQ(table->currentIndex().row(), 5);
    QTest::keyRelease(table, Qt::Key_7);
    Settle();
    EXPECT_EQ(table->currentIndex().row(), 5);
    EXPECT_EQ(form.grdValues.Row(), 5);
}

TEST_F(ControlsTest, TreeNodesShowAndClicksAndArrowsRaiseNodeClick) {
    auto* tree = Widget<QTreeWidget>(form.tvwTests);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), "SpO2 test");
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
    form.tvwTests.Node("spo2").SetExpanded(true);
    form.tvwTests.Node("probe").SetBold(true);
    Settle();
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_TRUE(tree->topLevelItem(1)->font(0).bold());
    EXPECT_TRUE(form.log.empty());  // code-side changes raise nothing

    QTreeWidgetItem* point1 = tree->topLevelItem(0)->child(0);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(point1).center());
    Settle();
    EXPECT_EQ(form.tvwTests.SelectedItem()->Key(), "spo2.1");
    QTest::keyClick(tree, Qt::Key_Down);
    Settle();
    EXPECT_EQ(form.tvwTests.SelectedItem()->Key(), "spo2.2");
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0)->child(1));
    EXPECT_EQ(form.log, (std::vector<std::string>{"node spo2.1", "node spo2.2"}));
}

TEST_F(ControlsTest, APersonExpandingOrCollapsingANodeRaisesTheCoresEventOnce) {
    auto* tree = Widget<QTreeWidget>(form.tvwTests);
    QTreeWidgetItem* spo2 = tree->topLevelItem(0);
    tree->expandItem(spo2);  // as the plus sign does
    Settle();
    EXPECT_TRUE(form.tvwTests.Node("spo2").Expanded());
    tree->collapseItem(spo2);
    Settle();
    EXPECT_FALSE(form.tvwTests.Node("spo2").Expanded());
    EXPECT_EQ(form.log, (std::vector<std::string>{"expand spo2", "collapse spo2"}));
}

TEST_F(ControlsTest, TheGridsTopRowFollowsCodeAndAPersonsScrolling) {
    form.grdValues.SetTopRow(20);
    Settle();
    EXPECT_EQ(Table()->verticalScrollBar()->value(), 20);
    Table()->verticalScrollBar()->setValue(30);  // a person scrolls
    Settle();
    EXPECT_EQ(form.grdValues.TopRow(), 30);
    EXPECT_TRUE(form.log.empty());
}

TEST_F(ControlsTest, AKeyDownHandlerThatZeroesAnArrowStopsTheTree) {
    form.tvwTests.OnKeyDown = [](int32_t& code, int32_t) {
        if (code == vbKeyDown) code = 0;
    };
    form.tvwTests.SetSelectedItem(form.tvwTests.Find("spo2"));
    form.tvwTests.SetFocus();
    Settle();
    QTest::keyClick(Widget(form.tvwTests), Qt::Key_Down);
    Settle();
    EXPECT_EQ(form.tvwTests.SelectedItem()->Key(), "spo2");
    EXPECT_EQ(Widget<QTreeWidget>(form.tvwTests)->currentItem()->text(0), "SpO2 test");
}

TEST_F(ControlsTest, ToolbarButtonsShowTheirStateAndClickThroughTheCore) {
    auto* bar = Widget<QToolBar>(form.tbrMain);
    ASSERT_NE(bar, nullptr);
    const auto actions = bar->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->toolTip(), "Hold the values");
    form.tbrMain.Button("run").SetEnabled(false);
    Settle();
    EXPECT_FALSE(actions[0]->isEnabled());
    QTest::mouseClick(bar->widgetForAction(actions[0]), Qt::LeftButton);
    form.tbrMain.Button("run").SetEnabled(true);
    Settle();
    QTest::mouseClick(bar->widgetForAction(actions[0]), Qt::LeftButton);
    QTest::mouseClick(bar->widgetForAction(actions[2]), Qt::LeftButton);
    Settle();
    EXPECT_TRUE(actions[2]->isChecked());
    EXPECT_EQ(form.log, (std::vector<std::string>{"button run", "button hold down"}));
    form.tbrMain.SetEnabled(false);  // the whole bar
    Settle();
    QTest::mouseClick(bar->widgetForAction(actions[0]), Qt::LeftButton);
    EXPECT_EQ(form.log.size(), 2u);
}

TEST_F(ControlsTest, ARunningProgressBarMovesNoFasterThanTenTimesASecond) {
    auto* bar = Widget<QProgressBar>(form.prgBusy);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->value(), 0);
    const auto start = std::chrono::steady_clock::now();
    form.prgBusy.SetRunning(true);
    ASSERT_TRUE(PumpUntil([&] { return form.prgBusy.Frame() >= 3; }));
    Settle();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    renderer.Flush();  // a frame may have come after the last sleep
    const int64_t frames = form.prgBusy.Frame();
    EXPECT_LE(frames, elapsed.count() / 100 + 1);
    EXPECT_EQ(bar->value(), frames % 21);
    form.prgBusy.SetRunning(false);
    Settle();
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(ControlsTest, AHelpViewShowsThePageItWasSentTo) {
    test_support::TempDir dir;
    const std::string page = dir.Write("help.html", "<html><body><h1>Probe test</h1></body></html>");
    RegisterHtmlView();
    auto extender = form.Controls().Add(kHtmlViewProgId, "webHelp");
    extender->Move(120, 4800, 6000, 1000);
    auto view = extender->ObjectAs<HtmlView>();
    view->Navigate(page);
    Settle();
    auto* browser = Widget<QTextBrowser>(*extender);
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("Probe test"));
    UnregisterHtmlView();
}

}  // namespace
