#include "tests/support/serial/fake_serial_port.h"

#include "platform/com/registry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace serialtest {

namespace {
plat::Millis Now() { return plat::MessageLoop::Current().Now(); }
}  // namespace

// --- FakeSerialLine ----------------------------------------------------------

std::shared_ptr<FakeSerialLine> FakeSerialLine::Create() {
    return std::shared_ptr<FakeSerialLine>(new FakeSerialLine);
}

void FakeSerialLine::HangUp() {
    hungUp_ = true;
    if (!input_.empty()) {
        lostBytes_ += input_.size();
        input_.clear();
    }
}

void FakeSerialLine::HangUpAt(plat::Millis time) {
    std::weak_ptr<FakeSerialLine> weak = weak_from_this();
    uint64_t id = plat::MessageLoop::Current().PostDelayed(std::max<plat::Millis>(0, time - Now()), [weak] {
        if (auto line = weak.lock()) line->HangUp();
    });
    scheduled_.push_back(id);
}

void FakeSerialLine::ClearFailures() {
    openError_ = plat::PortError::None;
    failWritesFrom_.reset();
    failReadsAt_.reset();
    hungUp_ = false;
}

void FakeSerialLine::Deliver(std::string_view bytes) {
    if (openPort_ == nullptr || hungUp_) {
        lostBytes_ += bytes.size();
        return;
    }
    input_ += bytes;
}

void FakeSerialLine::DeliverAt(plat::Millis time, std::string bytes) {
    DeliverAfter(std::max<plat::Millis>(0, time - Now()), std::move(bytes));
}

void FakeSerialLine::DeliverAfter(plat::Millis delay, std::string bytes) {
    std::weak_ptr<FakeSerialLine> weak = weak_from_this();
    uint64_t id = plat::MessageLoop::Current().PostDelayed(std::max<plat::Millis>(0, delay),
                                                           [weak, bytes = std::move(bytes)] {
                                                               if (auto line = weak.lock()) line->Deliver(bytes);
                                                           });
    scheduled_.push_back(id);
}

void FakeSerialLine::CancelDeliveries() {
    for (uint64_t id : scheduled_) plat::MessageLoop::Current().Cancel(id);
    scheduled_.clear();
}

std::string FakeSerialLine::WrittenText() const {
    std::string all;
    for (const WireWrite& w : writes_)
        if (!w.failed) all += w.text;
    return all;
}

bool FakeSerialLine::ReadsFail() const { return hungUp_ || (failReadsAt_ && Now() >= *failReadsAt_); }

// --- FakeSerialPort ----------------------------------------------------------

FakeSerialPort::FakeSerialPort(std::shared_ptr<FakeSerialLine> line) : line_(std::move(line)) {
    if (!line_) throw std::invalid_argument("FakeSerialPort needs a line");
}

FakeSerialPort::~FakeSerialPort() { Close(); }

plat::PortError FakeSerialPort::Open(int32_t portNumber, std::string_view settings) {
    Close();
    plat::PortError result = line_->openError_;
    plat::SerialSettings parsed;
    if (result == plat::PortError::None && !plat::ParseSerialSettings(settings, parsed))
        result = plat::PortError::BadSettings;
    if (result == plat::PortError::None && portNumber < 1) result = plat::PortError::NoSuchDevice;
    if (result == plat::PortError::None && line_->openPort_ != nullptr) result = plat::PortError::Busy;
    line_->opens_.push_back({Now(), portNumber, std::string(settings), result});
    if (result != plat::PortError::None) return result;
    open_ = true;
    line_->openPort_ = this;
    line_->input_.clear();
    return plat::PortError::None;
}

void FakeSerialPort::Close() {
    if (!open_) return;
    open_ = false;
    line_->openPort_ = nullptr;
    line_->closeCount_++;
    line_->input_.clear();
    line_->hungUp_ = false;
}

plat::PortError FakeSerialPort::Write(std::string_view text) {
    if (!open_) return plat::PortError::Io;
    const std::size_t index = line_->writes_.size();
    const bool failed = line_->hungUp_ || (line_->failWritesFrom_ && index >= *line_->failWritesFrom_);
    line_->writes_.push_back({Now(), std::string(text), failed});
    if (failed) return plat::PortError::Io;
    // Copies: the hook may schedule, write or even replace itself.
    WireWrite w = line_->writes_.back();
    auto hook = line_->OnWrite;
    if (hook) hook(w);
    return plat::PortError::None;
}

plat::PortError FakeSerialPort::Read(std::string& out) {
    if (!open_ || line_->ReadsFail()) return plat::PortError::Io;
    out += line_->input_;
    line_->input_.clear();
    return plat::PortError::None;
}

int32_t FakeSerialPort::InBufferCount(plat::PortError* error) {
    if (!open_ || line_->ReadsFail()) {
        if (error) *error = plat::PortError::Io;
        return -1;
    }
    if (error) *error = plat::PortError::None;
    return static_cast<int32_t>(line_->input_.size());
}

void FakeSerialPort::DiscardInput() {
    line_->discardCount_++;
    if (open_) line_->input_.clear();
}

// --- FakeSerialScope ---------------------------------------------------------

FakeSerialScope::FakeSerialScope() : line_(FakeSerialLine::Create()), created_(std::make_shared<int>(0)) {
    std::shared_ptr<FakeSerialLine> line = line_;
    std::shared_ptr<int> created = created_;
    plat::SetSerialPortFactory([line, created]() -> std::unique_ptr<plat::SerialPort> {
        ++*created;
        return std::make_unique<FakeSerialPort>(line);
    });
}

FakeSerialScope::FakeSerialScope(int32_t instrumentPort, const std::string& instrumentType) : FakeSerialScope() {
    registry_ = std::make_unique<RegistryFileScope>();
    registry_->SetInstrumentPort(instrumentType, instrumentPort);
}

FakeSerialScope::~FakeSerialScope() {
    plat::SetSerialPortFactory(nullptr);
    line_->CancelDeliveries();
}

// --- RegistryFileScope -------------------------------------------------------

RegistryFileScope::RegistryFileScope() {
    if (dir_.Path().empty()) throw std::runtime_error("cannot make a temporary folder");
    path_ = dir_.File("registry.reg");
    previous_ = plat::Registry::Instance().FilePath();
    plat::Registry::UseFile(path_);
    // Serial ports opened in a test take their locks here, never in /run/lock.
    if (const char* locks = ::getenv("ORVIK_SERIAL_LOCK_DIRS")) previousLockDirs_ = locks;
    std::filesystem::create_directories(LockDir());
    ::setenv("ORVIK_SERIAL_LOCK_DIRS", LockDir().c_str(), 1);
}

RegistryFileScope::~RegistryFileScope() {
    plat::Registry::UseFile(previous_);
    if (previousLockDirs_) ::setenv("ORVIK_SERIAL_LOCK_DIRS", previousLockDirs_->c_str(), 1);
    else ::unsetenv("ORVIK_SERIAL_LOCK_DIRS");
}

std::string RegistryFileScope::LockDir() const { return dir_.File("lock"); }

void RegistryFileScope::SetInstrumentPort(const std::string& type, const std::string& portText) {
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine,
                                          "Software\\Velam\\Orvik\\InstrumentLink\\" + type, "Port", portText);
}

void RegistryFileScope::SetInstrumentPort(const std::string& type, int32_t port) {
    SetInstrumentPort(type, std::to_string(port));
}

void RegistryFileScope::MapPort(int32_t portNumber, const std::string& devicePath) {
    plat::Registry::Instance().WriteValue(plat::Hive::LocalMachine, "Software\\Velam\\Orvik\\SerialPorts",
                                          "COM" + std::to_string(portNumber), devicePath);
}

}  // namespace serialtest
