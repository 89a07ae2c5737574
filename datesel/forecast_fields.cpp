#include "forecast_fields.h"

#include <fmt/format.h>

#include "astro/numeric.h"
#include "formats/layouts.h"
#include "formats/records.h"
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
