#include "plugin/results/test_type_keys.h"

namespace plugin {

std::string PinPairKey(int32_t first, int32_t second) {
    return "PIN" + std::to_string(first) + "_TO_PIN" + std::to_string(second);
}

std::vector<std::string> TestTypeKeys(int32_t testId) {
    switch (testId) {
        case 100: return {"SpO2", "BPM"};
        case 200: return {"LED-R", "LED-IR", "LED-PHOTO"};
        case 300: return {"PHOTODIODE-R", "PHOTODIODE-IR"};
        case 400: return {PinPairKey(1, 2)};
        default: return {};
    }
}

}  // namespace plugin
