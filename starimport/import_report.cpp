#include "import_report.h"

#include <fmt/format.h>

namespace starimport {

std::string closing_line(long written, long skipped, const EpochScales& scales) {
  std::string line =
      fmt::format("{} {} written, {} {} skipped", written, written == 1 ? "line" : "lines", skipped,
                  skipped == 1 ? "record" : "records");
  if (scales.heliocentric) line += "; epochs are HJD: run eclfore and phaselist with --epochs=hjd";
  if (scales.unknown) {
    line +=
        "; a plain table does not say its epochs' time scale: run eclfore and phaselist "
        "with the --epochs its source names";
  }
  return line;
}

}  // namespace starimport
