// Bad input for datesel: data.dat, data.sot, the day answer, and obsday.dat that
// cannot be written.
#include <string>
#include <vector>

#include "matrix.h"
#include "programs.h"

namespace robustness {
namespace {

using namespace std::string_literals;

const std::string kListed = "EX Demo             C012 p 29.58";

/// Columns of a ForecastLine.
constexpr std::size_t kYearColumn = 27;  ///< 4 characters
constexpr std::size_t kDayColumn = 35;   ///< 2 characters

Expect lists_day(std::string why) {
  return holding(succeeds(std::move(why)), "obsday.dat", kListed);
}

/// data.sot holding `bad` before the good line.
FileSetup sorted_before_good(const std::string& bad) {
  return content("data.sot", bad + kForecastLine + "\r\n");
}

std::vector<Case> forecast_cases() {
  return {
      {"data_dat_first_line_shorter_than_its_columns",
       {content("data.dat", kForecastLine.substr(0, 33) + "\r\n" + kForecastLine + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_line_of_10000_characters",
       {content("data.dat", padded(kForecastLine, 10000) + "\r\n")},
       {},
       quietly(lists_day("only columns 27-33 of the first line are read"))},
      {"data_dat_control_bytes_in_the_year",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "\0\xff\x1b\x7f"s) + "\r\n")},
       {},
       quietly(holding(lists_day("a field without a number reads 0: the title shows year 0"),
                       "obsday.dat", "===    0/ 3/ 6 ==="))},
      {"data_dat_cr_only_line_ends",
       {content("data.dat", kForecastLine + "\r" + kForecastLine + "\r")},
       {},
       quietly(lists_day("a CR is dropped wherever it stands; the first columns of the "
                         "joined line still hold year and month"))},
      {"data_dat_ctrl_z_before_the_first_line",
       {content("data.dat", "\x1a" + kForecastLine + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_ctrl_z_after_the_first_line",
       {content("data.dat", kForecastLine + "\r\n\x1a\x01\x02")},
       {},
       quietly(lists_day("only the first line is read"))},
      {"data_dat_year_plus_inf",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "+INF") + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_year_minus_nan",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "-NAN") + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_year_9e99",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "9e99") + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_year_1e5",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "1e5 ") + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_year_of_five_digits",
       {content("data.dat", kForecastLine.substr(0, kYearColumn) + "10000" +
                                kForecastLine.substr(kYearColumn + 4) + "\r\n")},
       {},
       fails_before_writing()},
      {"data_dat_year_hex",
       {content("data.dat", overwrite(kForecastLine, kYearColumn, "0x7D") + "\r\n")},
       {},
       quietly(holding(lists_day("hex stops the number at the x: the title shows year 0"),
                       "obsday.dat", "===    0/ 3/ 6 ==="))},
  };
}

std::vector<Case> sorted_cases() {
  return {
      {"data_sot_missing", {missing("data.sot")}, {}, fails_before_writing()},
      {"data_sot_is_a_directory", {directory("data.sot")}, {}, fails_before_writing()},
      {"data_sot_empty",
       {content("data.sot", "")},
       {},
       quietly(holding(succeeds("no line matches: title and header only, as for a night "
                                "without minima"),
                       "obsday.dat", "=== 2006/ 3/ 6 ==="))},
      {"data_sot_only_blank_lines",
       {content("data.sot", "\r\n\r\n" + std::string(117, ' ') + "\r\n")},
       {},
       quietly(succeeds("blank lines are skipped silently"))},
      {"data_sot_lines_shorter_than_their_columns",
       {sorted_before_good("Name      cat.\r\n" + kForecastLine.substr(0, 116) + "\r\n")},
       {},
       with_warning(lists_day("short lines are skipped with a warning"))},
      {"data_sot_line_of_10000_characters",
       {content("data.sot", padded(kForecastLine, 10000) + "\r\n")},
       {},
       quietly(lists_day("a line of any length is one record; columns past 116 are not "
                         "read"))},
      {"data_sot_control_bytes",
       {sorted_before_good(overwrite(kForecastLine, kDayColumn, kControlBytes.substr(0, 2)) +
                           "\r\n" + overwrite(kForecastLine, 0, kControlBytes) + "\r\n")},
       {},
       quietly(holding(lists_day("a day field without a number matches no day; other "
                                 "columns are copied as they are"),
                       "obsday.dat", kControlBytes))},
      {"data_sot_cr_only_line_ends",
       {content("data.sot", kForecastLine + "\r" + kForecastLine + "\r")},
       {},
       quietly(lists_day("a CR is dropped wherever it stands: one line, whose columns "
                         "are the first forecast line"))},
      {"data_sot_ctrl_z_in_the_middle",
       {content("data.sot", kForecastLine + "\r\n\x1a" + "cut line\r\n")},
       {},
       quietly(lists_day("a Ctrl-Z ends the file: the cut line after it is never read"))},
      {"data_sot_infinite_nan_huge_and_hex_fields",
       {content("data.sot", overwrite(overwrite(kForecastLine, 38, "+INF "), 44, "-NAN 1e308  ") +
                                "\r\n" + overwrite(kForecastLine, kDayColumn, "0x") + "\r\n")},
       {},
       quietly(holding(succeeds("fields other than the day are copied, never converted; a "
                                "hex day reads 0 and matches no typed 6"),
                       "obsday.dat", "+INF"))},
  };
}

std::vector<Case> answer_cases() {
  return {
      {"answer_day_end_of_input_at_first_prompt",
       {},
       "",
       except(quietly(succeeds("the end of input ends the run like 99; no request was made")),
              "obsday.dat", Output::kUntouched)},
      {"answer_day_end_of_input_after_a_request",
       {},
       "6\n",
       quietly(lists_day("the end of input ends the run like 99, after the list of day 6"))},
      {"answer_day_text_after_a_request",
       {},
       "6\nseven\n",
       holding(except(fails_while_writing(), "obsday.dat", Output::kRewritten), "obsday.dat",
               kListed)},
      {"answer_day_beyond_int", {}, "99999999999\n", fails_before_writing()},
      {"answer_day_of_10000_digits", {}, std::string(10000, '6') + "\n", fails_before_writing()},
      {"answer_day_plus_inf", {}, "+INF\n", fails_before_writing()},
      {"answer_day_minus_nan", {}, "-NAN\n", fails_before_writing()},
      {"answer_day_hex", {}, "0x6\n99\n", fails_while_writing()},
  };
}

std::vector<Case> output_cases() {
  return {
      {"obsday_dat_is_a_directory", {directory("obsday.dat")}, {}, fails_before_writing()},
  };
}

}  // namespace

std::vector<ProgramCase> datesel_cases() {
  // The end of input at the prompt ends the run like 99: its own cases above.
  const Prompt day{"day", "", false};
  return cases_of(
      datesel,
      {unusable_file_cases("data.dat", "\r\n\r\n\n"), forecast_cases(), sorted_cases(),
       dialogue_cases({day}, datesel().good_answers, quietly(lists_day("the good answers"))),
       answer_cases(), output_cases()});
}

}  // namespace robustness
