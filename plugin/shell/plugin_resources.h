#pragma once
// The plug-in library's bitmap resources: the icons of the plug-in and its
// element kinds in three sizes ("PELMO2(16x16)", "SPO2(32x16)",
// "LED(32x32x1)", ...) and the picture of the instrument-identity pane
// ("PELMO2MTI1"). Drawn by the library itself; names compare without regard
// to case.

#include <memory>
#include <string_view>
#include <vector>

#include "host/host_application.h"

namespace plugin {

// The picture of the resource, or nullptr for a name the library lacks.
std::shared_ptr<host::CPicture> LoadBitmapResource(std::string_view name);
// Every resource name, in the library's order.
std::vector<std::string_view> BitmapResourceNames();

}  // namespace plugin
