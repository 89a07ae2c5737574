// Refreshing a catalogue in place: its bytes read back as they were, a line taking the
// input's elements and nothing else, the next minimum's shift against astropy, the report.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <fmt/format.h>

#include "catalogue_update.h"
#include "formats/catalogue.h"
#include "formats/layouts.h"

namespace starimport {
namespace {

/// RT And as the GCVS gives it, with its duration and time scale.
StarLine rt_and() {
  StarLine line;
  line.name = "RT And";
  line.epoch = "2451421.737";
  line.period = "0.6289216";
  line.ra = {23, 11, 10};
  line.dec = {false, 53, 2};
  line.var_type = "EA";
  line.max_tenths = 90;
  line.min_tenths = 98;
  line.label = "GCVS";
  line.extension.eclipse_duration_pct = 17;
  line.extension.time_scale = astro::EpochScale::kHjd;
  return line;
}

/// The user's RT And: other elements typed by hand, flag 2, label MINE, other magnitudes.
const std::string kTypedRtAnd =
    "RT And                2451421.700    0.6289200 23 11 10  +53 02       EA  9.1  9.9      2 "
    "MINE";

TEST(SplitCatalogue, EveryByteComesBackButTheLineEnds) {
  const CatalogueText c = split_catalogue(
      "\xEF\xBB\xBF"
      "first\r\nsec\rond\nthird\r\n\r\nlast\x1a"
      "after\nend");
  EXPECT_EQ(c.byte_order_mark, "\xEF\xBB\xBF");
  ASSERT_EQ(c.lines.size(), 5u);
  EXPECT_EQ(c.lines[0].raw, "first");
  // A CR inside a line is kept in its bytes; the readers do not see it.
  EXPECT_EQ(c.lines[1].raw, "sec\rond");
  EXPECT_EQ(c.lines[1].text, "second");
  EXPECT_EQ(c.lines[3].raw, "");
  EXPECT_EQ(c.lines[4].raw, "last");
  EXPECT_EQ(c.after_end,
            "\x1a"
            "after\nend");
  EXPECT_TRUE(split_catalogue("").lines.empty());
}

TEST(RefreshedLine, ElementsAndExtensionTakenUserColumnsKept) {
  std::string problem;
  const auto r = refreshed_line(kTypedRtAnd, rt_and(), &problem);
  ASSERT_TRUE(r) << problem;
  EXPECT_EQ(
      r->text,
      "RT And                2451421.737    0.6289216 23 11 10  +53 02       EA  9.1  9.9      2 "
      "MINE    17                                      HJD");
  EXPECT_EQ(r->changed, (std::vector<std::string>{"epoch", "period", "duration", "time scale"}));
  // The line as it now stands is unchanged by the same input.
  const auto again = refreshed_line(r->text, rt_and(), &problem);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->text, r->text);
  EXPECT_TRUE(again->changed.empty());
}

TEST(RefreshedLine, TheSameValueOtherwiseTypedIsNoChange) {
  // "2451421.7370" is the GCVS's "2451421.737": the user's text stays.
  std::string typed = kTypedRtAnd;
  typed.replace(20, 26, " 2451421.7370   0.62892160");
  typed += "    17                                      HJD";
  const auto r = refreshed_line(typed, rt_and(), nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->text, typed);
  EXPECT_TRUE(r->changed.empty());
}

TEST(RefreshedLine, FieldsTheInputLacksKeptUnlessTheyBelongedToOldElements) {
  StarLine input = rt_and();
  input.extension = {};  // a plain table: no duration, no errors, no time scale
  // The user's duration, secondary phase, errors and time scale.
  const std::string typed = kTypedRtAnd + "    18         0.52     0.0004        2e-07 HJD";
  ASSERT_EQ(formats::parse_star_extension(typed, nullptr).epoch_error_days, 0.0004);
  auto r = refreshed_line(typed, input, nullptr);
  ASSERT_TRUE(r);
  // New epoch and period: their errors and the epoch's time scale went with them.
  EXPECT_EQ(r->text.substr(formats::star_line::kLineChars), "    18         0.52");
  EXPECT_EQ(r->changed, (std::vector<std::string>{"epoch", "period", "epoch error", "period error",
                                                  "time scale"}));
  // The same period: its error stays; the same epoch: its time scale and error too.
  input.period = "0.6289200";
  r = refreshed_line(typed, input, nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->text.substr(formats::star_line::kLineChars),
            "    18         0.52                   2e-07");
  input.epoch = "2451421.700";
  r = refreshed_line(typed, input, nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->text, typed);
  EXPECT_TRUE(r->changed.empty());
}

TEST(RefreshedLine, ShortLineWidenedNoteAfterTheLabelKept) {
  // A line that ends at the magnitudes reaches the extension's columns with blanks.
  const std::string short_line = kTypedRtAnd.substr(0, formats::kMinStarLineLength);
  const auto r = refreshed_line(short_line, rt_and(), nullptr);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->text.substr(0, short_line.size()).substr(46), short_line.substr(46));
  EXPECT_EQ(r->text.substr(82),
            "            "
            "    17                                      HJD");
  // Without an extension to write, the short line only takes its elements.
  StarLine bare = rt_and();
  bare.extension = {};
  const auto b = refreshed_line(short_line, bare, nullptr);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->text.size(), short_line.size());

  // A note after the label: the elements alone are refreshed, or nothing.
  const std::string noted = kTypedRtAnd + " seen 2025-09-12";
  const auto n = refreshed_line(noted, bare, nullptr);
  ASSERT_TRUE(n);
  EXPECT_EQ(n->text.substr(46), noted.substr(46));
  EXPECT_EQ(n->changed, (std::vector<std::string>{"epoch", "period"}));
  std::string problem;
  EXPECT_FALSE(refreshed_line(noted, rt_and(), &problem));
  EXPECT_NE(problem.find("seen 2025-09-12"), std::string::npos) << problem;
}

/// A star.dat record of RT And with the given elements and time scale word ("" none).
formats::StarRecord rt_and_record(const char* epoch, const char* period, const char* scale) {
  std::string line = kTypedRtAnd;
  line.replace(20, 26, fmt::format("{:>13}{:>13}", epoch, period));
  if (*scale != '\0') line += fmt::format("{:>47}", scale);
  return formats::parse_star_record(line);
}

constexpr double kToday = 2461383.5;  // 2026-12-09 0 h UT

TEST(NextMinimumShift, JulianDatesByHand) {
  // Old: 2451421.7 + 15840 x 0.62892 = 2461383.7928 is the first minimum after today.
  // New: its cycle 15840 at 2451421.737 + 15840 x 0.6289216 = 2461383.855144.
  const auto shift =
      next_minimum_shift_minutes(rt_and_record("2451421.700", "0.6289200", ""),
                                 rt_and_record("2451421.737", "0.6289216", ""), kToday);
  ASSERT_TRUE(shift);
  EXPECT_NEAR(*shift, (2461383.855144 - 2461383.7928) * 1440, 1e-6);
  // A minimum exactly at today is the next one: the same elements move nothing.
  const auto none = next_minimum_shift_minutes(rt_and_record("2461383.5", "0.5", "JD"),
                                               rt_and_record("2461383.5", "0.5", ""), kToday);
  EXPECT_EQ(none, 0.0);
  // The new elements' nearest minimum, not the next after today: half a period at most.
  const auto nearest = next_minimum_shift_minutes(rt_and_record("2461383.5", "0.5", ""),
                                                  rt_and_record("2461383.45", "0.5", ""), kToday);
  ASSERT_TRUE(nearest);
  EXPECT_NEAR(*nearest, -72, 1e-6);
}

TEST(NextMinimumShift, TimeScalesAgainstAstropy) {
  // tests/starimport/make_refresh_reference.py. Measured differences: RT And 0, SW Lac and
  // U Cep 6.7e-7 min, one step of a double Julian Date near 2461383 (4.7e-10 d).
  constexpr double kToleranceMinutes = 1e-5;
  auto shift = next_minimum_shift_minutes(rt_and_record("2451421.700", "0.6289200", ""),
                                          rt_and_record("2451421.737", "0.6289216", "HJD"), kToday);
  ASSERT_TRUE(shift);
  EXPECT_NEAR(*shift, 87.07921385765076, kToleranceMinutes);

  std::string sw_lac =
      "SW Lac               2445275.3477    0.3207209 22 53 42  +37 56       EW  8.5  9.4      6 "
      "GCVS";
  const formats::StarRecord sw_before = formats::parse_star_record(sw_lac);
  const formats::StarRecord sw_after =
      formats::parse_star_record(sw_lac + fmt::format("{:>47}", "HJD"));
  shift = next_minimum_shift_minutes(sw_before, sw_after, kToday);
  ASSERT_TRUE(shift);
  EXPECT_NEAR(*shift, -1.7394058406352997, kToleranceMinutes);

  const std::string u_cep =
      "U Cep                 2457278.782     2.493091 01 02 18  +81 53       EA  6.8  9.2        "
      "GCVS";
  const formats::StarRecord u_before =
      formats::parse_star_record(u_cep + fmt::format("{:>47}", "HJD"));
  std::string u_new = u_cep;
  u_new.replace(20, 26, fmt::format("{:>13}{:>13}", "2457278.7835", "2.4930905"));
  shift = next_minimum_shift_minutes(
      u_before, formats::parse_star_record(u_new + fmt::format("{:>47}", "BJD")), kToday);
  ASSERT_TRUE(shift);
  EXPECT_NEAR(*shift, -0.16098015010356903, kToleranceMinutes);
}

TEST(NextMinimumShift, NothingWithoutUsableElements) {
  const formats::StarRecord good = rt_and_record("2451421.700", "0.6289200", "");
  EXPECT_FALSE(next_minimum_shift_minutes(rt_and_record("", "", ""), good, kToday));
  EXPECT_FALSE(next_minimum_shift_minutes(good, rt_and_record("2451421.7", "-1", ""), kToday));
  // More cycles than are counted: a period of a microsecond.
  EXPECT_FALSE(next_minimum_shift_minutes(good, rt_and_record("2451421.7", "1e-11", ""), kToday));
}

TEST(RefreshReport, WhatChangedAndWhereTheMinimumGoes) {
  const std::vector<std::string> changed = {"epoch", "period", "duration"};
  EXPECT_EQ(refresh_report("RZ Cas", changed, 4.2, true),
            "RZ Cas: epoch, period, duration; next minimum 4.2 min later");
  EXPECT_EQ(refresh_report("RZ Cas", changed, -125.04, true),
            "RZ Cas: epoch, period, duration; next minimum 125.0 min earlier");
  EXPECT_EQ(refresh_report("RZ Cas", changed, -0.04, true),
            "RZ Cas: epoch, period, duration; next minimum moves less than 0.1 min");
  EXPECT_EQ(refresh_report("RZ Cas", changed, std::nullopt, true),
            "RZ Cas: epoch, period, duration; no next minimum to compare (elements not usable)");
  // Only the durations or errors: the minima stay where they were.
  EXPECT_EQ(refresh_report("RZ\x1b"
                           "Cas",
                           {"duration"}, 0.0, false),
            "RZ\\x1bCas: duration");
}

TEST(TodayOption, DatesOfTheGregorianCalendar) {
  EXPECT_EQ(jd_of_date_text("2026-12-09"), 2461383.5);
  EXPECT_EQ(jd_of_date_text("2000-01-01"), 2451544.5);
  EXPECT_EQ(jd_of_date_text("2024-02-29"), 2460369.5);
  EXPECT_EQ(jd_of_date_text("1583-01-01"), 2299238.5);
  for (const char* bad : {"2023-02-29", "2026-13-01", "2026-04-31", "2026-1-09", "2026-01-9",
                          "2026/01/09", "1582-12-31", "+026-01-09", "2026-01-09x", ""}) {
    EXPECT_FALSE(jd_of_date_text(bad)) << bad;
  }
  // The system clock's day: 0 h UT of a day since 2026.
  const double today = jd_of_today();
  EXPECT_GE(today, 2461041.5);
  EXPECT_EQ(today - std::floor(today), 0.5);
}

}  // namespace
}  // namespace starimport
