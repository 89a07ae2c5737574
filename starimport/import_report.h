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

/// "N lines written, M records skipped", then the epochs' time scale and how many lines
/// give no magnitude at minimum (`without_minimum`).
std::string closing_line(long written, long skipped, const EpochScales& scales,
                         long without_minimum = 0);

/// What a refresh did to the catalogue, for the closing line.
struct RefreshCounts {
  long refreshed = 0;      ///< star lines that took new elements
  long unchanged = 0;      ///< star lines whose elements the input gives as they stand
  long not_in_input = 0;   ///< star lines of no star of the input, left as they were
  long not_refreshed = 0;  ///< star lines of the input's stars left as they were, with a warning
  long new_stars = 0;      ///< the input's stars the catalogue lacks
  bool added = false;      ///< they were appended (--add)
  bool rewritten = false;  ///< false: nothing to change, the file was not touched
  EpochScales scales;      ///< of the lines refreshed or added
};

/// The closing line of a refresh (--update) of the catalogue `path`: "PATH: N stars
/// refreshed, N unchanged, [N not refreshed, ]N not in the input, N added (or N not in the
/// file); M records
/// skipped", whether the file was left as it was, and the time-scale hints of
/// closing_line.
std::string refresh_closing_line(std::string_view path, const RefreshCounts& counts, long skipped);

}  // namespace starimport
