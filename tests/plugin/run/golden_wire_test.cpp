// The wire byte for byte: everything written on the line, with the loop time
// of each write, for an R-curve upload into a custom slot and for the whole
// shipped sequence, and that sequence saved with its results, against captures
// kept in the golden folder beside this file. A difference in a command's text, its delays or the conversions of
// an upload shows here. ORVIK_UPDATE_GOLDEN=1 writes the captures anew.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "host/xml.h"
#include "tests/plugin/run/run_fixture.h"

namespace run_test {
namespace {

std::string GoldenPath(const std::string& name) { return std::string(ORVIK_RUN_GOLDEN_DIR) + "/" + name; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One line per write, "<ms> <text>", bytes outside printable ASCII and the
// backslash escaped; then the loop time at the end.
std::string Capture(const serialtest::FakeSerialLine& line, plat::Millis end) {
    std::string out;
    for (const auto& w : line.Writes()) {
        out += std::to_string(w.time) + (w.failed ? " failed " : " ");
        for (unsigned char c : w.text) {
            if (c >= 0x20 && c < 0x7F && c != '\\') {
                out += static_cast<char>(c);
            } else {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            }
        }
        out += "\n";
    }
    return out + "end " + std::to_string(end) + "\n";
}

class GoldenWireTest : public RunTest {
protected:
    void ExpectWire(const std::string& name) { ExpectText(name, Capture(serial.Line(), Now())); }
    void ExpectText(const std::string& name, const std::string& actual) {
        const std::string path = GoldenPath(name);
        const char* update = std::getenv("ORVIK_UPDATE_GOLDEN");
        if (update && std::string(update) == "1") {
            std::ofstream(path, std::ios::binary) << actual;
            return;
        }
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_EQ(actual, ReadText(path)) << name;
    }
};

TEST_F(GoldenWireTest, AnUploadIntoACustomSlotWithBothConversions) {
    PutMake("Acme Oxi 2000", "acme.txt");
    auto test = NewTest(100);
    auto config = Config(test);
    config->SetOximeterMake(10);
    config->SetOximeterMakeName("Acme Oxi 2000");
    config->SetUploadRCurve(true);
    config->CopyCloneData(config.get());
    auto make = config->CurrentMake();
    ASSERT_TRUE(make);
    // Values at the edges of rounding, in both decimal signs.
    make->AddRValue(51, "0,125");
    make->AddRValue(52, "1.005");
    make->AddRValue(53, "2.495");
    make->SetRedDC(1005);
    make->SetIRDC(2015);
    make->SetIRAC(1234);
    Start([&] { Click(FTestGuide::kNext); }).ChooseSlot(2);
    test->Perform(setup);
    ASSERT_EQ(sim.Uploads().size(), 1u);
    ExpectWire("upload.txt");
}

TEST_F(GoldenWireTest, TheShippedSequence) {
    auto group = std::dynamic_pointer_cast<plugin::CTestGroup>(plugIn_->CreateTest(1));
    ASSERT_TRUE(group);
    ASSERT_EQ(group->Count(), 4);
    Start([&] {
        Type("98", "55").Click(FTestGuide::kNext);
        Start([&] {
            Click(FTestGuide::kNext);
            Start([&] {
                Click(FTestGuide::kNext);
                Start([&] { Click(FTestGuide::kNext); });
            });
        });
    });
    group->Perform(setup);
    for (int32_t i = 1; i <= 4; ++i) ASSERT_TRUE(group->Item(i)->Result()) << i;
    ExpectWire("shipped_sequence.txt");
    // The saved sequence with its results, byte for byte.
    auto doc = host::XmlFactory().NewDocument();
    doc->AppendChild(group->Save(*doc, {}));
    ExpectText("shipped_sequence_saved.xml", doc->Xml());
}

}  // namespace
}  // namespace run_test
