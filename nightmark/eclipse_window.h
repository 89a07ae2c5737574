#pragma once
/// The eclipse window of a plan line: first to last contact around the minimum, from the
/// duration of the star's line in star.dat (found by name), and the window's timing
/// uncertainty from the errors of its elements.

#include <map>
#include <optional>
#include <string>

#include "formats/catalogue.h"
#include "formats/star_extension.h"

namespace nightmark {

/// What the window needs of a star's line in star.dat.
struct StarElements {
  double epoch_jd = 0;     ///< epoch of primary minimum, JD
  double period_days = 0;  ///< days
  formats::StarExtension extension;
};

/// The usable lines of `star_file` by name, trailing blanks removed from the names; the
/// first line of a name counts. Empty when the file is missing. The extension's faults
/// are not warned of here (eclfore names them); a faulty field reads as blank.
std::map<std::string, formats::StarRecord> catalogue_stars(const std::string& star_file);

/// What the window needs of a star's line.
StarElements star_elements(const formats::StarRecord& star);

/// The usable lines of `star_file` by name, trailing blanks removed; the first line of a
/// name counts. Empty when the file is missing. The extension's faults are not warned
/// of here (eclfore names them); a faulty field reads as blank.
std::map<std::string, StarElements> catalogue_elements(const std::string& star_file);

/// Half the stretch highlighted around a minimum without a known duration, hours.
inline constexpr double kUnknownWindowHalfHours = 1;

/// An eclipse window around a minimum, hours either side of it.
struct EclipseWindow {
  double half_hours = kUnknownWindowHalfHours;  ///< minimum to first (and last) contact
  bool from_duration = false;  ///< false: no duration known, kUnknownWindowHalfHours
  /// Standard timing uncertainty of the minimum, hours, at most a period
  /// (formats::window_widening_days); nothing when an error is blank.
  std::optional<double> uncertainty_hours;

  /// Half the window that --coverage judges, hours: the eclipse widened by the
  /// uncertainty when known; 0, the minimum alone, without a duration.
  double judged_half_hours() const {
    return from_duration ? half_hours + uncertainty_hours.value_or(0) : 0;
  }
};

/// The window of the minimum of `kind` ('s' secondary, anything else primary) at
/// `minimum_jd` (JD, 0 when not known) of `star` (null: not in star.dat): D x P / 200
/// either side, D the secondary's duration for a secondary minimum (the primary's when
/// blank). The uncertainty takes the cycle count of the minimum nearest `minimum_jd`
/// (n for a primary, n + the secondary phase for a secondary).
EclipseWindow eclipse_window(const StarElements* star, char kind, double minimum_jd);

}  // namespace nightmark
