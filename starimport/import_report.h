#pragma once
/// The importer's closing line on standard error.

#include <optional>
#include <string>
#include <string_view>

#include "astro/ephemeris.h"

namespace starimport {

/// The time scales of the epochs written, for the closing line.
struct EpochScales {
  bool heliocentric = false;  ///< some lines come from the GCVS, VSX or Kreiner's
  bool unknown = false;       ///< some from a table that does not say
  bool barycentric = false;   ///< some from the TESS or Gaia eclipsing binaries
};

/// Notes that a line with an epoch in `scale` (nothing: not known) was written.
void note_time_scale(EpochScales& scales, std::optional<astro::EpochScale> scale);

/// "N lines written, M records skipped", then what the epochs' time scale asks of the
/// programs that read the lines.
std::string closing_line(long written, long skipped, const EpochScales& scales);

}  // namespace starimport
