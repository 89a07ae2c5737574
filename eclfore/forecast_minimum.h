#pragma once
/// One minimum that the forecast search accepted: what the ForecastLine shows and
/// what any other consumer of the month's minima (a chart, an export) takes.

#include <optional>

#include "astro/dates.h"
#include "formats/catalogue.h"

namespace eclfore {

/// Which minimum of the light curve.
enum class MinimumKind {
  kPrimary,    ///< at phase 0
  kSecondary,  ///< at the secondary phase: 0.5 unless the star.dat line gives another
};

/// A minimum that falls in a night of the asked month with the star high enough.
struct ForecastMinimum {
  /// The star, as read from the catalogue; valid while the consumer runs.
  const formats::StarRecord* star = nullptr;
  MinimumKind kind = MinimumKind::kPrimary;
  double minimum_mjd = 0;  ///< instant of the minimum, MJD (days, UT)
  double minimum_jd = 0;   ///< the same instant as a Julian Date (days, UT)
  astro::LocalDate night;  ///< JST night date; hour 18 to 29 (12 to 35 when the Sun sets the
                           ///< night), minute 0 to 60
  float altitude_deg = 0;  ///< altitude of the star at the minimum, degrees
  /// The instant as the star's elements give it (MJD, days, in the epoch's time scale):
  /// the one its cycle count is taken from.
  double candidate_mjd = 0;
  /// The share of the eclipse window that --coverage found observable, percent; none
  /// without the option or a duration.
  std::optional<double> coverage_pct = std::nullopt;
};

}  // namespace eclfore
