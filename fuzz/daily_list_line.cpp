/// Fuzz target: nightmark's reading of a daily list, the bytes taken as obsday2.dat
/// (the title's night date, then the night filter's fields of every further line)
/// and as obsday3.txt (the chart mark lines of every line).
///
/// Invariants:
/// - any title gives a night date (saturated integers), and the filter judges any
///   line at any start time without a sanitizer report: a time or position that is
///   not finite is kNotANumber, a finite one never is; a kept minimum comes more than
///   0.75 hour after the start;
/// - the ShortName is the name columns up to the first blank, at most 20 characters;
///   the adf label is the ShortName less a leading "ASAS";
/// - an AdfMarkLine is "eqt ", 31 fixed-width characters around the label, and
///   ",1" or ",4" as asked; a MrkMarkLine is 21 fixed-width characters around the
///   ShortName; both have a declination sign and exactly one line end.

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "io/text.h"
#include "list_lines.h"
#include "mark_lines.h"
#include "night_filter.h"

namespace {

/// Characters of a mark line besides its label or name (see the layouts above).
constexpr std::size_t kAdfFixedChars = 35;
constexpr std::size_t kMrkFixedChars = 21;

struct StartTime {
  int hour;
  int minute;
  bool south_only;
};

constexpr StartTime kStartTimes[] = {
    {20, 0, false}, {25, 30, true}, {INT_MAX, INT_MIN, true}, {-7, 75, false}};

void check_filter(const nightmark::NightDate& date, std::string_view line) {
  const nightmark::ListedMinimum minimum = nightmark::read_listed_minimum(line);
  const bool finite = std::isfinite(minimum.time_hours) && std::isfinite(minimum.ra_hours) &&
                      std::isfinite(minimum.dec_degrees);
  const nightmark::PlanSite site = nightmark::plan_site(astro::kBuiltInSite);
  for (const StartTime& start : kStartTimes) {
    const float start_hours = nightmark::start_time_hours(start.hour, start.minute);
    const nightmark::Verdict verdict =
        nightmark::judge_minimum(date, start_hours, start.south_only, site, minimum);
    FUZZ_CHECK((verdict == nightmark::Verdict::kNotANumber) == !finite);
    if (verdict == nightmark::Verdict::kKept) {
      FUZZ_CHECK(static_cast<long double>(minimum.time_hours) -
                     static_cast<long double>(start_hours) >
                 0.75L);
    }
  }
}

void check_marks(std::string_view line) {
  const std::string name = nightmark::short_name(line);
  FUZZ_CHECK(name.size() <= 20 && name.find(' ') == std::string::npos);
  FUZZ_CHECK(line.substr(0, name.size()) == name);
  FUZZ_CHECK(name.size() == 20 || line.size() <= name.size() || line[name.size()] == ' ');
  const std::string_view label = nightmark::adf_label(name);
  FUZZ_CHECK(label == (name.starts_with("ASAS") ? std::string_view(name).substr(4) : name));

  for (const bool recent : {false, true}) {
    const std::string adf = nightmark::adf_mark_line(line, recent);
    FUZZ_CHECK(adf.size() == kAdfFixedChars + label.size());
    FUZZ_CHECK(adf.starts_with("eqt ") && adf.ends_with(recent ? "\",4\n" : "\",1\n"));
    FUZZ_CHECK(adf[11] == '+' || adf[11] == '-');
    FUZZ_CHECK(adf.find('\n') == adf.size() - 1);
  }
  const std::string mrk = nightmark::mrk_mark_line(line);
  FUZZ_CHECK(mrk.size() == kMrkFixedChars + name.size());
  FUZZ_CHECK(mrk[9] == '+' || mrk[9] == '-');
  // A control byte or a byte that is not UTF-8 is written as '?', one for one.
  FUZZ_CHECK(mrk.substr(16, name.size()) == io::printable_utf8(name) && mrk.ends_with("\n"));
  FUZZ_CHECK(mrk.find('\n') == mrk.size() - 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = fuzz::input_file().hold(fuzz::as_text(data, size));
  io::LineReader list(path);
  std::string title;
  if (!list.next(title)) return 0;
  const nightmark::NightDate date = nightmark::night_date_from_title(title);
  std::string line;
  while (list.next(line)) {
    // The readers' contract covers any line; the program skips short ones.
    nightmark::usable_list_line(line, list);
    check_filter(date, line);
    check_marks(line);
  }
  check_marks(title);
  return 0;
}
