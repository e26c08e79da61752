#include "driver/f_comm.h"

#include "platform/values/abort_error.h"

namespace drv {

FComm::FComm() {
    try {
        port_ = plat::CreateSerialPort();
    } catch (...) {
        plat::RethrowAbort();
        port_.reset();
    }
}

FComm::~FComm() { ClosePortIfOpen(); }

bool FComm::PortOpen() const { return port_ && port_->IsOpen(); }

void FComm::ClosePortIfOpen() {
    if (PortOpen()) port_->Close();
}

plat::PortError FComm::InputValue(std::string& out) {
    if (!port_) return plat::PortError::Io;
    return port_->Read(out);
}

plat::PortError FComm::OutputValue(std::string_view text) {
    if (!port_) return plat::PortError::Io;
    return port_->Write(text);
}

int32_t FComm::OutBufferCount() { return port_ ? port_->OutBufferCount() : 0; }

int32_t FComm::InBufferCount(plat::PortError* error) {
    if (!port_) {
        if (error) *error = plat::PortError::Io;
        return -1;
    }
    plat::PortError e = plat::PortError::None;
    int32_t n = port_->InBufferCount(&e);
    if (n < 0 && e == plat::PortError::None) e = plat::PortError::Io;
    if (error) *error = e;
    return n;
}

void FComm::ClearInBuffer() {
    if (port_) port_->DiscardInput();
}

bool FComm::HungUp() { return port_ && port_->IsOpen() && port_->HungUp(); }

plat::PortError FComm::InitPort(int16_t port, const std::string& settings) {
    if (!port_) return plat::PortError::Io;
    if (port_->IsOpen()) port_->Close();
    return port_->Open(port, settings);
}

}  // namespace drv
