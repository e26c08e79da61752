#include "plugin/shell/identity_pane_flag.h"

namespace plugin {

namespace {
bool& Flag() {
    static bool flag = false;
    return flag;
}
}  // namespace

bool IdentityPaneShown() { return Flag(); }
void SetIdentityPaneShown(bool shown) { Flag() = shown; }
void ResetIdentityPaneFlagForTests() { Flag() = false; }

}  // namespace plugin
