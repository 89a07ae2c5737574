#pragma once
/// The phase table's conversion to radians.

#include "astro/angles.h"
#include "astro/constants.h"

namespace phaselist {

/// The five-decimal float pi, the division by the units per half turn last.
inline constexpr astro::RadianRule kPhaseTableRadians{
    static_cast<astro::Ext>(astro::kPiFiveDecimals), astro::RadianOrder::kPiThenDivide};

}  // namespace phaselist
