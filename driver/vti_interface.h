#pragma once
// The face of the instrument driver orvikPelmo2VTI for its callers (the editor
// program and the plug-in). Callers include only this header and never link
// the driver: they create the control by ProgID, call it through IXVTIControl
// and receive its single event "CommunicationError" through the container's
// generic event, with parameter 0 holding the error object (ICPelmo2VTIError).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/com/com.h"
#include "platform/values/collection.h"
#include "platform/values/variant.h"

namespace drv {

inline constexpr const char* kXVTIControlProgId = "OrvikPelmo2VTI.XVTIControl";
inline constexpr const char* kVTIControlName = "VTIControl";
inline constexpr const char* kCommunicationErrorEvent = "CommunicationError";

// Status of the driver's last operation.
enum ECommsStatus : int32_t {
    ecsPerformed = 1,
    ecsUnknownMsg = 2,
    ecsTimedOut = 3,
    ecsIllegalPort = 4,
    ecsMTINotFound = 5,
    ecsMTINotReady = 6,
    ecsErrorReadingPort = 7,
    ecsPortBusy = 8,
    ecsOK = 9,
    ecsUnexpectedReply = 10,
    ecsErrorUnknown = 11,
};

// The error object carried by CommunicationError. A new object reads 0 until
// the driver's first Reset (ecsOK).
class ICPelmo2VTIError {
public:
    virtual ~ICPelmo2VTIError() = default;
    virtual ECommsStatus ErrorNumber() const = 0;
    virtual void SetErrorNumber(ECommsStatus value) = 0;
    virtual void Reset() = 0;
};

using KeyedCollection = plat::Collection<plat::Variant>;

// The embeddable driver control. No member ever throws; trouble arrives only
// as the CommunicationError event. Call InitVTI first; before it every member
// does nothing and returns "" (false).
class IXVTIControl {
public:
    virtual ~IXVTIControl() = default;

    virtual void InitVTI() = 0;
    virtual void AbortTest() = 0;
    virtual void StartRemote() = 0;
    virtual void EndRemote() = 0;
    // Uploads a custom R-curve into slot iMakeNo (0 to 5). rCurve holds the R
    // values (0 to 2.5, numbers or texts with either decimal sign); nullptr
    // counts as no curve.
    virtual std::string LoadMakeParameters(int32_t iMakeNo, const std::string& sMakeName, int32_t iRedDC,
                                           int32_t iIRDC, int32_t iIRAC, const KeyedCollection* rCurve) = 0;
    // sOximeterMake is the make number as text; returns the make name the
    // simulator reports for it ("" on failure).
    virtual std::string SetMake(const std::string& sOximeterMake) = 0;
    virtual std::string SetSpO2(int32_t iSpO2Level) = 0;
    virtual std::string SetBPM(int32_t iBPM) = 0;
    virtual std::string SetPulseAmplitude(double dblPA) = 0;
    virtual std::string SetPresetValue(int32_t iPreset) = 0;
    virtual std::string SpO2Name() const = 0;            // "OXY"
    virtual std::string BPMName() const = 0;             // "BPM"
    virtual std::string PulseAmplitudeName() const = 0;  // "AC"
    virtual void ResetInstrument() = 0;
    // The cancel flag, shared by every driver object on the calling thread.
    virtual bool UploadCancel() const = 0;
    virtual void SetUploadCancel(bool fCancelUpload) = 0;
    // Fills probe with "KEY=VALUE" items; returns the raw reply ("" on failure).
    virtual std::string GetProbeResults(KeyedCollection& probe) = 0;
    virtual std::string GetVersion() = 0;
    virtual std::string SetTLC(int32_t iTLCLevel) = 0;
};

// Creates the control by ProgID. Throws plat::ComError when it is not registered.
inline std::shared_ptr<IXVTIControl> CreateXVTIControl() {
    return plat::CreateObjectAs<IXVTIControl>(kXVTIControlProgId);
}

// What a control container does when it adds the control: routes its events
// to `sink`. False when the object is no control.
inline bool ConnectControlEvents(const std::shared_ptr<IXVTIControl>& control, plat::GenericEvent sink) {
    auto object = std::dynamic_pointer_cast<plat::ControlObject>(control);
    if (!object) return false;
    object->SetEventSink(std::move(sink));
    return true;
}

// The error object of a CommunicationError event's parameter list (nullptr when absent).
inline std::shared_ptr<ICPelmo2VTIError> EventError(const std::vector<plat::Variant>& params) {
    if (params.empty()) return nullptr;
    return std::dynamic_pointer_cast<ICPelmo2VTIError>(params[0].AsObject());
}

}  // namespace drv
