/// Fuzz target: the eclipse window of one star.dat line. The first line of the bytes
/// is the star's line; up to four bytes after its line end choose the run (the month of
/// 2026, the --coverage share, the --baseline minutes, the lowest altitude; without
/// them December, 0 %, 0 minutes, 0 degrees). A line eclfore would use (usable, with
/// usable elements, selected by the widest condition, without a cycle problem) is
/// forecast for the month with --coverage as eclfore forecasts it, and each listed
/// minimum gets its table row (--csv) and its calendar event (--ics), a dozen of them
/// spread over the month when more are listed. The run is on JST at the first site
/// without the options for today's sky (a line naming HJD or BJD brings the
/// ephemerides' tables): the clock on which eclfore takes the shortcuts.
///
/// Invariants:
/// - the forecast ends (a window of centuries is tested in a bounded number of steps:
///   the fuzzer's per-input timeout catches a hang);
/// - the exact search (search_minima) and the shortcuts (fast::forecast_star) list the
///   same minima, with the same instants, night dates and coverage shares;
/// - every coverage share is a number from 0 to 100, and a listed minimum's share is
///   at least --coverage's;
/// - the table row has the header's 29 fields (RFC 4180, quoted fields minded), and no
///   numeric field reads nan or inf (not even the magnitudes of a line whose 4-column
///   magnitude reads infinite, "inf" or "9e99", which a condition.dat with infinite
///   limits selects: a value that is not a finite number is an empty field);
/// - its times (the contacts, the minimum local and UTC, the meridian) are ISO 8601
///   date-times: a year of four digits or more (a minus sign before the year 0), month
///   01-12, day 01-31, hours 00-23, minutes and seconds 00-59, then Z or the offset;
/// - the calendar event holds DTSTART and DTEND as UTC date-times with 8-digit dates
///   from 0001 on (never 00000000T000000), DTSTART at or before DTEND;
/// - no exception escapes: a bad line is passed over as the catalogue loop passes it.

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "conditions.h"
#include "fast/forecast_star.h"
#include "formats/catalogue.h"
#include "formats/minimum_calendar.h"
#include "formats/minimum_table.h"
#include "formats/records.h"
#include "fuzz_support.h"
#include "io/output_file.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "table_row.h"

namespace {

constexpr int kYear = 2026;
/// The table's columns (kMinimumTableHeader) that hold text from the line, not numbers.
constexpr std::array<std::size_t, 5> kTextColumns = {0, 1, 22, 27, 28};
/// The columns of ISO 8601 date-times: start, minimum, end, minimum_utc, meridian (the
/// contacts empty without a duration).
constexpr std::array<std::size_t, 5> kTimeColumns = {4, 5, 6, 7, 16};
/// The magnitude columns, mag_max and mag_min.
constexpr std::size_t kMagMaxColumn = 23;
constexpr std::size_t kMagMinColumn = 24;
/// Most minima of one input that get a row and an event (spread over the month): the
/// month of a short period lists thousands, each row as costly as the next.
constexpr std::size_t kMostRows = 12;

/// What the bytes after the line ask of the run.
struct RunChoice {
  int month = 12;
  double least_pct = 0;
  double baseline_min = 0;
  float lowest_deg = 0;
  bool operator==(const RunChoice&) const = default;
};

RunChoice run_choice(std::string_view rest) {
  RunChoice choice;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(rest[i]); };
  if (rest.size() > 0) choice.month = 1 + byte(0) % 12;
  if (rest.size() > 1) choice.least_pct = byte(1) % 101;
  if (rest.size() > 2) choice.baseline_min = byte(2) % 121;
  if (rest.size() > 3) choice.lowest_deg = static_cast<float>(byte(3) % 91);
  return choice;
}

/// The run's window, rules and row tables for one choice: built anew only when the
/// choice changes (the fuzzer mostly changes the line).
struct MonthRun {
  explicit MonthRun(const RunChoice& c)
      : choice(c), window(eclfore::search_window(kYear, c.month)) {
    request.year = kYear;
    request.month = c.month;
    request.min_altitude_deg = c.lowest_deg;
    request.coverage = formats::CoverageOptions{c.least_pct, c.baseline_min};
    rules.emplace(request, window);
    row_sky.emplace(eclfore::row_sky(window, request.site));
  }
  RunChoice choice;
  eclfore::ForecastRequest request;
  eclfore::SearchWindow window;
  std::optional<eclfore::RulesByScale> rules;
  std::optional<astro::ObservingConditions> row_sky;
};

MonthRun& month_run(const RunChoice& choice) {
  static std::unique_ptr<MonthRun> run;
  if (!run || !(run->choice == choice)) {
    run.reset();
    run = std::make_unique<MonthRun>(choice);
  }
  return *run;
}

/// The shortcuts' data.dat lines go nowhere: a device is written in place.
io::OutputFile& discarded_forecast() {
  static io::OutputFile sink("/dev/null");
  return sink;
}

/// The fields of one RFC 4180 row (no line break in it).
std::vector<std::string> csv_fields(std::string_view row) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < row.size(); ++i) {
    const char c = row[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < row.size() && row[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      FUZZ_CHECK(fields.back().empty());  // a quote opens a field or is doubled in one
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      FUZZ_CHECK(c != '\n' && c != '\r');
      fields.back() += c;
    }
  }
  FUZZ_CHECK(!quoted);
  return fields;
}

bool reads_non_finite(std::string_view field) {
  return field.find("nan") != std::string_view::npos || field.find("inf") != std::string_view::npos;
}

/// True when `text` at `at` holds two digits forming a number from `low` to `high`.
bool two_digits_within(std::string_view text, std::size_t at, int low, int high) {
  if (at + 2 > text.size() || !std::isdigit(static_cast<unsigned char>(text[at])) ||
      !std::isdigit(static_cast<unsigned char>(text[at + 1]))) {
    return false;
  }
  const int value = (text[at] - '0') * 10 + (text[at + 1] - '0');
  return value >= low && value <= high;
}

/// [-]YYYY[Y...]-MM-DDTHH:MM:SS followed by Z or +HH:MM / -HH:MM.
bool is_iso_date_time(std::string_view text) {
  std::size_t at = text.starts_with('-') ? 1 : 0;
  const std::size_t year_from = at;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
  if (at - year_from < 4 || text.substr(at).size() < 16) return false;
  const std::string_view rest = text.substr(at);  // -MM-DDTHH:MM:SS...
  if (rest[0] != '-' || rest[3] != '-' || rest[6] != 'T' || rest[9] != ':' || rest[12] != ':') {
    return false;
  }
  if (!two_digits_within(rest, 1, 1, 12) || !two_digits_within(rest, 4, 1, 31) ||
      !two_digits_within(rest, 7, 0, 23) || !two_digits_within(rest, 10, 0, 59) ||
      !two_digits_within(rest, 13, 0, 59)) {
    return false;
  }
  const std::string_view zone = rest.substr(15);
  if (zone == "Z") return true;
  return zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') &&
         two_digits_within(zone, 1, 0, 23) && zone[3] == ':' && two_digits_within(zone, 4, 0, 59);
}

/// A broken invariant of a row, the row's text shown with it.
#define ROW_CHECK(condition)                                           \
  ((condition) ? static_cast<void>(0)                                  \
               : (std::fprintf(stderr, "row: %s\n", row_text.c_str()), \
                  ::fuzz::fail(#condition, __FILE__, __LINE__)))

void check_row(const std::string& row_text) {
  const std::vector<std::string> fields = csv_fields(row_text);
  ROW_CHECK(fields.size() == 29);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (std::find(kTextColumns.begin(), kTextColumns.end(), i) != kTextColumns.end()) continue;
    ROW_CHECK(!reads_non_finite(fields[i]));
  }
  for (const std::size_t i : kTimeColumns) {
    ROW_CHECK(is_iso_date_time(fields[i]) || (fields[i].empty() && (i == 4 || i == 6)));
  }
}

#undef ROW_CHECK

/// The value of the calendar text's property `name` (DTSTART, DTEND) on its line.
std::string_view property(std::string_view text, std::string_view name) {
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    if (line.starts_with(name) && line.size() > name.size() &&
        (line[name.size()] == ':' || line[name.size()] == ';')) {
      const std::size_t colon = line.find(':');
      FUZZ_CHECK(colon != std::string_view::npos);
      return line.substr(colon + 1);
    }
    at = end + 1;
  }
  fuzz::fail("calendar event without a date-time", __FILE__, __LINE__);
}

/// A UTC date-time YYYYMMDDTHHMMSSZ from the year 0001 on.
void check_date_time(std::string_view value) {
  FUZZ_CHECK(value.size() == 16 && value[8] == 'T' && value[15] == 'Z');
  for (std::size_t i = 0; i < 15; ++i) {
    if (i != 8) FUZZ_CHECK(value[i] >= '0' && value[i] <= '9');
  }
  FUZZ_CHECK(value.substr(0, 4) != "0000" && value.substr(4, 2) != "00" &&
             value.substr(6, 2) != "00");
}

void check_event(const std::string& event) {
  const std::string_view start = property(event, "DTSTART");
  const std::string_view end = property(event, "DTEND");
  check_date_time(start);
  check_date_time(end);
  FUZZ_CHECK(start <= end);  // same width, digits: text order is time order
}

void check_share(const eclfore::ForecastMinimum& minimum, const eclfore::ListingRule& rule) {
  if (!minimum.coverage_pct) return;
  const double share = *minimum.coverage_pct;
  FUZZ_CHECK(share >= 0 && share <= 100);  // false for NaN
  FUZZ_CHECK(share >= rule.coverage->least_pct);
}

bool same_minimum(const eclfore::ForecastMinimum& a, const eclfore::ForecastMinimum& b) {
  return a.kind == b.kind && a.minimum_mjd == b.minimum_mjd && a.minimum_jd == b.minimum_jd &&
         a.candidate_mjd == b.candidate_mjd && a.night.year == b.night.year &&
         a.night.month == b.night.month && a.night.day == b.night.day &&
         a.night.hour == b.night.hour && a.night.minute == b.night.minute &&
         a.coverage_pct == b.coverage_pct;
}

/// The star's line as the catalogue loop takes it: nothing when it passes it over.
std::optional<formats::StarRecord> used_star(std::string_view line,
                                             const eclfore::SearchWindow& window) {
  if (formats::unusable_star_line(line)) return std::nullopt;
  std::vector<std::string> extension_problems;
  formats::StarRecord star = formats::parse_star_record(line, &extension_problems);
  if (formats::lacks_elements(star) || formats::star_record_problem(star)) return std::nullopt;
  // The widest condition.dat row (its limits read as infinities) selects every star
  // that some condition could.
  constexpr float kInf = std::numeric_limits<float>::infinity();
  if (!eclfore::is_selected(star, {-kInf, kInf, -kInf, kInf, -kInf})) return std::nullopt;
  if (eclfore::cycle_problem(star, window)) return std::nullopt;
  return star;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const std::size_t line_end = bytes.find('\n');
  const std::string_view rest =
      line_end == std::string_view::npos ? std::string_view() : bytes.substr(line_end + 1);
  std::string line;
  io::LineReader reader(fuzz::input_file().hold(bytes.substr(0, line_end)));
  if (!reader.next(line)) return 0;

  MonthRun& run = month_run(run_choice(rest));
  const std::optional<formats::StarRecord> star = used_star(line, run.window);
  if (!star) return 0;
  const eclfore::ScaleRule& scale_rule = run.rules->for_star(*star);
  const eclfore::ListingRule& rule = scale_rule.rule;

  std::vector<eclfore::ForecastMinimum> exact;
  eclfore::search_minima(*star, run.window, rule,
                         [&](const eclfore::ForecastMinimum& m) { exact.push_back(m); });
  std::vector<eclfore::ForecastMinimum> quick;
  const eclfore::MinimumConsumer keep_quick = [&](const eclfore::ForecastMinimum& m) {
    quick.push_back(m);
  };
  eclfore::fast::forecast_star(*star, run.window, rule, scale_rule.tables, discarded_forecast(),
                               &keep_quick);
  FUZZ_CHECK(std::equal(exact.begin(), exact.end(), quick.begin(), quick.end(), same_minimum));

  for (const eclfore::ForecastMinimum& minimum : exact) check_share(minimum, rule);
  if (exact.empty()) return 0;

  const eclfore::StarForRule row_star = eclfore::star_for_rule(*star, rule);
  const formats::IcrsPosition icrs = formats::icrs_position(*star);
  const astro::StarPlace row_place = run.row_sky->star(icrs.ra_rad, icrs.dec_rad);
  const astro::CivilClock clock;
  astro::ClockDays table_days;
  std::string row_text;
  const std::size_t stride = (exact.size() + kMostRows - 1) / kMostRows;
  for (std::size_t i = 0; i < exact.size(); i += stride) {
    const eclfore::ForecastMinimum& minimum = exact[i];
    const formats::MinimumTableRow row =
        eclfore::table_row(minimum, row_star, run.window, rule, clock, *run.row_sky, row_place);
    if (row.coverage_pct) FUZZ_CHECK(*row.coverage_pct >= 0 && *row.coverage_pct <= 100);
    row_text.clear();
    formats::append_minimum_table_row(row_text, row, table_days);
    check_row(row_text);

    const formats::EventSpan span = eclfore::event_window(minimum, rule);
    check_event(
        formats::calendar_event(formats::minimum_event(row, span.start_jd, span.end_jd), 0));
  }
  return 0;
}
