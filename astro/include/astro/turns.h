#pragma once
/// The cosine and sine of an angle in turns the quick way, for first looks whose error
/// bounds allow 1e-9: no call of the C library.

#include <cstdint>

#include "astro/constants.h"
#include "astro/numeric.h"

namespace astro {

struct CosSin {
  double cos = 0;
  double sin = 0;
};

/// cos and sin of 2 pi x turns (|turns| <= 1): the quarter turn nearest, then the
/// Taylor series of the rest (|r| <= pi/4) to the 10th and 11th power, whose
/// truncation is below 2e-10 (r^12 / 12!); with the roundings within 3e-10 of the true
/// values.
inline CosSin cos_sin_of_turns(double turns) {
  const double quarters = 4 * turns;  // exact
  const double nearest = nearest_whole(quarters);
  const double r = (quarters - nearest) * (kPi / 2);  // the difference is exact
  const double r2 = r * r;
  const double c =
      1 + r2 * (-1.0 / 2 +
                r2 * (1.0 / 24 + r2 * (-1.0 / 720 + r2 * (1.0 / 40320 + r2 * (-1.0 / 3628800)))));
  const double s =
      r * (1 + r2 * (-1.0 / 6 +
                     r2 * (1.0 / 120 +
                           r2 * (-1.0 / 5040 + r2 * (1.0 / 362880 + r2 * (-1.0 / 39916800))))));
  switch (static_cast<std::int32_t>(nearest) & 3) {
    case 0:
      return {c, s};
    case 1:
      return {-s, c};
    case 2:
      return {-c, -s};
    default:
      return {s, -c};
  }
}

}  // namespace astro
