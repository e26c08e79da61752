#pragma once
// Text and screen metrics from the screen, the style and the fonts.

#include "platform/ui/metrics.h"

namespace plat::qt {

class QtTextMetrics final : public plat::ui::TextMetrics {
public:
    int32_t TwipsPerPixelX() const override;
    int32_t TwipsPerPixelY() const override;
    int32_t VScrollBarWidth() const override;
    int32_t TextWidth(std::string_view text, const plat::ui::Font& font) const override;
    int32_t TextHeight(std::string_view text, const plat::ui::Font& font) const override;
};

}  // namespace plat::qt
