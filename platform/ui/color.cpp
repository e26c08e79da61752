#include "platform/ui/color.h"

#include <array>

namespace plat::ui {

Color ResolveColor(Color c) {
    if (!IsSystemColor(c)) return c & 0x00FFFFFF;
    // The classic palette, by system colour index.
    static constexpr std::array<Color, 25> kPalette = {
        Rgb(212, 208, 200), Rgb(58, 110, 165),  Rgb(10, 36, 106),   Rgb(128, 128, 128), Rgb(212, 208, 200),
        Rgb(255, 255, 255), Rgb(0, 0, 0),       Rgb(0, 0, 0),       Rgb(0, 0, 0),       Rgb(255, 255, 255),
        Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(128, 128, 128), Rgb(10, 36, 106),   Rgb(255, 255, 255),
        Rgb(212, 208, 200), Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(0, 0, 0),       Rgb(212, 208, 200),
        Rgb(255, 255, 255), Rgb(64, 64, 64),    Rgb(212, 208, 200), Rgb(0, 0, 0),       Rgb(255, 255, 225)};
    const int index = SystemColorIndex(c);
    return index < static_cast<int>(kPalette.size()) ? kPalette[index] : kPalette[0x0F];
}

}  // namespace plat::ui
