#pragma once
/// The phase table isou.txt: where each flagged star stands in its light curve and
/// in the sky at the start and the stop time, and the lines that say so.

#include <optional>
#include <string>

#include "astro/ephemeris.h"
#include "astro/horizon_profile.h"
#include "astro/sites.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "times.h"

namespace phaselist {

/// Right ascension and declination of a star, radians, single precision.
struct StarRadians {
  float ra = 0;
  float dec = 0;
};

/// Phase and altitude of a star at one time.
struct StarAtTime {
  double phase = 0;    ///< in [0, 1) after the epoch, in (-1, 0] before it
  float altitude = 0;  ///< degrees, -90 to +90
  float azimuth = 0;   ///< degrees from south through west, for the observer's skyline
};

/// The site as the table's formulas take it. The latitude is converted with pi
/// 3.14159 for a typed site as for the built-in one (35.67 degrees north): one rule
/// for every site.
struct TableSite {
  astro::ObservingSite degrees;  ///< longitude degrees east, latitude degrees north
  float latitude_rad = 0;        ///< the latitude, radians, single precision
};
TableSite table_site(const astro::ObservingSite& site);

/// The star's right ascension (ra_hours x pi / 12) and declination
/// (dec_degrees x pi / 180) in radians, with pi 3.14159.
StarRadians star_radians(const formats::StarRecord& star);

/// Phase at `mjd` (days UT) of a star with primary minimum `epoch_mjd` (MJD) and
/// `period` (days): x - trunc(x) with x = (mjd - epoch_mjd) / period, so negative
/// before the epoch. Nothing when the whole cycles between epoch and time do not fit
/// a 32-bit integer (or x is not finite). period must not be 0.
std::optional<double> phase_at(double mjd, double epoch_mjd, double period);

/// Phase and altitude of a star at `time`, at `site`; nothing when the phase is not
/// defined (see phase_at).
std::optional<StarAtTime> star_at(const TableTime& time, const formats::StarRecord& star,
                                  const StarRadians& place, const TableSite& site);

/// The options for today's sky at one of the table's times.
struct TimeSky {
  const astro::InstantSky* sky = nullptr;  ///< the instant's sky; null: no option given
  astro::EpochScale epochs = astro::EpochScale::kJd;
  bool of_date = false;
};

/// star_at with the options: the phase at the typed instant taken in the epochs' time
/// scale (the instant converted into HJD or BJD for the star first), the altitude of
/// date with --of-date. Without a sky it is star_at.
std::optional<StarAtTime> star_at(const TableTime& time, const formats::StarRecord& star,
                                  const StarRadians& place, const TableSite& site,
                                  const TimeSky& sky);

/// The altitude column: "(%2d)" with the altitude (degrees) truncated toward zero
/// when it is 0 or more, "(--)" when it is below 0.
std::string altitude_field(float altitude_deg);

/// The altitude column of a star at a time: "(--)" also when `skyline` (the observer's,
/// --horizon; null without it) hides the star, else altitude_field.
std::string altitude_field(const StarAtTime& at, const astro::HorizonProfile* skyline);

/// The title line, without its line end: the ten typed numbers as typed, right-aligned
/// in their columns ("start 2006/ 3/20 21: 0"), wider where they need it, and the
/// clock's name in parentheses: "JST", or the clocks of start and stop
/// (clock_names_of).
std::string title_line(const TypedTime& start, const TypedTime& stop,
                       std::string_view clock_names = "JST");

/// The clock names of the title: the one clock of both times ("BST"), or both when
/// they differ ("BST - GMT").
std::string clock_names_of(const TableTime& start, const TableTime& stop);

/// Writes the title line and an empty line.
void write_title(io::OutputFile& table, const TypedTime& start, const TypedTime& stop,
                 std::string_view clock_names = "JST");

/// Writes the column header and the rule line.
void write_header(io::OutputFile& table);

/// Writes one star's line: name, epoch as a Julian Date, period, type, magnitude
/// range, then phase and altitude at the start and at the stop time. Values wider
/// than their columns (a negative phase, a period of 1000 days) shift the rest. A star
/// behind `skyline` (null: none) gets "(--)" for its altitude.
void write_star_line(io::OutputFile& table, const formats::StarRecord& star,
                     const StarAtTime& start, const StarAtTime& stop,
                     const astro::HorizonProfile* skyline = nullptr);

}  // namespace phaselist
