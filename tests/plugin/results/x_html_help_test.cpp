// The help viewer: the page of a test in the user's language, English as the
// fallback, only plain names, and the four pages the build puts beside the
// plug-in library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "host/host_application.h"
#include "host/registry_key.h"
#include "platform/com/com.h"
#include "platform/ui/html_view.h"
#include "plugin/results/x_html_help.h"
#include "plugin/shell/html_help_interface.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::XHtmlHelp;

class HtmlHelpTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        lib_ = root_ + "/lib";
        XHtmlHelp::SetLibraryFolderForTests(lib_ + "/");
    }
    void TearDown() override { XHtmlHelp::SetLibraryFolderForTests(""); }
    void SetLanguage(const std::string& language) {
        host::CRegistryKey key;
        key.Create(host::HKey::LocalMachine, host::HostResources().Text(host::CHostResources::LanguageKeyText));
        key.WriteValue("GUI", language);
    }
    std::string Page(const std::string& relative) { return dir_.Write("lib/Help/" + relative, "<html/>"); }

    std::string lib_;
};

TEST_F(HtmlHelpTest, TheUsersLanguageFirstThenEnglish) {
    const std::string english = Page("English/LEDHtmlHelp.html");
    const std::string german = Page("German/LEDHtmlHelp.html");
    XHtmlHelp help;
    SetLanguage("German");
    EXPECT_TRUE(help.Initialize("LEDHtmlHelp.html"));
    EXPECT_EQ(help.Browser()->LocationURL(), german);
    SetLanguage("French");
    EXPECT_TRUE(help.Initialize("LEDHtmlHelp.html"));
    EXPECT_EQ(help.Browser()->LocationURL(), english);
    SetLanguage("German");
    EXPECT_EQ(help.ResolveHelpFile("PhotoDiodeHtmlHelp.html"), "");
}

TEST_F(HtmlHelpTest, NoPageLeavesTheViewWhereItWas) {
    XHtmlHelp help;
    EXPECT_FALSE(help.Initialize("LEDHtmlHelp.html"));
    EXPECT_FALSE(help.Initialize(""));
    EXPECT_EQ(help.Browser()->NavigationCount(), 0);
    const std::string page = Page("English/LEDHtmlHelp.html");
    EXPECT_TRUE(help.Initialize("LEDHtmlHelp.html"));
    EXPECT_FALSE(help.Initialize("ResistanceHtmlHelp.html"));
    EXPECT_EQ(help.Browser()->LocationURL(), page);
    EXPECT_EQ(help.Browser()->NavigationCount(), 1);
}

TEST_F(HtmlHelpTest, OnlyPlainNamesAreUsed) {
    Page("English/LEDHtmlHelp.html");
    dir_.Write("lib/secret.html", "<html/>");
    dir_.Write("lib/Help/secret.html", "<html/>");
    XHtmlHelp help;
    for (const char* name : {"../secret.html", "../../secret.html", "English/../LEDHtmlHelp.html", "/etc/passwd",
                             "..", "a\\b.html"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(help.ResolveHelpFile(name), "");
    }
    // An unusable language falls back to English rather than leaving the folder.
    for (const char* language : {"..", "../Help/English", "English/..", "a/b", ""}) {
        SCOPED_TRACE(language);
        SetLanguage(language);
        EXPECT_EQ(help.ResolveHelpFile("LEDHtmlHelp.html"), lib_ + "/Help/English/LEDHtmlHelp.html");
    }
    SetLanguage("..");
    EXPECT_EQ(help.ResolveHelpFile("secret.html"), "");
}

TEST_F(HtmlHelpTest, AFolderDifferingOnlyInCaseIsFound) {
    const std::string german = Page("german/LEDHtmlHelp.html");
    const std::string english = Page("ENGLISH/ResistanceHtmlHelp.html");
    XHtmlHelp help;
    SetLanguage("German");
    EXPECT_EQ(help.ResolveHelpFile("LEDHtmlHelp.html"), german);
    EXPECT_EQ(help.ResolveHelpFile("ResistanceHtmlHelp.html"), english);
}

TEST_F(HtmlHelpTest, WithoutItsViewTheViewerStaysEmpty) {
    Page("English/LEDHtmlHelp.html");
    plat::ui::UnregisterHtmlView();
    XHtmlHelp help;
    plat::ui::RegisterHtmlView();
    EXPECT_EQ(help.Browser(), nullptr);
    EXPECT_FALSE(help.Initialize("LEDHtmlHelp.html"));
}

TEST_F(HtmlHelpTest, TheViewOverlapsEveryEdge) {
    XHtmlHelp help;
    auto& web = help.Controls().Item("web");
    help.SetSize(3000, 2000);
    EXPECT_EQ(web.Left(), -30);
    EXPECT_EQ(web.Top(), -30);
    EXPECT_EQ(web.Width(), 3060);
    EXPECT_EQ(web.Height(), 2060);
    help.SetSize(1200, 900);
    EXPECT_EQ(web.Width(), 1260);
    EXPECT_EQ(web.Height(), 960);
}

// The pages the build copies beside the plug-in library, through the viewer
// that the library serves.
TEST_F(HtmlHelpTest, EachTestsPageResolvesBesideTheLibrary) {
    XHtmlHelp::SetLibraryFolderForTests("");
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    const std::string library = std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
    plat::RegisterServer(library);
    SetLanguage("Klingon");
    {
        auto object = plat::CreateObject("OrvikPelmo2.XHtmlHelp");
        auto help = std::dynamic_pointer_cast<plugin::IHtmlHelp>(object);
        auto control = std::dynamic_pointer_cast<plat::ui::UserControl>(object);
        ASSERT_TRUE(help && control);
        for (const char* page : {"SpO2SimulationHtmlHelp.html", "LEDHtmlHelp.html", "PhotoDiodeHtmlHelp.html",
                                 "ResistanceHtmlHelp.html"}) {
            SCOPED_TRACE(page);
            EXPECT_TRUE(help->Initialize(page));
            auto browser = dynamic_cast<plat::ui::ObjectControl&>(control->Controls().Item("web")).ObjectAs<plat::ui::HtmlView>();
            ASSERT_TRUE(browser);
            const std::filesystem::path shown = browser->LocationURL();
            EXPECT_EQ(shown.filename(), page);
            EXPECT_EQ(std::filesystem::canonical(shown.parent_path()),
                      std::filesystem::canonical(std::string(bin ? bin : ".") + "/Help/English"));
        }
    }
    plat::UnregisterServer(library);
}

}  // namespace
