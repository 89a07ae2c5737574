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

/// The five-decimal pi of the built-in-site programs, single precision.
inline constexpr float kPiShort = 3.14159f;

/// End-of-input byte of text files.
inline constexpr char kCtrlZ = '\x1a';

}  // namespace astro
