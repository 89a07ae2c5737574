#pragma once
/// Lines of the worked example's obsday2.dat, with their CR LF, and its answers.

#include <string>

namespace nightmark_files {

inline const std::string kTitle = "=== 2006/ 3/ 5 ===\r\n";
inline const std::string kHeader =
    "Name                cat.   Time  typ  High   RA       RD      Mag      Period       E0"
    "            Forecast\r\n";
inline const std::string kZzOri =
    "ZZ Ori              K001 p 21.50  EA   45    5 36    12 34  10.2 11.5     1.2345678  "
    "2451234.5678 2453800.0208\r\n";
/// Start 20:00, all sky.
inline const std::string kAllSky = "20\n0\n0\n";

}  // namespace nightmark_files
