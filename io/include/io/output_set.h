#pragma once
/// Output files of one run that are replaced together or not at all.

#include <memory>
#include <string>
#include <vector>

#include "io/output_file.h"

namespace io {

/// Files of one run that belong together (nightmark's plan and its mark files): none
/// replaces its old file before all are complete and every name is known to be
/// replaceable, and the renames of two runs in one folder never interleave (an advisory
/// lock on the folder of the first file is held while they are made).
class OutputSet {
 public:
  OutputSet();
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  /// Opens one more output of the set. Nothing on disk changes until commit(): a
  /// failure of any later file leaves every old file of the set as it was.
  OutputFile& add(const std::string& path);
  /// Completes every file (flushed, synced), checks every name again (and opens those
  /// rewritten in place), then replaces them all. Throws RunError naming the file at
  /// fault; then no file of the set was replaced, unless a rename or the rewriting of
  /// an old file itself failed (a disk error).
  void commit();

 private:
  std::vector<std::unique_ptr<OutputFile>> files_;
};

}  // namespace io
