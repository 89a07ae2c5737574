#pragma once
/// Shared numeric constants and the precision rules every routine relies on.

#include <cfloat>

#ifdef __FAST_MATH__
#error "fast math changes results in the last bit; build without -ffast-math"
#endif

static_assert(LDBL_MANT_DIG == 64,
              "extended precision must be the 80-bit x87 format (64-bit mantissa)");

namespace astro {

/// Offset between Julian Date and Modified Julian Date, days.
inline constexpr double kMjdZeroJd = 2400000.5;

/// pi as a double; the forecast program's value for every conversion to radians.
inline constexpr double kPi = 3.141592653589793;

/// The five-decimal pi of the built-in-site programs, single precision.
inline constexpr float kPiShort = 3.14159f;

/// The built-in observing site (third entry of the forecast site table).
inline constexpr float kSiteLongitudeDeg = 139.77f;  ///< degrees east
inline constexpr float kSiteLatitudeDeg = 35.67f;    ///< degrees north

/// End-of-input byte of text files.
inline constexpr char kCtrlZ = '\x1a';

}  // namespace astro
