#pragma once
/// Shared numeric constants.

#include "astro/precision.h"

namespace astro {

/// Offset between Julian Date and Modified Julian Date, days.
inline constexpr double kMjdZeroJd = 2400000.5;
/// JD 0.5 + 9 h, days: a Julian day begins at noon UT, a JST day at 15:00 UT.
inline constexpr double kJdToJstDays = 0.875;

/// Units of time: hours, minutes and seconds of a day of 24 hours.
inline constexpr int kHoursPerDay = 24;
inline constexpr int kMinutesPerHour = 60;
inline constexpr int kSecondsPerMinute = 60;
inline constexpr int kSecondsPerHour = 3600;
inline constexpr int kMinutesPerDay = 1440;
inline constexpr int kSecondsPerDay = 86400;
/// The Unix epoch, 1970-01-01 0:00 UT, as an MJD, days.
inline constexpr double kUnixEpochMjd = 40587.0;

/// pi, the double nearest to it.
inline constexpr double kPi = 3.141592653589793;

/// pi to five decimals in single precision (3.14159f, 2.5e-6 below pi): a conversion to
/// radians whose outputs were fixed with this value keeps it, because the bits of its
/// radians, and so of its altitudes, depend on it (see RadianRule in astro/angles.h).
inline constexpr float kPiFiveDecimals = 3.14159f;

}  // namespace astro
