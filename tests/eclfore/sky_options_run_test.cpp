// eclfore with the options for today's sky, run on the sample catalogue for June 2026
// at Tokyo, each listed minimum checked against the exact ephemeris routines. The bad
// values of the options are case folders (tests/e2e/eclfore: sun_below_91, ...).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "astro/ephemeris.h"
#include "e2e.h"
#include "formats/catalogue.h"
#include "formats/layouts.h"

namespace {

namespace fl = formats::forecast_line;

constexpr double kLongitudeDeg = 139.77;
constexpr double kLatitudeDeg = 35.67;
constexpr double kPi = 3.141592653589793;
/// June 2026, lowest altitude 20 degrees, Tokyo, condition 0 of the sample.
const std::string kJuneAnswers = "2026\n6\n20\n3\n0\n";

struct Line {
  std::string text;
  std::string name_kind;
  double hour = 0, jd = 0, altitude = 0, ra = 0, dec = 0;
};

double number(const std::string& line, formats::Field f) {
  return std::stod(
      line.substr(static_cast<std::size_t>(f.start), static_cast<std::size_t>(f.width)));
}

/// The sample catalogue, every line naming its epochs heliocentric.
std::string sample_catalogue() { return e2e::read_file(std::string(EXAMPLES_DIR) + "/star.dat"); }

std::vector<Line> forecast(const std::vector<std::string>& args,
                           const std::string& catalogue = sample_catalogue()) {
  e2e::TempDir dir;
  dir.write("star.dat", catalogue);
  dir.write("condition.dat", e2e::read_file(std::string(EXAMPLES_DIR) + "/condition.dat"));
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), kJuneAnswers, args);
  EXPECT_EQ(r.exit_code, 0) << r.err;
  std::vector<Line> lines;
  const std::string data = dir.read("data.dat");
  for (std::size_t at = 0; at < data.size();) {
    const std::size_t end = data.find("\r\n", at);
    Line l;
    l.text = data.substr(at, end - at);
    l.name_kind = l.text.substr(0, static_cast<std::size_t>(fl::kKind.end()));
    l.hour = number(l.text, fl::kHour);
    l.jd = number(l.text, fl::kJd);
    l.altitude = number(l.text, fl::kAltitude);
    const double dec_deg = number(l.text, fl::kDecDeg);
    const bool south = l.text.substr(static_cast<std::size_t>(fl::kDecDeg.start), 3).find('-') !=
                       std::string::npos;
    // Whole seconds and minutes only: within a minute of the catalogue position.
    l.ra = (number(l.text, fl::kRaH) + number(l.text, fl::kRaM) / 60 +
            number(l.text, fl::kRaS) / 3600) *
           kPi / 12;
    l.dec = (std::abs(dec_deg) + number(l.text, fl::kDecMin) / 60) * (south ? -1 : 1) * kPi / 180;
    lines.push_back(l);
    at = end + 2;
  }
  return lines;
}

/// The line of `lines` for the same minimum (star, kind, instant within `days`).
const Line* same_minimum(const std::vector<Line>& lines, const Line& l, double days) {
  for (const Line& other : lines) {
    if (other.name_kind == l.name_kind && std::abs(other.jd - l.jd) < days) return &other;
  }
  return nullptr;
}

TEST(EclforeSky, SunBelowKeepsExactlyTheMinimaInNauticalDarkness) {
  const auto plain = forecast({});
  const auto dark = forecast({"--sun-below=nautical"});
  ASSERT_GT(plain.size(), 100u);
  ASSERT_GT(dark.size(), 50u);
  // Every listed minimum has the Sun below -12 degrees; hours 12.00 to 36.00.
  for (const Line& l : dark) {
    // The listed JD is rounded to 8.6 s, in which the Sun moves under 0.04 degree.
    EXPECT_LT(astro::sun_altitude_deg(l.jd, kLongitudeDeg, kLatitudeDeg), -12 + 0.04) << l.text;
    EXPECT_GE(l.hour, 12.0);
    EXPECT_LE(l.hour, 36.0);
    // June's nautical night lies inside the fixed night: the same line is listed there.
    const Line* p = same_minimum(plain, l, 1e-6);
    ASSERT_NE(p, nullptr) << l.text;
    EXPECT_EQ(p->text, l.text);
  }
  // And every fixed-night minimum in nautical darkness is kept.
  for (const Line& p : plain) {
    if (astro::sun_altitude_deg(p.jd, kLongitudeDeg, kLatitudeDeg) < -12 - 0.04) {
      EXPECT_NE(same_minimum(dark, p, 1e-6), nullptr) << p.text;
    }
  }
}

TEST(EclforeSky, MoonDistanceLeavesOutTheMinimaNearTheMoonAboveTheHorizon) {
  const double kLimitDeg = 40;
  const auto plain = forecast({});
  const auto moonless = forecast({"--moon-distance=40"});
  std::size_t dropped = 0;
  for (const Line& p : plain) {
    const double moon_alt = astro::moon_altitude_deg(p.jd, kLongitudeDeg, kLatitudeDeg);
    const double distance =
        astro::moon_star_distance_deg(p.jd, kLongitudeDeg, kLatitudeDeg, p.ra, p.dec);
    // Away from the limits by more than the rounding of the line's JD and position.
    if (std::abs(moon_alt) < 0.1 || std::abs(distance - kLimitDeg) < 0.1) continue;
    const bool near = moon_alt > 0 && distance < kLimitDeg;
    EXPECT_EQ(same_minimum(moonless, p, 1e-6) == nullptr, near) << p.text;
    dropped += near;
  }
  EXPECT_GT(dropped, 5u);  // the full Moon of 30 June passes near several stars
}

/// The sample catalogue with the time scale left only on the lines that give an eclipse
/// duration: a catalogue that mixes lines with and without a scale of their own.
std::string mixed_scales_catalogue() {
  std::istringstream in(sample_catalogue());
  std::string mixed;
  for (std::string line; std::getline(in, line);) {
    if (!formats::parse_star_record(line).extension.eclipse_duration_pct) {
      line = line.substr(0, static_cast<std::size_t>(formats::star_line::kTimeScale.start));
    }
    mixed += line + "\n";
  }
  return mixed;
}

/// The names (20 characters) of the stars of `catalogue` whose line names its epoch's
/// time scale.
std::set<std::string> stars_with_a_time_scale(const std::string& catalogue) {
  std::set<std::string> names;
  std::istringstream in(catalogue);
  for (std::string line; std::getline(in, line);) {
    if (line.ends_with('\r')) line.pop_back();
    const formats::StarRecord star = formats::parse_star_record(line);
    if (star.extension.time_scale) names.insert(star.name);
  }
  return names;
}

TEST(EclforeSky, HeliocentricEpochsMoveEachMinimumByTheLightTime) {
  const std::string catalogue = mixed_scales_catalogue();
  const auto plain = forecast({}, catalogue);
  const auto helio = forecast({"--epochs=hjd"}, catalogue);
  // The stars whose line names its time scale (HJD) are forecast alike with and without
  // --epochs; the others move.
  const std::set<std::string> own_scale = stars_with_a_time_scale(catalogue);
  ASSERT_FALSE(own_scale.empty());
  ASSERT_LT(own_scale.size(), 10u);
  std::size_t own_scale_lines = 0;
  for (const Line& h : helio) {
    if (!own_scale.contains(h.text.substr(0, static_cast<std::size_t>(fl::kName.width)))) continue;
    const Line* p = same_minimum(plain, h, 1e-6);
    ASSERT_NE(p, nullptr) << h.text;
    EXPECT_EQ(p->text, h.text);
    ++own_scale_lines;
  }
  EXPECT_GT(own_scale_lines, 10u);
  std::size_t matched = 0;
  double largest_days = 0;
  for (const Line& h : helio) {
    if (own_scale.contains(h.text.substr(0, static_cast<std::size_t>(fl::kName.width)))) continue;
    const Line* p = same_minimum(plain, h, 0.01);
    if (p == nullptr) continue;  // moved across a limit of the night or the altitude
    ++matched;
    // The plain JD is the heliocentric instant; the listed one the geocentric.
    const double expected = astro::geocentric_jd_utc(p->jd, astro::EpochScale::kHjd, h.ra, h.dec);
    // Both JDs are rounded to 0.0001 day; the position to a second of time.
    EXPECT_NEAR(h.jd, expected, 0.00011) << h.text;
    largest_days = std::max(largest_days, std::abs(h.jd - p->jd));
  }
  EXPECT_GT(matched, (helio.size() - own_scale_lines) * 9 / 10);
  EXPECT_GT(largest_days, 0.004) << "near the ecliptic the correction reaches 8 minutes";
}

TEST(EclforeSky, OfDateAltitudesAreThoseOfTheApparentPlace) {
  const auto plain = forecast({});
  const auto of_date = forecast({"--of-date"});
  for (const Line& l : of_date) {
    // Bound: one decimal printed (0.05), the JD rounded to 4.3 s (0.018), the line's
    // declination minutes truncated (0.017) and right ascension seconds rounded.
    EXPECT_NEAR(l.altitude,
                astro::star_altitude_of_date_deg(l.jd, kLongitudeDeg, kLatitudeDeg, l.ra, l.dec),
                0.09)
        << l.text;
    if (const Line* p = same_minimum(plain, l, 1e-6)) {
      EXPECT_LT(std::abs(p->altitude - l.altitude), 0.5) << "precession since 2000: 22'";
    }
  }
}

}  // namespace
