#pragma once
// The creatable classes of the plug-in's shell, by ProgID, for the plug-in
// library's class factory and for creation in this process.

#include <vector>

#include "plugin/config/config_classes.h"

namespace plugin {

inline constexpr const char* kPlugInProgId = "OrvikPelmo2.CPelmo2Plugin";

const plat::ServedClasses& ShellClasses();
// Makes them creatable in this process without loading the library.
void RegisterShellClasses();

}  // namespace plugin
