// A make carried in saved data goes through the real save-make dialog when
// its file name is one the dialog would refuse.

#include <gtest/gtest.h>

#include "platform/loop/virtual_time_scope.h"
#include "platform/values/numfmt.h"
#include "plugin/config/spo2_config_part.h"
#include "plugin/config/spo2_simulation_config.h"
#include "tests/plugin/config/spo2_config_fixture.h"
#include "tests/support/ui/scripted_operator.h"

namespace {

class SaveMakeRoadTest : public plugin_test::Spo2ConfigTest {
protected:
    void SetUp() override {
        Spo2ConfigTest::SetUp();
        plugin::RegisterSpO2ConfigurationPart();  // the real dialog in place of the fake
    }
    // The configuration element of a test carrying the make "Acme" in `file`.
    static std::string Carried(const std::string& file) {
        std::string xml = "<PlugInData><PluginSetup><OximeterMake><OximeterMakeName>Acme</OximeterMakeName><File>" +
                          file + "</File><RDC>3500</RDC><IRDC>3500</IRDC><IRAC>1000</IRAC><LightLevel>1</LightLevel>"
                          "<TLC>3500</TLC>";
        for (int spo2 = 50; spo2 <= 100; ++spo2)
            xml += "<RCurveElement SpO2Value=\"" + std::to_string(spo2) + "\" RValue=\"" +
                   plat::NumberToText((100 - spo2) / 20.0) + "\"/>";
        return xml + "</OximeterMake><OximeterIndex>12</OximeterIndex><UploadRCurve>1</UploadRCurve>"
                     "</PluginSetup></PlugInData>";
    }
    plat::VirtualTimeScope time_;
};

TEST_F(SaveMakeRoadTest, AnUnusableCarriedFileNameIsAskedForInTheSaveMakeDialog) {
    WriteFile("taken.txt", "not a make");
    plat::ui::test::ScriptedOperator op;
    op.Do("FSaveMake", "the carried name is offered",
          [](plat::ui::Form& form) {
              EXPECT_EQ(form.Controls().FindAs<plat::ui::TextBox>("tbOximeter")->Text(), "Acme");
              EXPECT_EQ(form.Controls().FindAs<plat::ui::TextBox>("tbOximeterFile")->Text(), "");
          })
        .Type("FSaveMake", "tbOximeterFile", "TAKEN")
        .Click("FSaveMake", "cmdAccept")
        .Answer(plat::ui::vbOK, "This file name is in use")
        .EnterText("FSaveMake", "tbOximeterFile", "acme2")
        .Click("FSaveMake", "cmdAccept");
    auto config = std::dynamic_pointer_cast<plugin::CSpO2SimulationConfig>(
        std::make_shared<plugin::CSpO2SimulationConfig>()->Clone());
    LoadXml(*config, Carried("a:b.txt"));
    ASSERT_TRUE(config->CurrentMake());
    EXPECT_EQ(config->CurrentMake()->Name(), "Acme");
    EXPECT_EQ(config->CurrentMake()->File(), "acme2.txt");
    EXPECT_TRUE(plat::fs::FileExists(Path("acme2.txt")));
    EXPECT_FALSE(plat::fs::FileExists(Path("a:b.txt")));
    std::string bytes;
    plat::fs::ReadFile(Path("taken.txt"), bytes);
    EXPECT_EQ(bytes, "not a make");
}

}  // namespace
