// Every command of the driver once, as it goes on the line with the loop time
// of each write, against a capture in the golden folder. A change of a
// command's text, its delays or its reply's end shows here.
// ORVIK_UPDATE_GOLDEN=1 writes the capture anew.

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "driver/x_vti_control.h"
#include "tests/driver/driver_fixture.h"

namespace drvtest {
namespace {

class GoldenWireTest : public DriverTest {};

TEST_F(GoldenWireTest, EveryCommandWithItsDelays) {
    auto vti = NewEngine();
    vti->QueryMTI(1);
    vti->StartRemote();
    sim_.SetMakeLine(3, "DownLoad Make: ACME");
    vti->GetVersion();
    vti->SetMake("3");
    vti->SetAC(1.25);
    vti->SetSpO2Level(97);
    vti->SetAmbientLight(2);
    vti->SetBPM(75);
    vti->SetTLCLevel(3500);
    vti->SetPresetValue(4);
    vti->SetMAMP(120);
    vti->SetIRAC(1000);
    vti->SetRAC(900);
    vti->SetRDC(3000);
    vti->SetIRDC(3500);
    vti->SelectDCOrFixedSignalLevel();
    vti->SelectTestUnitSignalLevel();
    drv::KeyedCollection probe;
    vti->GetProbeResults(&probe);
    vti->QuitCommunication();
    vti->EndRemote();

    // The control's upload: R values x100, light levels x0.1.
    auto control = std::make_shared<drv::XVTIControl>();
    control->InitVTI();
    control->StartRemote();
    drv::KeyedCollection curve;
    for (int i = 0; i < 51; ++i) (void)curve.Add(plat::Variant(i % 3 == 0 ? "1,005" : "0.125"));
    (void)curve.Add(plat::Variant(2.495));
    control->LoadMakeParameters(4, "Acme", 1005, 2015, 1234, &curve);
    control->ResetInstrument();
    control->EndRemote();
    EXPECT_TRUE(events_.empty());

    std::ostringstream actual;
    for (const auto& [time, text] : Written()) actual << time << " " << text << "\n";
    actual << "end " << Now() << "\n";
    const std::string path = std::string(ORVIK_DRIVER_GOLDEN_DIR) + "/commands.txt";
    const char* update = std::getenv("ORVIK_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") std::ofstream(path, std::ios::binary) << actual.str();
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::ostringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(actual.str(), expected.str());
}

}  // namespace
}  // namespace drvtest
