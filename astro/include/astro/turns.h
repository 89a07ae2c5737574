#pragma once
/// The cosine and sine of an angle in turns the quick way, for prefilters whose error
/// bounds allow 1e-9: no call of the C library.

#include <bit>
#include <cstdint>

#include "astro/constants.h"
#include "astro/numeric.h"

namespace astro {

struct CosSin {
  double cos = 0;
  double sin = 0;
};

/// cos and sin of 2 pi x turns (|turns| < 2^49): the quarter turn nearest, then the
/// Taylor series of the rest (|r| <= pi/4) to the 10th and 11th power, whose
/// truncation is below 2e-10 (r^12 / 12!); with the roundings within 3e-10 of the true
/// values. The rest is exact (4 x turns less the whole number nearest to it), and its
/// quarter's number comes from the low bits of the rounding sum (the whole number of
/// quarters lies in its last bits for |quarters| < 2^51), so no float-to-integer
/// conversion meets a large or NaN argument. The series are evaluated in pairs of
/// terms (r^4 steps), whose additions and products run side by side: the error of
/// each rounding stays below 1e-16.
inline CosSin cos_sin_of_turns(double turns) {
  const double quarters = 4 * turns;  // exact
  const double shifted = quarters + kWholeRoundingShift;
  const double nearest = shifted - kWholeRoundingShift;
  const auto quadrant = std::bit_cast<std::uint64_t>(shifted) & 3;
  const double r = (quarters - nearest) * (kPi / 2);  // the difference is exact
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double c = (1 + r2 * (-1.0 / 2)) + r4 * ((1.0 / 24 + r2 * (-1.0 / 720)) +
                                                 r4 * (1.0 / 40320 + r2 * (-1.0 / 3628800)));
  const double s =
      r * ((1 + r2 * (-1.0 / 6)) +
           r4 * ((1.0 / 120 + r2 * (-1.0 / 5040)) + r4 * (1.0 / 362880 + r2 * (-1.0 / 39916800))));
  switch (quadrant) {
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
