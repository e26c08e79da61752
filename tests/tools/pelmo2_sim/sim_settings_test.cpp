// The simulator program's start-up settings: what a technician types or keeps
// in a file must reach the instrument exactly, and mistakes must be named.

#include "tools/pelmo2_sim/sim_settings.h"

#include <gtest/gtest.h>

#include "sim/simulated_instrument.h"
#include "tests/support/temp_dir.h"

namespace {

using sim::SimSettings;
using sim::UsageError;

std::string ErrorOf(const std::vector<std::string>& args) {
    try {
        SimSettings::Parse(args);
    } catch (const UsageError& e) {
        return e.what();
    }
    return "";
}

TEST(SimSettings, OptionsReachTheInstrument) {
    const SimSettings s = SimSettings::Parse({"--make", "10=ACME", "--make", " 15 = Long Name Oxi ", "--port", "4",
                                              "--registry", "/x/r.reg", "--version-line", "Pelmo Q5 Version 3.00",
                                              "--reply-delay", "0", "--probe-line", "LED", "--probe-line", "R=1.5",
                                              "--garbage"});
    EXPECT_EQ(s.port, 4);
    EXPECT_EQ(s.registryFile, "/x/r.reg");

    std::vector<std::string> sent;
    sim::SimulatedInstrument instrument([&](plat::Millis, std::string bytes) { sent.push_back(bytes); });
    s.ApplyTo(instrument);
    EXPECT_EQ(instrument.MakeReply(10), "DownLoad Make: ACME\r\n");
    EXPECT_EQ(instrument.MakeReply(15), "DownLoad Make: Long Name Oxi\r\n");
    EXPECT_EQ(instrument.MakeReply(11), "DownLoad Make: CUSTOM 2\r\n") << "slots not named keep theirs";
    EXPECT_EQ(instrument.MakeReply(3), "DownLoad Make: Datex\r\n");
    EXPECT_EQ(instrument.VersionReply(), "Pelmo Q5 Version 3.00\r\n");
    EXPECT_EQ(instrument.ProbeReport(), "LED\r\nR=1.5\r\n   \r\n");
    EXPECT_EQ(instrument.ReplyDelay(), 0);
    EXPECT_TRUE(instrument.Garbage());
    EXPECT_FALSE(instrument.Silent());
}

TEST(SimSettings, MistakesAreNamedNotGuessed) {
    EXPECT_NE(ErrorOf({"--make", "9=BCI"}).find("10 to 15"), std::string::npos) << "built-in slots are fixed";
    EXPECT_NE(ErrorOf({"--make", "16=X"}).find("10 to 15"), std::string::npos);
    EXPECT_NE(ErrorOf({"--make", "ACME"}).find("N=NAME"), std::string::npos);
    EXPECT_NE(ErrorOf({"--make", "12="}).find("needs a name"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "0"}).find("--port"), std::string::npos);
    EXPECT_NE(ErrorOf({"--port", "2x"}).find("--port"), std::string::npos);
    EXPECT_NE(ErrorOf({"--reply-delay", "-1"}).find("--reply-delay"), std::string::npos);
    EXPECT_NE(ErrorOf({"--reply-delay"}).find("needs a value"), std::string::npos);
    EXPECT_NE(ErrorOf({"--verbose"}).find("unknown option --verbose"), std::string::npos);
    EXPECT_NE(ErrorOf({"--probe-file", "/nonexistent/probe.txt"}).find("/nonexistent/probe.txt"), std::string::npos);
    EXPECT_NE(ErrorOf({"--probe-file", "a", "--probe-line", "b"}).find("not both"), std::string::npos);
    EXPECT_EQ(ErrorOf({}), "");
    EXPECT_TRUE(SimSettings::Parse({"--help"}).help);
}

TEST(SimSettings, FilesGiveMakesAndTheProbeReportInTheInstrumentsLineEnds) {
    test_support::TempDir dir;
    const std::string makes = dir.Write("makes.txt", "# custom slots\r\n10=ACME\n\n  12 = Oxi Two\r\n");
    const std::string lfProbe = dir.Write("probe.txt", "LED\nR=1.25\nPIN 1 TO PIN 2 = 10.2K\n");
    const std::string closedProbe = dir.Write("closed.txt", "LED\r\nR=1\r\n   \r\n");
    const SimSettings s = SimSettings::Parse({"--makes", makes, "--probe-file", lfProbe});
    EXPECT_EQ(s.makeNames, (std::map<int, std::string>{{10, "ACME"}, {12, "Oxi Two"}}));
    EXPECT_EQ(*s.probeReport, "LED\r\nR=1.25\r\nPIN 1 TO PIN 2 = 10.2K\r\n   \r\n");
    EXPECT_EQ(SimSettings::ReadProbeFile(closedProbe), "LED\r\nR=1\r\n   \r\n") << "the closing line is not doubled";
    EXPECT_EQ(SimSettings::ProbeReportFromLines({}), "   \r\n");

    const std::string bad = dir.Write("bad.txt", "10=ACME\n# fine\n7=BCI\n");
    try {
        SimSettings::Parse({"--makes", bad});
        ADD_FAILURE() << "a built-in slot in the file was taken";
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find(bad + " line 3"), std::string::npos) << e.what();
    }
}

}  // namespace
