#include "plugin/config/save_make_dialog_maker.h"

#include <utility>

#include "platform/values/abort_error.h"

namespace plugin {

namespace {
SaveMakeDialogMaker& Maker() {
    static SaveMakeDialogMaker maker;
    return maker;
}
}  // namespace

SaveMakeDialogMaker SetSaveMakeDialogMaker(SaveMakeDialogMaker maker) { return std::exchange(Maker(), std::move(maker)); }

std::shared_ptr<ISaveMakeDialog> NewSaveMakeDialog() {
    try {
        return Maker() ? Maker()() : nullptr;
    } catch (...) {
        plat::RethrowAbort();
        return nullptr;
    }
}

}  // namespace plugin
