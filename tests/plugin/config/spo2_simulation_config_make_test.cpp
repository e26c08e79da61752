// A custom make carried in saved data, met with a prepared make folder.

#include <gtest/gtest.h>

#include <functional>

#include "platform/loop/message_loop.h"
#include "platform/values/text.h"
#include "plugin/config/config_trace.h"
#include "plugin/config/spo2_simulation_config.h"
#include "plugin/shell/test_data.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

using plugin::CSpO2SimulationConfig;
using plat::ui::vbNo;
using plat::ui::vbYes;
using Answer = plugin_test::ScriptedSaveMakeDialog::Answer;

struct CarriedMake {
    std::string name = "Acme";
    std::string file = "acme.txt";
    int32_t tlc = 3500;
    int points = 51;
    int firstSpO2 = 50;
    double rShift = 0;  // added to every R value
};

class CarriedMakeTest : public plugin_test::Spo2ConfigTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        config_ = std::make_shared<CSpO2SimulationConfig>();
    }

    static std::string Xml(const CarriedMake& m, int32_t index = 12) {
        std::string xml = "<PlugInData><PluginSetup><OximeterMake><OximeterMakeName>" + m.name +
                          "</OximeterMakeName><File>" + m.file +
                          "</File><RDC>3500</RDC><IRDC>3500</IRDC><IRAC>1000</IRAC><LightLevel>1</LightLevel><TLC>" +
                          std::to_string(m.tlc) + "</TLC>";
        for (int i = 0; i < m.points; ++i) {
            int spo2 = m.firstSpO2 + i;
            xml += "<RCurveElement SpO2Value=\"" + std::to_string(spo2) + "\" RValue=\"" +
                   plat::NumberToText((100 - spo2) / 20.0 + m.rShift) + "\"/>";
        }
        return xml + "</OximeterMake><OximeterIndex>" + std::to_string(index) +
               "</OximeterIndex><UploadRCurve>1</UploadRCurve></PluginSetup></PlugInData>";
    }
    // Loads into a configuration that holds the folder's library, as a test
    // made from the template does.
    void Load(const CarriedMake& m, bool withLibrary = true) {
        if (withLibrary) {
            auto templ = std::make_shared<CSpO2SimulationConfig>();
            config_ = std::dynamic_pointer_cast<CSpO2SimulationConfig>(templ->Clone());
        }
        LoadXml(*config_, Xml(m));
    }
    // Runs the load and checks that only the named make files changed.
    void ExpectOnlyChanged(const std::function<void()>& load, std::set<std::string> changed) {
        auto before = Snapshot();
        load();
        auto after = Snapshot();
        for (const auto& [path, bytes] : before) {
            auto it = after.find(path);
            const std::string name = plat::fs::FileName(path);
            if (changed.count(name)) continue;
            ASSERT_NE(it, after.end()) << path << " removed";
            EXPECT_EQ(it->second, bytes) << path << " changed";
        }
        for (const auto& [path, bytes] : after) {
            if (before.count(path)) continue;
            EXPECT_EQ(plat::fs::FolderOf(path), folder_) << path << " written outside the make folder";
            EXPECT_TRUE(changed.count(plat::fs::FileName(path))) << path << " written";
        }
    }
    // The operator is told when a test loses its custom make.
    void ToldOfFallBack() { op_.Answer(plat::ui::vbOK, "could not keep its custom oximeter make"); }
    void ExpectFellBack() {
        ASSERT_FALSE(op_.Messages().empty());
        EXPECT_EQ(op_.Messages().back().title, "Oximeter make");
        EXPECT_EQ(config_->OximeterMake(), 0);
        EXPECT_EQ(config_->OximeterMakeName(), "BCI");
        EXPECT_FALSE(config_->UploadRCurve());
        EXPECT_FALSE(config_->CurrentMake());
    }
    void ExpectSelected(const std::string& name, const std::string& file) {
        ASSERT_TRUE(config_->CurrentMake());
        EXPECT_EQ(config_->OximeterMake(), 12);
        EXPECT_EQ(config_->CurrentMake()->Name(), name);
        EXPECT_EQ(config_->OximeterMakeName(), name);
        EXPECT_EQ(config_->CurrentMake()->File(), file);
        EXPECT_TRUE(config_->UploadRCurve());
        ASSERT_TRUE(config_->Makes()->Exists(name));
        EXPECT_EQ(config_->Makes()->Item(name).get(), config_->CurrentMake().get());
    }
    makes::OximeterMakePtr OnDisk(const std::string& file) { return makes::ReadMakesFile(Path(file)); }

    plat::VirtualTimeScope time_;
    plat::ui::test::ScriptedOperator op_;
    std::shared_ptr<CSpO2SimulationConfig> config_;
};

TEST_F(CarriedMakeTest, SameNameAndSameCurveSelectsTheLocalMake) {
    PutMake("ACME", "local-acme.txt");
    ExpectOnlyChanged([&] { Load({}); }, {});
    ExpectSelected("ACME", "local-acme.txt");
    EXPECT_TRUE(dialog_->shown.empty());
    EXPECT_TRUE(op_.Messages().empty());
}

TEST_F(CarriedMakeTest, ChangedCurveOverwrittenAfterTheQuestion) {
    PutMake("ACME", "acme.txt");
    op_.Answer(vbYes, "already exists");
    ExpectOnlyChanged([&] { Load({.tlc = 2000, .rShift = 0.01}); }, {"acme.txt"});
    ExpectSelected("ACME", "acme.txt");  // the local name stays
    auto disk = OnDisk("acme.txt");
    ASSERT_TRUE(disk);
    EXPECT_EQ(disk->Name(), "ACME");
    EXPECT_EQ(disk->TLC(), 2000);
    EXPECT_EQ(disk->RCurve()->Item(51)->rvalue(), "0.01");
    EXPECT_EQ(config_->CurrentMake()->TLC(), 2000);
    ASSERT_EQ(op_.Messages().size(), 1u);
    EXPECT_EQ(op_.Messages()[0].title, "Overwrite");
    EXPECT_EQ(op_.Messages()[0].buttons, plat::ui::vbYesNo | plat::ui::vbQuestion);
}

TEST_F(CarriedMakeTest, OverwriteDeclinedGoesToSaveAs) {
    PutMake("Acme", "acme.txt");
    op_.Answer(vbNo);
    dialog_->answers.push_back({true, "Acme2", "acme2.txt"});
    ExpectOnlyChanged([&] { Load({.rShift = 0.02}); }, {"acme2.txt"});
    ASSERT_EQ(dialog_->shown.size(), 1u);
    EXPECT_EQ(dialog_->shown[0].name, "");
    EXPECT_EQ(dialog_->shown[0].file, "");
    EXPECT_EQ(dialog_->shown[0].listed, 1);
    ExpectSelected("Acme2", "acme2.txt");
    ASSERT_TRUE(OnDisk("acme2.txt"));
    EXPECT_EQ(OnDisk("acme2.txt")->Name(), "Acme2");
    EXPECT_EQ(config_->Makes()->Count(), 2);
}

TEST_F(CarriedMakeTest, OverwriteDeclinedAndSaveAsRefusedFallsBackAndTellsIt) {
    PutMake("Acme", "acme.txt");
    auto test = std::make_shared<plugin::CTestData>();
    test->Create(100, nullptr);
    test->Info()->SetName("Saturation 70");
    config_ = std::dynamic_pointer_cast<CSpO2SimulationConfig>(test->Configuration());
    ASSERT_TRUE(config_);
    op_.Answer(vbNo);
    dialog_->answers.push_back({false, "", ""});
    ToldOfFallBack();
    ExpectOnlyChanged([&] { Load({.rShift = 0.02}, false); }, {});
    ExpectFellBack();
    ASSERT_EQ(op_.Messages().size(), 2u);
    EXPECT_EQ(op_.Messages()[1].prompt,
              "The test \"Saturation 70\" could not keep its custom oximeter make \"Acme\". "
              "It now uses the oximeter make \"BCI\".");
    EXPECT_EQ(op_.Messages()[1].buttons, plat::ui::vbOKOnly | plat::ui::vbExclamation);
}

TEST_F(CarriedMakeTest, NewMakeIsWrittenWithoutAQuestion) {
    PutMake("Other", "other.txt");
    ExpectOnlyChanged([&] { Load({.name = "Newmake", .file = "NewMake.TXT"}); }, {"NewMake.TXT"});
    ExpectSelected("Newmake", "NewMake.TXT");
    ASSERT_TRUE(OnDisk("NewMake.TXT"));
    EXPECT_EQ(OnDisk("NewMake.TXT")->Name(), "Newmake");
    EXPECT_TRUE(dialog_->shown.empty());
}

TEST_F(CarriedMakeTest, ReadOnlyLocalFileIsNeverOverwritten) {
    PutMake("Acme", "acme.txt");
    ASSERT_TRUE(plat::fs::SetReadOnly(Path("acme.txt"), true));
    dialog_->answers.push_back({false, "", ""});
    ToldOfFallBack();
    ExpectOnlyChanged([&] { Load({.rShift = 0.02}); }, {});
    ASSERT_EQ(dialog_->shown.size(), 1u);
    EXPECT_EQ(dialog_->shown[0].name, "");
    EXPECT_EQ(dialog_->shown[0].file, "");
    EXPECT_EQ(op_.Messages().size(), 1u) << "no overwrite question";
    ExpectFellBack();
}

TEST_F(CarriedMakeTest, FileOfThatNameThatIsNoMakeIsNotReplaced) {
    WriteFile("acme.txt", "notes of another program\r\n");
    dialog_->answers.push_back({true, "Acme", "acme-new.txt"});
    ExpectOnlyChanged([&] { Load({}); }, {"acme-new.txt"});
    ASSERT_EQ(dialog_->shown.size(), 1u);
    EXPECT_EQ(dialog_->shown[0].name, "Acme");
    EXPECT_EQ(dialog_->shown[0].file, "");
    ExpectSelected("Acme", "acme-new.txt");
}

TEST_F(CarriedMakeTest, SaveAsOntoAFileOnDiskAsksAgain) {
    WriteFile("taken.txt", "not a make");
    dialog_->answers.push_back({true, "Acme", "taken.txt"});
    dialog_->answers.push_back({true, "Acme", "free.txt"});
    ExpectOnlyChanged([&] { Load({.name = "", .file = "acme.txt"}); }, {"free.txt"});
    ASSERT_EQ(dialog_->shown.size(), 2u);
    EXPECT_EQ(dialog_->shown[0].file, "acme.txt");
    EXPECT_EQ(dialog_->shown[1].name, "Acme");
    EXPECT_EQ(dialog_->shown[1].file, "");
    ExpectSelected("Acme", "free.txt");
}

TEST_F(CarriedMakeTest, UnsafeFileNamesGoToSaveAsWithTheNameFilledIn) {
    for (const char* file : {"../acme.txt", "sub/acme.txt", ".acme.txt", "acme.dat", "", ".txt", "acme.txt\\x"}) {
        SCOPED_TRACE(file);
        dialog_->shown.clear();
        dialog_->answers.push_back({false, "", ""});
        ToldOfFallBack();
        ExpectOnlyChanged([&] { Load({.file = file}); }, {});
        ASSERT_EQ(dialog_->shown.size(), 1u);
        EXPECT_EQ(dialog_->shown[0].name, "Acme");
        EXPECT_EQ(dialog_->shown[0].file, "");
        ExpectFellBack();
    }
}

TEST_F(CarriedMakeTest, MalformedCurvesAreNotTaken) {
    for (CarriedMake m : {CarriedMake{.points = 50}, CarriedMake{.points = 52, .firstSpO2 = 49},
                          CarriedMake{.points = 51, .firstSpO2 = 49}, CarriedMake{.points = 0}}) {
        SCOPED_TRACE(m.points);
        ToldOfFallBack();
        ExpectOnlyChanged([&] { Load(m); }, {});
        ExpectFellBack();
    }
    std::string xml = Xml({});
    // One point's SpO2 is no number, one point swapped.
    std::string bad = xml;
    bad.replace(bad.find("SpO2Value=\"60\""), 14, "SpO2Value=\"x\"");
    ToldOfFallBack();
    ExpectOnlyChanged([&] { LoadXml(*config_, bad); }, {});
    ExpectFellBack();
    bad = xml;
    bad.replace(bad.find("SpO2Value=\"60\""), 14, "SpO2Value=\"61\"");
    ToldOfFallBack();
    ExpectOnlyChanged([&] { LoadXml(*config_, bad); }, {});
    ExpectFellBack();
    EXPECT_TRUE(dialog_->shown.empty());
}

TEST_F(CarriedMakeTest, UnusableNamesGoToSaveAsWithTheFileFilledIn) {
    for (const char* name : {"", "   ", "masimo", "&lt;&lt;Custom oximeter&gt;&gt;", "&lt;&lt;custom OXIMETER&gt;&gt;"}) {
        SCOPED_TRACE(name);
        dialog_->shown.clear();
        dialog_->answers.push_back({false, "", ""});
        ToldOfFallBack();
        ExpectOnlyChanged([&] { Load({.name = name}); }, {});
        ASSERT_EQ(dialog_->shown.size(), 1u);
        EXPECT_EQ(dialog_->shown[0].name, "");
        EXPECT_EQ(dialog_->shown[0].file, "acme.txt");
        ExpectFellBack();
        // The notice quotes the make's name only when the saved test had one.
        const std::string told = op_.Messages().back().prompt;
        if (plat::Trim(name).empty())
            EXPECT_EQ(told, "The test \"\" could not keep its custom oximeter make, which had no name. "
                            "It now uses the oximeter make \"BCI\".");
        else
            EXPECT_TRUE(told.find("custom oximeter make \"") != std::string::npos &&
                        told.find("make \"\"") == std::string::npos)
                << told;
    }
}

TEST_F(CarriedMakeTest, ACustomIndexSavedWithoutItsMakeIsToldAsAMakeWithoutAName) {
    // The configuration loaded into holds a built-in make's name, as one does
    // after a fall-back: that name was never the saved test's custom make.
    config_->SetOximeterMakeName("BCI");
    ToldOfFallBack();
    LoadXml(*config_, "<PlugInData><PluginSetup><OximeterIndex>12</OximeterIndex></PluginSetup></PlugInData>");
    ExpectFellBack();
    EXPECT_EQ(op_.Messages().back().prompt,
              "The test \"\" could not keep its custom oximeter make, which had no name. "
              "It now uses the oximeter make \"BCI\".");
}

TEST_F(CarriedMakeTest, NameOfAnotherFileOrFileOfAnotherName) {
    PutMake("Acme", "acme-local.txt");
    PutMake("Beta", "beta.txt");
    // Same name, another file: the name must change, the carried file is offered.
    dialog_->answers.push_back({true, "Acme3", "acme.txt"});
    ExpectOnlyChanged([&] { Load({.rShift = 0.03}); }, {"acme.txt"});
    EXPECT_EQ(dialog_->shown.back().name, "");
    EXPECT_EQ(dialog_->shown.back().file, "acme.txt");
    ExpectSelected("Acme3", "acme.txt");
    // Another name, a file of the library: the file must change.
    dialog_->answers.push_back({true, "Gamma", "gamma.txt"});
    ExpectOnlyChanged([&] { Load({.name = "Gamma", .file = "BETA.txt"}); }, {"gamma.txt"});
    EXPECT_EQ(dialog_->shown.back().name, "Gamma");
    EXPECT_EQ(dialog_->shown.back().file, "");
    ExpectSelected("Gamma", "gamma.txt");
    EXPECT_EQ(OnDisk("beta.txt")->Name(), "Beta");
}

TEST_F(CarriedMakeTest, LibraryIsReadBeforeMatching) {
    PutMake("Acme", "acme.txt");
    // A fresh configuration has no library yet: the identical local make is
    // found, nothing is asked or written.
    ExpectOnlyChanged([&] { Load({.name = "acme"}, false); }, {});
    ExpectSelected("Acme", "acme.txt");
}

TEST_F(CarriedMakeTest, FailedWriteIsTracedAndTheMakeKept) {
    std::vector<std::string> lines;
    auto previous = plugin::SetConfigTraceSink([&](const std::vector<plat::Variant>& values) {
        std::string line;
        for (const auto& v : values) line += v.AsString() + "\t";
        lines.push_back(line);
    });
    // A name the file system refuses: too long for one folder entry.
    const std::string file = std::string(300, 'a') + ".txt";
    ExpectOnlyChanged([&] { Load({.file = file}); }, {});
    ExpectSelected("Acme", file);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(file), std::string::npos);
    plugin::SetConfigTraceSink(previous);
}

TEST_F(CarriedMakeTest, CarriedMakeTravelsToAnotherFolder) {
    PutMake("Acme", "acme.txt");
    Load({});
    config_->SetTlc(1234);
    const std::string saved = SaveXml(*config_);
    // Another computer: an empty make folder.
    std::filesystem::remove(Path("acme.txt"));
    auto other = std::make_shared<CSpO2SimulationConfig>();
    ExpectOnlyChanged([&] { LoadXml(*other, saved); }, {"acme.txt"});
    ASSERT_TRUE(other->CurrentMake());
    EXPECT_EQ(other->GetTlc(), 1234);
    EXPECT_EQ(OnDisk("acme.txt")->TLC(), 1234);
    EXPECT_EQ(SaveXml(*other), saved);
}

}  // namespace
