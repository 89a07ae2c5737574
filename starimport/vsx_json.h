#pragma once
/// Replies of the VSX web service in JSON: {"VSXObject": {...}}, {"VSXObjects":
/// {"VSXObject": [...]}}, their empty forms, or a bare object or list of objects.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "source_record.h"

namespace starimport {

/// Why a JSON text gives no records: the message and the 1-based line at fault.
struct JsonFailure {
  long line = 0;
  std::string message;
};

/// Most levels of nesting taken; a reply has three.
inline constexpr int kMaxJsonDepth = 32;

/// The records of a VSX reply, in the order of the text, each with the line where its
/// object starts. Values are read as the text gives them (numbers keep their digits).
/// Keys in any case: Name, RA2000, Declination2000, VariabilityType, Period, Epoch,
/// MaxMag, MinMag ("2.0 V", "(0.20) V", "<13.14 V").
std::variant<std::vector<SourceRecord>, JsonFailure> read_vsx_json(std::string_view text);

}  // namespace starimport
