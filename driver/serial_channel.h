#pragma once
// The driver's serial line to the simulator: the channel (CPelmo2Channel) that
// sends one command with its delays and reads one reply until it is complete,
// through its port (FComm, f_comm.h) and the two timers that pace it (FTimers,
// f_timers.h). Every wait and loop keeps the thread's message loop running, so
// that a Cancel button (the cancel flag) and the timers themselves act during
// a command.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "driver/f_comm.h"
#include "driver/f_timers.h"
#include "driver/vti_interface.h"
#include "platform/serial/serial_port.h"

namespace drv {

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
