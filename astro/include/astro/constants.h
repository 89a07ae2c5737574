#pragma once
/// Shared numeric constants.

#include "astro/precision.h"

namespace astro {

/// Offset between Julian Date and Modified Julian Date, days.
inline constexpr double kMjdZeroJd = 2400000.5;
/// JD 0.5 + 9 h, days: a Julian day begins at noon UT, a JST day at 15:00 UT.
inline constexpr double kJdToJstDays = 0.875;

/// pi as a double; the forecast program's value for every conversion to radians.
inline constexpr double kPi = 3.141592653589793;

/// pi to five decimals in single precision: the value the night plan and the phase
/// table were written with; the bits of their radians depend on it.
inline constexpr float kPiFiveDecimals = 3.14159f;

}  // namespace astro
