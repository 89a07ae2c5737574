#include "chart_samples.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <fmt/format.h>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "astro/numeric.h"
#include "exports.h"
#include "formats/records.h"

namespace nightmark {
namespace {

constexpr double kNoonHours = 12;
constexpr double kMidnightHours = 24;
constexpr double kNextNoonHours = 36;
/// How long the chart runs on after the last minimum, hours.
constexpr double kAfterLastMinimumHours = 1;
/// Sunset and sunrise to about a second.
constexpr double kSunSearchToleranceHours = 1.0 / 3600;
/// The plan's altitude limit at the start time, degrees.
constexpr double kPlanAltitudeLimitDeg = 10;

double sun_altitude_at(const NightDate& date, const astro::ObservingSite& site, double hours) {
  return astro::sun_altitude_deg(night_jd(date, static_cast<float>(hours)), site.longitude_deg,
                                 site.latitude_deg);
}

/// The hour in [from, to] where the Sun sets (or rises, `rising`) through `altitude_deg`,
/// by bisection. Near Japan the Sun's altitude is monotonic from noon to midnight and
/// from midnight to noon JST; far from it a crossing the other way (a sunrise in the
/// evening's hours) is none, and so is one where the Sun stays on one side.
std::optional<double> sun_crossing(const NightDate& date, const astro::ObservingSite& site,
                                   double from, double to, bool rising, double altitude_deg) {
  const double at_from = sun_altitude_at(date, site, from) - altitude_deg;
  const double at_to = sun_altitude_at(date, site, to) - altitude_deg;
  if (!(at_from * at_to < 0) || (at_from < 0) != rising) return std::nullopt;
  while (to - from > kSunSearchToleranceHours) {
    const double mid = (from + to) / 2;
    const bool above = sun_altitude_at(date, site, mid) > altitude_deg;
    if (above != rising) {
      from = mid;
    } else {
      to = mid;
    }
  }
  return (from + to) / 2;
}

double degrees_to_radians(double degrees) { return degrees * (astro::kPi / 180); }

}  // namespace

double night_jd(const NightDate& date, float hours) {
  return astro::calendar_to_mjd(static_cast<float>(date.year), static_cast<float>(date.month),
                                static_cast<float>(date.day), hours, date.utc_offset_days) +
         astro::kMjdZeroJd;
}

SunsetSunrise sunset_sunrise(const NightDate& date, const astro::ObservingSite& site) {
  constexpr double kUsualSunsetHours = 18;
  constexpr double kUsualSunriseHours = 30;
  return {sun_crossing(date, site, kNoonHours, kMidnightHours, false, kSunsetAltitudeDeg)
              .value_or(kUsualSunsetHours),
          sun_crossing(date, site, kMidnightHours, kNextNoonHours, true, kSunsetAltitudeDeg)
              .value_or(kUsualSunriseHours)};
}

std::optional<double> civil_dusk_hours(const NightDate& date, const astro::ObservingSite& site) {
  return sun_crossing(date, site, kNoonHours, kMidnightHours, false, astro::kCivilTwilightDeg);
}

AxisHours axis_hours(const SunsetSunrise& sun, float start_hours,
                     const std::vector<PlanEntry>& plan) {
  double first = sun.sunset_hours;
  double last = sun.sunrise_hours;
  const double start = start_hours;
  if (start >= kNoonHours && start <= kNextNoonHours) {
    first = std::min(first, start);
    last = std::max(last, start);
  }
  for (const PlanEntry& e : plan) {
    const double t = e.listed.time_hours;
    if (t >= kNoonHours && t <= kNextNoonHours) {
      first = std::min(first, t);
      last = std::max(last, t + kAfterLastMinimumHours);
    }
  }
  return {std::max(kNoonHours, std::floor(first)), std::min(kNextNoonHours, std::ceil(last))};
}

std::string site_title_text(const astro::NamedSite& site) {
  const float longitude = site.site.longitude_deg;
  const float latitude = site.site.latitude_deg;
  // West and south as words, so that no minus sign stands beside them.
  std::string text =
      fmt::format("{}\xC2\xB0 {}, {}\xC2\xB0 {}", std::fabs(longitude), longitude < 0 ? 'W' : 'E',
                  std::fabs(latitude), latitude < 0 ? 'S' : 'N');
  if (!site.name.empty()) text = fmt::format("{}, {}", site.name, text);
  return text;
}

ChartSamples chart_samples(const std::vector<PlanEntry>& plan, const NightDate& date,
                           float start_hours, bool of_date, const astro::NamedSite& site,
                           const astro::HorizonProfile* skyline, std::string_view clock_name,
                           const std::map<std::string, StarElements>* elements) {
  const double longitude_deg = site.site.longitude_deg;
  const double latitude_deg = site.site.latitude_deg;
  ChartSamples s;
  s.title = fmt::format("EB minima, night of {} ({}), site {}", iso_date(date), clock_name,
                        site_title_text(site));
  s.clock_name = clock_name;
  s.start_hours = start_hours;
  s.altitude_limit_deg = kPlanAltitudeLimitDeg;
  const AxisHours axis = axis_hours(sunset_sunrise(date, site.site), start_hours, plan);
  const int steps = astro::trunc_to_int((axis.last - axis.first) / kChartStepHours + 0.5);
  std::vector<float> hours;  // the filter's single-precision clock times
  for (int i = 0; i <= steps; ++i) {
    hours.push_back(static_cast<float>(axis.first + i * kChartStepHours));
    s.hours.push_back(hours.back());
    const double jd = night_jd(date, hours.back());
    s.sun_altitude_deg.push_back(astro::sun_altitude_deg(jd, longitude_deg, latitude_deg));
    s.moon_altitude_deg.push_back(astro::moon_altitude_deg(jd, longitude_deg, latitude_deg));
  }
  s.moon_illuminated_fraction =
      astro::moon_illuminated_fraction(night_jd(date, static_cast<float>(kMidnightHours)));

  const PlanSite plan_place = plan_site(site.site);
  for (const PlanEntry& e : plan) {
    auto altitude_at = [&](float t) -> double {
      if (of_date) {
        return astro::star_altitude_of_date_deg(night_jd(date, t), longitude_deg, latitude_deg,
                                                degrees_to_radians(e.position.ra_hours * 15),
                                                degrees_to_radians(e.position.dec_degrees));
      }
      return position_at(date, t, plan_place, ra_radians(e.listed.ra_hours),
                         dec_radians(e.listed.dec_degrees))
          .altitude;
    };
    auto star = std::find_if(s.stars.begin(), s.stars.end(),
                             [&](const ChartStar& c) { return c.name == e.name; });
    if (star == s.stars.end()) {
      ChartStar added;
      added.name = e.name;
      for (const float t : hours) added.altitude_deg.push_back(altitude_at(t));
      if (skyline != nullptr) {
        for (std::size_t i = 0; i < hours.size(); ++i) {
          astro::HorizontalPosition seen =
              position_at(date, hours[i], plan_place, ra_radians(e.listed.ra_hours),
                          dec_radians(e.listed.dec_degrees));
          seen.altitude = static_cast<float>(added.altitude_deg[i]);
          added.behind_skyline.push_back(astro::above_horizon(*skyline, seen) ? 0 : 1);
        }
      }
      s.stars.push_back(std::move(added));
      star = s.stars.end() - 1;
    }
    const std::string time = clock_reading_text(formats::parse_decimal(e.time_text));
    const StarElements* found = nullptr;
    if (elements != nullptr) {
      const auto it = elements->find(e.name);
      if (it != elements->end()) found = &it->second;
    }
    const EclipseWindow window = eclipse_window(found, e.kind, e.minimum_jd);
    star->minima.push_back({e.kind != 's', e.listed.time_hours, altitude_at(e.listed.time_hours),
                            e.name + " " + time, time, window.half_hours, window.from_duration,
                            // Beyond the hour that stands in for an unknown window, none.
                            window.from_duration ? window.uncertainty_hours.value_or(0) : 0});
  }
  return s;
}

}  // namespace nightmark
