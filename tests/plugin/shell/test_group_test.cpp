#include "plugin/shell/test_group.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "host/run_context.h"
#include "plugin/shell/host_errors.h"
#include "plugin/shell/test_data.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using plugin::CTestGroup;
using shell_test::FakeGroupResult;
using shell_test::FakeLimits;
using shell_test::FakeResult;

// A test whose run writes the next step code of a shared script and logs its ID.
class ScriptedTest : public plugin::CTestData {
public:
    ScriptedTest(std::vector<int32_t>* log, std::deque<int32_t>* codes) : log_(log), codes_(codes) {}
    std::function<void()> duringRun;
    void Perform(const std::shared_ptr<host::ITestSetup>& setup) override {
        log_->push_back(ID());
        if (duringRun) duringRun();
        int32_t code = 0;
        if (!codes_->empty()) {
            code = codes_->front();
            codes_->pop_front();
        }
        setup->SetStepCode(code);
    }
private:
    std::vector<int32_t>* log_;
    std::deque<int32_t>* codes_;
};

class TestGroupTest : public shell_test::ShellTest {
protected:
    std::shared_ptr<CTestGroup> Group(int32_t id, int32_t children) {
        auto group = CTestGroup::New();
        group->Initialize("Other", 1, id);
        for (int32_t i = 1; i <= children; ++i) group->Add(Test(id * 10 + i), nullptr, 1);
        return group;
    }
    std::shared_ptr<ScriptedTest> Test(int32_t id) {
        auto test = std::make_shared<ScriptedTest>(&log_, &codes_);
        test->Initialize("Pelmo2", 200, id);
        return test;
    }
    std::vector<int32_t> log_;
    std::deque<int32_t> codes_;
    std::shared_ptr<host::CTestSetup> setup_ = std::make_shared<host::CTestSetup>();
};

// ---- the run loop -----------------------------------------------------------------

TEST_F(TestGroupTest, StepCodesMoveThroughTheChildren) {
    auto group = Group(1, 3);
    codes_ = {0, 1, 0, 0, 0};
    group->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{11, 12, 11, 12, 13}));
    EXPECT_EQ(setup_->StepCode(), 0);
    ASSERT_EQ(setup_->Done().size(), 1u);
    EXPECT_EQ(setup_->Done()[0], group);
}

TEST_F(TestGroupTest, PreviousFromTheFirstChildLeavesWithCodeOneAfterTheRollUp) {
    auto group = Group(1, 3);
    codes_ = {1};
    group->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{11}));
    EXPECT_EQ(setup_->StepCode(), 1);
    EXPECT_EQ(std::dynamic_pointer_cast<FakeGroupResult>(group->Result())->updates, 1);
    EXPECT_EQ(setup_->Done().size(), 1u);
}

TEST_F(TestGroupTest, SkipGoesOnAndStopEndsEveryEnclosingGroup) {
    auto outer = Group(1, 0);
    auto inner = Group(2, 4);
    outer->Add(inner, nullptr, 1);
    outer->Add(Test(99), nullptr, 1);
    codes_ = {3, 2};
    outer->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{21, 22}));
    EXPECT_EQ(setup_->StepCode(), 2);
    EXPECT_EQ(setup_->Done().size(), 2u);  // both groups still report done
}

TEST_F(TestGroupTest, SkipIsSeenAsNextByTheEnclosingGroup) {
    auto outer = Group(1, 0);
    auto inner = Group(2, 1);
    outer->Add(inner, nullptr, 1);
    outer->Add(Test(99), nullptr, 1);
    codes_ = {3, 0};
    outer->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{21, 99}));
    EXPECT_EQ(setup_->StepCode(), 0);
}

TEST_F(TestGroupTest, NoChildrenOrNoPermissionMeansNoRun) {
    auto empty = Group(1, 0);
    empty->Perform(setup_);
    EXPECT_EQ(empty->Result(), nullptr);
    EXPECT_TRUE(setup_->Done().empty());
    auto group = Group(2, 2);
    group->Filter()->SetSelected(false);
    group->Perform(setup_);
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(group->Result(), nullptr);
    EXPECT_TRUE(setup_->Done().empty());
}

TEST_F(TestGroupTest, AChildRemovedWhileAnotherRunsEndsTheLoopCleanly) {
    auto group = Group(1, 3);
    auto running = std::dynamic_pointer_cast<ScriptedTest>(group->Item(2));
    std::weak_ptr<host::ITestElement> watch = running;
    running->duringRun = [&] {
        group->Remove(group->Item(3));
        group->Remove(group->Item(2));  // the running child itself
    };
    running.reset();
    group->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{11, 12}));
    EXPECT_EQ(group->Count(), 1);
    EXPECT_TRUE(watch.expired());
}

TEST_F(TestGroupTest, TheGroupStaysAliveWhenItsRunDropsItFromItsParent) {
    auto outer = Group(1, 0);
    auto inner = Group(2, 2);
    outer->Add(inner, nullptr, 1);
    std::weak_ptr<CTestGroup> watch = inner;
    std::dynamic_pointer_cast<ScriptedTest>(inner->Item(1))->duringRun = [&] { outer->Remove(outer->Item(1)); };
    inner.reset();
    outer->Perform(setup_);
    EXPECT_EQ(log_, (std::vector<int32_t>{21, 22}));
    EXPECT_EQ(setup_->Done().size(), 2u);  // the inner group finished its run and reported done
    EXPECT_TRUE(watch.expired());
}

// ---- the roll-up --------------------------------------------------------------------

TEST_F(TestGroupTest, NestedGroupsRollUpDepthFirst) {
    auto outer = Group(1, 0);
    auto inner = Group(2, 2);
    outer->Add(inner, nullptr, 1);
    auto doc = host::XmlFactory().NewDocument();
    for (int32_t i = 1; i <= 2; ++i) {
        doc->LoadXml(i == 1 ? "<ResultItem Status=\"3\" MTIID=\"0\"/>" : "<ResultItem Status=\"2\" MTIID=\"0\"/>");
        inner->Item(i)->Load(*doc->DocumentElement(), nullptr);
    }
    outer->Perform(setup_);
    EXPECT_EQ(inner->Result()->Status(), 2);
    EXPECT_EQ(outer->Result()->Status(), 2);
}

// ---- copies and saved data -------------------------------------------------------------

TEST_F(TestGroupTest, ACloneHoldsClonesOwnedByTheNewGroup) {
    auto group = Group(5, 2);
    group->Info()->SetName("Group");
    auto clone = std::dynamic_pointer_cast<CTestGroup>(group->Clone());
    ASSERT_TRUE(clone);
    ASSERT_EQ(clone->Count(), 2);
    for (int32_t i = 1; i <= 2; ++i) {
        EXPECT_NE(clone->Item(i), group->Item(i));
        EXPECT_EQ(clone->Item(i)->Parent(), clone);
        EXPECT_EQ(clone->Item(i)->ID(), group->Item(i)->ID());
    }
    auto limits = std::dynamic_pointer_cast<FakeLimits>(clone->Limits());
    EXPECT_EQ(limits->owner.lock(), clone);
    EXPECT_FALSE(limits->HasDialog());
    EXPECT_EQ(clone->Info()->Name(), "Group");
    EXPECT_EQ(clone->PlugInID(), "Pelmo2");
}

TEST_F(TestGroupTest, LoadingAnUnknownElementFailsWithSeverityOneAndAResultItemReplacesTheResult) {
    auto group = Group(1, 1);
    group->Perform(setup_);
    auto before = group->Result();
    auto doc = host::XmlFactory().NewDocument();
    doc->LoadXml("<ResultItem Status=\"3\"/>");
    group->Load(*doc->DocumentElement(), nullptr);
    EXPECT_NE(group->Result(), before);
    EXPECT_EQ(group->Result()->Status(), 3);

    doc->LoadXml("<Measurement/>");
    try {
        group->Load(*doc->DocumentElement(), nullptr);
        FAIL() << "no error";
    } catch (const host::HostError& error) {
        EXPECT_EQ(error.Number(), plugin::errors::UnknownElement);
        EXPECT_EQ(error.Severity(), 1);
        EXPECT_EQ(error.Source(), "Pelmo2");
        EXPECT_EQ(error.Location(), "CTestGroup");
    }
}

TEST_F(TestGroupTest, AddingTwiceOrRemovingAStrangerReachesTheCaller) {
    auto group = Group(1, 1);
    try {
        group->Add(group->Item(1), nullptr, 1);
        FAIL() << "no error";
    } catch (const host::HostError& error) {
        EXPECT_EQ(error.Number(), host::errors::AlreadyAChild);
        EXPECT_EQ(error.Severity(), 1);
    }
    EXPECT_THROW(group->Remove(Test(5)), host::HostError);
    group->Remove(nullptr);  // nothing given, nothing done
    EXPECT_EQ(group->Count(), 1);
}

TEST_F(TestGroupTest, SaveGivesNothingForAGroupWithoutChildNodesAndPrintingNeedsSelection) {
    auto group = Group(1, 2);
    auto doc = host::XmlFactory().NewDocument();
    auto saved = group->Save(*doc, {});
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->Name(), "TestElement");

    group->Perform(setup_);
    auto result = std::dynamic_pointer_cast<FakeGroupResult>(group->Result());
    ASSERT_TRUE(result);
    group->PrintReport(std::make_shared<host::CReport>(), {});
    EXPECT_EQ(result->printed, 1);
    group->PrintReport(nullptr, {});
    group->Filter()->SetSelected(false);
    group->PrintReport(std::make_shared<host::CReport>(), {});
    EXPECT_EQ(result->printed, 1) << "printed without a report or while not selected";

    log_.clear();
    group->Terminate();
    EXPECT_EQ(group->Save(*doc, {}), nullptr);
    EXPECT_EQ(group->Count(), 0);
    group->Perform(setup_);  // a terminated group does nothing
    group->PrintReport(std::make_shared<host::CReport>(), {});
    EXPECT_TRUE(log_.empty());
}

TEST_F(TestGroupTest, UpdateReferencesReachesTheGroupsStandardsAndItsChildren) {
    auto group = Group(1, 1);
    auto own = std::make_shared<shell_test::RecordingStandards>();
    auto childs = std::make_shared<shell_test::RecordingStandards>();
    std::dynamic_pointer_cast<FakeLimits>(group->Limits())->standards = own;
    std::dynamic_pointer_cast<FakeLimits>(group->Item(1)->Limits())->standards = childs;
    group->UpdateReferences();
    EXPECT_EQ(own->owners, (std::vector<const host::ITestElement*>{group.get()}));
    EXPECT_EQ(childs->owners, (std::vector<const host::ITestElement*>{group->Item(1).get()}));
}

TEST_F(TestGroupTest, InitializeAlwaysStoresTheOwnPlugInId) {
    auto group = CTestGroup::New();
    group->Initialize("Elsewhere", 1, 1);
    EXPECT_EQ(group->PlugInID(), "Pelmo2");
    EXPECT_TRUE(group->QuerySetParent(nullptr));
    EXPECT_TRUE(group->GetMeasurementList().IsEmpty());
}

}  // namespace
