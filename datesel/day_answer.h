#pragma once
/// The answer typed at the day prompt.

#include <cstdio>
#include <optional>
#include <string_view>

namespace datesel {

/// The prompt for the day of the night to list.
inline constexpr std::string_view kDayPrompt = "Day (99:end) = ";

/// The day number that ends the run.
inline constexpr int kEndDay = 99;

/// Reads one answer to the day prompt from `in` as "%d" does (leading white space and
/// line ends skipped). Returns the day, any integer but kEndDay, unchecked; nothing
/// when the answer is kEndDay or the input has ended. Throws io::RunError naming
/// the answer when it is not an integer (or lies beyond int's range).
std::optional<int> read_day(std::FILE* in);

}  // namespace datesel
