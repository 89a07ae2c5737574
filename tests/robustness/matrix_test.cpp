// The bad-input matrix of the four programs, and every output file on a full disk.
#include "matrix.h"

#include <gtest/gtest.h>

#include <vector>

#include "programs.h"

namespace robustness {
namespace {

std::vector<ProgramCase> all_cases() {
  std::vector<ProgramCase> cases;
  for (const auto& part :
       {eclfore_cases(), datesel_cases(), nightmark_cases(), phaselist_cases(), option_cases()}) {
    cases.insert(cases.end(), part.begin(), part.end());
  }
  return cases;
}

/// A write that does not reach the disk must end the run with status 1 and a
/// message, never be reported as success.
std::vector<ProgramCase> disk_full_cases() {
  return {
      {eclfore, {"eclfore_data_dat", {dev_full("data.dat")}, {}, fails_while_writing()}},
      {datesel, {"datesel_obsday_dat", {dev_full("obsday.dat")}, {}, fails_while_writing()}},
      // The plan fails before the mark files are opened: they keep their old content.
      {nightmark, {"nightmark_obsday3_txt", {dev_full("obsday3.txt")}, {}, fails_before_writing()}},
      {nightmark,
       {"nightmark_lplanet_adf",
        {dev_full("lplanet.adf")},
        {},
        except(fails_while_writing(), "obsday3.txt", Output::kUntouched)}},
      {nightmark,
       {"nightmark_lightpl_mrk",
        {dev_full("lightpl.mrk")},
        {},
        except(fails_while_writing(), "obsday3.txt", Output::kUntouched)}},
      {phaselist, {"phaselist_isou_txt", {dev_full("isou.txt")}, {}, fails_while_writing()}},
  };
}

std::string case_name(const testing::TestParamInfo<ProgramCase>& info) { return info.param.c.name; }

class BadInput : public testing::TestWithParam<ProgramCase> {};

TEST_P(BadInput, EndsSoundly) { run_case(GetParam().program(), GetParam().c); }

INSTANTIATE_TEST_SUITE_P(Matrix, BadInput, testing::ValuesIn(all_cases()), case_name);

class DiskFull : public testing::TestWithParam<ProgramCase> {};

TEST_P(DiskFull, FailsWithAMessage) { run_case(GetParam().program(), GetParam().c); }

INSTANTIATE_TEST_SUITE_P(Matrix, DiskFull, testing::ValuesIn(disk_full_cases()), case_name);

}  // namespace
}  // namespace robustness
