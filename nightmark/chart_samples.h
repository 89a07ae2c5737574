#pragma once
/// The altitude chart's samples of a night plan: the time axis from sunset to
/// sunrise at the site, the Sun, the Moon and every star of the plan.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "astro/horizon_profile.h"
#include "astro/sites.h"
#include "chart_svg.h"
#include "eclipse_window.h"
#include "night_filter.h"
#include "plan_entry.h"

namespace nightmark {

/// Hours between the chart's samples (six minutes).
inline constexpr double kChartStepHours = 0.1;

/// Julian Date (UT) of `hours` on the night's date and clock, as the plan filter forms it
/// (hours of 24 or more run on into the next day).
double night_jd(const NightDate& date, float hours);

/// Sunset and the next sunrise at the site, decimal hours of the night's clock: where the
/// Sun's centre stands at kSunsetAltitudeDeg. Where the Sun does not set through it
/// between noon and midnight JST (or rise between midnight and noon), as at a site far
/// from Japan, 18 (or 30) stands in.
struct SunsetSunrise {
  double sunset_hours = 0;   ///< about 16.5 to 19 at the built-in site
  double sunrise_hours = 0;  ///< about 28.4 to 30.9
};
SunsetSunrise sunset_sunrise(const NightDate& date, const astro::ObservingSite& site);

/// The end of civil twilight in the evening at the site, JST decimal hours of the night
/// to about a second: where the Sun's centre sets through astro::kCivilTwilightDeg
/// between noon and midnight. Nothing where it does not (a summer night far north).
std::optional<double> civil_dusk_hours(const NightDate& date, const astro::ObservingSite& site);

/// The axis ends, whole hours: sunset to sunrise, widened to the start time and to an
/// hour after the last minimum, within 12 and 36 (noon to noon).
struct AxisHours {
  double first = 0;
  double last = 0;
};
AxisHours axis_hours(const SunsetSunrise& sun, float start_hours,
                     const std::vector<PlanEntry>& plan);

/// The chart's samples at `site`, every kChartStepHours along the axis. Star altitudes
/// come from the toolset's own horizon formulas with the position of the plan line, as
/// the plan filter computes them; with `of_date`, from the star's J2000 position
/// (catalogue or plan) taken to the observed place of date. The title names the
/// night's clock (`clock_name`, as on the time axis) and the site: its place name when
/// it has one, and its longitude and latitude. With `skyline` (--horizon; null: none)
/// each sample of a star says whether the skyline hides it, read at the azimuth of the
/// toolset's own formulas (with `of_date` too). A minimum's thick stretch is its eclipse
/// window where `elements` (star.dat's lines by name; null: none) give the star a
/// duration, one hour either side otherwise; labels give the time as the clock reads.
ChartSamples chart_samples(const std::vector<PlanEntry>& plan, const NightDate& date,
                           float start_hours, bool of_date, const astro::NamedSite& site,
                           const astro::HorizonProfile* skyline = nullptr,
                           std::string_view clock_name = "JST",
                           const std::map<std::string, StarElements>* elements = nullptr);

/// The site as the chart's title names it: "okinawa, 127.68° E, 26.22° N", or without
/// a name "0.13° W, 51.48° N"; the degrees as the shortest text of their float.
std::string site_title_text(const astro::NamedSite& site);

}  // namespace nightmark
