#include "astro/horizon.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "astro/precision.h"

namespace astro {
namespace {

// Greenwich mean sidereal time, in turns, as a straight line in UT:
//   GMST = 0.671262 + 1.002737909 (MJD - 40000),
// both constants from Newcomb's expression GMST = 6h 38m 45.836s + 8640184.542s T +
// 0.0929s T^2 (T in Julian centuries of 36525 days from JD 2415020.0, 1900 January 0.5),
// the expression in use before 1984 (Explanatory Supplement to the Astronomical
// Ephemeris, 1961): its value at 0h UT of MJD 40000 (1968 May 24), 0.6712623 turns, and
// its rate, 1 + 8640184.542 / (36525 x 86400) = 1.0027379093 sidereal days a solar day,
// each rounded as written. The IAU 1982 expression (Aoki et al. 1982, A&A 105, 359),
// which ERFA's eraGmst82 evaluates, gives 0.6712629 turns at that instant (0.05 s of
// sidereal time more); the older values stay, as every output's bits depend on them.

/// Sidereal reference epoch, MJD (single precision): 1968 May 24, 0h UT.
constexpr float kSiderealEpochMjd = 40000.0f;
/// Mean sidereal days per mean solar day (Newcomb, see above).
constexpr double kSiderealRate = 1.002737909;
/// Greenwich mean sidereal time at the reference epoch, turns (Newcomb, see above).
constexpr double kSiderealAtEpoch = 0.671262;
/// Stands in for an exactly zero southward component (star at the zenith), so that
/// the azimuth's y / x stays finite.
constexpr double kTinyComponent = 1e-11;

}  // namespace

double local_sidereal_time(double mjd, float longitude_deg) {
  double t = static_cast<double>(
      ((static_cast<Ext>(mjd) - kSiderealEpochMjd) * static_cast<Ext>(kSiderealRate) +
       static_cast<Ext>(kSiderealAtEpoch)) +
      static_cast<Ext>(longitude_deg) * (1.0L / 360));
  // Truncation, not floor: before MJD 40000 the angle stays negative.
  t = static_cast<double>(static_cast<Ext>(t) - trunc_to_int(t));
  return static_cast<double>((2.0L * static_cast<Ext>(kPi)) * static_cast<Ext>(t));
}

HorizonTerms horizon_terms(float latitude, float dec) {
  const double phi = latitude;
  const double delta = dec;
  HorizonTerms t;
  t.cos_delta = std::cos(delta);
  t.sin_phi_cos_delta = static_cast<double>(static_cast<Ext>(std::sin(phi)) * t.cos_delta);
  t.minus_cos_phi_sin_delta =
      static_cast<double>(static_cast<Ext>(std::cos(phi)) * -static_cast<Ext>(std::sin(delta)));
  t.cos_phi_cos_delta = static_cast<double>(static_cast<Ext>(std::cos(phi)) * t.cos_delta);
  t.sin_phi_sin_delta = static_cast<double>(static_cast<Ext>(std::sin(phi)) * std::sin(delta));
  return t;
}

HorizontalPosition equatorial_to_horizontal(double lst, float latitude, float ra, float dec) {
  return equatorial_to_horizontal(lst, ra, horizon_terms(latitude, dec));
}

// The transformation of Meeus, "Astronomical Algorithms" (2nd ed., 1998), ch. 13, with
// the hour angle H = LST - ra and the azimuth A from the south through the west:
//   tan A = sin H / (cos H sin phi - tan delta cos phi)   (13.5)
//   sin h = sin phi sin delta + cos phi cos delta cos H   (13.6)
// Both sides of (13.5) are taken times cos delta (y and x below), which keeps A's
// quadrant; x is cos h cos A, so the altitude is atan(sin h / (x / cos A)).
HorizontalPosition equatorial_to_horizontal(double lst, float ra, const HorizonTerms& t) {
  const double h = static_cast<double>(static_cast<Ext>(lst) - static_cast<Ext>(ra));

  const double cos_h = std::cos(h);
  double x = static_cast<double>(static_cast<Ext>(cos_h) * t.sin_phi_cos_delta +
                                 static_cast<Ext>(t.minus_cos_phi_sin_delta));
  const double y =
      static_cast<double>(static_cast<Ext>(std::sin(h)) * static_cast<Ext>(t.cos_delta));

  if (x == 0.0) x = kTinyComponent;
  double a = std::atan(static_cast<double>(static_cast<Ext>(y) / static_cast<Ext>(x)));
  if (!(x > 0.0)) {
    a = static_cast<double>(static_cast<Ext>(a) + static_cast<Ext>(kPi));
  } else if (!(y > 0.0)) {
    a = static_cast<double>(static_cast<Ext>(a) + 2.0L * static_cast<Ext>(kPi));
  }

  HorizontalPosition out;
  out.azimuth = static_cast<float>(a);
  // The altitude is taken over the single-precision azimuth, as the azimuth is stored.
  const double cos_alt = static_cast<double>(
      static_cast<Ext>(x) / static_cast<Ext>(std::cos(static_cast<double>(out.azimuth))));
  const double sin_alt = static_cast<double>(static_cast<Ext>(cos_h) * t.cos_phi_cos_delta +
                                             static_cast<Ext>(t.sin_phi_sin_delta));
  out.altitude = static_cast<float>(
      std::atan(static_cast<double>(static_cast<Ext>(sin_alt) / static_cast<Ext>(cos_alt))));

  out.altitude =
      static_cast<float>(static_cast<Ext>(out.altitude) * 180.0L / static_cast<Ext>(kPi));
  out.azimuth = static_cast<float>(static_cast<Ext>(out.azimuth) * 180.0L / static_cast<Ext>(kPi));
  out.horizon = out.altitude >= 0.0f ? 1 : -1;
  return out;
}

}  // namespace astro
