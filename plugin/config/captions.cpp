#include "plugin/config/captions.h"

#include "dialogs/form_captions.h"

namespace plugin {

void TranslateControls(std::string_view section, plat::ui::ControlHost& host) {
    dialogs::TranslateControls(section, host);
}

}  // namespace plugin
