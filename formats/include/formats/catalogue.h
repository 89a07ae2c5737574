#pragma once
/// The star catalogue record (one line of star.dat), as eclfore, phaselist and nightmark's
/// lists read it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/ephemeris.h"
#include "formats/layouts.h"
#include "formats/star_extension.h"

namespace formats {

/// A star.dat line shorter than this (line end not counted) cannot hold a star: it
/// must reach the magnitude at minimum light.
inline constexpr std::size_t kMinStarLineLength = star_line::kMagMin.end();

/// One star of the catalogue: the fields as typed and the values derived from them.
struct StarRecord {
  std::string name;           ///< columns 0-19, blank-padded
  std::string elements_text;  ///< columns 20-45: epoch and period text as typed
  std::string catalogue;      ///< columns 90-93, free text
  std::string var_type;       ///< columns 70-71
  double epoch_mjd = 0;       ///< epoch of primary minimum, MJD (JD - 2400000.5)
  double period = 0;          ///< days
  float ra_hour_part = 0;     ///< right ascension field: whole hours
  float ra_minute_part = 0;   ///< right ascension field: minutes
  float ra_second_part = 0;   ///< right ascension field: whole seconds
  float ra_hours = 0;         ///< the whole right ascension, hours
  float dec_degree_part = 0;  ///< declination field: whole degrees with sign (-0 for "-00")
  float dec_minute_part = 0;  ///< arc minutes, negated when the degree field has a minus
  float dec_degrees = 0;      ///< the whole declination, degrees
  float mag_max = 0;          ///< magnitude at maximum light
  float mag_min = 0;          ///< magnitude at minimum light
  int select_flag = 0;        ///< column 88, one digit; digit & 2 selects for the phase table
  bool epoch_blank = false;   ///< the epoch field holds only blanks
  StarExtension extension;    ///< the fields after the catalogue field, if any
};

/// Why a star.dat line (without its line end) cannot hold a star, or nothing when
/// it can. An empty text means a blank line, passed over without a word; otherwise
/// the text says what is wrong, for a warning: too short, or a NUL byte (which would
/// end the name early when it is printed and shift every later column).
std::optional<std::string> unusable_star_line(std::string_view line);

/// Parses a star.dat line (without its line end). Columns past the end read as blanks.
/// What is wrong with the extension's fields (parse_star_extension) is appended to
/// `extension_problems` when given.
StarRecord parse_star_record(std::string_view line,
                             std::vector<std::string>* extension_problems = nullptr);

/// The time scale of the star's epoch: its line's own, or `epochs` (the --epochs of the
/// run) when the line names none.
inline astro::EpochScale epoch_scale_of(const StarRecord& star, astro::EpochScale epochs) {
  return star.extension.time_scale.value_or(epochs);
}

/// Why a record with a non-zero period cannot be used, or nothing when it can:
/// a blank epoch field, a negative period, a non-finite epoch or period.
std::optional<std::string> star_record_problem(const StarRecord& star);

/// True when the record carries no light elements and is passed over without a
/// word: a period of exactly 0 (blank field) or an epoch of exactly MJD 0.
inline bool lacks_elements(const StarRecord& star) {
  return star.period == 0 || star.epoch_mjd == 0;
}

/// A catalogue star's position taken as ICRS (J2000), radians, double precision.
struct IcrsPosition {
  double ra_rad = 0;
  double dec_rad = 0;
};
IcrsPosition icrs_position(const StarRecord& star);

/// True when the phase table lists the star (flag digits 2, 3, 6, 7).
inline bool selected_for_phase_table(const StarRecord& star) { return (star.select_flag & 2) != 0; }

}  // namespace formats
