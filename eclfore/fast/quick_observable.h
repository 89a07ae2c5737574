#pragma once
/// Steps 3 to 5 of the listing rule at an instant of an eclipse window (observable_at)
/// in fewer operations, for the windows of the forecast's short way: the day hours from
/// the exact JST day fraction (in_jst_day_hours) and the quick altitude where they are
/// certain, observable_at itself wherever they are not. A window holds some fifty instants, and a
/// month of a catalogue a million windows: the coverage and the table's share count them all.

#include "fast/forecast_star.h"
#include "fast/prefilter.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore::fast {

/// observable_at(s, window, rule, jd), for a star whose prefilter (on the tables of
/// run_tables) is `prefilter`.
bool quick_observable_at(const StarForRule& s, const Prefilter& prefilter, const RunTables& tables,
                         const SearchWindow& window, const ListingRule& rule, double jd);

/// True only when observable_at holds at every instant from `from_jd` to `to_jd`
/// (Julian Dates, UTC) for the star of `prefilter` (as above): both ends in the fixed
/// night less than 11 hours apart, and the star's hour angle throughout where the
/// prefilter puts it at or above the lowest altitude (certainly_above), for a rule
/// without the Sun, the Moon, a skyline, another clock or the places of date. False
/// says nothing: most windows of the listed minima are observable throughout, and
/// are then judged without a test of each instant.
bool observable_throughout(const Prefilter& prefilter, const ListingRule& rule, double from_jd,
                           double to_jd);

}  // namespace eclfore::fast
