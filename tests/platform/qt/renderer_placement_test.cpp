// Where windows open and how a person may size them: dialogs centred over
// the window they belong to, fixed designs with no maximise or minimise
// button, and windows that follow their size never smaller than their design.
#include <QtGui/QWindow>
#include <QtTest/QTest>
#include <QtWidgets/QMessageBox>

#include <functional>

#include "platform/qt/qt_message_box.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using namespace plat::ui;

class FOwner : public Form {
public:
    FOwner() : Form("frmOwner") {
        SetCaption("Owner");
        cmdGo.Move(120, 120, 1200, 400);
    }
    CommandButton& cmdGo = Add<CommandButton>("cmdGo");
};

// A fixed design: nothing follows the window's size.
class FFixed : public Form {
public:
    FFixed() : Form("frmFixed") {
        SetCaption("Save Oximeter As...");
        SetInnerSize(3600, 1800);
        cmdOK.Move(120, 120, 1200, 400);
    }
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
};

// Follows its size: the button stays in the bottom right corner.
class FSizable : public Form {
public:
    FSizable() : Form("frmSizable") {
        SetInnerSize(6000, 4500);
        OnResize = [this] { cmdClose.Move(ScaleWidth() - 1320, ScaleHeight() - 520, 1200, 400); };
    }
    CommandButton& cmdClose = Add<CommandButton>("cmdClose");
};

class PlacementTest : public qt_test::RendererFixture {
protected:
    PlacementTest() {
        owner.Move(1500, 1500, 6000, 4500);  // well inside the 800 x 600 offscreen screen
        owner.Show();
        Settle();
    }
    // Runs `look` once the modal `dialog` shows, then hides it.
    void WhileShownModally(Form& dialog, const std::function<void(QWidget&)>& look) {
        plat::MessageLoop::Current().PostDelayed(50, [&] {
            if (QWidget* window = renderer.WindowOf(dialog)) look(*window);
            dialog.Hide();
        });
        dialog.Show(ShowMode::Modal);
    }
    static bool CentredOver(const QWidget& window, const QWidget& over) {
        const QPoint gap = window.frameGeometry().center() - over.frameGeometry().center();
        return gap.manhattanLength() <= 2;
    }
    FOwner owner;
};

TEST_F(PlacementTest, AModalDialogOpensCentredOverItsOwnerFixedAndWithoutMaximiseOrMinimise) {
    QWidget* ownerWindow = renderer.WindowOf(owner);
    ASSERT_NE(ownerWindow, nullptr);
    FFixed dialog;
    bool looked = false;
    WhileShownModally(dialog, [&](QWidget& window) {
        looked = true;
        EXPECT_TRUE(CentredOver(window, *ownerWindow));
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        EXPECT_EQ(window.size(), QSize(Px(3600), Px(1800)));
    });
    EXPECT_TRUE(looked);
}

TEST_F(PlacementTest, ADialogShownBeforeItsOwnerWasDrawnStillOpensOverIt) {
    // As the host does when it starts with a file to open: its window is
    // shown, and a dialog comes before the loop has drawn that window.
    owner.Hide();
    Settle();
    for (int32_t i = 0; i < 8; ++i) {
        auto later = std::make_unique<FOwner>();
        later->Move(600 + 300 * i, 900, 6000, 4500);
        later->Show();
        FFixed dialog;
        bool looked = false;
        WhileShownModally(dialog, [&](QWidget& window) {
            looked = true;
            QWidget* ownerWindow = renderer.WindowOf(*later);
            ASSERT_NE(ownerWindow, nullptr);
            EXPECT_TRUE(CentredOver(window, *ownerWindow)) << i;
            ASSERT_NE(window.windowHandle(), nullptr);
            EXPECT_EQ(window.windowHandle()->transientParent(), ownerWindow->windowHandle()) << i;
            // Where the window manager then puts the owner, the dialog goes along.
            ownerWindow->move(ownerWindow->pos() + QPoint(40, 30));
            EXPECT_TRUE(CentredOver(window, *ownerWindow)) << i;
        });
        EXPECT_TRUE(looked);
        later->Unload();
        Settle();
    }
}

TEST_F(PlacementTest, AMessageBoxAskedBeforeItsWindowWasDrawnBelongsToItAndGoesWhereItIsPlaced) {
    owner.Hide();
    Settle();
    FOwner later;
    later.Move(900, 900, 6000, 4500);
    later.Show();
    bool looked = false;
    plat::MessageLoop::Current().PostDelayed(50, [&] {
        QMessageBox* box = plat::qt::QtMessageBoxService::Current();
        QWidget* ownerWindow = renderer.WindowOf(later);
        if (!box || !ownerWindow) return;
        looked = true;
        ASSERT_NE(box->windowHandle(), nullptr);
        EXPECT_EQ(box->windowHandle()->transientParent(), ownerWindow->windowHandle());
        EXPECT_TRUE(CentredOver(*box, *ownerWindow));
        ownerWindow->move(ownerWindow->pos() + QPoint(40, 30));
        EXPECT_TRUE(CentredOver(*box, *ownerWindow));
        box->reject();
    });
    MsgBox("The test could not keep its custom oximeter make.", vbOKOnly, "Oximeter make");
    EXPECT_TRUE(looked);
}

TEST_F(PlacementTest, AWindowThatFollowsItsSizeNeverShrinksBelowItsDesign) {
    FSizable form;
    form.Show();
    Settle();
    QWidget* window = renderer.WindowOf(form);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->minimumSize(), QSize(Px(6000), Px(4500)));
    EXPECT_GT(window->maximumWidth(), Px(6000));
    window->resize(Px(3000), Px(2000));  // as a person dragging its corner
    Settle();
    EXPECT_EQ(window->size(), QSize(Px(6000), Px(4500)));
    EXPECT_EQ(form.ScaleWidth(), 6000);
    EXPECT_TRUE(renderer.WidgetOf(form.cmdClose)->geometry().right() < window->width());
}

TEST_F(PlacementTest, AMessageBoxOpensCentredOverItsWindowWithItsWholeTitle) {
    QWidget* ownerWindow = renderer.WindowOf(owner);
    const QString title = "Tamblin - a title much longer than the prompt of the box";
    bool looked = false;
    plat::MessageLoop::Current().PostDelayed(50, [&] {
        QMessageBox* box = plat::qt::QtMessageBoxService::Current();
        if (!box) return;
        looked = true;
        EXPECT_TRUE(CentredOver(*box, *ownerWindow));
        EXPECT_FALSE(box->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(box->windowFlags() & Qt::WindowMinimizeButtonHint);
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GT(box->width(), QFontMetrics(bold).horizontalAdvance(title));
        box->reject();
    });
    MsgBox("Saved.", vbOKOnly, title.toStdString());
    EXPECT_TRUE(looked);
}

}  // namespace
