#include "import_report.h"

#include <fmt/format.h>

namespace starimport {

void note_time_scale(EpochScales& scales, std::optional<astro::EpochScale> scale) {
  if (!scale) {
    scales.unknown = true;
  } else if (*scale == astro::EpochScale::kBjd) {
    scales.barycentric = true;
  } else {
    scales.heliocentric = true;
  }
}

std::string closing_line(long written, long skipped, const EpochScales& scales) {
  std::string line =
      fmt::format("{} {} written, {} {} skipped", written, written == 1 ? "line" : "lines", skipped,
                  skipped == 1 ? "record" : "records");
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

}  // namespace starimport
