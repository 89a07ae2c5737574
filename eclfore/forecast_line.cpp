#include "forecast_line.h"

#include <cmath>
#include <string>

namespace eclfore {
namespace {

/// Hours per minute, extended precision.
constexpr long double kHoursPerMinute = 1.0L / 60;

}  // namespace

void write_forecast_line(astro::OutputFile& out, const astro::StarRecord& star,
                         MinimumKind kind, const astro::LocalDate& night, double minimum_jd,
                         float altitude_deg) {
  // The minute may be 60 (it is never carried into the hour), so 20:59.8 shows 21.00.
  const double hour = static_cast<double>(static_cast<long double>(night.hour) +
                                          static_cast<long double>(night.minute) *
                                              kHoursPerMinute);
  // dec_min carries the sign of a southern declination; the line shows it unsigned.
  const double dec_min = std::trunc(std::fabs(static_cast<double>(star.dec_min)));

  // The bytes of the pieces "%s", "%s", "p "/"s ", "%4d %2d %2d", " %5.2f", " %12.4f",
  // " %s %4.1f", " %s", " %2.0f %2.0f %2.0f", " %3.0f %2.0f", " %4.1f %4.1f\n",
  // without going through printf.
  auto blank_then_text = [&](const std::string& text) {
    out.write(' ');
    out.write(astro::as_c_string(text));
  };
  auto blank_then_int = [&](int value, int width) {
    out.write(' ');
    out.write_int(value, width);
  };
  auto blank_then_fixed = [&](double value, int width, int precision) {
    out.write(' ');
    out.write_fixed(value, width, precision);
  };
  out.write(astro::as_c_string(star.name));
  // The catalogue text goes out with one blank appended, in the same piece.
  out.write(astro::as_c_string(star.catalogue));
  out.write(' ');
  out.write(kind == MinimumKind::kPrimary ? 'p' : 's');
  out.write(' ');
  out.write_int(night.year, 4);
  blank_then_int(night.month, 2);
  blank_then_int(night.day, 2);
  blank_then_fixed(hour, 5, 2);
  blank_then_fixed(minimum_jd, 12, 4);
  blank_then_text(star.var_type);
  blank_then_fixed(static_cast<double>(altitude_deg), 4, 1);
  blank_then_text(star.elements_text);
  blank_then_fixed(static_cast<double>(star.ra_h), 2, 0);
  blank_then_fixed(static_cast<double>(star.ra_m), 2, 0);
  blank_then_fixed(static_cast<double>(star.ra_s), 2, 0);
  blank_then_fixed(static_cast<double>(star.dec_deg), 3, 0);
  blank_then_fixed(dec_min, 2, 0);
  blank_then_fixed(static_cast<double>(star.mag_max), 4, 1);
  blank_then_fixed(static_cast<double>(star.mag_min), 4, 1);
  out.end_line();
}

}  // namespace eclfore
