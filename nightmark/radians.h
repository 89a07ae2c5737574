#pragma once
/// The night plan's conversion to radians.

#include "astro/angles.h"
#include "astro/constants.h"

namespace nightmark {

/// The five-decimal float pi, the reciprocal of the units per half turn first.
inline constexpr astro::RadianRule kNightPlanRadians{
    static_cast<astro::Ext>(astro::kPiFiveDecimals), astro::RadianOrder::kReciprocalThenPi};

}  // namespace nightmark
