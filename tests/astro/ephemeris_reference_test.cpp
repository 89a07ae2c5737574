// The exact ephemeris routines against outside values (astropy 5.2, written by
// make_ephemeris_reference.py beside this file): Tokyo, 18 instants from 2006 to 2030, ten
// stars across the sky.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/ephemeris.h"

namespace {

constexpr double kLongitudeDeg = 139.77;
constexpr double kLatitudeDeg = 35.67;
constexpr double kDaySeconds = 86400;

struct SunLine {
  double jd_utc, sun_alt, moon_alt, fraction;
};
struct StarLine {
  double jd_utc, ra, dec, alt, moon_distance, hjd, bjd;
};
struct Reference {
  std::vector<SunLine> sun;
  std::vector<StarLine> stars;
};

Reference read_reference() {
  Reference ref;
  std::ifstream in(EPHEMERIS_REFERENCE);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind;
    fields >> kind;
    if (kind == "sun") {
      SunLine s{};
      fields >> s.jd_utc >> s.sun_alt >> s.moon_alt >> s.fraction;
      ref.sun.push_back(s);
    } else if (kind == "star") {
      StarLine s{};
      fields >> s.jd_utc >> s.ra >> s.dec >> s.alt >> s.moon_distance >> s.hjd >> s.bjd;
      ref.stars.push_back(s);
    }
  }
  return ref;
}

const Reference& reference() {
  static const Reference ref = read_reference();
  return ref;
}

/// Largest |difference| over the lines, for the message beside each assertion.
template <class Line, class Diff>
double largest(const std::vector<Line>& lines, Diff diff) {
  double worst = 0;
  for (const Line& l : lines) worst = std::max(worst, std::abs(diff(l)));
  return worst;
}

TEST(EphemerisReference, FileHoldsEveryInstantAndStar) {
  EXPECT_EQ(reference().sun.size(), 18u);
  EXPECT_EQ(reference().stars.size(), 180u);
}

TEST(EphemerisReference, SunAndMoonAltitudes) {
  const auto& sun = reference().sun;
  // Target 0.01 degree; measured largest differences 0.00016 (Sun), 0.00018 (Moon).
  const double sun_worst = largest(sun, [](const SunLine& s) {
    return astro::sun_altitude_deg(s.jd_utc, kLongitudeDeg, kLatitudeDeg) - s.sun_alt;
  });
  EXPECT_LT(sun_worst, 0.001);
  const double moon_worst = largest(sun, [](const SunLine& s) {
    return astro::moon_altitude_deg(s.jd_utc, kLongitudeDeg, kLatitudeDeg) - s.moon_alt;
  });
  EXPECT_LT(moon_worst, 0.001);
}

TEST(EphemerisReference, MoonIlluminatedFraction) {
  // Measured largest difference 0.000002.
  const double worst = largest(reference().sun, [](const SunLine& s) {
    return astro::moon_illuminated_fraction(s.jd_utc) - s.fraction;
  });
  EXPECT_LT(worst, 0.0001);
}

TEST(EphemerisReference, AltitudeOfDateAndMoonDistance) {
  const auto& stars = reference().stars;
  // Target 0.01 degree; measured largest difference 0.00012 degree (0.44").
  const double alt_worst = largest(stars, [](const StarLine& s) {
    return astro::star_altitude_of_date_deg(s.jd_utc, kLongitudeDeg, kLatitudeDeg, s.ra, s.dec) -
           s.alt;
  });
  EXPECT_LT(alt_worst, 0.001);
  // Target 0.02 degree; measured largest difference 0.00030 degree.
  const double moon_worst = largest(stars, [](const StarLine& s) {
    return astro::moon_star_distance_deg(s.jd_utc, kLongitudeDeg, kLatitudeDeg, s.ra, s.dec) -
           s.moon_distance;
  });
  EXPECT_LT(moon_worst, 0.002);
}

TEST(EphemerisReference, HeliocentricAndBarycentricInstants) {
  const auto& stars = reference().stars;
  using astro::EpochScale;
  // Target 1 s; measured largest differences 0.00004 s (HJD) and 0.00008 s (BJD),
  // forward and back.
  for (const EpochScale scale : {EpochScale::kHjd, EpochScale::kBjd}) {
    auto expected = [scale](const StarLine& s) {
      return scale == EpochScale::kHjd ? s.hjd : s.bjd;
    };
    const double forward = largest(stars, [&](const StarLine& s) {
      return (astro::epoch_jd_of(s.jd_utc, scale, s.ra, s.dec) - expected(s)) * kDaySeconds;
    });
    EXPECT_LT(forward, 0.01);
    const double back = largest(stars, [&](const StarLine& s) {
      return (astro::geocentric_jd_utc(expected(s), scale, s.ra, s.dec) - s.jd_utc) * kDaySeconds;
    });
    EXPECT_LT(back, 0.01);
  }
}

TEST(InstantSky, GivesTheExactRoutinesAnswersForEveryStar) {
  // The same ERFA steps with the star-independent part computed once: equal bits.
  for (const SunLine& instant : reference().sun) {
    const astro::InstantSky sky(instant.jd_utc, kLongitudeDeg, kLatitudeDeg);
    for (const StarLine& s : reference().stars) {
      if (s.jd_utc != instant.jd_utc) continue;
      EXPECT_EQ(
          sky.observed(s.ra, s.dec).altitude_deg,
          astro::star_altitude_of_date_deg(s.jd_utc, kLongitudeDeg, kLatitudeDeg, s.ra, s.dec));
      for (const auto scale : {astro::EpochScale::kHjd, astro::EpochScale::kBjd}) {
        EXPECT_EQ(sky.epoch_jd(scale, s.ra, s.dec),
                  astro::epoch_jd_of(s.jd_utc, scale, s.ra, s.dec));
      }
    }
  }
  // Azimuth from south through west: a star on the meridian south of the zenith.
  const astro::InstantSky sky(2461000.5, kLongitudeDeg, kLatitudeDeg);
  double best_ra = 0, best = 1e9;
  for (double ra = 0; ra < 6.2832; ra += 0.001) {
    const auto o = sky.observed(ra, 0.0);
    const double off = std::min(o.azimuth_deg, 360 - o.azimuth_deg);
    if (o.altitude_deg > 0 && off < best) best = off, best_ra = ra;
  }
  EXPECT_LT(best, 0.1);
  // A later right ascension has not yet crossed the meridian: east of south.
  EXPECT_GT(sky.observed(best_ra + 0.2, 0.0).azimuth_deg, 270);
  EXPECT_GT(sky.observed(best_ra - 0.2, 0.0).azimuth_deg, 0.1);
  EXPECT_LT(sky.observed(best_ra - 0.2, 0.0).azimuth_deg, 90);
}

}  // namespace
