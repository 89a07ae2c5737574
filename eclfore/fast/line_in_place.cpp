#include "fast/line_in_place.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "formats/fixed_format.h"
#include "formats/layouts.h"
#include "io/output_file.h"

namespace eclfore::fast {
namespace {

namespace fl = formats::forecast_line;

/// The offset of a column of the layout from the kind's: the star's line puts the kind
/// at StarLineText::head_chars, and the minimum's fields follow it as the layout says.
constexpr std::size_t from_kind(int column) {
  return static_cast<std::size_t>(column - fl::kKind.start);
}

/// The night hour's field "%5.2f" of hour + minute x (1/60) (hours 0 to 98, minutes 0 to
/// 60) written from the whole numbers: 100 x the value is 100 hour + 5 minute / 3, whose
/// fraction is 0, 1/3 or 2/3, and the double value lies within 1e-14 of it, so the
/// printed hundredths are 5 minute / 3 rounded, never a tie: (5 minute + 1) / 3.
/// Writes the field's 5 characters at `at`. HourText.AllHoursAndMinutes checks it against
/// printf.
void put_hour_field(char* at, int hour, int minute) {
  static_assert(fl::kHour.width == 5 && fl::kHourDecimals == 2);
  const int hundredths = 100 * hour + (5 * minute + 1) / 3;
  const int whole = hundredths / 100;
  const int fraction = hundredths % 100;
  at[0] = whole >= 10 ? static_cast<char>('0' + whole / 10) : ' ';
  at[1] = static_cast<char>('0' + whole % 10);
  at[2] = '.';
  at[3] = static_cast<char>('0' + fraction / 10);
  at[4] = static_cast<char>('0' + fraction % 10);
}

/// `value` (0 to 99) as "%2d" at `at`.
void put_two_digit_field(char* at, int value) {
  at[0] = value >= 10 ? static_cast<char>('0' + value / 10) : ' ';
  at[1] = static_cast<char>('0' + value % 10);
}
static_assert(fl::kMonth.width == 2 && fl::kDay.width == 2);

/// Julian Dates from 2^21 to 2^22 (1029 to 6771 AD) are whole numbers of 2^-31 days.
constexpr double kLeastJdField = 2097152.0;
constexpr double kJdFieldBefore = 4194304.0;
constexpr int kJdFractionBits = 31;
constexpr double kJdFractionScale = static_cast<double>(std::uint64_t{1} << kJdFractionBits);
/// The Julian Date field's whole digits and the ten thousandths of its decimals.
constexpr int kJdWholeDigits = fl::kJd.width - 1 - fl::kJdDecimals;
constexpr std::uint64_t kJdDecimalScale = 10000;
static_assert(fl::kJdDecimals == 4 && kJdWholeDigits == 7,
              "Julian Dates below 2^22 have 7 whole digits");

bool fits_jd_field(double jd) { return jd >= kLeastJdField && jd < kJdFieldBefore; }

/// The field "%12.4f" of a Julian Date that fits_jd_field, at `at` (12 characters): jd =
/// n / 2^31 exactly, so 10000 jd rounded as printf rounds it (to nearest, ties to even)
/// is (10000 n) / 2^31 rounded, in whole numbers.
void put_jd_field(char* at, double jd) {
  __extension__ typedef unsigned __int128 Wide;
  const auto n = static_cast<std::uint64_t>(jd * kJdFractionScale);  // exact
  const Wide scaled = static_cast<Wide>(n) * kJdDecimalScale;
  auto q = static_cast<std::uint64_t>(scaled >> kJdFractionBits);
  const auto rest =
      static_cast<std::uint64_t>(scaled) & ((std::uint64_t{1} << kJdFractionBits) - 1);
  const std::uint64_t half = std::uint64_t{1} << (kJdFractionBits - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  formats::put_digits_before(at + kJdWholeDigits, q / kJdDecimalScale, kJdWholeDigits);
  at[kJdWholeDigits] = '.';
  formats::put_digits_before(at + fl::kJd.width, q % kJdDecimalScale, fl::kJdDecimals);
}

bool fits_hour_field(int hour, int minute) {
  return hour >= 0 && hour <= 98 && minute >= 0 && minute <= 60;
}

/// The line with `altitude` as its altitude field: in place when the minimum's fields
/// have their widths, else by write_forecast_line. Out of line, so that the compiler
/// inlines the fields' writers into it with their constant widths (inlined into both
/// callers, it calls them instead).
[[gnu::noinline]] void write_line_around(io::OutputFile& out, const StarLineText& text,
                                         const ForecastMinimum& minimum,
                                         std::string_view altitude) {
  const astro::LocalDate& night = minimum.night;
  // Every line of real data: the star's whole line copied, the minimum's own fields
  // written over its blanks.
  if (altitude.size() == static_cast<std::size_t>(fl::kAltitude.width) && night.year >= 1000 &&
      night.year <= 9999 && night.month >= 0 && night.month <= 99 && night.day >= 0 &&
      night.day <= 99 && fits_hour_field(night.hour, night.minute) &&
      fits_jd_field(minimum.minimum_jd)) {
    char* const line = out.claim(text.line.size());
    if (line != nullptr) {
      std::copy(text.line.begin(), text.line.end(), line);
      char* const at = line + text.head_chars;
      at[from_kind(fl::kKind.start)] = minimum.kind == MinimumKind::kPrimary ? 'p' : 's';
      formats::put_digits_before(at + from_kind(fl::kYear.end()),
                                 static_cast<std::uint64_t>(night.year), fl::kYear.width);
      put_two_digit_field(at + from_kind(fl::kMonth.start), night.month);
      put_two_digit_field(at + from_kind(fl::kDay.start), night.day);
      put_hour_field(at + from_kind(fl::kHour.start), night.hour, night.minute);
      put_jd_field(at + from_kind(fl::kJd.start), minimum.minimum_jd);
      std::memcpy(line + text.altitude_at, altitude.data(), altitude.size());
      out.end_line();
      return;
    }
  }
  write_forecast_line(out, text, minimum, altitude);
}

}  // namespace

std::string jd_field(double jd) {
  if (!fits_jd_field(jd)) return {};
  std::string text(static_cast<std::size_t>(fl::kJd.width), ' ');
  put_jd_field(text.data(), jd);
  return text;
}

std::string hour_field(int hour, int minute) {
  if (!fits_hour_field(hour, minute)) return {};
  std::string text(1 + static_cast<std::size_t>(fl::kHour.width), ' ');
  put_hour_field(text.data() + 1, hour, minute);
  return text;
}

void write_line_in_place(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum) {
  write_line_around(out, text, minimum, altitude_field(minimum.altitude_deg).text());
}

void write_line_in_place(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, int altitude_tenths) {
  static_assert(fl::kAltitude.width == 4 && fl::kAltitudeDecimals == 1);
  const int whole = altitude_tenths / 10;
  const std::array<char, 4> field = {whole >= 10 ? static_cast<char>('0' + whole / 10) : ' ',
                                     static_cast<char>('0' + whole % 10), '.',
                                     static_cast<char>('0' + altitude_tenths % 10)};
  write_line_around(out, text, minimum, std::string_view(field.data(), field.size()));
}

}  // namespace eclfore::fast
