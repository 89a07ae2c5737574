#pragma once
/// The options that ask for the whole eclipse: --coverage (the least share of the eclipse
/// window to be observable) and --baseline (light outside the eclipse wanted on either
/// side), shared by the programs that judge a minimum by its window.

#include <optional>
#include <string_view>

#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kCoverageOption{
    "coverage", "PERCENT", "list a minimum with this share of its eclipse observable (0-100)"};
inline constexpr io::OptionSpec kBaselineOption{
    "baseline", "MINUTES", "with --coverage, minutes before and after the eclipse (default 0)"};

/// What --coverage and --baseline ask.
struct CoverageOptions {
  double least_pct = 0;     ///< the least observable share of the window, percent, 0 to 100
  double baseline_min = 0;  ///< minutes added to each side of the window, 0 or more
};

/// The options' values, or nothing without --coverage. Throws io::UsageError naming the
/// option and its value for a share outside 0 to 100 or not a number, a baseline below 0,
/// above a day or not a number, and for --baseline without --coverage.
std::optional<CoverageOptions> coverage_options(const io::Options& options);

}  // namespace formats
