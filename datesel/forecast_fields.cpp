#include "forecast_fields.h"

#include <algorithm>

#include <fmt/format.h>

#include "astro/numeric.h"
#include "formats/layouts.h"
#include "formats/records.h"
#include "io/console.h"
#include "io/message_text.h"
#include "io/text_files.h"

namespace datesel {
namespace {

namespace fl = formats::forecast_line;

io::RunError bad_field(const std::string& path, const char* what, std::string_view line,
                       formats::Field field) {
  return io::RunError(fmt::format("{}: line 1: {} field \"{}\" is not a number within int range",
                                  path, what,
                                  io::escape_for_message(formats::extract_field(line, field))));
}

/// The year of a line as written from its field on, up to the next blank, for a message.
std::string year_as_written(std::string_view line) {
  std::string_view text = line.substr(static_cast<std::size_t>(fl::kYear.start));
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  return io::escape_for_message(text.substr(0, std::min(text.find(' '), io::kQuotedWordChars)));
}

}  // namespace

std::optional<int> field_integer(std::string_view line, formats::Field field) {
  const double value = formats::parse_decimal(formats::extract_field(line, field));
  if (!astro::fits_int32(value)) return std::nullopt;
  return astro::trunc_to_int(value);
}

TitleMonth title_month(std::string_view first_line, const std::string& path) {
  if (first_line.size() < kTitleLineMinChars) {
    throw io::RunError(
        fmt::format("{}: first line too short for year and month ({} characters, need {})", path,
                    first_line.size(), kTitleLineMinChars));
  }
  const auto year = field_integer(first_line, fl::kYear);
  if (!year) throw bad_field(path, "year", first_line, fl::kYear);
  // A year wider than its columns (from an eclfore that did not refuse it) runs on
  // into the blank after them and shifts every field that follows.
  if (first_line[static_cast<std::size_t>(fl::kYear.end())] != ' ') {
    throw io::RunError(fmt::format("{}: line 1: year \"{}\" runs past its {} columns ({}-{})", path,
                                   year_as_written(first_line), fl::kYear.width, fl::kYear.start,
                                   fl::kYear.end() - 1));
  }
  if (auto misfit = formats::beyond_field("year", *year, formats::daily_title::kYear,
                                          "the year in the daily list's title")) {
    throw io::RunError(path + ": line 1: " + *misfit);
  }
  const auto month = field_integer(first_line, fl::kMonth);
  if (!month) throw bad_field(path, "month", first_line, fl::kMonth);
  return {*year, *month};
}

TitleMonth read_title_month(const std::string& path) {
  io::LineReader reader(path);
  std::string line;
  if (!reader.next(line)) throw io::RunError(path + ": empty, no year and month to read");
  return title_month(line, path);
}

std::optional<int> forecast_day(std::string_view line) { return field_integer(line, fl::kDay); }

}  // namespace datesel
