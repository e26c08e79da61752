#pragma once
// Translates the captions of a window's or embeddable control's own controls
// through the host's language service.

#include <string_view>

namespace plat::ui {
class ControlHost;
}

namespace plugin {

// Every control of the host that has a caption gets its translation.
void TranslateControls(std::string_view section, plat::ui::ControlHost& host);

}  // namespace plugin
