#include <gtest/gtest.h>

#include "host/host_application.h"
#include "host/path_helper.h"
#include "host/ui_interfaces.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(PathHelperTest, AddBackslashGivesExactlyOneSeparator) {
    const host::CPathHelper& paths = host::PathHelper();
    EXPECT_EQ(paths.AddBackslash("/opt/orvik"), "/opt/orvik/");
    EXPECT_EQ(paths.AddBackslash("/opt/orvik/"), "/opt/orvik/");
    EXPECT_EQ(paths.AddBackslash("/opt/orvik///"), "/opt/orvik/");
    EXPECT_EQ(paths.AddBackslash("/"), "/");
    EXPECT_EQ(paths.AddBackslash(""), "");
}

TEST(PathHelperTest, FileExistsOnlyForFiles) {
    test_support::TempDir folder;
    std::string file = folder.Write("a.txt", "x");
    EXPECT_TRUE(host::PathHelper().FileExists(file));
    EXPECT_FALSE(host::PathHelper().FileExists(folder.Path()));
    EXPECT_FALSE(host::PathHelper().FileExists(folder.File("b.txt")));
    EXPECT_FALSE(host::PathHelper().FileExists(""));
}

TEST(PathHelperTest, LongToText) {
    EXPECT_EQ(host::PathHelper().LongToText(0), "0");
    EXPECT_EQ(host::PathHelper().LongToText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(host::PathHelper().LongToText(4095), "4095");
}

TEST(HostResourcesTest, TextsAndPictures) {
    EXPECT_FALSE(host::HostResources().Text(1005).empty());
    EXPECT_EQ(host::HostResources().Text(4711), "");
    auto picture = host::HostResources().Picture(101);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->IsEmpty());
}

TEST(HostApplicationTest, StopIsConfirmedByTheHostsQuestionElseByTheAnswerSet) {
    auto& application = host::HostApplication();
    application.SetConfirmStopAnswer(false);
    int asked = 0;
    bool reply = true;
    EXPECT_FALSE(application.SetConfirmStopQuestion([&] { ++asked; return reply; }));
    EXPECT_TRUE(application.ConfirmStop());
    reply = false;
    EXPECT_FALSE(application.ConfirmStop());
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(application.SetConfirmStopQuestion({}));  // gives back the question it replaces
    EXPECT_FALSE(application.ConfirmStop());
    application.SetConfirmStopAnswer(true);
    EXPECT_TRUE(application.ConfirmStop());
    EXPECT_EQ(asked, 2);
}

TEST(CallBackTest, RaiseReachesTheSink) {
    std::vector<std::string> seen;
    auto callBack = std::make_shared<host::CCallBack>();
    callBack->Raise("Change", {});  // nobody listens yet: dropped
    callBack->SetSink([&](const std::string& name, const std::vector<plat::Variant>& args) {
        seen.push_back(name + "/" + std::to_string(args.size()));
    });
    std::shared_ptr<host::ICallBack> asInterface = callBack;
    asInterface->Raise("Change", {});
    asInterface->Raise("Other", {plat::Variant(1), plat::Variant("x")});
    EXPECT_EQ(seen, (std::vector<std::string>{"Change/0", "Other/2"}));
}

}  // namespace

#include "host/report.h"
#include "host/run_context.h"

namespace {

TEST(RunContextTest, RecordsStepsAndDoneElements) {
    host::CTestSetup setup;
    setup.SetStepCode(2);
    EXPECT_EQ(setup.StepCode(), 2);
    EXPECT_FALSE(setup.MayRun(nullptr));
    auto record = std::make_shared<host::CMtiRecord>();
    record->Initialize("Pelmo2", 4);
    record->SetData("Pelmo Q5 F", "123", "1.2");
    setup.MtiRecords()->Add(record);
    setup.MtiRecords()->Add(nullptr);
    ASSERT_EQ(setup.MtiRecords()->Count(), 1);
    EXPECT_EQ(setup.MtiRecords()->Item(1)->SerialNo(), "123");
    EXPECT_EQ(setup.MtiRecords()->Item(2), nullptr);
    setup.ElementDone(nullptr);
    EXPECT_EQ(setup.Done().size(), 1u);
}

TEST(LoadContextTest, LeaveEndsNestedEntries) {
    host::CLoadContext context;
    int32_t outer = context.Enter("Pelmo2", "5");
    context.Enter("Other", "1");
    EXPECT_EQ(context.Entries().size(), 2u);
    context.Leave(outer);
    EXPECT_TRUE(context.Entries().empty());
    context.Leave(outer);  // already left: nothing happens
}

TEST(ReportTest, TranslatesInItsLanguageAndKeepsTables) {
    test_support::TempDir folder;
    folder.Write("German/Pelmo2.lng", "312=Ergebnis:\n");
    host::LanguageService().SetLanguagesRoot(folder.Path());
    host::CReport report("German", 1, host::IReport::OnlyFailed | host::IReport::LimitColumns);
    host::LanguageService().SetLanguagesRoot("");  // back to the default root
    EXPECT_EQ(report.Translate("Pelmo2", "312::Result:"), "Ergebnis:");
    EXPECT_EQ(report.Translate("Pelmo2", "231::Value"), "Value");
    EXPECT_EQ(report.PrintLevel(), 1);
    EXPECT_EQ(report.PrintOptions() & host::IReport::LimitColumns, host::IReport::LimitColumns);
    report.SetFontSize(10);
    report.SetFontStyle(0);
    report.SetGridLines(1);
    report.AddTable("<+560;", "h", "b", 0, 0, 0);
    ASSERT_EQ(report.Tables().size(), 1u);
    EXPECT_EQ(report.Tables()[0].gridLines, 1);
    EXPECT_EQ(report.Tables()[0].body, "b");
    EXPECT_EQ(report.UsableWidth(10), host::CReport::PageWidth);
}

}  // namespace
