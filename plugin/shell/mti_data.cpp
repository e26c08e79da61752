#include "plugin/shell/mti_data.h"

namespace plugin {

std::string MtiTypeKey(std::string_view mtiType) { return std::string(kMtiDataKey) + std::string(mtiType); }

}  // namespace plugin
