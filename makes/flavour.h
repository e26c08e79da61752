#pragma once
// The make library is compiled twice from these sources: once for the editor
// program (makes_editor) and once for the plug-in library (makes_plugin). The
// two differ only where a member says so. Each build lives in its own inline
// namespace, so the two can never be mixed up at link time.

#if defined(ORVIK_MAKES_EDITOR) == defined(ORVIK_MAKES_PLUGIN)
#error "Link exactly one of makes_editor and makes_plugin"
#endif

#ifdef ORVIK_MAKES_PLUGIN
#define ORVIK_MAKES_FLAVOUR plugin_build
#else
#define ORVIK_MAKES_FLAVOUR editor_build
#endif

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

#ifdef ORVIK_MAKES_PLUGIN
inline constexpr bool kPluginBuild = true;
#else
inline constexpr bool kPluginBuild = false;
#endif

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
