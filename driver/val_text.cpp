#include "driver/val_text.h"

#include "platform/values/numfmt.h"
#include "platform/values/text.h"

namespace drv {

double ValText(std::string_view text) {
    return plat::ReadLeadingNumber(plat::Replace(text, ",", "."));
}

}  // namespace drv
