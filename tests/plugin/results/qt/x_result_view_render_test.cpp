// The results grid and the help viewer on screen (offscreen Qt): readings
// typed by a person into the grid's cells reach the test as the window's
// event, looks and column widths show in the table, and the help page shows
// in the browser.
#include <gtest/gtest.h>

#include <QtGui/QTextBlock>
#include <QtGui/QTextDocument>
#include <QtGui/QTextLayout>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTextBrowser>

#include "host/limit_standards.h"
#include "host/language_service.h"
#include "platform/com/registry.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/results/limit_data.h"
#include "plugin/results/result_data.h"
#include "plugin/results/x_html_help.h"
#include "plugin/results/x_result_view.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/plugin/results/fake_element.h"
#include "tests/plugin/results/element_parts.h"
#include "tests/support/temp_dir.h"

namespace {

class FHolder : public plat::ui::Form {
public:
    explicit FHolder(std::shared_ptr<plat::ui::UserControl> page) : Form("frmHolder") {
        SetInnerSize(9000, 3000);
        AddObject("xvbPage", std::move(page)).Move(0, 0, 9000, 3000);
    }
};

class ResultViewRenderTest : public qt_test::RendererFixture {
protected:
    ResultViewRenderTest() {
        plat::Registry::UseFile(dir.Path() + "/registry.reg");
        host::LanguageService().SetLanguagesRoot(dir.Path() + "/languages");
        host::LanguageService().Reload();
        test = std::make_shared<results_test::FakeElement>(100);
        limits = results_test::GiveLimits(test);
        results_test::GiveSpO2Config(*test);
        results_test::AddBoundedStandard(*limits, "ISO", "ISO", 2, -2);
        view = std::make_shared<plugin::XResultView>();
        form = std::make_unique<FHolder>(view);
        view->Extender()->OnObjectEvent = [this](const std::string&, std::vector<plat::Variant>& params) {
            events.push_back(params[0].AsString() + "," + params[1].AsString());
        };
        form->Load();
        view->SetOwner(test);
        view->InitTest();
        view->SelectStandard("ISO", "ISO", true);
        form->Show();
        Settle();
    }
    ~ResultViewRenderTest() override {
        form->Unload();
        form.reset();
        Settle();
    }
    QTableWidget* Table() { return Widget<QTableWidget>(view->Grid()); }
    QLineEdit* Editor() { return Table() ? Table()->viewport()->findChild<QLineEdit*>() : nullptr; }

    test_support::TempDir dir;
    std::shared_ptr<results_test::FakeElement> test;
    std::shared_ptr<plugin::CLimitData> limits;
    std::shared_ptr<plugin::XResultView> view;
    std::unique_ptr<FHolder> form;
    std::vector<std::string> events;
};

TEST_F(ResultViewRenderTest, ReadingsTypedIntoTheCellsReachTheTest) {
    view->SetEditMode(true);
    Settle();
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->geometry(), Table()->visualItemRect(Table()->item(1, 2)));  // exactly its cell
    QTest::keyClicks(editor, "9x8.5");  // only digits stay
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(view->Grid().CellText(1, 2), "985");
    ASSERT_TRUE(view->Grid().Editing());
    EXPECT_EQ(view->Grid().EditRow(), 2);
    QTest::keyClicks(Editor(), "73");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(Table()->item(1, 2)->text(), "985");
    EXPECT_EQ(Table()->item(2, 2)->text(), "73");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "985,73");
    // 985 is far above 98 + 2: red and bold on screen; 73 lies within 72 +- 2.
    EXPECT_EQ(Table()->item(1, 2)->foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(Table()->item(1, 1)->font().bold());
    EXPECT_FALSE(Table()->item(2, 2)->font().bold());
    EXPECT_EQ(Table()->item(1, 3)->text(), "100");
    EXPECT_EQ(Table()->item(2, 4)->text(), "70");
}

TEST_F(ResultViewRenderTest, AReadingRetypedOverASelectionIsRecorded) {
    view->SetEditMode(true);
    Settle();
    QTest::keyClicks(Editor(), "98");
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTest::keyClicks(Editor(), "60");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    ASSERT_EQ(view->Grid().CellText(1, 2), "98");
    // Click the SpO2 cell, type 97, select all, type 96: 96 is recorded.
    QTableWidget* table = Table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(1, 2)).center());
    Settle();
    QTest::keyClicks(Editor(), "97");
    QTest::keyClick(Editor(), Qt::Key_A, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(view->Grid().EditSelLength(), 2);
    EXPECT_EQ(Editor()->selectedText().toStdString(), "97");
    QTest::keyClicks(Editor(), "96");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(view->Grid().CellText(1, 2), "96");
    EXPECT_EQ(events.back(), "96,60");
    // In the BPM cell: Home then 1 goes in front; Shift+End and Backspace remove what follows.
    ASSERT_EQ(view->Grid().EditRow(), 2);
    QTest::keyClick(Editor(), Qt::Key_Right);
    QTest::keyClick(Editor(), Qt::Key_Home);
    QTest::keyClicks(Editor(), "1");
    Settle();
    EXPECT_EQ(view->Grid().EditText(), "160");
    QTest::keyClick(Editor(), Qt::Key_End, Qt::ShiftModifier);
    QTest::keyClick(Editor(), Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(view->Grid().EditText(), "1");
    EXPECT_EQ(Editor()->text().toStdString(), "1");
    EXPECT_EQ(Editor()->cursorPosition(), 1);
    // A word selected with the mouse is where the next key goes.
    QTest::keyClicks(Editor(), "23");
    QTest::mouseDClick(Editor(), Qt::LeftButton, {}, Editor()->rect().center());
    Settle();
    EXPECT_EQ(view->Grid().EditSelLength(), 3);
    QTest::keyClicks(Editor(), "7");
    QTest::keyClick(Editor(), Qt::Key_Return);
    Settle();
    EXPECT_EQ(view->Grid().CellText(2, 2), "7");
    EXPECT_EQ(events.back(), "96,7");
}

TEST_F(ResultViewRenderTest, ARecordedCellClickedOpensItsEditor) {
    view->SetEditMode(true);
    view->SetEditMode(false);
    view->SetEditMode(true);
    Settle();
    QTableWidget* table = Table();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(2, 2)).center());
    Settle();
    ASSERT_TRUE(view->Grid().Editing());
    EXPECT_EQ(view->Grid().EditRow(), 2);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(2, 5)).center());
    Settle();
    EXPECT_FALSE(view->Grid().Editing());
}

TEST_F(ResultViewRenderTest, TheColumnsFillTheGridWithTheScreensMetrics) {
    QTableWidget* table = Table();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnWidth(0), 0);
    EXPECT_GT(table->columnWidth(1), table->columnWidth(2));
    EXPECT_EQ(table->columnWidth(2), table->columnWidth(5));
    // The header text fits its column.
    const QFontMetrics metrics(table->font());
    EXPECT_GE(table->columnWidth(2), metrics.horizontalAdvance("Recorded value"));
}

TEST_F(ResultViewRenderTest, AValueLongerThanItsHeaderGetsAColumnThatShowsIt) {
    auto probe = std::make_shared<results_test::FakeElement>(400);
    auto probeLimits = results_test::GiveLimits(probe);
    results_test::AddBoundedStandard(*probeLimits, "Probe", "Probe", 100, 1, {"PIN1_TO_PIN2"});
    auto result = results_test::GiveResult(probe);
    view->SetOwner(probe);
    view->InitTest();
    view->SelectStandard("Probe", "Probe", false);
    result->StoreResult("OTHER=5", nullptr);  // no pin pair measured
    view->DisplayResults(result);
    Settle();
    ASSERT_EQ(view->Grid().CellText(1, 2), "No resitances found");
    const QFontMetrics metrics(Table()->item(1, 2)->font());
    EXPECT_GT(Table()->columnWidth(2), metrics.horizontalAdvance("No resitances found"));
    // Scrolled to the right, the header row goes along with the columns.
    QTableWidget* table = Table();
    table->horizontalScrollBar()->setValue(table->horizontalScrollBar()->maximum());
    Settle();
    const QPoint unit(table->viewport()->x() + table->columnViewportPosition(5) + 5, table->frameWidth() + 2);
    QWidget* seen = table->childAt(unit);
    auto* header = seen ? qobject_cast<QAbstractItemView*>(seen->parentWidget()) : nullptr;
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->indexAt(seen->mapFrom(table, unit)), table->model()->index(0, 5));
}

TEST(HelpViewRender, ThePageShowsInTheBrowser) {
    plat::MessageLoop::Reset();
    plat::qt::QtRenderer renderer;
    renderer.Install();
    test_support::TempDir dir;
    plat::Registry::UseFile(dir.Path() + "/registry.reg");
    // The pages as the build copies them beside the plug-in library.
    plugin::XHtmlHelp::SetLibraryFolderForTests(ORVIK_TEST_BIN_DIR "/");
    auto help = std::make_shared<plugin::XHtmlHelp>();
    FHolder form(help);
    form.Load();
    ASSERT_TRUE(help->Initialize("LEDHtmlHelp.html"));
    form.Show();
    auto& loop = plat::MessageLoop::Current();
    bool done = false;
    loop.PostDelayed(50, [&] { done = true; });
    loop.RunUntil([&] { return done; });
    auto* browser = qobject_cast<QTextBrowser*>(renderer.WidgetOf(help->Controls().Item("web")));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains("LEDs - R"));
    // In a narrow pane every line, headings included, begins after a blank or a hyphen.
    browser->resize(120, 300);
    QApplication::processEvents();
    browser->document()->size();  // the whole page laid out
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        for (int line = 1; layout && line < layout->lineCount(); ++line) {
            const int start = layout->lineAt(line).textStart();
            const QChar before = block.text().at(start - 1);
            EXPECT_TRUE(before.isSpace() || before == '-') << block.text().toStdString() << " @" << start;
        }
    }
    form.Unload();
    plugin::XHtmlHelp::SetLibraryFolderForTests("");
    plat::MessageLoop::Reset();
}

}  // namespace
