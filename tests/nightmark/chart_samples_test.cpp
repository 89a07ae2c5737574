#include "chart_samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "astro/ephemeris.h"
#include "astro/sites.h"
#include "e2e.h"
#include "svg_check.h"
#include "worked_plan.h"

namespace nightmark {
namespace {

using testing_plan::four_stars;
using testing_plan::kMarch5;
using testing_svg::expect_well_formed;

/// The site of a run without --site.
constexpr astro::NamedSite kBuiltIn{"", astro::kBuiltInSite};

TEST(ChartAxis, SunsetAndSunriseAtTheSite) {
  struct Case {
    NightDate date;
    double sunset, sunrise;  // JST hours; hand reckoning from the equation of time and
                             // the Sun's declination agrees within a minute
  } cases[] = {
      {kMarch5, 17.65, 30.09}, {{2026, 6, 21}, 19.00, 28.43}, {{2026, 12, 21}, 16.52, 30.78}};
  for (const Case& c : cases) {
    const SunsetSunrise sun = sunset_sunrise(c.date, astro::kBuiltInSite);
    EXPECT_NEAR(sun.sunset_hours, c.sunset, 1.0 / 60) << c.date.month;
    EXPECT_NEAR(sun.sunrise_hours, c.sunrise, 1.0 / 60) << c.date.month;
    for (const double h : {sun.sunset_hours, sun.sunrise_hours}) {
      const double altitude = astro::sun_altitude_deg(night_jd(c.date, static_cast<float>(h)),
                                                      astro::kBuiltInSite.longitude_deg,
                                                      astro::kBuiltInSite.latitude_deg);
      EXPECT_NEAR(altitude, kSunsetAltitudeDeg, 0.01);  // a second of time is 0.004 deg
    }
  }
}

// astropy's end of civil twilight (tests/nightmark/make_dusk_reference.py, no refraction).
// Tolerance 2 s: ERFA's Sun and astropy's agree to well under a second of time; the
// search stops within a second. Measured: at most 0.31 s apart (2026-01-18, Tokyo).
TEST(CivilDusk, AsAstropyHasIt) {
  struct Case {
    NightDate date;
    astro::ObservingSite site;
    double dusk_hours;  // JST
  } cases[] = {{kMarch5, astro::kBuiltInSite, 18.07824},
               {{2026, 1, 18}, astro::kBuiltInSite, 17.35180},
               {{2026, 6, 21}, astro::kBuiltInSite, 19.50079},
               {{2026, 6, 21}, astro::kSiteTable[10].site, 19.84507}};
  for (const Case& c : cases) {
    const std::optional<double> dusk = civil_dusk_hours(c.date, c.site);
    ASSERT_TRUE(dusk.has_value()) << c.date.month;
    EXPECT_NEAR(*dusk, c.dusk_hours, 2.0 / 3600) << c.date.month;
  }
}

// Under the midnight sun the Sun stays above -6 degrees all evening: no dusk.
TEST(CivilDusk, NoneWhereTheSunStaysUp) {
  EXPECT_FALSE(civil_dusk_hours({2026, 6, 21}, {139.77f, 70.0f}).has_value());
  EXPECT_TRUE(civil_dusk_hours({2026, 12, 21}, {139.77f, 70.0f}).has_value());
}

// Twelve hours of longitude from Japan the Sun rises in the evening's hours of JST: that
// crossing is no sunset, and the chart's usual night stands in rather than the day.
TEST(ChartAxis, FarFromJapanTheUsualNightStandsIn) {
  const SunsetSunrise london = sunset_sunrise(kMarch5, {-0.13f, 51.48f});
  EXPECT_EQ(london.sunset_hours, 18);
  EXPECT_EQ(london.sunrise_hours, 30);
  const SunsetSunrise okinawa = sunset_sunrise(kMarch5, astro::kSiteTable[10].site);
  EXPECT_GT(okinawa.sunset_hours, sunset_sunrise(kMarch5, astro::kBuiltInSite).sunset_hours);
}

TEST(ChartSite, TitleNamesThePlaceAndItsDegrees) {
  EXPECT_EQ(site_title_text(kBuiltIn), "139.77\xC2\xB0 E, 35.67\xC2\xB0 N");
  EXPECT_EQ(site_title_text(astro::kSiteTable[10]), "okinawa, 127.68\xC2\xB0 E, 26.22\xC2\xB0 N");
  EXPECT_EQ(site_title_text({"", {-0.13f, 51.48f}}), "0.13\xC2\xB0 W, 51.48\xC2\xB0 N");
  EXPECT_EQ(site_title_text({"", {-70.4f, -24.6f}}), "70.4\xC2\xB0 W, 24.6\xC2\xB0 S");
  EXPECT_EQ(site_title_text({"", {-0.0f, 0.0f}}), "0\xC2\xB0 E, 0\xC2\xB0 N");
  EXPECT_EQ(site_title_text({"", {350.0f, 90.0f}}), "350\xC2\xB0 E, 90\xC2\xB0 N");
}

TEST(ChartAxis, WholeHoursWidenedForThePlan) {
  const SunsetSunrise sun{17.65, 30.09};
  std::vector<PlanEntry> plan = four_stars();
  EXPECT_EQ(axis_hours(sun, 20.0f, plan).first, 17);
  EXPECT_EQ(axis_hours(sun, 20.0f, plan).last, 31);
  EXPECT_EQ(axis_hours(sun, 16.5f, plan).first, 16);  // the start before sunset
  EXPECT_EQ(axis_hours(sun, 1.0f, plan).first, 17);   // the morning before: not widened
  plan[0].listed.time_hours = 30.5f;                  // an hour after the last minimum
  EXPECT_EQ(axis_hours(sun, 20.0f, plan).last, 32);
  plan[0].listed.time_hours = 40;
  EXPECT_EQ(axis_hours(sun, 20.0f, plan).last, 31);
  plan[0].listed.time_hours = NAN;
  EXPECT_EQ(axis_hours(sun, 20.0f, plan).last, 31);
  EXPECT_EQ(axis_hours(sun, 20.0f, {}).first, 17);
}

TEST(ChartSamples, StarsOfThePlanOnTheFiltersFormulas) {
  std::vector<PlanEntry> plan = four_stars();
  plan.push_back(plan[0]);  // ZZ Ori again, at another minimum
  plan.back().kind = 's';
  plan.back().listed.time_hours = 27.5f;
  plan.back().time_text = "27.50";
  const ChartSamples s = chart_samples(plan, kMarch5, 20.0f, false, kBuiltIn);
  ASSERT_EQ(s.hours.size(), 141u);  // 17 to 31 every tenth of an hour
  EXPECT_EQ(s.hours.front(), 17);
  EXPECT_NEAR(s.hours.back(), 31, 1e-5);
  ASSERT_EQ(s.stars.size(), 4u) << "one curve per star";
  EXPECT_EQ(s.stars[0].name, "ZZ Ori");
  ASSERT_EQ(s.stars[0].minima.size(), 2u);
  EXPECT_TRUE(s.stars[0].minima[0].primary);
  EXPECT_FALSE(s.stars[0].minima[1].primary);
  EXPECT_EQ(s.stars[0].minima[0].label, "ZZ Ori 21:30");
  EXPECT_EQ(s.stars[0].minima[1].label, "ZZ Ori 03:30") << "as the clock reads";
  // The worked example's altitudes: ZZ Ori 58.5 at 20:00, UU Lib 27.5 at its minimum.
  EXPECT_NEAR(s.stars[0].altitude_deg[30], 58.5, 0.05);
  EXPECT_NEAR(s.stars[3].minima[0].altitude_deg, 27.5, 0.05);
  EXPECT_EQ(
      s.stars[1].minima[0].altitude_deg,
      position_at(kMarch5, 22.0f, plan_site(astro::kBuiltInSite),
                  ra_radians(plan[1].listed.ra_hours), dec_radians(plan[1].listed.dec_degrees))
          .altitude);
  EXPECT_GT(s.moon_illuminated_fraction, 0.3);  // 6 days after new Moon (28 February)
  EXPECT_LT(s.moon_illuminated_fraction, 0.45);
}

TEST(ChartSamples, OfDateAltitudesFromTheJ2000Position) {
  const std::vector<PlanEntry> plan = four_stars();
  const ChartSamples mean = chart_samples(plan, kMarch5, 20.0f, false, kBuiltIn);
  const ChartSamples of_date = chart_samples(plan, kMarch5, 20.0f, true, kBuiltIn);
  for (std::size_t k = 0; k < plan.size(); ++k) {
    for (std::size_t i = 0; i < mean.hours.size(); i += 10) {
      // Six years of precession and the aberration move a star by minutes of arc;
      // the toolset's five-decimal pi and float sidereal time by less.
      EXPECT_NEAR(of_date.stars[k].altitude_deg[i], mean.stars[k].altitude_deg[i], 0.2);
    }
  }
}

TEST(ChartSamples, WorkedExampleChartAsRecorded) {
  const std::string svg = chart_svg(chart_samples(four_stars(), kMarch5, 20.0f, false, kBuiltIn));
  expect_well_formed(svg, "worked example chart");
  EXPECT_EQ(svg, e2e::read_file(std::string(NIGHTMARK_GOLDEN_DIR) + "/obsday3.svg"));
}

TEST(ChartSamples, EmptyPlanChart) {
  const ChartSamples s = chart_samples({}, kMarch5, 20.0f, false, kBuiltIn);
  EXPECT_TRUE(s.stars.empty());
  EXPECT_EQ(s.hours.front(), 17);
  const std::string svg = chart_svg(s);
  expect_well_formed(svg, "empty plan chart");
  EXPECT_NE(svg.find("no minima in the plan"), std::string::npos);
  EXPECT_NE(svg.find("id=\"moon\""), std::string::npos);
}

}  // namespace
}  // namespace nightmark
