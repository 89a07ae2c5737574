#pragma once
/// The conversions of a catalogue's field texts into the fields of a star.dat line.
/// Every rounding is taken from the decimal text, to the nearest value with halves
/// away from zero, and done once.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "source_record.h"

namespace starimport {

/// The result of a conversion, or why there is none (`problem`).
template <class T>
struct Converted {
  std::optional<T> value;
  std::string problem;
};

/// Width of the epoch and of the period column of a star.dat line, characters.
inline constexpr std::size_t kElementColumns = 13;
/// Width of the name column, characters (bytes).
inline constexpr std::size_t kNameColumns = 20;

/// The text with every run of blanks (and control bytes) made one blank and none at the
/// ends.
std::string collapse_blanks(std::string_view name);

/// The designation as collapse_blanks gives it; `cut` tells whether it had to be cut to
/// kNameColumns bytes (never inside a UTF-8 character).
std::string normalise_name(std::string_view name, bool& cut);

/// The main type code: the type up to its first '/', '+', '|', ':' or blank
/// ("EA/SD" gives "EA", "E:/RS" gives "E", VSX's either-or "EA|EB" gives "EA").
std::string_view main_type(std::string_view type);

/// The epoch text of a star.dat line: the number as written (an uncertainty mark ':'
/// dropped), with 2400000 added to an epoch written as JD - 2400000 (an integer part
/// of 5 digits or fewer). Refused: no number, not above 0, an integer part that is
/// neither (100000 to 2399999), more digits than kElementColumns hold.
Converted<std::string> convert_epoch(std::string_view text);

/// The period text, days, as written (an uncertainty mark ':' dropped). `limit` is the
/// mark before it: '<' or '>' refuse it, '(' (a mean cycle) is kept. Refused also: no
/// number, not above 0, more digits than kElementColumns hold.
Converted<std::string> convert_period(std::string_view text, char limit);

/// Right ascension rounded to whole seconds of time, carries done (24 00 00 is 00 00 00).
struct RoundedRa {
  int hours = 0, minutes = 0, seconds = 0;
};
/// From "hh mm ss.s" or "hh:mm:ss.s" (hours; also "hh mm.m") or decimal degrees
/// (0 <= deg < 360).
Converted<RoundedRa> convert_ra(std::string_view text);

/// Declination rounded to whole arc minutes; south only when the rounded value is
/// below zero (a declination that rounds to 0 00 is north).
struct RoundedDec {
  bool south = false;
  int degrees = 0, minutes = 0;
};
/// From "+dd mm ss.s", "-dd:mm:ss" (also "dd mm.m"; a minus sign makes the whole value
/// southern, also for -00 30) or signed decimal degrees, |dec| <= 90.
Converted<RoundedDec> convert_dec(std::string_view text);

/// The primary eclipse's duration, percent of the period, from its text: a number (marks
/// ':' uncertain and the GCVS's '*' after it are dropped: the value stands) in percent,
/// or with a unit after it, '%', 'h' (hours) or 'd' (days), converted with `period` (the
/// period text of the line, days). Rounded to hundredths of a percent, halves away from
/// zero. Nothing without a problem for an empty text; nothing with the problem (for a
/// warning) for a limit ('<', '>'), another text, or a value not above 0 nor at most 100.
Converted<double> convert_duration(std::string_view text, std::string_view period);

/// The phase of the secondary minimum from its text, a decimal fraction of the cycle,
/// rounded to the 4 decimals its field holds (halves away from zero). Nothing without a
/// problem for an empty text; nothing with the problem (for a warning) for another text
/// or a value that does not round to one strictly between 0 and 1.
Converted<double> convert_secondary_phase(std::string_view text);

/// An uncertainty of the elements, days, from its text (a number of 0 or more, as written);
/// when the shortest text of the value is wider than `columns`, it is rounded up to the
/// most significant digits that fit, with the problem saying so (the value stands). Nothing
/// for an empty text; nothing with the problem for any other text.
Converted<double> convert_error(std::string_view text, std::string_view what, int columns);

/// Magnitudes in tenths, as the two 4-column fields hold them; nothing: left blank.
struct RoundedMagnitudes {
  std::optional<int> max_tenths;
  std::optional<int> min_tenths;
  std::vector<std::string> warnings;  ///< why a magnitude was left blank
};
/// Maximum and minimum to one decimal. A minimum given as an amplitude is the maximum
/// plus the amplitude (summed exactly, rounded once). A minimum given as a limit '<'
/// (fainter than the value) is written as the value, with a warning: the star fades to
/// it at least, and a condition on the least depth still sees it. Any other limit is no
/// magnitude. When
/// maximum and minimum are in different passbands, the range keeps the one in
/// `passband` (or else the maximum) and leaves the other blank.
RoundedMagnitudes convert_magnitudes(const MagnitudeEntry& max, const MagnitudeEntry& min,
                                     std::string_view passband);

}  // namespace starimport
