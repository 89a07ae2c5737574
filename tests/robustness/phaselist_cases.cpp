// Bad input for phaselist: star.dat, the start and stop answers, and isou.txt that
// cannot be written.
#include <string>
#include <vector>

#include "matrix.h"
#include "programs.h"

namespace robustness {
namespace {

const std::string kTabled = "EX Demo             2453000.1234  1.234567800 EA    9.8-10.9";
const std::string kStop = "2006 3 7 5 45\n";

Expect tables(std::string why) { return holding(succeeds(std::move(why)), "isou.txt", kTabled); }

const std::vector<Prompt> kPrompts = {{"start", ""},
                                      {"start_after_three_numbers", "2006 3 7 "},
                                      {"stop", "2006 3 7 4 30\n"},
                                      {"stop_after_four_numbers", "2006 3 7 4 30\n2006 3 7 5 "}};

std::vector<Case> answer_cases() {
  return {
      {"answer_start_year_beyond_int",
       {},
       "99999999999 3 7 4 30\n" + kStop,
       fails_before_writing()},
      {"answer_start_of_10000_digits",
       {},
       std::string(10000, '4') + " 3 7 4 30\n" + kStop,
       fails_before_writing()},
      {"answer_start_decimal_point", {}, "2006 3 7 4.5 30\n" + kStop, fails_before_writing()},
      {"answer_start_plus_inf", {}, "+INF 3 7 4 30\n" + kStop, fails_before_writing()},
      {"answer_stop_minus_nan", {}, "2006 3 7 4 30\n-NAN 3 7 5 45\n", fails_before_writing()},
      {"answer_start_hex", {}, "0x7D6 3 7 4 30\n" + kStop, fails_before_writing()},
      {"answer_start_largest_ints",
       {},
       "2147483647 2147483647 2147483647 2147483647 2147483647\n" + kStop,
       fails_before_writing()},
      {"answer_stop_smallest_ints",
       {},
       "2006 3 7 4 30\n-2147483648 -2147483648 -2147483648 -2147483648 -2147483648\n",
       fails_before_writing()},
      {"answer_start_largest_ints_but_the_year",
       {},
       "9999 2147483647 2147483647 2147483647 2147483647\n" + kStop,
       with_warning(
           succeeds("beyond the year typed times are not range-checked; a star whose cycle count "
                    "does not fit 32 bits is skipped with a warning"))},
      {"answer_stop_smallest_ints_but_the_year",
       {},
       "2006 3 7 4 30\n-999 -2147483648 -2147483648 -2147483648 -2147483648\n",
       with_warning(
           succeeds("beyond the year typed times are not range-checked; a star whose cycle count "
                    "does not fit 32 bits is skipped with a warning"))},
      {"answer_start_year_of_five_digits", {}, "10000 3 7 4 30\n" + kStop, fails_before_writing()},
  };
}

std::vector<Case> output_cases() {
  return {
      {"isou_txt_is_a_directory", {directory("isou.txt")}, {}, fails_before_writing()},
  };
}

}  // namespace

std::vector<ProgramCase> phaselist_cases() {
  return cases_of(phaselist, {star_catalogue_cases("isou.txt", kTabled, ""),
                              dialogue_cases(kPrompts, phaselist().good_answers,
                                             quietly(tables("the good answers"))),
                              answer_cases(), output_cases()});
}

}  // namespace robustness
