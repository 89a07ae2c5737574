#include "night_filter.h"

#include <algorithm>
#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/numeric.h"
#include "astro/precision.h"
#include "astro/sexagesimal.h"
#include "formats/layouts.h"
#include "formats/records.h"
#include "radians.h"

namespace nightmark {
namespace {

using astro::Ext;

/// Limits of the plan.
constexpr Ext kLeadTimeHours = 0.75L;
constexpr float kSouthSectorEastAzimuthDeg = 360.0f - 45.0f;  ///< 45 degrees east of south
constexpr float kSouthSectorWestAzimuthDeg = 15.0f;           ///< 15 degrees west of south

namespace dl = formats::daily_list_line;
namespace dt = formats::daily_title;

int int_field(std::string_view line, formats::Field field) {
  return astro::trunc_to_int(formats::parse_decimal(formats::extract_field(line, field)));
}

float float_field(std::string_view line, formats::Field field) {
  return static_cast<float>(formats::parse_decimal(formats::extract_field(line, field)));
}

}  // namespace

NightDate night_date_from_title(std::string_view title) {
  const double year = formats::parse_decimal(formats::extract_field(title, dt::kYear));
  const int year_used =
      std::isnan(year)
          ? 0
          : astro::trunc_to_int(std::clamp<double>(year, kFirstTitleYear, kLastTitleYear));
  NightDate date;
  date.year = year_used;
  date.month = int_field(title, dt::kMonth);
  date.day = int_field(title, dt::kDay);
  return date;
}

bool title_year_in_range(std::string_view title) {
  const std::string field = formats::extract_field(title, dt::kYear);
  // parse_decimal reads a field without a number (NAN without a sign, a word) as 0:
  // the year must start with its digits.
  std::string_view digits(field);
  digits.remove_prefix(std::min(digits.find_first_not_of(' '), digits.size()));
  if (digits.starts_with('+') || digits.starts_with('-')) digits.remove_prefix(1);
  if (digits.starts_with('.')) digits.remove_prefix(1);
  if (digits.empty() || digits[0] < '0' || digits[0] > '9') return false;
  const double year = formats::parse_decimal(field);
  // Truncated toward zero, -999.5 is still -999: the bounds are one past the ends.
  return year > kFirstTitleYear - 1 && year < kLastTitleYear + 1;
}

std::string title_year_text(std::string_view title) {
  const std::string field = formats::extract_field(title, dt::kYear);
  const auto first = field.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

bool looks_like_calendar_date(const NightDate& date) {
  return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31;
}

float start_time_hours(int hour, int minute) { return astro::whole_and_minutes(hour, minute); }

PlanSite plan_site(const astro::ObservingSite& site) {
  return {site,
          astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, kNightPlanRadians)};
}

ListedMinimum read_listed_minimum(std::string_view line) {
  ListedMinimum m;
  m.time_hours = float_field(line, dl::kTime);
  const float ra_hour_part = float_field(line, dl::kRaH);
  const float ra_minute_part = float_field(line, dl::kRaM);
  m.ra_hours = astro::whole_and_minutes(ra_hour_part, ra_minute_part);
  const std::string dec_field = formats::extract_field(line, dl::kDecDeg);
  const float dec_degree_part = static_cast<float>(formats::parse_decimal(dec_field));
  const float dec_minute_part =
      astro::signed_declination_minutes(dec_field, float_field(line, dl::kDecMin));
  m.dec_degrees = astro::whole_and_minutes(dec_degree_part, dec_minute_part);
  return m;
}

float ra_radians(float ra_hours) {
  return astro::to_radians(ra_hours, astro::kHoursPerHalfTurn, kNightPlanRadians);
}

float dec_radians(float dec_degrees) {
  return astro::to_radians(dec_degrees, astro::kDegreesPerHalfTurn, kNightPlanRadians);
}

astro::HorizontalPosition position_at(const NightDate& date, float hours, const PlanSite& site,
                                      float ra, float dec) {
  const double mjd =
      astro::calendar_to_mjd(static_cast<float>(date.year), static_cast<float>(date.month),
                             static_cast<float>(date.day), hours, date.utc_offset_days);
  return astro::position_at(
      astro::star_at_site(site.degrees.longitude_deg, site.latitude_rad, ra, dec), mjd);
}

astro::HorizontalPosition OfDateSky::position(float hours, float ra_hours, float dec_degrees) {
  auto it = skies_.find(hours);
  if (it == skies_.end()) {
    const double mjd =
        astro::calendar_to_mjd(static_cast<float>(date_.year), static_cast<float>(date_.month),
                               static_cast<float>(date_.day), hours, date_.utc_offset_days);
    it = skies_
             .emplace(hours, astro::InstantSky(mjd + astro::kMjdZeroJd, site_.longitude_deg,
                                               site_.latitude_deg))
             .first;
  }
  const astro::InstantSky::Observed seen =
      it->second.observed(static_cast<double>(ra_hours) * (astro::kPi / 12),
                          static_cast<double>(dec_degrees) * (astro::kPi / 180));
  astro::HorizontalPosition out;
  out.azimuth = static_cast<float>(seen.azimuth_deg);
  out.altitude = static_cast<float>(seen.altitude_deg);
  out.horizon = out.altitude >= 0 ? 1 : -1;
  return out;
}

astro::HorizontalPosition star_position(const NightDate& date, float hours, const PlanSite& site,
                                        const ListedMinimum& minimum, OfDateSky* of_date) {
  if (of_date != nullptr) return of_date->position(hours, minimum.ra_hours, minimum.dec_degrees);
  return position_at(date, hours, site, ra_radians(minimum.ra_hours),
                     dec_radians(minimum.dec_degrees));
}

Verdict judge_minimum(const NightDate& date, float start_hours, bool south_only,
                      const PlanSite& site, const ListedMinimum& minimum, OfDateSky* of_date,
                      const astro::HorizonProfile* skyline) {
  if (!std::isfinite(minimum.time_hours) || !std::isfinite(minimum.ra_hours) ||
      !std::isfinite(minimum.dec_degrees)) {
    return Verdict::kNotANumber;
  }
  auto where = [&](float hours) { return star_position(date, hours, site, minimum, of_date); };
  const astro::HorizontalPosition at_start = where(start_hours);
  // Written as the conditions for keeping, so a value that is not a number drops.
  if (!(at_start.altitude > kLowestAltitudeDeg)) return Verdict::kLowAtStart;
  if (skyline != nullptr && !astro::above_horizon(*skyline, at_start)) {
    return Verdict::kBehindSkyline;
  }
  if (!lead_long_enough(start_hours, minimum.time_hours)) return Verdict::kTooSoon;
  if (!south_only) return Verdict::kKept;
  return in_south_sector(where(minimum.time_hours)) ? Verdict::kKept : Verdict::kOutsideSouth;
}

bool lead_long_enough(float start_hours, float minimum_hours) {
  const Ext lead = static_cast<Ext>(minimum_hours) - static_cast<Ext>(start_hours);
  return lead > kLeadTimeHours;
}

bool in_south_sector(const astro::HorizontalPosition& at_minimum) {
  return at_minimum.azimuth > kSouthSectorEastAzimuthDeg ||
         at_minimum.azimuth < kSouthSectorWestAzimuthDeg;
}

}  // namespace nightmark
