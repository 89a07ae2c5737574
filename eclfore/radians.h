#pragma once
/// The forecast's conversion to radians.

#include "astro/angles.h"
#include "astro/constants.h"

namespace eclfore {

/// The double pi, the reciprocal of the units per half turn first.
inline constexpr astro::RadianRule kForecastRadians{static_cast<astro::Ext>(astro::kPi),
                                                    astro::RadianOrder::kReciprocalThenPi};

}  // namespace eclfore
