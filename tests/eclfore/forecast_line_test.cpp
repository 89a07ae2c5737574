// The ForecastLine written piece by piece without the C library against its formats.
#include "forecast_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "worked_example.h"

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

TEST(ForecastLineText, WrittenInPiecesGivesThePrintedBytes) {
  const std::vector<std::string>& lines = eclfore_test::kLineWriterStars;
  const std::vector<eclfore::ForecastMinimum>& minima = eclfore_test::kLineWriterMinima;
  e2e::TempDir dir;
  const std::string path = (dir.path() / "data.dat").string();
  std::string expected;
  {
    io::OutputFile out(path);
    for (const std::string& line : lines) {
      const formats::StarRecord star = formats::parse_star_record(line);
      for (eclfore::ForecastMinimum m : minima) {
        m.star = &star;
        eclfore::write_forecast_line(out, m);
        expected += printed_line(star, m);
      }
    }
    out.close();
  }
  EXPECT_EQ(e2e::read_file(path), expected);
}

}  // namespace
