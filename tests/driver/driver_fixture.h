#pragma once
// Shared set-up of the driver tests: a virtual clock, a fake serial line with
// the simulator on it, instrument-link port 1, and a driver engine whose
// CommunicationError events are recorded.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "driver/cancel_flag.h"
#include "driver/pelmo2_vti.h"
#include "platform/loop/message_loop.h"
#include "tests/support/serial/fake_serial_port.h"
#include "tests/support/serial/simulated_instrument.h"

namespace drvtest {

using Wire = std::vector<std::pair<plat::Millis, std::string>>;

class DriverTest : public ::testing::Test {
protected:
    DriverTest() { drv::ResetCancelFlagForTests(); }
    ~DriverTest() override { drv::ResetCancelFlagForTests(); }

    plat::Millis Now() const { return plat::MessageLoop::Current().Now(); }
    serialtest::FakeSerialLine& Line() { return serial_.Line(); }

    // Successful writes with their times.
    Wire Written() {
        Wire wire;
        for (const auto& w : Line().Writes())
            if (!w.failed) wire.emplace_back(w.time, w.text);
        return wire;
    }

    // Runs `action` at loop time `time` (from inside a pump).
    void At(plat::Millis time, std::function<void()> action) {
        plat::MessageLoop::Current().PostDelayed(time - Now(), std::move(action));
    }
    void CancelAt(plat::Millis time) {
        At(time, [] { drv::SetCancelFlag(true); });
    }

    std::shared_ptr<drv::CPelmo2VTI> NewEngine() {
        auto vti = std::make_shared<drv::CPelmo2VTI>();
        vti->OnCommunicationError = [this](const std::shared_ptr<drv::CPelmo2VTIError>& e) {
            events_.push_back(e->ErrorNumber());
            eventTimes_.push_back(Now());
        };
        return vti;
    }
    // An engine with an open session on port 1 (nothing written yet).
    std::shared_ptr<drv::CPelmo2VTI> Session() {
        auto vti = NewEngine();
        vti->StartRemote();
        EXPECT_TRUE(vti->HasSession());
        EXPECT_TRUE(events_.empty());
        return vti;
    }
    drv::ECommsStatus Status(const std::shared_ptr<drv::CPelmo2VTI>& vti) { return vti->Error()->ErrorNumber(); }

    plat::VirtualTimeScope time_;
    serialtest::FakeSerialScope serial_{1};
    serialtest::SimulatedInstrument sim_{serial_};
    std::vector<int> events_;
    std::vector<plat::Millis> eventTimes_;
};

inline std::vector<int> Events(std::initializer_list<int> e) { return std::vector<int>(e); }

}  // namespace drvtest
