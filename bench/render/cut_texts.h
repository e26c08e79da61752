#pragma once
// Texts a drawn window cuts: a caption, column header or button text wider
// (or taller) than the control that shows it, measured in the font the
// control draws with. Used after drawing a picture, so that the pictures and
// the tests over them fail on a window that does not fit its texts.

#include <string>
#include <vector>

namespace plat::qt {
class QtRenderer;
}
namespace plat::ui {
class Form;
}

// One line per cut text ("frmX.cmdSave: \"&Save\" needs 60 x 15 pixels, has 50 x 25"),
// for a form whose window the renderer has built (shown or drawn).
std::vector<std::string> CutTexts(const plat::qt::QtRenderer& renderer, const plat::ui::Form& form);
