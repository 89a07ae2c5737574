#pragma once
/// Records of the GCVS 5.1 main table, gcvs5.txt.

#include <string>
#include <string_view>
#include <variant>

#include "source_record.h"

namespace starimport {

/// True when `line` has the '|' separators of a GCVS 5.1 record at every byte where
/// the table puts them.
bool has_gcvs_separators(std::string_view line);

/// The fields of one gcvs5.txt line (without its line end), or why it is not a record
/// of the table. The position "hhmmss.ss" "+ddmmss.s" is given on as "hh mm ss.ss"
/// "+dd mm ss.s"; the epoch as written (JD - 2400000).
std::variant<SourceRecord, std::string> read_gcvs_record(std::string_view line, long number);

}  // namespace starimport
