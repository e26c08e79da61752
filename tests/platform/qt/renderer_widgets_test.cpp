// What code sets shows in the widgets, and what a person does in them runs
// the core's user actions with their refusals.
#include <QtGui/QClipboard>
#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/keys.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using namespace plat::ui;

class FSample : public Form {
public:
    FSample() : Form("frmSample") {
        SetInnerSize(6000, 4500);
        lblName.Move(120, 120, 1500, 300);
        txtName.Move(1700, 120, 2500, 300);
        cmdOK.Move(120, 3600, 1200, 400);
        cmdCancel.Move(1400, 3600, 1200, 400);
        chkOn.Move(120, 600, 2000, 300);
        lstItems.Move(120, 1000, 2000, 1200);
        cboKind.Move(2300, 1000, 2000, 300);
        fraGroup.Move(2300, 1500, 2500, 1500);
        optA.Move(120, 300, 1500, 300);
        optB.Move(120, 700, 1500, 300);
        cmdOK.OnClick = [this] { log.push_back("ok"); };
        cmdCancel.OnClick = [this] { log.push_back("cancel"); };
        chkOn.OnClick = [this] { log.push_back("chk " + std::to_string(chkOn.Value())); };
        lstItems.OnClick = [this] { log.push_back("list " + std::to_string(lstItems.ListIndex())); };
        cboKind.OnClick = [this] { log.push_back("combo " + cboKind.Text()); };
        txtName.OnChange = [this] { log.push_back("change " + txtName.Text()); };
        txtName.OnKeyPress = [this](int32_t& key) {
            if (key == '#') key = 0;  // dropped
            if (key == 'x') key = 'X';
        };
        txtName.OnGotFocus = [this] { log.push_back("got txtName"); };
        txtName.OnLostFocus = [this] { log.push_back("lost txtName"); };
        cmdOK.OnGotFocus = [this] { log.push_back("got cmdOK"); };
        optA.OnClick = [this] { log.push_back("optA"); };
        optB.OnClick = [this] { log.push_back("optB"); };
        OnQueryUnload = [this](bool& cancel, UnloadMode mode) {
            log.push_back(mode == UnloadMode::ControlMenu ? "query menu" : "query code");
            cancel = refuseClose;
        };
    }
    Label& lblName = Add<Label>("lblName");
    TextBox& txtName = Add<TextBox>("txtName");
    CheckBox& chkOn = Add<CheckBox>("chkOn");
    ListBox& lstItems = Add<ListBox>("lstItems");
    ComboBox& cboKind = Add<ComboBox>("cboKind");
    Frame& fraGroup = Add<Frame>("fraGroup");
    OptionButton& optA = Add<OptionButton>("optA", &fraGroup);
    OptionButton& optB = Add<OptionButton>("optB", &fraGroup);
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    CommandButton& cmdCancel = Add<CommandButton>("cmdCancel");
    std::vector<std::string> log;
    bool refuseClose = false;
};

// Keys as a keyboard with any layout sends them (QTest knows ASCII keys only).
void TypeCharacters(QWidget* w, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

// Check and option buttons take clicks on their box and text only.
void ClickIndicator(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2)); }

class WidgetsTest : public qt_test::RendererFixture {
protected:
    void SetUp() override {
        form.lstItems.AddItem("one");
        form.lstItems.AddItem("two");
        form.cboKind.SetStyle(ComboStyle::DropdownList);
        form.cboKind.AddItem("adult");
        form.cboKind.AddItem("neonate");
        form.Show();
        Settle();
        form.log.clear();
    }
    FSample form;
};

TEST_F(WidgetsTest, WindowShowsTheFormWithItsControlsAtTheirTwipsPositions) {
    QWidget* window = renderer.WindowOf(form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(Px(6000), Px(4500)));
    auto* ok = Widget<QPushButton>(form.cmdOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->geometry(), plat::qt::ToPixelRect(120, 3600, 1200, 400));
    // Option buttons sit inside their frame's box.
    EXPECT_EQ(Widget(form.optA)->parentWidget(), Widget(form.fraGroup));
}

TEST_F(WidgetsTest, CodeSetPropertiesShowBeforeTheLoopSleeps) {
    form.SetCaption("Sample \xC3\xA9");
    form.lblName.SetCaption("Name\r\nof the oximeter");
    form.txtName.SetText("Acme");
    form.cmdOK.SetEnabled(false);
    form.chkOn.SetValue(2);
    form.lstItems.AddItem("three");
    form.lstItems.SetListIndex(2);
    form.cboKind.SetListIndex(1);
    form.cmdCancel.SetVisible(false);
    form.fraGroup.SetCaption("Group");
    form.optB.SetValue(true);
    form.lblName.SetBackColor(0x00C0FFFF);  // light yellow
    form.lblName.SetFontBold(true);
    Settle();

    EXPECT_EQ(renderer.WindowOf(form)->windowTitle(), QString::fromUtf8("Sample \xC3\xA9"));
    EXPECT_EQ(Widget<QLabel>(form.lblName)->text(), "Name\nof the oximeter");
    EXPECT_EQ(Widget<QLineEdit>(form.txtName)->text(), "Acme");
    EXPECT_FALSE(Widget(form.cmdOK)->isEnabled());
    EXPECT_EQ(Widget<QCheckBox>(form.chkOn)->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(Widget<QListWidget>(form.lstItems)->count(), 3);
    EXPECT_EQ(Widget<QListWidget>(form.lstItems)->currentRow(), 2);
    EXPECT_EQ(Widget<QComboBox>(form.cboKind)->currentText(), "neonate");
    EXPECT_FALSE(Widget(form.cmdCancel)->isVisible());
    EXPECT_EQ(Widget<QGroupBox>(form.fraGroup)->title(), "Group");
    EXPECT_TRUE(Widget<QRadioButton>(form.optB)->isChecked());
    EXPECT_FALSE(Widget<QRadioButton>(form.optA)->isChecked());
    EXPECT_EQ(Widget(form.lblName)->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_TRUE(Widget(form.lblName)->font().bold());
    // Program-side changes are no person's actions: no handler ran for the widgets' own signals.
    EXPECT_EQ(form.log, (std::vector<std::string>{"change Acme", "chk 2", "list 2", "combo neonate", "optB"}));
}

TEST_F(WidgetsTest, AControlMovedIntoAFrameShowsInsideIt) {
    form.chkOn.SetContainer(&form.fraGroup);
    Settle();
    EXPECT_EQ(Widget(form.chkOn)->parentWidget(), Widget(form.fraGroup));
    EXPECT_TRUE(Widget(form.chkOn)->isVisible());
    form.fraGroup.SetVisible(false);
    Settle();
    EXPECT_FALSE(Widget(form.chkOn)->isVisible());
    form.chkOn.SetContainer(nullptr);
    Settle();
    EXPECT_EQ(Widget(form.chkOn)->parentWidget(), renderer.WindowOf(form));
    EXPECT_TRUE(Widget(form.chkOn)->isVisible());
}

TEST_F(WidgetsTest, LabelsShowTheirAlignmentAndATransparentBack) {
    form.lblName.SetBackColor(0x00C0FFFF);
    form.lblName.SetAlignment(LabelAlignment::Right);
    Settle();
    auto* label = Widget<QLabel>(form.lblName);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(label->autoFillBackground());
    form.lblName.SetBackStyle(0);
    form.lblName.SetAlignment(LabelAlignment::Centre);
    Settle();
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(label->autoFillBackground());
}

TEST_F(WidgetsTest, AClickRunsTheButtonsClickHandlerOnce) {
    QTest::mouseClick(Widget(form.cmdOK), Qt::LeftButton);
    EXPECT_EQ(form.log, (std::vector<std::string>{"lost txtName", "got cmdOK", "ok"}));
}

TEST_F(WidgetsTest, ACheckBoxShowsTheCoresValueAfterAClick) {
    form.chkOn.SetValue(2);
    Settle();
    form.log.clear();
    ClickIndicator(Widget(form.chkOn));
    Settle();
    // The core turns grayed into unchecked; Qt alone would have cycled to checked.
    EXPECT_EQ(form.log, (std::vector<std::string>{"lost txtName", "chk 0"}));
    EXPECT_EQ(Widget<QCheckBox>(form.chkOn)->checkState(), Qt::Unchecked);
}

TEST_F(WidgetsTest, AClickOnASelectedOptionButtonKeepsItSelected) {
    form.optA.SetValue(true);
    Settle();
    form.log.clear();
    ClickIndicator(Widget(form.optA));
    Settle();
    EXPECT_TRUE(form.optA.Value());
    EXPECT_TRUE(Widget<QRadioButton>(form.optA)->isChecked());
    ClickIndicator(Widget(form.optB));
    Settle();
    EXPECT_EQ(form.log.back(), "optB");
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "optA"), 0);
    EXPECT_FALSE(Widget<QRadioButton>(form.optA)->isChecked());
}

TEST_F(WidgetsTest, TypedKeysGoThroughKeyPress) {
    form.cmdOK.SetFocus();
    Settle();
    form.log.clear();
    auto* edit = Widget<QLineEdit>(form.txtName);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, "ax#b");
    Settle();
    EXPECT_EQ(form.txtName.Text(), "aXb");
    EXPECT_EQ(edit->text(), "aXb");
    QTest::keyClick(edit, Qt::Key_Backspace);
    Settle();
    EXPECT_EQ(form.txtName.Text(), "aX");
    EXPECT_EQ(form.log.front(), "got txtName");
    EXPECT_EQ(form.log.back(), "change aX");
}

TEST_F(WidgetsTest, TextLengthsCountBytesAndNeverSplitACharacter) {
    form.txtName.SetMaxLength(3);
    form.txtName.SetFocus();
    Settle();
    auto* edit = Widget<QLineEdit>(form.txtName);
    TypeCharacters(edit, QString::fromUtf8("a\xC3\xA9\xC3\xA9"));  // a, e-acute twice
    Settle();
    // "a" and one two-byte character fill three bytes; the second has no room.
    EXPECT_EQ(form.txtName.Text(), "a\xC3\xA9");
    EXPECT_EQ(form.txtName.SelStart(), 3);
    EXPECT_EQ(edit->text(), QString::fromUtf8("a\xC3\xA9"));
}

TEST_F(WidgetsTest, PasteAndDeleteReachTheCoreAsTheWholeText) {
    form.txtName.SetText("abcd");
    form.txtName.SetMaxLength(5);
    form.txtName.SetFocus();
    Settle();
    auto* edit = Widget<QLineEdit>(form.txtName);
    edit->setCursorPosition(1);
    Settle();
    EXPECT_EQ(form.txtName.SelStart(), 1);
    QTest::keyClick(edit, Qt::Key_Delete);
    Settle();
    EXPECT_EQ(form.txtName.Text(), "acd");
    EXPECT_EQ(form.txtName.SelStart(), 1);
    QApplication::clipboard()->setText(QString::fromUtf8("\xC3\xA9\xC3\xA9"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    Settle();
    // Five bytes at most: the pasted text is cut by a whole character, the rest stays.
    EXPECT_EQ(form.txtName.Text(), "a\xC3\xA9" "cd");
    EXPECT_EQ(form.txtName.SelStart(), 3);
    EXPECT_EQ(edit->text(), QString::fromUtf8("a\xC3\xA9" "cd"));
}

TEST_F(WidgetsTest, ALockedBoxFiresKeyPressButKeepsItsText) {
    form.txtName.SetText("fixed");
    form.txtName.SetLocked(true);
    std::vector<int32_t> keys;
    form.txtName.OnKeyPress = [&keys](int32_t& key) { keys.push_back(key); };
    form.txtName.SetFocus();
    Settle();
    QTest::keyClicks(Widget(form.txtName), "zz");
    Settle();
    EXPECT_EQ(keys, (std::vector<int32_t>{'z', 'z'}));
    EXPECT_EQ(form.txtName.Text(), "fixed");
    EXPECT_EQ(Widget<QLineEdit>(form.txtName)->text(), "fixed");
}

TEST_F(WidgetsTest, PicksInListsAndCombosRunClick) {
    form.lstItems.SetFocus();
    Settle();
    form.log.clear();
    auto* list = Widget<QListWidget>(form.lstItems);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    Settle();
    EXPECT_EQ(form.lstItems.ListIndex(), 1);
    QTest::keyClick(list, Qt::Key_Up);
    Settle();
    EXPECT_EQ(form.lstItems.ListIndex(), 0);
    auto* combo = Widget<QComboBox>(form.cboKind);
    QTest::keyClick(combo, Qt::Key_Down);
    Settle();
    EXPECT_EQ(form.cboKind.Text(), "adult");
    EXPECT_EQ(form.log, (std::vector<std::string>{"list 1", "list 0", "combo adult"}));
}

TEST_F(WidgetsTest, ALockedComboTakesTheFocusAndItsKeysButNeitherOpensNorPicks) {
    form.cboKind.SetLocked(true);
    std::vector<int32_t> keys;
    form.cboKind.OnKeyDown = [&keys](int32_t& code, int32_t) { keys.push_back(code); };
    form.cboKind.SetFocus();
    Settle();
    auto* combo = Widget<QComboBox>(form.cboKind);
    QTest::mouseClick(combo, Qt::LeftButton);
    QTest::keyClick(combo, Qt::Key_Down);
    Settle();
    EXPECT_EQ(keys, (std::vector<int32_t>{vbKeyDown}));
    EXPECT_FALSE(combo->view()->isVisible());
    EXPECT_EQ(form.cboKind.ListIndex(), -1);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(std::count_if(form.log.begin(), form.log.end(), [](const std::string& e) { return e.rfind("combo", 0) == 0; }), 0);
}

TEST_F(WidgetsTest, TabFollowsTabIndexThroughTheCore) {
    form.txtName.SetTabIndex(0);
    form.cmdOK.SetTabIndex(1);
    for (Control* c : std::vector<Control*>{&form.chkOn, &form.lstItems, &form.cboKind, &form.optA, &form.optB,
                                            &form.cmdCancel})
        c->SetTabIndex(c->TabIndex() + 10);
    form.txtName.SetFocus();
    Settle();
    form.log.clear();
    QTest::keyClick(Widget(form.txtName), Qt::Key_Tab);
    Settle();
    EXPECT_EQ(form.log, (std::vector<std::string>{"lost txtName", "got cmdOK"}));
    EXPECT_TRUE(form.cmdOK.HasFocus());
    EXPECT_TRUE(Widget(form.cmdOK)->hasFocus());
    QTest::keyClick(Widget(form.cmdOK), Qt::Key_Backtab, Qt::ShiftModifier);
    Settle();
    EXPECT_TRUE(form.txtName.HasFocus());
}

TEST_F(WidgetsTest, AClickIntoAWidgetMovesTheFocusThroughTheCore) {
    form.cmdOK.SetFocus();
    Settle();
    form.log.clear();
    QTest::mouseClick(Widget(form.txtName), Qt::LeftButton);
    Settle();
    EXPECT_EQ(form.log, (std::vector<std::string>{"got txtName"}));
    EXPECT_TRUE(form.txtName.HasFocus());
}

TEST_F(WidgetsTest, TheCloseBoxAsksTheCore) {
    form.refuseClose = true;
    renderer.WindowOf(form)->close();
    Settle();
    EXPECT_TRUE(form.Loaded());
    EXPECT_TRUE(renderer.WindowOf(form)->isVisible());
    form.refuseClose = false;
    renderer.WindowOf(form)->close();
    Settle();
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(renderer.WindowOf(form), nullptr);
    EXPECT_EQ(form.log, (std::vector<std::string>{"query menu", "query menu"}));
}

TEST_F(WidgetsTest, DisabledControlsRefuseEvenBeforeTheWidgetShowsIt) {
    form.cmdOK.SetEnabled(false);
    Settle();
    QTest::mouseClick(Widget(form.cmdOK), Qt::LeftButton);
    // The widget still looks enabled (no flush yet), but the core refuses.
    form.cmdCancel.SetEnabled(false);
    QTest::mouseClick(Widget(form.cmdCancel), Qt::LeftButton);
    form.fraGroup.SetEnabled(false);
    ClickIndicator(Widget(form.optA));
    Settle();
    EXPECT_TRUE(form.log.empty());
    EXPECT_FALSE(form.optA.Value());
    EXPECT_FALSE(Widget<QRadioButton>(form.optA)->isChecked());
}

TEST_F(WidgetsTest, EnterAndEscapeActOnceThroughTheCore) {
    form.cmdOK.SetDefault(true);
    form.cmdCancel.SetCancel(true);
    form.txtName.SetFocus();
    Settle();
    QTest::keyClick(Widget(form.txtName), Qt::Key_Return);
    QTest::keyClick(Widget(form.txtName), Qt::Key_Escape);
    Settle();
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "ok"), 1);
    EXPECT_EQ(std::count(form.log.begin(), form.log.end(), "cancel"), 1);
}

TEST_F(WidgetsTest, EnterOnAFocusedButtonClicksThatButtonOnly) {
    form.cmdOK.SetDefault(true);
    form.cmdCancel.SetFocus();
    Settle();
    form.log.clear();
    QTest::keyClick(Widget(form.cmdCancel), Qt::Key_Return);
    Settle();
    EXPECT_EQ(form.log, (std::vector<std::string>{"cancel"}));
}

// A window that keeps its button in the bottom right corner.
class FResizable : public Form {
public:
    FResizable() : Form("frmResizable") {
        OnResize = [this] {
            ++resizes;
            cmdClose.Move(ScaleWidth() - 1320, ScaleHeight() - 520, 1200, 400);
        };
    }
    CommandButton& cmdClose = Add<CommandButton>("cmdClose");
    int resizes = 0;
};

TEST_F(WidgetsTest, APersonResizingTheWindowResizesTheFormWhoseHandlerLaysOut) {
    FResizable form;
    form.Show();
    Settle();
    const int before = form.resizes;
    renderer.WindowOf(form)->resize(600, 450);
    Settle();
    const int32_t perPixel = plat::qt::TwipsPerPixelX();
    EXPECT_EQ(form.ScaleWidth(), 600 * perPixel);
    EXPECT_EQ(form.ScaleHeight(), 450 * perPixel);
    EXPECT_EQ(form.resizes, before + 1);
    EXPECT_EQ(Widget(form.cmdClose)->geometry(), plat::qt::ToPixelRect(600 * perPixel - 1320, 450 * perPixel - 520, 1200, 400));
    // Code sizing the window is no person's resize: one Resize, from the core.
    form.SetInnerSize(6000, 4500);
    Settle();
    EXPECT_EQ(renderer.WindowOf(form)->size(), QSize(Px(6000), Px(4500)));
    EXPECT_EQ(form.resizes, before + 2);
}

}  // namespace
