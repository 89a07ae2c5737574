#include "forecast_line.h"

#include <cmath>
#include <string>

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

void write_forecast_line(astro::OutputFile& out, const astro::ForecastMinimum& minimum) {
  const astro::StarRecord& star = *minimum.star;
  const astro::LocalDate& night = minimum.night;
  // The minute may be 60 (it is never carried into the hour), so 20:59.8 shows 21.00.
  const double hour = static_cast<double>(static_cast<long double>(night.hour) +
                                          static_cast<long double>(night.minute) * kHoursPerMinute);
  // dec_min carries the sign of a southern declination; the line shows it unsigned.
  const double dec_min = std::trunc(std::fabs(static_cast<double>(star.dec_min)));

  // The bytes of the pieces "%s", "%s", "p "/"s ", "%4d %2d %2d", " %5.2f", " %12.4f",
  // " %s %4.1f", " %s", " %2.0f %2.0f %2.0f", " %3.0f %2.0f", " %4.1f %4.1f\n",
  // without going through printf.
  auto blank_then_text = [&](const std::string& text) {
    out.write(' ');
    out.write(astro::as_c_string(text));
  };
  auto blank_then_int = [&](int value, astro::Field field) {
    out.write(' ');
    out.write_int(value, field.width);
  };
  auto blank_then_fixed = [&](double value, astro::Field field, int precision) {
    out.write(' ');
    out.write_fixed(value, field.width, precision);
  };
  out.write(astro::as_c_string(star.name));
  // The catalogue text goes out with one blank appended, in the same piece.
  out.write(astro::as_c_string(star.catalogue));
  out.write(' ');
  out.write(minimum.kind == MinimumKind::kPrimary ? 'p' : 's');
  out.write(' ');
  out.write_int(night.year, fl::kYear.width);
  blank_then_int(night.month, fl::kMonth);
  blank_then_int(night.day, fl::kDay);
  blank_then_fixed(hour, fl::kHour, fl::kHourDecimals);
  blank_then_fixed(minimum.minimum_jd, fl::kJd, fl::kJdDecimals);
  blank_then_text(star.var_type);
  blank_then_fixed(static_cast<double>(minimum.altitude_deg), fl::kAltitude, fl::kAltitudeDecimals);
  blank_then_text(star.elements_text);
  blank_then_fixed(static_cast<double>(star.ra_h), fl::kRaH, 0);
  blank_then_fixed(static_cast<double>(star.ra_m), fl::kRaM, 0);
  blank_then_fixed(static_cast<double>(star.ra_s), fl::kRaS, 0);
  blank_then_fixed(static_cast<double>(star.dec_deg), fl::kDecDeg, 0);
  blank_then_fixed(dec_min, fl::kDecMin, 0);
  blank_then_fixed(static_cast<double>(star.mag_max), fl::kMagMax, fl::kMagDecimals);
  blank_then_fixed(static_cast<double>(star.mag_min), fl::kMagMin, fl::kMagDecimals);
  out.end_line();
}

}  // namespace eclfore
