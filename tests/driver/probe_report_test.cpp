// The pin-pair keys of the probe report: the driver's item, the measurement
// key it becomes, and reading the pins back.

#include "driver/probe_report.h"

#include <gtest/gtest.h>

namespace drvtest {
namespace {

namespace report = drv::probe_report;

TEST(ProbeReportTest, PinPairKeysRoundTripAndMalformedKeysHaveNoPins) {
    EXPECT_EQ(report::PinPairItemKey("3", "11"), "PIN3-PIN11");
    EXPECT_EQ(report::PinPairKey(3, 11), "PIN3_TO_PIN11");
    EXPECT_EQ(report::PinPairKeyOfItem(report::PinPairItemKey("3", "11")), report::PinPairKey(3, 11));
    EXPECT_EQ(report::PinPairKeyOfItem("pin1-pin2"), "PIN1_TO_PIN2");

    const auto pins = report::ParsePinPair(report::PinPairKey(3, 11));
    ASSERT_TRUE(pins);
    EXPECT_EQ(pins->first, "3");
    EXPECT_EQ(pins->second, "11");
    EXPECT_TRUE(report::ParsePinPair("pin1_TO_PIN2"));  // "PIN" in any case

    for (const char* key : {"PIN3-PIN11", "PIN12", "PIN1_TO_", "PIN1_TO_PI", "PIN1_to_PIN2", "PI", "", "XPIN1_TO_PIN2"})
        EXPECT_FALSE(report::ParsePinPair(key)) << key;
}

}  // namespace
}  // namespace drvtest
