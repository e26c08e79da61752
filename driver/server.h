#pragma once
// The classes the library serves by ProgID.

#include <string>
#include <string_view>
#include <vector>

#include "platform/values/variant.h"

namespace drv {

inline constexpr const char* kCPelmo2VTIProgId = "OrvikPelmo2VTI.CPelmo2VTI";
inline constexpr const char* kCPelmo2VTIErrorProgId = "OrvikPelmo2VTI.CPelmo2VTIError";
inline constexpr const char* kEStatusProgId = "OrvikPelmo2VTI.EStatus";

std::vector<std::string> ServedProgIds();
// A new object of the class, nullptr for a ProgID the library does not serve.
plat::ObjectPtr CreateServedObject(std::string_view progId);

}  // namespace drv
