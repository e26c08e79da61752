#include <gtest/gtest.h>

#include <string>

#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/recording_renderer.h"

namespace {

using namespace plat::ui;

// --- Pictures and image lists ------------------------------------------------------------------

TEST(Pictures, CompiledInResourcesLoadByNameWhateverTheCase) {
    const Picture on = LoadResPicture("chk_on");
    EXPECT_FALSE(on.IsNone());
    EXPECT_EQ(on.Name(), "CHK_ON");
    EXPECT_EQ(on.Width(), 16);
    EXPECT_EQ(on.Height(), 16);
    EXPECT_EQ(on.Png().substr(1, 3), "PNG");
    EXPECT_EQ(LoadResPicture("PELMO2MTI1").Width(), 32);
    EXPECT_EQ(on, LoadResPicture("CHK_ON"));
    EXPECT_FALSE(on == LoadResPicture("CHK_OFF"));
    EXPECT_THROW(LoadResPicture("NO_SUCH"), UiError);
    EXPECT_TRUE(Picture().IsNone());
    EXPECT_EQ(Picture().Width(), 0);
}

TEST(Pictures, RegistrationRefusesTakenNamesAndNonPngBytes) {
    static const unsigned char notPng[30] = {'G', 'I', 'F', '8'};
    EXPECT_THROW(RegisterPictureResource("TEST_NOT_PNG", notPng, sizeof notPng), UiError);
    EXPECT_FALSE(HasPictureResource("TEST_NOT_PNG"));
    const Picture add = LoadResPicture("ADD");
    EXPECT_THROW(RegisterPictureResource("add",
                                         reinterpret_cast<const unsigned char*>(add.Png().data()), add.Png().size()),
                 UiError);
}

TEST(ImageLists, PicturesByKeyAndByIndex) {
    ImageList list;
    list.Add("chk:on", LoadResPicture("CHK_ON"));
    list.Add("chk:off", LoadResPicture("CHK_OFF"));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item("chk:off").Name(), "CHK_OFF");
    EXPECT_EQ(list.Key(1), "chk:on");
    EXPECT_EQ(list.Item(2), list.Item("chk:off"));
    EXPECT_FALSE(list.Exists("CHK:ON"));  // keys compare exactly
    EXPECT_THROW(list.Add("chk:on", LoadResPicture("TGS")), UiError);
    EXPECT_THROW(list.Add("none", Picture()), UiError);
    EXPECT_THROW(list.Item(3), UiError);
    list.Remove("chk:on");
    EXPECT_EQ(list.Key(1), "chk:off");
    EXPECT_THROW(list.Item("chk:on"), UiError);
}

TEST(FormIcon, IsKeptAndReported) {
    Form form("frmIcon");
    EXPECT_TRUE(form.Icon().IsNone());
    form.SetIcon(LoadResPicture("APP"));
    EXPECT_EQ(form.Icon().Name(), "APP");
}

// --- HTML view -------------------------------------------------------------------------------------

TEST(HtmlViews, AreCreatedByTheirProgIdAndRecordWhereTheyWereSent) {
    plat::VirtualTimeScope time;
    Form form("frmHelp");
    auto web = form.Controls().Add(kHtmlViewProgId, "web");
    auto view = web->ObjectAs<HtmlView>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->LocationURL(), "");
    view->Navigate("/opt/help/English/LEDHtmlHelp.html");
    EXPECT_EQ(view->LocationURL(), "/opt/help/English/LEDHtmlHelp.html");
    EXPECT_EQ(view->NavigationCount(), 1);
}

TEST(HtmlViews, CannotBeCreatedOnceUnregistered) {
    Form form("frmHelp");
    UnregisterHtmlView();
    EXPECT_THROW(form.Controls().Add(kHtmlViewProgId, "web"), plat::ComError);
    EXPECT_FALSE(form.Controls().Exists("web"));
    RegisterHtmlView();
    EXPECT_NO_THROW(form.Controls().Add(kHtmlViewProgId, "web"));
}

// --- Progress bar -------------------------------------------------------------------------------------

class ProgressTest : public ::testing::Test {
protected:
    void Wait(plat::Millis ms) {
        bool done = false;
        plat::MessageLoop::Current().PostDelayed(ms, [&] { done = true; });
        plat::MessageLoop::Current().RunUntil([&] { return done; });
    }
    plat::VirtualTimeScope time_;
    Form form_{"frmBusy"};
    ProgressBar& bar_ = form_.Add<ProgressBar>("xtgUploading");
};

TEST_F(ProgressTest, HeadlessARunningBarAddsNothingToWaitFor) {
    bar_.SetRunning(true);
    EXPECT_TRUE(bar_.Running());
    EXPECT_FALSE(plat::MessageLoop::Current().DoEvents());  // nothing due
    EXPECT_EQ(bar_.Frame(), 0);
}

TEST_F(ProgressTest, UnderARendererItTicksAboutTenTimesASecondWhileVisibleAndRunning) {
    plat::ui::test::RecordingRenderer r;
    bar_.SetRunning(true);
    r.changed = 0;
    Wait(1000);
    EXPECT_EQ(bar_.Frame(), 10);
    EXPECT_EQ(r.changed, 10);
    bar_.SetVisible(false);
    Wait(1000);
    EXPECT_EQ(bar_.Frame(), 10);
    bar_.SetVisible(true);
    Wait(500);
    EXPECT_EQ(bar_.Frame(), 15);
    bar_.SetRunning(false);
    Wait(1000);
    EXPECT_EQ(bar_.Frame(), 15);
}

}  // namespace
