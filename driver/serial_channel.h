#pragma once
// The driver's serial line to the simulator: the port wrapper (FComm), the two
// timers that pace it (FTimers) and the channel (CPelmo2Channel) that sends one
// command with its delays and reads one reply until it is complete. Every wait
// and loop keeps the thread's message loop running, so that a Cancel button
// (the cancel flag) and the timers themselves act during a command.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "driver/vti_interface.h"
#include "platform/loop/message_loop.h"
#include "platform/serial/serial_port.h"

namespace drv {

// The few operations of the serial port that the channel uses. A port that
// could not be created behaves as one that is not open (Io).
class FComm {
public:
    FComm();
    ~FComm();
    FComm(const FComm&) = delete;
    FComm& operator=(const FComm&) = delete;

    bool PortOpen() const;
    void ClosePortIfOpen();
    // Takes all received characters.
    plat::PortError InputValue(std::string& out);
    // Writes the text unchanged.
    plat::PortError OutputValue(std::string_view text);
    int32_t OutBufferCount();
    // Characters received and not yet read; -1 with `error` set on failure.
    int32_t InBufferCount(plat::PortError* error);
    // Discards received input.
    void ClearInBuffer();
    // The open port's other end has gone away.
    bool HungUp();
    plat::PortError InitPort(int16_t port, const std::string& settings);

private:
    std::unique_ptr<plat::SerialPort> port_;
};

// tmrWait drives Wait; tmrTimeOut is the reply inactivity time-out.
class FTimers {
public:
    FTimers();
    FTimers(const FTimers&) = delete;
    FTimers& operator=(const FTimers&) = delete;

    // A negative time-out is replaced by 1000, in the caller's variable too; 0 never fires.
    void StartTimeOut(int32_t& lTimeOut);
    void StopTimeOut();
    // Pumps messages until `ms` have passed (at least once), the cancel flag is
    // set or `stop` says so.
    void Wait(int32_t ms, const std::function<bool()>& stop = {});
    // Stops both timers; a Wait in progress ends at once.
    void Unload();

    std::function<void()> OperationTimeOut;

private:
    plat::Timer tmrWait_;
    plat::Timer tmrTimeOut_;
};

class CPelmo2Channel {
public:
    // A reply that grows past this without completing is given up.
    static constexpr std::size_t kMaxReplyLength = 64 * 1024;

    CPelmo2Channel() = default;
    ~CPelmo2Channel();  // closes the port
    CPelmo2Channel(const CPelmo2Channel&) = delete;
    CPelmo2Channel& operator=(const CPelmo2Channel&) = delete;

    // Opens the port; a port that cannot be opened raises CommunicationError
    // (ecsIllegalPort, ecsPortBusy, ecsErrorReadingPort) and leaves the channel released.
    void OpenPort(int32_t lPort, const std::string& sSettings);
    void ClosePort();
    void ReleasePort();

    void Send(const std::string& sCommand);
    std::string ReadReply(int32_t lTimeOut);
    bool IsReplyComplete(const std::string& sReply);

    void MapCommError(plat::PortError error);
    void StartTimeOut(int32_t& lTimeOut);
    void StopTimeOut();
    void Wait(int32_t lMilliseconds);

    int32_t Port() const { return m_Port; }
    bool IsOpen() const { return frmComm != nullptr; }
    ECommsStatus Status() const { return m_Status; }
    const std::string& LastCommand() const { return m_LastCommand; }

    // Events, raised in this order where both occur.
    std::function<void()> MessageReceived;
    std::function<void(ECommsStatus)> CommunicationError;

private:
    void Raise();

    std::shared_ptr<FTimers> mfrmTimer;
    std::shared_ptr<FComm> frmComm;
    int32_t m_Port = 0;
    ECommsStatus m_Status = ecsOK;
    std::string m_LastCommand;
};

}  // namespace drv
