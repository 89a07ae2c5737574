#pragma once
/// The four programs, each with a folder in which it runs cleanly, and the text
/// pieces the matrix spoils.

#include <string>
#include <string_view>
#include <vector>

#include "matrix.h"

namespace robustness {

const Program& eclfore();
const Program& datesel();
const Program& nightmark();
const Program& phaselist();

/// A complete star.dat line (flag 2, so the phase table lists it), without line end.
inline const std::string kStarLine =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9"
    "      2 C012";

/// A ForecastLine of eclfore (day 6, 29.58 h), without line end.
inline const std::string kForecastLine =
    "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
    "1.2345678 21 30  0  20 15  9.8 10.9";

/// A daily list as datesel writes it: title, header and two lines (CR LF ends).
inline const std::string kDailyTitle = "=== 2006/ 3/ 5 ===";
inline const std::string kDailyHeader =
    "Name                cat.   Time  typ  High   RA       RD      Mag      Period       E0"
    "            Forecast";
inline const std::string kZzOriLine =
    "ZZ Ori              K001 p 21.50  EA   45    5 36    12 34  10.2 11.5     1.2345678  "
    "2451234.5678 2453800.0208";
inline const std::string kAsasLine =
    "ASASJ091012-0507.2  K002 p 22.00  EA   49    9 10    -5  7  11.0 11.6     0.8765432  "
    "2452000.1234 2453800.0417";
inline const std::string kDailyHead = kDailyTitle + "\r\n" + kDailyHeader + "\r\n";
inline const std::string kDailyList = kDailyHead + kZzOriLine + "\r\n" + kAsasLine + "\r\n";

/// Columns of a daily list line.
inline constexpr std::size_t kDailyTimeColumn = 27;  ///< 5 characters

/// `line` with `text` written over it from `column` (0-based), blank-extended.
std::string overwrite(std::string line, std::size_t column, std::string_view text);

/// kStarLine renamed "BAD Star", with `text` written over it from `column`.
std::string bad_star(std::size_t column, std::string_view text);

/// Columns of a star.dat line.
inline constexpr std::size_t kEpochColumn = 20;   ///< 13 characters
inline constexpr std::size_t kPeriodColumn = 33;  ///< 13 characters
inline constexpr std::size_t kMagMaxColumn = 73;  ///< 4 characters

/// The star.dat cases shared by eclfore and phaselist, which read the catalogue
/// alike: `good_text` is what `output` holds for the good star that follows a
/// spoiled line; `missing_stdout` what standard output says when there is no
/// catalogue (empty: nothing asked).
std::vector<Case> star_catalogue_cases(const std::string& output, const std::string& good_text,
                                       const std::string& missing_stdout);

/// The bad-input cases of each program.
std::vector<ProgramCase> eclfore_cases();
std::vector<ProgramCase> datesel_cases();
std::vector<ProgramCase> nightmark_cases();
std::vector<ProgramCase> phaselist_cases();
/// Bad values of the command-line options of every program.
std::vector<ProgramCase> option_cases();

}  // namespace robustness
