#pragma once
// Pictures of the make-details dialog, the plug-in's settings page and the
// limit dialog, for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws them into the folder; the number of pictures that could not be drawn.
int DrawSettingsWindows(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
