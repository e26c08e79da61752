#include "plugin/shell/upload_slot.h"

namespace plugin {

namespace {
UploadSlotAsker& Asker() {
    static UploadSlotAsker asker;
    return asker;
}
}  // namespace

std::optional<int32_t> AskUploadSlot(int32_t lightLevel) {
    if (const auto& asker = Asker()) return asker(lightLevel);
    return std::nullopt;  // no slot dialog in this build: nothing is uploaded
}

void SetUploadSlotAsker(UploadSlotAsker asker) { Asker() = std::move(asker); }

}  // namespace plugin
