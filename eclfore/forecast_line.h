#pragma once
/// The ForecastLine: one predicted minimum, one 117-character line of data.dat.

#include "astro/catalogue.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/forecast_minimum.h"
#include "astro/text_files.h"

namespace eclfore {

/// Which minimum a line forecasts.
using MinimumKind = astro::MinimumKind;

/// Writes the ForecastLine of an accepted minimum, piece by piece with the layout's
/// format strings and the widths of astro::forecast_line: name, catalogue, p/s,
/// night date, night hour (18.00 to 30.00, JST, hours after midnight counted on
/// from 24), Julian Date of the minimum (days, UT), type, altitude (degrees), the
/// elements as typed, right ascension, declination (degrees with sign, then unsigned
/// minutes), magnitudes. Widths are minimum widths: values wider than real data can
/// give widen their field.
void write_forecast_line(astro::OutputFile& out, const astro::ForecastMinimum& minimum);

/// The same for a minimum given by its parts: minimum_jd (days, UT), altitude_deg
/// (degrees).
inline void write_forecast_line(astro::OutputFile& out, const astro::StarRecord& star,
                                MinimumKind kind, const astro::LocalDate& night, double minimum_jd,
                                float altitude_deg) {
  write_forecast_line(
      out, {&star, kind, minimum_jd - astro::kMjdZeroJd, minimum_jd, night, altitude_deg});
}

}  // namespace eclfore
