#include "host/view/x_help_text.h"

namespace host {

XHelpText::XHelpText() {
    lblText.SetWordWrap(true);
    OnResize = [this] { lblText.Move(0, 0, ScaleWidth(), ScaleHeight()); };
}

}  // namespace host
