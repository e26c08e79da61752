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

// Draws a loaded form into the PNG file and unloads it; 1 when it could not
// be drawn, else 0.
int DrawAndUnload(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path);

// Draws them into the folder; the number of pictures that could not be drawn.
int DrawDialogs(plat::qt::QtRenderer& renderer, const std::filesystem::path& folder);
