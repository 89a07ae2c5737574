#pragma once
/// The Sun, the Moon, the Earth and the apparent places of stars, from ERFA: twilight,
/// the Moon's nearness to a star, heliocentric and barycentric epochs, altitudes of
/// date. Nothing of the catalogue-place computations (astro/dates.h, astro/horizon.h)
/// calls anything here, so their bits never depend on ERFA.
///
/// Conventions of the whole module:
/// - instants are Julian Dates (days) in the scale named in the argument: `jd_utc` UTC,
///   `jd_tdb` TDB; UT1 is taken equal to UTC, and there is no polar motion;
/// - the site is at height 0 on the WGS84 ellipsoid: longitude degrees east, geodetic
///   latitude degrees north;
/// - star positions are ICRS (J2000) right ascension and declination in radians;
/// - altitudes are geometric: no refraction;
/// - TAI - UTC comes from ERFA's leap-second table; after its last entry the last
///   value holds (ERFA's "dubious year" status is expected there and ignored).
/// No range checking of the arguments is carried out: an instant outside what ERFA
/// can date (before -4799) gives a NaN altitude rather than a failure.

#include <array>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace astro {

/// Geometric altitude of the Sun's centre, degrees (no refraction), at a site at height 0.
/// jd_utc: Julian Date, UTC; longitude_deg: degrees east; latitude_deg: degrees north.
/// The direction is the apparent one (annual aberration), seen from the site.
double sun_altitude_deg(double jd_utc, double longitude_deg, double latitude_deg);

/// Topocentric geometric altitude of the Moon's centre, degrees (no refraction).
/// jd_utc: Julian Date, UTC; longitude_deg: degrees east; latitude_deg: degrees north.
double moon_altitude_deg(double jd_utc, double longitude_deg, double latitude_deg);

/// Illuminated fraction of the Moon's disc, 0 (new) to 1 (full), seen from the
/// geocentre. jd_utc: Julian Date, UTC.
double moon_illuminated_fraction(double jd_utc);

/// Altitude of a star of date, degrees: the ICRS (J2000) position (radians) taken to the
/// observed place at the instant (precession, nutation, aberration, light deflection), the
/// Earth's rotation from UTC (UT1 - UTC = 0, no polar motion), height 0, no refraction.
/// jd_utc: Julian Date, UTC; longitude_deg: degrees east; latitude_deg: degrees north.
double star_altitude_of_date_deg(double jd_utc, double longitude_deg, double latitude_deg,
                                 double ra_rad, double dec_rad);

/// Angular distance between the Moon's centre and a star as seen from the site,
/// degrees, 0 to 180 (both topocentric; the Moon's parallax reaches a degree).
/// jd_utc: Julian Date, UTC; site in degrees; ra_rad, dec_rad: ICRS, radians.
double moon_star_distance_deg(double jd_utc, double longitude_deg, double latitude_deg,
                              double ra_rad, double dec_rad);

/// The time scale of a catalogue's epochs.
enum class EpochScale {
  kJd,   ///< geocentric Julian Dates, used as they stand
  kHjd,  ///< heliocentric Julian Dates, UTC: instants at the Sun's centre
  kBjd,  ///< barycentric Julian Dates, TDB: instants at the solar-system barycentre
};

/// Geocentric UTC Julian Date of an instant given in `scale` for a star in the ICRS
/// direction ra_rad, dec_rad (radians): the light time along that direction from the
/// Sun's centre (kHjd) or the barycentre (kBjd) to the geocentre taken off, and for
/// kBjd also TDB - UTC. kJd returns `epoch_jd` unchanged. Exact ERFA computation.
double geocentric_jd_utc(double epoch_jd, EpochScale scale, double ra_rad, double dec_rad);

/// The inverse: the instant jd_utc (geocentric Julian Date, UTC) in `scale` for a star
/// in the ICRS direction ra_rad, dec_rad (radians). kJd returns `jd_utc` unchanged.
double epoch_jd_of(double jd_utc, EpochScale scale, double ra_rad, double dec_rad);

/// The star-independent part of apparent and observed places at one instant and site,
/// computed once (ERFA's eraApco13): for programs that ask for many stars at the
/// same instant. Each per-star answer equals the exact routine's above.
class InstantSky {
 public:
  /// jd_utc: Julian Date, UTC; longitude_deg: degrees east; latitude_deg: degrees north.
  InstantSky(double jd_utc, double longitude_deg, double latitude_deg);
  ~InstantSky();
  InstantSky(const InstantSky&);
  InstantSky& operator=(const InstantSky&);

  /// Where a star of ICRS ra_rad, dec_rad (radians) stands, of date (no refraction).
  struct Observed {
    double azimuth_deg = 0;   ///< from south through west, in (0, 360]
    double altitude_deg = 0;  ///< -90 to 90
  };
  Observed observed(double ra_rad, double dec_rad) const;
  /// The instant in `scale` for the star (ICRS radians): epoch_jd_of(jd_utc, ...).
  double epoch_jd(EpochScale scale, double ra_rad, double dec_rad) const;

 private:
  struct Data;
  std::unique_ptr<Data> data_;
};

/// The offset TDB - UTC at an instant, seconds (leap seconds, 32.184 s and the periodic
/// TDB - TT terms at the geocentre). jd_utc: Julian Date, UTC.
double tdb_minus_utc_s(double jd_utc);

/// The Sun's altitude at the ends of civil, nautical and astronomical twilight, degrees.
inline constexpr double kCivilTwilightDeg = -6;
inline constexpr double kNauticalTwilightDeg = -12;
inline constexpr double kAstronomicalTwilightDeg = -18;

/// What a run asks of the ephemerides ("today's sky"): each member that is set adds a
/// condition or a conversion.
struct SkyOptions {
  std::optional<double> sun_below_deg;      ///< list only with the Sun below, degrees
  std::optional<double> moon_distance_deg;  ///< leave out nearer the Moon, degrees
  EpochScale epochs = EpochScale::kJd;
  bool of_date = false;  ///< altitudes of the apparent place
  /// True when anything asks for the ephemerides (nothing set: none is computed).
  bool any() const {
    return sun_below_deg || moon_distance_deg || epochs != EpochScale::kJd || of_date;
  }
};

/// The star-independent geocentric values at one instant.
struct SkyNode {
  std::array<double, 3> sun{};          ///< geocentre to Sun, apparent, CIRS, au
  std::array<double, 3> moon{};         ///< geocentre to Moon, geometric, CIRS, au
  std::array<double, 3> earth_helio{};  ///< Sun to geocentre, BCRS axes, au
  std::array<double, 3> earth_bary{};   ///< barycentre to geocentre, BCRS axes, au
  double tdb_minus_tai_s = 0;           ///< 32.184 s + TDB - TT, seconds
};
/// The values of SkyNode at jd_utc (Julian Date, UTC), exactly (ERFA throughout).
/// A date ERFA cannot handle gives NaNs.
SkyNode sky_node(double jd_utc);

/// A site on the WGS84 ellipsoid at height 0, in the terrestrial frame.
struct SiteVectors {
  std::array<double, 3> zenith{};  ///< geodetic zenith, unit vector
  std::array<double, 3> site{};    ///< geocentre to site, au
};
/// The site at longitude_deg (degrees east), latitude_deg (degrees north).
SiteVectors site_vectors(double longitude_deg, double latitude_deg);
/// The site's vectors at jd_ut1 (Julian Date, UT1) in the apparent (CIRS) frame:
/// turned by the Earth rotation angle, no polar motion.
SiteVectors site_at(const SiteVectors& site, double jd_ut1);
/// UT1 of a UTC Julian Date with UT1 - UTC = 0, in ERFA's reading of a UTC Julian Date:
/// on a day that ends with a leap second its fraction counts 86401 SI seconds, so
/// there the two differ by up to a second; on every other day they are equal.
double ut1_of_utc(double jd_utc);

/// What one star needs for the tests of a window, computed once per star.
struct StarPlace {
  std::array<double, 3> icrs{};  ///< ICRS unit vector
  /// The apparent (CIRS) unit vector at the window's middle node and its first and
  /// second differences: c(u) = mid + u * slope + u * u * curve, u from -1 (the
  /// window's first node) to +1 (its last). Only filled when `has_apparent`.
  std::array<double, 3> mid{}, slope{}, curve{};
  bool has_apparent = false;
  /// The epoch scale's offset at the tables' day nodes, days: for kHjd the light time
  /// Sun -> geocentre (HJD - JD), for kBjd the light time barycentre -> geocentre plus
  /// TDB - TAI (BJD - TAI). Empty for kJd.
  std::vector<double> epoch_offset_days;
};

/// The observing conditions of a window of instants at a site, built once from the
/// SkyOptions and the window: tables of the Sun, the Moon and the Earth at nodes every
/// kNodeStepDays, interpolated (four-point Lagrange) at each instant.
///
/// Errors of the tables against the exact routines above (tests/astro/ephemeris_tables_test.cpp,
/// windows in 2016, 2026 and 2029): the Sun's altitude under 1e-7 degree, the Moon's
/// under 1e-6 degree, the Moon-star distance under 0.2" (a star's apparent place is a
/// parabola over the window; light deflection near the Sun departs from it), altitudes
/// of date under 0.4" (that and the diurnal aberration, at most 0.32", which the tables
/// leave out), geocentric instants under 0.1 ms.
/// Where a star's altitude of date certainly stays below a limit (for a prefilter that
/// needs no ephemeris): at every instant of the tables, with mjd its UTC MJD and
/// h = rate x (mjd - reference_mjd) + turns_at_reference the hour angle of date in
/// turns (as the caller computes it, within 1e-8 turns), the altitude of date is below
/// the limit when h lies more than beyond_turns from the nearest whole number.
struct LowAltitudeOfDate {
  double turns_at_reference = 0;
  double beyond_turns = 1;  ///< 1: no such hour angle is known
};

class ObservingConditions {
 public:
  /// Node spacing of the tables, days.
  static constexpr double kNodeStepDays = 0.125;
  /// Node spacing of a star's epoch offsets, days: the light time changes smoothly
  /// with the year and the month (the Earth about the Earth-Moon barycentre).
  static constexpr double kEpochNodeStepDays = 1;
  /// Spacing of the Sun's altitudes that decide most Sun tests at once, days.
  static constexpr double kSunSlotDays = 1.0 / 144;

  /// Tables for instants from first_jd_utc to last_jd_utc (Julian Dates, UTC; a
  /// day of margin is added at each end) at the site (degrees east, degrees north).
  /// Only what `options` asks for is computed.
  ObservingConditions(const SkyOptions& options, double first_jd_utc, double last_jd_utc,
                      double longitude_deg, double latitude_deg);
  ~ObservingConditions();
  ObservingConditions(const ObservingConditions&);
  ObservingConditions& operator=(const ObservingConditions&);

  /// True when jd_utc lies within the tables (the window and its margins).
  bool covers(double jd_utc) const;

  const SkyOptions& options() const { return options_; }

  /// The star-dependent part (ICRS radians), computed once per star.
  StarPlace star(double ra_rad, double dec_rad) const;

  /// Geocentric UTC Julian Date of the instant `epoch_jd` in the options' epoch scale.
  double geocentric_jd(double epoch_jd, const StarPlace& star) const;
  /// Most that geocentric_jd moves an instant of the tables for any star, days (0 for
  /// kJd; infinite when a node is not finite): the light time across the Earth's
  /// largest distance from the Sun or the barycentre, TDB - TAI and TAI - UTC, with room
  /// for the interpolation and for the exact conversions outside the tables and on a
  /// leap second's day.
  double epoch_shift_bound_days() const;
  /// True when no --sun-below is given or the Sun's altitude at jd_utc is below it.
  bool sun_ok(double jd_utc) const;
  /// True when no --moon-distance is given, the Moon is below the horizon at jd_utc,
  /// or it stands at least that far from the star.
  bool moon_ok(double jd_utc, const StarPlace& star) const;
  /// The same with the site's vectors at jd_utc (site_at_utc) computed by the caller.
  bool moon_ok(double jd_utc, const StarPlace& star, const SiteVectors& site) const;
  /// The star's altitude of date at jd_utc, degrees (needs star.has_apparent).
  float altitude_of_date(double jd_utc, const StarPlace& star) const;
  /// The same with the site's vectors at jd_utc (site_at_utc) computed by the caller.
  float altitude_of_date(double jd_utc, const StarPlace& star, const SiteVectors& site) const;
  /// The site at jd_utc in the apparent frame (UT1 from the tables' reading of UTC).
  SiteVectors site_at_utc(double jd_utc) const;
  /// The sine of the star's altitude of date at jd_utc the quick way, within
  /// kQuickSineOfDateError of the sine that altitude_of_date takes the arcsine of: the
  /// Earth rotation angle on a line through ERFA's at the middle of the tables, its
  /// cosine and sine from a short series. NaN where that is not proven (outside the
  /// tables, on the day of a leap second, without the apparent place).
  double quick_sine_of_date(double jd_utc, const StarPlace& star) const;
  static constexpr double kQuickSineOfDateError = 1e-8;
  /// The hour angles of date (turns, at `rate_turns_per_day` from reference_mjd) at
  /// which altitude_of_date(jd, star) is below `altitude_deg` for every jd of the tables;
  /// none without the apparent place.
  LowAltitudeOfDate low_altitude_of_date(const StarPlace& star, double altitude_deg,
                                         double rate_turns_per_day, double reference_mjd) const;
  /// True when --sun-below is given and sun_ok is false at every instant from
  /// first_jd_utc to last_jd_utc (Julian Dates, UTC) within the tables; false says
  /// nothing.
  bool sun_up_throughout(double first_jd_utc, double last_jd_utc) const;

  /// The Moon's illuminated fraction at jd_utc (moon_illuminated_fraction) from the
  /// tables' Sun and Moon (needs --moon-distance's tables).
  double moon_illuminated_fraction(double jd_utc) const;
  /// The star's upper culmination nearest jd_utc (upper_culmination_jd of
  /// astro/meridian.h) from its apparent place and the site's turning zenith: within
  /// 0.1 s of it (the diurnal aberration and the apparent place's parabola aside);
  /// the exact routine outside the tables or without the apparent place.
  double upper_culmination_jd(double jd_utc, const StarPlace& star) const;

  /// The interpolated values behind the tests, for checking the tables.
  double sun_altitude_deg(double jd_utc) const;
  double moon_altitude_deg(double jd_utc) const;
  double moon_star_distance_deg(double jd_utc, const StarPlace& star) const;

 private:
  /// Four-point Lagrange interpolation of a node member at jd_utc.
  std::array<double, 3> interpolate(double jd_utc, std::array<double, 3> SkyNode::*member) const;
  double interpolate_scalar(double jd_utc, double SkyNode::*member) const;
  /// UTC Julian Date of a TAI Julian Date, from the tables.
  double utc_of_tai(double jd_tai) const;
  /// The star's epoch offset at jd (days), interpolated.
  double epoch_offset(double jd, const StarPlace& star) const;
  /// True on the UTC day that ends with the tables' leap second: there the instants
  /// are converted exactly (ERFA stretches that day's fraction over 86401 s).
  bool in_leap_day(double jd_utc) const;

  SkyOptions options_;
  SiteVectors site_;
  double longitude_deg_ = 0, latitude_deg_ = 0;  ///< the site, degrees east and north
  double first_node_jd_ = 0;
  std::vector<SkyNode> nodes_;
  /// The Sun's interpolated altitude every kSunSlotDays from first_node_jd_, degrees.
  std::vector<double> sun_slots_deg_;
  /// Cosine of --moon-distance: a cosine of the distance below it decides at once.
  double moon_distance_cos_ = -2;
  /// Cosine of the geocentric distance beyond which the Moon is far enough from any site.
  double moon_far_cos_ = -2;
  double middle_jd_ = 0, half_span_days_ = 1;
  /// ERFA's Earth rotation angle at middle_jd_ and its rate, turns and turns a day.
  double era_middle_turns_ = 0, era_rate_turns_ = 1;
  /// Star-independent parameters of the apparent place at the first, middle and last
  /// instant of the tables (opaque ERFA parameter blocks).
  struct Astrom;
  std::vector<Astrom> star_nodes_;
  /// TAI - UTC in the tables' span: before and from the one leap second it may hold.
  double tai_minus_utc_before_s_ = 0, tai_minus_utc_after_s_ = 0;
  double leap_jd_utc_ = 0;  ///< UTC JD from which the second value holds
  bool has_leap_ = false;
};

}  // namespace astro
