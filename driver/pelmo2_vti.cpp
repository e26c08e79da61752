#include "driver/pelmo2_vti.h"

#include <cmath>

#include "driver/cancel_flag.h"
#include "driver/probe_parser.h"
#include "driver/protocol.h"
#include "platform/serial/instrument_link.h"
#include "platform/values/abort_error.h"
#include "platform/values/pass_over.h"
#include "platform/values/text.h"

namespace drv {

namespace {

std::string SetValue(CPelmo2VTI& vti, double value, const protocol::ValueCommand& command) {
    return vti.SetParameter(value, command.key, command.format);
}

}  // namespace

CPelmo2VTI::CPelmo2VTI() : m_Error(std::make_shared<CPelmo2VTIError>()) {}

CPelmo2VTI::~CPelmo2VTI() {
    if (mcchPort) {
        mcchPort->MessageReceived = nullptr;
        mcchPort->CommunicationError = nullptr;
    }
    mcchPort.reset();
}

std::shared_ptr<CPelmo2VTI> CPelmo2VTI::KeepAlive() {
    return std::static_pointer_cast<CPelmo2VTI>(weak_from_this().lock());
}

void CPelmo2VTI::RaiseCommunicationError() {
    if (!OnCommunicationError) return;
    auto handler = OnCommunicationError;  // the handler may replace it
    auto error = m_Error;
    try {
        handler(error);
    } catch (...) {
        plat::RethrowAbort();  // only a stall or a harness failure goes on up
    }
}

void CPelmo2VTI::OnChannelMessageReceived() {
    if (!m_AbortRequested) return;
    m_AbortRequested = false;
    ++abortsHonoured_;
    QuitCommunication();
}

// ---- engine ------------------------------------------------------------

std::string CPelmo2VTI::Transact(const std::string& sCommand, int32_t lTimeOut) {
    auto self = KeepAlive();
    m_Error->Reset();
    auto channel = mcchPort;  // survives an EndRemote from a handler during the command
    if (!channel) {
        m_Error->SetErrorNumber(ecsMTINotFound);
        return "";
    }
    channel->Send(sCommand);
    if (CancelFlag()) return "";

    ECommsStatus status = m_Error->ErrorNumber();
    if (status == ecsTimedOut) {
        m_Error->SetErrorNumber(ecsMTINotFound);
        return "";
    }
    if (status != ecsOK) return "";

    const protocol::CommandTraits& traits = protocol::TraitsOf(sCommand);
    if (!traits.reply.expected) {
        m_Error->SetErrorNumber(ecsPerformed);
        return "";
    }
    const uint64_t abortsBefore = abortsHonoured_;
    std::string reply = channel->ReadReply(lTimeOut);
    if (abortsHonoured_ != abortsBefore) {
        // The reply belongs to an aborted command: it is dropped whatever a handler
        // of the "[Q]" did meanwhile. A status that such a handler reset (EndRemote)
        // must not come back as an error of this command.
        if (m_Error->ErrorNumber() == ecsOK) m_Error->SetErrorNumber(ecsPerformed);
        return "";
    }
    status = m_Error->ErrorNumber();
    if (status == ecsOK) {
        m_Error->SetErrorNumber(ecsPerformed);
        return protocol::ReplyText(traits, reply);
    }
    if (status == ecsTimedOut) m_Error->SetErrorNumber(traits.reply.silentStatus);
    return "";
}

std::string CPelmo2VTI::SetParameter(double dValue, const std::string& sKey, const std::string& sFormat,
                                     std::optional<double> vMin, std::optional<double> vMax) {
    auto self = KeepAlive();
    if (vMin && vMax && !(dValue >= *vMin && dValue <= *vMax)) return "";
    std::string command;
    // "NaN" or "Inf" must never reach the wire as a value.
    if (!std::isfinite(dValue) ||
        !plat::PassOver([&] { command = protocol::ValueCommandText(sKey, dValue, sFormat); }))
        return ReportUnknownMsg();
    return SendWithoutReply(command);
}

std::string CPelmo2VTI::ReportUnknownMsg() {
    m_Error->SetErrorNumber(ecsUnknownMsg);
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::RunFixedCommand(const std::string& command) {
    Transact(command, m_TimeOut);
    if (!CancelFlag() && m_Error->ErrorNumber() != ecsPerformed) RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::SendWithoutReply(const std::string& command) {
    if (CancelFlag()) return "";
    return RunFixedCommand(command);
}

// ---- commands ----------------------------------------------------------

void CPelmo2VTI::AbortTest() { m_AbortRequested = true; }

std::string CPelmo2VTI::GetVersion() {
    auto self = KeepAlive();
    std::string reply = Transact(protocol::kVersion, m_TimeOut);
    if (CancelFlag()) return "";
    if (m_Error->ErrorNumber() == ecsPerformed) return reply;
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::GetProbeResults(KeyedCollection* probe) {
    auto self = KeepAlive();
    std::string reply = Transact(protocol::kProbe, m_TimeOut);
    if (CancelFlag()) return "";
    if (m_Error->ErrorNumber() == ecsPerformed) {
        ParseProbeResults(reply, probe);
        return reply;
    }
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::QuitCommunication() {
    auto self = KeepAlive();
    return RunFixedCommand(protocol::kQuit);
}

std::string CPelmo2VTI::SelectDCOrFixedSignalLevel() {
    auto self = KeepAlive();
    return RunFixedCommand(protocol::kFixedSignalLevel);
}

std::string CPelmo2VTI::SelectTestUnitSignalLevel() {
    auto self = KeepAlive();
    return RunFixedCommand(protocol::kTestUnitSignalLevel);
}

std::string CPelmo2VTI::SetMake(const std::string& sMakeNo) {
    auto self = KeepAlive();
    const std::string trimmed = plat::Trim(sMakeNo);
    if (!protocol::IsMakeNumber(trimmed)) return ReportUnknownMsg();
    if (CancelFlag()) return "";
    std::string reply = Transact(protocol::MakeCommand(trimmed), m_TimeOut);
    if (CancelFlag()) return "";
    if (m_Error->ErrorNumber() == ecsPerformed) return reply;
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::SetAC(double dAC) { return SetValue(*this, dAC, protocol::kPulseAmplitude); }
std::string CPelmo2VTI::SetSpO2Level(double dSpO2Val) { return SetValue(*this, dSpO2Val, protocol::kSpO2); }
std::string CPelmo2VTI::SetAmbientLight(int32_t v) { return SetValue(*this, v, protocol::kAmbientLight); }
std::string CPelmo2VTI::SetPresetValue(int32_t v) { return SetValue(*this, v, protocol::kPreset); }
std::string CPelmo2VTI::SetMAMP(int32_t v) { return SetValue(*this, v, protocol::kMAmp); }
std::string CPelmo2VTI::SetBPM(int32_t v) { return SetValue(*this, v, protocol::kBPM); }
std::string CPelmo2VTI::SetIRAC(int32_t v) { return SetValue(*this, v, protocol::kIRAC); }
std::string CPelmo2VTI::SetRAC(int32_t v) { return SetValue(*this, v, protocol::kRAC); }
std::string CPelmo2VTI::SetRDC(int32_t v) { return SetValue(*this, v, protocol::kRDC); }
std::string CPelmo2VTI::SetIRDC(int32_t v) { return SetValue(*this, v, protocol::kIRDC); }
std::string CPelmo2VTI::SetTLCLevel(double dTLCVal) { return SetValue(*this, dTLCVal, protocol::kTLC); }

std::string CPelmo2VTI::SetRCurve(int32_t nCurveNo, const std::string& sOximeterName, int32_t nIRDC, int32_t nRDC,
                                  const KeyedCollection* rCurve) {
    auto self = KeepAlive();
    m_Error->SetErrorNumber(ecsOK);
    if (CancelFlag()) return "";

    // Every failed check is reported; the cancel flag (a handler may set it) stops the checking.
    const std::string name = plat::Trim(sOximeterName);
    const bool checks[] = {
        protocol::IsUploadSlot(nCurveNo),
        !name.empty(),
        protocol::IsFrameSafeName(name),
        rCurve != nullptr && rCurve->Count() >= protocol::kCurvePoints,
    };
    bool failed = false;
    for (bool ok : checks) {
        if (CancelFlag()) return "";
        if (ok) continue;
        failed = true;
        m_Error->SetErrorNumber(ecsUnknownMsg);
        RaiseCommunicationError();
    }
    if (failed || CancelFlag()) return "";

    std::string command;
    if (!plat::PassOver([&] { command = protocol::RCurveCommand(nCurveNo, name, nIRDC, nRDC, *rCurve); }))
        return ReportUnknownMsg();
    return SendWithoutReply(command);
}

// ---- session -----------------------------------------------------------

bool CPelmo2VTI::Connect(int32_t lPort, bool bProbe) {
    m_Error->Reset();
    auto channel = std::make_shared<CPelmo2Channel>();
    channel->MessageReceived = [this] { OnChannelMessageReceived(); };
    channel->CommunicationError = [this](ECommsStatus status) { m_Error->SetErrorNumber(status); };
    mcchPort = channel;  // an earlier channel closes its port as it goes
    channel->OpenPort(lPort, kPortSettings);
    if (!channel->IsOpen()) {
        // A port that did not open is no session: later commands report ecsMTINotFound at once.
        if (mcchPort == channel) mcchPort.reset();
        return false;
    }
    if (bProbe && m_Error->ErrorNumber() == ecsOK) Transact(protocol::kVersion, kProbeTimeOut);
    return m_Error->ErrorNumber() == ecsPerformed;
}

void CPelmo2VTI::StartRemote() {
    auto self = KeepAlive();
    m_AbortRequested = false;
    const int32_t port = plat::PassOver(
        [] {
            int32_t found = 0;
            plat::GetInstrumentPort(kInstrumentType, "", found);
            return found;
        },
        0);
    if (CancelFlag()) return;
    if (port > 0) {
        Connect(port, false);
        if (CancelFlag()) return;
        const ECommsStatus status = m_Error->ErrorNumber();
        if (status != ecsOK && status != ecsPerformed) RaiseCommunicationError();
    } else {
        m_Error->SetErrorNumber(ecsMTINotFound);
        RaiseCommunicationError();
    }
}

void CPelmo2VTI::EndRemote() {
    auto self = KeepAlive();
    m_Error->Reset();
    if (auto channel = mcchPort) {
        channel->ClosePort();
        if (mcchPort == channel) mcchPort.reset();
    }
    if (!CancelFlag() && m_Error->ErrorNumber() != ecsOK) RaiseCommunicationError();
}

bool CPelmo2VTI::UploadCancel() const { return CancelFlag(); }
void CPelmo2VTI::SetUploadCancel(bool fCancelUpload) { SetCancelFlag(fCancelUpload); }

MtiQueryRecord CPelmo2VTI::QueryMTI(int32_t iPort) {
    auto self = KeepAlive();
    MtiQueryRecord record;
    if (Connect(iPort, true)) {
        record.MtiType = kInstrumentType;
        record.Found = 1;
    }
    if (auto channel = mcchPort) channel->ClosePort();
    mcchPort.reset();
    return record;
}

}  // namespace drv
