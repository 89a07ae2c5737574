#include "astro/horizon.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "astro/precision.h"

namespace astro {
namespace {

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
