#pragma once
// The test instrument's identity recorded with a result (CMtiData2), and the
// registry layout in which the identity control remembers it.

#include <string>
#include <string_view>

#include "plugin/factory/server_lock.h"
#include "platform/values/variant.h"

namespace plugin {

// The two simulator variants.
inline constexpr std::string_view kMtiTypeF = "Pelmo Q5 F";
inline constexpr std::string_view kMtiTypeFE = "Pelmo Q5 FE";

// HKEY_LOCAL_MACHINE: "Type" here; "Serial" and "Firmware" in the subkey
// named exactly like the type.
inline constexpr std::string_view kMtiDataKey = "Software\\Velam\\Orvik\\Pelmo2\\MtiData\\";
std::string MtiTypeKey(std::string_view mtiType);
// One of the two types, exactly (letter case counts).
inline bool IsKnownMtiType(std::string_view mtiType) { return mtiType == kMtiTypeF || mtiType == kMtiTypeFE; }

class CMtiData2 : public plat::Object {
public:
    const std::string& MtiType() const { return mtiType_; }
    void SetMtiType(std::string value) { mtiType_ = std::move(value); }
    const std::string& FWVersion() const { return fwVersion_; }
    void SetFWVersion(std::string value) { fwVersion_ = std::move(value); }
    const std::string& SerialNo() const { return serialNo_; }
    void SetSerialNo(std::string value) { serialNo_ = std::move(value); }

private:
    ServerLock lock_;
    std::string mtiType_;
    std::string fwVersion_;
    std::string serialNo_;
};

}  // namespace plugin
