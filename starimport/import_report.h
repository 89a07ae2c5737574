#pragma once
/// The importer's closing line on standard error.

#include <string>
#include <string_view>

namespace starimport {

/// The time scales of the epochs written, for the closing line.
struct EpochScales {
  bool heliocentric = false;  ///< some lines come from the GCVS or VSX
  bool unknown = false;       ///< some from a table that does not say
};

/// "N lines written, M records skipped", then what the epochs' time scale asks of the
/// programs that read the lines.
std::string closing_line(long written, long skipped, const EpochScales& scales);

}  // namespace starimport
