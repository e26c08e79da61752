// Embedded and docked pages show inside the window that holds them and act
// there; keys reach the core as KeyDown / KeyUp with the core's codes.
#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>

#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/ui/keys.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using namespace plat::ui;

class XPage : public UserControl {
public:
    XPage() {
        txtValue.Move(120, 120, 1500, 300);
        cmdApply.Move(120, 600, 1200, 400);
        cmdApply.OnClick = [this] { log.push_back("apply " + txtValue.Text()); };
    }
    TextBox& txtValue = Add<TextBox>("txtValue");
    CommandButton& cmdApply = Add<CommandButton>("cmdApply");
    std::vector<std::string> log;
};

// Loaded, never shown: it only holds the page.
class FSetup : public Form {
public:
    FSetup() : Form("frmSetup") {}
    void Create() {
        extender = Controls().Add("QtTest.XPage", "xvbPage");
        extender->Move(1500, 300, 3000, 1500);
        page = extender->ObjectAs<XPage>();
    }
    std::shared_ptr<ObjectControl> extender;
    std::shared_ptr<XPage> page;
};

class FHost : public Form {
public:
    FHost() : Form("frmHost") {
        SetInnerSize(6000, 3000);
        cmdOK.Move(120, 120, 1200, 400);
        lstKeys.Move(120, 900, 1200, 1200);
        lstKeys.AddItem("one");
        lstKeys.AddItem("two");
        lstKeys.AddItem("three");
        lstKeys.OnKeyDown = [this](int32_t& code, int32_t shift) {
            keys.push_back("down " + std::to_string(code) + "/" + std::to_string(shift));
            if (code == vbKeyDown && stopArrows) code = 0;
        };
        lstKeys.OnKeyUp = [this](int32_t& code, int32_t) { keys.push_back("up " + std::to_string(code)); };
    }
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    ListBox& lstKeys = Add<ListBox>("lstKeys");
    std::vector<std::string> keys;
    bool stopArrows = false;
};

class DockingTest : public qt_test::RendererFixture {
protected:
    DockingTest() {
        plat::RegisterClass("QtTest.XPage", [] { return std::make_shared<XPage>(); });
        setup.Load();
        setup.Create();
    }
    ~DockingTest() override { plat::UnregisterClass("QtTest.XPage"); }
    FSetup setup;
    FHost host;
};

TEST_F(DockingTest, AnUndockedPageOfAWindowNeverShownShowsNothing) {
    host.Show();
    Settle();
    EXPECT_EQ(renderer.WindowOf(setup), nullptr);
    EXPECT_EQ(renderer.WidgetOf(setup.page->cmdApply), nullptr);
}

TEST_F(DockingTest, ADockedPageShowsInsideTheHostWindowAndActsThere) {
    host.Show();
    SetParent(setup.page->hWnd(), host.hWnd());
    Settle();
    QWidget* apply = renderer.WidgetOf(setup.page->cmdApply);
    ASSERT_NE(apply, nullptr);
    EXPECT_EQ(apply->window(), renderer.WindowOf(host));
    EXPECT_TRUE(apply->isVisible());
    // The page sits at its extender's place inside the host.
    EXPECT_EQ(apply->parentWidget()->geometry(), plat::qt::ToPixelRect(1500, 300, 3000, 1500));
    QTest::keyClicks(renderer.WidgetOf(setup.page->txtValue), "12");
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_EQ(setup.page->log, (std::vector<std::string>{"apply 12"}));

    setup.extender->Move(120, 1500, 3000, 1200);  // a docked page moves inside its parent
    Settle();
    EXPECT_EQ(apply->parentWidget()->geometry(), plat::qt::ToPixelRect(120, 1500, 3000, 1200));

    SetParent(setup.page->hWnd(), setup.hWnd());  // undocked: back to a window never shown
    Settle();
    QWidget* again = renderer.WidgetOf(setup.page->cmdApply);
    EXPECT_TRUE(again == nullptr || !again->isVisible() || again->window() != renderer.WindowOf(host));
    if (again) QTest::mouseClick(again, Qt::LeftButton);
    EXPECT_EQ(setup.page->log.size(), 1u);
}

TEST_F(DockingTest, ADockedWindowShowsAsAPanelOfItsHost) {
    FHost inner;
    inner.Move(3000, 0, 2800, 2500);
    host.Show();
    SetParent(inner.hWnd(), host.hWnd());
    inner.Show();
    Settle();
    QWidget* ok = renderer.WidgetOf(inner.cmdOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->window(), renderer.WindowOf(host));
    EXPECT_TRUE(ok->isVisible());
    QWidget* own = renderer.WindowOf(inner);
    EXPECT_TRUE(own == nullptr || !own->isVisible());
}

TEST_F(DockingTest, KeysReachTheCoreWithItsCodesAndShiftBits) {
    host.Show();
    host.lstKeys.SetFocus();
    host.lstKeys.SetListIndex(0);
    Settle();
    auto* list = qobject_cast<QListWidget*>(renderer.WidgetOf(host.lstKeys));
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_F1);
    Settle();
    EXPECT_EQ(host.keys,
              (std::vector<std::string>{"down 16/1", "down 40/1", "up 40", "up 16", "down 112/0", "up 112"}));
    EXPECT_EQ(host.lstKeys.ListIndex(), 1);  // the list's own arrow handling picked the next item
}

TEST_F(DockingTest, DeleteAndBackspaceTakeAWholeCharacter) {
    host.Show();
    SetParent(setup.page->hWnd(), host.hWnd());
    TextBox& box = setup.page->txtValue;
    box.SetText("a\xC3\xA9z");
    box.SetFocus();
    box.SetSelStart(1);
    Settle();
    QWidget* edit = renderer.WidgetOf(box);
    QTest::keyClick(edit, Qt::Key_Delete);
    Settle();
    EXPECT_EQ(box.Text(), "az");
    box.SetText("\xE2\x82\xAC" "b");
    box.SetSelStart(3);
    Settle();
    QTest::keyClick(edit, Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(box.Text(), "b");
    EXPECT_EQ(qobject_cast<QLineEdit*>(edit)->text(), "b");
}

}  // namespace
