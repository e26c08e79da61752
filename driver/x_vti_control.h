#pragma once
// The driver's embeddable control: wraps one driver engine, adds the upload
// road of a custom R-curve and passes over every failure. Its one event,
// "CommunicationError", carries the driver's error object.

#include <memory>
#include <string>

#include "driver/pelmo2_vti.h"
#include "driver/protocol.h"
#include "driver/vti_interface.h"
#include "platform/com/com.h"

namespace drv {

class XVTIControl final : public plat::ControlObject, public IXVTIControl {
public:
    XVTIControl() = default;
    ~XVTIControl() override;

    void InitVTI() override;
    void AbortTest() override;
    void StartRemote() override;
    void EndRemote() override;
    std::string LoadMakeParameters(int32_t iMakeNo, const std::string& sMakeName, int32_t iRedDC, int32_t iIRDC,
                                   int32_t iIRAC, const KeyedCollection* rCurve) override;
    std::string SetMake(const std::string& sOximeterMake) override;
    std::string SetSpO2(int32_t iSpO2Level) override;
    std::string SetBPM(int32_t iBPM) override;
    std::string SetPulseAmplitude(double dblPA) override;
    std::string SetPresetValue(int32_t iPreset) override;
    std::string SpO2Name() const override { return protocol::kSpO2.key; }
    std::string BPMName() const override { return protocol::kBPM.key; }
    std::string PulseAmplitudeName() const override { return protocol::kPulseAmplitude.key; }
    void ResetInstrument() override;
    bool UploadCancel() const override;
    void SetUploadCancel(bool fCancelUpload) override;
    std::string GetProbeResults(KeyedCollection& probe) override;
    std::string GetVersion() override;
    std::string SetTLC(int32_t iTLCLevel) override;

    // The wrapped engine (nullptr before InitVTI).
    const std::shared_ptr<CPelmo2VTI>& Driver() const { return m_VTI; }

private:
    std::shared_ptr<XVTIControl> Self();
    // Calls the driver with this control kept alive; "" without a driver or on failure.
    template <class F>
    std::string ForwardText(F&& call);
    void OnDriverError(const std::shared_ptr<CPelmo2VTIError>& error);

    std::shared_ptr<CPelmo2VTI> m_VTI;
    LibraryObjectCount count_;
};

}  // namespace drv
