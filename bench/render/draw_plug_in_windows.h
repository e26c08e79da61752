#pragma once
// Pictures of the windows of the plug-in's flavour, for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws every window of the plug-in's flavour into the folder (made when
// missing); the number of pictures that could not be drawn or cut a text.
int DrawPlugInWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
