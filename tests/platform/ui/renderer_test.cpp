#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/metrics.h"
#include "platform/ui/renderer.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/recording_renderer.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::RecordingRenderer;
using plat::ui::test::ScriptedOperator;

class XPane : public UserControl {
public:
    TextBox& txtInner = Add<TextBox>("txtInner");
};

class FDialog : public Form {
public:
    FDialog() : Form("frmDialog") {
        chkOn.OnClick = [this] { seenAtClick = seen ? seen->size() : 0; };
        cmdOK.OnClick = [this] { Hide(); };
    }
    CommandButton& cmdOK = Add<CommandButton>("cmdOK");
    CheckBox& chkOn = Add<CheckBox>("chkOn");
    TextBox& txtName = Add<TextBox>("txtName");
    const std::vector<std::string>* seen = nullptr;
    size_t seenAtClick = 0;
};

class RendererTest : public ::testing::Test {
protected:
    void TearDown() override { plat::UnregisterClass("UiTest.XPane"); }
    std::vector<std::string> Take() { return r_.Take(); }
    plat::VirtualTimeScope time_;
    RecordingRenderer r_;
};

using Log = std::vector<std::string>;

TEST_F(RendererTest, HeadlessByDefaultAndRestoredOnUninstall) {
    Renderer* mine = CurrentRenderer();
    EXPECT_EQ(mine, &r_);
    {
        RecordingRenderer inner;
        EXPECT_EQ(CurrentRenderer(), &inner);
    }
    EXPECT_EQ(CurrentRenderer(), &r_);
}

TEST_F(RendererTest, FormLifeIsReportedInOrder) {
    {
        FDialog dlg;
        EXPECT_EQ(Take(), (Log{"added cmdOK", "added chkOn", "added txtName"}));
        dlg.Show();
        EXPECT_EQ(Take(), (Log{"loaded frmDialog", "shown frmDialog", "focus ->cmdOK"}));
        dlg.Show();  // already shown: nothing new
        EXPECT_TRUE(Take().empty());
        dlg.Hide();
        dlg.Hide();
        EXPECT_EQ(Take(), (Log{"hidden frmDialog"}));
        dlg.Show();
        ASSERT_TRUE(dlg.Unload());
        EXPECT_EQ(Take(), (Log{"shown frmDialog", "hidden frmDialog", "focus cmdOK>-", "unloaded frmDialog"}));
    }
    EXPECT_EQ(Take(), (Log{"destroyed frmDialog"}));
}

TEST_F(RendererTest, CodeAndUserChangesAreReportedOnceAndBeforeTheHandler) {
    FDialog dlg;
    dlg.Show();
    Take();
    dlg.txtName.SetText("abc");
    dlg.txtName.SetText("abc");  // the same text again still moves the caret: reported
    dlg.chkOn.SetCaption("On");
    dlg.chkOn.SetCaption("On");  // unchanged: not reported
    dlg.chkOn.SetEnabled(true);  // unchanged
    dlg.chkOn.Move(10, 20, 300, 200);
    dlg.chkOn.SetBackColor(vbRed);
    dlg.chkOn.SetFontBold(true);
    dlg.SetCaption("Dialog");
    dlg.Move(0, 0, 5000, 4000);
    EXPECT_EQ(Take(), (Log{"changed txtName", "changed txtName", "changed chkOn", "changed chkOn", "changed chkOn",
                           "changed chkOn", "host frmDialog", "host frmDialog"}));

    dlg.seen = &r_.log;
    ASSERT_TRUE(dlg.chkOn.Click());  // a person: focus moves, value changes, then the handler
    EXPECT_EQ(r_.log, (Log{"focus cmdOK>chkOn", "changed chkOn"}));
    EXPECT_EQ(dlg.seenAtClick, 2u);
}

TEST_F(RendererTest, HidingTheFocusedControlDropsTheFocusVisibly) {
    FDialog dlg;
    dlg.Show();
    ASSERT_TRUE(dlg.txtName.SetFocus());
    Take();
    dlg.txtName.SetVisible(false);
    EXPECT_EQ(Take(), (Log{"changed txtName", "focus txtName>-"}));
}

TEST_F(RendererTest, RunTimeControlsAndEmbeddedHostsAreReported) {
    plat::RegisterClass("UiTest.XPane", [] { return std::make_shared<XPane>(); });
    FDialog dlg;
    dlg.Show();
    Take();
    auto ext = dlg.Controls().Add("UiTest.XPane", "xmdPane");
    auto pane = ext->ObjectAs<XPane>();
    // The pane's own control is announced as it is made, before the pane sits anywhere.
    EXPECT_EQ(Take(), (Log{"added txtInner", "added xmdPane"}));
    pane->txtInner.SetText("x");
    pane->SetEnabled(false);
    EXPECT_EQ(Take(), (Log{"changed txtInner", "host xmdPane"}));
    dlg.Controls().Remove("xmdPane");
    ext.reset();
    EXPECT_EQ(Take(), (Log{"removed xmdPane"}));
    pane.reset();  // destroyed only now, sitting nowhere; its control goes without a word
    EXPECT_EQ(Take(), (Log{"destroyed (free)"}));
}

TEST_F(RendererTest, UnloadRemovesRunTimeControlsBeforeSayingUnloaded) {
    plat::RegisterClass("UiTest.XPane", [] { return std::make_shared<XPane>(); });
    FDialog dlg;
    dlg.Show();
    dlg.Controls().Add("UiTest.XPane", "xmdPane");
    Take();
    dlg.Unload();
    // The pane is released with its extender, so it is destroyed on the way.
    EXPECT_EQ(Take(), (Log{"hidden frmDialog", "focus cmdOK>-", "removed xmdPane", "destroyed (free)", "unloaded frmDialog"}));
}

TEST_F(RendererTest, ModalShowIsReportedBeforeTheLoopRuns) {
    FDialog dlg;
    Take();
    ScriptedOperator op;
    op.Do("frmDialog", "check the log", [&](Form&) {
        const Log log = r_.log;
        EXPECT_NE(std::find(log.begin(), log.end(), "modal frmDialog"), log.end());
    });
    op.Click("frmDialog", "cmdOK");
    dlg.Show(ShowMode::Modal);
    EXPECT_EQ(r_.log.back(), "hidden frmDialog");
}

TEST_F(RendererTest, NewControlsReportTheirPartsAndTheHtmlViewItsPage) {
    Form form("frmNew");
    auto& tree = form.Add<TreeView>("tvw");
    auto& bar = form.Add<Toolbar>("tbr");
    auto& grid = form.Add<Grid>("grd");
    grid.SetRows(2);
    grid.SetCols(2);
    tree.Add("", "root", "Root");
    bar.Add("Add");
    Take();
    tree.Node("root").SetImage("chk:on");
    tree.Node("root").SetImage("chk:on");  // unchanged
    bar.Button(1).SetEnabled(false);
    grid.SetCellText(1, 1, "x");
    grid.SetCellTag(1, 1, "key");  // a tag shows nothing
    auto web = form.Controls().Add(kHtmlViewProgId, "web");
    EXPECT_EQ(Take(), (Log{"changed tvw", "changed tbr", "changed grd", "added web"}));
    web->ObjectAs<HtmlView>()->Navigate("help.html");
    form.SetIcon(LoadResPicture("APP"));
    EXPECT_EQ(Take(), (Log{"object", "host frmNew"}));
}

TEST_F(RendererTest, ControlsOutsideAHostAreNotReported) {
    TextBox loose;
    loose.SetText("x");
    loose.SetBackColor(vbWhite);
    EXPECT_TRUE(Take().empty());
}

TEST(RendererSeam, NothingIsInstalledByDefault) { EXPECT_EQ(CurrentRenderer(), nullptr); }

// --- Metrics and colours ----------------------------------------------------------------

TEST(Metrics, HeadlessValuesAreFixed) {
    const TextMetrics& m = Metrics();
    EXPECT_EQ(m.TwipsPerPixelX(), 15);
    EXPECT_EQ(m.TwipsPerPixelY(), 15);
    EXPECT_EQ(m.VScrollBarWidth(), 17);
    Font big{"Arial", 14.5, true, true};
    EXPECT_EQ(m.TextWidth("abcd", Font{}), 4 * 6 * 15);
    EXPECT_EQ(m.TextWidth("abcd", big), m.TextWidth("abcd", Font{}));
    EXPECT_EQ(m.TextHeight("abcd", Font{}), 13 * 15);
}

TEST(Metrics, LinesSplitAtEveryLineEndAndCharactersAreCodePoints) {
    const TextMetrics& m = Metrics();
    EXPECT_EQ(m.TextHeight("a\r\nb\nc\rd", Font{}), 4 * 13 * 15);
    EXPECT_EQ(m.TextHeight("", Font{}), 13 * 15);
    EXPECT_EQ(m.TextHeight("a\r\n", Font{}), 2 * 13 * 15);
    EXPECT_EQ(m.TextWidth("ab\r\nabcde\r\nabc", Font{}), 5 * 6 * 15);
    EXPECT_EQ(m.TextWidth("\xC2\xB0" "C", Font{}), 2 * 6 * 15);  // "°C": two characters, three bytes
}

TEST(Metrics, AnInstalledServiceAnswersUntilRemoved) {
    struct Fine final : TextMetrics {
        int32_t TwipsPerPixelX() const override { return 12; }
        int32_t TwipsPerPixelY() const override { return 12; }
        int32_t VScrollBarWidth() const override { return 14; }
        int32_t TextWidth(std::string_view, const Font&) const override { return 1; }
        int32_t TextHeight(std::string_view, const Font&) const override { return 2; }
    } fine;
    EXPECT_EQ(SetTextMetrics(&fine), nullptr);
    EXPECT_EQ(Metrics().TwipsPerPixelX(), 12);
    EXPECT_EQ(Metrics().VScrollBarWidth(), 14);
    EXPECT_EQ(SetTextMetrics(nullptr), &fine);
    EXPECT_EQ(Metrics().TwipsPerPixelX(), 15);
}

TEST(Colors, PlainAndSystemColours) {
    EXPECT_EQ(Rgb(255, 0, 0), 255);
    EXPECT_EQ(Rgb(0xFF, 0xFF, 0xC0), 0xC0FFFF);  // the forms' light yellow
    EXPECT_EQ(BlueOf(0xC0FFFF), 0xC0);
    EXPECT_TRUE(IsSystemColor(vbButtonFace));
    EXPECT_FALSE(IsSystemColor(vbWhite));
    EXPECT_EQ(static_cast<uint32_t>(vbButtonText), 0x80000012u);
    EXPECT_EQ(static_cast<uint32_t>(vbHighlightText), 0x8000000Eu);
    EXPECT_EQ(SystemColorIndex(vbButtonFace), 0x0F);
    EXPECT_EQ(ResolveColor(vbRed), vbRed);
    EXPECT_EQ(ResolveColor(vbWindowBackground), vbWhite);
    EXPECT_EQ(ResolveColor(vbButtonText), vbBlack);
    EXPECT_EQ(ResolveColor(SystemColor(0x7F)), ResolveColor(vbButtonFace));
}

TEST(Colors, ControlsStartWithTheButtonColours) {
    Label l;
    EXPECT_EQ(l.BackColor(), vbButtonFace);
    EXPECT_EQ(l.ForeColor(), vbButtonText);
    EXPECT_EQ(l.Font(), Font{});
}

}  // namespace
