// The ForecastLine written in place gives the bytes of the line written piece by piece
// (forecast_line_test.cpp checks those against the C library): lines of real data, lines
// whose fields widen, the altitude as a float or as the tenths it prints; and the
// whole-number fields against the C library's formats.
#include "fast/line_in_place.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "e2e.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "worked_example.h"

namespace {

namespace fast = eclfore::fast;

/// What `write` writes to a fresh file.
template <class Write>
std::string written(Write&& write) {
  e2e::TempDir dir;
  const std::string path = (dir.path() / "data.dat").string();
  {
    io::OutputFile out(path);
    write(out);
    out.close();
  }
  return e2e::read_file(path);
}

TEST(LineInPlace, TheSameBytesAsThePieces) {
  const std::vector<std::string>& lines = eclfore_test::kLineWriterStars;
  const std::vector<eclfore::ForecastMinimum>& minima = eclfore_test::kLineWriterMinima;
  auto write_all = [&](bool in_place) {
    return written([&](io::OutputFile& out) {
      for (const std::string& line : lines) {
        const formats::StarRecord star = formats::parse_star_record(line);
        const eclfore::StarLineText text = eclfore::star_line_text(star);
        for (eclfore::ForecastMinimum m : minima) {
          m.star = &star;
          if (in_place) {
            fast::write_line_in_place(out, text, m);
          } else {
            eclfore::write_forecast_line(out, m);
          }
        }
      }
    });
  };
  EXPECT_EQ(write_all(true), write_all(false));
}

TEST(LineInPlace, TenthsPrintAsTheAltitudeOfThem) {
  const formats::StarRecord star = formats::parse_star_record(eclfore_test::kExDemoLine);
  const eclfore::StarLineText text = eclfore::star_line_text(star);
  auto write_all = [&](bool in_place) {
    return written([&](io::OutputFile& out) {
      eclfore::ForecastMinimum m{&star,         eclfore::MinimumKind::kPrimary, 54009.49993,
                                 2454009.99993, {2006, 10, 1, 20, 60},          0};
      for (int tenths = 0; tenths <= 900; ++tenths) {
        m.altitude_deg = static_cast<float>(tenths) / 10;
        if (in_place) {
          fast::write_line_in_place(out, text, m, tenths);
        } else {
          eclfore::write_forecast_line(out, m);
        }
      }
    });
  };
  EXPECT_EQ(write_all(true), write_all(false));
}

TEST(HourText, AllHoursAndMinutes) {
  for (int hour = 0; hour <= 98; ++hour) {
    for (int minute = 0; minute <= 60; ++minute) {
      const double value = static_cast<double>(static_cast<long double>(hour) +
                                               static_cast<long double>(minute) * (1.0L / 60));
      char expected[16];
      std::snprintf(expected, sizeof expected, " %5.2f", value);
      ASSERT_EQ(fast::hour_field(hour, minute), expected) << hour << ":" << minute;
    }
  }
  EXPECT_EQ(fast::hour_field(99, 0), "") << "outside the field's range";
  EXPECT_EQ(fast::hour_field(12, 61), "");
  EXPECT_EQ(fast::hour_field(-1, 0), "");
}

TEST(JdField, AgainstTheCLibrary) {
  std::mt19937_64 rng(20061004);
  std::uniform_real_distribution<double> unit(0, 1);
  auto expect_printf = [](double jd) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%12.4f", jd);
    ASSERT_EQ(fast::jd_field(jd), expected) << jd;
  };
  for (int i = 0; i < 200000; ++i) expect_printf(2097152.0 + unit(rng) * 2097152.0);
  // Ties (whole multiples of 2^-5 days end in a 5 at the fifth decimal) and the ends.
  for (int i = 0; i < 2000; ++i) expect_printf(2454000.0 + i / 32.0);
  expect_printf(2097152.0);
  expect_printf(std::nextafter(4194304.0, 0.0));
  expect_printf(2454009.99995);
  EXPECT_EQ(fast::jd_field(4194304.0), "");
  EXPECT_EQ(fast::jd_field(std::nextafter(2097152.0, 0.0)), "");
  EXPECT_EQ(fast::jd_field(std::nan("")), "");
}

}  // namespace
