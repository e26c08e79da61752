#pragma once
// Pictures of the editor program's windows, for the documentation. Only in a
// binary of the editor's flavour: its make library may not share a binary
// with the plug-in's.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws the main window and the new R-curve dialog into the folder (made when
// missing); the number of pictures that could not be drawn or cut a text.
int DrawEditorWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
