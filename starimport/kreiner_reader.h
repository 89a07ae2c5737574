#pragma once
/// Kreiner's up-to-date linear elements (Krakow, the `*-cat.txt` files): a header that
/// ends with a line "cut header here!" and a line of '^', then two-line records.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "source_record.h"

namespace starimport {

/// The line that ends the header of a Kreiner file (before a line of '^').
bool is_kreiner_header_end(std::string_view line);

/// True when `line` is the first line of a Kreiner record: "RT    And 2012  8.97 |F8V+K1
/// EA/RS       for  ALL" (a '|', then "for" and ALL, PRI or SEC at the end).
bool is_kreiner_first_line(std::string_view line);

/// Which minima a record's elements serve.
enum class KreinerMinima { all, primary, secondary };

/// One record of the file, its fields as written.
struct KreinerRecord {
  long line = 0;  ///< of its first line
  KreinerMinima minima = KreinerMinima::all;
  std::string name;      ///< e.g. "RT    And", as written
  std::string type;      ///< e.g. "EA/RS"
  std::string max;       ///< V at maximum
  std::string ra;        ///< "hh mm ss"
  std::string dec;       ///< "-dd mm ss"
  std::string duration;  ///< D, days
  std::string period;    ///< days
  std::string epoch;     ///< M0, full HJD
};

/// The record of two lines (without their line ends) starting at line `number`, or why
/// they are none.
std::variant<KreinerRecord, std::string> read_kreiner_record(std::string_view first,
                                                             std::string_view second, long number);

/// True when `a` and `b` are records of the same star (names compared as star_name_key).
bool same_kreiner_star(const KreinerRecord& a, const KreinerRecord& b);

/// The source record of a star from its record of all minima or of the primary ones,
/// with the record of its secondary minima when there is one: the secondary's eclipse
/// duration, and the phase of the secondary minimum from the two epochs. A D of 0.01 day
/// or less is no measurement (EB and EW stars have it): not given.
SourceRecord kreiner_source_record(const KreinerRecord& main,
                                   const std::optional<KreinerRecord>& secondary);

}  // namespace starimport
