#pragma once
/// What the options that answer a program's questions share: --quiet, and the reading of
/// a whole number, a decimal number and a clock time given as an option's value.

#include <string_view>

#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kQuietOption{
    "quiet", "", "print only the questions still asked, warnings and errors"};

/// True when `options` holds --quiet.
bool quiet_option(const io::Options& options);

/// The value `text` of `option` as a whole number from `lowest` to `highest`. Throws
/// io::UsageError "--NAME=TEXT: wants a whole number from LOWEST to HIGHEST" (", LOWEST
/// or more" when `highest` is the largest int) for anything else.
int whole_number_option(const io::OptionSpec& option, std::string_view text, int lowest,
                        int highest);

/// The value `text` of `option` as a number from `lowest` to `highest`, rounded straight
/// from the decimal to float as a typed "%f" answer is. Throws io::UsageError "--NAME=TEXT:
/// wants a number from LOWEST to HIGHEST" for anything else (NaN and infinity included).
float decimal_option(const io::OptionSpec& option, std::string_view text, float lowest,
                     float highest);

/// A clock time given as an option: hour and minute, the hours after midnight counted on
/// from 24 where the program takes them so.
struct ClockTime {
  int hour = 0;
  int minute = 0;
};

/// `text` as "H:MM" or "HH:MM", the hour from `first_hour` to `last_hour`, the minute
/// 00 to 59. Throws io::UsageError naming `option` and `text` for anything else.
ClockTime clock_time_option(const io::OptionSpec& option, std::string_view text, int first_hour,
                            int last_hour);

}  // namespace formats
