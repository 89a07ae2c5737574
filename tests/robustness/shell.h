#pragma once
/// Runs of the built programs through a small shell script, for what e2e::run cannot
/// set up: background jobs, signals, limits, other users.

#include <string>

#include "e2e.h"

namespace robustness {

/// A condition.dat that selects kStarLine, and answers for a run on the folder of
/// kStarLine, kForecastLine and kDailyList.
inline const std::string kConditions = "8.0 12.5 0.5 90 -30\n99\n";
inline const std::string kEclforeAnswers = "2006\n3\n20\n3\n0\n";
inline const std::string kNightmarkAnswers = "20\n0\n0\n";
/// The content of an output before the run, to be found byte for byte after a failure.
inline const std::string kOld = "the old output\r\n";

/// Runs `script` with /bin/sh in `dir`; the programs are $ECLFORE, $DATESEL, $NIGHTMARK,
/// $PHASELIST, $STARIMPORT. Returns the exit status (128 + N for a signal N).
int sh(const e2e::TempDir& dir, const std::string& script);

/// No temporary file of an output is left in the folder.
void expect_no_temporary_files(const e2e::TempDir& dir);

}  // namespace robustness
