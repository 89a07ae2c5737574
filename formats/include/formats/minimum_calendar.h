#pragma once
/// The month's minima as a calendar (data.ics; a plan's export takes the same events):
/// iCalendar (RFC 5545), one event a minimum in UTC, written by libical (its folding
/// and escaping). An event's UID is a name-based UUID (version 5) of the star's name,
/// the kind of minimum and the cycle count, the same in every run: importing a newer
/// forecast updates the events of an older one.

#include <cstdint>
#include <string>

#include "formats/minimum_table.h"

namespace formats {

/// One event: from start_jd to end_jd (Julian Dates, UTC).
struct CalendarEvent {
  std::string uid;
  std::string summary;
  std::string description;
  double start_jd = 0;
  double end_jd = 0;
};

/// The event of a table row from `start_jd` to `end_jd`: SUMMARY "RZ Cas primary
/// minimum 21:30" (the minimum on the night's clock, to the minute), DESCRIPTION the
/// minimum's local time, the altitudes at the window's ends and at the minimum, the
/// coverage and the uncertainty (those known).
CalendarEvent minimum_event(const MinimumTableRow& row, double start_jd, double end_jd);

/// The UID of the minimum of `kind` ("primary" or "secondary") and cycle count `cycle`
/// of the star `name` (trailing blanks left out): a version-5 UUID in lower case.
std::string minimum_event_uid(std::string_view name, std::string_view kind, std::string_view cycle);

/// The calendar's text in three parts, each of whole lines ending in "\n" (the output
/// file makes them CR LF): its head (BEGIN:VCALENDAR, VERSION, PRODID), one event, and
/// its end. The head names the writing `program` in PRODID. `stamp_seconds` is the DTSTAMP of every
/// event, seconds since 1970 (UTC).
std::string calendar_head(std::string_view program);
std::string calendar_event(const CalendarEvent& event, std::int64_t stamp_seconds);
std::string calendar_end();

/// The DTSTAMP of a run's events, seconds since 1970 (UTC): SOURCE_DATE_EPOCH from the
/// environment when it is set (the reproducible-builds convention: a fixed stamp gives
/// the same bytes from the same forecast), else the time of the run. Throws
/// io::RunError naming the variable when it is set to anything but whole seconds.
std::int64_t calendar_stamp_seconds();

}  // namespace formats
