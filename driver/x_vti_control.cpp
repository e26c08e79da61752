#include "driver/x_vti_control.h"

#include "driver/cancel_flag.h"
#include "driver/protocol.h"
#include "driver/pump.h"
#include "platform/values/pass_over.h"

namespace drv {

XVTIControl::~XVTIControl() {
    if (m_VTI) m_VTI->OnCommunicationError = nullptr;
    m_VTI.reset();
}

// Keeps the control and its engine alive through a call during which a caller's
// handler may remove the control.
std::shared_ptr<XVTIControl> XVTIControl::Self() {
    return std::static_pointer_cast<XVTIControl>(weak_from_this().lock());
}

template <class F>
std::string XVTIControl::ForwardText(F&& call) {
    auto self = Self();
    auto vti = m_VTI;  // a handler may release the driver during the call
    if (!vti) return "";
    return plat::PassOver([&] { return call(*vti); }, std::string());
}

void XVTIControl::OnDriverError(const std::shared_ptr<CPelmo2VTIError>& error) {
    plat::PassOver([&] { RaiseEvent(kCommunicationErrorEvent, {plat::Variant(error)}); });
}

void XVTIControl::InitVTI() {
    if (m_VTI) return;
    plat::PassOver([&] {
        auto vti = std::make_shared<CPelmo2VTI>();
        // The destructor unhooks this, so the engine never calls into a dead control.
        vti->OnCommunicationError = [this](const std::shared_ptr<CPelmo2VTIError>& error) { OnDriverError(error); };
        m_VTI = std::move(vti);
    });
}

void XVTIControl::AbortTest() {
    if (auto vti = m_VTI) plat::PassOver([&] { vti->AbortTest(); });
}

void XVTIControl::StartRemote() {
    auto self = Self();
    if (auto vti = m_VTI) plat::PassOver([&] { vti->StartRemote(); });
}

void XVTIControl::EndRemote() {
    auto self = Self();
    if (auto vti = m_VTI) plat::PassOver([&] { vti->EndRemote(); });
}

std::string XVTIControl::LoadMakeParameters(int32_t iMakeNo, const std::string& sMakeName, int32_t iRedDC,
                                            int32_t iIRDC, int32_t iIRAC, const KeyedCollection* rCurve) {
    auto self = Self();
    auto vti = m_VTI;
    std::unique_ptr<KeyedCollection> scaled;
    if (rCurve) plat::PassOver([&] { scaled = protocol::RValuesOnWire(*rCurve); });
    PumpPending();
    if (CancelFlag()) return "";
    if (GetVersion().empty()) {
        SetUploadCancel(true);
        return "";
    }
    PumpPending();
    if (CancelFlag() || !vti) return "";
    const std::string result = plat::PassOver(
        [&] { return vti->SetRCurve(iMakeNo, sMakeName, iIRDC, iRedDC, scaled.get()); }, std::string());
    PumpPending();
    if (CancelFlag()) return result;
    // A refused or failed curve ends the upload; its event has gone out.
    if (vti->Error()->ErrorNumber() != ecsPerformed) return result;
    if (GetVersion().empty()) {
        SetUploadCancel(true);
        return result;
    }
    plat::PassOver([&] { vti->SetIRAC(iIRAC); });
    return result;
}

std::string XVTIControl::SetMake(const std::string& sOximeterMake) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetMake(sOximeterMake); });
}

std::string XVTIControl::SetSpO2(int32_t iSpO2Level) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetSpO2Level(static_cast<double>(iSpO2Level)); });
}

std::string XVTIControl::SetBPM(int32_t iBPM) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetBPM(iBPM); });
}

std::string XVTIControl::SetPulseAmplitude(double dblPA) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetAC(dblPA); });
}

std::string XVTIControl::SetPresetValue(int32_t iPreset) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetPresetValue(iPreset); });
}

void XVTIControl::ResetInstrument() {
    auto self = Self();
    auto vti = m_VTI;
    // Without a session there is no instrument to reset, and nothing to report;
    // one that has just quit (an abort honoured in a reply) is reset already.
    if (!vti || !vti->HasSession() || vti->RemoteQuit()) return;
    plat::PassOver([&] { vti->QuitCommunication(); });
}

bool XVTIControl::UploadCancel() const {
    if (!m_VTI) return false;
    return m_VTI->UploadCancel();
}

void XVTIControl::SetUploadCancel(bool fCancelUpload) {
    if (m_VTI) m_VTI->SetUploadCancel(fCancelUpload);
}

std::string XVTIControl::GetProbeResults(KeyedCollection& probe) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.GetProbeResults(&probe); });
}

std::string XVTIControl::GetVersion() {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.GetVersion(); });
}

std::string XVTIControl::SetTLC(int32_t iTLCLevel) {
    return ForwardText([&](CPelmo2VTI& vti) { return vti.SetTLCLevel(static_cast<double>(iTLCLevel)); });
}

}  // namespace drv
