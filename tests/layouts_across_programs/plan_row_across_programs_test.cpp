// A night plan's table row is the forecast's table row of the same minimum: the star.dat
// of the case folder csv_and_ics_whole_eclipse (durations, secondary phases, errors,
// time scales), every minimum eclfore lists in December 2026 from Tokyo on JST, handed
// to nightmark as a plan line with eclfore's instant. The coverage is left out: each
// program judges it by its own rule (eclfore's listing rule over the month's nights,
// nightmark's from the start time on).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "astro/civil_clock.h"
#include "e2e.h"
#include "formats/catalogue.h"
#include "formats/minimum_table.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "plan_table.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "table_row.h"

namespace {

/// The row's text with the coverage left blank.
std::string without_coverage(formats::MinimumTableRow row) {
  row.coverage_pct.reset();
  return formats::minimum_table_row(row);
}

/// Compares every listed minimum's two rows; returns how many were compared.
int compare_rows(bool of_date) {
  eclfore::ForecastRequest request;
  request.year = 2026;
  request.month = 12;
  request.min_altitude_deg = 20;
  request.site = {139.77f, 35.67f};
  request.sky_options.of_date = of_date;
  const astro::CivilClock clock;
  const eclfore::SearchWindow window = eclfore::search_window(2026, 12, clock);
  eclfore::RulesByScale rules(request, window, clock);
  const astro::ObservingConditions sky = eclfore::row_sky(window, request.site);
  std::istringstream text(e2e::read_file(std::filesystem::path(E2E_CASES_DIR) /
                                         "eclfore/csv_and_ics_whole_eclipse/in/star.dat"));
  std::vector<formats::StarRecord> stars;
  std::map<std::string, formats::StarRecord> catalogue;
  for (std::string line; std::getline(text, line);) {
    if (formats::unusable_star_line(line)) continue;
    stars.push_back(formats::parse_star_record(line));
    formats::StarRecord named = stars.back();
    named.name.erase(named.name.find_last_not_of(' ') + 1);
    catalogue.try_emplace(named.name, named);
  }
  // The plan lines of each night, beside the forecast's rows of their minima.
  struct Night {
    std::vector<nightmark::PlanEntry> entries;
    std::vector<std::string> forecast_rows;
  };
  std::map<std::tuple<int, int, int>, Night> nights;
  for (const formats::StarRecord& star : stars) {
    const eclfore::ListingRule& rule = rules.for_star(star).rule;
    const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
    const formats::IcrsPosition icrs = formats::icrs_position(star);
    const astro::StarPlace place = sky.star(icrs.ra_rad, icrs.dec_rad);
    eclfore::search_minima(star, window, rule, [&](const eclfore::ForecastMinimum& m) {
      nightmark::PlanEntry entry;
      entry.name = catalogue.find(std::string(formats::without_trailing_blanks(star.name)))->first;
      entry.kind = m.kind == eclfore::MinimumKind::kSecondary ? 's' : 'p';
      entry.minimum_jd = m.minimum_jd;
      entry.listed = {static_cast<float>(m.night.hour + m.night.minute / 60.0), star.ra_hours,
                      star.dec_degrees};
      entry.position = {star.ra_hours, star.dec_degrees};
      Night& night = nights[{m.night.year, m.night.month, m.night.day}];
      night.entries.push_back(entry);
      night.forecast_rows.push_back(
          without_coverage(eclfore::table_row(m, s, window, rule, clock, sky, place)));
    });
  }
  int compared = 0;
  for (const auto& [day, night] : nights) {
    nightmark::NightDate date;
    date.year = std::get<0>(day);
    date.month = std::get<1>(day);
    date.day = std::get<2>(day);
    const std::vector<nightmark::PlanRow> rows =
        nightmark::plan_rows(night.entries, date, 18.0f,
                             {request.site, of_date, nullptr, astro::kJstOffsetDays}, catalogue);
    EXPECT_EQ(rows.size(), night.entries.size());
    for (std::size_t i = 0; i < rows.size() && i < night.forecast_rows.size(); ++i) {
      EXPECT_EQ(without_coverage(rows[i].row), night.forecast_rows[i]);
      ++compared;
    }
  }
  return compared;
}

TEST(PlanRowAcrossPrograms, PlanLineRowIsTheForecastRowOfItsMinimum) {
  EXPECT_GT(compare_rows(false), 100);
}

TEST(PlanRowAcrossPrograms, PlanLineRowIsTheForecastRowOfItsMinimumOfDate) {
  EXPECT_GT(compare_rows(true), 100);
}

}  // namespace
