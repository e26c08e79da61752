// Metrics from the screen and fonts, pictures in windows, trees and toolbars.
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QTreeWidget>

#include "platform/ui/image_list.h"
#include "platform/ui/metrics.h"
#include "tests/platform/qt/qt_fixture.h"

namespace {

using namespace plat::ui;

class FPictures : public Form {
public:
    FPictures() : Form("frmPictures") {
        images.Add("tgs", LoadResPicture("TGS"));
        images.Add("chk:on", LoadResPicture("CHK_ON"));
        tvwTests.SetImageList(&images);
        tvwTests.Move(120, 600, 3000, 2000);
        tvwTests.Add("", "group", "Group", "tgs");
        tvwTests.Add("group", "spo2", "SpO2", "chk:on");
        tvwTests.Add("group", "probe", "Probe", "no such key");
        tbrMain.SetImageList(&images);
        tbrMain.Move(0, 0, 4800, 500);
        tbrMain.Add("run", "Run", ButtonStyle::Default, "tgs");
        SetIcon(LoadResPicture("APP"));
    }
    ImageList& images = Add<ImageList>("imlPictures");
    TreeView& tvwTests = Add<TreeView>("tvwTests");
    Toolbar& tbrMain = Add<Toolbar>("tbrMain");
};

using LooksTest = qt_test::RendererFixture;

TEST_F(LooksTest, MetricsComeFromTheScreenTheStyleAndTheFont) {
    const TextMetrics& m = Metrics();
    // Design units follow the font: the layouts' character cell (6 x 13 pixels
    // at 15 twips a pixel) holds an average character and a line of the font
    // the controls draw with.
    EXPECT_EQ(m.TwipsPerPixelX(), m.TwipsPerPixelY());
    EXPECT_LE(m.TwipsPerPixelX(), 15);
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    EXPECT_LE(m.TextWidth(letters, Font{}), 52 * 6 * 15);
    EXPECT_LE(m.TextHeight("x", Font{}), 13 * 15);
    EXPECT_EQ(m.VScrollBarWidth(), QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    Font plain;
    Font bold = plain;
    bold.bold = true;
    Font big = plain;
    big.size = 16;
    const int32_t narrow = m.TextWidth("iiii", plain);
    const int32_t wide = m.TextWidth("WWWW", plain);
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);  // real glyph widths, not a fixed width per character
    EXPECT_GE(m.TextWidth("WWWW", bold), wide);
    EXPECT_GT(m.TextWidth("WWWW", big), wide);
    EXPECT_EQ(m.TextWidth("WWWW\r\nii", plain), wide);  // the widest line
    EXPECT_EQ(m.TextWidth("", plain), 0);
    const int32_t line = m.TextHeight("x", plain);
    EXPECT_GT(line, 0);
    EXPECT_EQ(m.TextHeight("", plain), line);
    EXPECT_NEAR(m.TextHeight("a\r\nb\nc", plain), 3 * line, 15);
}

TEST(QtRendererInstall, TheRendererGoingAwayGivesTheHeadlessCoreBack) {
    plat::MessageLoop::Reset();
    const TextMetrics* headless = &Metrics();
    {
        plat::qt::QtRenderer renderer;
        renderer.Install();
        EXPECT_NE(&Metrics(), headless);
        EXPECT_EQ(CurrentRenderer(), &renderer);
    }
    EXPECT_EQ(&Metrics(), headless);
    EXPECT_EQ(CurrentRenderer(), nullptr);
    // Message boxes answer headless again: the default button, no window.
    EXPECT_EQ(MsgBox("Headless", vbYesNo | vbDefaultButton2), vbNo);
    plat::MessageLoop::Reset();
}

TEST_F(LooksTest, ImagesOfListsShowOnNodesButtonsAndTheWindow) {
    FPictures form;
    form.Show();
    Settle();
    auto* tree = Widget<QTreeWidget>(form.tvwTests);
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItem* group = tree->topLevelItem(0);
    EXPECT_FALSE(group->icon(0).isNull());
    EXPECT_FALSE(group->child(0)->icon(0).isNull());
    EXPECT_TRUE(group->child(1)->icon(0).isNull());  // an unknown key shows no image
    auto* bar = Widget<QToolBar>(form.tbrMain);
    EXPECT_FALSE(bar->actions().at(0)->icon().isNull());
    EXPECT_FALSE(renderer.WindowOf(form)->windowIcon().isNull());
    // A ticked node shows another image once its key changes.
    const qint64 before = group->child(0)->icon(0).cacheKey();
    form.images.Add("chk:off", LoadResPicture("CHK_OFF"));
    form.tvwTests.Node("spo2").SetImage("chk:off");
    Settle();
    EXPECT_NE(group->child(0)->icon(0).cacheKey(), before);
}

TEST_F(LooksTest, AnImageListShowsNothingOfItsOwn) {
    FPictures form;
    form.Show();
    Settle();
    QWidget* list = renderer.WidgetOf(form.images);
    EXPECT_TRUE(list == nullptr || !list->isVisible());
}

}  // namespace
