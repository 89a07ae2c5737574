#pragma once
/// The forecast's other outputs beside data.dat: the month as a table and as a calendar.

#include <string>

#include "io/cli.h"

namespace eclfore {

inline constexpr io::OptionSpec kCsvOption{"csv", "",
                                           "also write data.csv: the minima as a table (RFC 4180)"};
inline constexpr io::OptionSpec kIcsOption{"ics", "",
                                           "also write data.ics: the minima as calendar events"};

/// The files those options write, in the current folder.
inline const std::string kTableFile = "data.csv";
inline const std::string kCalendarFile = "data.ics";

}  // namespace eclfore
