// The simulated instrument on its own transport: the modes a technician
// switches and the hook the simulator program logs through.

#include "sim/simulated_instrument.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Sent = std::vector<std::pair<plat::Millis, std::string>>;

class SimulatedInstrumentTest : public ::testing::Test {
protected:
    Sent sent_;
    sim::SimulatedInstrument sim_{[this](plat::Millis t, std::string b) { sent_.emplace_back(t, std::move(b)); }};
};

TEST_F(SimulatedInstrumentTest, GarbageAnswersEveryCommandWithALineOfNoiseAndSilenceWins) {
    sim_.SetGarbage(true);
    sim_.Receive(1000, "[VER][BPM75]");
    ASSERT_EQ(sent_.size(), 2u) << "noise follows even commands that have no reply";
    for (const auto& [time, bytes] : sent_) {
        EXPECT_EQ(time, 1000 + sim::SimulatedInstrument::kDefaultReplyDelay);
        ASSERT_GE(bytes.size(), 18u);
        EXPECT_EQ(bytes.find_first_of("[]\r\n "), bytes.size() - 2);
        EXPECT_TRUE(bytes.ends_with("\r\n"));
    }
    EXPECT_NE(sent_[0].second, sent_[1].second);
    EXPECT_NE(sent_[0].second, sim_.VersionReply());

    sim_.SetSilent(true);
    sim_.Receive(2000, "[VER]");
    EXPECT_EQ(sent_.size(), 2u);
    sim_.SetSilent(false);
    sim_.SetGarbage(false);
    sim_.Receive(3000, "[VER]");
    EXPECT_EQ(sent_.back(), (std::pair<plat::Millis, std::string>{3200, sim_.VersionReply()}));
}

TEST_F(SimulatedInstrumentTest, OnCommandSeesEachCommandAfterItsUploadIsKept) {
    std::vector<std::string> seen;
    sim_.OnCommand = [&](const sim::ReceivedCommand& c) {
        seen.push_back(c.text.substr(0, 8));
        if (c.text.starts_with("[RCURVE>")) {
            EXPECT_EQ(sim_.MakeReply(14), "DownLoad Make: OXI\r\n");
        }
    };
    std::string curve;
    for (int i = 0; i < 51; ++i) curve += "100,";
    sim_.Receive(0, "[RCURVE>4:OXI      :350:350:" + curve + "][RCURVE>6:BAD      :350:350:" + curve + "]");
    sim_.Receive(10, "[MAKE14]");
    EXPECT_EQ(seen, (std::vector<std::string>{"[RCURVE>", "[RCURVE>", "[MAKE14]"}));
    ASSERT_EQ(sim_.Uploads().size(), 2u);
    EXPECT_EQ(sim_.Uploads()[1].slot, 6);
    EXPECT_EQ(sim_.MakeReply(15), "DownLoad Make: CUSTOM 6\r\n") << "slot 6 is no custom slot";
    EXPECT_EQ(sent_.back().second, "DownLoad Make: OXI\r\n");
}

TEST_F(SimulatedInstrumentTest, NeedsASender) {
    EXPECT_THROW(sim::SimulatedInstrument(nullptr), std::invalid_argument);
}

}  // namespace
