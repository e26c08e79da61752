#pragma once
// Colours as the forms give them: 0x00BBGGRR (255 is red), or a system colour
// 0x80000000 + index, resolved against the screen's palette when drawn. The
// value is a signed 32-bit number, as the forms store it.

#include <cstdint>

namespace plat::ui {

using Color = int32_t;

constexpr Color Rgb(int r, int g, int b) { return static_cast<Color>((b & 0xFF) << 16 | (g & 0xFF) << 8 | (r & 0xFF)); }
constexpr int RedOf(Color c) { return c & 0xFF; }
constexpr int GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Color c) { return (c >> 16) & 0xFF; }

constexpr Color kSystemColorBase = static_cast<Color>(0x80000000);
constexpr bool IsSystemColor(Color c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u; }
constexpr int SystemColorIndex(Color c) { return static_cast<int>(static_cast<uint32_t>(c) & 0x00FFFFFFu); }
constexpr Color SystemColor(int index) { return static_cast<Color>(0x80000000u | static_cast<uint32_t>(index)); }

// Plain colours.
constexpr Color vbBlack = 0x000000;
constexpr Color vbRed = 0x0000FF;
constexpr Color vbGreen = 0x00FF00;
constexpr Color vbYellow = 0x00FFFF;
constexpr Color vbBlue = 0xFF0000;
constexpr Color vbMagenta = 0xFF00FF;
constexpr Color vbCyan = 0xFFFF00;
constexpr Color vbWhite = 0xFFFFFF;

// System colours (index in the low bits).
constexpr Color vbScrollBars = SystemColor(0);
constexpr Color vbDesktop = SystemColor(1);
constexpr Color vbWindowBackground = SystemColor(5);
constexpr Color vbWindowText = SystemColor(8);
constexpr Color vbHighlight = SystemColor(0x0D);
constexpr Color vbHighlightText = SystemColor(0x0E);
constexpr Color vbButtonFace = SystemColor(0x0F);
constexpr Color vbButtonShadow = SystemColor(0x10);
constexpr Color vbGrayText = SystemColor(0x11);
constexpr Color vbButtonText = SystemColor(0x12);
constexpr Color vbInfoText = SystemColor(0x17);
constexpr Color vbInfoBackground = SystemColor(0x18);

// The back colour of a window and of most controls.
constexpr Color kColorButtonFace = vbButtonFace;

// A colour as 0x00BBGGRR: plain colours as they are, system colours from a
// fixed classic palette (a renderer resolves them from its own style instead).
// An unknown system index gives the button face.
Color ResolveColor(Color c);

}  // namespace plat::ui
