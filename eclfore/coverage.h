#pragma once
/// The eclipse window of a minimum and the share of it that is observable: step 6 of
/// the listing rule (--coverage), and the window's ends and share for the table and the
/// calendar of the month's minima.
///
/// The window runs from the first to the last contact, the minimum -/+ D x P / 200 (D
/// the line's duration of that eclipse in percent of the period P), widened on each
/// side by the minimum's timing uncertainty (when the line gives both errors) and by
/// --baseline. An instant of it is observable when it passes steps 3 to 5 of the rule:
/// in the night, the star at or above the lowest altitude and the skyline, the Moon
/// far enough.

#include <functional>
#include <optional>

#include "astro/window_share.h"
#include "forecast_minimum.h"
#include "formats/catalogue.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore {

/// What a star's line tells of one of its minima.
struct EclipseExtent {
  /// Half the eclipse, first contact to minimum, days (D x P / 200); none when the line
  /// gives no duration.
  std::optional<double> half_days;
  /// The timing uncertainty of the minimum, days, at most a period
  /// (formats::window_widening_days); none when either error is blank.
  std::optional<double> uncertainty_days;
  double cycles = 0;  ///< the cycle count E of the minimum (cycle_count)
};

/// The extent of the minimum of `kind` of `star` whose candidate instant is
/// `candidate_mjd` (MJD, days, in the epoch's time scale): the secondary eclipse takes
/// the secondary duration, or the primary's when blank.
EclipseExtent eclipse_extent(const formats::StarRecord& star, MinimumKind kind,
                             double candidate_mjd);

/// Half the window that the coverage judges, days: the half eclipse, the uncertainty
/// (when known) and `baseline_min` minutes. Needs extent.half_days.
double judged_half_days(const EclipseExtent& extent, double baseline_min);

/// Steps 3 to 5 of the rule at the instant jd (Julian Date, UTC; within the rule's sky
/// tables) for the star `s`.
bool observable_at(const StarForRule& s, const SearchWindow& window, const ListingRule& rule,
                   double jd);

/// The observable share (percent) of the window of the minimum at `minimum_jd` (Julian
/// Date, UTC) with `extent`, widened by `baseline_min` minutes; none without a duration.
/// `least_pct` as for astro::observable_share_pct.
std::optional<double> window_share_pct(const StarForRule& s, const SearchWindow& window,
                                       const ListingRule& rule, const EclipseExtent& extent,
                                       double minimum_jd, double baseline_min,
                                       double least_pct = 0);
/// How a shortcut tells the observability of a window's instants: `at` one instant, as
/// observable_at decides; `throughout`, when set, true only when observable_at holds at
/// every instant from from_jd to to_jd (false says nothing).
struct WindowObservability {
  std::function<bool(double jd)> at;
  std::function<bool(double from_jd, double to_jd)> throughout;
};

/// The same with the observability from `observable`: a window observable throughout
/// is 100 percent, as the count would find it, else each instant is asked.
std::optional<double> window_share_pct(const EclipseExtent& extent, double minimum_jd,
                                       double baseline_min, const WindowObservability& observable,
                                       double least_pct = 0);

/// Step 6's verdict on a minimum, and the share it found.
struct CoverageVerdict {
  bool enough = true;
  /// The share of the window, percent; none without --coverage or a duration. Below
  /// the option's share it may be short of the whole (the count stops there).
  std::optional<double> share_pct;
};

/// Step 6: enough without --coverage and for a star without a duration, else when the
/// share of the window is at least the option's.
CoverageVerdict enough_coverage(const StarForRule& s, const SearchWindow& window,
                                const ListingRule& rule, MinimumKind kind, double candidate_mjd,
                                double minimum_jd);
/// The same with the observability from `observable`, as for window_share_pct.
CoverageVerdict enough_coverage(const StarForRule& s, const ListingRule& rule, MinimumKind kind,
                                double candidate_mjd, double minimum_jd,
                                const WindowObservability& observable);

}  // namespace eclfore
