#pragma once
/// A record as a catalogue gives it: the texts of the fields the star.dat line is made
/// of, before any conversion. Every reader fills one per record.

#include <string>
#include <string_view>

namespace starimport {

/// A magnitude with its marks, e.g. "<12.5 R1", "(0.75) r", "5.78: V".
struct MagnitudeEntry {
  std::string value;       ///< the number as written; empty: no magnitude given
  char limit = 0;          ///< '<' or '>' when the value is only a limit, else 0
  bool amplitude = false;  ///< '(': the value is an amplitude, not a magnitude
  std::string passband;    ///< e.g. "V", "Hp", "R1"; empty: not stated
};

/// Reads a magnitude written with its marks in one text: an optional limit mark, an
/// optional '(' (amplitude) closed by ')', the number, uncertainty marks ':' (dropped),
/// then the passband after a blank. "" gives an entry without a value. A text that
/// does not follow this shape keeps it whole in `value`, for the conversion to refuse.
MagnitudeEntry parse_magnitude_text(std::string_view text);

struct SourceRecord {
  long line = 0;          ///< 1-based line of the source where the record starts
  std::string name;       ///< designation as written
  std::string ra;         ///< "hh mm ss.s", "hh:mm:ss.s" (hours) or decimal degrees
  std::string dec;        ///< "+dd mm ss.s", "-dd:mm:ss" or decimal degrees
  std::string type;       ///< variability type, e.g. "EA/SD"
  MagnitudeEntry max;     ///< magnitude at maximum light
  MagnitudeEntry min;     ///< primary minimum: a magnitude or an amplitude
  std::string epoch;      ///< JD, or JD - 2400000, as written
  std::string period;     ///< days, as written (uncertainty marks allowed)
  char period_limit = 0;  ///< '<', '>' or '(' written before the period, else 0
  /// Primary eclipse, first to last contact: percent of the period as written, with its
  /// marks (GCVS "17  *", "10:"); a unit after the number ("2.9 h", "0.41 d") when the
  /// source gives one. Empty: not given.
  std::string duration;
  /// Secondary eclipse, as `duration`; empty: as the primary (not given).
  std::string secondary_duration;
  /// Phase of the secondary minimum after the primary, a decimal fraction of the cycle;
  /// empty: not given (0.5).
  std::string secondary_phase;
  std::string epoch_error;   ///< days, as written; empty: not given
  std::string period_error;  ///< days, as written; empty: not given
};

/// Blanks and tabs taken off both ends.
std::string_view trim(std::string_view text);

}  // namespace starimport
