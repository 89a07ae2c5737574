#include "astro/ephemeris.h"
#include "astro/meridian.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "astro/constants.h"
#include "astro/turns.h"

namespace astro {
namespace {

using Vec = std::array<double, 3>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
/// Seconds per day.
constexpr double kDaySeconds = ERFA_DAYSEC;
/// Light time for one astronomical unit, days.
constexpr double kAuLightDays = ERFA_AULT / ERFA_DAYSEC;
/// Metres per astronomical unit.
constexpr double kAuMetres = ERFA_DAU;
/// WGS84, the reference ellipsoid of ERFA's eraGd2gc.
constexpr int kWgs84 = 1;
/// Margin of the tables beyond the asked span, days: wider than any light time
/// (8.4 min) and TDB - UTC (70 s) can move an instant.
constexpr double kTableMarginDays = 1;
/// Bound of the Sun's angular speed across the sky of the site, degrees a day: the
/// Earth's rotation against the stars (360.986 degrees a day) and the Sun's own motion
/// (under 1.1 degrees a day), with room to spare.
constexpr double kSunMaxRateDegPerDay = 362.5;
/// Room for the interpolated altitude's departure from that bound, degrees.
constexpr double kSunSlotMarginDeg = 1e-6;
/// Room of the Moon's cosine test (moon_ok), dimensionless.
constexpr double kMoonCosineSlack = 1e-9;
/// The share of the Moon's least node distance below which no interpolated distance falls.
constexpr double kMoonLeastRoom = 0.99;

double dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double norm(const Vec& a) { return std::sqrt(dot(a, a)); }
Vec minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec scaled(const Vec& a, double k) { return {a[0] * k, a[1] * k, a[2] * k}; }

/// Altitude, degrees, of a direction (any length) seen against a unit zenith.
double altitude_deg(const Vec& direction, const Vec& zenith) {
  const double s = dot(direction, zenith) / norm(direction);
  return std::asin(std::clamp(s, -1.0, 1.0)) * ERFA_DR2D;
}

/// Angle between two directions (any length), degrees, 0 to 180.
double separation_deg(const Vec& a, const Vec& b) {
  Vec pa = a, pb = b;
  return eraSepp(pa.data(), pb.data()) * ERFA_DR2D;
}

/// TT (two-part Julian Date) of a UTC Julian Date; false for a date ERFA cannot
/// handle. The "dubious year" status (+1) after the leap-second table is ignored:
/// its last value holds.
bool tt_of_utc(double jd_utc, double& tt1, double& tt2) {
  double tai1 = 0, tai2 = 0;
  if (eraUtctai(jd_utc, 0.0, &tai1, &tai2) < 0) return false;
  return eraTaitt(tai1, tai2, &tt1, &tt2) >= 0;
}

/// TAI - UTC at a UTC Julian Date, seconds (NaN for a date ERFA cannot handle).
double tai_minus_utc_s(double jd_utc) {
  int year = 0, month = 0, day = 0;
  double fraction = 0, delta = 0;
  if (eraJd2cal(jd_utc, 0.0, &year, &month, &day, &fraction) != 0) return kNaN;
  if (eraDat(year, month, day, fraction, &delta) < 0) return kNaN;
  return delta;
}

/// The geocentric star-independent parameters of the apparent place at a UTC instant.
bool geocentric_astrom(double jd_utc, eraASTROM& astrom) {
  double tt1 = 0, tt2 = 0, eo = 0;
  if (!tt_of_utc(jd_utc, tt1, tt2)) return false;
  // TT for TDB: they differ by under 2 ms, a negligible motion of the Earth.
  eraApci13(tt1, tt2, &astrom, &eo);
  return true;
}

/// ICRS unit vector of right ascension and declination (radians).
Vec icrs_vector(double ra_rad, double dec_rad) {
  Vec v{};
  eraS2c(ra_rad, dec_rad, v.data());
  return v;
}

/// The apparent (CIRS) unit vector of an ICRS direction for a geocentric observer.
Vec apparent_vector(const Vec& icrs, eraASTROM& astrom) {
  Vec p = icrs, deflected{}, aberrated{}, out{};
  eraLdsun(p.data(), astrom.eh, astrom.em, deflected.data());
  eraAb(deflected.data(), astrom.v, astrom.em, astrom.bm1, aberrated.data());
  eraRxp(astrom.bpn, aberrated.data(), out.data());
  return out;
}

/// The Moon's topocentric vector and the site's frame at an instant, exactly.
struct MoonView {
  Vec moon{};  ///< site to Moon, CIRS, au
  SiteVectors site;
};
MoonView moon_view(double jd_utc, double longitude_deg, double latitude_deg) {
  const SkyNode node = sky_node(jd_utc);
  const SiteVectors site = site_at(site_vectors(longitude_deg, latitude_deg), ut1_of_utc(jd_utc));
  return {minus(node.moon, site.site), site};
}

}  // namespace

SkyNode sky_node(double jd_utc) {
  SkyNode node;
  eraASTROM astrom{};
  double tt1 = 0, tt2 = 0;
  if (!tt_of_utc(jd_utc, tt1, tt2) || !geocentric_astrom(jd_utc, astrom)) {
    node.sun = node.moon = node.earth_helio = node.earth_bary = {kNaN, kNaN, kNaN};
    node.tdb_minus_tai_s = kNaN;
    return node;
  }
  // The Sun: the direction from the geocentre, with annual aberration, in the apparent
  // frame. Its light time (8 min) moves it by metres about the barycentre.
  Vec to_sun = scaled({astrom.eh[0], astrom.eh[1], astrom.eh[2]}, -1.0), aberrated{}, sun{};
  eraAb(to_sun.data(), astrom.v, astrom.em, astrom.bm1, aberrated.data());
  eraRxp(astrom.bpn, aberrated.data(), sun.data());
  node.sun = scaled(sun, astrom.em);
  // The Moon: geometric geocentric position (GCRS), turned into the apparent frame.
  double moon_pv[2][3];
  eraMoon98(tt1, tt2, moon_pv);
  eraRxp(astrom.bpn, moon_pv[0], node.moon.data());
  node.earth_helio = scaled({astrom.eh[0], astrom.eh[1], astrom.eh[2]}, astrom.em);
  node.earth_bary = {astrom.eb[0], astrom.eb[1], astrom.eb[2]};
  // TDB - TT at the geocentre; the site terms (microseconds) are left out.
  node.tdb_minus_tai_s = ERFA_TTMTAI + eraDtdb(tt1, tt2, 0.0, 0.0, 0.0, 0.0);
  return node;
}

SiteVectors site_vectors(double longitude_deg, double latitude_deg) {
  const double longitude = longitude_deg * ERFA_DD2R;
  const double latitude = latitude_deg * ERFA_DD2R;
  SiteVectors out;
  eraS2c(longitude, latitude, out.zenith.data());
  Vec metres{};
  if (eraGd2gc(kWgs84, longitude, latitude, 0.0, metres.data()) != 0) {
    metres = {kNaN, kNaN, kNaN};
  }
  out.site = scaled(metres, 1.0 / kAuMetres);
  return out;
}

double ut1_of_utc(double jd_utc) {
  double ut11 = 0, ut12 = 0;
  if (eraUtcut1(jd_utc, 0.0, 0.0, &ut11, &ut12) < 0) return kNaN;
  return ut11 + ut12;
}

SiteVectors site_at(const SiteVectors& site, double jd_ut1) {
  const double era = eraEra00(jd_ut1, 0.0);
  const double c = std::cos(era), s = std::sin(era);
  auto turn = [c, s](const Vec& v) -> Vec {
    return {c * v[0] - s * v[1], s * v[0] + c * v[1], v[2]};
  };
  return {turn(site.zenith), turn(site.site)};
}

double sun_altitude_deg(double jd_utc, double longitude_deg, double latitude_deg) {
  const SkyNode node = sky_node(jd_utc);
  const SiteVectors site = site_at(site_vectors(longitude_deg, latitude_deg), ut1_of_utc(jd_utc));
  return altitude_deg(minus(node.sun, site.site), site.zenith);
}

double moon_altitude_deg(double jd_utc, double longitude_deg, double latitude_deg) {
  const MoonView view = moon_view(jd_utc, longitude_deg, latitude_deg);
  return altitude_deg(view.moon, view.site.zenith);
}

double moon_illuminated_fraction(double jd_utc) {
  const SkyNode node = sky_node(jd_utc);
  // k = (1 + cos i) / 2 with i the phase angle at the Moon between the directions to the
  // Earth and to the Sun: Meeus, "Astronomical Algorithms" (2nd ed., 1998), ch. 48 (48.1).
  const Vec to_earth = scaled(node.moon, -1.0);
  const Vec to_sun = minus(node.sun, node.moon);
  const double phase_angle_rad = separation_deg(to_earth, to_sun) * ERFA_DD2R;
  return (1.0 + std::cos(phase_angle_rad)) / 2.0;
}

double star_altitude_of_date_deg(double jd_utc, double longitude_deg, double latitude_deg,
                                 double ra_rad, double dec_rad) {
  double azimuth = 0, zenith_distance = 0, hour_angle = 0, dec = 0, ra = 0, eo = 0;
  // Pressure 0: no refraction. Status +1 (a date after the leap-second table) is
  // expected and ignored; -1 is a date ERFA cannot handle.
  const int status =
      eraAtco13(ra_rad, dec_rad, 0.0, 0.0, 0.0, 0.0, jd_utc, 0.0, 0.0, longitude_deg * ERFA_DD2R,
                latitude_deg * ERFA_DD2R, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, &azimuth,
                &zenith_distance, &hour_angle, &dec, &ra, &eo);
  if (status < 0) return kNaN;
  return 90.0 - zenith_distance * ERFA_DR2D;
}

double moon_star_distance_deg(double jd_utc, double longitude_deg, double latitude_deg,
                              double ra_rad, double dec_rad) {
  eraASTROM astrom{};
  if (!geocentric_astrom(jd_utc, astrom)) return kNaN;
  const MoonView view = moon_view(jd_utc, longitude_deg, latitude_deg);
  return separation_deg(view.moon, apparent_vector(icrs_vector(ra_rad, dec_rad), astrom));
}

double tdb_minus_utc_s(double jd_utc) {
  return sky_node(jd_utc).tdb_minus_tai_s + tai_minus_utc_s(jd_utc);
}

namespace {

/// Light time from the geocentre to the Sun's centre (kHjd) or the barycentre (kBjd)
/// along an ICRS unit vector, days: positive when the Earth is nearer the star.
double light_time_days(const SkyNode& node, EpochScale scale, const Vec& icrs) {
  if (scale == EpochScale::kJd) return 0;
  const Vec& earth = scale == EpochScale::kHjd ? node.earth_helio : node.earth_bary;
  return dot(earth, icrs) * kAuLightDays;
}

/// Iterations of the light-time equation t = T - light_time(t): the light time
/// changes by under 0.1 s in 8 minutes, so the second is exact to nanoseconds.
constexpr int kLightTimeIterations = 3;
/// The same for the tables, which start from a guess within 10 minutes: the second
/// step is exact to 10 microseconds.
constexpr int kTableIterations = 2;

/// UTC Julian Date of a TDB Julian Date, exactly (NaN where ERFA cannot date it).
double utc_of_tdb_exact(double jd_tdb) {
  double tt1 = 0, tt2 = 0, tai1 = 0, tai2 = 0, utc1 = 0, utc2 = 0;
  // TDB - TT is a function of TT; at TDB its value differs by picoseconds.
  const double dtr = eraDtdb(jd_tdb, 0.0, 0.0, 0.0, 0.0, 0.0);
  if (eraTdbtt(jd_tdb, 0.0, dtr, &tt1, &tt2) < 0 || eraTttai(tt1, tt2, &tai1, &tai2) < 0 ||
      eraTaiutc(tai1, tai2, &utc1, &utc2) < 0) {
    return kNaN;
  }
  return utc1 + utc2;
}

}  // namespace

double geocentric_jd_utc(double epoch_jd, EpochScale scale, double ra_rad, double dec_rad) {
  if (scale == EpochScale::kJd) return epoch_jd;
  const Vec icrs = icrs_vector(ra_rad, dec_rad);
  if (scale == EpochScale::kHjd) {
    double t = epoch_jd;
    for (int i = 0; i < kLightTimeIterations; ++i) {
      t = epoch_jd - light_time_days(sky_node(t), scale, icrs);
    }
    return t;
  }
  // The Earth's position is looked up at the UTC instant that the TDB one names.
  double tdb = epoch_jd;
  for (int i = 0; i < kLightTimeIterations; ++i) {
    tdb = epoch_jd - light_time_days(sky_node(utc_of_tdb_exact(tdb)), scale, icrs);
  }
  return utc_of_tdb_exact(tdb);
}

namespace {

/// epoch_jd_of with the instant's star-independent values given.
double epoch_jd_at(const SkyNode& node, double tai_minus_utc, double jd_utc, EpochScale scale,
                   double ra_rad, double dec_rad) {
  if (scale == EpochScale::kJd) return jd_utc;
  const double lt = light_time_days(node, scale, icrs_vector(ra_rad, dec_rad));
  if (scale == EpochScale::kHjd) return jd_utc + lt;
  return jd_utc + (node.tdb_minus_tai_s + tai_minus_utc) / kDaySeconds + lt;
}

}  // namespace

double epoch_jd_of(double jd_utc, EpochScale scale, double ra_rad, double dec_rad) {
  if (scale == EpochScale::kJd) return jd_utc;
  return epoch_jd_at(sky_node(jd_utc), tai_minus_utc_s(jd_utc), jd_utc, scale, ra_rad, dec_rad);
}

// ---- Many stars at one instant ---------------------------------------------------

struct InstantSky::Data {
  double jd_utc = 0;
  SkyNode node;
  double tai_minus_utc = 0;
  eraASTROM astrom{};
  bool valid = false;
};

InstantSky::InstantSky(double jd_utc, double longitude_deg, double latitude_deg)
    : data_(std::make_unique<Data>()) {
  Data& d = *data_;
  d.jd_utc = jd_utc;
  d.node = sky_node(jd_utc);
  d.tai_minus_utc = tai_minus_utc_s(jd_utc);
  double eo = 0;
  // The arguments of star_altitude_of_date_deg's eraAtco13: no refraction, UT1 = UTC.
  d.valid = eraApco13(jd_utc, 0.0, 0.0, longitude_deg * ERFA_DD2R, latitude_deg * ERFA_DD2R, 0.0,
                      0.0, 0.0, 0.0, 0.0, 0.0, 0.0, &d.astrom, &eo) >= 0;
}

InstantSky::~InstantSky() = default;
InstantSky::InstantSky(const InstantSky& other) : data_(std::make_unique<Data>(*other.data_)) {}
InstantSky& InstantSky::operator=(const InstantSky& other) {
  *data_ = *other.data_;
  return *this;
}

InstantSky::Observed InstantSky::observed(double ra_rad, double dec_rad) const {
  if (!data_->valid) return {kNaN, kNaN};
  eraASTROM astrom = data_->astrom;
  double ri = 0, di = 0, azimuth = 0, zenith_distance = 0, hour_angle = 0, dec = 0, ra = 0;
  eraAtciq(ra_rad, dec_rad, 0.0, 0.0, 0.0, 0.0, &astrom, &ri, &di);
  eraAtioq(ri, di, &astrom, &azimuth, &zenith_distance, &hour_angle, &dec, &ra);
  // ERFA counts the azimuth from north through east; the toolset from south through
  // west, in (0, 360].
  double from_south = std::fmod(azimuth * ERFA_DR2D + 180.0, 360.0);
  if (from_south <= 0) from_south += 360.0;
  return {from_south, 90.0 - zenith_distance * ERFA_DR2D};
}

double InstantSky::epoch_jd(EpochScale scale, double ra_rad, double dec_rad) const {
  return epoch_jd_at(data_->node, data_->tai_minus_utc, data_->jd_utc, scale, ra_rad, dec_rad);
}

// ---- The tables of a window ------------------------------------------------------

struct ObservingConditions::Astrom {
  eraASTROM astrom{};
};

ObservingConditions::~ObservingConditions() = default;
ObservingConditions::ObservingConditions(const ObservingConditions&) = default;
ObservingConditions& ObservingConditions::operator=(const ObservingConditions&) = default;

ObservingConditions::ObservingConditions(const SkyOptions& options, double first_jd_utc,
                                         double last_jd_utc, double longitude_deg,
                                         double latitude_deg)
    : options_(options),
      site_(site_vectors(longitude_deg, latitude_deg)),
      longitude_deg_(longitude_deg),
      latitude_deg_(latitude_deg) {
  if (!options.any()) return;
  if (options.moon_distance_deg)
    moon_distance_cos_ = std::cos(*options.moon_distance_deg * ERFA_DD2R);
  first_node_jd_ = first_jd_utc - kTableMarginDays;
  const double last_node_jd = last_jd_utc + kTableMarginDays;
  const auto steps =
      static_cast<std::size_t>(std::ceil((last_node_jd - first_node_jd_) / kNodeStepDays));
  nodes_.reserve(steps + 1);
  for (std::size_t k = 0; k <= steps; ++k) {
    nodes_.push_back(sky_node(first_node_jd_ + static_cast<double>(k) * kNodeStepDays));
  }
  const double span_end = first_node_jd_ + static_cast<double>(steps) * kNodeStepDays;
  middle_jd_ = (first_node_jd_ + span_end) / 2;
  half_span_days_ = (span_end - first_node_jd_) / 2;
  era_middle_turns_ = eraEra00(middle_jd_, 0.0) / ERFA_D2PI;
  double day_turns = eraEra00(middle_jd_ + 1, 0.0) / ERFA_D2PI - era_middle_turns_;
  day_turns -= std::floor(day_turns);
  era_rate_turns_ = 1 + day_turns;
  if (options.of_date || options.moon_distance_deg) {
    for (const double jd : {first_node_jd_, middle_jd_, span_end}) {
      Astrom a;
      geocentric_astrom(jd, a.astrom);
      star_nodes_.push_back(a);
    }
  }
  if (options.moon_distance_deg && !nodes_.empty()) {
    // The Moon's least distance in the tables, with room for the interpolation between
    // the nodes (its distance changes by under 0.1 % in a node step).
    double least_au = std::numeric_limits<double>::infinity();
    for (const SkyNode& node : nodes_) least_au = std::min(least_au, norm(node.moon));
    const double parallax =
        std::asin(std::min(1.0, norm(site_.site) / (kMoonLeastRoom * least_au)));
    const double far = *options.moon_distance_deg * ERFA_DD2R + parallax + kMoonCosineSlack;
    if (far < ERFA_DPI) moon_far_cos_ = std::cos(far);
  }
  tai_minus_utc_before_s_ = tai_minus_utc_s(first_node_jd_);
  tai_minus_utc_after_s_ = tai_minus_utc_s(span_end);
  leap_jd_utc_ = span_end;
  if (tai_minus_utc_after_s_ != tai_minus_utc_before_s_) {
    // Leap seconds fall at 0h UTC: find the first day that has the later value.
    double day = std::floor(first_node_jd_ - 0.5) + 0.5;
    while (day < span_end && tai_minus_utc_s(day) == tai_minus_utc_before_s_) day += 1;
    leap_jd_utc_ = day;
    has_leap_ = true;
  }
  if (options.sun_below_deg) {
    const auto slots = static_cast<std::size_t>((span_end - first_node_jd_) / kSunSlotDays);
    sun_slots_deg_.reserve(slots + 1);
    for (std::size_t k = 0; k <= slots; ++k) {
      sun_slots_deg_.push_back(
          sun_altitude_deg(first_node_jd_ + static_cast<double>(k) * kSunSlotDays));
    }
  }
}

bool ObservingConditions::in_leap_day(double jd_utc) const {
  // A margin of a minute each side for instants that TDB - UTC moves across.
  constexpr double kMarginDays = 1.0 / kMinutesPerDay;
  return has_leap_ && jd_utc >= leap_jd_utc_ - 1 - kMarginDays &&
         jd_utc < leap_jd_utc_ + kMarginDays;
}

SiteVectors ObservingConditions::site_at_utc(double jd_utc) const {
  return site_at(site_, in_leap_day(jd_utc) ? ut1_of_utc(jd_utc) : jd_utc);
}

bool ObservingConditions::covers(double jd_utc) const {
  if (nodes_.empty()) return false;
  const double last = first_node_jd_ + static_cast<double>(nodes_.size() - 1) * kNodeStepDays;
  return jd_utc >= first_node_jd_ && jd_utc <= last;
}

namespace {

/// Weights of four-point Lagrange interpolation at u (0 to 1) between the second and
/// third of four equally spaced nodes.
std::array<double, 4> lagrange_weights(double u) {
  return {-u * (u - 1) * (u - 2) / 6, (u + 1) * (u - 1) * (u - 2) / 2, -(u + 1) * u * (u - 2) / 2,
          (u + 1) * u * (u - 1) / 6};
}

/// The four nodes that interpolate an instant: the first one's index and their weights.
struct Stencil {
  std::size_t first;
  std::array<double, 4> weights;
};

/// The stencil of the point x (in node steps from the first node) in a table of node_count
/// nodes, at least four.
Stencil stencil_at(double x, std::size_t node_count) {
  const auto last_first = static_cast<double>(node_count - 4);
  const double k = std::clamp(std::floor(x) - 1, 0.0, last_first);
  return {static_cast<std::size_t>(k), lagrange_weights(x - k - 1)};
}

}  // namespace

std::array<double, 3> ObservingConditions::interpolate(
    double jd_utc, std::array<double, 3> SkyNode::*member) const {
  if (!covers(jd_utc)) return sky_node(jd_utc).*member;
  const auto [first, w] = stencil_at((jd_utc - first_node_jd_) / kNodeStepDays, nodes_.size());
  Vec out{};
  for (std::size_t i = 0; i < 4; ++i) {
    const Vec& v = nodes_[first + i].*member;
    for (std::size_t c = 0; c < 3; ++c) out[c] += w[i] * v[c];
  }
  return out;
}

double ObservingConditions::interpolate_scalar(double jd_utc, double SkyNode::*member) const {
  if (!covers(jd_utc)) return sky_node(jd_utc).*member;
  const auto [first, w] = stencil_at((jd_utc - first_node_jd_) / kNodeStepDays, nodes_.size());
  double out = 0;
  for (std::size_t i = 0; i < 4; ++i) out += w[i] * (nodes_[first + i].*member);
  return out;
}

StarPlace ObservingConditions::star(double ra_rad, double dec_rad) const {
  StarPlace place;
  place.icrs = icrs_vector(ra_rad, dec_rad);
  if (star_nodes_.size() == 3) {
    // A parabola through the apparent places at the first, middle and last node:
    // aberration and precession move a star smoothly, by under 15" in the span.
    auto nodes = star_nodes_;
    const Vec a = apparent_vector(place.icrs, nodes[0].astrom);
    const Vec b = apparent_vector(place.icrs, nodes[1].astrom);
    const Vec c = apparent_vector(place.icrs, nodes[2].astrom);
    for (std::size_t i = 0; i < 3; ++i) {
      place.mid[i] = b[i];
      place.slope[i] = (c[i] - a[i]) / 2;
      place.curve[i] = (c[i] + a[i]) / 2 - b[i];
    }
    place.has_apparent = true;
  }
  if (options_.epochs != EpochScale::kJd) {
    const bool helio = options_.epochs == EpochScale::kHjd;
    const auto every = static_cast<std::size_t>(kEpochNodeStepDays / kNodeStepDays);
    place.epoch_offset_days.reserve(nodes_.size() / every + 1);
    for (std::size_t k = 0; k < nodes_.size(); k += every) {
      const SkyNode& node = nodes_[k];
      const double lt = dot(helio ? node.earth_helio : node.earth_bary, place.icrs) * kAuLightDays;
      place.epoch_offset_days.push_back(helio ? lt : lt + node.tdb_minus_tai_s / kDaySeconds);
    }
  }
  return place;
}

double ObservingConditions::epoch_offset(double jd, const StarPlace& star) const {
  const std::vector<double>& v = star.epoch_offset_days;
  const double x = (jd - first_node_jd_) / kEpochNodeStepDays;
  if (v.size() < 4 || !(x >= 0) || x > static_cast<double>(v.size() - 1)) return kNaN;
  const auto [first, w] = stencil_at(x, v.size());
  return w[0] * v[first] + w[1] * v[first + 1] + w[2] * v[first + 2] + w[3] * v[first + 3];
}

double ObservingConditions::utc_of_tai(double jd_tai) const {
  const double after = jd_tai - tai_minus_utc_after_s_ / kDaySeconds;
  return after >= leap_jd_utc_ ? after : jd_tai - tai_minus_utc_before_s_ / kDaySeconds;
}

double ObservingConditions::epoch_shift_bound_days() const {
  if (options_.epochs == EpochScale::kJd) return 0;
  // The light time changes by under a millisecond a day and TDB - TT by 2 ms a year:
  // interpolation and the exact routine stay far inside this.
  constexpr double kShiftRoomDays = 1e-3;
  const bool helio = options_.epochs == EpochScale::kHjd;
  // A star's offset is the Earth's vector along the star's unit vector (see star()):
  // at most the vector's length.
  double most = 0;
  for (const SkyNode& node : nodes_) {
    const Vec& earth = helio ? node.earth_helio : node.earth_bary;
    double offset = std::sqrt(dot(earth, earth)) * kAuLightDays;
    if (!helio) offset += std::fabs(node.tdb_minus_tai_s) / kDaySeconds;
    if (!std::isfinite(offset)) return std::numeric_limits<double>::infinity();
    most = std::max(most, offset);
  }
  if (nodes_.empty()) return std::numeric_limits<double>::infinity();
  if (!helio) {
    most += std::max(std::fabs(tai_minus_utc_before_s_), std::fabs(tai_minus_utc_after_s_)) /
            kDaySeconds;
  }
  return most + kShiftRoomDays;
}

double ObservingConditions::geocentric_jd(double epoch_jd, const StarPlace& star) const {
  if (options_.epochs == EpochScale::kJd) return epoch_jd;
  // The nodes hold UTC instants, and the light time changes by up to 4 ms in the
  // 37 s between TAI and UTC, so the offset is looked up at the UTC instant; each
  // step of t = T - offset(t) shrinks the error by four orders of magnitude.
  const bool helio = options_.epochs == EpochScale::kHjd;
  double moved = epoch_jd - (helio ? 0.0 : tai_minus_utc_before_s_ / kDaySeconds);
  for (int i = 0; i < kTableIterations; ++i) {
    const double scale_instant = epoch_jd - epoch_offset(moved, star);
    moved = helio ? scale_instant : utc_of_tai(scale_instant);
  }
  if (std::isnan(moved) || in_leap_day(moved)) {
    // Outside the tables, and on the day that ends with a leap second: exactly.
    const double ra = std::atan2(star.icrs[1], star.icrs[0]);
    const double dec = std::atan2(star.icrs[2], std::hypot(star.icrs[0], star.icrs[1]));
    return geocentric_jd_utc(epoch_jd, options_.epochs, ra, dec);
  }
  return moved;
}

double ObservingConditions::sun_altitude_deg(double jd_utc) const {
  const SiteVectors site = site_at_utc(jd_utc);
  return altitude_deg(minus(interpolate(jd_utc, &SkyNode::sun), site.site), site.zenith);
}

double ObservingConditions::moon_altitude_deg(double jd_utc) const {
  const SiteVectors site = site_at_utc(jd_utc);
  return altitude_deg(minus(interpolate(jd_utc, &SkyNode::moon), site.site), site.zenith);
}

namespace {

Vec apparent_at(const StarPlace& star, double u) {
  Vec out{};
  for (std::size_t i = 0; i < 3; ++i) {
    out[i] = star.mid[i] + u * (star.slope[i] + u * star.curve[i]);
  }
  return out;
}

}  // namespace

double ObservingConditions::moon_illuminated_fraction(double jd_utc) const {
  const Vec moon = interpolate(jd_utc, &SkyNode::moon);
  // As the exact routine: k = (1 + cos i) / 2, i the phase angle at the Moon (Meeus,
  // "Astronomical Algorithms", 2nd ed., 48.1).
  const Vec to_sun = minus(interpolate(jd_utc, &SkyNode::sun), moon);
  const double phase_angle_rad = separation_deg(scaled(moon, -1.0), to_sun) * ERFA_DD2R;
  return (1.0 + std::cos(phase_angle_rad)) / 2.0;
}

double ObservingConditions::upper_culmination_jd(double jd_utc, const StarPlace& star) const {
  if (!star.has_apparent || !covers(jd_utc)) {
    const double ra = std::atan2(star.icrs[1], star.icrs[0]);
    const double dec = std::asin(star.icrs[2]);
    return astro::upper_culmination_jd(jd_utc, longitude_deg_, latitude_deg_, ra, dec);
  }
  // The hour angle between the site's meridian and the star's apparent place, both
  // projected on the equator (the pole of the apparent frame is its third axis).
  constexpr double kEraRateTurnsPerDay = 1.00273781191135448;
  constexpr int kSteps = 3;
  double jd = jd_utc;
  for (int step = 0; step < kSteps && covers(jd); ++step) {
    const SiteVectors site = site_at_utc(jd);
    const Vec meridian{site.zenith[0], site.zenith[1], 0.0};
    const Vec east{-site.zenith[1], site.zenith[0], 0.0};
    const Vec place = apparent_at(star, (jd - middle_jd_) / half_span_days_);
    const double hour_angle = std::atan2(-dot(place, east), dot(place, meridian));
    jd -= hour_angle / ERFA_D2PI / kEraRateTurnsPerDay;
  }
  return jd;
}

double ObservingConditions::moon_star_distance_deg(double jd_utc, const StarPlace& star) const {
  const SiteVectors site = site_at_utc(jd_utc);
  const Vec moon = minus(interpolate(jd_utc, &SkyNode::moon), site.site);
  return separation_deg(moon, apparent_at(star, (jd_utc - middle_jd_) / half_span_days_));
}

bool ObservingConditions::sun_ok(double jd_utc) const {
  if (!options_.sun_below_deg) return true;
  const double limit = *options_.sun_below_deg;
  const double x = (jd_utc - first_node_jd_) / kSunSlotDays;
  if (x >= 0 && x < static_cast<double>(sun_slots_deg_.size() - 1)) {
    // Between two slot ends the altitude can differ from either by no more than the
    // Sun's angular speed across the sky allows: a slot wholly below or wholly at or
    // above the limit decides at once, with the same answer as the altitude itself.
    const auto k = static_cast<std::size_t>(x);
    const double a = sun_slots_deg_[k], b = sun_slots_deg_[k + 1];
    const double reach = kSunMaxRateDegPerDay * kSunSlotDays / 2 + kSunSlotMarginDeg;
    if ((a + b) / 2 + reach < limit) return true;
    if ((a + b) / 2 - reach >= limit) return false;
  }
  return sun_altitude_deg(jd_utc) < limit;
}

// The site (at |site| from the geocentre) turns the Moon's direction by at most
// asin(|site| / |moon|) from the geocentric one, whatever the Earth's rotation: a
// geocentric distance beyond the limit by that and the cosine test's slack puts the
// distance seen from the site beyond the limit too, and moon_ok with the site's vectors
// says true. Only a Moon near the star takes the site's vectors.
bool ObservingConditions::moon_ok(double jd_utc, const StarPlace& star) const {
  if (!options_.moon_distance_deg) return true;
  if (covers(jd_utc)) {
    const Vec moon = interpolate(jd_utc, &SkyNode::moon);
    const Vec place = apparent_at(star, (jd_utc - middle_jd_) / half_span_days_);
    const double cosine = dot(moon, place) / (norm(moon) * norm(place));
    if (cosine < moon_far_cos_ - kMoonCosineSlack) return true;
  }
  return moon_ok(jd_utc, star, site_at_utc(jd_utc));
}

// eraSepp gives the angle between the two directions within a few 1e-16 rad, and the
// cosine here is within a few 1e-16 of its cosine: a cosine below the limit's by
// kMoonCosineSlack puts the angle beyond the limit by more than that (the cosine's
// slope is at most 1), far beyond the roundings of both and of the conversion to
// degrees, so the distance in degrees is not below the limit.
bool ObservingConditions::moon_ok(double jd_utc, const StarPlace& star,
                                  const SiteVectors& site) const {
  if (!options_.moon_distance_deg) return true;
  const Vec moon = minus(interpolate(jd_utc, &SkyNode::moon), site.site);
  if (dot(moon, site.zenith) < 0) return true;
  const Vec place = apparent_at(star, (jd_utc - middle_jd_) / half_span_days_);
  const double cosine = dot(moon, place) / (norm(moon) * norm(place));
  if (cosine < moon_distance_cos_ - kMoonCosineSlack) return true;
  return !(separation_deg(moon, place) < *options_.moon_distance_deg);
}

float ObservingConditions::altitude_of_date(double jd_utc, const StarPlace& star) const {
  return altitude_of_date(jd_utc, star, site_at_utc(jd_utc));
}

float ObservingConditions::altitude_of_date(double jd_utc, const StarPlace& star,
                                            const SiteVectors& site) const {
  const Vec place = apparent_at(star, (jd_utc - middle_jd_) / half_span_days_);
  return static_cast<float>(altitude_deg(place, site.zenith));
}

// Why quick_sine_of_date is within kQuickSineOfDateError of the sine that
// altitude_of_date takes: both take the same place p (apparent_at) and the zenith at
// ERA 0 turned by an angle, and differ only in that angle's cosine and sine. ERFA's
// angle carries roundings of some 3e-13 rad (sums near 100 turns, times 2 pi), and it
// is linear in UT1 = UTC (the leap second's day aside): the line through its value at
// the middle and its change over one day differs from it by under 2 x 3e-13 rad a day
// over the half span (at most some 20 days) plus the same at the middle: under 2e-11
// rad. The series' cosine and sine lie within 3e-10 of the true ones, the C library's
// within 1e-16: the turned zenith differs by under 5e-10 in each component, and with
// |p| within 1e-4 of 1 the sine by under 1e-9, a tenth of kQuickSineOfDateError.
namespace {
/// The half span of the tables (days) up to which the line above is proven.
constexpr double kQuickMostHalfSpanDays = 20;
}  // namespace

double ObservingConditions::quick_sine_of_date(double jd_utc, const StarPlace& star) const {
  const double u = (jd_utc - middle_jd_) / half_span_days_;
  if (!star.has_apparent || !(std::fabs(u) <= 1) || !(half_span_days_ <= kQuickMostHalfSpanDays) ||
      in_leap_day(jd_utc)) {
    return kNaN;
  }
  const CosSin h = cos_sin_of_turns(era_middle_turns_ + era_rate_turns_ * (jd_utc - middle_jd_));
  const Vec& z = site_.zenith;
  const Vec zenith = {h.cos * z[0] - h.sin * z[1], h.sin * z[0] + h.cos * z[1], z[2]};
  const Vec place = apparent_at(star, u);
  return dot(place, zenith) / norm(place);
}

bool ObservingConditions::sun_up_throughout(double first_jd_utc, double last_jd_utc) const {
  if (!options_.sun_below_deg || sun_slots_deg_.size() < 4) return false;
  const double limit = *options_.sun_below_deg;
  const double x0 = (first_jd_utc - first_node_jd_) / kSunSlotDays;
  const double x1 = (last_jd_utc - first_node_jd_) / kSunSlotDays;
  // sun_ok's slot of an instant in the span is one of these, whatever its rounding.
  if (!(x0 >= 1 && x1 <= x0 + 1e6 && x1 < static_cast<double>(sun_slots_deg_.size() - 3))) {
    return false;
  }
  const double reach = kSunMaxRateDegPerDay * kSunSlotDays / 2 + kSunSlotMarginDeg;
  for (auto k = static_cast<std::size_t>(x0) - 1; k <= static_cast<std::size_t>(x1) + 1; ++k) {
    const double a = sun_slots_deg_[k], b = sun_slots_deg_[k + 1];
    if (!((a + b) / 2 - reach >= limit)) return false;
  }
  return true;
}

namespace {

/// Room below the asked altitude that the bound leaves, degrees: far beyond the
/// roundings of the altitude of date (its arcsine in double, then float).
constexpr double kOfDateSlackDeg = 0.01;
/// Room for the roundings of the dot products and the norm, dimensionless.
constexpr double kOfDateComponentSlack = 1e-9;
/// A leap second's day reads UT1 up to a second off UTC: turns of rotation (a second is
/// 1.16e-5 of the 86164 s sidereal day).
constexpr double kLeapDayTurns = 1.2e-5;
/// Hour-angle terms below this give no bound (a star at the pole of date).
constexpr double kOfDateLeastTerm = 1e-6;

}  // namespace

// The altitude of date is asin(p.z / |p|) with p = mid + u slope + u^2 curve (|u| <= 1
// within the tables) and z the site's zenith turned by the Earth rotation angle E.
// With P = mid, |p - P| <= e = |slope| + |curve|, so p.z <= P.z + e and |p| >= |P| - e.
// P.z = A cos E + B sin E + C = R cos(E - theta) + C, with A, B, C from P and the zenith
// at E = 0 and theta = atan2(B, A): so the altitude is below a when R cos(E - theta) + C
// + e <= (|P| -/+ e) sin a - slack, that is cos(E - theta) below one value, an hour
// angle of date h = E - theta beyond one value. E grows at the rate r_E (turns a day);
// the caller's h at another rate r differs from it by at most |r_E - r| x half the
// tables' span (both meet at the middle) and, on a leap second's day, a second's turn.
// a = altitude_deg - kOfDateSlackDeg keeps the arcsine's and the float's roundings
// (under 1e-5 degrees) on the same side.
LowAltitudeOfDate ObservingConditions::low_altitude_of_date(const StarPlace& star,
                                                            double altitude_deg,
                                                            double rate_turns_per_day,
                                                            double reference_mjd) const {
  LowAltitudeOfDate bound;
  if (!star.has_apparent || nodes_.empty() || !std::isfinite(altitude_deg) ||
      !std::isfinite(rate_turns_per_day) || !std::isfinite(reference_mjd)) {
    return bound;
  }
  const Vec& p = star.mid;
  const Vec& z = site_.zenith;
  const double e = norm(star.slope) + norm(star.curve);
  const double a_coef = p[0] * z[0] + p[1] * z[1];
  const double b_coef = p[1] * z[0] - p[0] * z[1];
  const double c_coef = p[2] * z[2];
  const double r = std::hypot(a_coef, b_coef);
  if (!(r > kOfDateLeastTerm) || !std::isfinite(e) || !std::isfinite(c_coef)) return bound;
  const double sin_a = std::sin((altitude_deg - kOfDateSlackDeg) * ERFA_DD2R);
  const double length = norm(p) + (sin_a >= 0 ? -e : e);
  double cos_cut = (length * sin_a - e - kOfDateComponentSlack - c_coef) / r;
  cos_cut -= 1e-12 * (1 + std::fabs(cos_cut));

  // The linear hour angle of date that meets the Earth rotation angle at the middle of
  // the tables.
  const double theta_turns = std::atan2(b_coef, a_coef) / ERFA_D2PI;
  double at_reference = era_middle_turns_ - theta_turns -
                        rate_turns_per_day * ((middle_jd_ - ERFA_DJM0) - reference_mjd);
  at_reference -= std::floor(at_reference);
  const double drift =
      std::fabs(era_rate_turns_ - rate_turns_per_day) * half_span_days_ + kLeapDayTurns + 1e-9;
  if (!std::isfinite(cos_cut) || !std::isfinite(at_reference) || !(drift < 0.01)) return bound;
  bound.turns_at_reference = at_reference;
  bound.beyond_turns = std::acos(std::clamp(cos_cut, -1.0, 1.0)) / ERFA_D2PI + drift;
  return bound;
}

}  // namespace astro
