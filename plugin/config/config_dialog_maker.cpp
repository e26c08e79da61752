#include "plugin/config/config_dialog_maker.h"

#include <utility>

#include "platform/values/abort_error.h"

namespace plugin {

namespace {
ConfigDialogMaker& Maker() {
    static ConfigDialogMaker maker;
    return maker;
}
}  // namespace

ConfigDialogMaker SetConfigDialogMaker(ConfigDialogMaker maker) { return std::exchange(Maker(), std::move(maker)); }

std::shared_ptr<host::IDialog> NewConfigDialog(const host::TestElementPtr& ownerTest) {
    if (!ownerTest || !Maker()) return nullptr;
    try {
        return Maker()(ownerTest);
    } catch (...) {
        plat::RethrowAbort();
        return nullptr;
    }
}

}  // namespace plugin
