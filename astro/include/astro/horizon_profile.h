#pragma once
/// The observer's own horizon: the altitude of the skyline (a roof, trees, a hill) at
/// each azimuth, from a few points of it.

#include <vector>

#include "astro/horizon.h"

namespace astro {

/// One point of a skyline, degrees.
struct HorizonPoint {
  double azimuth_deg = 0;   ///< from north through east, 0 to 360
  double altitude_deg = 0;  ///< -90 to 90
};

/// A skyline: its points sorted by azimuth (from north through east, in [0, 360); an
/// azimuth of 360 is north, 0), at least one. Between two neighbours its altitude runs
/// linearly in azimuth, round past north from the last point to the first; a single
/// point is the same altitude all round.
struct HorizonProfile {
  std::vector<HorizonPoint> points;
};

/// The profile of `points` (at least one, azimuths 0 to 360): sorted, points of equal
/// azimuth kept in the order given.
HorizonProfile horizon_profile(std::vector<HorizonPoint> points);

/// The skyline's altitude (degrees) at `azimuth_deg` (degrees from north through east,
/// any number of turns). NaN for an azimuth that is not a finite number.
double horizon_altitude_deg(const HorizonProfile& profile, double azimuth_deg);

/// The azimuth of a HorizontalPosition (degrees from south through west) counted from
/// north through east, in [0, 360).
double azimuth_from_north_deg(float azimuth_from_south_deg);

/// True when the star at `position` stands at or above the skyline at its azimuth;
/// false behind it, and false when its altitude or azimuth is not a number.
bool above_horizon(const HorizonProfile& profile, const HorizontalPosition& position);

}  // namespace astro
