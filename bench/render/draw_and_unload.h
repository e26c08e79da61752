#pragma once
// Drawing one window of the documentation's pictures, shared by the drawing
// programs of both programs' flavours.

#include <filesystem>

namespace plat::qt {
class QtRenderer;
}
namespace plat::ui {
class Form;
}

// Draws a loaded form into the PNG file and tells (on standard error) every
// text the window cuts; 1 when it could not be drawn or cuts a text, else 0.
int DrawPicture(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path);
// DrawPicture, then unloads the form.
int DrawAndUnload(plat::qt::QtRenderer& renderer, plat::ui::Form& form, const std::filesystem::path& path);
