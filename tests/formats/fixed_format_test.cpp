// The fast number formatting against the C library's printf, byte for byte, for every
// field width and precision the output files use.
#include "formats/fixed_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "e2e.h"
#include "io/output_file.h"

namespace {

/// A "%W.Pf" piece of an output file and its width and precision.
struct FixedPiece {
  const char* format;
  int width;
  int precision;
};

// eclfore's ForecastLine and phaselist's phase table.
constexpr FixedPiece kFixedPieces[] = {
    {"%5.2f", 5, 2}, {"%12.4f", 12, 4}, {"%4.1f", 4, 1}, {"%2.0f", 2, 0},
    {"%3.0f", 3, 0}, {"%12.9f", 12, 9}, {"%4.2f", 4, 2},
};

std::string printf_text(const char* format, double value) {
  // The longest "%.9f" text of a double is 320 characters.
  char text[400];
  const int n = std::snprintf(text, sizeof text, format, value);
  return std::string(text, static_cast<std::size_t>(n));
}

std::string fast_text(double value, int width, int precision) {
  std::string out = "<";  // appending keeps what was there
  formats::append_fixed(out, value, width, precision);
  return out.substr(1);
}

/// Every value through every piece; stops at the first difference of each piece.
void expect_same_as_printf(const std::vector<double>& values) {
  for (const FixedPiece& piece : kFixedPieces) {
    for (double value : values) {
      const std::string want = printf_text(piece.format, value);
      const std::string got = fast_text(value, piece.width, piece.precision);
      if (got != want) {
        ADD_FAILURE() << piece.format << " of " << std::hexfloat << value << " ("
                      << std::bit_cast<std::uint64_t>(value) << "): got \"" << got
                      << "\", printf gives \"" << want << "\"";
        break;
      }
    }
  }
}

double from_bits(std::uint64_t bits) { return std::bit_cast<double>(bits); }

TEST(FixedFormat, SpecialValuesAsPrintf) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  expect_same_as_printf(
      {0.0, -0.0, nan, -nan, from_bits(0x7ff0000000000001),  // a signalling NaN
       from_bits(0xfff8dead00000000), inf, -inf, DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN, DBL_TRUE_MIN,
       -DBL_TRUE_MIN, 1e9, -1e9, std::nextafter(1e9, 0.0), std::nextafter(1e9, 2e9),
       999999999.99999999, 2147483647.5, 1e15, 1e300, std::ldexp(1.0, 30), std::ldexp(1.0, 53),
       std::ldexp(1.0, 64) + 4096,
       // Below half of the last decimal: a minus sign and zeros.
       -0.04, -0.004, -1e-300, -0.49, -0.5, -0.51, 1e-20,
       // Ties of the last decimal that are exact in binary: to even.
       0.5, 1.5, 2.5, 3.5, -2.5, 0.25, 0.75, 0.125, 0.375, 0.625, 0.875, 9.5, 99.5, 0.0625, 0.1875,
       0.03125, 0.00048828125, 1.0009765625, 2453000.12345,
       // Decimal-looking ties that are not exact in binary: the binary value decides.
       0.05, 0.15, 0.35, 0.45, 0.95, 9.95, 99.95, 2.675, 1.005, 4.35, 0.0005, 0.00005,
       2454009.99995, 2454009.99985, 0.9999999995, 29.995, 18.005,
       // Values of real lines.
       21.0, 19.516666666666666, 2454009.9999285, 73.3f, 9.8f, 10.9f, 21.0f, -5.0f, -0.0f, 0.96,
       -0.85, 1.2345678, 0.3456789});
}

TEST(FixedFormat, RandomBitPatternsAsPrintf) {
  // Every exponent, sign and NaN payload: mostly huge and tiny values.
  std::mt19937_64 rng(20061001);
  std::vector<double> values;
  for (int i = 0; i < 20000; ++i) values.push_back(from_bits(rng()));
  expect_same_as_printf(values);
}

TEST(FixedFormat, RandomValuesOfEveryMagnitudeAsPrintf) {
  // Random mantissas at binary exponents from 2^-45 to 2^40, across the bound of the
  // exact integer path (1e9) and where the decimals run out.
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> exponent(-45, 40);
  std::vector<double> values;
  for (int i = 0; i < 150000; ++i) {
    const double mantissa = 1.0 + static_cast<double>(rng() >> 12) * 0x1p-52;
    const double value = std::ldexp(mantissa, exponent(rng));
    values.push_back((rng() & 1) != 0 ? -value : value);
  }
  expect_same_as_printf(values);
}

TEST(FixedFormat, RandomFloatsPromotedAsPrintf) {
  // Single-precision values (altitudes, magnitudes, coordinates) as printf gets them.
  std::mt19937 rng(42);
  std::vector<double> values;
  for (int i = 0; i < 100000; ++i) {
    values.push_back(static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(rng()))));
  }
  std::uniform_real_distribution<float> small(-100.0f, 100.0f);
  for (int i = 0; i < 100000; ++i) values.push_back(static_cast<double>(small(rng)));
  expect_same_as_printf(values);
}

TEST(FixedFormat, TiesAndNearTiesOfTheLastDecimalAsPrintf) {
  // An odd multiple of 2^-k has exactly k decimals, the last a 5: at k = precision + 1
  // it is a tie of the last printed decimal. Their neighbours are the nearest non-ties.
  std::mt19937_64 rng(11);
  std::vector<double> values;
  for (int k = 1; k <= 12; ++k) {
    for (int i = 0; i < 6000; ++i) {
      const auto odd = static_cast<double>(((rng() >> 24) % (std::uint64_t{1} << 36)) | 1);
      const double tie = std::ldexp(odd, -k);
      values.push_back(tie);
      values.push_back(-tie);
      values.push_back(std::nextafter(tie, 0.0));
      values.push_back(std::nextafter(tie, 2 * tie));
    }
  }
  // Decimal ties as a parser gives them: n + 0.5 units of the last decimal.
  for (int precision = 0; precision <= 9; ++precision) {
    for (int i = 0; i < 3000; ++i) {
      const double units = static_cast<double>(rng() % 100000000) + 0.5;
      values.push_back(units / std::pow(10.0, precision));
    }
  }
  expect_same_as_printf(values);
}

TEST(FixedFormat, ValuesOfTheOutputFilesAsPrintf) {
  // Julian Dates of minima, night hours, phases, periods and epochs.
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> jd(2400000.0, 2500000.0);
  std::uniform_real_distribution<double> hour(18.0, 30.0);
  std::uniform_real_distribution<double> phase(-1.0, 1.0);
  std::uniform_real_distribution<double> period(0.01, 1000.0);
  std::vector<double> values;
  for (int i = 0; i < 50000; ++i) {
    values.push_back(jd(rng));
    values.push_back(hour(rng));
    values.push_back(phase(rng));
    values.push_back(period(rng));
  }
  expect_same_as_printf(values);
}

TEST(FixedFormat, WidthsPadOnTheLeftAndNeverCut) {
  EXPECT_EQ(fast_text(5.0, 2, 0), " 5");
  EXPECT_EQ(fast_text(-5.0, 3, 0), " -5");
  EXPECT_EQ(fast_text(-0.0, 3, 0), " -0");
  EXPECT_EQ(fast_text(123.0, 2, 0), "123");
  EXPECT_EQ(fast_text(std::numeric_limits<double>::quiet_NaN(), 4, 1), " nan");
  EXPECT_EQ(fast_text(7.25, 0, 1), "7.2");
  EXPECT_EQ(fast_text(7.25, -3, 1), "7.2");
  // Precision is held to 0..kMaxFixedPrecision.
  EXPECT_EQ(fast_text(0.5, 1, -2), "0");
  EXPECT_EQ(fast_text(0.1, 1, 12), printf_text("%.9f", 0.1));
}

TEST(FixedFormat, WritesAfterWhatIsThere) {
  std::string out = "x";
  formats::append_fixed(out, 2.5, 4, 1);
  formats::append_int(out, 7, 3);
  EXPECT_EQ(out, "x 2.5  7");
  formats::NumberText text;
  EXPECT_EQ(std::string(text.data(), formats::format_fixed(text, -1.5, 0)), "-2");
  EXPECT_EQ(std::string(text.data(), formats::format_int(text, INT_MIN)), "-2147483648");
}

TEST(FixedFormat, IntegersAsPrintf) {
  const char* const formats[] = {"%4d", "%2d"};
  const int widths[] = {4, 2};
  std::mt19937 rng(5);
  std::vector<int> values = {0,   1,    -1,   9,     10,   99,    100,     -9,     -10,
                             999, 1000, 9999, 10000, -999, -1000, INT_MAX, INT_MIN};
  for (int i = 0; i < 50000; ++i) values.push_back(static_cast<int>(rng()));
  for (int i = 0; i < 2; ++i) {
    for (int value : values) {
      char want[32];
      const int n = std::snprintf(want, sizeof want, formats[i], value);
      std::string got;
      formats::append_int(got, value, widths[i]);
      ASSERT_EQ(got, std::string(want, static_cast<std::size_t>(n))) << formats[i] << value;
    }
  }
}

TEST(FixedFormat, WrittenIntoAnOutputFileAsPrintf) {
  // Numbers written straight into an output file's blocks, across many of them so that
  // numbers and their padding straddle the blocks' ends.
  e2e::TempDir dir;
  const std::string path = (dir.path() / "numbers.txt").string();
  io::OutputFile out(path);
  std::string want;
  for (int i = 0; i < 30000; ++i) {
    const double value = (i - 15000) * 0.0137;
    out.write("name");
    formats::write_fixed(out, value, 12, 4);
    out.write(' ');
    formats::write_int(out, i, 4);
    out.write('|');
    formats::write_fixed(out, value, 2, 0);
    formats::write_fixed(out, value, 40, 9);  // padding longer than one piece of blanks
    out.end_line();
    char line[128];
    std::snprintf(line, sizeof line, "name%12.4f %4d|%2.0f%40.9f\r\n", value, i, value, value);
    want += line;
  }
  out.close();
  EXPECT_GT(want.size(), 1000000u);
  EXPECT_EQ(dir.read("numbers.txt"), want);
  EXPECT_THROW(formats::write_fixed(out, 1.0, 4, 1), io::RunError) << "the file is closed";
  EXPECT_THROW(formats::write_int(out, 1, 4), io::RunError);
}

}  // namespace
