#pragma once
// Pictures of the dialogs built into both programs (their plug-in flavour)
// and of the plug-in's element setup dialog, for the documentation.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}
namespace plat::ui {
class Form;
}

// Draws them into the folder; the number of pictures that could not be drawn.
int DrawDialogs(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
