#pragma once
/// The pass over star.dat that the forecast and the phase table share: the same
/// skip steps, the same warnings and the same echo of each star's name.

#include <functional>
#include <optional>
#include <string>

#include "astro/catalogue.h"
#include "astro/text_files.h"

namespace astro {

/// What a program does with the stars of the catalogue.
struct StarVisitor {
  /// Decides before the echo whether a parsed record is one for the program at all
  /// (the phase table: the flagged stars); one it refuses is passed over without a
  /// word. Empty: every record is.
  std::function<bool(const StarRecord&)> wanted;
  /// Takes a star with usable light elements; returns why it had to be skipped (a
  /// warning is printed with "; skipped"), or nothing.
  std::function<std::optional<std::string>(const StarRecord&)> use;
};

/// Runs over the catalogue from `line`, already read when `have_line`, to the end
/// of `catalogue`. For each line: a blank line is passed over, a line that cannot
/// hold a star is reported on standard error and passed over; the record is parsed;
/// a record the visitor does not want is passed over; the name (all 20 characters,
/// no line end) is echoed on standard output; a record without light elements is
/// passed over, one with unusable elements reported and passed over; the rest go to
/// visitor.use. Warnings name the file and the line number.
void for_each_catalogue_star(LineReader& catalogue, std::string& line, bool have_line,
                             const StarVisitor& visitor);

}  // namespace astro
