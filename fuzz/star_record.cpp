/// Fuzz target: the star catalogue record, parse_star_record on every line of a
/// star.dat, and the tests that decide whether a record can be used.
///
/// Invariants:
/// - a line passed as usable reaches the columns read and holds no NUL; one passed
///   over without a word is blank;
/// - the text fields have their widths (name 20, elements 26, type 2, catalogue 4)
///   and hold the line's columns, blank past its end;
/// - the epoch is blank exactly when its 13 columns are, and the epoch MJD is finite
///   exactly when the epoch field reads finite;
/// - right ascension and declination are finite for any bytes (two- and three-column
///   fields cannot spell INF, NAN or an exponent beyond float's range), the right
///   ascension within what two-column fields allow, and a minus sign in the degree
///   field turns the sign of the minutes;
/// - the select flag is the digit in column 88, 0 for anything else;
/// - star_record_problem and lacks_elements never throw, and a record with elements
///   that has no problem has a finite epoch and a finite period above 0, so the
///   minima search can step through it.
/// - the extension's fields after column 93 hold values in their ranges (those the
///   reader keeps), a line of 94 characters or fewer has none and no problem, each
///   problem names its field, and the fields written back by the extension's writer
///   read back to the same values whenever their texts fit the columns.

#include <cmath>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "formats/catalogue.h"
#include "formats/records.h"
#include "fuzz_support.h"

namespace {

/// Bounds of a right ascension from two-column fields: each of hours, minutes and
/// seconds reads -9 ("-9") to 99, with slack for single-precision rounding.
constexpr float kRaLowHours = -9.0f - 9.0f / 60 - 9.0f / 3600 - 0.001f;
constexpr float kRaHighHours = 99.0f + 99.0f / 60 + 99.0f / 3600 + 0.001f;

void check_extension(std::string_view line, const formats::StarExtension& read) {
  std::vector<std::string> problems;
  const formats::StarExtension e = formats::parse_star_extension(line, &problems);
  FUZZ_CHECK(e == read);
  if (line.size() <= static_cast<std::size_t>(formats::star_line::kLineChars)) {
    FUZZ_CHECK(e == formats::StarExtension{} && problems.empty());
  }
  FUZZ_CHECK(problems.size() <= 6);
  for (const std::string& p : problems) {
    FUZZ_CHECK(p.ends_with("; read as blank") && p.find('_') != std::string::npos);
  }
  for (const auto& percent : {e.eclipse_duration_pct, e.secondary_duration_pct}) {
    if (percent) FUZZ_CHECK(*percent > 0 && *percent <= 100);
  }
  if (e.secondary_phase) FUZZ_CHECK(*e.secondary_phase > 0 && *e.secondary_phase < 1);
  for (const auto& error : {e.epoch_error_days, e.period_error_days}) {
    if (error) FUZZ_CHECK(std::isfinite(*error) && *error >= 0);
  }
  std::string written;
  try {
    written = formats::format_star_extension(e);
  } catch (const std::invalid_argument&) {
    return;  // a value whose shortest text is wider than its columns
  }
  const std::string line_back = std::string(formats::star_line::kLineChars, 'x') + written;
  FUZZ_CHECK(formats::parse_star_extension(line_back, nullptr) == e);
}

void check_record(std::string_view line) {
  const std::optional<std::string> unusable = formats::unusable_star_line(line);
  if (!unusable) {
    FUZZ_CHECK(line.size() >= formats::kMinStarLineLength);
    FUZZ_CHECK(line.find('\0') == std::string_view::npos);
  } else if (unusable->empty()) {
    FUZZ_CHECK(formats::is_blank(line));
  }
  const formats::StarRecord star = formats::parse_star_record(line);

  FUZZ_CHECK(star.name == formats::extract_field(line, 0, 20));
  FUZZ_CHECK(star.elements_text == formats::extract_field(line, 20, 26));
  FUZZ_CHECK(star.var_type == formats::extract_field(line, 70, 2));
  FUZZ_CHECK(star.catalogue == formats::extract_field(line, 90, 4));

  const std::string epoch_text = star.elements_text.substr(0, 13);
  FUZZ_CHECK(star.epoch_blank == formats::is_blank(epoch_text));
  const double epoch_jd = formats::parse_decimal(epoch_text);
  FUZZ_CHECK(std::isfinite(star.epoch_mjd) == std::isfinite(epoch_jd));
  FUZZ_CHECK(std::isnan(star.epoch_mjd) == std::isnan(epoch_jd));

  FUZZ_CHECK(std::isfinite(star.ra_hours));
  FUZZ_CHECK(star.ra_hours >= kRaLowHours && star.ra_hours <= kRaHighHours);
  FUZZ_CHECK(std::isfinite(star.dec_degree_part) && std::isfinite(star.dec_minute_part) &&
             std::isfinite(star.dec_degrees));
  const bool minus_degrees = formats::extract_field(line, 57, 3).find('-') != std::string::npos;
  const double minutes = formats::parse_decimal(formats::extract_field(line, 61, 2));
  FUZZ_CHECK(std::signbit(star.dec_minute_part) == (minus_degrees != std::signbit(minutes)));

  const char flag = line.size() > 88 ? line[88] : ' ';
  FUZZ_CHECK(star.select_flag == (flag >= '0' && flag <= '9' ? flag - '0' : 0));

  const bool lacks = formats::lacks_elements(star);
  const auto problem = formats::star_record_problem(star);
  if (!lacks) {
    const bool bad_elements = star.epoch_blank || !std::isfinite(star.epoch_mjd) ||
                              !std::isfinite(star.period) || star.period < 0;
    FUZZ_CHECK(problem.has_value() == bad_elements);
    if (!problem) FUZZ_CHECK(star.period > 0 && star.epoch_mjd != 0);
  }
  if (problem) FUZZ_CHECK(!problem->empty());

  check_extension(line, star.extension);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::for_each_line(fuzz::as_text(data, size), check_record);
  return 0;
}
