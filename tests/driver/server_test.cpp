// The real liborvikPelmo2VTI.so as its callers meet it: registered into a
// temporary registry, created by ProgID and driven through the interface header.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/vti_interface.h"
#include "platform/com/com.h"
#include "platform/loop/message_loop.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"

namespace drvtest {
namespace {

std::string LibraryPath() {
    const char* bin = std::getenv("ORVIK_BIN_DIR");
    return std::string(bin ? bin : ".") + "/liborvikPelmo2VTI.so";
}

TEST(ServerTest, ControlCreatedByProgIdDrivesTheSimulator) {
    plat::VirtualTimeScope time;
    serialtest::FakeSerialScope serial(1);  // also a temporary registry file
    serialtest::SimulatedInstrument sim(serial);
    ASSERT_NO_THROW(plat::RegisterServer(LibraryPath()));

    std::shared_ptr<drv::IXVTIControl> control = drv::CreateXVTIControl();
    ASSERT_TRUE(control);
    std::vector<int> errors;
    ASSERT_TRUE(drv::ConnectControlEvents(control, [&](const std::string& name, std::vector<plat::Variant>& params) {
        EXPECT_EQ(name, drv::kCommunicationErrorEvent);
        auto error = drv::EventError(params);
        errors.push_back(error ? error->ErrorNumber() : -1);
    }));

    control->InitVTI();
    control->SetUploadCancel(false);
    control->EndRemote();
    control->StartRemote();
    EXPECT_EQ(control->GetVersion(), sim.VersionReply());
    EXPECT_EQ(control->SetMake("2"), "Datascope");
    control->SetBPM(75);
    control->ResetInstrument();
    control->EndRemote();
    EXPECT_EQ(sim.CommandTexts(), (std::vector<std::string>{"[VER]", "[MAKE2]", "[BPM75]", "[Q]"}));
    EXPECT_TRUE(errors.empty());

    sim.SetSilent(true);
    control->StartRemote();
    EXPECT_EQ(control->GetVersion(), "");
    EXPECT_EQ(errors, (std::vector<int>{drv::ecsMTINotFound}));
    control->EndRemote();
    control.reset();

    for (const char* progId : {"OrvikPelmo2VTI.CPelmo2VTI", "OrvikPelmo2VTI.CPelmo2VTIError", "OrvikPelmo2VTI.EStatus"})
        EXPECT_TRUE(plat::CreateObject(progId)) << progId;
    auto error = plat::CreateObjectAs<drv::ICPelmo2VTIError>("orvikpelmo2vti.cpelmo2vtierror");
    EXPECT_EQ(error->ErrorNumber(), 0);

    plat::UnregisterServer(LibraryPath());
    EXPECT_THROW(plat::CreateObject(drv::kXVTIControlProgId), plat::ComError);
}

}  // namespace
}  // namespace drvtest
