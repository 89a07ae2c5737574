// The month's minima as a table: the header's columns, one row's fields (ISO times on
// the night's clock, blanks for the unknown, RFC 4180 quoting), a recorded data.csv
// read back by its header, and the row writer byte for byte against the {fmt}
// formatting it replaced.
#include "formats/minimum_table.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "astro/clock_time.h"

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

// The row as {fmt} wrote it before the writer appended into one buffer: the reference
// the writer must match byte for byte.
namespace with_fmt {

std::string number(double value, int decimals) {
  std::string text = fmt::format("{:.{}f}", value, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string number(const std::optional<double>& value, int decimals) {
  return value ? number(*value, decimals) : std::string();
}

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

/// An ISO 8601 year: at least four digits, after a minus sign before the year 0.
std::string year_text(int year) {
  return fmt::format("{}{:04}", year < 0 ? "-" : "", std::abs(static_cast<long>(year)));
}

std::string clock_text(const astro::ClockTime& t) {
  return fmt::format("{}-{:02}-{:02}T{:02}:{:02}:{:02}", year_text(t.date.year), t.date.month,
                     t.date.day, t.hour, t.minute, t.second);
}

std::string iso_local_time(double jd, int offset_seconds) {
  const int magnitude = std::abs(offset_seconds);
  return fmt::format("{}{}{:02}:{:02}", clock_text(astro::clock_time(jd, offset_seconds)),
                     offset_seconds < 0 ? '-' : '+', magnitude / 3600, magnitude % 3600 / 60);
}

std::string local(const std::optional<double>& jd, int offset_seconds) {
  return jd ? iso_local_time(*jd, offset_seconds) : std::string();
}

std::string iso_utc_time(double jd) { return clock_text(astro::clock_time(jd, 0)) + "Z"; }

std::string cycle_text(double cycle, double phase) {
  std::string text = number(cycle + phase, 4);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string row_text(const formats::MinimumTableRow& row) {
  using formats::without_trailing_blanks;
  const int offset = row.offset_seconds;
  const std::string fields[] = {
      csv_field(without_trailing_blanks(row.name)),
      row.secondary ? "secondary" : "primary",
      row.cycle,
      fmt::format("{}-{:02}-{:02}", year_text(row.night.year), row.night.month, row.night.day),
      local(row.start_jd, offset),
      iso_local_time(row.minimum_jd, offset),
      local(row.end_jd, offset),
      iso_utc_time(row.minimum_jd),
      number(row.minimum_jd, 5),
      number(row.uncertainty_min, 1),
      number(row.duration_h, 2),
      number(row.coverage_pct, 0),
      number(row.alt_start_deg, 1),
      number(row.alt_minimum_deg, 1),
      number(row.alt_end_deg, 1),
      number(row.az_minimum_deg, 1),
      iso_local_time(row.meridian_jd, offset),
      number(row.sun_alt_start_deg, 1),
      number(row.sun_alt_end_deg, 1),
      number(row.moon_alt_deg, 1),
      number(row.moon_distance_deg, 1),
      number(row.moon_illumination_pct, 1),
      csv_field(without_trailing_blanks(row.type)),
      number(row.mag_max, 1),
      number(row.mag_min, 1),
      number(row.ra_deg, 5),
      number(row.dec_deg, 5),
      row.time_scale,
      csv_field(without_trailing_blanks(row.catalogue)),
  };
  std::string line = fields[0];
  for (std::size_t i = 1; i < std::size(fields); ++i) line += ',' + fields[i];
  return line;
}

}  // namespace with_fmt

std::string table_number(double value, int decimals) {
  std::string out = "<";  // appending keeps what was there
  formats::append_table_number(out, value, decimals);
  return out.substr(1);
}

/// Every value at every number of decimals the table prints (4: the cycle count's);
/// stops at the first difference.
void expect_numbers_as_fmt(const std::vector<double>& values) {
  for (const double value : values) {
    for (const int decimals : {0, 1, 2, 4, 5}) {
      const std::string want = with_fmt::number(value, decimals);
      const std::string got = table_number(value, decimals);
      if (got != want) {
        ADD_FAILURE() << std::hexfloat << value << " at " << decimals << " decimals: got \"" << got
                      << "\", {fmt} gave \"" << want << "\"";
        return;
      }
    }
  }
}

TEST(MinimumTableAsFmt, NumbersAtTiesZeroAndTheValuesThatAreNone) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {
      0.0, -0.0, -0.04, -0.004, -0.00004, -0.5, -0.05, -1e-300, 2461393.898655, 2461393.898645,
      1e9, -1e9, 1e22,  -1e300, nan,      -nan, inf,   -inf};
  // Ties exact in binary, their neighbours, and decimal-looking ties that are not exact.
  for (const double tie :
       {0.5,     1.5,   2.5,      0.25,     0.75,           0.125,     0.375,      0.0625,
        0.03125, 0.05,  0.15,     0.45,     2.675,          1.005,     9.95,       99.95,
        359.95,  89.95, 0.000005, 2.000005, 2461393.898655, 2461393.5, 2461393.25, 2461393.125}) {
    for (const double v : {tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)}) {
      values.push_back(v);
      values.push_back(-v);
    }
  }
  // Odd multiples of 2^-k for k decimals: ties of the last printed decimal.
  std::mt19937_64 rng(20261210);
  for (int k = 1; k <= 7; ++k) {
    for (int i = 0; i < 2000; ++i) {
      const double tie =
          std::ldexp(static_cast<double>((rng() % (std::uint64_t{1} << 30)) | 1), -k);
      values.insert(values.end(),
                    {tie, -tie, std::nextafter(tie, 0.0), std::nextafter(tie, 1e300)});
    }
  }
  expect_numbers_as_fmt(values);
}

TEST(MinimumTableAsFmt, NumbersOverTheColumnsRanges) {
  std::mt19937_64 rng(4058);
  const std::pair<double, double> ranges[] = {
      {-90, 90},       // altitudes, Sun and Moon altitudes, declinations
      {0, 360},        // azimuths, right ascensions
      {0, 100},        // shares and the Moon's illumination
      {0, 180},        // Moon distances
      {2.4e6, 2.5e6},  // Julian Dates
      {-1, 1},         // near zero, where the minus sign goes
      {0, 100000},     // uncertainties (minutes) and durations (hours)
  };
  std::vector<double> values;
  for (const auto& [low, high] : ranges) {
    std::uniform_real_distribution<double> draw(low, high);
    for (int i = 0; i < 60000; ++i) values.push_back(draw(rng));
  }
  // Magnitudes as the catalogue holds them: single precision.
  std::uniform_real_distribution<float> magnitude(-2.0f, 25.0f);
  for (int i = 0; i < 20000; ++i) values.push_back(static_cast<double>(magnitude(rng)));
  expect_numbers_as_fmt(values);
}

TEST(MinimumTableAsFmt, CycleCounts) {
  std::mt19937_64 rng(1234);
  std::uniform_int_distribution<int> cycle(-100000, 100000);
  std::uniform_real_distribution<double> phase(0, 1);
  for (int i = 0; i < 50000; ++i) {
    const double c = cycle(rng);
    const double p = i % 3 == 0 ? 0.0 : i % 3 == 1 ? 0.5 : phase(rng);
    ASSERT_EQ(formats::cycle_text(c, p), with_fmt::cycle_text(c, p)) << c << " + " << p;
  }
  EXPECT_EQ(formats::cycle_text(0, -0.00001), "0");
  EXPECT_EQ(formats::cycle_text(-1, 0.99999), "0");
}

TEST(MinimumTableAsFmt, TimesOnEveryClock) {
  std::mt19937_64 rng(945);
  // The month's nights and, with them, years before 0 and after 9999.
  std::uniform_real_distribution<double> near_now(2.4e6, 2.5e6);
  std::uniform_real_distribution<double> any_age(0.0, 6e6);
  std::uniform_int_distribution<int> quarter_hours(-14 * 4, 14 * 4);
  std::uniform_int_distribution<int> seconds(-14 * 3600, 14 * 3600);
  const int odd_offsets[] = {0, 5 * 3600 + 45 * 60, -(3 * 3600 + 30 * 60), 9 * 3600, -1, 1, -59};
  for (int i = 0; i < 200000; ++i) {
    const double jd = i % 4 == 0 ? any_age(rng) : near_now(rng);
    int offset = quarter_hours(rng) * 900;
    if (i % 5 == 0) offset = seconds(rng);
    if (i % 7 == 0) offset = odd_offsets[i / 7 % std::size(odd_offsets)];
    ASSERT_EQ(formats::iso_local_time(jd, offset), with_fmt::iso_local_time(jd, offset))
        << std::hexfloat << jd << " at " << offset;
    ASSERT_EQ(formats::iso_utc_time(jd), with_fmt::iso_utc_time(jd)) << std::hexfloat << jd;
  }
  // Julian Day 0 and the year 10000.
  EXPECT_EQ(formats::iso_utc_time(0.0), "-4712-01-01T12:00:00Z");
  EXPECT_EQ(formats::iso_local_time(5373484.5, 0), "10000-01-01T00:00:00+00:00");
  // Four digits after the sign, as ISO 8601 writes the years before 0.
  EXPECT_EQ(formats::iso_local_time(1721057.5, -3600), "-0001-12-31T23:00:00-01:00");
}

TEST(MinimumTable, ContactsBeyondTheCalendarsAndValuesThatAreNoNumbersAreLeftEmpty) {
  // A period typed as 28673043 days with a duration of 20 percent: first contact in
  // 5822 BC, before JD 0, where no clock date is written; the Sun there from ERFA, NaN.
  formats::MinimumTableRow row;
  row.name = "bet Per";
  row.cycle = "0";
  row.night = {2026, 12, 10};
  row.offset_seconds = 9 * 3600;
  row.minimum_jd = 2461385.09512;
  row.start_jd = row.minimum_jd - 2867304.3;
  row.end_jd = 5373484.5;  // 10000-01-01, a year too far
  row.sun_alt_start_deg = std::numeric_limits<double>::quiet_NaN();
  row.sun_alt_end_deg = std::numeric_limits<double>::infinity();
  const std::string text = formats::minimum_table_row(row);
  EXPECT_EQ(text.substr(0, text.find("Z,")),
            "bet Per,primary,0,2026-12-10,,2026-12-10T23:16:58+09:00,,2026-12-10T14:16:58");
  EXPECT_EQ(text.find("nan"), std::string::npos) << text;
  EXPECT_EQ(text.find("inf"), std::string::npos) << text;
  // The last day of the year 9999 is still written.
  row.end_jd = 5373484.5 - 1;
  EXPECT_NE(formats::minimum_table_row(row).find(",9999-12-31T09:00:00+09:00,"), std::string::npos);
}

TEST(MinimumTableAsFmt, WholeRowsWithUnknownsQuotesAndOddDates) {
  std::mt19937_64 rng(20061001);
  std::uniform_real_distribution<double> unit(0, 1);
  auto in = [&](double low, double high) { return low + (high - low) * unit(rng); };
  auto maybe = [&](double low, double high) -> std::optional<double> {
    if (unit(rng) < 0.3) return std::nullopt;
    return in(low, high);
  };
  const char* const names[] = {
      "RZ Cas              ", "V1 \"odd\", star", "a\rb", "line\nend", "", "   "};
  const int years[] = {2026, -5, 0, 12345, -12345, 999};
  std::string appended = "kept";
  std::string want = "kept";
  for (int i = 0; i < 20000; ++i) {
    formats::MinimumTableRow row;
    row.name = names[i % std::size(names)];
    row.secondary = i % 2 == 1;
    row.cycle = with_fmt::cycle_text(i - 10000, row.secondary ? 0.5 : 0);
    row.night = {years[i % std::size(years)], 1 + i % 12, 1 + i % 31};
    row.offset_seconds = static_cast<int>(in(-14, 14)) * 900;
    row.minimum_jd = in(2.4e6, 2.5e6);
    row.start_jd = maybe(2.4e6, 2.5e6);
    row.end_jd = maybe(2.4e6, 2.5e6);
    row.uncertainty_min = maybe(0, 100);
    row.duration_h = maybe(0, 30);
    row.coverage_pct = maybe(0, 100);
    if (row.coverage_pct) row.coverage_pct = std::floor(*row.coverage_pct);
    row.alt_start_deg = maybe(-90, 90);
    row.alt_minimum_deg = in(-90, 90);
    row.alt_end_deg = maybe(-90, 90);
    row.az_minimum_deg = in(0, 360);
    row.meridian_jd = in(2.4e6, 2.5e6);
    row.sun_alt_start_deg = maybe(-90, 90);
    row.sun_alt_end_deg = maybe(-90, 90);
    row.moon_alt_deg = in(-90, 90);
    row.moon_distance_deg = in(0, 180);
    row.moon_illumination_pct = in(0, 100);
    row.type = i % 9 == 0 ? "EA,EB" : "EA/DM ";
    row.mag_max = maybe(-2, 20);
    row.mag_min = maybe(-2, 20);
    row.ra_deg = in(0, 360);
    row.dec_deg = in(-90, 90);
    row.time_scale = i % 3 == 0 ? "BJD" : "HJD";
    row.catalogue = i % 11 == 0 ? "\"GCVS\"   " : "GCVS";
    const std::string reference = with_fmt::row_text(row);
    ASSERT_EQ(formats::minimum_table_row(row), reference) << i;
    formats::append_minimum_table_row(appended, row);
    want += reference;
  }
  // Appended rows follow what the buffer held.
  EXPECT_EQ(appended, want);
}

}  // namespace
