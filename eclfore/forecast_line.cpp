#include "forecast_line.h"

#include <cmath>

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

  out.print("%s", star.name.c_str());
  // The catalogue text goes out with one blank appended, in the same piece.
  out.print("%s", (star.catalogue + ' ').c_str());
  out.write(kind == MinimumKind::kPrimary ? "p " : "s ");
  out.print("%4d %2d %2d", night.year, night.month, night.day);
  out.print(" %5.2f", hour);
  out.print(" %12.4f", minimum_jd);
  out.print(" %s %4.1f", star.var_type.c_str(), static_cast<double>(altitude_deg));
  out.print(" %s", star.elements_text.c_str());
  out.print(" %2.0f %2.0f %2.0f", static_cast<double>(star.ra_h),
            static_cast<double>(star.ra_m), static_cast<double>(star.ra_s));
  out.print(" %3.0f %2.0f", static_cast<double>(star.dec_deg), dec_min);
  out.print(" %4.1f %4.1f\n", static_cast<double>(star.mag_max),
            static_cast<double>(star.mag_min));
}

}  // namespace eclfore
