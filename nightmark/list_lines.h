#pragma once
/// The daily-list layout that nightmark reads, in obsday2.dat and obsday3.txt:
/// a title line, a column-header line, then one line per minimum.

#include <cstddef>
#include <string>

#include "astro/text_files.h"

namespace nightmark {

/// 0-based columns of a list line (the layout datesel writes).
namespace column {
inline constexpr int kName = 0;  ///< star name, 20 characters, blank-padded
inline constexpr int kNameChars = 20;
inline constexpr int kCatalogue = 20;  ///< first character of the catalogue field
inline constexpr int kTime = 27;       ///< time of the minimum, JST hours, 5 characters
inline constexpr int kTimeChars = 5;
inline constexpr int kRaHours = 44;     ///< 2 characters
inline constexpr int kRaMinutes = 47;   ///< 2 characters
inline constexpr int kDecDegrees = 52;  ///< 3 characters, signed, no plus sign
inline constexpr int kDecDegreesChars = 3;
inline constexpr int kDecMinutes = 56;  ///< 2 characters, unsigned
}  // namespace column

/// A list line shorter than this (line end not counted) does not reach the
/// declination minutes.
inline constexpr std::size_t kMinListLineChars = 58;
/// A title shorter than this does not reach the day field.
inline constexpr std::size_t kMinTitleChars = 14;

/// True when a list line read from `reader` reaches kMinListLineChars. A shorter
/// line that is not blank is reported on standard error with file and line number.
bool usable_list_line(const std::string& line, const astro::LineReader& reader);

}  // namespace nightmark
