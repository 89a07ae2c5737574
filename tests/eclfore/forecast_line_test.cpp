// The ForecastLine's pieces written without the C library against its formats.
#include "forecast_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "formats/catalogue.h"
#include "e2e.h"

namespace {

/// The hour field of a night hour and minute as the pieces compute it.
double night_hour(int hour, int minute) {
  return static_cast<double>(static_cast<long double>(hour) +
                             static_cast<long double>(minute) * (1.0L / 60));
}

/// The whole ForecastLine through the C library's formats.
std::string printed_line(const formats::StarRecord& s, const eclfore::ForecastMinimum& m) {
  std::vector<char> text(4096);
  std::snprintf(text.data(), text.size(),
                "%s%s %s %4d %2d %2d %5.2f %12.4f %s %4.1f %s %2.0f %2.0f %2.0f %3.0f %2.0f %4.1f "
                "%4.1f\r\n",
                s.name.c_str(), s.catalogue.c_str(),
                m.kind == eclfore::MinimumKind::kPrimary ? "p" : "s", m.night.year, m.night.month,
                m.night.day, night_hour(m.night.hour, m.night.minute), m.minimum_jd,
                s.var_type.c_str(), static_cast<double>(m.altitude_deg), s.elements_text.c_str(),
                static_cast<double>(s.ra_hour_part), static_cast<double>(s.ra_minute_part),
                static_cast<double>(s.ra_second_part), static_cast<double>(s.dec_degree_part),
                std::trunc(std::fabs(static_cast<double>(s.dec_minute_part))),
                static_cast<double>(s.mag_max), static_cast<double>(s.mag_min));
  return text.data();
}

TEST(ForecastLineText, TheStarsLineCopiedOrWrittenInPiecesGivesThePrintedBytes) {
  const std::string sample =
      "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
      "C012";
  // The sample, a southern star with fractions everywhere, fields wider than their
  // columns (a magnitude of 9e99 prints a hundred digits), negative zeros.
  const std::vector<std::string> lines = {
      sample,
      "V9 Sgr               2451234.56781  12.3456789 -1 -0 59.6 -00 45.9     EW  -0.0 9e99      0 "
      "XY",
      "W                   -2451234.5     -0.5        99 99 99.5 +89 59       E   99.9 -9.9",
  };
  const std::vector<eclfore::ForecastMinimum> minima = {
      {nullptr,
       eclfore::MinimumKind::kPrimary,
       54009.49993,
       2454009.99993,
       {2006, 10, 1, 20, 60},
       73.3f},
      {nullptr, eclfore::MinimumKind::kSecondary, 60000.25, 2460000.75, {2023, 2, 24, 29, 59}, 0.04f},
      // Outside the fields of real data: the pieces widen.
      {nullptr, eclfore::MinimumKind::kSecondary, 1e7, 1.00024e7, {12345, 123, 0, 99, 0}, -5.25f},
      {nullptr, eclfore::MinimumKind::kPrimary, -1e6, -997599.5, {999, 1, 1, 18, 0}, 90.0f},
  };
  e2e::TempDir dir;
  const std::string path = (dir.path() / "data.dat").string();
  std::string expected;
  {
    io::OutputFile out(path);
    for (const std::string& line : lines) {
      const formats::StarRecord star = formats::parse_star_record(line);
      const eclfore::StarLineText text = eclfore::star_line_text(star);
      for (eclfore::ForecastMinimum m : minima) {
        m.star = &star;
        eclfore::write_forecast_line(out, text, m);
        expected += printed_line(star, m);
      }
    }
    out.close();
  }
  EXPECT_EQ(e2e::read_file(path), expected);
}

TEST(HourText, AllHoursAndMinutes) {
  for (int hour = 0; hour <= 98; ++hour) {
    for (int minute = 0; minute <= 60; ++minute) {
      const double value = static_cast<double>(static_cast<long double>(hour) +
                                               static_cast<long double>(minute) * (1.0L / 60));
      char expected[16];
      std::snprintf(expected, sizeof expected, " %5.2f", value);
      ASSERT_EQ(eclfore::hour_field(hour, minute), expected) << hour << ":" << minute;
    }
  }
  EXPECT_EQ(eclfore::hour_field(99, 0), "") << "outside the field's range";
  EXPECT_EQ(eclfore::hour_field(12, 61), "");
  EXPECT_EQ(eclfore::hour_field(-1, 0), "");
}

}  // namespace
