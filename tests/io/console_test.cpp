#include "io/console.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

using io::ScanStatus;

/// A FILE* over the given text, closed at the end of the scope.
struct Input {
  explicit Input(const std::string& text) : file(std::tmpfile()) {
    std::fputs(text.c_str(), file);
    std::rewind(file);
  }
  ~Input() { std::fclose(file); }
  std::FILE* file;
};

TEST(ScanInt, ReadsLikePercentD) {
  Input in("  2006\n\n 10 -3 +7 12abc");
  int v = 0;
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 2006);
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 10);
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, -3);
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 7);
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 12);
  // What follows the number stays unread and is not a number.
  EXPECT_EQ(io::scan_int(in.file, v), ScanStatus::kNotNumber);
  EXPECT_EQ(v, 12);
}

TEST(ScanInt, TellsTheEndFromText) {
  Input empty("   \n");
  int v = 5;
  EXPECT_EQ(io::scan_int(empty.file, v), ScanStatus::kEnd);
  EXPECT_EQ(v, 5);
  Input text("x");
  EXPECT_EQ(io::scan_int(text.file, v), ScanStatus::kNotNumber);
  Input point("3.9");
  EXPECT_EQ(io::scan_int(point.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 3);
  EXPECT_EQ(io::scan_int(point.file, v), ScanStatus::kNotNumber);
}

TEST(ScanInt, RefusesNumbersBeyondInt) {
  Input in("2147483647 -2147483648 2147483648 99999999999999999999");
  int v = 0;
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 2147483647);
  ASSERT_EQ(io::scan_int(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_EQ(io::scan_int(in.file, v), ScanStatus::kNotNumber);
}

TEST(ScanFloat, ReadsLikePercentF) {
  Input in("20 3.9 99.5 1e3 nan inf x");
  float v = 0;
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 20.0f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 3.9f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 99.5f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 1000.0f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_TRUE(std::isnan(v));
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_TRUE(std::isinf(v));
  EXPECT_EQ(io::scan_float(in.file, v), ScanStatus::kNotNumber);
  Input end("");
  EXPECT_EQ(io::scan_float(end.file, v), ScanStatus::kEnd);
}

TEST(ScanFloat, AnEndlessNumberIsCutAndItsDigitsDropped) {
  // 10,000 digits: the first 4096 make the value, the rest are not a second number.
  Input in(std::string(10000, '1') + " 2.5 0." + std::string(9000, '5') + " 7");
  float v = 0;
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_TRUE(std::isinf(v));
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 2.5f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 0.5555556f);
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 7.0f);
}

TEST(ScanFloat, RoundsStraightToFloat) {
  // Rounding through double first would give the other neighbour here.
  Input in("1.00000005960464477539062500001");
  float v = 0;
  ASSERT_EQ(io::scan_float(in.file, v), ScanStatus::kOk);
  EXPECT_EQ(v, 1.00000011920928955078125f);
}

}  // namespace
