#pragma once
/// The pass over star.dat that the forecast and the phase table share: the same
/// skip steps, the same warnings, and each star's name handed on at the same step for
/// the programs' echo.

#include <functional>
#include <optional>
#include <string>

#include "formats/catalogue.h"
#include "io/text_files.h"

namespace formats {

/// What a program does with the stars of the catalogue.
struct StarVisitor {
  /// Decides before the echo whether a parsed record is one for the program at all
  /// (the phase table: the flagged stars); one it refuses is passed over without a
  /// word. Empty: every record is.
  std::function<bool(const StarRecord&)> wanted;
  /// Takes each wanted record before its light elements are looked at: the programs
  /// echo its name on the console here. Empty: nothing is done.
  std::function<void(const StarRecord&)> named;
  /// Takes a star with usable light elements; returns why it had to be skipped (a
  /// warning is printed with "; skipped"), or nothing.
  std::function<std::optional<std::string>(const StarRecord&)> use;
};

/// Runs over the catalogue from `line`, already read when `have_line`, to the end
/// of `catalogue`. For each line: a blank line is passed over, a line that cannot
/// hold a star is reported on standard error and passed over; the record is parsed;
/// a record the visitor does not want is passed over; the rest go to visitor.named;
/// a record without light elements is
/// passed over, one with unusable elements reported and passed over; the rest have the
/// bad fields of their extension reported (each then reads as blank) and go to
/// visitor.use. Warnings name the file and the line number.
void for_each_catalogue_star(io::LineReader& catalogue, std::string& line, bool have_line,
                             const StarVisitor& visitor);

}  // namespace formats
