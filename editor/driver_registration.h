#pragma once
// The instrument driver's control must be creatable on a fresh machine without
// a manual step: at start the program registers the driver library that lies
// beside it unless the control's ProgID names that library already
// (plat::EnsureServerRegistered).

#include <string>

namespace editor {

// The driver library's file name.
inline constexpr const char* kDriverLibrary = "liborvikPelmo2VTI.so";

// Registers `folder` + kDriverLibrary when needed. True when the ProgID names
// an existing library afterwards. Never throws (a stall of the loop aside).
bool EnsureDriverRegistered(const std::string& folder);

}  // namespace editor
