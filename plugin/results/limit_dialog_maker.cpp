#include "plugin/results/limit_dialog_maker.h"

#include <utility>

namespace plugin {

namespace {
LimitDialogMaker& Installed() {
    static LimitDialogMaker maker;
    return maker;
}
}  // namespace

LimitDialogMaker SetLimitDialogMaker(LimitDialogMaker maker) { return std::exchange(Installed(), std::move(maker)); }

std::shared_ptr<host::IDialog> NewLimitDialog(const std::shared_ptr<host::ILimitData>& limits, int32_t testId) {
    if (!Installed()) return nullptr;
    return Installed()(limits, testId);
}

}  // namespace plugin
