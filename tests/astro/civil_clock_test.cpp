// The zone's clock: offsets of the database's zones and the one offset a night keeps.
#include "astro/civil_clock.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "astro/constants.h"
#include "astro/dates.h"

namespace {

astro::CivilClock zone(const char* name) {
  const std::optional<astro::CivilClock> clock = astro::CivilClock::zone(name);
  EXPECT_TRUE(clock.has_value()) << name;
  return clock.value_or(astro::CivilClock{});
}

/// Julian Date (UT) of a UT calendar time.
double ut_jd(int year, int month, int day, float hour) {
  return astro::calendar_to_mjd(static_cast<float>(year), static_cast<float>(month),
                                static_cast<float>(day), hour, 0.0L) +
         astro::kMjdZeroJd;
}

// The default clock is JST with the old constant's bits: every default output rests on it.
TEST(CivilClock, DefaultIsJstWithTheExactOffset) {
  const astro::CivilClock jst;
  EXPECT_TRUE(jst.is_jst());
  EXPECT_EQ(jst.name(), "JST");
  const astro::NightClock night = jst.night({2006, 3, 5});
  EXPECT_TRUE(night.is_jst());
  EXPECT_EQ(night.offset_days(), astro::kJstOffsetDays);
  EXPECT_TRUE(astro::CivilClock::fixed(9 * 3600).is_jst());
  EXPECT_FALSE(zone("Asia/Tokyo").is_jst());  // a zone, though on JST since 1951
  EXPECT_EQ(zone("Asia/Tokyo").night({2006, 3, 5}).abbreviation, "JST");
  EXPECT_EQ(zone("Asia/Tokyo").night({2006, 3, 5}).offset_days(), astro::kJstOffsetDays);
}

// The offsets that calendar_to_mjd and jst_day_position take reproduce the JST bits
// exactly, and a whole-hour clock moves the instant by exactly its hours.
TEST(CivilClock, OffsetArgumentsKeepTheJstBits) {
  for (float hour = 18.0f; hour < 30.0f; hour += 0.37f) {
    EXPECT_EQ(astro::calendar_to_mjd(2006, 10, 14, hour),
              astro::calendar_to_mjd(2006, 10, 14, hour, astro::kJstOffsetDays))
        << hour;
  }
  for (double jd = 2454022.0; jd < 2454023.0; jd += 0.0123) {
    const astro::JstDayPosition a = astro::jst_day_position(jd);
    const astro::JstDayPosition b = astro::jst_day_position(jd, astro::kJstOffsetDays);
    EXPECT_EQ(a.day_number, b.day_number) << jd;
    EXPECT_EQ(a.fraction, b.fraction) << jd;
  }
  // 21:00 BST (UTC+1) on 2006-10-14 is 20:00 UT, within the rounding of the
  // single-precision day fraction of 20:00 (1.99e-8 days apart).
  EXPECT_NEAR(astro::calendar_to_mjd(2006, 10, 14, 21.0f, 1.0L / 24) + astro::kMjdZeroJd,
              ut_jd(2006, 10, 14, 20.0f), 6e-8);
}

// London: GMT in winter, BST in summer, the night's clock set at 18:00 of its evening.
TEST(CivilClock, LondonInWinterAndSummer) {
  const astro::CivilClock london = zone("Europe/London");
  EXPECT_EQ(london.name(), "Europe/London");
  const astro::NightClock winter = london.night({2006, 1, 15});
  EXPECT_EQ(winter.offset_seconds, 0);
  EXPECT_EQ(winter.abbreviation, "GMT");
  const astro::NightClock summer = london.night({2006, 7, 15});
  EXPECT_EQ(summer.offset_seconds, 3600);
  EXPECT_EQ(summer.abbreviation, "BST");
  EXPECT_EQ(london.offset_seconds_at(ut_jd(2006, 7, 15, 12.0f)), 3600);
  EXPECT_EQ(london.offset_seconds_at(ut_jd(2006, 1, 15, 12.0f)), 0);
}

// Summer time ended at 01:00 UT on 2006-10-29. The night of the 28th keeps BST to its
// morning: 05:30 UT is 06:30 on its clock, day time (hour 6 of the 29th), and 04:30 UT
// is hour 29.5 of the 28th. The night of the 29th starts on GMT.
TEST(CivilClock, NightKeepsItsEveningsClockAcrossTheChange) {
  const astro::CivilClock london = zone("Europe/London");
  EXPECT_EQ(london.night({2006, 10, 28}).abbreviation, "BST");
  EXPECT_EQ(london.night({2006, 10, 29}).abbreviation, "GMT");
  // Each row: the UT instant, the night's end hour, the night date and clock time.
  struct Row {
    int ut_day;
    float ut_hour;
    int morning_end_hour;
    int day;
    int hour;
    int minute;
  };
  const auto expect_rows = [&](int month, std::initializer_list<Row> rows) {
    for (const Row& r : rows) {
      const astro::LocalDate d =
          london.night_date(ut_jd(2006, month, r.ut_day, r.ut_hour), r.morning_end_hour);
      EXPECT_EQ(d.month, month) << r.ut_day << " " << r.ut_hour;
      EXPECT_EQ(d.day, r.day) << r.ut_day << " " << r.ut_hour;
      EXPECT_EQ(d.hour, r.hour) << r.ut_day << " " << r.ut_hour;
      EXPECT_EQ(d.minute, r.minute) << r.ut_day << " " << r.ut_hour;
    }
  };
  expect_rows(10, {{29, 4.5f, 6, 28, 29, 30},
                   {29, 5.5f, 6, 29, 6, 30},
                   {29, 20.25f, 6, 29, 20, 15},
                   // Nights from noon to noon (--sun-below): the same clock to noon.
                   {29, 10.5f, 12, 28, 35, 30}});
  // Spring: the change at 01:00 UT on 2006-03-26 leaves the night of the 25th on GMT to
  // its end at 06:00 GMT, though 05:30 UT is already 06:30 BST of the 26th.
  expect_rows(3, {{26, 3.0f, 6, 25, 27, 0}, {26, 5.5f, 6, 25, 29, 30}, {26, 6.5f, 6, 26, 7, 30}});
  // 3 a.m. typed on the 26th is in the night of the 25th.
  EXPECT_EQ(london.night_of({2006, 3, 26}, 3.0f).abbreviation, "GMT");
  EXPECT_EQ(london.night_of({2006, 3, 25}, 27.0f).abbreviation, "GMT");
  EXPECT_EQ(london.night_of({2006, 3, 26}, 21.0f).abbreviation, "BST");
}

// Outside values: Python's zoneinfo reading the same database (make_night_clock_reference.py).
// Offsets and names exactly; the night and its clock time exactly, to the minute, for
// instants every 73 minutes across each change of the years 2006 and 2025 in six zones.
// One clock a zone answers them all in turn, so that what it keeps of earlier lookups is
// used again; the night of an instant is also taken with a calendar of day numbers that
// counts its calls.
TEST(CivilClock, NightsAndInstantsAsPythonsZoneinfoGivesThem) {
  std::ifstream in(NIGHT_CLOCK_REFERENCE);
  ASSERT_TRUE(in) << NIGHT_CLOCK_REFERENCE;
  std::string line;
  int nights = 0;
  int instants = 0;
  std::map<std::string, astro::CivilClock> clocks;
  int calendar_calls = 0;
  const astro::DayCalendar counted = [&](double day_number) {
    ++calendar_calls;
    return astro::jst_day(day_number);
  };
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind;
    std::string name;
    fields >> kind >> name;
    const astro::CivilClock& clock = clocks.try_emplace(name, zone(name.c_str())).first->second;
    if (kind == "night") {
      astro::CalendarDate date;
      int offset = 0;
      std::string abbreviation;
      fields >> date.year >> date.month >> date.day >> offset >> abbreviation;
      const astro::NightClock night = clock.night(date);
      EXPECT_EQ(night.offset_seconds, offset) << line;
      EXPECT_EQ(night.abbreviation, abbreviation) << line;
      ++nights;
    } else {
      double jd = 0;
      int morning_end = 0;
      astro::LocalDate want;
      fields >> jd >> morning_end >> want.year >> want.month >> want.day >> want.hour >>
          want.minute;
      const astro::LocalDate got = clock.night_date(jd, morning_end);
      EXPECT_EQ(got.year, want.year) << line;
      EXPECT_EQ(got.month, want.month) << line;
      EXPECT_EQ(got.day, want.day) << line;
      EXPECT_EQ(got.hour, want.hour) << line;
      EXPECT_EQ(got.minute, want.minute) << line;
      const astro::LocalDate by_calendar = clock.night_date(jd, morning_end, counted);
      EXPECT_EQ(by_calendar.day, got.day) << line;
      EXPECT_EQ(by_calendar.hour, got.hour) << line;
      EXPECT_EQ(by_calendar.minute, got.minute) << line;
      ++instants;
    }
  }
  EXPECT_GT(nights, 300);
  EXPECT_GT(instants, 1000);
  EXPECT_GE(calendar_calls, 3 * instants);
}

TEST(CivilClock, FixedOffsetsAndUnknownZones) {
  const astro::CivilClock eastern = astro::CivilClock::fixed(-5 * 3600);
  EXPECT_FALSE(eastern.is_jst());
  EXPECT_EQ(eastern.name(), "UTC-05:00");
  EXPECT_EQ(eastern.night({2006, 7, 1}).offset_seconds, -5 * 3600);
  const astro::LocalDate night = eastern.night_date(ut_jd(2006, 7, 2, 3.25f), 6);
  EXPECT_EQ(night.day, 1);
  EXPECT_EQ(night.hour, 22);
  EXPECT_EQ(night.minute, 15);
  EXPECT_EQ(astro::utc_offset_text(5 * 3600 + 45 * 60), "UTC+05:45");
  EXPECT_EQ(astro::utc_offset_text(0), "UTC+00:00");
  EXPECT_FALSE(astro::CivilClock::zone("Europe/Lond").has_value());
  EXPECT_FALSE(astro::CivilClock::zone("../../etc/passwd").has_value());
  EXPECT_FALSE(astro::CivilClock::zone("").has_value());
}

}  // namespace
