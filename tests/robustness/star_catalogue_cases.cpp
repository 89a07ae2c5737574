#include <string>
#include <vector>

#include "programs.h"

namespace robustness {

using namespace std::string_literals;

std::vector<Case> star_catalogue_cases(const std::string& output, const std::string& good_text,
                                       const std::string& missing_stdout) {
  // The run goes on past a spoiled line: the good star after it is still in the output.
  const auto goes_on = [&](std::string why) {
    return holding(succeeds(std::move(why)), output, good_text);
  };
  const auto before_good = [](const std::string& bad) {
    return content("star.dat", bad + kStarLine + "\n");
  };
  const auto bad_line = [](std::size_t column, std::string_view text) {
    return bad_star(column, text) + "\n";
  };
  Expect no_catalogue = fails_before_writing();
  if (!missing_stdout.empty()) no_catalogue = with_stdout(no_catalogue, missing_stdout);

  std::vector<Case> cases = {
      {"star_dat_missing", {missing("star.dat")}, {}, no_catalogue},
      {"star_dat_is_a_directory", {directory("star.dat")}, {}, no_catalogue},
      {"star_dat_empty",
       {content("star.dat", "")},
       {},
       quietly(succeeds("an empty catalogue is a catalogue of no star: the output is "
                        "written without star lines"))},
      {"star_dat_only_blank_lines",
       {content("star.dat", "\n\n" + std::string(94, ' ') + "\n\n")},
       {},
       quietly(succeeds("blank lines hold no star and are passed over silently"))},
      {"star_dat_lines_shorter_than_their_columns",
       {before_good("EX Demo              2453000.1234\n" + kStarLine.substr(0, 81) + "\n")},
       {},
       with_warning(goes_on("lines too short for a star are skipped with a warning"))},
      {"star_dat_line_of_10000_characters",
       {content("star.dat", padded(kStarLine, 10000) + "\n")},
       {},
       quietly(goes_on("a line of any length is one record; blank columns past 93 hold "
                       "no field of the extension"))},
      {"star_dat_junk_line_of_10000_characters",
       {before_good(std::string(10000, 'x') + "\n")},
       {},
       quietly(goes_on("letters read as 0: no period and no flag, passed over like a "
                       "blank line of elements"))},
      {"star_dat_nul_byte",
       {before_good(overwrite(kStarLine, 5, "\0"s) + "\n")},
       {},
       with_warning(goes_on("a line holding a NUL is skipped with a warning"))},
      {"star_dat_0xff_and_control_bytes",
       {before_good(bad_line(kPeriodColumn, kControlBytes.substr(1)) +
                    overwrite(kStarLine, 63, kControlBytes.substr(1, 6)) + "\n")},
       {},
       quietly(goes_on("bytes in the period read as a zero period, passed over; bytes in "
                       "columns that are not read change nothing"))},
      {"star_dat_cr_only_line_ends",
       {content("star.dat", kStarLine + "\r" + bad_star(kPeriodColumn, "   -1.0") + "\r")},
       {},
       with_warning(goes_on("a CR is dropped wherever it stands: the file is one line, whose "
                            "columns 0-93 are the first star; the rest stands where the "
                            "extension's fields do, each warned of and read as blank"))},
      {"star_dat_ctrl_z_in_the_middle",
       {content("star.dat", kStarLine + "\n\x1a" + bad_line(kPeriodColumn, "   -1.0"))},
       {},
       quietly(goes_on("a Ctrl-Z ends the catalogue; the bad star after it is never read, "
                       "so nothing is warned of"))},
  };

  // One spoiled field of a star before the good star.
  struct Field {
    const char* name;
    std::size_t column;
    const char* text;
    bool warned;
    const char* why;
  };
  const Field fields[] = {
      {"epoch_1e308", kEpochColumn, "       1e308", true,
       "the cycle count would not fit 32 bits: skipped"},
      {"epoch_1e_minus_320", kEpochColumn, "      1e-320", false,
       "an epoch near JD 0 is far off but usable"},
      {"epoch_plus_inf", kEpochColumn, "        +INF", true,
       "an epoch that is not finite is skipped"},
      {"epoch_hex", kEpochColumn, "   0x2507B5", false,
       "hex stops the number at the x: an epoch of JD 0, far off but usable"},
      {"period_1e308", kPeriodColumn, "        1e308", false,
       "a finite positive period is usable, however long"},
      {"period_1e_minus_320", kPeriodColumn, "       1e-320", true,
       "too many cycles to count: skipped"},
      {"period_minus_nan", kPeriodColumn, "         -NAN", true,
       "a period that is not finite is skipped"},
      {"period_plus_inf", kPeriodColumn, "         +INF", true,
       "a period that is not finite is skipped"},
      {"period_hex", kPeriodColumn, "         0x1A", false,
       "hex stops the number at the x: a zero period, passed over"},
      {"period_negative", kPeriodColumn, "   -1.2345678", true,
       "a negative period is skipped with a warning"},
      {"period_zero", kPeriodColumn, "    0.0000000", false,
       "a zero period means no light elements: passed over"},
      {"period_1e_minus_9", kPeriodColumn, "         1e-9", true,
       "too many cycles to count: skipped"},
      {"magnitudes_infinite_and_nan", kMagMaxColumn, "+INF -NAN", false,
       "magnitudes are not range-checked: such a star fails the selection limits, or is "
       "listed as it is"},
  };
  for (const Field& f : fields) {
    const Expect e = goes_on(f.why);
    cases.push_back({"star_dat_"s + f.name,
                     {before_good(bad_line(f.column, f.text))},
                     {},
                     f.warned ? with_warning(e) : quietly(e)});
  }
  return cases;
}

}  // namespace robustness
