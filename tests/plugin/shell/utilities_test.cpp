#include "plugin/shell/utilities.h"

#include <gtest/gtest.h>

#include "host/limit_standards.h"
#include "host/run_context.h"
#include "platform/com/com.h"
#include "platform/ui/form.h"
#include "plugin/shell/mti_data.h"

namespace {

std::shared_ptr<host::CLimitItem> Item(const std::string& key, bool upperOn, float upper, bool lowerOn, float lower,
                                       const std::string& expression = "") {
    auto item = std::make_shared<host::CLimitItem>();
    item->Initialize(key, "%", "", "");
    item->SetBoundEnabled(0, upperOn);
    item->SetBoundValue(0, upper);
    item->SetBoundEnabled(1, lowerOn);
    item->SetBoundValue(1, lower);
    item->SetExpression(0, expression);
    item->SetExpression(1, expression);
    return item;
}

std::shared_ptr<host::CLimitStandard> Standard(std::vector<std::shared_ptr<host::ILimitItem>> items) {
    auto standard = std::make_shared<host::CLimitStandard>();
    standard->Initialize("Std", "Text", 1);
    for (auto& item : items) standard->AddItem(item);
    return standard;
}

TEST(LimitItemExists, MatchesTheNameExactly) {
    auto standard = Standard({Item("SpO2", true, 2, true, -2)});
    EXPECT_TRUE(plugin::LimitItemExists("SpO2", standard));
    EXPECT_FALSE(plugin::LimitItemExists("spo2", standard));
    EXPECT_FALSE(plugin::LimitItemExists("", standard));
    EXPECT_FALSE(plugin::LimitItemExists("SpO2", nullptr));
}

TEST(WithinLimits, BoundsAreInclusiveAndOnlyEnabledOnesCount) {
    auto standard = Standard({Item("LED-R", true, 100, true, 90)});
    EXPECT_TRUE(plugin::WithinLimits(100, "LED-R", standard, 0));
    EXPECT_TRUE(plugin::WithinLimits(90, "LED-R", standard, 0));
    EXPECT_FALSE(plugin::WithinLimits(100.5f, "LED-R", standard, 0));
    EXPECT_FALSE(plugin::WithinLimits(89.9f, "LED-R", standard, 0));
    auto open = Standard({Item("LED-R", false, 100, true, 90)});
    EXPECT_TRUE(plugin::WithinLimits(150, "LED-R", open, 0));
}

TEST(WithinLimits, NoStandardPassesAnEmptyNameFailsAnUnknownNamePasses) {
    auto standard = Standard({Item("LED-R", true, 1, true, 0)});
    EXPECT_TRUE(plugin::WithinLimits(5, "LED-R", nullptr, 0));
    EXPECT_FALSE(plugin::WithinLimits(5, "", standard, 0));
    EXPECT_TRUE(plugin::WithinLimits(5, "LED-IR", standard, 0));
}

TEST(WithinLimits, ToleranceItemsWorkTheirBoundsOutFromTheReference) {
    auto standard = Standard({Item("SpO2", true, 2, true, -2, "X+Y")});
    EXPECT_TRUE(plugin::WithinLimits(98, "SpO2", standard, 96));
    EXPECT_FALSE(plugin::WithinLimits(99, "SpO2", standard, 96));
    EXPECT_FALSE(plugin::WithinLimits(93, "SpO2", standard, 96));
}

TEST(WithinLimits, ABoundThatCannotBeWorkedOutFailsNeverPasses) {
    auto standard = Standard({Item("BPM", true, 2, true, -2, "X*Y")});  // no expression the host computes
    EXPECT_FALSE(plugin::WithinLimits(60, "BPM", standard, 60));
}

// A limit item of another kind: no tolerance computation of its own.
class PlainItem : public plat::Object, public host::ILimitItem {
public:
    void Initialize(const std::string&, const std::string&, const std::string&, const std::string&) override {}
    std::string Key() const override { return "SpO2"; }
    std::string Unit() const override { return "%"; }
    void SetUnit(const std::string&) override {}
    std::string Expression(int32_t) const override { return {}; }
    void SetExpression(int32_t, const std::string&) override {}
    bool BoundEnabled(int32_t) const override { return true; }
    void SetBoundEnabled(int32_t, bool) override {}
    float BoundValue(int32_t index) const override { return index == 0 ? 100.0f : 90.0f; }
    void SetBoundValue(int32_t, float) override {}
    std::string Text(int32_t) const override { return {}; }
};

TEST(WithinLimits, AnSpO2ItemThatIsNoToleranceItemIsJudgedByItsOwnBounds) {
    auto standard = Standard({std::make_shared<PlainItem>()});
    EXPECT_TRUE(plugin::WithinLimits(95, "SpO2", standard, 0));
    EXPECT_FALSE(plugin::WithinLimits(85, "SpO2", standard, 0));
}

std::shared_ptr<plugin::CMtiData2> Identity(const std::string& type, const std::string& serial) {
    auto identity = std::make_shared<plugin::CMtiData2>();
    identity->SetMtiType(type);
    identity->SetSerialNo(serial);
    identity->SetFWVersion("1.2");
    return identity;
}

std::shared_ptr<host::CMtiRecord> Record(const std::string& plugIn, int32_t key, const std::string& type,
                                         const std::string& serial) {
    auto record = std::make_shared<host::CMtiRecord>();
    record->Initialize(plugIn, key);
    record->SetData(type, serial, "");
    return record;
}

TEST(StoreMTIRecord, AddsANewInstrumentOneAboveTheHighestKeyOfTheWholeList) {
    auto list = std::make_shared<host::CMtiRecordList>();
    list->Add(Record("Pelmo2", 1, "Pelmo Q5 F", "100"));
    list->Add(Record("Other", 7, "Meter", "55"));
    list->Add(Record("Pelmo2", 4, "Pelmo Q5 F", "200"));
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "SN42")), 8);
    ASSERT_EQ(list->Count(), 4);
    auto added = list->Item(4);
    EXPECT_EQ(added->PlugInID(), "Pelmo2");
    EXPECT_EQ(added->MtiType(), "Pelmo Q5 F");
    EXPECT_EQ(added->SerialNo(), "SN42");
    EXPECT_EQ(added->FWVersion(), "1.2");
}

TEST(StoreMTIRecord, AKnownInstrumentKeepsItsKey) {
    auto list = std::make_shared<host::CMtiRecordList>();
    list->Add(Record("Pelmo2", 1, "Pelmo Q5 F", "100"));
    list->Add(Record("Pelmo2", 4, "Pelmo Q5 F", "200"));
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "200")), 4);
    EXPECT_EQ(list->Count(), 2);
}

TEST(StoreMTIRecord, TheSameSerialOfAnotherTypeOrPlugInIsAnotherInstrument) {
    auto list = std::make_shared<host::CMtiRecordList>();
    list->Add(Record("Other", 1, "Pelmo Q5 F", "200"));
    list->Add(Record("Pelmo2", 2, "Pelmo Q5 FE", "200"));
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "200")), 3);
    EXPECT_EQ(list->Count(), 3);
}

TEST(StoreMTIRecord, AnEmptySerialAddsNothingAndGivesNone) {
    auto list = std::make_shared<host::CMtiRecordList>();
    list->Add(Record("Pelmo2", 1, "Pelmo Q5 F", "100"));
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "   ")), 0);
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "")), 0);
    EXPECT_EQ(plugin::StoreMTIRecord(nullptr, Identity("Pelmo Q5 F", "1")), 0);
    EXPECT_EQ(list->Count(), 1);
    // "0" is a serial like any other
    EXPECT_EQ(plugin::StoreMTIRecord(list, Identity("Pelmo Q5 F", "0")), 2);
}

TEST(ProjectName, IsTheLibrarysProgIdPrefix) { EXPECT_EQ(plugin::ProjectName(), "OrvikPelmo2"); }

class Page : public plat::Object {};

TEST(GetOrAddControl, AddsOnceAndReturnsTheSameControlAfterwards) {
    plat::RegisterClass("OrvikPelmo2.XResultView", [] { return std::make_shared<Page>(); });
    plat::RegisterClass("OrvikPelmo2VTI.XVTIControl", [] { return std::make_shared<Page>(); });
    plat::ui::Form window("FTestGuide");
    auto first = plugin::GetOrAddControl(window, "XResultView", "xrvResult");
    auto second = plugin::GetOrAddControl(window, "XResultView", "xrvResult");
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->ProgId(), "OrvikPelmo2.XResultView");
    auto vti = plugin::GetOrAddVTIControl(window);
    EXPECT_EQ(vti->ProgId(), "OrvikPelmo2VTI.XVTIControl");
    EXPECT_EQ(plugin::GetOrAddVTIControl(window), vti);
    EXPECT_EQ(window.Controls().Count(), 2);
    EXPECT_THROW(plugin::GetOrAddControl(window, "XNoSuchThing", "x"), plat::ComError);
    plat::UnregisterClass("OrvikPelmo2.XResultView");
    plat::UnregisterClass("OrvikPelmo2VTI.XVTIControl");
}

}  // namespace
