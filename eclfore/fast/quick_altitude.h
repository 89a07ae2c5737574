#pragma once
/// The altitude field of a ForecastLine without the horizon routines. The line prints
/// the altitude to a tenth of a degree, and the horizon routines' altitude lies within a
/// few 1e-7 radians of the true one (more near due east or west, where it carries the
/// single-precision azimuth's rounding): so the sine of the altitude, from the hour
/// angle in a few double operations, decides the printed tenth and the lowest-altitude
/// test for all but the rare candidate within that distance of a decision. Those are
/// left to the horizon routines (the proof is in quick_altitude.cpp). The forecast takes it
/// for the altitude step of the listing rule.

#include <array>
#include <cstdint>
#include <optional>

#include "astro/horizon.h"
#include "listing_rule.h"

namespace eclfore::fast {

/// Printed tenths of a degree that the quick altitude decides: 0 to 89.7 degrees.
inline constexpr int kQuickTenths = 898;
/// Buckets of the sine (0 to 1) that point into the table of cell boundaries: narrower
/// than a cell up to 82 degrees (the cells' width in the sine is 0.1 degree x cos of
/// the altitude, 2.4e-4 at 82 degrees), so that one step from a bucket's first cell
/// finds a sine's cell there.
inline constexpr int kSineBuckets = 4096;
/// Above every sine: the entry after the last cell, where the steps stop.
inline constexpr double kSentinelSine = 2;

/// What the quick altitude needs for one lowest altitude, computed once for a run.
struct AltitudeCells {
  /// False when the lowest altitude is beyond what the quick altitude decides (above 89
  /// degrees or NaN): then every candidate goes to the horizon routines.
  bool usable = false;
  /// Sine of the lowest altitude (at least 0: the horizon).
  double sin_limit = 0;
  /// sin((k + 0.5) / 10 degrees): the upper end of the altitudes printed as k / 10;
  /// kSentinelSine after the last.
  std::array<double, kQuickTenths + 1> sin_upper{};
  /// The first k whose upper end lies above b / kSineBuckets.
  std::array<std::uint16_t, kSineBuckets + 1> first_cell{};
};

/// The cells for the lowest altitude of `rule`.
AltitudeCells altitude_cells(const ListingRule& rule);

/// What the quick altitude says of a candidate.
struct QuickAltitude {
  enum class Verdict {
    kBelow,   ///< the horizon routines put the star below the lowest altitude or the horizon
    kListed,  ///< at or above both, printed as `tenths` / 10 degrees
    kUnsure,  ///< too close to a decision: ask the horizon routines
  };
  Verdict verdict = Verdict::kUnsure;
  int tenths = 0;
};

/// The quick altitude of the star of `terms` at hour angle `hour_angle_turns` (turns, within
/// 1e-9 turns of the horizon routines' own hour angle, any whole number of turns apart).
QuickAltitude quick_altitude(const AltitudeCells& cells, const astro::HorizonTerms& terms,
                             double hour_angle_turns);

/// The sine of the horizon routines' altitude of the star of `terms` at hour angle
/// `hour_angle_turns` (as for quick_altitude), and how far theirs may lie from it; none
/// near due east or west or beyond the turns it takes, where no bound holds.
struct QuickSine {
  double sine = 0;
  double allowance = 0;
};
std::optional<QuickSine> quick_sine(const astro::HorizonTerms& terms, double hour_angle_turns);

/// Step 4 alone, as quick_altitude_of_sine decides it for an altitude known by a sine
/// within `allowance`: kListed when at or above the lowest altitude and the horizon
/// (tenths left 0), kBelow when under either, kUnsure when too close to say.
QuickAltitude::Verdict quick_high_enough(const AltitudeCells& cells, double sine, double allowance);

/// The verdict for an altitude whose double value, rounded to float degrees, is the one
/// tested and printed, known by a sine within `allowance` of the sine of that float:
/// listed as tenths / 10 when the sine +- allowance lies above the lowest altitude's and
/// between the sines of (tenths -+ 0.5) / 10 degrees, below when it lies under the lowest
/// altitude's (the sine grows with the altitude from -90 to 90 degrees).
QuickAltitude quick_altitude_of_sine(const AltitudeCells& cells, double sine, double allowance);

/// The most a float altitude (degrees, up to 90) lies from its double value, as a
/// sine: 2^-24 of 90 degrees in radians.
inline constexpr double kFloatAltitudeSine = 9.4e-8;
/// What the sine of ObservingConditions::quick_sine_of_date needs: its own error
/// (kQuickSineOfDateError) and the rounding of the altitude to float degrees, with room
/// to spare (checked where both are known, in forecast_star.cpp).
inline constexpr double kSineOfDateAllowance = 3e-7;

}  // namespace eclfore::fast
