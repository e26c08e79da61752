// The test-guide window on screen (offscreen Qt): the host's toolbar and
// content pane as widgets, a person's clicks and typing reaching the window,
// the identity pane inside the window, and a picture of it.

#include <gtest/gtest.h>

#include <QtGui/QAction>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFrame>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolBar>

#include "host/language_service.h"
#include "host/run_context.h"
#include "platform/com/registry.h"
#include "platform/ui/toolbar.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/mti_data.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_html_help.h"
#include "plugin/shell/f_test_guide.h"
#include "plugin/shell/identity_pane_flag.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/plugin/guide/guide_fixture.h"
#include "tests/support/fake_test_element.h"
#include "tests/support/temp_dir.h"

namespace {

using plugin::FTestGuide;

class GuideRenderTest : public qt_test::RendererFixture {
protected:
    GuideRenderTest() {
        plat::Registry::UseFile(dir.Path() + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(dir.Path() + "/languages");
        host::LanguageService().Reload();
        plugin::SetIdentityPaneShown(false);
        plugin::RegisterResultsClasses();  // the real results grid and help viewer
        plugin::XHtmlHelp::SetLibraryFolderForTests(ORVIK_TEST_BIN_DIR "/");
        guide = std::make_shared<FTestGuide>();
        guide->Load();
        auto probe = std::make_shared<test_support::FakeElement>();
        probe->testId = 200;
        auto setup = std::make_shared<host::CTestSetup>();
        setup->SetLimitStandards(test_support::MakeStandards({{"ISO", "a"}, {"Pelmo2", "Oximeter accuracy"}}));
        guide->InitGuide(probe, setup, std::make_shared<plugin::CMtiData2>());
        guide->OnStartTest = [this] { events.push_back("StartTest"); };
        guide->OnSkip = [this] { events.push_back("Skip"); };
        guide->Show();
        Settle();
    }
    ~GuideRenderTest() override {
        guide->Unload();
        guide.reset();
        for (const auto& served : plugin::ResultsClasses()) plat::UnregisterClass(served.progId);
        plugin::XHtmlHelp::SetLibraryFolderForTests("");
        plugin::ResetIdentityPaneFlagForTests();
    }
    QAction* Action(const QString& text) {
        auto* bar = Widget<QToolBar>(guide->Toolbar().Controls().Item("tbrButtons"));
        if (!bar) return nullptr;
        for (QAction* action : bar->actions())
            if (action->text() == text) return action;
        return nullptr;
    }
    void ClickAction(const QString& text) {
        QAction* action = Action(text);
        ASSERT_NE(action, nullptr) << text.toStdString();
        auto* bar = Widget<QToolBar>(guide->Toolbar().Controls().Item("tbrButtons"));
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
        Settle();
    }

    // The SpO2 test's guide after Start, the set-up done and the results page picked: its SpO2 cell is open.
    void ShowSpO2GuideAfterTheSetUp() {
        guide->Unload();
        auto spo2 = std::make_shared<test_support::FakeElement>();  // the SpO2 simulation test
        spo2->config = std::make_shared<plugin::CSpO2SimulationConfig>();
        guide = std::make_shared<FTestGuide>();
        guide->Load();
        plugin::SetIdentityPaneShown(false);  // the first run: the identity pane shows first
        guide->InitGuide(spo2, std::make_shared<host::CTestSetup>(), std::make_shared<plugin::CMtiData2>());
        guide->OnStartTest = [this] {
            events.push_back("StartTest");
            guide->CompleteRun();  // the instrument is set: the operator reads the oximeter
        };
        guide->OnTestResultsChanged = [this](const std::string& s, const std::string& b) {
            events.push_back(s + "," + b);
        };
        guide->Show();
        Settle();
        ClickAction("Start");
        auto* pages = Widget<QToolBar>(guide->ContentPane().Controls().Item("tbrPages"));
        ASSERT_NE(pages, nullptr);
        ASSERT_FALSE(pages->actions().empty());
        QTest::mouseClick(pages->widgetForAction(pages->actions().front()), Qt::LeftButton);
        Settle();
        table = renderer.WindowOf(*guide)->findChild<QTableWidget*>();
        ASSERT_NE(table, nullptr);
        editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(editor->isVisible());
        events.clear();
    }

    test_support::TempDir dir;
    std::shared_ptr<FTestGuide> guide;
    std::vector<std::string> events;
    QTableWidget* table = nullptr;
    QLineEdit* editor = nullptr;
};

TEST_F(GuideRenderTest, ToolbarClicksReachTheWindowAndFollowItsButtonStates) {
    ASSERT_NE(Action("Start"), nullptr);
    EXPECT_FALSE(Action("Abort")->isEnabled());
    EXPECT_FALSE(Action("Expected values")->isEnabled());  // a probe test
    ClickAction("Start");
    EXPECT_FALSE(Action("Skip")->isEnabled());
    ClickAction("Skip");  // refused while running
    guide->EndRun();
    Settle();
    EXPECT_TRUE(Action("Skip")->isEnabled());
    ClickAction("Skip");
    EXPECT_EQ(events, (std::vector<std::string>{"StartTest", "Skip"}));
}

TEST_F(GuideRenderTest, TheWindowShowsEveryPartAndKeepsItsSizeAcrossStarts) {
    auto* bar = Widget<QToolBar>(guide->Toolbar().Controls().Item("tbrButtons"));
    ASSERT_NE(bar, nullptr);
    for (QAction* action : bar->actions()) {
        if (!action->isVisible()) continue;
        EXPECT_TRUE(bar->widgetForAction(action)->isVisible()) << action->text().toStdString();
    }
    auto* selector = Widget<QComboBox>(guide->Toolbar().Controls().Item("cboStandard"));
    ASSERT_NE(selector, nullptr);
    EXPECT_GT(selector->width(), selector->fontMetrics().horizontalAdvance("Pelmo2 - Oximeter accuracy"));
    ASSERT_NE(guide->ResultView(), nullptr);
    ASSERT_NE(guide->ContentPane().HelpControl(), nullptr);
    auto* table = renderer.WindowOf(*guide)->findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->horizontalScrollBar()->maximum(), 0);  // every column in view

    // Each Start adds the driver's control; a communication error removes it again.
    std::shared_ptr<guide_test::FakeVTIControl> vti;
    plat::RegisterClass(drv::kXVTIControlProgId, [&] { return vti = std::make_shared<guide_test::FakeVTIControl>(); });
    guide->OnStartTest = [this] { guide->CreateVTI(); };
    QWidget* window = renderer.WindowOf(*guide);
    const QSize size = window->size();
    for (int start = 0; start < 3; ++start) {
        ClickAction("Start");
        ASSERT_NE(guide->VTIControl(), nullptr);
        guide->EndRun();
        guide->RemoveVTI();
        Settle();
        EXPECT_EQ(window->size(), size) << "after Start " << start + 1;
    }
    plat::UnregisterClass(drv::kXVTIControlProgId);
}

TEST_F(GuideRenderTest, AfterTheSetUpATypedReadingGoesIntoTheSpO2CellWithoutAClick) {
    ASSERT_NO_FATAL_FAILURE(ShowSpO2GuideAfterTheSetUp());
    EXPECT_EQ(QApplication::focusWidget(), editor);
    QTest::keyClicks(QApplication::focusWidget(), "97");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), "64");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "97");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "97,64");

    // Run again with the results page shown and the focus on the limits selector.
    guide->EndRun();
    guide->Toolbar().Controls().Item("cboStandard").SetFocus();
    Settle();
    ASSERT_NE(QApplication::focusWidget(), editor);
    ClickAction("Start");
    EXPECT_EQ(QApplication::focusWidget(), editor);
    QTest::keyClicks(QApplication::focusWidget(), "95");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "95");
}

TEST_F(GuideRenderTest, TabReachesTheToolbarWhereEnterAndSpaceClickTheHotButtonItShows) {
    ASSERT_NO_FATAL_FAILURE(ShowSpO2GuideAfterTheSetUp());
    guide->OnNextTest = [this] { events.push_back("Next"); };
    auto& core = dynamic_cast<plat::ui::Toolbar&>(guide->Toolbar().Controls().Item("tbrButtons"));
    auto* bar = Widget<QToolBar>(core);
    auto* frame = bar->findChild<QFrame*>("focusFrame");
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->isVisible());
    QTest::keyClicks(QApplication::focusWidget(), "97");
    for (int tab = 0; tab < 10 && QApplication::focusWidget() != bar; ++tab) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        Settle();
    }
    ASSERT_EQ(QApplication::focusWidget(), bar);
    EXPECT_EQ(table->item(1, 2)->text().toStdString(), "97");  // the Tab committed the reading
    // Walk the hot button to a key; its frame follows.
    auto walkTo = [&](const std::string& key) {
        QTest::keyClick(bar, Qt::Key_Home);
        for (int right = 0; right < 12 && core.Button(core.HotButton()).Key() != key; ++right)
            QTest::keyClick(bar, Qt::Key_Right);
        Settle();
        ASSERT_EQ(core.Button(core.HotButton()).Key(), key);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->geometry(), bar->widgetForAction(bar->actions()[core.HotButton() - 1])->geometry());
    };
    walkTo("301");
    QTest::keyClick(bar, Qt::Key_Return);
    Settle();
    walkTo("202");
    QTest::keyClick(bar, Qt::Key_Space);
    Settle();
    EXPECT_EQ(events, (std::vector<std::string>{"Next", "StartTest"}));
    // As after a click on Start, the set-up hands the focus to the SpO2 cell; the bar shows no frame.
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(GuideRenderTest, TheIdentityPaneShowsInsideTheWindowAndTakesTyping) {
    auto& serial = guide->MtiDataControl().Controls().Item("txtSerial");
    auto* edit = Widget<QLineEdit>(serial);
    ASSERT_NE(edit, nullptr);
    QWidget* window = renderer.WindowOf(*guide);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isAncestorOf(edit));
    EXPECT_TRUE(edit->isVisible());
    QTest::keyClicks(edit, "AB-12");  // the box drops the "-"
    Settle();
    EXPECT_EQ(guide->CurrentMtiData()->SerialNo(), "AB12");

    EXPECT_TRUE(guide->ContentPane().PickPane(0));  // back to the results page
    Settle();
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(GuideRenderTest, AResizedWindowKeepsItsToolbarAlongTheBottomAndItsPictureHasItsSize) {
    guide->SetInnerSize(10800, 6600);
    Settle();
    QWidget* bar = Widget(guide->Controls().Item("xtbToolbar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry().bottom() + 1, plat::qt::ToPixelsY(6600));
    EXPECT_EQ(bar->width(), plat::qt::ToPixelsX(10800));
    const std::string path = dir.Path() + "/guide.png";
    ASSERT_TRUE(renderer.SavePicture(*guide, path));
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), plat::qt::ToPixelsX(10800));
    EXPECT_EQ(image.height(), plat::qt::ToPixelsY(6600));
}

}  // namespace
