#pragma once
/// The night plan filter: which minima of a daily list are still worth observing
/// from a start time, seen from the site (the built-in site, 139.77 E, 35.67 N, or the
/// one --site gives).

#include <map>
#include <string>
#include <string_view>

#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "astro/horizon.h"
#include "astro/horizon_profile.h"
#include "astro/sites.h"

namespace nightmark {

/// The night's date: the evening's calendar date, and the clock its hours are on.
struct NightDate : astro::CalendarDate {
  /// The night's clock (astro::NightClock::offset_days), days east of UT: JST unless
  /// --zone names another clock.
  astro::Ext utc_offset_days = astro::kJstOffsetDays;
};

/// The years a title may give: what its four year columns hold written in digits.
/// The Sun's and the Moon's places are computed for these; far beyond them they are not
/// numbers.
inline constexpr int kFirstTitleYear = -999;
inline constexpr int kLastTitleYear = 9999;

/// The date of the title line ("=== 2006/ 3/ 5 ==="): year in columns 4-7, month
/// 9-10, day 12-13, each converted and truncated toward zero. Month and day are not
/// range-checked; a year that is not a number reads 0, one beyond kFirstTitleYear or
/// kLastTitleYear the nearer of the two.
NightDate night_date_from_title(std::string_view title);

/// True when the title's year field is a number from kFirstTitleYear to kLastTitleYear
/// (a fraction truncated), so that night_date_from_title holds the year as it stands;
/// false for a field without digits (blanks, a word, NAN, INF).
bool title_year_in_range(std::string_view title);

/// The title's year field as it stands, without its blanks, for a message.
std::string title_year_text(std::string_view title);

/// True when month is 1 to 12 and day 1 to 31.
bool looks_like_calendar_date(const NightDate& date);

/// Start time, decimal hours on the night's clock (after midnight counted on from 24), single
/// precision.
float start_time_hours(int hour, int minute);

/// The site as the plan's formulas take it. The latitude is converted with the
/// five-decimal pi for a typed site as for the built-in one: one rule for every site.
struct PlanSite {
  astro::ObservingSite degrees;  ///< longitude degrees east, latitude degrees north
  float latitude_rad = 0;        ///< the latitude, radians, single precision
};
PlanSite plan_site(const astro::ObservingSite& site);

/// What the filter reads of one daily-list line, single precision.
struct ListedMinimum {
  float time_hours = 0;   ///< decimal hours of the minimum on the night's clock
  float ra_hours = 0;     ///< right ascension, hours
  float dec_degrees = 0;  ///< declination, degrees; a "-" in the degree field makes
                          ///< it southern, also for minus zero degrees
};

/// The working values of a line. Fields that are not numbers read as 0.
ListedMinimum read_listed_minimum(std::string_view line);

/// Right ascension hours -> radians with the five-decimal pi, single precision.
float ra_radians(float ra_hours);
/// Declination degrees -> radians with the five-decimal pi, single precision.
float dec_radians(float dec_degrees);

/// Azimuth (degrees from south through west) and altitude (degrees) at the site for
/// `hours` on the night's date and clock; hours of 24 or more run on into the next day.
/// ra, dec in radians.
astro::HorizontalPosition position_at(const NightDate& date, float hours, const PlanSite& site,
                                      float ra, float dec);

/// Positions of date (--of-date) on the night's date: the sky of each instant is
/// computed once and kept, for the start time and for each time field met.
class OfDateSky {
 public:
  OfDateSky(const NightDate& date, const astro::ObservingSite& site) : date_(date), site_(site) {}
  /// Azimuth (degrees from south through west, in (0, 360]) and altitude (degrees) of
  /// date at `hours` on the night's date and clock of the star at ra_hours, dec_degrees
  /// (taken as ICRS), at the site.
  astro::HorizontalPosition position(float hours, float ra_hours, float dec_degrees);

 private:
  NightDate date_;
  astro::ObservingSite site_;
  std::map<float, astro::InstantSky> skies_;
};

/// The star of `minimum` at `hours`: with `of_date` its position of date, else
/// position_at of its J2000 position.
astro::HorizontalPosition star_position(const NightDate& date, float hours, const PlanSite& site,
                                        const ListedMinimum& minimum, OfDateSky* of_date);

/// The plan's altitude limit, degrees.
inline constexpr float kLowestAltitudeDeg = 10.0f;

/// True when the minimum comes more than 0.75 hour after the start (hours of the night).
bool lead_long_enough(float start_hours, float minimum_hours);

/// True when the azimuth (degrees from south through west) lies in the south sector:
/// above 315 or below 15 degrees.
bool in_south_sector(const astro::HorizontalPosition& at_minimum);

enum class Verdict {
  kKept,
  kLowAtStart,     ///< 10 degrees high or less at the start time
  kBehindSkyline,  ///< behind the observer's skyline (--horizon) at the start time
  kTooSoon,        ///< the minimum comes 0.75 hour or less after the start
  kOutsideSouth,   ///< south only: azimuth at the minimum from 15 to 315 degrees
  kNotANumber,     ///< time or position is not a finite number
  kShortCoverage,  ///< --coverage: less of the eclipse window observable than asked
};

/// Judges one minimum: kept when the star stands more than 10 degrees high at the
/// start time, the minimum comes more than 0.75 hour after it, and, when
/// `south_only`, the star stands at an azimuth above 315 or below 15 degrees at the
/// minimum. The altitude at the minimum is not tested. With `of_date` both positions
/// are of date (the instants the same); null keeps the J2000 positions. With `skyline`
/// (--horizon; null: none) the star must also stand at or above it at the start time.
Verdict judge_minimum(const NightDate& date, float start_hours, bool south_only,
                      const PlanSite& site, const ListedMinimum& minimum,
                      OfDateSky* of_date = nullptr, const astro::HorizonProfile* skyline = nullptr);

}  // namespace nightmark
