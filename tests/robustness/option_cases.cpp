// Bad option values for every program: the site, the zone, the horizon file and the
// answers given as options. A bad value is a usage fault (status 2) and a horizon
// file that cannot be used a failure (status 1); either ends the run before any
// output is touched.
#include <string>
#include <vector>

#include "matrix.h"
#include "programs.h"

namespace robustness {
namespace {

/// Each value as `--NAME=value`, a usage fault.
std::vector<Case> usage_cases(const std::string& option, const std::vector<std::string>& values) {
  std::vector<Case> cases;
  int n = 0;
  for (const std::string& value : values) {
    cases.push_back({option + "_bad_value_" + std::to_string(++n),
                     {},
                     {},
                     usage_fault(),
                     {"--" + option + "=" + value}});
  }
  return cases;
}

std::vector<Case> site_cases() {
  return usage_cases("site", {"", "0", "12", "hirosima", "nan,nan", "inf,0", "361,0", "0,91",
                              "1,2,3", ",", "1e999,0", "\x1b[2J", std::string(10000, '9')});
}

std::vector<Case> zone_cases() {
  return usage_cases("zone", {"", "Mars/Olympus", "../../etc/passwd", "/etc/localtime", "+25:00",
                              "+9", "+09:60", "\x1b[2J", std::string(5000, 'A')});
}

/// The horizon file spoiled in each way: `good_answers` answer the run that succeeds.
std::vector<Case> horizon_cases() {
  const std::vector<std::string> args = {"--horizon=horizon.hrz"};
  std::string many_points;
  for (int i = 0; i < 10000; ++i) {
    many_points += std::to_string(i * 0.036) + " " + std::to_string(i % 7) + "\n";
  }
  return {
      {"horizon_file_missing", {}, {}, fails_before_writing(), args},
      {"horizon_file_is_a_directory", {directory("horizon.hrz")}, {}, fails_before_writing(), args},
      {"horizon_file_empty", {content("horizon.hrz", "")}, {}, fails_before_writing(), args},
      {"horizon_file_comments_only",
       {content("horizon.hrz", "# north\n\n# south\n")},
       {},
       fails_before_writing(),
       args},
      {"horizon_file_nan_and_infinity",
       {content("horizon.hrz", "0 nan\n90 inf\n")},
       {},
       fails_before_writing(),
       args},
      {"horizon_file_control_bytes",
       {content("horizon.hrz", "0 5\n" + kControlBytes + "\n")},
       {},
       fails_before_writing(),
       args},
      {"horizon_file_cr_only_line_ends",
       {content("horizon.hrz", "0 5\r90 10\r180 0\r")},
       {},
       fails_before_writing(),
       args},
      {"horizon_file_of_10000_points",
       {content("horizon.hrz", many_points)},
       {},
       succeeds("a skyline of any number of points is read and used"),
       args},
      {"horizon_option_without_a_file", {}, {}, usage_fault(), {"--horizon="}},
  };
}

}  // namespace

std::vector<ProgramCase> option_cases() {
  std::vector<ProgramCase> cases;
  for (const auto& part : {
           cases_of(eclfore, {site_cases(), zone_cases(), horizon_cases(),
                              usage_cases("year", {"10000", "-1000", "2006.5", "y"}),
                              usage_cases("month", {"0", "13", "nan"}),
                              usage_cases("lowest", {"nan", "91", "-inf"}),
                              usage_cases("condition", {"2", "-1", "99", "0x1"})}),
           cases_of(datesel, {zone_cases(), usage_cases("day", {"0", "32", "x", "6.5"})}),
           cases_of(nightmark, {site_cases(), zone_cases(), horizon_cases(),
                                usage_cases("start", {"30:00", "11:60", "21", "dawn"}),
                                usage_cases("sky", {"north", ""})}),
           cases_of(phaselist,
                    {site_cases(), zone_cases(), horizon_cases(),
                     usage_cases("start", {"2006-13-01T00:00", "2006-03-07", "10000-01-01T00:00"}),
                     usage_cases("stop", {"2006-03-07T30:00", "garbage"})}),
       }) {
    cases.insert(cases.end(), part.begin(), part.end());
  }
  return cases;
}

}  // namespace robustness
