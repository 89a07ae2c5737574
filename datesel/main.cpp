// datesel: one night's daily list (obsday.dat) out of the sorted forecast (data.sot).
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "daily_list.h"
#include "day_answer.h"
#include "forecast_fields.h"
#include "formats/records.h"
#include "formats/zone_option.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/output_file.h"
#include "io/text_files.h"

namespace {

constexpr const char* kForecastPath = "data.dat";
constexpr const char* kSortedForecastPath = "data.sot";
constexpr const char* kDailyListPath = "obsday.dat";

int run(const io::Options& options) {
  const std::vector<int> days_given = datesel::day_options(options);
  // The lists carry their night dates and hours on the clock eclfore wrote them on, and
  // a day is picked by its date alone: --zone is checked, for the same command line
  // as the other programs, and changes nothing.
  formats::zone_option(options);
  io::refuse_shared_files({kForecastPath, kSortedForecastPath}, {kDailyListPath});
  // No request may go on without a year and month for its title.
  const datesel::TitleMonth title = datesel::read_title_month(kForecastPath);

  std::string line;
  auto write_daily_list = [&](int day) {
    // The sorted list is opened, and its first line read, before obsday.dat is
    // truncated: a missing or unreadable data.sot leaves the previous list intact.
    io::LineReader sorted(kSortedForecastPath);
    bool have_line = sorted.next(line);

    io::OutputFile daily(kDailyListPath);
    daily.write(datesel::daily_title(title.year, title.month, day));
    daily.write(datesel::kDailyListHeader);
    for (; have_line; have_line = sorted.next(line)) {
      if (line.size() < datesel::kForecastLineChars) {
        if (!formats::is_blank(line)) {
          io::warn_line(kSortedForecastPath, sorted.line_number(),
                        "shorter than a forecast line, skipped");
        }
        continue;
      }
      if (datesel::forecast_day(line) == day) daily.write(datesel::daily_list_line(line));
    }
    // Complete on disk before the next prompt, or the run ends with a message.
    daily.close();
  };

  // Days given as options are the whole request: none is asked.
  if (!days_given.empty()) {
    for (const int day : days_given) write_daily_list(day);
    return 0;
  }
  while (true) {
    io::prompt(datesel::kDayPrompt);
    const std::optional<int> day = datesel::read_day(stdin);
    if (!day) return 0;
    write_daily_list(*day);
  }
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::OptionSpec kOptions[] = {datesel::kDayOption, formats::kZoneOption};
  static constexpr io::ProgramInfo kInfo{
      "datesel",
      "Writes the daily list of one night, obsday.dat, out of the month's forecast.\n"
      "Reads the title's year and month from the first line of data.dat, then asks\n"
      "\"Day (99:end) = \" again and again. For every day typed it rewrites obsday.dat\n"
      "with a title, a column header and each line of data.sot (data.dat sorted by\n"
      "night date and time; the README gives the sort command) whose day matches.\n"
      "99 or the end of input ends the run. All files are in the current folder.\n"
      "\n"
      "--day=D (1 to 31, repeatable) answers the day question: for each --day in turn\n"
      "obsday.dat is rewritten as for a typed day, nothing is asked, and the run ends\n"
      "after the last. A day outside 1 to 31 is a usage fault (status 2).\n"
      "\n"
      "--zone (+HH:MM, -HH:MM or a zone name) is accepted as by the other programs\n"
      "and changes nothing: the night dates are those of data.sot, on the clock\n"
      "eclfore was given.\n"
      "\n"
      "Exit status: 0 at 99, the end of input or after the last --day; 1, with a\n"
      "message on standard error, when data.dat gives no year and month, data.sot\n"
      "cannot be read, an answer is not an integer or obsday.dat cannot be written;\n"
      "2 for a bad option or option value.\n"
      "\n"
      "See datesel(1).\n",
      kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
