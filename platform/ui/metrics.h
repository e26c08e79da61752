#pragma once
// Text and screen metrics that forms use to lay out their controls: twips per
// pixel, the vertical scroll bar's width, and the size of a text in a font.
//
// Per thread, like the renderer. Without an installed one the headless
// metrics answer with fixed, deterministic values (see HeadlessMetrics), so
// layouts computed in tests do not depend on a screen. A renderer installs its
// own (from the screen, its style and the font's metrics) and removes it
// before it goes away.

#include <cstdint>
#include <string_view>

#include "platform/ui/font.h"

namespace plat::ui {

class TextMetrics {
public:
    virtual ~TextMetrics() = default;

    virtual int32_t TwipsPerPixelX() const = 0;
    virtual int32_t TwipsPerPixelY() const = 0;
    // The width of a vertical scroll bar in pixels.
    virtual int32_t VScrollBarWidth() const = 0;
    // The size of `text` (UTF-8) drawn in `font`, in twips: the widest line and
    // all lines together. Lines end at CR LF, LF or CR; "" is one empty line.
    virtual int32_t TextWidth(std::string_view text, const Font& font) const = 0;
    virtual int32_t TextHeight(std::string_view text, const Font& font) const = 0;
};

// Fixed values: 15 twips per pixel, a 17-pixel scroll bar, every character
// (code point) 6 pixels wide and every line 13 pixels high, whatever the font.
class HeadlessMetrics final : public TextMetrics {
public:
    static constexpr int32_t kTwipsPerPixel = 15;
    static constexpr int32_t kScrollBarPixels = 17;
    static constexpr int32_t kCharPixels = 6;
    static constexpr int32_t kLinePixels = 13;

    int32_t TwipsPerPixelX() const override { return kTwipsPerPixel; }
    int32_t TwipsPerPixelY() const override { return kTwipsPerPixel; }
    int32_t VScrollBarWidth() const override { return kScrollBarPixels; }
    int32_t TextWidth(std::string_view text, const Font& font) const override;
    int32_t TextHeight(std::string_view text, const Font& font) const override;
};

// Installs metrics for this thread (nullptr: the headless ones); returns the
// previous (nullptr when those were the headless ones). Not owned.
TextMetrics* SetTextMetrics(TextMetrics* metrics);
// This thread's metrics.
const TextMetrics& Metrics();

// The number of code points in a UTF-8 text per line, split at CR LF, LF or CR.
// A helper for metrics that count characters.
std::size_t LineCount(std::string_view text);
std::size_t WidestLineChars(std::string_view text);

}  // namespace plat::ui
