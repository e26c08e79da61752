#pragma once
// Pictures of the results windows for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}

// Draws the detailed-result page in its dialog and the help view of a test
// into the folder; the number of pictures that could not be drawn.
int DrawResults(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
// Draws the results grids of the real plug-in's tests. Before any of the
// plug-in's classes are registered in this program: the grids and tests must
// all come from the library.
int DrawResultGrids(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
