#pragma once
// Key codes and shift-state bits of the key events.

#include <cstdint>

namespace plat::ui {

// Key codes of KeyPress, KeyDown and KeyUp (the original's vbKey values).
constexpr int32_t vbKeyBack = 8;
constexpr int32_t vbKeyTab = 9;
constexpr int32_t vbKeyReturn = 13;
constexpr int32_t vbKeyShift = 16;
constexpr int32_t vbKeyEscape = 27;
constexpr int32_t vbKeySpace = 32;
constexpr int32_t vbKeyPageUp = 33;
constexpr int32_t vbKeyPageDown = 34;
constexpr int32_t vbKeyEnd = 35;
constexpr int32_t vbKeyHome = 36;
constexpr int32_t vbKeyLeft = 37;
constexpr int32_t vbKeyUp = 38;
constexpr int32_t vbKeyRight = 39;
constexpr int32_t vbKeyDown = 40;
constexpr int32_t vbKeyDelete = 46;
constexpr int32_t vbKeyF1 = 112;

// Shift state of KeyDown and KeyUp (bits).
constexpr int32_t vbShiftMask = 1;
constexpr int32_t vbCtrlMask = 2;
constexpr int32_t vbAltMask = 4;

}  // namespace plat::ui
