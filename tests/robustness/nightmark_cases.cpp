// Bad input for nightmark: recent_obs.txt, obsday2.dat, the three answers, and
// output files that cannot be written.
#include <string>
#include <vector>

#include "matrix.h"
#include "programs.h"

namespace robustness {
namespace {

using namespace std::string_literals;

const std::string kKept = "K001 p 21.50";
const std::string kMarkedRecent = "\"ZZ_K21\",4";
const std::string kMarkedNotRecent = "\"ZZ_K21\",1";

Expect plans(std::string why) { return holding(succeeds(std::move(why)), "obsday3.txt", kKept); }
Expect marks(std::string why, const std::string& mark) {
  return quietly(holding(succeeds(std::move(why)), "lplanet.adf", mark));
}

/// obsday2.dat with title and header, then `lines`.
FileSetup daily_list(const std::string& lines) {
  return content("obsday2.dat", kDailyHead + lines);
}

std::vector<Case> recent_cases() {
  std::string over_capacity;
  for (int i = 0; i < 2500; ++i) over_capacity += "WW Gem\n";
  over_capacity += "ZZ Ori\n";
  return {
      {"recent_obs_txt_missing",
       {missing("recent_obs.txt")},
       {},
       marks("no recent list is an empty list", kMarkedNotRecent)},
      {"recent_obs_txt_is_a_directory", {directory("recent_obs.txt")}, {}, fails_before_writing()},
      {"recent_obs_txt_empty",
       {content("recent_obs.txt", "")},
       {},
       marks("an empty list marks no star", kMarkedNotRecent)},
      {"recent_obs_txt_only_blank_lines",
       {content("recent_obs.txt", "\n\n\n")},
       {},
       marks("empty entries match no name", kMarkedNotRecent)},
      {"recent_obs_txt_short_names",
       {content("recent_obs.txt", "Z\nZZ\n")},
       {},
       marks("an entry of any length is a name; ZZ Ori's short name ZZ begins the second",
             kMarkedRecent)},
      {"recent_obs_txt_line_of_10000_characters",
       {content("recent_obs.txt", "ZZ Ori" + std::string(9994, 'x') + "\n")},
       {},
       marks("an entry is cut at 20 characters and still begins with ZZ", kMarkedRecent)},
      {"recent_obs_txt_control_bytes",
       {content("recent_obs.txt", "ZZ"s + kControlBytes + " Ori\n\xffWW Gem\n")},
       {},
       marks("the first byte outside codes 20-127 ends an entry", kMarkedRecent)},
      {"recent_obs_txt_cr_only_line_ends",
       {content("recent_obs.txt", "WW Gem\rZZ Ori\r")},
       {},
       marks("a CR is dropped wherever it stands: one entry, WW GemZZ Ori", kMarkedNotRecent)},
      {"recent_obs_txt_ctrl_z_in_the_middle",
       {content("recent_obs.txt", "WW Gem\n\x1aZZ Ori\n")},
       {},
       marks("a Ctrl-Z ends the list before ZZ Ori", kMarkedNotRecent)},
      {"recent_obs_txt_more_than_2000_names",
       {content("recent_obs.txt", over_capacity)},
       {},
       with_warning(holding(succeeds("names after the 2000th are ignored with one warning"),
                            "lplanet.adf", kMarkedNotRecent))},
  };
}

std::vector<Case> daily_list_cases() {
  return {
      {"obsday2_dat_title_only",
       {content("obsday2.dat", kDailyTitle + "\r\n")},
       {},
       fails_before_writing()},
      {"obsday2_dat_title_shorter_than_its_columns",
       {content("obsday2.dat", "=== 2006/ 3/5\r\n" + kDailyHeader + "\r\n" + kZzOriLine + "\r\n")},
       {},
       fails_before_writing()},
      {"obsday2_dat_data_lines_shorter_than_their_columns",
       {daily_list("cut\r\n" + kAsasLine.substr(0, 57) + "\r\n" + kZzOriLine + "\r\n")},
       {},
       with_warning(plans("short lines are skipped with a warning"))},
      {"obsday2_dat_title_of_10000_characters",
       {content("obsday2.dat",
                padded(kDailyTitle, 10000) + "\r\n" + kDailyHeader + "\r\n" + kZzOriLine + "\r\n")},
       {},
       quietly(plans("only columns 4-13 of the title are read; it is copied whole"))},
      {"obsday2_dat_data_line_of_10000_characters",
       {daily_list(padded(kZzOriLine, 10000) + "\r\n")},
       {},
       quietly(plans("a line of any length is one record, copied whole"))},
      {"obsday2_dat_control_bytes_in_data_lines",
       {daily_list(overwrite(kZzOriLine, 7, kControlBytes) + "\r\n" +
                   overwrite(kAsasLine, kDailyTimeColumn, kControlBytes.substr(0, 5)) + "\r\n")},
       {},
       quietly(plans("bytes in the name are copied; a time without a number reads 0, too "
                     "soon to observe"))},
      {"obsday2_dat_control_bytes_in_the_title_date",
       {content("obsday2.dat", overwrite(kDailyTitle, 9, "\x01\xff") + "\r\n" + kDailyHeader +
                                   "\r\n" + kZzOriLine + "\r\n")},
       {},
       with_warning(succeeds("a month without a number reads 0: warned of, and the "
                             "altitudes are computed for that date as it is"))},
      {"obsday2_dat_cr_only_line_ends",
       {content("obsday2.dat", kDailyTitle + "\r" + kDailyHeader + "\r" + kZzOriLine + "\r")},
       {},
       fails_before_writing()},
      {"obsday2_dat_ctrl_z_after_the_title",
       {content("obsday2.dat", kDailyTitle + "\r\n\x1a" + kDailyHeader + "\r\n")},
       {},
       fails_before_writing()},
      {"obsday2_dat_ctrl_z_after_the_header",
       {daily_list("\x1a" + kZzOriLine + "\r\n")},
       {},
       quietly(holding(succeeds("a Ctrl-Z ends the list: a plan with no star"), "obsday3.txt",
                       kDailyTitle))},
      {"obsday2_dat_infinite_nan_huge_tiny_and_hex_times",
       {daily_list(overwrite(kAsasLine, kDailyTimeColumn, "+INF ") + "\r\n" +
                   overwrite(kAsasLine, kDailyTimeColumn, "-NAN ") + "\r\n" +
                   overwrite(kAsasLine, kDailyTimeColumn, "9e99 ") + "\r\n" +
                   overwrite(kAsasLine, kDailyTimeColumn, "1e-45") + "\r\n" +
                   overwrite(kAsasLine, kDailyTimeColumn, "0x1A ") + "\r\n" + kZzOriLine + "\r\n")},
       {},
       with_warning(plans("times that are not finite are skipped with a warning; tiny and "
                          "hex times read near 0, too soon to observe"))},
      {"obsday2_dat_infinite_title_year",
       {content("obsday2.dat", overwrite(kDailyTitle, 4, "+INF") + "\r\n" + kDailyHeader + "\r\n" +
                                   kZzOriLine + "\r\n")},
       {},
       succeeds("the year is not range-checked; altitudes are computed for it as it is")},
  };
}

const std::vector<Prompt> kPrompts = {
    {"start_hour", ""}, {"start_minute", "20\n"}, {"sky_choice", "20\n0\n"}};

std::vector<Case> answer_cases() {
  std::vector<Case> cases;
  for (const Prompt& p : kPrompts) {
    cases.push_back({"answer_" + p.name + "_beyond_int",
                     {},
                     p.before + "99999999999\n",
                     fails_before_writing()});
    cases.push_back(
        {"answer_" + p.name + "_plus_inf", {}, p.before + "+INF\n", fails_before_writing()});
  }
  std::vector<Case> more = {
      {"answer_start_hour_of_10000_digits",
       {},
       std::string(10000, '2') + "\n0\n0\n",
       fails_before_writing()},
      {"answer_start_hour_hex", {}, "0x14\n0\n0\n", fails_before_writing()},
      {"answer_start_hour_largest_int",
       {},
       "2147483647\n0\n0\n",
       quietly(holding(succeeds("the start time is not range-checked; no minimum comes "
                                "after it, so the plan holds no star"),
                       "obsday3.txt", kDailyHeader))},
      {"answer_start_minute_smallest_int",
       {},
       "20\n-2147483648\n0\n",
       quietly(succeeds("the start time is not range-checked; every minimum comes after "
                        "it, and the altitude test still applies"))},
      {"answer_sky_choice_largest_int",
       {},
       "20\n0\n2147483647\n",
       quietly(succeeds("any sky choice but 0 means the south"))},
  };
  cases.insert(cases.end(), more.begin(), more.end());
  return cases;
}

std::vector<Case> output_cases() {
  return {
      {"obsday3_txt_is_a_directory", {directory("obsday3.txt")}, {}, fails_before_writing()},
      // The plan and its marks are one set: a mark file that cannot be replaced
      // leaves all three as they were.
      {"lplanet_adf_is_a_directory", {directory("lplanet.adf")}, {}, fails_before_writing()},
      {"lightpl_mrk_is_a_directory", {directory("lightpl.mrk")}, {}, fails_before_writing()},
  };
}

}  // namespace

std::vector<ProgramCase> nightmark_cases() {
  return cases_of(
      nightmark,
      {recent_cases(), unusable_file_cases("obsday2.dat", "\r\n\r\n\r\n"), daily_list_cases(),
       dialogue_cases(kPrompts, nightmark().good_answers, quietly(plans("the good answers"))),
       answer_cases(), output_cases()});
}

}  // namespace robustness
