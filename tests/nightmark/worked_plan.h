#pragma once
/// The daily list of the night of 5 March 2006 (the worked example), as plan entries.

#include <string>
#include <vector>

#include "plan_entry.h"

namespace nightmark::testing_plan {

inline constexpr NightDate kMarch5{2006, 3, 5};

inline const std::vector<std::string> kLines = {
    "ZZ Ori              K001 p 21.50  EA   45    5 36    12 34  10.2 11.5     1.2345678  "
    "2451234.5678 2453800.0208",
    "ASASJ091012-0507.2  K002 p 22.00  EA   49    9 10    -5  7  11.0 11.6     0.8765432  "
    "2452000.1234 2453800.0417",
    "WW Gem              K003 s 20.50  EB   70    6 50    20 10   9.8 10.3     0.6543210  "
    "2450500.4321 2453799.9792",
    "UU Lib              K004 p 26.20  EA   27   15 20   -20 30  10.5 12.0     2.3456789  "
    "2451800.9876 2453800.2167",
};

/// All four lines of the example, as a plan.
inline std::vector<PlanEntry> four_stars() {
  std::vector<PlanEntry> plan;
  for (const std::string& line : kLines) plan.push_back(read_plan_entry(line));
  return plan;
}

}  // namespace nightmark::testing_plan
