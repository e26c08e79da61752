#pragma once
// A fake serial line for tests, driven by the thread's message loop (virtual
// clock in most tests). The line is the "device": it outlives the ports that
// the code under test opens on it, records what they write with the loop's
// time, delivers scripted input at given times (PostDelayed) and can be made
// to fail. FakeSerialPort is the plat::SerialPort that the code under test
// gets from CreateSerialPort while a FakeSerialScope is alive.

#include "platform/loop/message_loop.h"
#include "platform/serial/serial_port.h"
#include "tests/support/temp_dir.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace serialtest {

struct WireWrite {
    plat::Millis time = 0;  // loop time of the write
    std::string text;
    bool failed = false;    // the write returned Io (nothing went out)
};

struct OpenAttempt {
    plat::Millis time = 0;
    int32_t portNumber = 0;
    std::string settings;
    plat::PortError result = plat::PortError::None;
};

class FakeSerialLine : public std::enable_shared_from_this<FakeSerialLine> {
public:
    static std::shared_ptr<FakeSerialLine> Create();

    // --- failures ------------------------------------------------------
    // Every later Open returns `error` (None: opens succeed again).
    void FailOpen(plat::PortError error) { openError_ = error; }
    // Write number `index` (0-based, counting every write on the line) and all
    // later ones fail with Io.
    void FailWritesFrom(std::size_t index) { failWritesFrom_ = index; }
    // Reads (Read, InBufferCount) at or after loop time `time` fail with Io.
    void FailReadsAt(plat::Millis time) { failReadsAt_ = time; }
    // The far end goes away now / at a time: reads, writes and counts on an
    // open port fail with Io until it is closed; input stops arriving.
    void HangUp();
    void HangUpAt(plat::Millis time);
    bool HungUp() const { return hungUp_; }
    // Clears every failure above (including a hang-up).
    void ClearFailures();

    // --- input ---------------------------------------------------------
    // Bytes arrive now / at loop time `time` / after `delay` ms. Bytes that
    // arrive while no port is open (or after a hang-up) are lost, as on a
    // real line.
    void Deliver(std::string_view bytes);
    void DeliverAt(plat::Millis time, std::string bytes);
    void DeliverAfter(plat::Millis delay, std::string bytes);
    // Cancels every scheduled delivery not yet made.
    void CancelDeliveries();
    // Received and not yet read by the port.
    const std::string& Pending() const { return input_; }
    std::size_t LostBytes() const { return lostBytes_; }

    // --- records -------------------------------------------------------
    const std::vector<WireWrite>& Writes() const { return writes_; }
    // All successful writes joined.
    std::string WrittenText() const;
    const std::vector<OpenAttempt>& Opens() const { return opens_; }
    int CloseCount() const { return closeCount_; }
    int DiscardCount() const { return discardCount_; }
    bool IsOpen() const { return openPort_ != nullptr; }

    // Called after each successful write (the simulated instrument hooks here).
    std::function<void(const WireWrite&)> OnWrite;

private:
    friend class FakeSerialPort;
    FakeSerialLine() = default;
    bool ReadsFail() const;

    plat::PortError openError_ = plat::PortError::None;
    std::optional<std::size_t> failWritesFrom_;
    std::optional<plat::Millis> failReadsAt_;
    bool hungUp_ = false;
    std::string input_;
    std::size_t lostBytes_ = 0;
    std::vector<WireWrite> writes_;
    std::vector<OpenAttempt> opens_;
    std::vector<uint64_t> scheduled_;
    int closeCount_ = 0;
    int discardCount_ = 0;
    const void* openPort_ = nullptr;  // the port that holds the line open
};

class FakeSerialPort final : public plat::SerialPort {
public:
    explicit FakeSerialPort(std::shared_ptr<FakeSerialLine> line);
    ~FakeSerialPort() override;

    // Port numbers below 1 give NoSuchDevice, bad settings text BadSettings,
    // a line already held open by another port Busy.
    plat::PortError Open(int32_t portNumber, std::string_view settings) override;
    void Close() override;
    bool IsOpen() const override { return open_; }
    plat::PortError Write(std::string_view text) override;
    plat::PortError Read(std::string& out) override;
    int32_t InBufferCount(plat::PortError* error = nullptr) override;
    void DiscardInput() override;
    int32_t OutBufferCount() override { return 0; }
    bool HungUp() override { return open_ && line_->hungUp_; }

private:
    std::shared_ptr<FakeSerialLine> line_;
    bool open_ = false;
};

// For a test's scope: CreateSerialPort hands out FakeSerialPorts on one line
// (the default factory comes back at the end). With a port number, also
// points the registry at a temporary file that configures that instrument-link
// port for "Pelmo2" (see RegistryFileScope).
class RegistryFileScope;
class FakeSerialScope {
public:
    FakeSerialScope();
    explicit FakeSerialScope(int32_t instrumentPort, const std::string& instrumentType = "Pelmo2");
    ~FakeSerialScope();
    FakeSerialScope(const FakeSerialScope&) = delete;
    FakeSerialScope& operator=(const FakeSerialScope&) = delete;

    FakeSerialLine& Line() { return *line_; }
    const std::shared_ptr<FakeSerialLine>& LinePtr() const { return line_; }
    // The ports created so far (they may have been destroyed since: count only).
    int PortsCreated() const { return *created_; }

private:
    std::shared_ptr<FakeSerialLine> line_;
    std::shared_ptr<int> created_;
    std::unique_ptr<RegistryFileScope> registry_;
};

// Points plat::Registry at a fresh temporary file, and the serial ports' lock
// folder at a fresh temporary folder, for the scope; restores both and removes
// the temporary ones at the end.
class RegistryFileScope {
public:
    RegistryFileScope();
    ~RegistryFileScope();
    RegistryFileScope(const RegistryFileScope&) = delete;
    RegistryFileScope& operator=(const RegistryFileScope&) = delete;

    const std::string& Path() const { return path_; }
    // HKEY_LOCAL_MACHINE "Software\Velam\Orvik\InstrumentLink\<type>" "Port".
    void SetInstrumentPort(const std::string& type, const std::string& portText);
    void SetInstrumentPort(const std::string& type, int32_t port);
    // HKEY_LOCAL_MACHINE "Software\Velam\Orvik\SerialPorts" "COM<n>".
    void MapPort(int32_t portNumber, const std::string& devicePath);
    // The folder that $ORVIK_SERIAL_LOCK_DIRS names for the scope.
    std::string LockDir() const;

private:
    test_support::TempDir dir_;
    std::string path_;
    std::string previous_;
    std::optional<std::string> previousLockDirs_;
};

}  // namespace serialtest
