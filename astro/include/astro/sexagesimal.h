#pragma once
/// Values written in sixtieths (hours and minutes, degrees and arc minutes) as decimals,
/// and the sign of a declination written as signed degrees and unsigned minutes.

#include <string_view>

#include "astro/precision.h"

namespace astro {

/// How the minutes become a fraction of the whole unit, in extended precision.
enum class MinuteStep {
  kTimesReciprocal,  ///< minutes x (1/60)
  kDividedBySixty,   ///< minutes / 60
};

/// whole + minutes / 60 (hours or degrees), computed in extended precision and rounded
/// to float once. `step` keeps each caller's order of operations: 1/60 is not exact, so
/// the two may round differently in extended precision, and a caller keeps the step its
/// outputs were fixed with.
inline float whole_and_minutes(Ext whole, Ext minutes,
                               MinuteStep step = MinuteStep::kTimesReciprocal) {
  if (step == MinuteStep::kDividedBySixty) return static_cast<float>(whole + minutes / 60.0L);
  return static_cast<float>(whole + minutes * (1.0L / 60));
}

/// hours + minutes x (1/60) + seconds x (1/3600), left to right in extended precision,
/// rounded to float once.
inline float hours_minutes_seconds(Ext hours, Ext minutes, Ext seconds) {
  return static_cast<float>((hours + minutes * (1.0L / 60)) + seconds * (1.0L / 3600));
}

/// The declination's arc minutes with the sign of the whole declination: the minutes
/// carry no sign of their own, and a minus anywhere in the degree field's text, also in
/// "-0" or "-00" (between 0 and -1 degree), makes them negative.
inline float signed_declination_minutes(std::string_view degree_field, float minutes) {
  return degree_field.find('-') != std::string_view::npos ? -minutes : minutes;
}

}  // namespace astro
