#pragma once
// Number reading of the driver: either decimal sign, the leading number of
// the text, 0 when there is none (locale-independent).

#include <string_view>

namespace drv {

double ValText(std::string_view text);

}  // namespace drv
