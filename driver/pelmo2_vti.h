#pragma once
// The driver engine: the simulator's command set over one serial channel,
// the remote session, and the status of the last operation. No member throws;
// a failed operation raises OnCommunicationError with the error object.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "driver/mlc_query.h"
#include "driver/protocol.h"
#include "driver/serial_channel.h"
#include "driver/vti_error.h"
#include "driver/vti_interface.h"

namespace drv {

class CPelmo2VTI final : public plat::Object, public IOrvikMLCQuery {
public:
    static constexpr int32_t kDefaultTimeOut = 60000;
    static constexpr int32_t kProbeTimeOut = 3000;  // the version check of QueryMTI
    static constexpr const char* kInstrumentType = "Pelmo2";
    static constexpr const char* kPortSettings = "9600,N,8,1";

    CPelmo2VTI();
    ~CPelmo2VTI() override;
    CPelmo2VTI(const CPelmo2VTI&) = delete;
    CPelmo2VTI& operator=(const CPelmo2VTI&) = delete;

    void AbortTest();
    std::string GetVersion();
    std::string GetProbeResults(KeyedCollection* probe);
    std::string QuitCommunication();
    std::string SelectDCOrFixedSignalLevel();
    std::string SelectTestUnitSignalLevel();
    std::string SetMake(const std::string& sMakeNo);
    std::string SetAC(double dAC);
    std::string SetPresetValue(int32_t iPreset);
    std::string SetMAMP(int32_t iAMP);
    std::string SetAmbientLight(int32_t iAmbientLight);
    std::string SetBPM(int32_t iBPM);
    std::string SetIRAC(int32_t iIRAC);
    std::string SetRAC(int32_t iRAC);
    std::string SetRDC(int32_t iRDC);
    std::string SetIRDC(int32_t iIRDC);
    std::string SetSpO2Level(double dSpO2Val);
    // R values in rCurve are already multiplied by 100; the last 51 are sent.
    std::string SetRCurve(int32_t nCurveNo, const std::string& sOximeterName, int32_t nIRDC, int32_t nRDC,
                          const KeyedCollection* rCurve);
    void StartRemote();
    void EndRemote();
    bool UploadCancel() const;
    void SetUploadCancel(bool fCancelUpload);
    std::string SetTLCLevel(double dTLCVal);

    // IOrvikMLCQuery
    std::string MtiType() const override { return ""; }
    std::string SerialNo() const override { return ""; }
    std::string FWVersion() const override { return ""; }
    MtiQueryRecord QueryMTI(int32_t iPort) override;

    // The engine: one command through the channel. Raises no event itself.
    std::string Transact(const std::string& sCommand, int32_t lTimeOut);
    // A value command "[" key value "]"; bounds, when both given, limit the value.
    std::string SetParameter(double dValue, const std::string& sKey, const std::string& sFormat,
                             std::optional<double> vMin = std::nullopt, std::optional<double> vMax = std::nullopt);

    const std::shared_ptr<CPelmo2VTIError>& Error() const { return m_Error; }
    bool HasSession() const { return mcchPort != nullptr; }
    // The session's last command written was "[Q]" (an honoured abort's, say).
    bool RemoteQuit() const { return mcchPort && protocol::IsQuit(mcchPort->LastCommand()); }
    bool AbortRequested() const { return m_AbortRequested; }

    // The CommunicationError event.
    std::function<void(const std::shared_ptr<CPelmo2VTIError>&)> OnCommunicationError;

private:
    bool Connect(int32_t lPort, bool bProbe);
    void RaiseCommunicationError();
    // A command that could not be built: ecsUnknownMsg with the event; returns "".
    std::string ReportUnknownMsg();
    // Transact, then the event unless performed or cancelled; returns "". "[Q]"
    // goes this way, so it is sent even with the cancel flag set.
    std::string RunFixedCommand(const std::string& command);
    // As RunFixedCommand, but nothing is sent once the cancel flag is set.
    std::string SendWithoutReply(const std::string& command);
    void OnChannelMessageReceived();
    std::shared_ptr<CPelmo2VTI> KeepAlive();

    std::shared_ptr<CPelmo2VTIError> m_Error;
    bool m_AbortRequested = false;
    uint64_t abortsHonoured_ = 0;  // tells Transact that its read ended in the abort's "[Q]"
    int32_t m_TimeOut = kDefaultTimeOut;
    std::shared_ptr<CPelmo2Channel> mcchPort;
    LibraryObjectCount count_;
};

}  // namespace drv
