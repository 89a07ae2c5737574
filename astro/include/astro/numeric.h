#pragma once
/// Float-to-integer conversion without undefined behaviour.

#include <cmath>
#include <cstdint>
#include <limits>

#include "astro/constants.h"

namespace astro {

/// Truncates x toward zero to a 32-bit integer, the system-wide float-to-integer rule.
/// In range the result is exactly the truncation; NaN gives 0, and values beyond
/// the 32-bit range saturate at its ends, so no input is undefined behaviour.
inline std::int32_t trunc_to_int(long double x) {
  if (std::isnan(x)) return 0;
  // The ends themselves are returned here too: a value just below 2^31 may round
  // to 2^31 as a double, which int could not hold.
  if (x >= 2147483647.0L) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0L) return std::numeric_limits<std::int32_t>::min();
  // A direct long double -> int conversion switches the x87 rounding mode twice,
  // which stalls the floating-point unit. Rounding to double first is cheap and lands on
  // the truncation or one past it (never across a whole number), so one compare in
  // extended precision corrects it exactly.
  auto t = static_cast<std::int32_t>(static_cast<double>(x));
  if (x >= 0) {
    if (static_cast<long double>(t) > x) --t;
  } else if (static_cast<long double>(t) < x) {
    ++t;
  }
  return t;
}

/// The same truncation of a double, with the same results as the long double form for
/// every double (both compare against the same exactly representable ends), without
/// the extended-precision round trip: a double in range converts exactly.
inline std::int32_t trunc_to_int(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(x);
}

/// x rounded to the nearest whole number, ties to even, for |x| < 2^51 (beyond, a whole
/// number near x): adding and taking away 1.5 x 2^52 leaves no bits below the units.
/// Exact, without a call of the C library (nearbyint is one on plain x86-64).
inline constexpr double kWholeRoundingShift = 6755399441055744.0;  // 1.5 x 2^52
inline double nearest_whole(double x) { return (x + kWholeRoundingShift) - kWholeRoundingShift; }

/// True when x truncated toward zero fits a 32-bit integer (x finite).
inline bool fits_int32(long double x) {
  return std::isfinite(x) && x < 2147483648.0L && x > -2147483649.0L;
}

}  // namespace astro
