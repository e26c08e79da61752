#include "driver/pelmo2_vti.h"

#include <cctype>
#include <cmath>
#include <stdexcept>

#include "driver/cancel_flag.h"
#include "driver/probe_parser.h"
#include "driver/val_text.h"
#include "platform/serial/instrument_link.h"
#include "platform/values/abort_error.h"
#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace drv {

namespace {

constexpr int32_t kCurvePoints = 51;
constexpr size_t kNameFieldWidth = 9;

bool IsPlainMakeNumber(const std::string& text) {
    if (text.empty() || text.size() > 2) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    if (text.size() == 2 && text[0] == '0') return false;
    return std::stoi(text) <= 15;
}

// A name that would break the command frame of an R-curve upload.
bool IsFrameSafeName(const std::string& name) {
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return false;
        if (c == '[' || c == ']' || c == ':' || c == ',') return false;
    }
    return true;
}

double ItemNumber(const plat::Variant& item) {
    const double value = item.IsNumeric() ? item.AsDouble() : ValText(item.AsString());
    // "NaN" or "Inf" would break the frame: such an item cannot be read.
    if (!std::isfinite(value)) throw std::invalid_argument("not a number");
    return value;
}

std::string CleanMakeReply(const std::string& reply) {
    std::string s = plat::Trim(plat::Replace(reply, "\r\n", ""));
    s = plat::Trim(plat::ReplaceNoCase(s, "DownLoad", ""));
    return plat::Trim(plat::ReplaceNoCase(s, "Make: ", ""));
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

    const bool isVer = sCommand == "[VER]";
    const bool isProbe = sCommand == "[PROBE]";
    const bool isMake = sCommand.compare(0, 5, "[MAKE") == 0;
    if (!isVer && !isProbe && !isMake) {
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
        return isMake ? CleanMakeReply(reply) : reply;
    }
    if (status == ecsTimedOut) m_Error->SetErrorNumber(isProbe ? ecsMTINotReady : ecsMTINotFound);
    return "";
}

std::string CPelmo2VTI::SetParameter(double dValue, const std::string& sKey, const std::string& sFormat,
                                     std::optional<double> vMin, std::optional<double> vMax) {
    auto self = KeepAlive();
    std::string command;
    try {
        if (vMin && vMax && !(dValue >= *vMin && dValue <= *vMax)) return "";
        // "NaN" or "Inf" must never reach the wire as a value.
        if (!std::isfinite(dValue)) throw std::invalid_argument("not a number");
        command = "[" + sKey + plat::Replace(plat::FormatNumber(dValue, sFormat), ",", ".") + "]";
    } catch (...) {
        return ReportUnknownMsg();
    }
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
    std::string reply = Transact("[VER]", m_TimeOut);
    if (CancelFlag()) return "";
    if (m_Error->ErrorNumber() == ecsPerformed) return reply;
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::GetProbeResults(KeyedCollection* probe) {
    auto self = KeepAlive();
    std::string reply = Transact("[PROBE]", m_TimeOut);
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
    return RunFixedCommand("[Q]");
}

std::string CPelmo2VTI::SelectDCOrFixedSignalLevel() {
    auto self = KeepAlive();
    return RunFixedCommand("[SCRF]");
}

std::string CPelmo2VTI::SelectTestUnitSignalLevel() {
    auto self = KeepAlive();
    return RunFixedCommand("[SCRU]");
}

std::string CPelmo2VTI::SetMake(const std::string& sMakeNo) {
    auto self = KeepAlive();
    const std::string trimmed = plat::Trim(sMakeNo);
    if (!IsPlainMakeNumber(trimmed)) return ReportUnknownMsg();
    if (CancelFlag()) return "";
    std::string reply = Transact("[MAKE" + trimmed + "]", m_TimeOut);
    if (CancelFlag()) return "";
    if (m_Error->ErrorNumber() == ecsPerformed) return reply;
    RaiseCommunicationError();
    return "";
}

std::string CPelmo2VTI::SetAC(double dAC) { return SetParameter(dAC, "AC", "#0.000"); }
std::string CPelmo2VTI::SetSpO2Level(double dSpO2Val) { return SetParameter(dSpO2Val, "OXY", "##0"); }
std::string CPelmo2VTI::SetAmbientLight(int32_t v) { return SetParameter(v, "AMB", "#####0"); }
std::string CPelmo2VTI::SetPresetValue(int32_t v) { return SetParameter(v, "PRESETS", "######0"); }
std::string CPelmo2VTI::SetMAMP(int32_t v) { return SetParameter(v, "MAMP", "######0"); }
std::string CPelmo2VTI::SetBPM(int32_t v) { return SetParameter(v, "BPM", "######0"); }
std::string CPelmo2VTI::SetIRAC(int32_t v) { return SetParameter(v, "IRAC", "######0"); }
std::string CPelmo2VTI::SetRAC(int32_t v) { return SetParameter(v, "RAC", "######0"); }
std::string CPelmo2VTI::SetRDC(int32_t v) { return SetParameter(v, "RDC", "######0"); }
std::string CPelmo2VTI::SetIRDC(int32_t v) { return SetParameter(v, "IRDC", "######0"); }
std::string CPelmo2VTI::SetTLCLevel(double dTLCVal) { return SetParameter(dTLCVal, "TLC", "######0"); }

std::string CPelmo2VTI::SetRCurve(int32_t nCurveNo, const std::string& sOximeterName, int32_t nIRDC, int32_t nRDC,
                                  const KeyedCollection* rCurve) {
    auto self = KeepAlive();
    m_Error->SetErrorNumber(ecsOK);
    if (CancelFlag()) return "";

    // Every failed check is reported; the cancel flag (a handler may set it) stops the checking.
    const std::string name = plat::Trim(sOximeterName);
    const bool checks[] = {
        nCurveNo >= 0 && nCurveNo <= 5,
        !name.empty(),
        IsFrameSafeName(name),
        rCurve != nullptr && rCurve->Count() >= kCurvePoints,
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
    try {
        const int32_t irdc = nIRDC != 0 ? plat::RoundToLong(nIRDC * 0.1) : 0;
        const int32_t rdc = nRDC != 0 ? plat::RoundToLong(nRDC * 0.1) : 0;
        std::string nameField = name;
        if (nameField.size() < kNameFieldWidth) nameField.resize(kNameFieldWidth, ' ');
        command = "[RCURVE>" + std::to_string(nCurveNo) + ":" + nameField + ":" + plat::FormatNumber(irdc, "00#") +
                  ":" + plat::FormatNumber(rdc, "00#") + ":";
        for (int32_t i = rCurve->Count() - (kCurvePoints - 1); i <= rCurve->Count(); ++i)
            command += plat::FormatNumber(ItemNumber(rCurve->Item(i)), "00#") + ",";
        command += "]";
    } catch (...) {
        return ReportUnknownMsg();
    }
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
    if (bProbe && m_Error->ErrorNumber() == ecsOK) Transact("[VER]", kProbeTimeOut);
    return m_Error->ErrorNumber() == ecsPerformed;
}

void CPelmo2VTI::StartRemote() {
    auto self = KeepAlive();
    m_AbortRequested = false;
    int32_t port = 0;
    try {
        plat::GetInstrumentPort(kInstrumentType, "", port);
    } catch (...) {
        port = 0;
    }
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
