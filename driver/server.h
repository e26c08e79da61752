#pragma once
// The classes the library serves by ProgID.

#include "platform/com/com.h"

namespace drv {

inline constexpr const char* kCPelmo2VTIProgId = "OrvikPelmo2VTI.CPelmo2VTI";
inline constexpr const char* kCPelmo2VTIErrorProgId = "OrvikPelmo2VTI.CPelmo2VTIError";
inline constexpr const char* kEStatusProgId = "OrvikPelmo2VTI.EStatus";

plat::ServedClasses ServedClasses();
// The library's objects still alive (it may be unloaded at 0).
int64_t LiveObjects();

}  // namespace drv
