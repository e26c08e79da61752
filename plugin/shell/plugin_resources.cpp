#include "plugin/shell/plugin_resources.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/values/text.h"

namespace plugin {

namespace {

enum class Glyph { Wave, Clip, Drop, Triangle, Eye, Zigzag, Monitor };

struct Bitmap {
    std::string_view name;
    int32_t width, height;
    uint32_t colour;
    Glyph glyph;
};

constexpr uint32_t kPelmo = 0xFF1F5FA8, kProbe = 0xFF6B6B6B, kSpO2 = 0xFFC0392B, kLed = 0xFFE67E22,
                   kPhoto = 0xFF27AE60, kResistance = 0xFF8E44AD;

constexpr std::array<Bitmap, 19> kBitmaps = {{
    {"PELMO2(16x16)", 16, 16, kPelmo, Glyph::Wave},
    {"PELMO2(32x16)", 32, 16, kPelmo, Glyph::Wave},
    {"PELMO2(32x32)", 32, 32, kPelmo, Glyph::Wave},
    {"PROBE(16x16)", 16, 16, kProbe, Glyph::Clip},
    {"PROBE(32x16)", 32, 16, kProbe, Glyph::Clip},
    {"PROBE(32x32)", 32, 32, kProbe, Glyph::Clip},
    {"SPO2(16x16)", 16, 16, kSpO2, Glyph::Drop},
    {"SPO2(32x16)", 32, 16, kSpO2, Glyph::Drop},
    {"SPO2(32x32)", 32, 32, kSpO2, Glyph::Drop},
    {"LED(16x16x1)", 16, 16, kLed, Glyph::Triangle},
    {"LED(32x16x1)", 32, 16, kLed, Glyph::Triangle},
    {"LED(32x32x1)", 32, 32, kLed, Glyph::Triangle},
    {"PHTO(16x16x1)", 16, 16, kPhoto, Glyph::Eye},
    {"PHTO(32x16x1)", 32, 16, kPhoto, Glyph::Eye},
    {"PHTO(32x32x1)", 32, 32, kPhoto, Glyph::Eye},
    {"RESISTANCE(16x16x1)", 16, 16, kResistance, Glyph::Zigzag},
    {"RESISTANCE(32x16x1)", 32, 16, kResistance, Glyph::Zigzag},
    {"RESISTANCE(32x32x1)", 32, 32, kResistance, Glyph::Zigzag},
    {"PELMO2MTI1", 48, 48, kPelmo, Glyph::Monitor},
}};

constexpr uint32_t kWhite = 0xFFFFFFFF, kBorder = 0xFF202020;

// Whether the glyph covers the point (x, y), both scaled to 0..1.
bool Covers(Glyph glyph, double x, double y) {
    switch (glyph) {
    case Glyph::Wave:  // a pulse trace across the middle
        return std::fabs(y - (0.5 - 0.3 * std::sin(x * 2 * M_PI))) < 0.09;
    case Glyph::Clip:  // two jaws of a finger clip
        return (y > 0.25 && y < 0.38 && x > 0.15 && x < 0.85) || (y > 0.62 && y < 0.75 && x > 0.15 && x < 0.85);
    case Glyph::Drop: {  // a drop of blood
        const double dx = x - 0.5, dy = y - 0.6;
        return dx * dx + dy * dy < 0.06 || (y > 0.15 && y <= 0.6 && std::fabs(dx) < (y - 0.15) * 0.55);
    }
    case Glyph::Triangle:  // the diode symbol
        return (x > 0.25 && x < 0.65 && std::fabs(y - 0.5) < (0.65 - x) * 0.9) || (x >= 0.65 && x < 0.72 && y > 0.2 && y < 0.8);
    case Glyph::Eye: {  // a light receiver
        const double dx = (x - 0.5) / 0.4, dy = (y - 0.5) / 0.22;
        return dx * dx + dy * dy < 1.0 && !((x - 0.5) * (x - 0.5) + (y - 0.5) * (y - 0.5) < 0.008);
    }
    case Glyph::Zigzag: {  // the resistor symbol
        if (x < 0.2 || x > 0.8) return std::fabs(y - 0.5) < 0.07;
        const double phase = std::fmod((x - 0.2) / 0.15, 2.0);
        const double line = phase < 1 ? 0.25 + 0.5 * phase : 0.75 - 0.5 * (phase - 1);
        return std::fabs(y - line) < 0.09;
    }
    case Glyph::Monitor:  // the instrument: a screen with a trace
        return (x > 0.1 && x < 0.9 && y > 0.15 && y < 0.7 && !(x > 0.18 && x < 0.82 && y > 0.22 && y < 0.63)) ||
               (y > 0.78 && y < 0.86 && x > 0.3 && x < 0.7) ||
               (x > 0.18 && x < 0.82 && std::fabs(y - (0.45 - 0.12 * std::sin(x * 4 * M_PI))) < 0.04);
    }
    return false;
}

std::vector<uint32_t> Draw(const Bitmap& bitmap) {
    std::vector<uint32_t> pixels(static_cast<size_t>(bitmap.width * bitmap.height));
    for (int32_t row = 0; row < bitmap.height; ++row)
        for (int32_t col = 0; col < bitmap.width; ++col) {
            const bool edge = row == 0 || col == 0 || row == bitmap.height - 1 || col == bitmap.width - 1;
            // The glyph keeps its shape in wide icons: it sits in the square at the left.
            const int32_t side = std::min(bitmap.width, bitmap.height);
            const double x = (col + 0.5) / side, y = (row + 0.5) / side;
            uint32_t colour = bitmap.colour;
            if (edge) colour = kBorder;
            else if (col < side && Covers(bitmap.glyph, x, y)) colour = kWhite;
            else if (col >= side) colour = (row / 2 + col / 2) % 2 ? bitmap.colour : kWhite;
            pixels[static_cast<size_t>(row * bitmap.width + col)] = colour;
        }
    return pixels;
}

}  // namespace

std::shared_ptr<host::CPicture> LoadBitmapResource(std::string_view name) {
    for (const Bitmap& bitmap : kBitmaps)
        if (plat::EqualsNoCase(bitmap.name, name))
            return std::make_shared<host::CPicture>(std::string(bitmap.name), bitmap.width, bitmap.height, Draw(bitmap));
    return nullptr;
}

std::vector<std::string_view> BitmapResourceNames() {
    std::vector<std::string_view> names;
    for (const Bitmap& bitmap : kBitmaps) names.push_back(bitmap.name);
    return names;
}

}  // namespace plugin
