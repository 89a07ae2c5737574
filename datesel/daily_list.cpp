#include "daily_list.h"

#include <array>

#include "formats/fixed_format.h"
#include "formats/layouts.h"

namespace datesel {
namespace {

namespace fl = formats::forecast_line;
namespace dl = formats::daily_list_line;
namespace title = formats::daily_title;

/// One piece of a DailyListLine: a ForecastLine text printed with "%s" between the
/// literal text of its format string, landing in its DailyListLine field.
struct Piece {
  formats::Field from;  ///< ForecastLine columns
  formats::Field to;    ///< DailyListLine columns
  std::string_view before;
  std::string_view after;
};

// The DailyListLine in output order; the separators are those of the formats
// "%s ", "%s ", " %s   ", "%s   ", "%s   ", "%s  ", "%s ", "%s ", "%s ", "%s\n".
constexpr std::array<Piece, 10> kPieces{{
    {fl::kNameToKind, dl::kNameToKind, "", " "},
    {fl::kHour, dl::kTime, "", " "},
    {fl::kVarType, dl::kVarType, " ", "   "},
    {fl::kAltitudeWholeDegrees, dl::kAltitude, "", "   "},
    {fl::kRaHoursMinutes, dl::kRaHoursMinutes, "", "   "},
    {fl::kDeclination, dl::kDeclination, "", "  "},
    {fl::kMagnitudes, dl::kMagnitudes, "", " "},
    {fl::kPeriod, dl::kPeriod, "", " "},
    {fl::kEpoch, dl::kEpoch, "", " "},
    {fl::kJd, dl::kForecastJd, "", "\n"},
}};

/// True when every piece copies a text of its field's width and lands where its
/// DailyListLine field starts, the last one ending the line.
constexpr bool pieces_meet_their_fields() {
  int column = 0;
  for (const Piece& piece : kPieces) {
    column += static_cast<int>(piece.before.size());
    if (piece.from.width != piece.to.width || piece.to.start != column) return false;
    column += piece.to.width;
    if (piece.after != "\n") column += static_cast<int>(piece.after.size());
  }
  return column == dl::kLineChars;
}
static_assert(pieces_meet_their_fields(), "a DailyListLine piece misses its column");

}  // namespace

std::string daily_title(int year, int month, int day) {
  std::string text(title::kOpening);
  formats::append_int(text, year, title::kYear.width);
  text += '/';
  formats::append_int(text, month, title::kMonth.width);
  text += '/';
  formats::append_int(text, day, title::kDay.width);
  text += title::kClosing;
  text += '\n';
  return text;
}

std::string daily_list_line(std::string_view forecast_line) {
  std::string line;
  line.reserve(kDailyListLineChars + 1);
  for (const Piece& piece : kPieces) {
    line += piece.before;
    line += formats::extract_field(forecast_line, piece.from);
    line += piece.after;
  }
  return line;
}

}  // namespace datesel
