#pragma once
// Pictures of the host program's window, for the documentation. Only in a
// binary that does not link the plug-in: the host loads it by ProgID from
// beside the binary.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws the main window into the folder (made when missing); the number of
// pictures that could not be drawn or cut a text.
int DrawHostWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
