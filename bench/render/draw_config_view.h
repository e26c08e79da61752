#pragma once
// Pictures of the SpO2 configuration view in the test's configuration dialog,
// for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws them into the folder; the number of pictures that could not be drawn.
int DrawConfigView(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
