#pragma once
/// The ForecastLine: one predicted minimum, one 117-character line of data.dat.

#include <string>
#include <string_view>

#include "formats/catalogue.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "forecast_minimum.h"
#include "io/output_file.h"

namespace eclfore {

/// Which minimum a line forecasts.
using MinimumKind = MinimumKind;

/// The texts of a star's ForecastLines that are the same on every line of the star: the
/// whole line with blanks for the minimum's own fields (kind, night date and hour, Julian
/// Date) from head_chars on and for the altitude from altitude_at on.
struct StarLineText {
  std::string line;
  std::size_t head_chars = 0;   ///< name, catalogue and a blank
  std::size_t altitude_at = 0;  ///< after the Julian Date, a blank, the type and a blank

  std::string_view head() const { return std::string_view(line).substr(0, head_chars); }
  /// A blank, the type and a blank.
  std::string_view before_altitude() const;
  /// A blank, the elements as typed, position and magnitudes.
  std::string_view tail() const;
};
/// The fixed texts of the ForecastLines of `star`, formatted once.
StarLineText star_line_text(const formats::StarRecord& star);

/// The hour piece " %5.2f" of a ForecastLine (the hour field and its blank) from the
/// night hour (0 to 98) and minute (0 to 60) alone, as write_forecast_line writes it for
/// lines of real data; empty outside those ranges.
std::string hour_field(int hour, int minute);

/// The Julian Date field "%12.4f" of a ForecastLine (days) as write_forecast_line writes
/// it for Julian Dates from 2^21 to 2^22 (1029 to 6771 AD); empty outside them.
std::string jd_field(double jd);

/// write_forecast_line below with the star's fixed texts formatted beforehand
/// (star_line_text of *minimum.star): the same bytes.
void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum);

/// The same with the altitude field known only as the tenths of a degree it prints
/// (0 to 900): what " %4.1f" prints for any altitude within 0.05 degree of tenths / 10.
/// minimum.altitude_deg is not looked at.
void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, int altitude_tenths);

/// Writes the ForecastLine of an accepted minimum, piece by piece with the layout's
/// format strings and the widths of formats::forecast_line: name, catalogue, p/s,
/// night date, night hour (18.00 to 30.00, JST, hours after midnight counted on
/// from 24), Julian Date of the minimum (days, UT), type, altitude (degrees), the
/// elements as typed, right ascension, declination (degrees with sign, then unsigned
/// minutes), magnitudes. Widths are minimum widths: values wider than real data can
/// give widen their field.
void write_forecast_line(io::OutputFile& out, const ForecastMinimum& minimum);

/// The same for a minimum given by its parts: minimum_jd (days, UT), altitude_deg
/// (degrees).
inline void write_forecast_line(io::OutputFile& out, const formats::StarRecord& star,
                                MinimumKind kind, const astro::LocalDate& night, double minimum_jd,
                                float altitude_deg) {
  write_forecast_line(
      out, {&star, kind, minimum_jd - astro::kMjdZeroJd, minimum_jd, night, altitude_deg});
}

}  // namespace eclfore
