// Reading the simulator's probe report into keyed items.

#include "driver/probe_parser.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "driver/cancel_flag.h"
#include "platform/loop/message_loop.h"
#include "platform/values/numfmt.h"

namespace drvtest {
namespace {

std::vector<std::pair<std::string, std::string>> Items(const drv::KeyedCollection& c) {
    std::vector<std::pair<std::string, std::string>> out;
    for (int32_t i = 1; i <= c.Count(); ++i) out.emplace_back(c.KeyAt(i), c.Item(i).AsString());
    return out;
}
using ItemList = std::vector<std::pair<std::string, std::string>>;

class ProbeParserTest : public ::testing::Test {
protected:
    ProbeParserTest() { drv::ResetCancelFlagForTests(); }
    ~ProbeParserTest() override { drv::ResetCancelFlagForTests(); }
    plat::VirtualTimeScope time_;
    drv::KeyedCollection probe_;
};

TEST_F(ProbeParserTest, FullReport) {
    const std::string report =
        "PROBE TEST RESULTS\r\nLED\r\nR=1.25\r\nir = 12.5\r\nPHTO=3.75\r\nPHOTO: R=123 IR=456\r\n"
        "PIN 1 TO PIN 2 = 10.2K\r\nPIN 1 TO PIN 3 = 1500\r\npin 2 to pin 4 = 2.2k\r\n   \r\n";
    EXPECT_TRUE(drv::ParseProbeResults(report, &probe_));
    EXPECT_EQ(Items(probe_), (ItemList{{"R", "R=1.25"},
                                       {"IR", "IR=12.5"},
                                       {"PHTO", "PHTO=3.75"},
                                       {"PIN1-PIN2", "PIN1-PIN2=10.2"},
                                       {"PIN1-PIN3", "PIN1-PIN3=1.5"},
                                       {"PIN2-PIN4", "PIN2-PIN4=2.2"},
                                       {"PHOTO-R", "PHOTO-R=123"},
                                       {"PHOTO-IR", "PHOTO-IR=456"}}));
}

TEST_F(ProbeParserTest, UnkeyedLinesAndRepeatedKeys) {
    EXPECT_TRUE(drv::ParseProbeResults("R=1=2\r\nRed LED\r\nR=5\r\nR=6\r\nPHOTO-IR=7\r\nphoto-r = x\r\n", &probe_));
    EXPECT_EQ(Items(probe_), (ItemList{{"", "R=1=2"}, {"", "Red LED"}, {"R", "R=5"}, {"PHOTO-IR", "PHOTO-IR=7"},
                                       {"PHOTO-R", "PHOTO-R=X"}}));
}

TEST_F(ProbeParserTest, EmptyOrIgnoredTextAddsNothing) {
    EXPECT_TRUE(drv::ParseProbeResults("", &probe_));
    EXPECT_TRUE(drv::ParseProbeResults("     ", &probe_));
    EXPECT_TRUE(drv::ParseProbeResults("LED OK\r\nDONE\r\nPHOTO: nothing\r\nPIN 1 = 5\r\nPIN 1 TO PIN 2\r\n", &probe_));
    EXPECT_EQ(probe_.Count(), 0);
    EXPECT_FALSE(drv::ParseProbeResults("R=1", nullptr));
}

// Without the second "PIN" the same steps still cut three characters after
// "TO": the pair gets a key of its own and never overwrites a well-formed one.
TEST_F(ProbeParserTest, PinLineWithoutTheSecondPin) {
    EXPECT_TRUE(drv::ParseProbeResults("PIN 1 TO PIN 2 = 7K\r\nPIN 1 TO 2 = 1500\r\nPIN 7 TO 345 = 2K\r\n", &probe_));
    EXPECT_EQ(Items(probe_), (ItemList{{"PIN1-PIN2", "PIN1-PIN2=7"}, {"PIN1-PIN", "PIN1-PIN=1.5"}, {"PIN7-PIN5", "PIN7-PIN5=2"}}));
}

TEST_F(ProbeParserTest, OhmsBecomeKiloOhmsInTheUsersNumberForm) {
    plat::ScopedDecimalSign comma(',');
    EXPECT_TRUE(drv::ParseProbeResults("PIN 3 TO PIN 4 = 1500\r\nPIN 5 TO PIN 6 = 2,5\r\n", &probe_));
    EXPECT_EQ(Items(probe_), (ItemList{{"PIN3-PIN4", "PIN3-PIN4=1,5"}, {"PIN5-PIN6", "PIN5-PIN6=0,0025"}}));
}

TEST_F(ProbeParserTest, FailingHandlerRunBetweenLinesIsPassedOver) {
    plat::MessageLoop::Current().Post([] { throw std::runtime_error("a caller's handler failed"); });
    bool result = false;
    EXPECT_NO_THROW(result = drv::ParseProbeResults("R=1\r\nIR=2\r\n", &probe_));
    EXPECT_TRUE(result);
    EXPECT_EQ(probe_.Count(), 2);
}

TEST_F(ProbeParserTest, CancelFlagStopsParsing) {
    drv::SetCancelFlag(true);
    EXPECT_FALSE(drv::ParseProbeResults("R=1\r\nIR=2\r\n", &probe_));
    EXPECT_EQ(probe_.Count(), 1);
}

}  // namespace
}  // namespace drvtest
