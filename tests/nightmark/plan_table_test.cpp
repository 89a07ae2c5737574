// The plan as a table and a calendar: the recorded obsday3.csv read back by its header
// (the windows and the shares that --coverage=50 kept, the line that star.dat does not
// hold), and obsday3.ics parsed back with libical, one event a row.
#include "plan_table.h"

#include <gtest/gtest.h>
#include <libical/ical.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "e2e.h"
#include "formats/minimum_calendar.h"
#include "ical_component.h"
#include "table_text.h"

namespace {

using Component = e2e::IcalComponent;

std::string recorded(const std::string& name) {
  return e2e::read_file(std::filesystem::path(E2E_CASES_DIR) /
                        "nightmark/export_csv_ics_eclipse_windows/expected" / name);
}

/// The recorded table's rows, each by its header's names.
std::vector<std::map<std::string, std::string>> recorded_rows() {
  const std::vector<std::string> lines = e2e::crlf_lines(recorded("obsday3.csv"));
  EXPECT_EQ(lines.front(), formats::kMinimumTableHeader);
  const std::vector<std::string> header = e2e::csv_fields(lines.front());
  std::vector<std::map<std::string, std::string>> rows;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = e2e::csv_fields(lines[i]);
    EXPECT_EQ(fields.size(), header.size()) << lines[i];
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < header.size() && c < fields.size(); ++c) row[header[c]] = fields[c];
    rows.push_back(row);
  }
  return rows;
}

TEST(PlanTable, RecordedTableReadsBackByItsHeaderOneRowAPlanLine) {
  const std::vector<std::map<std::string, std::string>> rows = recorded_rows();
  const std::vector<std::string> plan = e2e::crlf_lines(recorded("obsday3.txt"));
  ASSERT_EQ(rows.size() + 2, plan.size());  // the title and the header besides
  int with_duration = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto& row = rows[i];
    SCOPED_TRACE(plan[i + 2]);
    EXPECT_EQ(plan[i + 2].substr(0, row.at("name").size()), row.at("name"));  // in plan order
    EXPECT_EQ(row.at("night"), "2026-12-10");
    EXPECT_EQ(row.at("minimum").substr(19), "+09:00");  // the night's clock, JST
    EXPECT_EQ(row.at("minimum_utc").back(), 'Z');
    // The plan's Julian Date, 4 decimals, is the minimum's instant.
    EXPECT_EQ(row.at("minimum_jd").substr(0, 12), plan[i + 2].substr(98, 12));
    if (!row.at("duration_h").empty()) {
      // --coverage=50 kept the line: its share, rounded down, is at least 50.
      ++with_duration;
      EXPECT_GE(std::stoi(row.at("coverage_pct")), 50);
      EXPECT_LT(row.at("start"), row.at("minimum"));
      EXPECT_LT(row.at("minimum"), row.at("end"));
    } else {
      EXPECT_EQ(row.at("start") + row.at("end") + row.at("coverage_pct"), "");
    }
  }
  EXPECT_EQ(with_duration, 3);  // AR Lac, RT And, AI Dra
}

TEST(PlanTable, LineNotInStarDatHasNoCycleDurationOrMinimumMagnitude) {
  for (const auto& row : recorded_rows()) {
    if (row.at("name") != "XZ Tst") continue;
    EXPECT_EQ(
        row.at("cycle") + row.at("duration_h") + row.at("uncertainty_min") + row.at("mag_min"), "");
    EXPECT_EQ(row.at("mag_max"), "8.6");      // the plan's magnitude
    EXPECT_EQ(row.at("ra_deg"), "30.00000");  // the plan's whole minutes of time
    return;
  }
  FAIL() << "no row of XZ Tst";
}

TEST(PlanTable, RecordedCalendarParsesBackOneEventPerTableRow) {
  const std::string text = recorded("obsday3.ics");
  Component calendar(icalparser_parse_string(text.c_str()));
  ASSERT_TRUE(calendar);
  ASSERT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalrestriction_check(calendar.get()), 1);  // the properties RFC 5545 asks
  EXPECT_NE(text.find("PRODID:-//eclipsing-binary tools//nightmark//EN"), std::string::npos);
  const std::vector<std::map<std::string, std::string>> rows = recorded_rows();
  std::set<std::string> uids;
  std::size_t events = 0;
  for (icalcomponent* e = icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
       e != nullptr; e = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
    ASSERT_LT(events, rows.size());
    const auto& row = rows[events++];
    uids.insert(icalcomponent_get_uid(e));
    const icaltimetype start = icalcomponent_get_dtstart(e);
    const icaltimetype end = icalcomponent_get_dtend(e);
    EXPECT_TRUE(icaltime_is_utc(start));
    EXPECT_LT(icaltime_compare(start, end), 0);
    // SOURCE_DATE_EPOCH=1796083200 of the case: 2026-12-01 00:00 UTC.
    EXPECT_EQ(icaltime_as_timet(icalcomponent_get_dtstamp(e)), 1796083200);
    const std::string summary = icalcomponent_get_summary(e);
    EXPECT_EQ(summary.substr(0, row.at("name").size() + 1), row.at("name") + " ");
    if (row.at("duration_h").empty()) {
      // The minimum -/+ 30 minutes.
      EXPECT_EQ(icaltime_as_timet(end) - icaltime_as_timet(start), 3600);
    } else {
      // At least first to last contact (the uncertainty widens it): the duration has
      // 2 decimals of an hour (18 s either way), the ends whole seconds.
      EXPECT_GE(icaltime_as_timet(end) - icaltime_as_timet(start),
                (std::stod(row.at("duration_h")) - 0.005) * 3600 - 1);
    }
  }
  EXPECT_EQ(events, rows.size());
  EXPECT_EQ(uids.size(), events);  // every minimum its own UID
  EXPECT_TRUE(uids.count(formats::minimum_event_uid("RT And", "primary", "15842")));
  // A line without a cycle count: the plan's Julian Date in its place.
  EXPECT_TRUE(uids.count(formats::minimum_event_uid("XZ Tst", "secondary", "JD2461384.9934")));
}

}  // namespace
