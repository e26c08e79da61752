#include "plugin/results/measurement_coll.h"

#include <gtest/gtest.h>

#include "host/xml.h"
#include "tests/plugin/shell/shell_fixture.h"

namespace {

using plugin::CMeasurement;
using plugin::CMeasurementColl;

std::shared_ptr<CMeasurement> Make(const std::string& key) {
    auto m = std::make_shared<CMeasurement>();
    m->Init(key, "", key, "", false);
    return m;
}

class MeasurementCollTest : public shell_test::ShellTest {};

TEST_F(MeasurementCollTest, KeysAreUniqueWithoutRegardToCaseAndTheLastAddedIsCurrent) {
    CMeasurementColl coll;
    auto first = Make("SpO2");
    auto second = Make("spo2");
    EXPECT_TRUE(coll.Add(first));
    EXPECT_FALSE(coll.Add(second));
    EXPECT_EQ(coll.Count(), 1);
    EXPECT_EQ(coll.Current(), second);
    EXPECT_EQ(coll.Item(plat::Variant("SPO2")), first);
}

TEST_F(MeasurementCollTest, ItemAndRemoveByPositionOrKey) {
    CMeasurementColl coll;
    coll.Add(Make("A"));
    coll.Add(Make("B"));
    coll.Add(Make("C"));
    EXPECT_EQ(coll.Item(plat::Variant(0)), nullptr);
    EXPECT_EQ(coll.Item(plat::Variant(4)), nullptr);
    EXPECT_EQ(coll.Item(plat::Variant("Z")), nullptr);
    EXPECT_EQ(coll.Item(plat::Variant(2))->Key(), "B");
    coll.Remove(plat::Variant(9));
    coll.Remove(plat::Variant("z"));
    EXPECT_EQ(coll.Count(), 3);
    coll.Remove(plat::Variant("b"));
    coll.Remove(plat::Variant(1));
    ASSERT_EQ(coll.Count(), 1);
    EXPECT_EQ(coll.Item(plat::Variant(1))->Key(), "C");
    coll.Clear();
    EXPECT_EQ(coll.Count(), 0);
    EXPECT_EQ(coll.Current(), nullptr);
}

TEST_F(MeasurementCollTest, SavesInOrderAndLoadsAppendingAndDroppingDuplicates) {
    CMeasurementColl coll;
    coll.Add(Make("SpO2"));
    coll.Add(Make("BPM"));
    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(coll.Save(*doc));
    auto all = doc->DocumentElement();
    ASSERT_EQ(all->Name(), "AllMeasurements");
    ASSERT_EQ(all->ChildNodes()->Count(), 2);
    EXPECT_EQ(all->ChildNodes()->ElementAt(0)->GetAttribute("Key"), "SpO2");

    CMeasurementColl back;
    back.Add(Make("Other"));
    back.Load(*all);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Item(plat::Variant(3))->Key(), "BPM");
    EXPECT_TRUE(back.Item(plat::Variant(2))->IntegerFormat() == false);  // read from the saved "0"

    auto twice = host::XmlFactory().NewDocument();
    twice->LoadXml("<AllMeasurements><Measurement Key=\"BPM\"><Value>1</Value></Measurement><Note/>"
                   "<Measurement Key=\"bpm\"><Value>2</Value></Measurement></AllMeasurements>");
    CMeasurementColl dup;
    dup.Load(*twice->DocumentElement());
    ASSERT_EQ(dup.Count(), 1);
    EXPECT_EQ(dup.Item(plat::Variant(1))->Value(), plat::Variant(1.0));
    EXPECT_EQ(dup.Current()->Value(), plat::Variant(2.0));
}

TEST_F(MeasurementCollTest, AnEmptyCollectionSavesAnEmptyElementThatLoadsNothing) {
    CMeasurementColl coll;
    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(coll.Save(*doc));
    EXPECT_FALSE(doc->DocumentElement()->HasChildNodes());
    CMeasurementColl back;
    back.Load(*doc->DocumentElement());
    EXPECT_EQ(back.Count(), 0);
}

}  // namespace
