#include "forecast_line.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "astro/fixed_format.h"
#include "astro/layouts.h"

namespace eclfore {
namespace {

/// Hours per minute, extended precision.
constexpr long double kHoursPerMinute = 1.0L / 60;

// Every piece after the catalogue writes a blank and then its field.
namespace fl = astro::forecast_line;
constexpr bool follows_after_blank(astro::Field before, astro::Field field) {
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

StarLineText star_line_text(const astro::StarRecord& star) {
  // dec_min carries the sign of a southern declination; the line shows it unsigned.
  const double dec_min = std::trunc(std::fabs(static_cast<double>(star.dec_min)));
  StarLineText text;
  // The pieces "%s", "%s" (the catalogue text goes out with one blank appended, in the
  // same piece); " %s " before the altitude; " %s", " %2.0f %2.0f %2.0f", " %3.0f %2.0f",
  // " %4.1f %4.1f" after it.
  text.head.append(astro::as_c_string(star.name));
  text.head.append(astro::as_c_string(star.catalogue));
  text.head.push_back(' ');
  text.before_altitude.push_back(' ');
  text.before_altitude.append(astro::as_c_string(star.var_type));
  text.before_altitude.push_back(' ');
  auto blank_then_fixed = [&](double value, astro::Field field, int precision) {
    text.tail.push_back(' ');
    astro::append_fixed(text.tail, value, field.width, precision);
  };
  text.tail.push_back(' ');
  text.tail.append(astro::as_c_string(star.elements_text));
  blank_then_fixed(static_cast<double>(star.ra_h), fl::kRaH, 0);
  blank_then_fixed(static_cast<double>(star.ra_m), fl::kRaM, 0);
  blank_then_fixed(static_cast<double>(star.ra_s), fl::kRaS, 0);
  blank_then_fixed(static_cast<double>(star.dec_deg), fl::kDecDeg, 0);
  blank_then_fixed(dec_min, fl::kDecMin, 0);
  blank_then_fixed(static_cast<double>(star.mag_max), fl::kMagMax, fl::kMagDecimals);
  blank_then_fixed(static_cast<double>(star.mag_min), fl::kMagMin, fl::kMagDecimals);
  // Text the C library's "%s" would end at a NUL holds none, and a '\n' is impossible
  // in a catalogue field (lines end there): write_text may copy these as they are.
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

/// Most characters of a ForecastLine that is built whole before it is written.
constexpr std::size_t kBuiltLineChars = 256;

bool fits_hour_field(int hour, int minute) {
  return hour >= 0 && hour <= 98 && minute >= 0 && minute <= 60;
}

}  // namespace

std::string hour_field(int hour, int minute) {
  if (!fits_hour_field(hour, minute)) return {};
  std::string text(6, ' ');
  put_hour_field(text.data(), hour, minute);
  return text;
}

void write_forecast_line(astro::OutputFile& out, const StarLineText& text,
                         const astro::ForecastMinimum& minimum) {
  const astro::LocalDate& night = minimum.night;
  const std::size_t fixed_chars = text.head.size() + text.before_altitude.size() + text.tail.size();
  // Every line of real data: built whole in a buffer, the pieces that only hold their
  // widths written directly.
  if (fixed_chars <= kBuiltLineChars / 2 && night.year >= 1000 && night.year <= 9999 &&
      night.month >= 0 && night.month <= 99 && night.day >= 0 && night.day <= 99 &&
      fits_hour_field(night.hour, night.minute)) {
    std::array<char, kBuiltLineChars> line;
    char* at = line.data();
    auto put = [&](std::string_view piece) {
      std::memcpy(at, piece.data(), piece.size());
      at += piece.size();
    };
    put(text.head);
    put(minimum.kind == MinimumKind::kPrimary ? "p " : "s ");
    // "%4d %2d %2d", " %5.2f".
    int year = night.year;
    for (int k = 3; k >= 0; --k, year /= 10) at[k] = static_cast<char>('0' + year % 10);
    at[4] = ' ';
    put_two_digit_field(at + 5, night.month);
    at[7] = ' ';
    put_two_digit_field(at + 8, night.day);
    put_hour_field(at + 10, night.hour, night.minute);
    at += 16;
    out.write_text(std::string_view(line.data(), static_cast<std::size_t>(at - line.data())));
  } else {
    // The minute may be 60 (it is never carried into the hour), so 20:59.8 shows 21.00.
    const double hour =
        static_cast<double>(static_cast<long double>(night.hour) +
                            static_cast<long double>(night.minute) * kHoursPerMinute);
    out.write_text(text.head);
    out.write_text(minimum.kind == MinimumKind::kPrimary ? "p " : "s ");
    // "%4d %2d %2d", " %5.2f".
    out.write_int(night.year, fl::kYear.width);
    out.write_text(" ");
    out.write_int(night.month, fl::kMonth.width);
    out.write_text(" ");
    out.write_int(night.day, fl::kDay.width);
    out.write_text(" ");
    out.write_fixed(hour, fl::kHour.width, fl::kHourDecimals);
  }
  // " %12.4f", " %s %4.1f", and the rest.
  out.write_text(" ");
  out.write_fixed(minimum.minimum_jd, fl::kJd.width, fl::kJdDecimals);
  out.write_text(text.before_altitude);
  out.write_fixed(static_cast<double>(minimum.altitude_deg), fl::kAltitude.width,
                  fl::kAltitudeDecimals);
  out.write_text(text.tail);
  out.end_line();
}

void write_forecast_line(astro::OutputFile& out, const astro::ForecastMinimum& minimum) {
  write_forecast_line(out, star_line_text(*minimum.star), minimum);
}

}  // namespace eclfore
