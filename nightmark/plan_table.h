#pragma once
/// The night plan as a table (obsday3.csv) and a calendar (obsday3.ics): the rows and
/// events of the month's table and calendar for the plan's minima. Each line's star is
/// found by name in star.dat for its elements, its position and its eclipse's duration;
/// a line not in star.dat gives what the plan holds, its cycle count and the columns of
/// the duration blank.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "astro/civil_clock.h"
#include "astro/horizon_profile.h"
#include "astro/sites.h"
#include "formats/catalogue.h"
#include "formats/minimum_table.h"
#include "night_filter.h"
#include "plan_entry.h"

namespace nightmark {

/// Where and how the rows are seen.
struct PlanTableSky {
  astro::ObservingSite site;
  bool of_date = false;  ///< --of-date: the altitudes of the apparent place
  const astro::HorizonProfile* skyline = nullptr;
  /// The clock's offset on the night of the 1st of the night's month, days east of UT:
  /// the rows take the Sun, the Moon and the meridian from that month's tables, as the
  /// forecast's table does.
  astro::Ext month_offset_days = astro::kJstOffsetDays;
};

/// A plan line's row with the span of its calendar event (Julian Dates, UTC).
struct PlanRow {
  formats::MinimumTableRow row;
  double event_start_jd = 0;
  double event_end_jd = 0;
};

/// The rows of the plan's entries, in plan order, on the night `date` (its clock) from
/// `start_hours`: the stars of `catalogue` (by name) with their elements. The coverage
/// is the share of the window that --coverage judges, from the start time on.
std::vector<PlanRow> plan_rows(const std::vector<PlanEntry>& entries, const NightDate& date,
                               float start_hours, const PlanTableSky& sky,
                               const std::map<std::string, formats::StarRecord>& catalogue);

/// The table's text: the header and one row a plan line, '\n' line ends.
std::string plan_table(const std::vector<PlanRow>& rows);

/// The calendar's text, one event a plan line, each stamped `stamp_seconds` (seconds
/// since 1970, UTC), '\n' line ends. A line without a cycle count takes its UID from
/// the plan's Julian Date in place of the cycle.
std::string plan_calendar(const std::vector<PlanRow>& rows, std::int64_t stamp_seconds);

}  // namespace nightmark
