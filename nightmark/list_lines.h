#pragma once
/// The daily-list layout that nightmark reads, in obsday2.dat and obsday3.txt:
/// a title line, a column-header line, then one line per minimum.

#include <cstddef>
#include <string>

#include "formats/layouts.h"
#include "io/text_files.h"

namespace nightmark {

/// A list line keeps the columns of the DailyListLine (formats::daily_list_line).
/// One shorter than this (line end not counted) does not reach the declination
/// minutes.
inline constexpr std::size_t kMinListLineChars = formats::daily_list_line::kDecMin.end();
/// A title shorter than this does not reach the day field.
inline constexpr std::size_t kMinTitleChars = formats::daily_title::kMinChars;

/// True when a list line read from `reader` reaches kMinListLineChars. A shorter
/// line that is not blank is reported on standard error with file and line number.
bool usable_list_line(const std::string& line, const io::LineReader& reader);

}  // namespace nightmark
