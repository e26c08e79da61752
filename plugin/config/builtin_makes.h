#pragma once
// The plug-in's own make services: the simulator's ten built-in makes as the
// user sees them, the defaults for the make of a new SpO2 test, and plain
// registry access under HKEY_LOCAL_MACHINE.

#include <cstdint>
#include <string>
#include <string_view>

#include "makes/make_utils.h"

namespace plat::ui {
class ListControl;
}

namespace plugin {

// Registry values of the plug-in's defaults under makes::kRegistryKey.
inline constexpr std::string_view kDefaultMakeLocation = "DefaultMakeLocation";
inline constexpr std::string_view kDefaultCustomMakeName = "DefaultCustomMakeName";
inline constexpr std::string_view kDefaultDownloadPref = "DefaultDownloadPref";

// Inserts the ten translated built-in names at positions 0 to 9.
void FillBuiltInMakes(plat::ui::ListControl& list);
// The translated built-in name for 0..9; "" for any other index.
std::string BuiltInMakeName(int32_t index);

// Reads the three defaults: make index (0 when missing; 10 and up is a custom
// make), custom make name ("" when missing), download preference (true only
// for a value reading as 1). A stored number beyond 32 bits fails its step:
// that argument keeps the value the caller passed in.
void GetDefaultMakeSettings(int32_t& makeIndex, std::string& customMakeName, bool& downloadPref);

// One value of the key under HKEY_LOCAL_MACHINE; "" on any failure.
std::string GetRegistryString(std::string_view keyPath, std::string_view valueName);
// Writes one value, creating the key when missing; failures are ignored.
void SetRegistryValue(std::string_view keyPath, std::string_view valueName, std::string_view value);

}  // namespace plugin
