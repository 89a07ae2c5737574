#include "phase_table.h"

#include <fmt/format.h>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/horizon.h"
#include "astro/numeric.h"
#include "astro/precision.h"
#include "formats/fixed_format.h"
#include "formats/layouts.h"
#include "formats/sky_options.h"
#include "io/output_file.h"
#include "radians.h"

namespace phaselist {
namespace {

using astro::Ext;

constexpr const char* kHeader =
    "Name                origin       period      type   range     phase(Hi) - phase(Hi)\n";
constexpr const char* kRule =
    "-------------------------------------------------------------------------------------\n";

}  // namespace

TableSite table_site(const astro::ObservingSite& site) {
  return {site,
          astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, kPhaseTableRadians)};
}

StarRadians star_radians(const formats::StarRecord& star) {
  StarRadians r;
  r.ra = astro::to_radians(star.ra_hours, astro::kHoursPerHalfTurn, kPhaseTableRadians);
  r.dec = astro::to_radians(star.dec_degrees, astro::kDegreesPerHalfTurn, kPhaseTableRadians);
  return r;
}

std::optional<double> phase_at(double mjd, double epoch_mjd, double period) {
  const Ext x = (static_cast<Ext>(mjd) - static_cast<Ext>(epoch_mjd)) / static_cast<Ext>(period);
  // The whole cycles are a 32-bit count; beyond it the phase is not defined.
  if (!astro::fits_int32(x)) return std::nullopt;
  return static_cast<double>(x - static_cast<Ext>(astro::trunc_to_int(x)));
}

std::optional<StarAtTime> star_at(const TableTime& time, const formats::StarRecord& star,
                                  const StarRadians& place, const TableSite& site) {
  const std::optional<double> phase = phase_at(time.mjd, star.epoch_mjd, star.period);
  if (!phase) return std::nullopt;
  StarAtTime at;
  at.phase = *phase;
  const astro::HorizontalPosition seen = astro::position_at(
      astro::star_at_site(site.degrees.longitude_deg, site.latitude_rad, place.ra, place.dec),
      time.mjd);
  at.altitude = seen.altitude;
  at.azimuth = seen.azimuth;
  return at;
}

std::optional<StarAtTime> star_at(const TableTime& time, const formats::StarRecord& star,
                                  const StarRadians& place, const TableSite& site,
                                  const TimeSky& sky) {
  if (sky.sky == nullptr) return star_at(time, star, place, site);
  const formats::IcrsPosition icrs = formats::icrs_position(star);
  double mjd = time.mjd;
  if (sky.epochs != astro::EpochScale::kJd) {
    const double jd = sky.sky->epoch_jd(sky.epochs, icrs.ra_rad, icrs.dec_rad);
    mjd = static_cast<double>(static_cast<Ext>(jd) - static_cast<Ext>(astro::kMjdZeroJd));
  }
  const std::optional<double> phase = phase_at(mjd, star.epoch_mjd, star.period);
  if (!phase) return std::nullopt;
  StarAtTime at;
  at.phase = *phase;
  if (sky.of_date) {
    const astro::InstantSky::Observed seen = sky.sky->observed(icrs.ra_rad, icrs.dec_rad);
    at.altitude = static_cast<float>(seen.altitude_deg);
    at.azimuth = static_cast<float>(seen.azimuth_deg);
  } else {
    const astro::HorizontalPosition seen = astro::position_at(
        astro::star_at_site(site.degrees.longitude_deg, site.latitude_rad, place.ra, place.dec),
        time.mjd);
    at.altitude = seen.altitude;
    at.azimuth = seen.azimuth;
  }
  return at;
}

std::string altitude_field(float altitude_deg) {
  if (!(altitude_deg >= 0.0f)) return "(--)";
  // "(%2d)" of the whole degrees.
  std::string text = "(";
  formats::append_int(text, astro::trunc_to_int(altitude_deg),
                      formats::phase_table_line::kAltitudeDigits);
  text += ')';
  return text;
}

std::string altitude_field(const StarAtTime& at, const astro::HorizonProfile* skyline) {
  if (skyline != nullptr && !astro::above_horizon(*skyline, {at.azimuth, at.altitude})) {
    return "(--)";
  }
  return altitude_field(at.altitude);
}

std::string title_line(const TypedTime& start, const TypedTime& stop,
                       std::string_view clock_names) {
  return fmt::format(
      "Date & Time ; start {:4}/{:2}/{:2} {:2}:{:2} - stop {:4}/{:2}/{:2} {:2}:{:2} ({})",
      start.year, start.month, start.day, start.hour, start.minute, stop.year, stop.month, stop.day,
      stop.hour, stop.minute, clock_names);
}

std::string clock_names_of(const TableTime& start, const TableTime& stop) {
  if (start.clock_name == stop.clock_name) return start.clock_name;
  return start.clock_name + " - " + stop.clock_name;
}

void write_title(io::OutputFile& table, const TypedTime& start, const TypedTime& stop,
                 std::string_view clock_names) {
  table.write(title_line(start, stop, clock_names));
  table.write("\n\n");
}

void write_header(io::OutputFile& table) {
  table.write(kHeader);
  table.write(kRule);
}

void write_star_line(io::OutputFile& table, const formats::StarRecord& star,
                     const StarAtTime& start, const StarAtTime& stop,
                     const astro::HorizonProfile* skyline) {
  namespace pt = formats::phase_table_line;
  const double epoch_jd =
      static_cast<double>(static_cast<Ext>(star.epoch_mjd) + static_cast<Ext>(astro::kMjdZeroJd));
  // The bytes of "%s%12.4f %12.9f %s   %4.1f-%4.1f  %4.2f", the altitude,
  // "  -  %4.2f", the altitude and "\n", without going through printf.
  static_assert(pt::kEpoch.start == pt::kName.end() && pt::kPeriod.start == pt::kEpoch.end() + 1 &&
                pt::kVarType.start == pt::kPeriod.end() + 1 &&
                pt::kMagMax.start == pt::kVarType.end() + 3 &&
                pt::kMagMin.start == pt::kMagMax.end() + 1 &&
                pt::kStartPhase.start == pt::kMagMin.end() + 2 &&
                pt::kStartAltitude.start == pt::kStartPhase.end() &&
                pt::kStopPhase.start == pt::kStartAltitude.end() + 5 &&
                pt::kStopAltitude.start == pt::kStopPhase.end());
  table.write(io::as_c_string(star.name));
  formats::write_fixed(table, epoch_jd, pt::kEpoch.width, pt::kEpochDecimals);
  table.write(' ');
  formats::write_fixed(table, star.period, pt::kPeriod.width, pt::kPeriodDecimals);
  table.write(' ');
  table.write(io::as_c_string(star.var_type));
  table.write("   ");
  formats::write_fixed(table, static_cast<double>(star.mag_max), pt::kMagMax.width,
                       pt::kMagDecimals);
  table.write('-');
  formats::write_fixed(table, static_cast<double>(star.mag_min), pt::kMagMin.width,
                       pt::kMagDecimals);
  table.write("  ");
  formats::write_fixed(table, start.phase, pt::kStartPhase.width, pt::kPhaseDecimals);
  table.write(altitude_field(start, skyline));
  table.write("  -  ");
  formats::write_fixed(table, stop.phase, pt::kStopPhase.width, pt::kPhaseDecimals);
  table.write(altitude_field(stop, skyline));
  table.end_line();
}

}  // namespace phaselist
