#pragma once
// The language texts of the dialogs of this library: a window translates its
// stored caption and then every control caption, with the section "Pelmo2".

#include <string>
#include <string_view>

#include "plugin/config/dialogs/flavour.h"

namespace plat::ui {
class Form;
}

namespace dialogs {
inline namespace ORVIK_MAKES_FLAVOUR {

std::string TranslatePelmo2(std::string_view text);
void TranslateFormCaptions(plat::ui::Form& form);

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace dialogs
