#pragma once
/// The optional extension of a star.dat line after the catalogue field: the eclipse
/// durations, the phase of the secondary minimum, the uncertainties of the elements and
/// the time scale of the epoch. Each field may be blank (unknown); a line that ends at
/// the catalogue field, as the catalogues of before, has all of them blank.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/ephemeris.h"

namespace formats {

/// The extension fields of one star.dat line; nothing stands for a blank field.
struct StarExtension {
  /// Primary eclipse, first to last contact, percent of the period: above 0, at most 100.
  std::optional<double> eclipse_duration_pct = std::nullopt;
  /// The same for the secondary eclipse; nothing: as the primary.
  std::optional<double> secondary_duration_pct = std::nullopt;
  /// Phase of the secondary minimum, strictly between 0 and 1; nothing: 0.5.
  std::optional<double> secondary_phase = std::nullopt;
  /// Standard uncertainty of the epoch, days, 0 or more.
  std::optional<double> epoch_error_days = std::nullopt;
  /// Standard uncertainty of the period, days, 0 or more.
  std::optional<double> period_error_days = std::nullopt;
  /// Time scale of this line's epoch; nothing: as --epochs says.
  std::optional<astro::EpochScale> time_scale = std::nullopt;

  bool operator==(const StarExtension&) const = default;
};

/// Phase of the secondary minimum when the line leaves it blank.
inline constexpr double kDefaultSecondaryPhase = 0.5;

/// Reads the extension of a star.dat line (without its line end). A field that is not
/// blank and not a number in its range (the time scale: not JD, HJD or BJD), or whose
/// text reaches a column between the fields, reads as blank; what is wrong with it is
/// appended to `problems` (when given), one text per field naming it, for a warning.
StarExtension parse_star_extension(std::string_view line, std::vector<std::string>* problems);

/// The text that follows the catalogue field of a star.dat line for `extension`: from
/// the blank after the catalogue field to the end of the last known field, numbers
/// right-aligned in the shortest text that reads back to the same value, the time scale
/// left-aligned; empty when every field is unknown. parse_star_extension reads it back.
/// Throws std::invalid_argument naming the field when a value is outside its range or
/// its text is wider than its columns.
std::string format_star_extension(const StarExtension& extension);

/// Standard uncertainty of the instant of a minimum `cycles` periods after the epoch
/// (n for a primary minimum, n + the secondary phase for a secondary one), days: the
/// errors of the epoch and of the period propagated, sqrt(epoch_error^2 + (cycles x
/// period_error)^2). Nothing when either error is unknown.
std::optional<double> minimum_uncertainty_days(const StarExtension& extension, double cycles);

/// How far the timing uncertainty widens the eclipse window of that minimum on each
/// side, days: minimum_uncertainty_days, at most `period_days`. An uncertainty of a
/// period or more leaves even the minimum's cycle unknown (the window would hold every
/// phase), and unbounded, a mistyped error made the window centuries long.
std::optional<double> window_widening_days(const StarExtension& extension, double cycles,
                                           double period_days);

/// "JD", "HJD" or "BJD": the word that stands for `scale` in the time scale field.
std::string_view time_scale_word(astro::EpochScale scale);

}  // namespace formats
