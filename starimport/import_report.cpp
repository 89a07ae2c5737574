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
  if (scales.heliocentric) line += "; epochs are HJD: run eclfore and phaselist with --epochs=hjd";
  if (scales.barycentric) {
    line += "; epochs are BJD (TDB): run eclfore and phaselist with --epochs=bjd";
  }
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

std::string closing_line(long written, long skipped, const EpochScales& scales) {
  return fmt::format("{} {} written, ", written, written == 1 ? "line" : "lines") +
         records_skipped(skipped) + time_scale_hints(scales);
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
