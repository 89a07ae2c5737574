#include "forecast_line.h"

#include <cmath>
#include <cstring>

#include "formats/layouts.h"
#include "io/output_file.h"

namespace eclfore {
namespace {

namespace fl = formats::forecast_line;

/// Hours per minute, extended precision.
constexpr long double kHoursPerMinute = 1.0L / 60;

// Every piece after the catalogue writes a blank and then its field.
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

/// The characters of a line's own fields from the kind to the Julian Date.
constexpr auto kMinimumFieldsChars = static_cast<std::size_t>(fl::kJd.end() - fl::kKind.start);
/// Room for a star's whole line of real data, reserved at once.
constexpr std::size_t kLineRoomChars = 160;
static_assert(fl::kMagMin.end() < kLineRoomChars);

}  // namespace

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

AltitudeField altitude_field(float altitude_deg) {
  formats::NumberText number;
  const std::size_t length =
      formats::format_fixed(number, static_cast<double>(altitude_deg), fl::kAltitudeDecimals);
  AltitudeField field;
  const std::size_t padding = formats::field_padding(fl::kAltitude.width, length);
  std::memset(field.chars.data(), ' ', padding);
  std::memcpy(field.chars.data() + padding, number.data(), length);
  field.size = padding + length;
  return field;
}

void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, std::string_view altitude) {
  const astro::LocalDate& night = minimum.night;
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

void write_forecast_line(io::OutputFile& out, const ForecastMinimum& minimum) {
  write_forecast_line(out, star_line_text(*minimum.star), minimum,
                      altitude_field(minimum.altitude_deg).text());
}

}  // namespace eclfore
