#pragma once
// The bounds a make has on the simulator, shared by the make files, the
// editor and the plug-in: an R-curve of one point per SpO2 from 50 to 100,
// each an R value from 0 to 2.5 in hundredths (the wire carries 0 to 250),
// a name the simulator keeps to 9 characters, and the make numbers 10 to 15
// that hold custom makes (0 to 9 are its built-in makes).

#include <cstdint>

#include "makes/flavour.h"

namespace makes {
inline namespace ORVIK_MAKES_FLAVOUR {

inline constexpr int32_t kFirstSpO2 = 50;
inline constexpr int32_t kLastSpO2 = 100;
inline constexpr int32_t kCurvePoints = kLastSpO2 - kFirstSpO2 + 1;
inline constexpr double kMinRValue = 0;
inline constexpr double kMaxRValue = 2.5;
inline constexpr int32_t kRValueDecimals = 2;
inline constexpr int32_t kNameWidth = 9;
inline constexpr int32_t kFirstCustomMake = 10;
inline constexpr int32_t kLastCustomMake = 15;

}  // namespace ORVIK_MAKES_FLAVOUR
}  // namespace makes
