#pragma once
/// What one line of the night plan (obsday3.txt, daily-list layout) gives the altitude
/// chart and the planetarium exports.

#include <string>
#include <string_view>
#include <vector>

#include "night_filter.h"

namespace nightmark {

/// A J2000 position.
struct EquatorialPosition {
  double ra_hours = 0;     ///< right ascension, hours
  double dec_degrees = 0;  ///< declination, degrees, negative south
};

/// One minimum of the plan, as the chart and the exports read it.
struct PlanEntry {
  std::string name;       ///< star name, columns 0-19, trailing blanks removed
  std::string catalogue;  ///< catalogue field, columns 20-23, trailing blanks removed
  char kind = ' ';        ///< 'p' primary or 's' secondary minimum, column 25
  std::string time_text;  ///< the time of the minimum as the plan writes it ("21.50")
  std::string var_type;   ///< variability type, columns 34-35, trailing blanks removed
  std::string mag_max;    ///< magnitude at maximum light as written ("10.2"), trimmed
  double minimum_jd = 0;  ///< Julian Date (UT) of the minimum, columns 98-109; 0 when blank
  /// Time and position as the plan filter reads them (single precision): the chart's
  /// curves use these, so they agree with the filter's verdict at the start time.
  ListedMinimum listed;
  /// The position to hand on: from the line (whole minutes of right ascension, whole
  /// arc minutes of declination) or, after take_catalogue_positions, from star.dat.
  EquatorialPosition position;
  bool position_from_catalogue = false;
};

/// Reads a plan line (at least kMinListLineChars long; shorter lines read blanks).
PlanEntry read_plan_entry(std::string_view line);

/// JST decimal hours as "HH:MM", rounded to the nearest minute, hours as the plan
/// counts them (24 to 29 after midnight); "??:??" outside 0 to 99 hours or not a number.
std::string clock_text(double hours);

/// Decimal hours of the night as the clock reads them, "HH:MM" rounded to the nearest
/// minute: 24.47 is "00:28"; "??:??" outside 0 to 99 hours or not a number.
std::string clock_reading_text(double hours);

/// The time of the minimum as "HH:MM", hours as the plan counts them (24 to 29 after
/// midnight), rounded to the nearest minute; "??:??" when the field is not a number.
std::string clock_time_text(const PlanEntry& entry);

/// Where star.dat (at `star_file`) holds a line of an entry's name, the entry takes
/// that line's position (seconds of right ascension). The first line of a name counts.
/// A catalogue position more than a minute of time or an arc minute away from the
/// plan's is not taken: a warning names the star and the plan's position stays.
/// A missing file changes nothing.
void take_catalogue_positions(std::vector<PlanEntry>& entries, const std::string& star_file);

}  // namespace nightmark
