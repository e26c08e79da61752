#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::Variant;

// A control object that raises events on request and counts its instances.
class XFake : public plat::ControlObject {
public:
    XFake() { ++alive; }
    ~XFake() override { --alive; }
    void Raise(const std::string& name, std::vector<Variant> params) { RaiseEvent(name, std::move(params)); }
    static inline int alive = 0;
};

// An embeddable control with children of its own, raising "Changed" as its box changes.
class XEntry : public UserControl {
public:
    XEntry() {
        txtValue.OnChange = [this] { RaiseEvent("Changed", {Variant(txtValue.Text())}); };
    }
    TextBox& txtValue = Add<TextBox>("txtValue");
    CommandButton& cmdApply = Add<CommandButton>("cmdApply");
};

class FHost : public Form {
public:
    FHost() : Form("frmHost") {
        OnObjectEvent = [this](ObjectControl& c, const std::string& name, std::vector<Variant>& params) {
            events.push_back(c.Name() + ":" + name + (params.empty() ? "" : ":" + params[0].AsString()));
            if (removeOnEvent) Controls().Remove(c.Name());
        };
    }
    std::vector<std::string> events;
    bool removeOnEvent = false;
};

class ObjectControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::RegisterClass("UiTest.XFake", [] { return std::make_shared<XFake>(); });
        plat::RegisterClass("UiTest.XEntry", [] { return std::make_shared<XEntry>(); });
        form_.Show();
    }
    void TearDown() override {
        plat::UnregisterClass("UiTest.XFake");
        plat::UnregisterClass("UiTest.XEntry");
    }
    plat::VirtualTimeScope time_;
    FHost form_;
};

TEST_F(ObjectControlTest, AddedControlRelaysItsEventsWithParametersByReference) {
    auto ext = form_.Controls().Add("uitest.xfake", "VTIControl");
    ASSERT_TRUE(ext->ObjectAs<XFake>());
    EXPECT_EQ(form_.Controls().Find("vticontrol"), ext.get());
    ext->OnObjectEvent = [](const std::string&, std::vector<Variant>& params) { params[0] = Variant("changed"); };
    ext->ObjectAs<XFake>()->Raise("CommunicationError", {Variant("original")});
    EXPECT_EQ(form_.events, (std::vector<std::string>{"VTIControl:CommunicationError:changed"}));
}

TEST_F(ObjectControlTest, ControlRemovedInItsOwnEventStaysAliveUntilTheHandlerReturns) {
    auto obj = form_.Controls().Add("UiTest.XFake", "VTIControl")->ObjectAs<XFake>();
    form_.removeOnEvent = true;
    XFake* raw = obj.get();
    obj.reset();  // only the window holds it now
    raw->Raise("CommunicationError", {});
    EXPECT_EQ(form_.events.size(), 1u);
    EXPECT_FALSE(form_.Controls().Exists("VTIControl"));
    EXPECT_EQ(XFake::alive, 0);
}

TEST_F(ObjectControlTest, RemovedControlsEventsReachNobody) {
    auto obj = form_.Controls().Add("UiTest.XFake", "VTIControl")->ObjectAs<XFake>();
    form_.Controls().Remove("VTICONTROL");
    obj->Raise("CommunicationError", {});
    EXPECT_TRUE(form_.events.empty());
    EXPECT_THROW(form_.Controls().Remove("VTIControl"), UiError);
    // The name is free again.
    form_.Controls().Add("UiTest.XFake", "VTIControl");
    EXPECT_EQ(XFake::alive, 2);
}

TEST_F(ObjectControlTest, UnknownProgIdFailsAndLeavesTheNameFree) {
    EXPECT_THROW(form_.Controls().Add("UiTest.Nothing", "xrvResult"), plat::ComError);
    EXPECT_FALSE(form_.Controls().Exists("xrvResult"));
    form_.Controls().Add("UiTest.XFake", "xrvResult");
    EXPECT_THROW(form_.Controls().Add("UiTest.XFake", "XRVRESULT"), UiError);
    EXPECT_EQ(XFake::alive, 1);
}

TEST_F(ObjectControlTest, UnloadReleasesControlsAddedAtRunTimeOnly) {
    auto& own = form_.AddObject("xmdOwn", std::make_shared<XFake>());
    form_.Controls().Add("UiTest.XFake", "VTIControl");
    EXPECT_EQ(XFake::alive, 2);
    EXPECT_THROW(form_.Controls().Remove("xmdOwn"), UiError);
    form_.Unload();
    EXPECT_EQ(XFake::alive, 1);
    EXPECT_FALSE(form_.Controls().Exists("VTIControl"));
    EXPECT_EQ(form_.Controls().Find("xmdOwn"), &own);
}

TEST_F(ObjectControlTest, EmbeddedControlsChildrenFollowTheirExtenderAndWindow) {
    auto ext = form_.Controls().Add("UiTest.XEntry", "xmdEntry");
    auto entry = ext->ObjectAs<XEntry>();
    EXPECT_EQ(entry->Extender(), ext.get());
    EXPECT_EQ(entry->ParentForm(), &form_);

    EXPECT_TRUE(entry->txtValue.TypeText("42"));
    EXPECT_EQ(form_.events, (std::vector<std::string>{"xmdEntry:Changed:4", "xmdEntry:Changed:42"}));
    // The focus is the window's: the child inside the embedded control holds it.
    EXPECT_EQ(form_.ActiveControl(), &entry->txtValue);
    EXPECT_EQ(entry->ActiveControl(), &entry->txtValue);

    ext->SetEnabled(false);
    EXPECT_EQ(form_.ActiveControl(), nullptr);
    EXPECT_FALSE(entry->cmdApply.Click());
    ext->SetEnabled(true);
    entry->SetEnabled(false);
    EXPECT_FALSE(entry->cmdApply.Click());
    entry->SetEnabled(true);
    form_.Hide();
    EXPECT_FALSE(entry->cmdApply.Click());
    form_.Show();
    EXPECT_TRUE(entry->cmdApply.Click());

    form_.Controls().Remove("xmdEntry");
    EXPECT_EQ(entry->Extender(), nullptr);
    EXPECT_EQ(form_.ActiveControl(), nullptr);
    // A control object on no window acts on its own.
    EXPECT_TRUE(entry->txtValue.TypeKey('7'));
    EXPECT_EQ(entry->ActiveControl(), &entry->txtValue);
    EXPECT_EQ(form_.events.size(), 2u);
}

TEST_F(ObjectControlTest, OperatorReachesChildrenOfEmbeddedControlsByPath) {
    auto entry = form_.Controls().Add("UiTest.XEntry", "xmdEntry")->ObjectAs<XEntry>();
    plat::ui::test::ScriptedOperator op;
    op.Type("frmHost", "xmdEntry.txtValue", "A1").Do("frmHost", "close", [](Form& f) { f.Hide(); });
    form_.Show(ShowMode::Modal);
    EXPECT_EQ(entry->txtValue.Text(), "A1");
}

}  // namespace
