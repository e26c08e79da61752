#include "driver/serial_channel.h"

#include "driver/cancel_flag.h"
#include "driver/protocol.h"
#include "driver/pump.h"
#include "platform/loop/loop_wait.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace drv {

CPelmo2Channel::~CPelmo2Channel() {
    MessageReceived = nullptr;
    CommunicationError = nullptr;
    ReleasePort();
}

void CPelmo2Channel::Raise() {
    if (CommunicationError) CommunicationError(m_Status);
}

void CPelmo2Channel::MapCommError(plat::PortError error) {
    switch (error) {
    case plat::PortError::None: break;
    case plat::PortError::NoSuchDevice: m_Status = ecsIllegalPort; break;
    case plat::PortError::Busy: m_Status = ecsPortBusy; break;
    case plat::PortError::BadSettings:
    case plat::PortError::Io: m_Status = ecsErrorReadingPort; break;
    }
}

void CPelmo2Channel::OpenPort(int32_t lPort, const std::string& sSettings) {
    m_Status = ecsOK;
    ReleasePort();  // a second open must not leave the first port behind
    try {
        mfrmTimer = std::make_shared<FTimers>();
        mfrmTimer->OperationTimeOut = [this] { m_Status = ecsTimedOut; };
        frmComm = std::make_shared<FComm>();
        if (lPort < INT16_MIN || lPort > INT16_MAX) {
            // The port layer takes a 16-bit number; the conversion itself fails.
            m_Status = ecsErrorUnknown;
        } else {
            MapCommError(frmComm->InitPort(static_cast<int16_t>(lPort), sSettings));
        }
        if (m_Status == ecsOK) {
            m_Port = lPort;
            return;
        }
    } catch (...) {
        plat::RethrowAbort();
        m_Status = ecsErrorUnknown;
    }
    ReleasePort();
    Raise();
}

void CPelmo2Channel::ClosePort() {
    m_Status = ecsOK;
    try {
        if (frmComm) frmComm->ClosePortIfOpen();
        ReleasePort();
    } catch (...) {
        plat::RethrowAbort();
        m_Status = ecsErrorUnknown;
        Raise();
    }
}

void CPelmo2Channel::ReleasePort() {
    if (frmComm) plat::PassOver([&] { frmComm->ClosePortIfOpen(); });
    frmComm.reset();
    if (mfrmTimer) plat::PassOver([&] { mfrmTimer->Unload(); });
    mfrmTimer.reset();
    m_Port = 0;
}

void CPelmo2Channel::Send(const std::string& sCommand) {
    m_Status = ecsOK;
    // A handler running during a delay may release the port; keep both alive.
    auto comm = frmComm;
    auto timers = mfrmTimer;
    bool failed = false;
    try {
        if (!comm || !timers) {
            failed = true;
        } else {
            comm->ClearInBuffer();
            const protocol::CommandTraits& traits = protocol::TraitsOf(sCommand);
            // A line that hangs up ends the command at once: nothing could reach the instrument.
            const auto hungUp = [comm] { return comm->HungUp(); };
            if (hungUp()) {
                failed = true;
            } else if (traits.delayBefore > 0) {
                timers->Wait(traits.delayBefore, hungUp);
                // A cancelled delay means the command is not sent at all.
                if (CancelFlag()) return;
                if (hungUp()) failed = true;
                // Bytes that came in during the delay are no reply to this command.
                else comm->ClearInBuffer();
            }
            if (!failed && comm->OutputValue(sCommand) != plat::PortError::None) failed = true;
            if (!failed) {
                m_LastCommand = sCommand;
                if (!CancelFlag()) {
                    timers->Wait(traits.delayAfter, hungUp);
                    if (hungUp()) failed = true;
                }
            }
        }
    } catch (...) {
        plat::RethrowAbort();
        failed = true;
    }
    if (failed) {
        m_Status = ecsErrorReadingPort;
        Raise();
    }
}

std::string CPelmo2Channel::ReadReply(int32_t lTimeOut) {
    m_Status = ecsOK;
    auto comm = frmComm;
    auto timers = mfrmTimer;
    std::string buffer;
    bool complete = false;
    plat::PortError failure = plat::PortError::None;
    bool unknownFailure = false;
    try {
        if (!comm || !timers) {
            failure = plat::PortError::Io;
        } else {
            timers->StartTimeOut(lTimeOut);
            plat::LoopWait wait;
            for (;;) {
                plat::PortError e = plat::PortError::None;
                const int32_t waiting = comm->InBufferCount(&e);
                if (e != plat::PortError::None) {
                    failure = e;
                    break;
                }
                if (waiting > 0) {
                    timers->StartTimeOut(lTimeOut);
                    e = comm->InputValue(buffer);
                    if (e != plat::PortError::None) {
                        failure = e;
                        break;
                    }
                    complete = IsReplyComplete(buffer);
                    if (!complete && buffer.size() >= kMaxReplyLength) {
                        m_Status = ecsUnexpectedReply;
                        break;
                    }
                }
                // Only an idle wait for more input may block in the pump.
                plat::PortError ignored = plat::PortError::None;
                if (complete || m_Status != ecsOK || CancelFlag() || comm->InBufferCount(&ignored) != 0)
                    PumpPending(&wait);
                else
                    PumpOnce(&wait);
                if (CancelFlag()) break;
                if (complete || m_Status != ecsOK) break;
            }
            timers->StopTimeOut();
        }
    } catch (...) {
        plat::RethrowAbort();
        unknownFailure = true;
    }
    if (failure != plat::PortError::None || unknownFailure) {
        if (timers) timers->StopTimeOut();
        // Whatever the port calls it, a failed read is an error reading the port.
        m_Status = unknownFailure ? ecsErrorUnknown : ecsErrorReadingPort;
        Raise();
        return "";
    }
    std::string result;
    if (complete) {
        result = buffer;
        if (MessageReceived) MessageReceived();
    }
    if (m_Status != ecsOK) {
        Raise();
        return "";
    }
    return result;
}

bool CPelmo2Channel::IsReplyComplete(const std::string& sReply) {
    const protocol::ReplyRule& rule = protocol::TraitsOf(m_LastCommand).reply;
    if (!rule.expected) return false;
    if (rule.quietTime > 0) {
        Wait(rule.quietTime);
        auto comm = frmComm;
        if (!comm) return false;
        plat::PortError e = plat::PortError::None;
        if (comm->InBufferCount(&e) != 0) return false;
    }
    return plat::EndsWith(sReply, rule.end);
}

void CPelmo2Channel::StartTimeOut(int32_t& lTimeOut) {
    if (mfrmTimer) mfrmTimer->StartTimeOut(lTimeOut);
}

void CPelmo2Channel::StopTimeOut() {
    if (mfrmTimer) mfrmTimer->StopTimeOut();
}

void CPelmo2Channel::Wait(int32_t lMilliseconds) {
    auto comm = frmComm;
    if (auto timers = mfrmTimer) timers->Wait(lMilliseconds, [comm] { return comm && comm->HungUp(); });
}

}  // namespace drv
