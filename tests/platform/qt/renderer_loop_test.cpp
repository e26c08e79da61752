// Our message loop stays the master with windows open: modal windows and
// message boxes run in the core's own modal loop, Qt's loops of its own keep
// our work running, and nothing of Qt runs under the virtual clock.
#include <QtCore/QEventLoop>
#include <QtCore/QTimer>
#include <QtGui/QImage>
#include <QtGui/QMouseEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

#include "platform/qt/qt_message_box.h"
#include "tests/platform/qt/qt_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace plat::ui;

class FDialog : public Form {
public:
    FDialog() : Form("frmDialog") {
        SetCaption("Dialog");
        cmdOK.Move(120, 120, 1200, 400);
        cmdOK.SetDefault(true);
        cmdOK.OnClick = [this] {
            ++okClicks;
            Hide();
        };
    }
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    int okClicks = 0;
};

class FMain : public Form {
public:
    FMain() : Form("frmMain") {
        cmdGo.Move(120, 120, 1200, 400);
        cmdGo.OnClick = [this] { ++goClicks; };
        cmdClose.Move(120, 600, 1200, 400);
        cmdClose.OnClick = [this] { Unload(); };
    }
    CommandButton& cmdGo = Add<CommandButton>("cmdGo");
    CommandButton& cmdClose = Add<CommandButton>("cmdClose");
    int goClicks = 0;
};

class LoopTest : public qt_test::RendererFixture {
protected:
    void After(plat::Millis ms, std::function<void()> task) {
        plat::MessageLoop::Current().PostDelayed(ms, std::move(task));
    }
};

TEST_F(LoopTest, AModalDialogRunsInTheCoresModalLoopUntilItsButtonHidesIt) {
    FDialog dlg;
    bool sawWindow = false;
    After(50, [&] {
        QWidget* ok = renderer.WidgetOf(dlg.cmdOK);
        sawWindow = ok && ok->isVisible() && renderer.WindowOf(dlg)->windowModality() == Qt::ApplicationModal;
        if (ok) QTest::mouseClick(ok, Qt::LeftButton);
    });
    bool late = false;
    After(3000, [&] { late = true; dlg.Hide(); });
    dlg.Show(ShowMode::Modal);
    EXPECT_FALSE(late);
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(dlg.okClicks, 1);
    Settle();
    EXPECT_FALSE(renderer.WindowOf(dlg)->isVisible());
}

TEST_F(LoopTest, AModalDialogWithNoPlaceOfItsOwnOpensOverTheActiveWindow) {
    FMain main;
    main.Move(1500, 1500, 9000, 7500);
    main.Show();
    Settle();
    QWidget* owner = renderer.WindowOf(main);
    owner->activateWindow();
    Settle();
    FDialog dlg;
    QPoint centre;
    After(50, [&] {
        if (QWidget* w = renderer.WindowOf(dlg)) centre = w->geometry().center();
        dlg.Hide();
    });
    After(3000, [&] { dlg.Hide(); });
    dlg.Show(ShowMode::Modal);
    EXPECT_LE((centre - owner->geometry().center()).manhattanLength(), 10);  // frames aside
}

TEST_F(LoopTest, EnterOnAModalDialogActsOnce) {
    FDialog dlg;
    After(50, [&] { QTest::keyClick(renderer.WindowOf(dlg), Qt::Key_Return); });
    After(3000, [&] { dlg.Hide(); });
    dlg.Show(ShowMode::Modal);
    Settle();
    EXPECT_EQ(dlg.okClicks, 1);
}

TEST_F(LoopTest, AWindowBehindAModalOneRefusesClicks) {
    FMain main;
    main.Show();
    FDialog dlg;
    After(50, [&] {
        QTest::mouseClick(renderer.WidgetOf(main.cmdGo), Qt::LeftButton);
        dlg.Hide();
    });
    After(3000, [&] { dlg.Hide(); });
    dlg.Show(ShowMode::Modal);
    EXPECT_EQ(main.goClicks, 0);
    QTest::mouseClick(renderer.WidgetOf(main.cmdGo), Qt::LeftButton);
    EXPECT_EQ(main.goClicks, 1);
}

TEST_F(LoopTest, AMessageBoxIsAnsweredThroughTheCoresCall) {
    std::string title;
    After(50, [&] {
        QMessageBox* box = plat::qt::QtMessageBoxService::Current();
        if (!box) return;
        title = box->windowTitle().toStdString();
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    After(3000, [&] {
        if (auto* box = plat::qt::QtMessageBoxService::Current()) box->reject();
    });
    EXPECT_EQ(MsgBox("Save the make?", vbYesNoCancel | vbQuestion, "Tamblin"), vbNo);
    EXPECT_EQ(title, "Tamblin");
    EXPECT_EQ(plat::qt::QtMessageBoxService::Current(), nullptr);
}

TEST_F(LoopTest, EscapeOnAMessageBoxGivesItsCancelAnswer) {
    After(50, [&] {
        if (auto* box = plat::qt::QtMessageBoxService::Current()) QTest::keyClick(box, Qt::Key_Escape);
    });
    After(3000, [&] {
        if (auto* box = plat::qt::QtMessageBoxService::Current()) box->reject();
    });
    EXPECT_EQ(MsgBox("Stop the test?", vbOKCancel), vbCancel);
}

TEST_F(LoopTest, OurTimersTasksAndDescriptorsRunWhileQtRunsALoopOfItsOwn) {
    auto& loop = plat::MessageLoop::Current();
    plat::Timer timer;
    int ticks = 0;
    timer.OnTick = [&] { ++ticks; };
    timer.SetInterval(20);
    timer.SetEnabled(true);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int reads = 0;
    const uint64_t watch = loop.WatchFd(fds[0], [&] {
        char c;
        if (read(fds[0], &c, 1) == 1) ++reads;
    });
    bool posted = false;
    // Qt's own loop (as a context menu or a drag runs one), from inside one of our handlers.
    After(0, [&] {
        QEventLoop qtLoop;
        QTimer::singleShot(100, [&] {
            loop.Post([&] { posted = true; });
            if (write(fds[1], "x", 1) != 1) ADD_FAILURE() << "pipe write";
        });
        QTimer::singleShot(400, &qtLoop, &QEventLoop::quit);
        qtLoop.exec();
    });
    Settle(450);
    loop.Unwatch(watch);
    close(fds[0]);
    close(fds[1]);
    EXPECT_GE(ticks, 5);  // 20 would be every tick of 400 ms; a stall gives 0 or 1
    EXPECT_EQ(reads, 1);
    EXPECT_TRUE(posted);
}

TEST_F(LoopTest, AWatchedDescriptorWakesTheWaitInQtsDispatcher) {
    FMain main;
    main.Show();
    Settle();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int reads = 0;
    auto& loop = plat::MessageLoop::Current();
    const uint64_t watch = loop.WatchFd(fds[0], [&] {
        char c;
        if (read(fds[0], &c, 1) == 1) ++reads;
    });
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (write(fds[1], "x", 1) != 1) ADD_FAILURE() << "pipe write";
    });
    // Nothing else is due: only the descriptor can end the wait before the 5 s limit.
    EXPECT_TRUE(PumpUntil([&] { return reads == 1; }, 5000));
    writer.join();
    loop.Unwatch(watch);
    close(fds[0]);
    close(fds[1]);
}

TEST_F(LoopTest, AnIdleWaitWithAWindowOpenDoesNotSpin) {
    FMain main;
    main.Show();
    Settle();
    int pumps = 0;
    bool over = false;
    plat::MessageLoop::Current().PostDelayed(300, [&] { over = true; });
    plat::MessageLoop::Current().RunUntil([&] {
        ++pumps;
        return over;
    });
    EXPECT_LT(pumps, 30);
}

TEST_F(LoopTest, AFormUnloadedByItsOwnButtonLosesItsWindowSafely) {
    FMain main;
    main.Show();
    Settle();
    QPointer<QWidget> window = renderer.WindowOf(main);
    QTest::mouseClick(renderer.WidgetOf(main.cmdClose), Qt::LeftButton);
    EXPECT_FALSE(main.Loaded());
    Settle();
    EXPECT_TRUE(window.isNull());
    main.Show();  // a fresh window
    Settle();
    ASSERT_NE(renderer.WindowOf(main), nullptr);
    QTest::mouseClick(renderer.WidgetOf(main.cmdGo), Qt::LeftButton);
    EXPECT_EQ(main.goClicks, 1);
}

TEST_F(LoopTest, AFormDestroyedWhileShownTakesItsWindowAlong) {
    QPointer<QWidget> window;
    {
        FMain main;
        main.Show();
        Settle();
        window = renderer.WindowOf(main);
        ASSERT_FALSE(window.isNull());
    }
    Settle();
    EXPECT_TRUE(window.isNull());
}

TEST_F(LoopTest, AHandlersErrorSurfacesFromOurLoopNeverThroughQt) {
    FMain main;
    main.cmdGo.OnClick = [] { throw std::runtime_error("handler failed"); };
    main.Show();
    Settle();
    QWidget* go = renderer.WidgetOf(main.cmdGo);
    const QPointF at(5, 5);
    // Delivered by Qt's dispatcher while our loop waits in it.
    QCoreApplication::postEvent(go, new QMouseEvent(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton,
                                                    Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(go, new QMouseEvent(QEvent::MouseButtonRelease, at, at, at, Qt::LeftButton,
                                                    Qt::NoButton, Qt::NoModifier));
    EXPECT_THROW(Settle(), std::runtime_error);
    // Both loops go on.
    main.cmdGo.OnClick = [&main] { ++main.goClicks; };
    QTest::mouseClick(go, Qt::LeftButton);
    Settle();
    EXPECT_EQ(main.goClicks, 1);
}

TEST_F(LoopTest, AWindowMadeWhereADestroyedOneLayShowsOnlyItsOwnControls) {
    std::optional<FMain> main;  // the same storage, so the same address, for both windows
    main.emplace();
    main->Show();
    Settle();
    QPointer<QWidget> old = renderer.WindowOf(*main);
    main->Unload();
    main.reset();  // no pump in between
    main.emplace();
    main->cmdGo.SetCaption("Again");
    main->Show();
    Settle();
    QWidget* window = renderer.WindowOf(*main);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(window->findChildren<QPushButton*>().size(), 2);
    QTest::mouseClick(renderer.WidgetOf(main->cmdGo), Qt::LeftButton);
    EXPECT_EQ(main->goClicks, 1);
}

TEST_F(LoopTest, UnderTheVirtualClockNothingOfQtRuns) {
    plat::VirtualTimeScope time;
    FMain main;
    main.Show();
    main.cmdGo.SetCaption("Go");
    plat::MessageLoop::Current().PostDelayed(60000, [] {});
    plat::MessageLoop::Current().DoEvents();
    EXPECT_EQ(time.Clock().Now(), 60000);
    EXPECT_EQ(renderer.WindowOf(main), nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
    EXPECT_EQ(MsgBox("Headless", vbYesNo | vbDefaultButton2), vbNo);  // the default button answers
}

TEST_F(LoopTest, AnyLoadedFormDrawsIntoAPictureFile) {
    test_support::TempDir dir;
    FMain main;
    main.SetInnerSize(4500, 3000);
    main.Load();  // never shown
    const std::string path = dir.File("main.png");
    ASSERT_TRUE(renderer.SavePicture(main, path));
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 100u);
    const QImage picture(QString::fromStdString(path));
    EXPECT_EQ(picture.size(), QSize(Px(4500), Px(3000)));
    EXPECT_FALSE(renderer.WindowOf(main)->isVisible());
    FMain never;
    EXPECT_FALSE(renderer.SavePicture(never, dir.File("never.png")));
    EXPECT_FALSE(renderer.SavePicture(main, dir.File("no/such/folder/x.png")));
}

}  // namespace
