#pragma once
/// What the importer says on standard error: warnings about records, bounded per
/// file, and the closing line.

#include <string>
#include <string_view>

namespace starimport {

/// Most warnings printed for one input file; the rest are counted.
inline constexpr long kMaxWarningsPerFile = 100;

/// The warnings of one input file: "warning: FILE:LINE: what" for the first
/// kMaxWarningsPerFile, then only counted.
class FileWarnings {
 public:
  explicit FileWarnings(std::string shown) : shown_(std::move(shown)) {}
  void warn(long line, std::string_view what);
  /// The line that says how many warnings were not printed, if any were not.
  void finish() const;

 private:
  std::string shown_;
  long count_ = 0;
};

/// The time scales of the epochs written, for the closing line.
struct EpochScales {
  bool heliocentric = false;  ///< some lines come from the GCVS or VSX
  bool unknown = false;       ///< some from a table that does not say
};

/// "N lines written, M records skipped", then what the epochs' time scale asks of the
/// programs that read the lines.
std::string closing_line(long written, long skipped, const EpochScales& scales);

}  // namespace starimport
