#pragma once
/// Refreshing a star.dat in place (--update): the stars of the user's file that the
/// input also holds take the input's elements, every other byte of the file stays.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/catalogue.h"
#include "import_report.h"
#include "star_line.h"

namespace starimport {

/// One line of the user's catalogue, as it stands and as the readers see it.
struct CatalogueLine {
  std::string raw;   ///< the bytes between two line ends, as they are (a CR inside kept)
  std::string text;  ///< the same with every CR dropped, as eclfore reads it
};

/// The user's catalogue, read whole so that it can be written back unchanged.
struct CatalogueText {
  std::string byte_order_mark;  ///< a UTF-8 mark at the start, written back
  std::vector<CatalogueLine> lines;
  /// The bytes from a Ctrl-Z on, which no reader sees: written back as they are.
  std::string after_end;
};

/// Splits the bytes of a catalogue at its line ends (LF, with or without a CR).
CatalogueText split_catalogue(std::string bytes);

/// Reads the catalogue `path` (a regular file); throws io::RunError naming it.
CatalogueText read_catalogue(const std::string& path);

/// A line of the catalogue with the input's elements.
struct RefreshedLine {
  std::string text;                  ///< the new line, without its line end
  std::vector<std::string> changed;  ///< "epoch", "period", "duration", ...; empty: unchanged
};

/// The catalogue line `text` (a star's, see formats::unusable_star_line) with the elements
/// of `imported`: the epoch and the period where their values differ, written as the
/// importer writes them; the extension's durations and secondary phase where the input
/// gives them; the errors and the time scale where the input gives them, and cleared
/// where it does not but the epoch (its error, its time scale) or the period (its error)
/// changed, as they belonged to the old elements. Every other column stays as it is.
/// Nothing when the extension is to change but the columns after the catalogue field
/// hold something that is not one (a note its rewriting would lose): `problem` says what
/// then.
std::optional<RefreshedLine> refreshed_line(std::string_view text, const StarLine& imported,
                                            std::string* problem);

/// How far the next primary minimum after `today_jd` (Julian Date, UTC) moves from the
/// elements of `before` to those of `after`, minutes (later when positive): the first
/// primary minimum at or after that instant by `before`, and the one of `after` nearest
/// it, each taken to the geocentre in UTC from its line's time scale (JD when the line
/// names none, as eclfore's default) as eclfore does. Nothing when either line lacks
/// usable elements.
std::optional<double> next_minimum_shift_minutes(const formats::StarRecord& before,
                                                 const formats::StarRecord& after, double today_jd);

/// The report of one refreshed star: "RZ Cas: epoch, period; next minimum 4.2 min later".
std::string refresh_report(std::string_view name, const std::vector<std::string>& changed,
                           std::optional<double> shift_minutes, bool elements_moved);

/// Refreshes the catalogue `path` (read as `catalogue`) from the input's lines
/// `imported`, in input order: each star line whose name (star_name_key) is the name of
/// an imported line takes its elements (refreshed_line); with `add`, the imported lines
/// of no star of the catalogue are appended after its last line. Says on standard error,
/// line by line, what changed (refresh_report, the next minimum after `today_jd`), and
/// replaces the file, with CR LF line ends, only when something changed; every line not
/// refreshed keeps its bytes. Throws io::RunError when the file cannot be written (it is
/// then as it was).
RefreshCounts refresh_catalogue(const std::string& path, const CatalogueText& catalogue,
                                const std::vector<StarLine>& imported, bool add, double today_jd);

/// Julian Date (UTC) of 0 h UT of a date "YYYY-MM-DD" (--today), or nothing when the
/// text is not such a Gregorian date of the years 1583 to 9999.
std::optional<double> jd_of_date_text(std::string_view text);

/// Julian Date (UTC) of 0 h UT of the system clock's date.
double jd_of_today();

}  // namespace starimport
