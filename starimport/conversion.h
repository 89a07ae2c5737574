#pragma once
/// One catalogue record to one star.dat line, or the reason it is refused.

#include <optional>
#include <string>
#include <vector>

#include "source_record.h"
#include "star_line.h"

namespace starimport {

/// What the command line asks of every line.
struct ConversionSettings {
  std::vector<std::string> types;  ///< main type codes kept (any case); empty: every type
  std::string passband = "V";      ///< preferred passband of the magnitudes
  char select_flag = ' ';          ///< column 88
  std::string label;               ///< columns 90-93
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
/// or a bad one, no period or a bad one (a limit), no position or a bad one.
Conversion convert_record(const SourceRecord& record, const ConversionSettings& settings);

}  // namespace starimport
