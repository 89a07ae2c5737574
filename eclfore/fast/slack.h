#pragma once
/// The room that the shortcuts leave for the roundings of the listing rule, where more
/// than one of them needs the same.

namespace eclfore::fast {

/// The horizon routines take the altitude over the single-precision azimuth, whose
/// rounding moves it by a bounded amount only with the star at least this far from due
/// east or west: its southward horizontal component |X| at least this (dimensionless),
/// so that |tan(azimuth)| = |Y / X| stays at most 1000.
inline constexpr double kLeastSouthward = 1e-3;

}  // namespace eclfore::fast
