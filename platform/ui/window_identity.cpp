#include "platform/ui/window_identity.h"

#include <utility>

namespace plat::ui {

namespace {

WindowIdentity& Identity() {
    static WindowIdentity identity{"orvik", {}};
    return identity;
}

}  // namespace

void WindowIdentity::Set(WindowIdentity identity) {
    if (identity.windowClass.empty()) identity.windowClass = "orvik";
    Identity() = std::move(identity);
}

const WindowIdentity& WindowIdentity::Current() { return Identity(); }

}  // namespace plat::ui
