// The detailed-result page: the result's comment, read-only, in the element
// setup dialog that the result's CreateDialog gives the host.
#include <gtest/gtest.h>

#include "platform/ui/keys.h"
#include "plugin/results/result_data.h"
#include "plugin/results/results_classes.h"
#include "plugin/results/x_detailed_result.h"
#include "plugin/shell/f_element_setup.h"
#include "tests/support/sandbox.h"

namespace {

using plugin::XDetailedResult;

class DetailedResultTest : public test_support::SandboxTest {
protected:
    void SetUp() override {
        SandboxTest::SetUp();
        plugin::RegisterResultsClasses();
        plugin::Factory().Install(plugin::Part::SetupDialog,
                                  [] { return plat::ObjectPtr(std::make_shared<plugin::FElementSetup>()); });
    }
    void TearDown() override {
        plugin::Factory().Install(plugin::Part::SetupDialog, nullptr);
        for (const auto& served : plugin::ResultsClasses()) plat::UnregisterClass(served.progId);
    }
    // The page inside a result's dialog.
    std::shared_ptr<XDetailedResult> PageOf(const std::shared_ptr<host::IDialog>& dialog) {
        auto setup = std::dynamic_pointer_cast<plugin::FElementSetup>(dialog);
        return setup && setup->SetupControl() ? setup->SetupControl()->ObjectAs<XDetailedResult>() : nullptr;
    }
};

TEST_F(DetailedResultTest, TheResultsDialogShowsItsCommentLocked) {
    auto result = std::make_shared<plugin::CResultData>();
    result->SetComment("Probe cable worn");
    auto dialog = result->CreateDialog();
    ASSERT_TRUE(dialog);
    auto page = PageOf(dialog);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->CommentBox().Text(), "Probe cable worn");
    EXPECT_TRUE(page->CommentBox().Locked());
    EXPECT_EQ(page->CommentBox().BackColor(), plat::ui::vbButtonFace);
    EXPECT_TRUE(page->CommentBox().MultiLine());
    // The title is a language text: the English default, never its id.
    EXPECT_EQ(page->Controls().Item("lblTitle").Caption(), "Comment");
    dialog->Unload();
}

TEST_F(DetailedResultTest, TheOperatorCannotChangeTheComment) {
    auto result = std::make_shared<plugin::CResultData>();
    result->SetComment("ok");
    auto page = std::make_shared<XDetailedResult>();
    page->Initialize(plat::Variant(plat::ObjectPtr(result)));
    auto& box = dynamic_cast<plat::ui::TextBox&>(page->Controls().Item("txtComment"));
    box.TypeText("xyz");
    box.PressKey(plat::ui::vbKeyDelete);
    EXPECT_EQ(box.Text(), "ok");
    EXPECT_EQ(result->Comment(), "ok");
}

TEST_F(DetailedResultTest, ACommentOfSeveralLinesIsShownWhole) {
    auto result = std::make_shared<plugin::CResultData>();
    result->SetComment("Probe cable worn\r\nreplaced before the retest");
    auto page = std::make_shared<XDetailedResult>();
    page->Initialize(plat::Variant(plat::ObjectPtr(result)));
    EXPECT_EQ(page->CommentBox().Text(), "Probe cable worn\r\nreplaced before the retest");
    // Read-only: Enter neither breaks the line nor changes the comment.
    auto& box = dynamic_cast<plat::ui::TextBox&>(page->Controls().Item("txtComment"));
    box.TypeKey(plat::ui::vbKeyReturn);
    EXPECT_EQ(result->Comment(), "Probe cable worn\r\nreplaced before the retest");
    EXPECT_EQ(box.Text(), result->Comment());
}

TEST_F(DetailedResultTest, AnythingButAResultClearsTheBox) {
    auto result = std::make_shared<plugin::CResultData>();
    result->SetComment("first");
    auto page = std::make_shared<XDetailedResult>();
    page->Initialize(plat::Variant(plat::ObjectPtr(result)));
    page->Initialize(plat::Variant("not a result"));
    EXPECT_EQ(page->CommentBox().Text(), "");
    page->Initialize(plat::Variant(plat::ObjectPtr(result)));
    page->Initialize(plat::Variant());
    EXPECT_EQ(page->CommentBox().Text(), "");
    EXPECT_TRUE(page->CommentBox().Locked());
}

TEST_F(DetailedResultTest, NeitherLockedNorACallBackIsKept) {
    auto dialog = std::make_shared<plugin::CResultData>()->CreateDialog();
    ASSERT_TRUE(dialog);
    dialog->SetLocked(true);
    EXPECT_FALSE(dialog->Locked());
    dialog->SetCallBack(std::make_shared<host::CCallBack>());
    EXPECT_EQ(dialog->CallBack(), nullptr);
    dialog->Unload();
}

TEST_F(DetailedResultTest, VisibilityIsTheExtenders) {
    auto dialog = std::make_shared<plugin::CResultData>()->CreateDialog();
    auto page = PageOf(dialog);
    ASSERT_TRUE(page);
    page->SetVisible(false);
    EXPECT_FALSE(page->Visible());
    EXPECT_FALSE(page->Extender()->Visible());
    page->SetVisible(true);
    EXPECT_TRUE(page->Visible());
    dialog->Unload();
}

TEST_F(DetailedResultTest, TheBoxFillsThePageUnderTheTitle) {
    auto dialog = std::make_shared<plugin::CResultData>()->CreateDialog();
    auto page = PageOf(dialog);
    ASSERT_TRUE(page);
    auto& title = page->Controls().Item("lblTitle");
    auto& box = page->Controls().Item("txtComment");
    page->Extender()->Move(0, 0, 6000, 3000);
    EXPECT_EQ(title.Left(), 120);
    EXPECT_EQ(title.Top(), 0);
    EXPECT_EQ(title.Width(), 5880);
    EXPECT_EQ(box.Left(), 120);
    EXPECT_EQ(box.Top(), title.Height());
    EXPECT_EQ(box.Width(), 5880);
    EXPECT_EQ(box.Height(), 3000 - title.Height());
    // Too narrow for the indent: nothing is moved.
    page->Extender()->Move(0, 0, 100, 3000);
    EXPECT_EQ(box.Width(), 5880);
    dialog->Unload();
}

}  // namespace
