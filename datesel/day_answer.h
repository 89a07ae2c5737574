#pragma once
/// The answer to the day question: typed at the prompt, or given as --day.

#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "io/cli.h"

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

inline constexpr io::OptionSpec kDayOption{"day", "D", "answers the day question (1 to 31)", 0,
                                           true};

/// The days of every --day in `options`, in order; empty when none is given. Throws
/// io::UsageError naming the value for one that is not a whole number from 1 to 31.
std::vector<int> day_options(const io::Options& options);

}  // namespace datesel
