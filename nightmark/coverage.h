#pragma once
/// --coverage: a plan line is kept when enough of its eclipse window can be observed
/// from the start time on, instead of when the star is high enough at the start time.

#include <optional>
#include <string_view>

#include "astro/horizon_profile.h"
#include "eclipse_window.h"
#include "io/cli.h"
#include "night_filter.h"

namespace nightmark {

inline constexpr io::OptionSpec kCoverageOption{
    "coverage", "PERCENT",
    "keep a minimum when PERCENT (0-100) of its eclipse window is observable"};

/// --coverage's percent, or nothing without the option. Throws io::UsageError naming the
/// option and its value for a value that is not a number from 0 to 100.
std::optional<double> coverage_option(const io::Options& options);

/// Share of the window observable, percent: an instant is observable with the star at
/// or above 10 degrees, at or above the skyline (when given), the Sun's centre below
/// civil twilight and the instant not before `start_hours`. The window, its two ends
/// widened by the uncertainty when known, is tested as astro::observable_share_pct tests
/// it, each change found to the minute. Without a duration, 100 or 0 as the minimum is
/// observable.
double observable_percent(const NightDate& date, float start_hours, const PlanSite& site,
                          const ListedMinimum& minimum, const EclipseWindow& window,
                          OfDateSky* of_date = nullptr,
                          const astro::HorizonProfile* skyline = nullptr);

/// judge_minimum with the altitude test at the start time (and the skyline's) replaced by
/// observable_percent of at least `percent`; the lead and the south sector asked as there.
Verdict judge_coverage(const NightDate& date, float start_hours, bool south_only,
                       const PlanSite& site, const ListedMinimum& minimum,
                       const EclipseWindow& window, double percent, OfDateSky* of_date = nullptr,
                       const astro::HorizonProfile* skyline = nullptr);

}  // namespace nightmark
