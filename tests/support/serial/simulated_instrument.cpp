#include "tests/support/serial/simulated_instrument.h"

#include <stdexcept>

namespace serialtest {

namespace {

sim::SimulatedInstrument::Sender SendOn(const std::shared_ptr<FakeSerialLine>& line) {
    if (!line) throw std::invalid_argument("SimulatedInstrument needs a line");
    std::weak_ptr<FakeSerialLine> weak = line;
    return [weak](plat::Millis time, std::string bytes) {
        if (auto l = weak.lock()) l->DeliverAt(time, std::move(bytes));
    };
}

}  // namespace

SimulatedInstrument::SimulatedInstrument(std::shared_ptr<FakeSerialLine> line)
    : sim::SimulatedInstrument(SendOn(line)), line_(std::move(line)) {
    line_->OnWrite = [this](const WireWrite& w) { Receive(w.time, w.text); };
}

SimulatedInstrument::~SimulatedInstrument() { line_->OnWrite = nullptr; }

}  // namespace serialtest
