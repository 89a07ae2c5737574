#pragma once
/// One catalogue record to one star.dat line, or the reason it is refused.

#include <optional>
#include <string>
#include <vector>

#include "astro/ephemeris.h"
#include "source_record.h"
#include "star_line.h"

namespace starimport {

/// The main type codes of the eclipsing binaries: the GCVS's and the ASAS types VSX gives
/// most of its eclipsing binaries (detached, semi-detached, contact); neither the
/// ellipsoidal ELL nor the planetary transit EP.
inline constexpr const char* kEclipsingTypes = "E,EA,EB,EW,EC,ED,ESD";

/// True when the main type code of `type` is one of kEclipsingTypes (any case).
bool is_eclipsing_type(std::string_view type);

/// What the command line asks of every line.
struct ConversionSettings {
  std::vector<std::string> types;  ///< main type codes kept (any case); empty: every type
  std::string passband = "V";      ///< preferred passband of the magnitudes
  char select_flag = ' ';          ///< column 88
  std::string label;               ///< columns 90-93
  /// The time scale of the source's epochs, when the source states it.
  std::optional<astro::EpochScale> time_scale;
};

/// A record's line, or the reason it is refused; with the warnings about a line that
/// is written all the same (a name cut, a magnitude left blank).
struct Conversion {
  std::optional<StarLine> line;
  std::string refusal;
  std::vector<std::string> warnings;
};

/// True when the main type code of `type` is one of `types` (or `types` is empty).
bool type_selected(std::string_view type, const std::vector<std::string>& types);

/// Converts one record. Refused, in this order: no name, a type not selected, no epoch
/// or a bad one, no period or a bad one (a limit), no position or a bad one. The
/// extension's duration and errors that cannot be read are left blank with a warning;
/// its time scale is the settings'.
Conversion convert_record(const SourceRecord& record, const ConversionSettings& settings);

}  // namespace starimport
