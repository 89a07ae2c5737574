#pragma once
/// The files that --chart and --export add to the night plan's output set.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <optional>

#include "astro/horizon_profile.h"
#include "astro/sites.h"
#include "exports.h"
#include "night_filter.h"
#include "plan_entry.h"

namespace nightmark {

inline constexpr std::string_view kChartFile = "obsday3.svg";
inline constexpr std::string_view kStellariumFile = "obsday3.sol";
inline constexpr std::string_view kSkychartFile = "obsday3-skychart.txt";
inline constexpr std::string_view kSkySafariFile = "obsday3.skylist";
inline constexpr std::string_view kTableFile = "obsday3.csv";
inline constexpr std::string_view kCalendarFile = "obsday3.ics";
/// The catalogue whose full positions the exports take, when it is in the folder.
inline constexpr std::string_view kCatalogueFile = "star.dat";

/// What the options ask to be written besides the plan and the mark files.
struct PlanOutputChoice {
  bool chart = false;     ///< --chart
  ExportFormats exports;  ///< --export=FORMATS
  bool of_date = false;   ///< --of-date: the chart's altitudes of the apparent place
  /// --site: the chart's site; without it the built-in site, which the title names by
  /// its degrees alone.
  astro::NamedSite site{"", astro::kBuiltInSite};
  /// --horizon: the observer's skyline, behind which the chart draws a curve thin and
  /// grey; none by default.
  std::optional<astro::HorizonProfile> skyline;
  /// --zone: the name of the night's clock (astro::NightClock::abbreviation), which the
  /// chart and the lists write beside their times.
  std::string clock_name = "JST";
  /// The clock's offset on the night of the 1st of the night's month, days east of UT.
  astro::Ext month_offset_days = astro::kJstOffsetDays;
  /// The DTSTAMP of the calendar's events, seconds since 1970 (UTC).
  std::int64_t stamp_seconds = 0;
  bool any() const {
    return chart || exports.stellarium || exports.skychart || exports.skysafari || exports.csv ||
           exports.ics;
  }
};

/// One file of the output set: its name and its text with '\n' line ends.
struct PlanFile {
  std::string name;
  std::string text;
};

/// The chart and the exports asked for in `choice`, made from the plan's lines (the
/// NightListLines, in plan order) for the night `date` and the start time
/// `start_hours` (decimal hours on the night's clock). The exports take the positions of star.dat
/// in the current folder where it holds the star. `created`: local time of the run, "YYYY-MM-DD
/// HH:MM:SS".
std::vector<PlanFile> plan_files(const PlanOutputChoice& choice,
                                 const std::vector<std::string>& plan_lines, const NightDate& date,
                                 float start_hours, std::string_view created);

/// The local time now, "YYYY-MM-DD HH:MM:SS".
std::string local_time_now();

}  // namespace nightmark
