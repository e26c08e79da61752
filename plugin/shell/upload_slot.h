#pragma once
// Where a test run asks the operator for the custom slot of an upload. The
// upload-slot dialog answers in the product; tests put a scripted answer in
// its place.

#include <cstdint>
#include <functional>
#include <optional>

namespace plugin {

// The slot (0 to 5) for a make of this light level; nullopt when the operator
// cancelled (or there is no dialog to ask with).
using UploadSlotAsker = std::function<std::optional<int32_t>(int32_t lightLevel)>;

std::optional<int32_t> AskUploadSlot(int32_t lightLevel);

// Replaces the asker; an empty one restores the dialog.
void SetUploadSlotAsker(UploadSlotAsker asker);

}  // namespace plugin
