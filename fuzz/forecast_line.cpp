/// Fuzz target: datesel's reading of the forecast list, the bytes taken as data.dat
/// (the title month of its first line) and as data.sot (the day field of every line
/// and the DailyListLine made of a matching one).
///
/// Invariants:
/// - reading the title month ends in a year and a month or in RunError naming the
///   file, never in another exception; it is refused exactly when the first line
///   does not reach the month field, a field is not a finite number in int range, or
///   the year does not fit its four columns (it runs on past them, or reads beyond
///   -999 to 9999);
/// - the day field (two columns) always reads as a number from -9 to 99;
/// - a DailyListLine has exactly its width and one line end, whatever the line;
/// - a daily title is "=== " ... " ===" and a line end for any three integers.

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "astro/numeric.h"
#include "daily_list.h"
#include "forecast_fields.h"
#include "formats/records.h"
#include "fuzz_support.h"
#include "io/text_files.h"

namespace {

bool reads_as_int(std::string_view line, int start, int length) {
  return astro::fits_int32(formats::parse_decimal(formats::extract_field(line, start, length)));
}

/// True when the year of columns 27-30 is -999 to 9999.
bool year_fits(std::string_view line) {
  const double year = formats::parse_decimal(formats::extract_field(line, 27, 4));
  return year > -1000 && year < 10000;
}

void check_title(int year, int month, int day) {
  const std::string title = datesel::daily_title(year, month, day);
  FUZZ_CHECK(title.starts_with("=== ") && title.ends_with(" ===\n"));
  FUZZ_CHECK(title.find('\n') == title.size() - 1);
}

void check_title_month(std::string_view bytes) {
  const std::string& path = fuzz::input_file().hold(bytes);
  std::string first_line;
  const bool has_line = io::LineReader(path).next(first_line);
  bool refused = false;
  datesel::TitleMonth title;
  try {
    title = datesel::read_title_month(path);
  } catch (const io::RunError& e) {
    refused = true;
    FUZZ_CHECK(std::string_view(e.what()).find(path) != std::string_view::npos);
  }
  const bool readable = has_line && first_line.size() >= datesel::kTitleLineMinChars &&
                        reads_as_int(first_line, 27, 4) && reads_as_int(first_line, 32, 2) &&
                        first_line[31] == ' ' && year_fits(first_line);
  FUZZ_CHECK(refused != readable);
  if (!refused) check_title(title.year, title.month, 1);
}

void check_sorted_line(std::string_view line) {
  const std::optional<int> day = datesel::forecast_day(line);
  FUZZ_CHECK(day.has_value() && *day >= -9 && *day <= 99);
  const std::string daily = datesel::daily_list_line(line);
  FUZZ_CHECK(daily.size() == datesel::kDailyListLineChars + 1);
  FUZZ_CHECK(daily.find('\n') == daily.size() - 1);
  check_title(2006, 3, *day);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  check_title_month(bytes);
  fuzz::for_each_line(bytes, check_sorted_line);
  check_title(INT_MIN, INT_MIN, INT_MIN);
  check_title(INT_MAX, -1, 0);
  return 0;
}
