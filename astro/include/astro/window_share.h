#pragma once
/// The share of an observing window (an eclipse window) during which a condition holds,
/// such as the star being observable: tested at the window's ends, its middle and steps
/// of at most 5 minutes between, each change of the condition found to the minute.

#include <functional>

#include "astro/constants.h"

namespace astro {

/// Most time between two tested instants of a window, minutes.
inline constexpr double kWindowStepMinutes = 5;
/// How closely an instant where the condition changes is found, minutes.
inline constexpr double kWindowResolutionMinutes = 1;

/// The unit of time in which a caller gives a window's instants: the step and the
/// resolution in that unit.
struct WindowUnit {
  double step;        ///< kWindowStepMinutes in the unit
  double resolution;  ///< kWindowResolutionMinutes in the unit
};

/// Instants in days (Julian Dates).
inline constexpr WindowUnit kWindowInDays{kWindowStepMinutes / kMinutesPerDay,
                                          kWindowResolutionMinutes / kMinutesPerDay};
/// Instants in hours (hours of the night).
inline constexpr WindowUnit kWindowInHours{kWindowStepMinutes / kMinutesPerHour,
                                           kWindowResolutionMinutes / kMinutesPerHour};

/// The share of the instants from `from` to `to` (in `unit`; from < to) for which
/// `observable` holds, percent 0 to 100: tested at both ends, at `middle` (between them)
/// and in equal steps of at most unit.step on either side of it (at most 200,000 steps a
/// side: a longer side is tested in that many equal steps, its changes found to a fifth
/// of such a step, as unit.resolution is of unit.step); where two neighbouring
/// instants differ, the change is found by halving to within unit.resolution and taken
/// at the middle of what is left. 100 exactly when every tested instant is observable.
/// Unless from < to, 100 or 0 as `observable` holds at `middle`. With `least_pct`, the
/// count stops as soon as the share can no longer reach it, and returns a share below it.
double observable_share_pct(double from, double middle, double to, const WindowUnit& unit,
                            const std::function<bool(double instant)>& observable,
                            double least_pct = 0);

}  // namespace astro
