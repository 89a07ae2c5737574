#pragma once
/// The ForecastLine: one predicted minimum, one 117-character line of data.dat.

#include "astro/catalogue.h"
#include "astro/dates.h"
#include "astro/text_files.h"

namespace eclfore {

/// Which minimum a line forecasts.
enum class MinimumKind { kPrimary, kSecondary };

/// Writes one ForecastLine, piece by piece with the layout's format strings:
/// name, catalogue, p/s, night date, night hour (18.00 to 30.00, JST, hours after
/// midnight counted on from 24), Julian Date of the minimum (days, UT), type,
/// altitude (degrees), the elements as typed, right ascension, declination (degrees
/// with sign, then unsigned minutes), magnitudes. Widths are minimum widths: values
/// wider than real data can give widen their field.
void write_forecast_line(astro::OutputFile& out, const astro::StarRecord& star,
                         MinimumKind kind, const astro::LocalDate& night, double minimum_jd,
                         float altitude_deg);

}  // namespace eclfore
