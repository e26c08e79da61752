// The settings page of the plug-in's defaults, headless: what it shows for the
// stored defaults, its repairs, its clicks and "Change", the R-curve viewer,
// and the defaults written and read back.
#include "plugin/shell/x_plugin_setup.h"

#include <gtest/gtest.h>

#include "platform/com/registry.h"
#include "platform/loop/virtual_time_scope.h"
#include "plugin/config/config_classes.h"
#include "plugin/shell/f_element_setup.h"
#include "plugin/shell/plugin_setup.h"
#include "plugin/shell/shell_classes.h"
#include "tests/support/sandbox.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using plat::ui::test::ScriptedOperator;
using plugin::CPluginSetup;
using plugin::XPluginSetup;

constexpr std::string_view kKey = "Software\\Velam\\Orvik\\Pelmo2";

class PluginSetupPageTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        Write("Path", root_ + "/makes/");
        plugin::RegisterConfigClasses();
        plugin::RegisterShellClasses();
    }
    void TearDown() override {
        for (const auto& served : plugin::ConfigClasses()) plat::UnregisterClass(served.progId);
        for (const auto& served : plugin::ShellClasses()) plat::UnregisterClass(served.progId);
    }
    static void Write(std::string_view name, std::string_view value) {
        plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, kKey, name, value);
    }
    static std::string Stored(std::string_view name) {
        return plat::Registry::Instance().ReadValue(plat::Hive::LocalMachine, kKey, name);
    }
    static void SaveMake(const std::string& name, const std::string& file) {
        auto make = std::make_shared<makes::COximeterMake>();
        make->SetName(name);
        make->SetRCurve(std::make_shared<makes::RCurveCollection>());
        for (int32_t spo2 = 50; spo2 <= 100; ++spo2) make->AddRValue(spo2, "1");
        ASSERT_TRUE(makes::SaveMakesFile(make, file, kKey));
    }
    // A page opened on the settings object, its "Change" events counted.
    std::shared_ptr<XPluginSetup> Open() {
        auto page = std::make_shared<XPluginSetup>();
        page->SetCallBack(callBack_);
        page->Initialize(plat::Variant(std::static_pointer_cast<plat::Object>(setup_)));
        return page;
    }
    static plat::ui::ComboBox& Makes(XPluginSetup& page) {
        return *page.Controls().FindAs<plat::ui::ComboBox>("cboDefaultOximeter");
    }
    static plat::ui::CheckBox& Download(XPluginSetup& page) {
        return *page.Controls().FindAs<plat::ui::CheckBox>("chkDownloadCustom");
    }
    static plat::ui::CommandButton& Viewer(XPluginSetup& page) {
        return *page.Controls().FindAs<plat::ui::CommandButton>("cmdEditRcurve");
    }

    std::shared_ptr<CPluginSetup> setup_ = std::make_shared<CPluginSetup>();
    int32_t changes_ = 0;
    std::shared_ptr<host::CCallBack> callBack_ = std::make_shared<host::CCallBack>(
        [this](const std::string& name, const std::vector<plat::Variant>& args) {
            EXPECT_EQ(name, "Change");
            EXPECT_TRUE(args.empty());
            ++changes_;
        });
};

TEST_F(PluginSetupPageTest, WithNothingStoredTheFirstBuiltInMakeShowsAndCustomControlsAreOff) {
    SaveMake("Acme", "acme.txt");
    auto page = Open();
    ASSERT_EQ(Makes(*page).ListCount(), 11);
    EXPECT_EQ(Makes(*page).List(5), "Masimo");
    EXPECT_EQ(Makes(*page).List(10), "Acme");
    EXPECT_EQ(Makes(*page).ListIndex(), 0);
    EXPECT_EQ(Download(*page).Value(), 0);
    EXPECT_FALSE(Viewer(*page).Enabled());
    EXPECT_FALSE(Download(*page).Enabled());
    EXPECT_EQ(setup_->DefaultOximeterLoc(), 0);
    EXPECT_EQ(setup_->DefaultCustomMakeName(), "BCI");
    EXPECT_EQ(changes_, 0) << "opening the page is no change";
    EXPECT_EQ(page->Controls().Item("fraMTISettings").Caption(), "Defaults");
    EXPECT_EQ(page->Controls().Item("chkDownloadCustom").FontName(), "Tahoma");
    auto help = page->Controls().FindAs<plat::ui::ObjectControl>("xhtHelpText")->ObjectAs<host::XHelpText>();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->Text().rfind("These defaults will be used", 0), 0u);
}

TEST_F(PluginSetupPageTest, AStoredDefaultThatNamesNoMakeFallsBackAndIsRepairedAtOnce) {
    SaveMake("Acme", "acme.txt");
    for (const char* stored : {"12", "-1", "10"}) {
        Write("DefaultMakeLocation", stored);
        Write("DefaultCustomMakeName", "Gone");
        auto page = Open();
        EXPECT_EQ(Makes(*page).ListIndex(), 0) << stored;
        EXPECT_EQ(setup_->DefaultOximeterLoc(), 0) << stored;
        EXPECT_EQ(Stored("DefaultMakeLocation"), "0") << stored;
    }
    Write("DefaultMakeLocation", "5");
    auto page = Open();
    EXPECT_EQ(Makes(*page).Text(), "Masimo");
    EXPECT_EQ(setup_->DefaultCustomMakeName(), "Masimo");
    EXPECT_EQ(changes_, 0);
}

TEST_F(PluginSetupPageTest, TheStoredNameFindsItsMakeWhateverTheIndexAndLetterCase) {
    SaveMake("Acme", "acme.txt");
    SaveMake("My Oximeter", "mine.txt");
    Write("DefaultMakeLocation", "3");
    Write("DefaultCustomMakeName", "my oximeter");
    Write("DefaultDownloadPref", "1");
    auto page = Open();
    EXPECT_EQ(Makes(*page).Text(), "My Oximeter");
    EXPECT_EQ(setup_->DefaultOximeterLoc(), 11);
    EXPECT_EQ(setup_->DefaultCustomMakeName(), "My Oximeter");
    EXPECT_TRUE(setup_->DefaultDownloadPref());
    EXPECT_EQ(Download(*page).Value(), 1);
    EXPECT_TRUE(Viewer(*page).Enabled());
    EXPECT_TRUE(Download(*page).Enabled());
}

TEST_F(PluginSetupPageTest, EachClickRaisesOneChangeAndTheDefaultsAreWrittenAndReadBack) {
    SaveMake("Acme", "acme.txt");
    auto page = Open();
    ASSERT_TRUE(Makes(*page).PickItem(6));
    EXPECT_EQ(setup_->DefaultCustomMakeName(), "Nellcor");
    EXPECT_EQ(changes_, 1);
    ASSERT_TRUE(Makes(*page).PickItem(10));
    EXPECT_EQ(changes_, 2);
    ASSERT_TRUE(Download(*page).Click());
    EXPECT_EQ(changes_, 3);
    EXPECT_TRUE(setup_->DefaultDownloadPref());
    setup_->RegSave({}, {});

    auto other = std::make_shared<CPluginSetup>();
    setup_ = other;
    auto reopened = Open();
    EXPECT_EQ(Makes(*reopened).Text(), "Acme");
    EXPECT_EQ(other->DefaultOximeterLoc(), 10);
    EXPECT_EQ(other->DefaultCustomMakeName(), "Acme");
    EXPECT_TRUE(other->DefaultDownloadPref());
    EXPECT_EQ(Download(*reopened).Value(), 1);
}

TEST_F(PluginSetupPageTest, TheViewerChangesTheMakeOnlyWhenTheOperatorChoseWithClose) {
    plat::VirtualTimeScope time;
    SaveMake("Acme", "acme.txt");
    SaveMake("Oxi Two", "oxi.txt");
    auto page = Open();
    ASSERT_TRUE(Makes(*page).PickItem(10));
    changes_ = 0;

    ScriptedOperator op;
    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).Close("FMakeDetails");
    ASSERT_TRUE(Viewer(*page).Click());
    EXPECT_EQ(Makes(*page).Text(), "Acme") << "the close box is no choice";
    EXPECT_EQ(changes_, 0);

    op.Pick("FMakeDetails", "xcmCustomMake.cboMakeName", 1).Click("FMakeDetails", "cmdClose");
    ASSERT_TRUE(Viewer(*page).Click());
    EXPECT_EQ(Makes(*page).Text(), "Oxi Two");
    EXPECT_EQ(setup_->DefaultOximeterLoc(), 11);
    EXPECT_EQ(changes_, 1);
}

TEST_F(PluginSetupPageTest, TheSettingsObjectsDialogHoldsThePage) {
    auto dialog = setup_->CreateDialog();
    ASSERT_NE(std::dynamic_pointer_cast<plugin::FElementSetup>(dialog), nullptr);
    auto page = std::dynamic_pointer_cast<XPluginSetup>(setup_->CtrlPanel());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Makes(*page).ListIndex(), 0);
    dialog->SetLocked(true);
    EXPECT_TRUE(page->Locked());
    EXPECT_TRUE(Makes(*page).Enabled()) << "a locked page stays editable";
    dialog->Unload();
}

}  // namespace

namespace {

class HostWindow : public plat::ui::Form {
public:
    HostWindow() : Form("frmHostSettings") { SetInnerSize(6600, 3400); }
};

TEST_F(PluginSetupPageTest, ThePlugInLibrarysSettingsDialogDocksItsPageIntoTheHostsWindow) {
    for (const auto& served : plugin::ShellClasses()) plat::UnregisterClass(served.progId);
    for (const auto& served : plugin::ConfigClasses()) plat::UnregisterClass(served.progId);
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    const std::string library = std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
    plat::RegisterServer(library);
    {
        HostWindow window;
        window.Show();
        auto setup = std::dynamic_pointer_cast<host::ISetup>(plat::CreateObject("OrvikPelmo2.CPluginSetup"));
        ASSERT_TRUE(setup);
        auto dialog = setup->CreateDialog();
        ASSERT_TRUE(dialog);
        dialog->Dock(window.hWnd());
        dialog->Show({});
        auto* makeList =
            dynamic_cast<plat::ui::ComboBox*>(ScriptedOperator::FindControl(window, "cboDefaultOximeter"));
        ASSERT_NE(makeList, nullptr);
        EXPECT_EQ(makeList->ListCount(), 10);
        ASSERT_TRUE(makeList->PickItem(3));
        setup->RegSave({}, {});
        EXPECT_EQ(Stored("DefaultMakeLocation"), "3");
        EXPECT_EQ(Stored("DefaultCustomMakeName"), "Datex");
        dialog->Unload();
    }
    plat::UnregisterServer(library);
}

}  // namespace
