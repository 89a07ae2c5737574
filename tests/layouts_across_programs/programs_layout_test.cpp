// The built programs' own files read back by the readers' columns: eclfore's
// forecast of the sample catalogue gives each record's values, and datesel's daily
// list carries the forecast texts into the columns nightmark reads.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "astro/ephemeris.h"
#include "e2e.h"
#include "formats/catalogue.h"
#include "formats/layouts.h"
#include "formats/records.h"

namespace {

namespace fl = formats::forecast_line;
namespace dl = formats::daily_list_line;

double number(std::string_view line, formats::Field field) {
  return formats::parse_decimal(formats::extract_field(line, field));
}

/// The lines of a CR LF file without their line ends.
std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(line.ends_with('\r')) << line;
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

/// Checks one ForecastLine of the October 2006 forecast against its star's record.
void expect_forecast_of(const std::string& line, const formats::StarRecord& star) {
  SCOPED_TRACE(line);
  ASSERT_EQ(line.size(), static_cast<std::size_t>(fl::kLineChars));
  EXPECT_EQ(formats::extract_field(line, fl::kCatalogue), star.catalogue);
  EXPECT_EQ(formats::extract_field(line, fl::kVarType), star.var_type);
  EXPECT_EQ(formats::extract_field(line, fl::kElements), star.elements_text);
  EXPECT_EQ(number(line, fl::kYear), 2006);
  EXPECT_EQ(number(line, fl::kMonth), 10);
  const std::string kind = formats::extract_field(line, fl::kKind);
  ASSERT_TRUE(kind == "p" || kind == "s");

  // The instant is a minimum of the star's elements: the Julian Date, rounded to
  // 1e-4 day and taken into the time scale of the star's line, lies within 1e-4 day of
  // a whole cycle (p) or of the phase of the secondary minimum (s).
  const double jd = number(line, fl::kJd);
  const formats::IcrsPosition icrs = formats::icrs_position(star);
  const double scale_jd = astro::epoch_jd_of(
      jd, formats::epoch_scale_of(star, astro::EpochScale::kJd), icrs.ra_rad, icrs.dec_rad);
  const double cycles = (scale_jd - (star.epoch_mjd + astro::kMjdZeroJd)) / star.period;
  const double phase = cycles - std::floor(cycles);
  const double secondary_phase =
      star.extension.secondary_phase.value_or(formats::kDefaultSecondaryPhase);
  const double off_days =
      std::fabs((kind == "p" ? std::remainder(phase, 1.0) : phase - secondary_phase) * star.period);
  EXPECT_LT(off_days, 1e-4) << "phase " << phase;

  // The night hour is the JST clock time of that instant, after midnight from 24:
  // within half a minute of rounding, the hundredths and the Julian Date's rounding.
  const double jst_hours = std::fmod(jd + 0.5 + 9.0 / 24, 1.0) * 24;
  const double night_hours = jst_hours < 6 ? jst_hours + 24 : jst_hours;
  EXPECT_NEAR(number(line, fl::kHour), night_hours, 0.015);
  EXPECT_GE(number(line, fl::kHour), 18.0);
  EXPECT_LT(number(line, fl::kHour), 30.0);
  EXPECT_GE(number(line, fl::kAltitude), 20.0);
  EXPECT_LE(number(line, fl::kAltitude), 90.0);

  EXPECT_EQ(number(line, fl::kRaH), star.ra_hour_part);
  EXPECT_EQ(number(line, fl::kRaM), star.ra_minute_part);
  EXPECT_EQ(number(line, fl::kRaS), star.ra_second_part);
  EXPECT_EQ(number(line, fl::kDecDeg), star.dec_degree_part);
  EXPECT_EQ(number(line, fl::kDecMin), std::trunc(std::fabs(star.dec_minute_part)));
  EXPECT_EQ(static_cast<float>(number(line, fl::kMagMax)), star.mag_max);
  EXPECT_EQ(static_cast<float>(number(line, fl::kMagMin)), star.mag_min);
}

TEST(ProgramsLayout, ForecastOfTheSampleCatalogueReadsBackAsItsRecords) {
  e2e::TempDir dir;
  const std::string catalogue = e2e::read_file(std::string(EXAMPLES_DIR) + "/star.dat");
  dir.write("star.dat", catalogue);
  dir.write("condition.dat", e2e::read_file(std::string(EXAMPLES_DIR) + "/condition.dat"));
  std::map<std::string, formats::StarRecord> stars;
  std::istringstream in(catalogue);
  for (std::string line; std::getline(in, line);) {
    if (line.ends_with('\r')) line.pop_back();
    const formats::StarRecord star = formats::parse_star_record(line);
    stars.emplace(star.name, star);
  }
  ASSERT_GT(stars.size(), 20u);

  // October 2006, 20 degrees and up, Tokyo, the condition that selects every star.
  const e2e::RunResult forecast_run = e2e::run(ECLFORE_BIN, dir.path(), "2006\n10\n20\n3\n2\n");
  ASSERT_EQ(forecast_run.exit_code, 0) << forecast_run.err;
  const std::vector<std::string> forecast = crlf_lines(dir.read("data.dat"));
  ASSERT_GT(forecast.size(), 100u);
  std::map<std::string, int> kinds;
  for (const std::string& line : forecast) {
    const auto star = stars.find(formats::extract_field(line, fl::kName));
    ASSERT_NE(star, stars.end()) << line;
    expect_forecast_of(line, star->second);
    ++kinds[formats::extract_field(line, fl::kKind)];
  }
  EXPECT_GT(kinds["p"], 0);
  EXPECT_GT(kinds["s"], 0);

  // datesel on the unsorted list as data.sot: the day's lines in file order.
  const std::string day_text = formats::extract_field(forecast.front(), fl::kDay);
  const int day = static_cast<int>(number(day_text, {0, 2}));
  dir.write("data.sot", dir.read("data.dat"));
  const e2e::RunResult daily_run =
      e2e::run(DATESEL_BIN, dir.path(), std::to_string(day) + "\n99\n");
  ASSERT_EQ(daily_run.exit_code, 0) << daily_run.err;
  const std::vector<std::string> daily = crlf_lines(dir.read("obsday.dat"));
  ASSERT_GE(daily.size(), 3u);
  EXPECT_EQ(number(daily[0], formats::daily_title::kYear), 2006);
  EXPECT_EQ(number(daily[0], formats::daily_title::kMonth), 10);
  EXPECT_EQ(number(daily[0], formats::daily_title::kDay), day);
  std::size_t next = 2;
  for (const std::string& line : forecast) {
    if (formats::extract_field(line, fl::kDay) != day_text) continue;
    ASSERT_LT(next, daily.size());
    const std::string& listed = daily[next++];
    SCOPED_TRACE(listed);
    EXPECT_EQ(listed.size(), static_cast<std::size_t>(dl::kLineChars));
    EXPECT_EQ(formats::extract_field(listed, dl::kNameToKind),
              formats::extract_field(line, fl::kNameToKind));
    EXPECT_EQ(formats::extract_field(listed, dl::kTime), formats::extract_field(line, fl::kHour));
    EXPECT_EQ(formats::extract_field(listed, dl::kRaH), formats::extract_field(line, fl::kRaH));
    EXPECT_EQ(formats::extract_field(listed, dl::kRaM), formats::extract_field(line, fl::kRaM));
    EXPECT_EQ(formats::extract_field(listed, dl::kDecDeg),
              formats::extract_field(line, fl::kDecDeg));
    EXPECT_EQ(formats::extract_field(listed, dl::kDecMin),
              formats::extract_field(line, fl::kDecMin));
    EXPECT_EQ(formats::extract_field(listed, dl::kForecastJd),
              formats::extract_field(line, fl::kJd));
  }
  EXPECT_EQ(next, daily.size());
}

}  // namespace
