#pragma once
/// Degrees and hours to radians by a rule: a value of pi and an order of operations (the
/// bits of every result depend on both). Each program keeps its own rule.

#include "astro/constants.h"
#include "astro/precision.h"

namespace astro {

/// Degrees and hours of right ascension in half a turn (pi radians).
inline constexpr Ext kDegreesPerHalfTurn = 180;
inline constexpr Ext kHoursPerHalfTurn = 12;

/// The order of the operations of a conversion, left to right in extended precision.
enum class RadianOrder {
  kReciprocalThenPi,  ///< value x (1 / units per half turn) x pi
  kPiThenDivide,      ///< value x pi / units per half turn
};

/// One program's conversion to radians.
struct RadianRule {
  Ext pi = 0;  ///< the program's pi, widened from its stored precision
  RadianOrder order = RadianOrder::kReciprocalThenPi;
};

/// `value` (degrees or hours; `units_per_half_turn` kDegreesPerHalfTurn or
/// kHoursPerHalfTurn) in radians by `rule`, rounded to float once at the end.
inline float to_radians(float value, Ext units_per_half_turn, const RadianRule& rule) {
  const Ext v = value;
  if (rule.order == RadianOrder::kPiThenDivide) {
    return static_cast<float>(v * rule.pi / units_per_half_turn);
  }
  return static_cast<float>(v * (1.0L / units_per_half_turn) * rule.pi);
}

}  // namespace astro
