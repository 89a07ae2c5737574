#pragma once
/// What the month's table (--csv) and calendar (--ics) say of a listed minimum: its
/// eclipse window, the star's altitudes at the window's ends and at the minimum, the
/// Sun and the Moon, the meridian.

#include "astro/civil_clock.h"
#include "forecast_minimum.h"
#include "formats/minimum_row.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore {

/// The sky tables of the rows over a window (row_sky): the Sun, the Moon and the
/// apparent places, whatever the run's options.
astro::ObservingConditions row_sky(const SearchWindow& window, const ObservingSite& site);

/// The row of the listed minimum `minimum` of the star `s` (star_for_rule with `rule`),
/// the rule of its line's time scale, on `clock`. Its altitudes come from the positions
/// of step 4 (the catalogue place, or with --of-date the place of date), the Sun, the
/// Moon and the meridian from the tables `sky` (row_sky) and the star's `place` in them
/// (sky.star), whatever the options. The coverage is the share of the window that
/// --coverage judges (with --baseline), rounded down to a whole percent.
formats::MinimumTableRow table_row(const ForecastMinimum& minimum, const StarForRule& s,
                                   const SearchWindow& window, const ListingRule& rule,
                                   const astro::CivilClock& clock,
                                   const astro::ObservingConditions& sky,
                                   const astro::StarPlace& place);

/// The span of a minimum's calendar event: the window that --coverage judges (the
/// contacts widened by the uncertainty and --baseline), or
/// formats::kEventHalfWithoutDurationDays either side of the minimum without a duration.
formats::EventSpan event_window(const ForecastMinimum& minimum, const ListingRule& rule);

}  // namespace eclfore
