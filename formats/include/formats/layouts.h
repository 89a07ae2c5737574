#pragma once
/// The fixed-column layouts of the system's files, each defined once: every writer
/// takes its widths from here and every reader its columns, so moving a column is a
/// change in one place. Columns are 0-based byte offsets from the start of a line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "formats/records.h"

namespace formats {

/// One fixed-column field of a line.
struct Field {
  int start;  ///< 0-based column of the first character
  int width;  ///< characters
  /// The column just after the field.
  constexpr int end() const { return start + width; }
};

/// The field from the start of `first` to the end of `last` (what a reader takes
/// as one text, e.g. right ascension hours and minutes together).
constexpr Field span(Field first, Field last) { return {first.start, last.end() - first.start}; }

/// The whole numbers that printf's "%Wd" writes within W columns: -(10^(W-1) - 1) to
/// 10^W - 1, the minus sign taking a column. A number outside widens its field and
/// shifts every column after it.
struct WholeNumberRange {
  int lowest;
  int highest;
  constexpr bool holds(int value) const { return value >= lowest && value <= highest; }
};

/// The whole numbers that `field` holds right-aligned (a width of 1 to 9 columns).
constexpr WholeNumberRange whole_numbers_within(Field field) {
  int highest = 0;
  for (int k = 0; k < field.width && k < 9; ++k) highest = highest * 10 + 9;
  return {-(highest / 10), highest};
}

/// Nothing when `field` holds `value`; else the message "WHAT VALUE does not fit the
/// W columns of WHERE (LOWEST to HIGHEST)", such as "year 10000 does not fit the 4
/// columns of the year in data.dat (-999 to 9999)".
std::optional<std::string> beyond_field(std::string_view what, int value, Field field,
                                        std::string_view where);

/// The characters of `field` in `line`; columns past the end of the line read as blanks.
inline std::string extract_field(std::string_view line, Field field) {
  return extract_field(line, field.start, field.width);
}

/// The columns of `field` that lie inside `line` (see field_within).
inline std::string_view field_within(std::string_view line, Field field) {
  return field_within(line, field.start, field.width);
}

/// star.dat: one star of the catalogue a line (the StarRecord).
namespace star_line {
inline constexpr Field kName{0, 20};        ///< star name, blank-padded on the right
inline constexpr Field kEpoch{20, 13};      ///< Julian Date of a primary minimum
inline constexpr Field kPeriod{33, 13};     ///< days
inline constexpr Field kRaH{47, 2};         ///< right ascension hours
inline constexpr Field kRaM{50, 2};         ///< right ascension minutes
inline constexpr Field kRaS{53, 2};         ///< right ascension whole seconds
inline constexpr Field kDecDeg{57, 3};      ///< declination whole degrees with sign
inline constexpr Field kDecMin{61, 2};      ///< declination arc minutes, unsigned
inline constexpr Field kVarType{70, 2};     ///< variability type
inline constexpr Field kMagMax{73, 4};      ///< magnitude at maximum light, one decimal
inline constexpr Field kMagMin{78, 4};      ///< magnitude at minimum light, one decimal
inline constexpr Field kSelectFlag{88, 1};  ///< one digit; digit & 2 selects for the phase table
inline constexpr Field kCatalogue{90, 4};   ///< free text
/// Epoch and period as typed, blanks included: the forecast copies them unchanged.
inline constexpr Field kElements = span(kEpoch, kPeriod);
/// Characters of a complete line before its line end.
inline constexpr int kLineChars = kCatalogue.end();
/// The optional extension after the catalogue field (StarExtension): one blank column
/// before each field; a line that ends at kLineChars has all of them blank.
inline constexpr Field kEclipseDuration{95, 5};     ///< percent of the period
inline constexpr Field kSecondaryDuration{101, 5};  ///< percent of the period
inline constexpr Field kSecondaryPhase{107, 6};     ///< phase of the secondary minimum
inline constexpr Field kEpochError{114, 10};        ///< days
inline constexpr Field kPeriodError{125, 12};       ///< days
inline constexpr Field kTimeScale{138, 3};          ///< JD, HJD or BJD
/// Characters of a line with the whole extension, before its line end.
inline constexpr int kExtendedLineChars = kTimeScale.end();
static_assert(kEclipseDuration.start == kLineChars + 1 &&
              kSecondaryDuration.start == kEclipseDuration.end() + 1 &&
              kSecondaryPhase.start == kSecondaryDuration.end() + 1 &&
              kEpochError.start == kSecondaryPhase.end() + 1 &&
              kPeriodError.start == kEpochError.end() + 1 &&
              kTimeScale.start == kPeriodError.end() + 1);
}  // namespace star_line

/// The texts of the fields of one star.dat line, as they are to stand in it.
/// Numbers are right-aligned in their field, texts (name, type, catalogue)
/// left-aligned; a text longer than its field is refused.
struct StarLineFields {
  std::string name, epoch, period;
  std::string ra_hour_part, ra_minute_part, ra_second_part;
  std::string dec_degree_part, dec_minute_part;
  std::string var_type, mag_max, mag_min;
  std::string select_flag, catalogue;
};

/// The star.dat line of `fields`, star_line::kLineChars characters without a line
/// end; the columns between the fields are blanks. parse_star_record reads it back.
/// Throws std::invalid_argument naming the field when a text is longer than its
/// field or holds a byte below the blank (a line end, a tab, a NUL) that would move
/// or cut the columns after it.
std::string format_star_line(const StarLineFields& fields);

/// data.dat and its sorted copy data.sot: one forecast minimum a line (the
/// ForecastLine). The writer's widths are minimum widths; real data fits them.
namespace forecast_line {
inline constexpr Field kName{0, 20};       ///< the star.dat name, unchanged
inline constexpr Field kCatalogue{20, 4};  ///< the star.dat catalogue text, unchanged
inline constexpr Field kKind{25, 1};       ///< p primary, s secondary minimum
inline constexpr Field kYear{27, 4};       ///< night date (the zone's clock, JST by default)
inline constexpr Field kMonth{32, 2};
inline constexpr Field kDay{35, 2};
inline constexpr Field kHour{
    38, 5};  ///< JST decimal hours, 18.00 to 30.00 (12.00 to 36.00 with --sun-below), "%5.2f"
inline constexpr Field kJd{44, 12};  ///< Julian Date of the minimum, "%12.4f"
inline constexpr Field kVarType{57, 2};
inline constexpr Field kAltitude{60, 4};  ///< degrees, "%4.1f"
inline constexpr Field kEpoch{65, 13};    ///< the star.dat epoch text, unchanged
inline constexpr Field kPeriod{78, 13};   ///< the star.dat period text, unchanged
inline constexpr Field kRaH{92, 2};       ///< right ascension hours, "%2.0f"
inline constexpr Field kRaM{95, 2};
inline constexpr Field kRaS{98, 2};
inline constexpr Field kDecDeg{101, 3};  ///< signed whole degrees, "%3.0f"
inline constexpr Field kDecMin{105, 2};  ///< unsigned whole arc minutes, "%2.0f"
inline constexpr Field kMagMax{108, 4};  ///< "%4.1f"
inline constexpr Field kMagMin{113, 4};
/// Decimals of the numbers the writer formats.
inline constexpr int kHourDecimals = 2;
inline constexpr int kJdDecimals = 4;
inline constexpr int kAltitudeDecimals = 1;
inline constexpr int kMagDecimals = 1;
/// The ranges the daily list copies as one text each.
inline constexpr Field kNameToKind = span(kName, kKind);
inline constexpr Field kAltitudeWholeDegrees{kAltitude.start,
                                             kAltitude.width - 1 - kAltitudeDecimals};
inline constexpr Field kElements = span(kEpoch, kPeriod);
inline constexpr Field kRaHoursMinutes = span(kRaH, kRaM);
inline constexpr Field kDeclination = span(kDecDeg, kDecMin);
inline constexpr Field kMagnitudes = span(kMagMax, kMagMin);
/// Characters of a line before its line end.
inline constexpr int kLineChars = kMagMin.end();
static_assert(kElements.width == star_line::kElements.width,
              "the elements go into the forecast as they stand in the catalogue");
static_assert(kName.width == star_line::kName.width &&
              kCatalogue.width == star_line::kCatalogue.width &&
              kVarType.width == star_line::kVarType.width);
}  // namespace forecast_line

/// obsday.dat (and the user's obsday2.dat, and nightmark's obsday3.txt): the title
/// line "=== %4d/%2d/%2d ===" of the night's date.
namespace daily_title {
inline constexpr std::string_view kOpening = "=== ";
inline constexpr Field kYear{4, 4};
inline constexpr Field kMonth{9, 2};
inline constexpr Field kDay{12, 2};
inline constexpr std::string_view kClosing = " ===";
static_assert(kYear.start == static_cast<int>(kOpening.size()) && kMonth.start == kYear.end() + 1 &&
              kDay.start == kMonth.end() + 1);
/// Shortest title that reaches the day field.
inline constexpr int kMinChars = kDay.end();
}  // namespace daily_title

/// The DailyListLine of obsday.dat: ForecastLine texts copied into new columns.
/// nightmark's obsday2.dat and obsday3.txt (the NightListLine) keep these columns.
namespace daily_list_line {
inline constexpr Field kNameToKind{0, 26};  ///< name, catalogue, blank and kind
inline constexpr Field kName{0, 20};
inline constexpr Field kCatalogue{20, 4};
inline constexpr Field kTime{27, 5};  ///< decimal hours of the minimum, the zone's clock
inline constexpr Field kVarType{34, 2};
inline constexpr Field kAltitude{39, 2};  ///< whole degrees
inline constexpr Field kRaHoursMinutes{44, 5};
inline constexpr Field kRaH{44, 2};
inline constexpr Field kRaM{47, 2};
inline constexpr Field kDeclination{52, 6};
inline constexpr Field kDecDeg{52, 3};  ///< signed, no plus sign
inline constexpr Field kDecMin{56, 2};  ///< unsigned
inline constexpr Field kMagnitudes{60, 9};
inline constexpr Field kPeriod{70, 13};
inline constexpr Field kEpoch{84, 13};
inline constexpr Field kForecastJd{98, 12};
/// Characters of a line before its line end.
inline constexpr int kLineChars = kForecastJd.end();
static_assert(kName.start == kNameToKind.start &&
              kCatalogue.start - kName.start ==
                  forecast_line::kCatalogue.start - forecast_line::kName.start);
static_assert(kRaH.start == kRaHoursMinutes.start && kRaM.end() == kRaHoursMinutes.end() &&
              kRaHoursMinutes.width == forecast_line::kRaHoursMinutes.width);
static_assert(kDecDeg.start == kDeclination.start && kDecMin.end() == kDeclination.end() &&
              kDeclination.width == forecast_line::kDeclination.width);
}  // namespace daily_list_line

/// isou.txt: one flagged star a line of the phase table. The widths are minimum
/// widths: a negative phase or a period of 1000 days shifts the rest of the line.
namespace phase_table_line {
inline constexpr Field kName{0, 20};
inline constexpr Field kEpoch{20, 12};   ///< Julian Date, "%12.4f"
inline constexpr Field kPeriod{33, 12};  ///< days, "%12.9f"
inline constexpr Field kVarType{46, 2};
inline constexpr Field kMagMax{51, 4};  ///< "%4.1f"
inline constexpr Field kMagMin{56, 4};
inline constexpr Field kStartPhase{62, 4};     ///< "%4.2f"
inline constexpr Field kStartAltitude{66, 4};  ///< "(%2d)" or "(--)"
inline constexpr Field kStopPhase{75, 4};
inline constexpr Field kStopAltitude{79, 4};
inline constexpr int kEpochDecimals = 4;
inline constexpr int kPeriodDecimals = 9;
inline constexpr int kMagDecimals = 1;
inline constexpr int kPhaseDecimals = 2;
/// Whole degrees of an altitude, between its parentheses.
inline constexpr int kAltitudeDigits = 2;
static_assert(kStartAltitude.width == kAltitudeDigits + 2 &&
              kStopAltitude.width == kStartAltitude.width);
/// Characters of a line before its line end.
inline constexpr int kLineChars = kStopAltitude.end();
}  // namespace phase_table_line

/// isou.txt's title "Date & Time ; start %4d/%2d/%2d %2d:%2d - stop %4d/%2d/%2d
/// %2d:%2d (JST)": the typed start and stop as typed. The widths are minimum widths;
/// these columns hold for numbers that fit them.
namespace phase_table_title {
inline constexpr Field kStartYear{20, 4};
inline constexpr Field kStopYear{44, 4};
static_assert(kStartYear.width == kStopYear.width);
}  // namespace phase_table_title

}  // namespace formats
