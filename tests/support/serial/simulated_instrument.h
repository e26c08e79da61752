#pragma once
// The simulated instrument (sim/) attached to a FakeSerialLine: it hears every
// successful write on the line and its replies arrive on the line at their
// loop times.

#include "sim/simulated_instrument.h"
#include "tests/support/serial/fake_serial_port.h"

#include <memory>

namespace serialtest {

using sim::Chunk;
using sim::RCurveUpload;
using sim::ReceivedCommand;
using sim::Reply;

class SimulatedInstrument : public sim::SimulatedInstrument {
public:
    explicit SimulatedInstrument(std::shared_ptr<FakeSerialLine> line);
    explicit SimulatedInstrument(FakeSerialScope& scope) : SimulatedInstrument(scope.LinePtr()) {}
    ~SimulatedInstrument();

private:
    std::shared_ptr<FakeSerialLine> line_;
};

}  // namespace serialtest
