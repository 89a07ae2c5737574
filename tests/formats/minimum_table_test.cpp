// The month's minima as a table: the header's columns, one row's fields (ISO times on
// the night's clock, blanks for the unknown, RFC 4180 quoting), and a recorded data.csv
// read back by its header.
#include "formats/minimum_table.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "e2e.h"
#include "table_text.h"

namespace {

using e2e::crlf_lines;
using e2e::csv_fields;

formats::MinimumTableRow sample_row() {
  formats::MinimumTableRow row;
  row.name = "RZ Cas              ";
  row.cycle = "4058";
  row.night = {2026, 12, 5};
  row.offset_seconds = 9 * 3600;
  row.minimum_jd = 2461380.088090;  // 2026-12-05 14:06:51.0 UT
  row.meridian_jd = 2461380.0;
  row.alt_minimum_deg = 53.66;
  row.az_minimum_deg = -0.04;  // rounds to 0.0, never -0.0
  row.moon_alt_deg = -54.84;
  row.type = "EA";
  row.mag_max = 6.2f;
  row.mag_min = 7.7f;
  row.ra_deg = 42.229166666;
  row.dec_deg = 69.633333333;
  row.time_scale = "HJD";
  row.catalogue = "GCVS";
  return row;
}

TEST(MinimumTable, HeaderNamesTheColumnsWithTheirUnits) {
  const std::vector<std::string> columns = csv_fields(std::string(formats::kMinimumTableHeader));
  ASSERT_EQ(columns.size(), 29u);
  EXPECT_EQ(columns.front(), "name");
  EXPECT_EQ(columns[11], "coverage_pct");
  EXPECT_EQ(columns[16], "meridian");
  EXPECT_EQ(columns.back(), "catalogue");
}

TEST(MinimumTable, RowWithoutDurationLeavesTheWindowBlank) {
  EXPECT_EQ(formats::minimum_table_row(sample_row()),
            "RZ Cas,primary,4058,2026-12-05,,2026-12-05T23:06:51+09:00,,2026-12-05T14:06:51Z,"
            "2461380.08809,,,,,53.7,,0.0,2026-12-05T21:00:00+09:00,,,-54.8,0.0,0.0,EA,6.2,7.7,"
            "42.22917,69.63333,HJD,GCVS");
}

TEST(MinimumTable, RowWithTheWindowOnAClockWestOfGreenwichAndQuotedFields) {
  formats::MinimumTableRow row = sample_row();
  row.name = "V1 \"odd\", star      ";
  row.secondary = true;
  row.cycle = formats::cycle_text(-13, 0.4132);
  row.offset_seconds = -(4 * 3600 + 30 * 60);
  row.start_jd = row.minimum_jd - 0.1;
  row.end_jd = row.minimum_jd + 0.1;
  row.duration_h = 4.8;
  row.coverage_pct = 99;
  row.uncertainty_min = 1.75;
  const std::vector<std::string> fields = csv_fields(formats::minimum_table_row(row));
  ASSERT_EQ(fields.size(), 29u);
  EXPECT_EQ(fields[0], "V1 \"odd\", star");
  EXPECT_EQ(fields[1], "secondary");
  EXPECT_EQ(fields[2], "-12.5868");
  EXPECT_EQ(fields[4], "2026-12-05T07:12:51-04:30");
  EXPECT_EQ(fields[5], "2026-12-05T09:36:51-04:30");
  EXPECT_EQ(fields[9], "1.8");
  EXPECT_EQ(fields[10], "4.80");
  EXPECT_EQ(fields[11], "99");
}

TEST(MinimumTable, CycleCountsAndTimesRoundToTheirUnits) {
  EXPECT_EQ(formats::cycle_text(1234, 0), "1234");
  EXPECT_EQ(formats::cycle_text(1234, 0.5), "1234.5");
  EXPECT_EQ(formats::cycle_text(-3, 0.5), "-2.5");
  EXPECT_EQ(formats::cycle_text(0, 0.4132), "0.4132");
  // Half a second before midnight rounds into the next day.
  EXPECT_EQ(formats::iso_utc_time(2461380.5 - 0.4 / 86400), "2026-12-06T00:00:00Z");
  EXPECT_EQ(formats::iso_local_time(2461380.5 - 0.6 / 86400, 0), "2026-12-05T23:59:59+00:00");
}

TEST(MinimumTable, RecordedTableReadsBackByItsHeader) {
  const std::filesystem::path table =
      std::filesystem::path(E2E_CASES_DIR) / "eclfore/csv_and_ics_whole_eclipse/expected/data.csv";
  const std::vector<std::string> lines = crlf_lines(e2e::read_file(table));
  ASSERT_GT(lines.size(), 50u);
  EXPECT_EQ(lines.front(), formats::kMinimumTableHeader);
  const std::vector<std::string> header = csv_fields(lines.front());
  int without_duration = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = csv_fields(lines[i]);
    ASSERT_EQ(fields.size(), header.size()) << lines[i];
    std::map<std::string, std::string> row;
    for (std::size_t c = 0; c < header.size(); ++c) row[header[c]] = fields[c];
    EXPECT_TRUE(row["kind"] == "primary" || row["kind"] == "secondary") << lines[i];
    EXPECT_EQ(row["minimum"].substr(0, 10) >= row["night"], true) << lines[i];
    if (row["duration_h"].empty()) {
      // Judged at the minimum alone: no window, no share.
      ++without_duration;
      EXPECT_EQ(row["start"] + row["end"] + row["coverage_pct"] + row["alt_start_deg"], "");
    } else {
      // The run asked --coverage=100: every window is observable throughout, its ends
      // in the night's order and above the run's lowest altitude of 20 degrees.
      EXPECT_EQ(row["coverage_pct"], "100") << lines[i];
      EXPECT_LT(row["start"], row["minimum"]);
      EXPECT_LT(row["minimum"], row["end"]);
      EXPECT_GE(std::stod(row["alt_start_deg"]), 20);
      EXPECT_GE(std::stod(row["alt_end_deg"]), 20);
    }
    EXPECT_EQ(row["minimum_utc"].back(), 'Z');
    EXPECT_EQ(row["minimum"].substr(19), "+09:00");
  }
  EXPECT_GT(without_duration, 5);
}

}  // namespace
