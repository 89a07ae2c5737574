#include "forecast_line.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "formats/fixed_format.h"
#include "formats/layouts.h"

namespace eclfore {
namespace {

/// Hours per minute, extended precision.
constexpr long double kHoursPerMinute = 1.0L / 60;

// Every piece after the catalogue writes a blank and then its field.
namespace fl = formats::forecast_line;
constexpr bool follows_after_blank(formats::Field before, formats::Field field) {
  return field.start == before.end() + 1;
}
static_assert(fl::kName.start == 0 && fl::kCatalogue.start == fl::kName.end() &&
              follows_after_blank(fl::kCatalogue, fl::kKind) &&
              follows_after_blank(fl::kKind, fl::kYear));
static_assert(follows_after_blank(fl::kYear, fl::kMonth) &&
              follows_after_blank(fl::kMonth, fl::kDay) &&
              follows_after_blank(fl::kDay, fl::kHour) && follows_after_blank(fl::kHour, fl::kJd) &&
              follows_after_blank(fl::kJd, fl::kVarType) &&
              follows_after_blank(fl::kVarType, fl::kAltitude) &&
              follows_after_blank(fl::kAltitude, fl::kElements));
static_assert(follows_after_blank(fl::kElements, fl::kRaH) &&
              follows_after_blank(fl::kRaH, fl::kRaM) && follows_after_blank(fl::kRaM, fl::kRaS) &&
              follows_after_blank(fl::kRaS, fl::kDecDeg) &&
              follows_after_blank(fl::kDecDeg, fl::kDecMin) &&
              follows_after_blank(fl::kDecMin, fl::kMagMax) &&
              follows_after_blank(fl::kMagMax, fl::kMagMin));

}  // namespace

/// The characters of a line's own fields up to the Julian Date: "p " (or "s "),
/// "%4d %2d %2d", " %5.2f", " %12.4f".
constexpr std::size_t kMinimumFieldsChars = 2 + 10 + 6 + 1 + 12;
static_assert(fl::kJd.end() - fl::kKind.start == kMinimumFieldsChars);
/// Room for a star's whole line of real data, reserved at once.
constexpr std::size_t kLineRoomChars = 160;
static_assert(fl::kMagMin.end() < kLineRoomChars);

std::string_view StarLineText::before_altitude() const {
  const std::size_t from = head_chars + kMinimumFieldsChars;
  return std::string_view(line).substr(from, altitude_at - from);
}

std::string_view StarLineText::tail() const {
  return std::string_view(line).substr(altitude_at + static_cast<std::size_t>(fl::kAltitude.width));
}

StarLineText star_line_text(const formats::StarRecord& star) {
  // dec_minute_part carries the sign of a southern declination; the line shows it unsigned.
  const double dec_min = std::trunc(std::fabs(static_cast<double>(star.dec_minute_part)));
  StarLineText text;
  std::string& line = text.line;
  line.reserve(kLineRoomChars);
  // The pieces "%s", "%s" (the catalogue text goes out with one blank appended, in the
  // same piece); the minimum's fields; " %s " before the altitude; " %s",
  // " %2.0f %2.0f %2.0f", " %3.0f %2.0f", " %4.1f %4.1f" after it.
  line.append(io::as_c_string(star.name));
  line.append(io::as_c_string(star.catalogue));
  line.push_back(' ');
  text.head_chars = line.size();
  line.append(kMinimumFieldsChars, ' ');
  line.push_back(' ');
  line.append(io::as_c_string(star.var_type));
  line.push_back(' ');
  text.altitude_at = line.size();
  line.append(static_cast<std::size_t>(fl::kAltitude.width), ' ');
  auto blank_then_fixed = [&](double value, formats::Field field, int precision) {
    line.push_back(' ');
    formats::append_fixed(line, value, field.width, precision);
  };
  line.push_back(' ');
  line.append(io::as_c_string(star.elements_text));
  blank_then_fixed(static_cast<double>(star.ra_hour_part), fl::kRaH, 0);
  blank_then_fixed(static_cast<double>(star.ra_minute_part), fl::kRaM, 0);
  blank_then_fixed(static_cast<double>(star.ra_second_part), fl::kRaS, 0);
  blank_then_fixed(static_cast<double>(star.dec_degree_part), fl::kDecDeg, 0);
  blank_then_fixed(dec_min, fl::kDecMin, 0);
  blank_then_fixed(static_cast<double>(star.mag_max), fl::kMagMax, fl::kMagDecimals);
  blank_then_fixed(static_cast<double>(star.mag_min), fl::kMagMin, fl::kMagDecimals);
  // Text the C library's "%s" would end at a NUL holds none, and a '\n' is impossible
  // in a catalogue field (lines end there): the line may be copied as it is.
  return text;
}

namespace {

/// The hour field " %5.2f" of hour + minute x (1/60) (hours 0 to 98, minutes 0 to 60)
/// written from the whole numbers: 100 x the value is 100 hour + 5 minute / 3, whose
/// fraction is 0, 1/3 or 2/3, and the double value lies within 1e-14 of it, so the
/// printed hundredths are 5 minute / 3 rounded, never a tie: (5 minute + 1) / 3.
/// Writes 6 characters at `at`. HourText.AllHoursAndMinutes checks it against printf.
void put_hour_field(char* at, int hour, int minute) {
  const int hundredths = 100 * hour + (5 * minute + 1) / 3;
  const int whole = hundredths / 100;
  const int fraction = hundredths % 100;
  at[0] = ' ';
  at[1] = whole >= 10 ? static_cast<char>('0' + whole / 10) : ' ';
  at[2] = static_cast<char>('0' + whole % 10);
  at[3] = '.';
  at[4] = static_cast<char>('0' + fraction / 10);
  at[5] = static_cast<char>('0' + fraction % 10);
}

/// `value` (0 to 99) as "%2d" at `at`.
void put_two_digit_field(char* at, int value) {
  at[0] = value >= 10 ? static_cast<char>('0' + value / 10) : ' ';
  at[1] = static_cast<char>('0' + value % 10);
}

/// Julian Dates from 2^21 to 2^22 (1029 to 6771 AD) are whole numbers of 2^-31 days.
constexpr double kLeastJdField = 2097152.0;
constexpr double kJdFieldBefore = 4194304.0;
constexpr int kJdFractionBits = 31;

bool fits_jd_field(double jd) { return jd >= kLeastJdField && jd < kJdFieldBefore; }

/// The field "%12.4f" of a Julian Date that fits_jd_field, at `at` (12 characters): jd =
/// n / 2^31 exactly, so 10000 jd rounded as printf rounds it (to nearest, ties to even)
/// is (10000 n) / 2^31 rounded, in whole numbers.
void put_jd_field(char* at, double jd) {
  __extension__ typedef unsigned __int128 Wide;
  const auto n = static_cast<std::uint64_t>(jd * 2147483648.0);  // exact
  const Wide scaled = static_cast<Wide>(n) * 10000;
  auto q = static_cast<std::uint64_t>(scaled >> kJdFractionBits);
  const auto rest =
      static_cast<std::uint64_t>(scaled) & ((std::uint64_t{1} << kJdFractionBits) - 1);
  const std::uint64_t half = std::uint64_t{1} << (kJdFractionBits - 1);
  if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  // 7 whole digits, the point, 4 decimals.
  formats::put_digits_before(at + 7, q / 10000, 7);
  at[7] = '.';
  formats::put_digits_before(at + 12, q % 10000, 4);
}

bool fits_hour_field(int hour, int minute) {
  return hour >= 0 && hour <= 98 && minute >= 0 && minute <= 60;
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
  std::string text(6, ' ');
  put_hour_field(text.data(), hour, minute);
  return text;
}

namespace {

/// The line up to and with the Julian Date, then the altitude text and the rest.
void write_line_around(io::OutputFile& out, const StarLineText& text,
                       const ForecastMinimum& minimum, std::string_view altitude) {
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
      char* at = line + text.head_chars;
      // "p " or "s ", "%4d %2d %2d", " %5.2f", " %12.4f".
      at[0] = minimum.kind == MinimumKind::kPrimary ? 'p' : 's';
      formats::put_digits_before(at + 6, static_cast<std::uint64_t>(night.year), 4);
      put_two_digit_field(at + 7, night.month);
      put_two_digit_field(at + 10, night.day);
      put_hour_field(at + 12, night.hour, night.minute);
      put_jd_field(at + 19, minimum.minimum_jd);
      std::memcpy(line + text.altitude_at, altitude.data(), altitude.size());
      out.end_line();
      return;
    }
  }
  // The minute may be 60 (it is never carried into the hour), so 20:59.8 shows 21.00.
  const double hour = static_cast<double>(static_cast<long double>(night.hour) +
                                          static_cast<long double>(night.minute) * kHoursPerMinute);
  out.write_text(text.head());
  out.write_text(minimum.kind == MinimumKind::kPrimary ? "p " : "s ");
  // "%4d %2d %2d", " %5.2f".
  formats::write_int(out, night.year, fl::kYear.width);
  out.write_text(" ");
  formats::write_int(out, night.month, fl::kMonth.width);
  out.write_text(" ");
  formats::write_int(out, night.day, fl::kDay.width);
  out.write_text(" ");
  formats::write_fixed(out, hour, fl::kHour.width, fl::kHourDecimals);
  // " %12.4f", " %s %4.1f", and the rest.
  out.write_text(" ");
  formats::write_fixed(out, minimum.minimum_jd, fl::kJd.width, fl::kJdDecimals);
  out.write_text(text.before_altitude());
  out.write_text(altitude);
  out.write_text(text.tail());
  out.end_line();
}

}  // namespace

void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum) {
  // " %4.1f".
  formats::NumberText number;
  const std::size_t length =
      formats::format_fixed(number, static_cast<double>(minimum.altitude_deg), fl::kAltitudeDecimals);
  std::array<char, formats::kNumberTextChars + 4> field;
  const std::size_t padding = formats::field_padding(fl::kAltitude.width, length);
  std::memset(field.data(), ' ', padding);
  std::memcpy(field.data() + padding, number.data(), length);
  write_line_around(out, text, minimum, std::string_view(field.data(), padding + length));
}

void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, int altitude_tenths) {
  static_assert(fl::kAltitude.width == 4 && fl::kAltitudeDecimals == 1);
  const int whole = altitude_tenths / 10;
  const std::array<char, 4> field = {whole >= 10 ? static_cast<char>('0' + whole / 10) : ' ',
                                     static_cast<char>('0' + whole % 10), '.',
                                     static_cast<char>('0' + altitude_tenths % 10)};
  write_line_around(out, text, minimum, std::string_view(field.data(), field.size()));
}

void write_forecast_line(io::OutputFile& out, const ForecastMinimum& minimum) {
  write_forecast_line(out, star_line_text(*minimum.star), minimum);
}

}  // namespace eclfore
