#include "plugin/shell/f_element_setup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/loop/virtual_time_scope.h"
#include "platform/ui/ui.h"
#include "plugin/factory/plugin_factory.h"
#include "plugin/shell/test_data.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::FElementSetup;

constexpr const char* kPageProgId = "ElementSetupTest.XPage";

// A settings page as the host drives it; it records what reaches it.
class XPage : public plat::ui::UserControl, public host::ICustomControl {
public:
    std::vector<std::string> calls;
    plat::Variant initializedWith;
    bool locked = false;
    std::shared_ptr<host::ICallBack> callBack;

    std::shared_ptr<host::ICallBack> CallBack() const override { return callBack; }
    void SetCallBack(std::shared_ptr<host::ICallBack> c) override { callBack = std::move(c); }
    host::WindowHandle HWnd() const override { return hWnd(); }
    bool Visible() const override { return Extender() && Extender()->Visible(); }
    void SetVisible(bool on) override {
        if (Extender()) Extender()->SetVisible(on);
    }
    bool Locked() const override { return locked; }
    void SetLocked(bool on) override {
        locked = on;
        calls.push_back("SetLocked");
    }
    void Initialize(const plat::Variant& value) override {
        initializedWith = value;
        calls.push_back("Initialize");
    }
    void Refresh() override { calls.push_back("Refresh"); }
    void SetFocus() override { calls.push_back("SetFocus"); }
};

// The host's window that pages are docked into.
class FHost : public plat::ui::Form {
public:
    FHost() : Form("frmHost") {}
};

class ElementSetupTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::RegisterClass(kPageProgId, [] { return std::make_shared<XPage>(); });
        dialog_->Load();
        host_.Show();
    }
    void TearDown() override { plat::UnregisterClass(kPageProgId); }

    std::shared_ptr<XPage> AddPage(const std::string& name = "xvbSetupControl") {
        return std::dynamic_pointer_cast<XPage>(dialog_->CreateSetupCtrl(kPageProgId, name));
    }

    plat::VirtualTimeScope time_;
    FHost host_;
    std::shared_ptr<FElementSetup> dialog_ = std::make_shared<FElementSetup>();
};

TEST_F(ElementSetupTest, WithoutAPageOnlyTheDockedFlagAnswers) {
    for (const std::string progId : {"", "ElementSetupTest.NoSuchPage"}) {
        auto dialog = std::make_shared<FElementSetup>();
        dialog->Load();
        EXPECT_EQ(dialog->CreateSetupCtrl(progId, "xvbSetupControl"), nullptr);
        EXPECT_EQ(dialog->Controls().Count(), 0);
        dialog->Dock(host_.hWnd());
        EXPECT_FALSE(dialog->IsDocked());
        EXPECT_FALSE(dialog->Locked());
        EXPECT_EQ(dialog->CallBack(), nullptr);
        dialog->SetLocked(true);
        dialog->Initialize(plat::Variant(5));
        dialog->Refresh();
        dialog->SetFocus();
        dialog->Show(plat::Variant());
        EXPECT_FALSE(dialog->Visible());
        dialog->Unload();
    }
}

TEST_F(ElementSetupTest, MembersReachThePageThroughItsCustomControl) {
    auto page = AddPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(dialog_->Controls().Find("xvbSetupControl"), dialog_->SetupControl().get());

    auto callBack = std::make_shared<host::CCallBack>();
    dialog_->SetCallBack(callBack);
    EXPECT_EQ(dialog_->CallBack(), callBack);
    dialog_->SetLocked(true);
    EXPECT_TRUE(dialog_->Locked());
    dialog_->Initialize(plat::Variant(std::string("value")));
    EXPECT_EQ(page->initializedWith.AsString(), "value");
    dialog_->Refresh();
    dialog_->SetFocus();
    EXPECT_EQ(page->calls, (std::vector<std::string>{"SetLocked", "Initialize", "Refresh", "SetFocus"}));

    // A second page replaces the first as the one served.
    auto second = AddPage("xvbOther");
    ASSERT_TRUE(second);
    dialog_->Refresh();
    EXPECT_EQ(second->calls, std::vector<std::string>{"Refresh"});
    EXPECT_EQ(page->calls.size(), 4u);
}

TEST_F(ElementSetupTest, DockingMovesThePageIntoTheHostsWindowAndBack) {
    auto page = AddPage();
    dialog_->Dock(0);
    EXPECT_FALSE(dialog_->IsDocked());

    // Before docking, Show shows nothing and Hide hides the window.
    dialog_->plat::ui::Form::Show();
    dialog_->Show(plat::Variant());
    dialog_->Hide();
    EXPECT_FALSE(dialog_->Visible());
    EXPECT_TRUE(dialog_->SetupControl()->Visible());
    dialog_->Move(15, 30, 4500, 3000);
    EXPECT_EQ(dialog_->Left(), 15);
    EXPECT_EQ(dialog_->Width(), 4500);

    dialog_->Dock(host_.hWnd());
    EXPECT_TRUE(dialog_->IsDocked());
    EXPECT_EQ(page->DockParent(), &host_);
    dialog_->Hide();
    EXPECT_FALSE(dialog_->SetupControl()->Visible());
    dialog_->Show(plat::Variant());
    EXPECT_TRUE(dialog_->SetupControl()->Visible());
    dialog_->Move(120.4f, 240.6f, 6000, 4000);
    const auto& extender = *dialog_->SetupControl();
    EXPECT_EQ(extender.Left(), 120);
    EXPECT_EQ(extender.Top(), 241);
    EXPECT_EQ(extender.Width(), 6000);
    EXPECT_EQ(extender.Height(), 4000);
    EXPECT_EQ(dialog_->Left(), 15);  // the window stays where it was

    // A height of 0 or less moves nothing.
    dialog_->Move(1, 2, 3, 0);
    dialog_->Move(1, 2, 3, -5);
    EXPECT_EQ(extender.Left(), 120);

    // Undocked, the dialog still counts as docked and acts on the page.
    dialog_->UnDock();
    EXPECT_EQ(page->DockParent(), nullptr);
    EXPECT_EQ(page->ParentHost(), dialog_.get());
    EXPECT_TRUE(dialog_->IsDocked());
    dialog_->Hide();
    EXPECT_FALSE(extender.Visible());
    dialog_->Move(0, 0, 100, 100);
    EXPECT_EQ(extender.Width(), 100);
}

TEST_F(ElementSetupTest, AddingAPageLoadsTheWindow) {
    auto dialog = std::make_shared<FElementSetup>();
    ASSERT_TRUE(dialog->CreateSetupCtrl(kPageProgId, "xvbSetupControl"));
    EXPECT_TRUE(dialog->Loaded());
    std::weak_ptr<plat::Object> page = dialog->SetupControl()->Object();
    dialog->Unload();
    EXPECT_TRUE(page.expired());
}

TEST_F(ElementSetupTest, TheWindowPassesItsFocusToThePage) {
    auto page = AddPage();
    dialog_->plat::ui::Form::Show();
    dialog_->plat::ui::Form::SetFocus();
    EXPECT_EQ(page->calls, std::vector<std::string>{"SetFocus"});
}

TEST_F(ElementSetupTest, UnloadGivesThePageBackDestroysItAndEndsEveryMember) {
    std::weak_ptr<XPage> watch;
    {
        auto page = AddPage();
        watch = page;
        dialog_->Dock(host_.hWnd());
    }
    ASSERT_FALSE(watch.expired());
    ASSERT_EQ(watch.lock()->DockParent(), &host_);
    dialog_->Unload();
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(dialog_->Loaded());
    EXPECT_FALSE(dialog_->IsDocked());
    EXPECT_EQ(dialog_->SetupControl(), nullptr);
}

TEST_F(ElementSetupTest, AfterUnloadNothingReachesAPageThatOthersKeepAlive) {
    auto page = AddPage();
    page->SetCallBack(std::make_shared<host::CCallBack>());
    page->locked = true;
    dialog_->Dock(host_.hWnd());
    dialog_->Unload();
    page->calls.clear();

    dialog_->Initialize(plat::Variant(1));
    dialog_->SetLocked(false);
    dialog_->Refresh();
    dialog_->SetFocus();
    dialog_->Dock(host_.hWnd());
    dialog_->Show(plat::Variant());
    dialog_->Move(1, 2, 3, 4);
    dialog_->UnDock();
    dialog_->Unload();
    EXPECT_TRUE(page->calls.empty());
    EXPECT_FALSE(dialog_->Locked());
    EXPECT_EQ(dialog_->CallBack(), nullptr);
    EXPECT_FALSE(dialog_->IsDocked());
    EXPECT_EQ(dialog_->CreateSetupCtrl(kPageProgId, "xvbAgain"), nullptr);
    EXPECT_FALSE(dialog_->Loaded());
}

class ElementSetupLibraryTest : public test_support::SandboxTest {};

TEST_F(ElementSetupLibraryTest, ThePlugInLibraryHostsItsSettingsPageInIt) {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    const std::string library = std::string(bin ? bin : ".") + "/liborvikPelmo2.so";
    plat::RegisterServer(library);
    {
        auto setup = std::dynamic_pointer_cast<host::ISetup>(plat::CreateObject("OrvikPelmo2.CPluginSetup"));
        ASSERT_TRUE(setup);
        std::shared_ptr<host::IDialog> dialog = setup->CreateDialog();
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(dialog->IsDocked());
        dialog->Unload();
    }
    plat::UnregisterServer(library);
}

}  // namespace
