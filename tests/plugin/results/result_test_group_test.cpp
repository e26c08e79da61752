#include <gtest/gtest.h>

#include "host/error_service.h"
#include "host/run_context.h"
#include "host/xml.h"
#include "plugin/results/result_test_group.h"
#include "tests/plugin/results/fake_element.h"

namespace {

using plugin::CResultTestGroup;
using results_test::FakeElement;

// A child's result: its status, and whether its filter selects it; -1 for no result.
struct Child {
    int32_t status;
    bool selected = true;
};

int32_t RollUp(const std::vector<Child>& children) {
    auto group = std::make_shared<FakeElement>(1);
    for (const Child& c : children) {
        auto child = std::make_shared<FakeElement>(100);
        if (c.status >= 0) {
            auto result = std::make_shared<CResultTestGroup>();
            result->SetStatus(c.status);
            child->base->SetResult(result);
        }
        child->Filter()->SetSelected(c.selected);
        group->Add(child, nullptr, 1);
    }
    CResultTestGroup result;
    result.SetStatus(99);
    result.UpdateStatus(group, nullptr);
    return result.Status();
}

TEST(GroupRollUpTest, StatusOfTheChildrenWithAResult) {
    EXPECT_EQ(RollUp({{1}, {2}}), 2);
    EXPECT_EQ(RollUp({{1}, {2, false}}), 1);  // an unselected failure does not fail the group
    EXPECT_EQ(RollUp({{3}, {3}}), 3);
    EXPECT_EQ(RollUp({{3}, {1}}), 1);
    EXPECT_EQ(RollUp({{0}, {1}}), 1);
    EXPECT_EQ(RollUp({{0}, {0}}), 0);
    EXPECT_EQ(RollUp({}), 0);
    EXPECT_EQ(RollUp({{-1}, {-1}}), 0);
    EXPECT_EQ(RollUp({{-1}, {3}}), 3);  // children without a result count nowhere
    EXPECT_EQ(RollUp({{3}, {2}}), 2);
}

TEST(GroupRollUpTest, AGroupInWhichNothingPassedIsNeverPassed) {
    EXPECT_EQ(RollUp({{0}, {3}}), 0);
    EXPECT_EQ(RollUp({{2, false}}), 0);
    EXPECT_EQ(RollUp({{3}, {2, false}}), 0);
}

TEST(GroupRollUpTest, WithoutAGroupTheStatusStays) {
    CResultTestGroup result;
    result.SetStatus(2);
    result.UpdateStatus(nullptr, nullptr);
    EXPECT_EQ(result.Status(), 2);
    result.UpdateStatus(std::make_shared<FakeElement>(100), nullptr);  // no children: a test, not a group
    EXPECT_EQ(result.Status(), 0);
}

TEST(GroupResultTest, OffersAStatusAndNothingElse) {
    CResultTestGroup result;
    EXPECT_EQ(result.Status(), 0);
    result.SetComment("ignored");
    EXPECT_EQ(result.Comment(), "");
    EXPECT_FALSE(result.HasDialog());
    EXPECT_EQ(result.MeasurementCount(), 1);
    EXPECT_EQ(result.Measurement(1), nullptr);
    EXPECT_EQ(result.MTIID(), 0);
    EXPECT_EQ(result.CreateDialog(), nullptr);
    EXPECT_EQ(result.ServiceRecord(), nullptr);
}

// Records every entry and leaving of the load context.
class CountingContext : public host::CLoadContext {
public:
    int32_t Enter(const std::string& id, const std::string& version) override {
        ++entered;
        lastId = id + "/" + version;
        return CLoadContext::Enter(id, version);
    }
    void Leave(int32_t cookie) override {
        ++left;
        CLoadContext::Leave(cookie);
    }
    int entered = 0, left = 0;
    std::string lastId;
};

class GroupResultElementTest : public ::testing::Test {
protected:
    void SetUp() override {
        host::ErrorService().SetEcho(false);
        host::ErrorService().ClearLog();
    }
    static host::XmlDocumentPtr Parse(const std::string& xml) {
        auto doc = host::XmlFactory().NewDocument();
        doc->LoadXml(xml);
        return doc;
    }
};

TEST_F(GroupResultElementTest, SavedStatusReadsBack) {
    CResultTestGroup result;
    result.SetStatus(3);
    auto doc = host::XmlFactory().NewDocument();
    auto element = result.Save(*doc);
    ASSERT_NE(element, nullptr);
    doc->AppendChild(element);
    EXPECT_EQ(element->Name(), "ResultItem");
    EXPECT_FALSE(element->HasAttribute("MTI"));
    ASSERT_EQ(element->ChildNodes()->Count(), 1);
    EXPECT_EQ(element->ChildNodes()->ElementAt(0)->Name(), "Status");

    auto context = std::make_shared<CountingContext>();
    CResultTestGroup loaded;
    loaded.Load(*Parse(doc->Xml())->DocumentElement(), context);
    EXPECT_EQ(loaded.Status(), 3);
    EXPECT_EQ(context->entered, 1);
    EXPECT_EQ(context->left, 1);
    EXPECT_EQ(context->lastId, "Pelmo2/5");
    EXPECT_TRUE(context->Entries().empty());
}

TEST_F(GroupResultElementTest, AnotherElementIsRefusedBeforeTheContextIsEntered) {
    auto context = std::make_shared<CountingContext>();
    CResultTestGroup result;
    result.SetStatus(1);
    try {
        result.Load(*Parse("<TestElement><Status>2</Status></TestElement>")->DocumentElement(), context);
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), plugin::kGroupResultLoadFailed);
        EXPECT_EQ(e.Severity(), 1);
    }
    EXPECT_EQ(context->entered, 0);
    EXPECT_EQ(context->left, 0);
    EXPECT_EQ(result.Status(), 1);
}

TEST_F(GroupResultElementTest, AStatusOutsideTheKnownOnesReadsAsNotEvaluated) {
    for (const char* status : {"7", "-1", "two", "99999999999"}) {
        CResultTestGroup result;
        result.SetStatus(1);
        result.Load(*Parse(std::string("<ResultItem><Other/><Status>") + status + "</Status></ResultItem>")
                         ->DocumentElement(),
                    nullptr);
        EXPECT_EQ(result.Status(), 0) << status;
    }
    CResultTestGroup result;
    result.Load(*Parse("<ResultItem><Other>3</Other><Status>2</Status></ResultItem>")->DocumentElement(), nullptr);
    EXPECT_EQ(result.Status(), 2);
}

// A document that cannot make elements: it gives none, or fails outright.
class BrokenDocument : public host::IXmlDocument {
public:
    explicit BrokenDocument(bool fails) : fails_(fails) {}
    host::XmlElementPtr DocumentElement() const override { return nullptr; }
    host::XmlElementPtr CreateElement(std::string_view) override {
        if (fails_) throw std::runtime_error("out of memory");
        return nullptr;
    }
    host::XmlNodePtr CreateTextNode(std::string_view) override { return nullptr; }
    host::XmlNodePtr AppendChild(host::XmlNodePtr child) override { return child; }
    std::shared_ptr<host::IXmlNodeList> ChildNodes() const override { return nullptr; }
    std::string Xml() const override { return {}; }
private:
    bool fails_;
};

TEST_F(GroupResultElementTest, ASaveWithoutAnElementReachesTheCaller) {
    CResultTestGroup result;
    BrokenDocument none(false);
    try {
        result.Save(none);
        FAIL() << "no error";
    } catch (const host::HostError& e) {
        EXPECT_EQ(e.Number(), plugin::kGroupResultSaveFailed);
        EXPECT_EQ(e.Severity(), 1);
    }
    // Any other failure is reported to the host and saves nothing.
    BrokenDocument failing(true);
    EXPECT_EQ(result.Save(failing), nullptr);
    ASSERT_EQ(host::ErrorService().Log().size(), 1u);
    EXPECT_EQ(host::ErrorService().Log()[0].reportLocation, "CResultTestGroup");
}

}  // namespace
