#pragma once
// The creatable classes of the simulation configuration, by ProgID, for the
// plug-in library's class factory and for in-process creation.

#include <string>
#include <vector>

#include "platform/com/com.h"

namespace plugin {

inline constexpr const char* kProjectName = "OrvikPelmo2";

struct ServedClass {
    std::string progId;  // "OrvikPelmo2.<Class>"
    plat::ClassFactory factory;
};

// CMtiData2 and the control XMTIData.
const std::vector<ServedClass>& ConfigClasses();
// Makes them creatable in this process without loading the library.
void RegisterConfigClasses();

}  // namespace plugin
