#include "plugin/results/test_type_keys.h"

#include "plugin/shell/test_kind.h"

namespace plugin {

std::vector<std::string> TestTypeKeys(int32_t testId) {
    std::vector<std::string> keys;
    if (const TestKind* kind = FindTestKind(testId))
        for (const TestKind::Measurement& measurement : kind->measurements) keys.emplace_back(measurement.key);
    return keys;
}

}  // namespace plugin
