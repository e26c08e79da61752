#pragma once
// Pictures of the test-guide window for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws the guide window of the shipped tests into the folder; the number of
// pictures that could not be drawn.
int DrawTestGuides(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
