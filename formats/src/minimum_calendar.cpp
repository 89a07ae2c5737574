#include "formats/minimum_calendar.h"

#include <libical/ical.h>
#include <uuid/uuid.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>

#include <fmt/format.h>

#include "astro/clock_time.h"
#include "astro/constants.h"
#include "io/run_error.h"

namespace formats {
namespace {

/// The namespace of the events' UUIDs: fixed once for the toolset, never to change.
constexpr uuid_t kEventNamespace = {0x5b, 0x0e, 0x1c, 0x7a, 0x93, 0x2d, 0x4f, 0x61,
                                    0x8a, 0x4e, 0x2f, 0x6c, 0x31, 0xd5, 0x90, 0x17};
constexpr double kUnixEpochJd = astro::kUnixEpochMjd + astro::kMjdZeroJd;
using astro::kSecondsPerDay;
using astro::kSecondsPerMinute;

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

/// libical's text of a component, "\r\n" line ends made "\n".
std::string text_of(icalcomponent* component) {
  char* raw = icalcomponent_as_ical_string_r(component);
  std::string text;
  for (const char* p = raw; *p != '\0'; ++p) {
    if (*p != '\r') text += *p;
  }
  std::free(raw);
  return text;
}

icaltimetype utc_time(std::int64_t seconds) {
  return icaltime_from_timet_with_zone(static_cast<time_t>(seconds), 0,
                                       icaltimezone_get_utc_timezone());
}

/// The instants whose dates libical writes, Julian Dates (UTC): 0001-01-01 00:00:00 to
/// 3000-12-31 23:59:59 (proleptic Gregorian, as time_t); beyond, it writes an empty
/// 00000000T000000.
constexpr double kFirstCalendarJd = 1721425.5;
constexpr double kLastCalendarJd = 2817152.5 - 1.0 / kSecondsPerDay;

/// Seconds since 1970 of a Julian Date (UTC), to the nearest second; an instant beyond
/// what the calendar holds (the window of a mistyped line) at its nearer end.
std::int64_t unix_seconds(double jd) {
  const double held = std::clamp(jd, kFirstCalendarJd, kLastCalendarJd);
  return static_cast<std::int64_t>(std::llround((held - kUnixEpochJd) * kSecondsPerDay));
}

/// "VCALENDAR" split where its events go.
struct CalendarParts {
  std::string head, end;
};
CalendarParts calendar_parts(std::string_view program) {
  Component calendar(icalcomponent_new_vcalendar());
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(
      calendar.get(),
      icalproperty_new_prodid(fmt::format("-//eclipsing-binary tools//{}//EN", program).c_str()));
  const std::string text = text_of(calendar.get());
  const std::size_t end = text.rfind("END:VCALENDAR");
  return {text.substr(0, end), text.substr(end)};
}

}  // namespace

std::string minimum_event_uid(std::string_view name, std::string_view kind,
                              std::string_view cycle) {
  const std::string key = fmt::format("{}\n{}\n{}", without_trailing_blanks(name), kind, cycle);
  uuid_t uuid;
  uuid_generate_sha1(uuid, kEventNamespace, key.data(), key.size());
  char text[37];
  uuid_unparse_lower(uuid, text);
  return text;
}

CalendarEvent minimum_event(const MinimumTableRow& row, double start_jd, double end_jd) {
  const std::string_view kind = row.secondary ? "secondary" : "primary";
  const std::string_view name = without_trailing_blanks(row.name);
  CalendarEvent event;
  event.uid = minimum_event_uid(name, kind, row.cycle);
  // The clock's minute nearest the minimum.
  const astro::ClockTime at = astro::clock_time(
      row.minimum_jd + 0.5 * kSecondsPerMinute / kSecondsPerDay - 0.5 / kSecondsPerDay,
      row.offset_seconds);
  event.summary = fmt::format("{} {} minimum {:02}:{:02}", name, kind, at.hour, at.minute);
  std::string text =
      fmt::format("Minimum {}, altitude {:.1f} deg",
                  iso_local_time(row.minimum_jd, row.offset_seconds), row.alt_minimum_deg);
  if (row.alt_start_deg && row.alt_end_deg) {
    text += fmt::format("; at first contact {:.1f} deg, at last contact {:.1f} deg",
                        *row.alt_start_deg, *row.alt_end_deg);
  }
  text += row.coverage_pct ? fmt::format(". Coverage {:.0f} %", *row.coverage_pct)
                           : std::string(". Duration unknown: judged at the minimum");
  if (row.uncertainty_min) text += fmt::format(". Uncertainty {:.1f} min", *row.uncertainty_min);
  event.description = text + ".";
  event.start_jd = start_jd;
  event.end_jd = end_jd;
  return event;
}

std::string calendar_head(std::string_view program) { return calendar_parts(program).head; }
std::string calendar_end() { return calendar_parts("").end; }

std::string calendar_event(const CalendarEvent& event, std::int64_t stamp_seconds) {
  Component component(icalcomponent_new_vevent());
  icalcomponent* e = component.get();
  icalcomponent_add_property(e, icalproperty_new_uid(event.uid.c_str()));
  icalcomponent_add_property(e, icalproperty_new_dtstamp(utc_time(stamp_seconds)));
  icalcomponent_add_property(e, icalproperty_new_dtstart(utc_time(unix_seconds(event.start_jd))));
  icalcomponent_add_property(e, icalproperty_new_dtend(utc_time(unix_seconds(event.end_jd))));
  icalcomponent_add_property(e, icalproperty_new_summary(event.summary.c_str()));
  icalcomponent_add_property(e, icalproperty_new_description(event.description.c_str()));
  return text_of(e);
}

std::int64_t calendar_stamp_seconds() {
  const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
  if (fixed == nullptr) return static_cast<std::int64_t>(std::time(nullptr));
  const std::string_view text = fixed;
  std::int64_t seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || seconds < 0) {
    throw io::RunError(fmt::format("SOURCE_DATE_EPOCH={}: wants whole seconds since 1970", text));
  }
  return seconds;
}

}  // namespace formats
