#include <gtest/gtest.h>

#include "platform/loop/message_loop.h"
#include "platform/ui/ui.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using namespace plat::ui;
using plat::ui::test::ScriptedOperator;

TEST(MsgBoxTest, DefaultServiceAnswersWithTheDefaultButton) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBox("Upload failed", vbCritical), vbOK);
    EXPECT_EQ(MsgBox("Upload?", vbYesNo | vbQuestion | vbDefaultButton2, "Send"), vbNo);
    EXPECT_EQ(MsgBox("Save?", vbYesNoCancel | vbDefaultButton3), vbCancel);
    EXPECT_EQ(MsgBox("Retry?", vbRetryCancel | vbDefaultButton3), vbRetry);  // no third button: the first
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Upload failed"), std::string::npos);
    EXPECT_NE(err.find("Send: Upload?"), std::string::npos);
}

TEST(MsgBoxTest, RequestTellsButtonsIconAndApplicationTitle) {
    struct Recorder : MessageBoxService {
        MessageBoxRequest last;
        int32_t answer = vbOK;
        int32_t Answer(const MessageBoxRequest& r) override {
            last = r;
            return answer;
        }
    };
    auto rec = std::make_shared<Recorder>();
    auto previous = SetMessageBoxService(rec);
    SetApplicationTitle("Tamblin");
    rec->answer = vbIgnore;
    EXPECT_EQ(MsgBox("Port busy", vbAbortRetryIgnore | vbExclamation), vbIgnore);
    EXPECT_EQ(rec->last.title, "Tamblin");
    EXPECT_EQ(rec->last.Icon(), vbExclamation);
    EXPECT_EQ(rec->last.Answers(), (std::vector<int32_t>{vbAbort, vbRetry, vbIgnore}));
    rec->answer = vbYes;  // not offered by an OK box
    EXPECT_THROW(MsgBox("Done"), UiError);
    SetApplicationTitle("");
    SetMessageBoxService(previous);
}

TEST(MsgBoxTest, OperatorAnswersInScriptOrderAndRecordsTheUnexpected) {
    plat::VirtualTimeScope time;
    {
        ScriptedOperator op;
        op.Answer(vbYes, "Upload").Answer(vbCancel);
        EXPECT_EQ(MsgBox("Upload the curve?", vbYesNo), vbYes);
        EXPECT_EQ(MsgBox("Continue?", vbOKCancel), vbCancel);
        EXPECT_EQ(MsgBox("Finished", vbInformation), vbOK);  // unexpected: default answer, recorded
        ASSERT_EQ(op.Messages().size(), 3u);
        EXPECT_EQ(op.Messages()[2].prompt, "Finished");
        ASSERT_EQ(op.Errors().size(), 1u);
        EXPECT_NE(op.Errors()[0].find("Finished"), std::string::npos);
        op.ClearErrors();
        // An improvising operator answers the unexpected itself; a scripted answer still comes first.
        op.SetImprovisedAnswer([](const MessageBoxRequest& r) { return r.Answers().back(); });
        op.Answer(vbYes);
        EXPECT_EQ(MsgBox("Save?", vbYesNoCancel), vbYes);
        EXPECT_EQ(MsgBox("Save?", vbYesNoCancel), vbCancel);
        EXPECT_TRUE(op.Errors().empty());
    }
    // Uninstalled again: the default service answers.
    testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBox("After", vbOKCancel), vbOK);
    testing::internal::GetCapturedStderr();
}

}  // namespace
