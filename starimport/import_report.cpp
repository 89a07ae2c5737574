#include "import_report.h"

#include <fmt/format.h>

#include "io/message_text.h"

namespace starimport {

void note_time_scale(EpochScales& scales, std::optional<astro::EpochScale> scale) {
  if (!scale) {
    scales.unknown = true;
  } else if (*scale == astro::EpochScale::kBjd) {
    scales.barycentric = true;
  } else if (*scale == astro::EpochScale::kHjd) {
    scales.heliocentric = true;
  }
}

namespace {

/// What the epochs' time scale asks of the programs that read the lines, each hint
/// after "; ".
std::string time_scale_hints(const EpochScales& scales) {
  std::string line;
  // The lines name their own scale (columns 138-140), which eclfore and phaselist take
  // whatever --epochs says: the hint only says what the scale is.
  if (scales.heliocentric) line += "; epochs are HJD, as the lines say";
  if (scales.barycentric) line += "; epochs are BJD (TDB), as the lines say";
  if (scales.unknown) {
    line +=
        "; a plain table does not say its epochs' time scale: run eclfore and phaselist "
        "with the --epochs its source names";
  }
  return line;
}

std::string records_skipped(long skipped) {
  return fmt::format("{} {} skipped", skipped, skipped == 1 ? "record" : "records");
}

}  // namespace

std::string closing_line(long written, long skipped, const EpochScales& scales,
                         long without_minimum) {
  std::string line = fmt::format("{} {} written, ", written, written == 1 ? "line" : "lines") +
                     records_skipped(skipped) + time_scale_hints(scales);
  // A blank magnitude at minimum reads as 0, a depth below zero: a condition asking for
  // any depth would pass these stars over without a word.
  if (without_minimum > 0) {
    line += fmt::format(
        "; {} {} no magnitude at minimum: only a condition with a negative least depth "
        "selects {}, or type the minimum into columns 78-81",
        without_minimum, without_minimum == 1 ? "line gives" : "lines give",
        without_minimum == 1 ? "it" : "them");
  }
  return line;
}

std::string refresh_closing_line(std::string_view path, const RefreshCounts& counts, long skipped) {
  std::string line =
      fmt::format("{}: {} {} refreshed, {} unchanged, ", io::escape_for_message(path),
                  counts.refreshed, counts.refreshed == 1 ? "star" : "stars", counts.unchanged);
  if (counts.not_refreshed > 0) line += fmt::format("{} not refreshed, ", counts.not_refreshed);
  line += fmt::format("{} not in the input, {} {}", counts.not_in_input, counts.new_stars,
                      counts.added ? "added" : "not in the file");
  line += "; " + records_skipped(skipped);
  if (!counts.rewritten) line += "; the file is left as it was";
  return line + time_scale_hints(counts.scales);
}

}  // namespace starimport
