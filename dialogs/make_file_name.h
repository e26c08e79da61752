#pragma once
// The rules for the name of a make file that a user or saved test data gives.
// The save-make dialog and the configuration's check of a file name carried
// in saved data both go by them, so that neither takes a name the other refuses.

#include <string>
#include <string_view>

#include "dialogs/flavour.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

// One of the nine characters a make-file name may not hold: / \ : * ? " < > |
bool IsInvalidChar(int32_t keyAscii);

// The name, trimmed, is not empty, holds no invalid character and is not just
// "." and the make extension (letter case ignored).
bool IsValidFileName(std::string_view name);

// A valid file name that may become a file in the make folder: it also holds
// no control character and does not begin with "." (which would hide it).
bool IsAcceptableMakeFileName(std::string_view name);

// The name ends with "." and the make extension (letter case ignored).
bool HasMakeExtension(std::string_view name);
// The name with "." and the make extension appended unless it ends with them.
std::string WithMakeExtension(std::string_view name);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
