// The rows of the month's table against astropy (make_table_reference.py, committed in
// table_reference_values.txt): the run of the case folder csv_on_a_zone_of_date, every
// third row's instant, window ends, altitudes, azimuth, meridian, Sun, Moon and
// coverage computed there from the star.dat line alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/civil_clock.h"
#include "coverage.h"
#include "e2e.h"
#include "formats/catalogue.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "table_row.h"

namespace {

constexpr double kSecondsPerDay = 86400;

/// The reference's values of one minimum; NaN for unknown.
using Values = std::vector<double>;

std::map<std::string, Values> read_reference() {
  std::ifstream in(TABLE_REFERENCE);
  std::map<std::string, Values> reference;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string key, word;
    words >> key;
    std::replace(key.begin(), key.end(), '_', ' ');
    Values values;
    while (words >> word) values.push_back(word == "-" ? std::nan("") : std::stod(word));
    reference[key] = values;
  }
  return reference;
}

/// The most a quantity differs over the rows, with the row where it does.
struct Worst {
  double difference = 0;
  std::string where;
  void take(double ours, double theirs, const std::string& key) {
    if (std::isnan(theirs)) return;
    const double d = std::abs(ours - theirs);
    if (!(d <= difference)) {
      difference = d;
      where = key;
    }
  }
};

TEST(TableRowReference, AgreesWithAstropy) {
  const std::map<std::string, Values> reference = read_reference();
  ASSERT_GT(reference.size(), 50u);
  // The case's run: Greenwich, December 2026 on Europe/London's clock, of date, 20 deg.
  eclfore::ForecastRequest request;
  request.year = 2026;
  request.month = 12;
  request.min_altitude_deg = 20;
  request.site = {-0.13f, 51.48f};
  request.sky_options.of_date = true;
  const std::optional<astro::CivilClock> clock = astro::CivilClock::zone("Europe/London");
  ASSERT_TRUE(clock);
  const eclfore::SearchWindow window = eclfore::search_window(2026, 12, *clock);
  eclfore::RulesByScale rules(request, window, *clock);
  const astro::ObservingConditions sky = eclfore::row_sky(window, request.site);
  std::istringstream catalogue(e2e::read_file(std::filesystem::path(E2E_CASES_DIR) /
                                              "eclfore/csv_on_a_zone_of_date/in/star.dat"));
  Worst minimum, window_ends, altitude, azimuth, meridian, sun, moon_altitude, moon_distance,
      illumination, coverage;
  std::size_t compared = 0;
  std::string line;
  while (std::getline(catalogue, line)) {
    const formats::StarRecord star = formats::parse_star_record(line);
    const eclfore::ListingRule& rule = rules.for_star(star).rule;
    const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
    const formats::IcrsPosition icrs = formats::icrs_position(star);
    const astro::StarPlace place = sky.star(icrs.ra_rad, icrs.dec_rad);
    eclfore::search_minima(star, window, rule, [&](const eclfore::ForecastMinimum& m) {
      const formats::MinimumTableRow row =
          eclfore::table_row(m, s, window, rule, *clock, sky, place);
      std::string name = row.name;
      name.erase(name.find_last_not_of(' ') + 1);
      const std::string key =
          name + "|" + (row.secondary ? "secondary" : "primary") + "|" + row.cycle;
      const auto found = reference.find(key);
      if (found == reference.end()) return;
      const Values& r = found->second;
      ++compared;
      minimum.take(row.minimum_jd * kSecondsPerDay, r[0] * kSecondsPerDay, key);
      if (row.start_jd) {
        window_ends.take(*row.start_jd * kSecondsPerDay, r[1] * kSecondsPerDay, key);
        window_ends.take(*row.end_jd * kSecondsPerDay, r[2] * kSecondsPerDay, key);
        altitude.take(*row.alt_start_deg, r[3], key);
        altitude.take(*row.alt_end_deg, r[5], key);
        sun.take(*row.sun_alt_start_deg, r[8], key);
        sun.take(*row.sun_alt_end_deg, r[9], key);
        const eclfore::EclipseExtent extent =
            eclfore::eclipse_extent(star, m.kind, m.candidate_mjd);
        coverage.take(*eclfore::window_share_pct(s, window, rule, extent, m.minimum_jd, 0), r[13],
                      key);
      }
      altitude.take(row.alt_minimum_deg, r[4], key);
      azimuth.take(row.az_minimum_deg, r[6], key);
      meridian.take(row.meridian_jd * kSecondsPerDay, r[7] * kSecondsPerDay, key);
      moon_altitude.take(row.moon_alt_deg, r[10], key);
      moon_distance.take(row.moon_distance_deg, r[11], key);
      illumination.take(row.moon_illumination_pct, r[12], key);
    });
  }
  EXPECT_EQ(compared, reference.size());
  // Each tolerance, and beside it the largest difference measured over the rows.
  EXPECT_LT(minimum.difference, 1) << minimum.where;          // 1 s; measured 0.0001 s
  EXPECT_LT(window_ends.difference, 1) << window_ends.where;  // 1 s; measured 0.0001 s
  EXPECT_LT(altitude.difference, 0.01) << altitude.where;     // 0.01 deg; measured 0.00008 deg
  EXPECT_LT(azimuth.difference, 0.01) << azimuth.where;       // 0.01 deg; measured 0.0009 deg
  EXPECT_LT(meridian.difference, 1) << meridian.where;        // 1 s; measured 0.03 s
  EXPECT_LT(sun.difference, 0.01) << sun.where;               // 0.01 deg; measured 0.0002 deg
  EXPECT_LT(moon_altitude.difference, 0.01)
      << moon_altitude.where;  // 0.01 deg; measured 0.0003 deg
  EXPECT_LT(moon_distance.difference, 0.01)
      << moon_distance.where;                                     // 0.01 deg; measured 0.0003 deg
  EXPECT_LT(illumination.difference, 0.1) << illumination.where;  // 0.1 pp; measured 0.0002 pp
  EXPECT_LT(coverage.difference, 1) << coverage.where;  // 1 percentage point; measured 0.24
}

}  // namespace
