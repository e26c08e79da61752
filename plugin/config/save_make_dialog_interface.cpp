#include "plugin/config/save_make_dialog_interface.h"

#include <utility>

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
        return nullptr;
    }
}

}  // namespace plugin
