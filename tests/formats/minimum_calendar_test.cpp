// The month's minima as a calendar: the recorded data.ics parsed back with libical, one
// event a row of the same run's table, each UID the name-based one of its star, kind
// and cycle; text that needs escaping survives the round trip.
#include "formats/minimum_calendar.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "e2e.h"
#include "ical_component.h"

namespace {

using Component = e2e::IcalComponent;

std::string recorded(const std::string& name) {
  return e2e::read_file(std::filesystem::path(E2E_CASES_DIR) /
                        "eclfore/csv_and_ics_whole_eclipse/expected" / name);
}

TEST(MinimumCalendar, RecordedCalendarParsesBackOneEventPerTableRow) {
  const std::string text = recorded("data.ics");
  Component calendar(icalparser_parse_string(text.c_str()));
  ASSERT_TRUE(calendar);
  ASSERT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalrestriction_check(calendar.get()), 1);  // the properties RFC 5545 asks
  const std::string table = recorded("data.csv");
  const long rows = std::count(table.begin(), table.end(), '\n') - 1;
  long events = 0;
  std::set<std::string> uids;
  for (icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
       e != nullptr; e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
    ++events;
    uids.insert(icalcomponent_get_uid(e));
    const icaltimetype start = icalcomponent_get_dtstart(e);
    const icaltimetype end = icalcomponent_get_dtend(e);
    EXPECT_TRUE(icaltime_is_utc(start));
    EXPECT_LT(icaltime_compare(start, end), 0);
    // SOURCE_DATE_EPOCH=1796083200 of the case: 2026-12-01 00:00 UTC.
    const icaltimetype stamp = icalcomponent_get_dtstamp(e);
    EXPECT_EQ(icaltime_as_timet(stamp), 1796083200);
    EXPECT_NE(std::string(icalcomponent_get_summary(e)).find(" minimum "), std::string::npos);
  }
  EXPECT_EQ(events, rows);
  EXPECT_EQ(static_cast<long>(uids.size()), events);  // every minimum its own UID
  // The first row's minimum: RZ Cas, primary, cycle 4058.
  EXPECT_TRUE(uids.count(formats::minimum_event_uid("RZ Cas", "primary", "4058")));
}

TEST(MinimumCalendar, UidDependsOnStarKindAndCycleAlone) {
  const std::string uid = formats::minimum_event_uid("RZ Cas   ", "primary", "4058");
  EXPECT_EQ(uid, formats::minimum_event_uid("RZ Cas", "primary", "4058"));
  EXPECT_EQ(uid.size(), 36u);
  EXPECT_EQ(uid[14], '5');  // a name-based (SHA-1) UUID
  EXPECT_NE(uid, formats::minimum_event_uid("RZ Cas", "secondary", "4058"));
  EXPECT_NE(uid, formats::minimum_event_uid("RZ Cas", "primary", "4059"));
}

TEST(MinimumCalendar, EventTextRoundTripsThroughLibicalsEscaping) {
  formats::MinimumTableRow row;
  row.name = "V2; odd, \\name";
  row.cycle = "12.5";
  row.secondary = true;
  row.offset_seconds = 0;
  row.minimum_jd = 2461380.5 + 21.5 / 24;  // 21:30 UTC
  row.alt_minimum_deg = 45.04;
  const formats::CalendarEvent event =
      formats::minimum_event(row, row.minimum_jd - 1.0 / 48, row.minimum_jd + 1.0 / 48);
  EXPECT_EQ(event.summary, "V2; odd, \\name secondary minimum 21:30");
  const std::string text = formats::calendar_head("eclfore") + formats::calendar_event(event, 0) +
                           formats::calendar_end();
  Component calendar(icalparser_parse_string(text.c_str()));
  ASSERT_TRUE(calendar);
  icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(std::string(icalcomponent_get_summary(e)), event.summary);
  EXPECT_EQ(std::string(icalcomponent_get_description(e)), event.description);
  EXPECT_EQ(icaltime_as_timet(icalcomponent_get_dtstart(e)), 1796590800);  // 2026-12-06 21:00 UTC
  EXPECT_EQ(icaltime_as_timet(icalcomponent_get_dtend(e)), 1796594400);
}

TEST(MinimumCalendar, AWindowBeyondTheCalendarsYearsEndsAtTheirEnds) {
  // The window of a mistyped line (a period of 28673043 days) runs from 3469 BC to AD 7522:
  // libical writes no date beyond the year 3000, an empty 00000000T000000.
  formats::MinimumTableRow row;
  row.name = "bet Per";
  row.cycle = "0";
  row.minimum_jd = 2461385.09512;
  const std::string text = formats::calendar_event(
      formats::minimum_event(row, row.minimum_jd - 2007113, row.minimum_jd + 2007113), 0);
  EXPECT_NE(text.find("DTSTART:00010101T000000Z"), std::string::npos) << text;
  EXPECT_NE(text.find("DTEND:30001231T235959Z"), std::string::npos) << text;
}

}  // namespace
