#pragma once
// The dialogs library is compiled twice, like the make library it builds on:
// once for the editor program and once for the plug-in library. Its flavour is
// the make library's (makes/flavour.h), and each build lives in that flavour's
// inline namespace.

#include "makes/flavour.h"

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

using makes::kPluginBuild;

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
