#pragma once
// The creatable classes of the simulation configuration, by ProgID, for the
// plug-in library's class factory and for in-process creation.

#include <string>
#include <vector>

#include "platform/com/com.h"

namespace plugin {

inline constexpr const char* kProjectName = "OrvikPelmo2";

using ServedClass = plat::ServedClass;  // progId "OrvikPelmo2.<Class>"

// CMtiData2, the control XMTIData and the views XCustomMake and XSpO2SimulationConfigView.
const plat::ServedClasses& ConfigClasses();
// Makes them creatable in this process without loading the library.
void RegisterConfigClasses();

}  // namespace plugin
