#pragma once
// The language texts of the dialogs of this library: a window translates its
// stored caption and then every control caption, with the section "Pelmo2".

#include <string>
#include <string_view>

#include "dialogs/flavour.h"

namespace plat::ui {
class ControlHost;
class Form;
}

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

// The language section of the texts of both programs' windows.
inline constexpr const char* kLanguageSection = "Pelmo2";

// Every control of the window or embeddable control that has a caption gets its translation.
void TranslateControls(std::string_view section, plat::ui::ControlHost& host);
// The window's own caption, then its controls' captions, with the section "Pelmo2".
void TranslateFormCaptions(plat::ui::Form& form);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
