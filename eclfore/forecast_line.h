#pragma once
/// The ForecastLine: one listed minimum, one 117-character line of data.dat
/// (formats::forecast_line).

#include <array>
#include <string>
#include <string_view>

#include "astro/constants.h"
#include "astro/dates.h"
#include "forecast_minimum.h"
#include "formats/catalogue.h"
#include "formats/fixed_format.h"
#include "io/output_file.h"
#include "io/text_files.h"

namespace eclfore {

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

/// The altitude field " %4.1f" of a ForecastLine without its blank: at least the field's
/// width, wider for values real data cannot give.
struct AltitudeField {
  std::array<char, formats::kNumberTextChars + 4> chars;
  std::size_t size = 0;
  std::string_view text() const { return {chars.data(), size}; }
};
AltitudeField altitude_field(float altitude_deg);

/// Writes the ForecastLine of a listed minimum piece by piece with the layout's widths
/// and decimals: the star's texts of `text` (star_line_text of *minimum.star), p/s,
/// night date, night hour (18.00 to 30.00, the night's clock, hours after midnight counted on from
/// 24), Julian Date of the minimum (days, UT), and `altitude` as the altitude field.
/// Widths are minimum widths: values wider than real data can give widen their field.
void write_forecast_line(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, std::string_view altitude);

/// The ForecastLine of an accepted minimum: name, catalogue, p/s, night date, night
/// hour, Julian Date, type, altitude (degrees), the elements as typed, right ascension,
/// declination (degrees with sign, then unsigned minutes), magnitudes.
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
