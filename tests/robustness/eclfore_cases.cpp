// Bad input for eclfore: condition.dat, star.dat, every answer of the dialogue, and
// data.dat that cannot be written.
#include <string>
#include <vector>

#include "matrix.h"
#include "programs.h"

namespace robustness {
namespace {

using namespace std::string_literals;

const std::string kForecast = "EX Demo             C012 p 2006 10";

std::vector<Case> condition_cases() {
  const std::string row = "8.0 12.5 0.5 90 -30";
  return {
      {"condition_dat_row_shorter_than_five_numbers",
       {content("condition.dat", "8.0 12.5 0.5\n99\n")},
       {},
       fails_before_writing()},
      {"condition_dat_line_of_10000_characters",
       {content("condition.dat", padded(row, 10000) + "\n99\n")},
       {},
       quietly(holding(succeeds("blanks between the numbers are white space of any length"),
                       "data.dat", kForecast))},
      {"condition_dat_number_of_10000_digits",
       {content("condition.dat", std::string(10000, '9') + " 12.5 0.5 90 -30\n99\n")},
       {},
       succeeds("the scan reads a number too large for a float as infinity, a bright "
                "limit that no star passes: an empty forecast")},
      {"condition_dat_control_bytes_in_the_first_row",
       {content("condition.dat", "8.0"s + kControlBytes + " 12.5 0.5 90 -30\n99\n")},
       {},
       fails_before_writing()},
      {"condition_dat_control_bytes_after_a_complete_row",
       {content("condition.dat", row + "\n" + kControlBytes + "\n99\n")},
       {},
       with_warning(holding(succeeds("the complete row before the bytes counts; the bytes "
                                     "end the reading with a warning"),
                            "data.dat", kForecast))},
      {"condition_dat_cr_only_line_ends",
       {content("condition.dat", row + "\r6.0 10.0 0.3 60 0\r99\r")},
       {},
       quietly(holding(succeeds("a CR is white space between numbers"), "data.dat", kForecast))},
      {"condition_dat_ctrl_z_in_the_middle",
       {content("condition.dat", row + "\n\x1a\nwords after the end\n")},
       {},
       with_warning(holding(succeeds("a Ctrl-Z ends the file; the row before it counts and "
                                     "the missing terminator is warned of"),
                            "data.dat", kForecast))},
      {"condition_dat_huge_tiny_infinite_nan_and_hex_numbers",
       {content("condition.dat", "1e308 1e-320 +INF -NAN 0x1A\n99\n")},
       {},
       succeeds("each is a number to the C library's scan; such limits select no star, so "
                "the forecast is empty")},
      {"condition_dat_text_instead_of_numbers",
       {content("condition.dat", "bright faint deep north south\n99\n")},
       {},
       fails_before_writing()},
  };
}

Expect lists(std::string why) {
  return quietly(holding(succeeds(std::move(why)), "data.dat", kForecast));
}

std::vector<Case> answer_cases() {
  const auto lists_nothing = [](std::string why) { return quietly(succeeds(std::move(why))); };
  return {
      {"answer_year_beyond_int", {}, "99999999999\n10\n20\n3\n0\n", fails_before_writing()},
      {"answer_year_of_10000_digits", {}, std::string(10000, '7') + "\n", fails_before_writing()},
      {"answer_year_hex", {}, "0x7D6\n10\n20\n3\n0\n", fails_before_writing()},
      {"answer_year_largest_int", {}, "2147483647\n10\n20\n3\n0\n", fails_before_writing()},
      {"answer_year_smallest_int", {}, "-2147483648\n10\n20\n3\n0\n", fails_before_writing()},
      {"answer_year_of_five_digits", {}, "10000\n10\n20\n3\n0\n", fails_before_writing()},
      {"answer_month_largest_int",
       {},
       "2006\n2147483647\n20\n3\n0\n",
       with_warning(succeeds("a month outside 1-12 gives an empty forecast, with a warning"))},
      {"answer_lowest_altitude_1e308",
       {},
       "2006\n10\n1e308\n3\n0\n",
       lists_nothing("the scan reads it as infinity: no star stands that high")},
      {"answer_lowest_altitude_minus_nan",
       {},
       "2006\n10\n-NAN\n3\n0\n",
       lists_nothing("no altitude compares at least NaN")},
      {"answer_site_infinite_and_nan_ask_again",
       {},
       "2006\n10\n20\n+INF\n-NAN\n1e308\n3\n0\n",
       lists("infinity, NaN and numbers beyond the menu show the menu again; 3 is Tokyo")},
      {"answer_site_nan_then_end_of_input", {}, "2006\n10\n20\nNAN\n", fails_before_writing()},
      {"answer_longitude_1e308",
       {},
       "2006\n10\n20\n99\n1e308\n35.67\n3\n0\n",
       with_stdout(lists("the scan reads it as infinity, which is no longitude: the menu "
                         "again, after a line saying why; 3 is Tokyo"),
                   "longitude must be a finite number\n")},
      {"answer_latitude_minus_nan",
       {},
       "2006\n10\n20\n99\n139.77\n-NAN\n3\n0\n",
       with_stdout(lists("a NaN latitude is no place: the menu again, after a line saying "
                         "why; 3 is Tokyo"),
                   "latitude must be from -90 to 90\n")},
      {"answer_latitude_1e30_then_end_of_input",
       {},
       "2006\n10\n20\n99\n139.77\n1e30\n",
       fails_before_writing()},
      {"answer_condition_number_beyond_int",
       {},
       "2006\n10\n20\n3\n-99999999999\n",
       fails_before_writing()},
      {"answer_condition_number_outside_then_end",
       {},
       "2006\n10\n20\n3\n2\n-1\n",
       fails_before_writing()},
  };
}

std::vector<Case> output_cases() {
  return {
      {"data_dat_is_a_directory", {directory("data.dat")}, {}, fails_before_writing()},
  };
}

}  // namespace

std::vector<ProgramCase> eclfore_cases() {
  const std::vector<Prompt> prompts = {{"year", ""},
                                       {"month", "2006\n"},
                                       {"lowest_altitude", "2006\n10\n"},
                                       {"site_number", "2006\n10\n20\n"},
                                       {"longitude", "2006\n10\n20\n99\n"},
                                       {"latitude", "2006\n10\n20\n99\n139.77\n"},
                                       {"condition_number", "2006\n10\n20\n3\n"}};
  return cases_of(eclfore,
                  {unusable_file_cases("condition.dat", "\n   \n\t\n\n"), condition_cases(),
                   star_catalogue_cases("data.dat", kForecast, "Cannot open input file. 0\n"),
                   dialogue_cases(prompts, eclfore().good_answers, lists("the good answers")),
                   answer_cases(), output_cases()});
}

}  // namespace robustness
