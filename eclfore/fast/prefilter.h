#pragma once
/// The prefilter: a cheap look at a candidate minimum before the listing rule. Most
/// candidates fall in the day, in a night of another month or with the star well below
/// the lowest altitude; the prefilter says so in a few double operations, where the rule
/// (listed_minimum) takes the date conversion, the extended-precision horizon transform
/// and five calls of the C library's trigonometry. It only ever rejects a candidate that
/// the rule rejects too (the proof is in prefilter.cpp): every other candidate goes on to
/// the rule, so the forecast is the same with or without it.

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <functional>

#include "astro/constants.h"
#include "astro/ephemeris.h"
#include "astro/horizon.h"
#include "astro/numeric.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore::fast {

/// Slots of a JST day in the table of NightSlots: a power of two, so that a fraction of
/// the day times it is exact, and the hours that end or start a night (6, 12 and 18) are
/// slot boundaries.
inline constexpr int kSlotsPerDay = 128;
/// An hour's fraction of the day is hour / kHoursPerDay.
using astro::kHoursPerDay;
static_assert(kSlotsPerDay * kNightEndHour % kHoursPerDay == 0 &&
                  kSlotsPerDay * kNightStartHour % kHoursPerDay == 0 &&
                  kSlotsPerDay * astro::kSunNightMorningEndHour % kHoursPerDay == 0,
              "the night's hours begin and end at slot boundaries");
/// Days of the table: the window's day table and an empty day at each end.
inline constexpr int kSlotDays = kWindowTableDays + 2;

/// The date steps of the prefilter for one month, computed once for a run: whether
/// every instant of a slot of a JST day is certainly rejected by the night or the month.
struct NightSlots {
  /// The day number of the table's first day (an empty one: nothing in it rejected).
  double first_day_number = 0;
  std::array<std::uint8_t, static_cast<std::size_t>(kSlotDays) * kSlotsPerDay> rejected{};
};

/// The slots of the rule's month in `window`.
NightSlots night_slots(const SearchWindow& window, const ListingRule& rule);

/// The prefilter of the candidates of one star at one site for one month.
struct Prefilter {
  const NightSlots* slots = nullptr;
  /// The star's hour angle at the sidereal epoch (astro::kSiderealEpochMjd), turns (see
  /// hour_angle_turns); the hour angle of date in a prefilter of star_prefilter_of_date.
  double turns_at_epoch = 0;
  /// True when hour_angle_turns is within kHourAngleMarginTurns / 10 of the horizon
  /// routines' hour angle for every instant from kPrefilterFromMjd to kPrefilterBeforeMjd.
  bool hour_angle_known = false;
  /// Hour angles (turns from the meridian, 0 to 0.5) beyond which the star certainly
  /// stands below the lowest altitude or the horizon: none when 1.
  double below_limit_beyond = 1;
  /// Hour angles (turns) from band_from to band_to, near due east or west, where that
  /// bound does not hold: no band when band_from > band_to.
  double band_from = 1;
  double band_to = -1;
  /// Hour angles (turns from the meridian) below which the star certainly stands at or
  /// above the lowest altitude and the horizon, outside the band: none when negative.
  double above_limit_within = -1;
};

/// Instants (MJD, days, UT) from which and before which the steps of
/// certainly_rejected are proven (1870-02-03 to 4729-10-13); candidates outside go to
/// the rule as they are.
inline constexpr double kPrefilterFromMjd = 4096;
inline constexpr double kPrefilterBeforeMjd = 1048576;
/// What an hour angle of certainly_rejected may differ from the rule's, turns: more than
/// ten times the largest difference (see prefilter.cpp).
inline constexpr double kHourAngleMarginTurns = 1e-8;

/// The prefilter of the candidates of `seen` for `rule` with the date steps of `slots`
/// (night_slots of the same rule, which must outlive the prefilter). With --of-date only
/// the date steps: the altitude of date is not the horizon routines'.
Prefilter star_prefilter(const astro::StarAtSite& seen, const NightSlots& slots,
                         const ListingRule& rule);

/// The prefilter for --of-date: the date steps of `slots` and, for the altitude of date,
/// the bound of the rule's sky tables on the hour angle of date
/// (astro::ObservingConditions::low_altitude_of_date) in turns_at_epoch and
/// below_limit_beyond. hour_angle_known stays false: these turns are not the horizon
/// routines'.
Prefilter star_prefilter_of_date(const astro::StarPlace& place, const NightSlots& slots,
                                 const ListingRule& rule);

/// The star's hour angle at `mjd` (MJD, days, UT), turns: any number of whole turns
/// from the horizon routines' hour angle, within 1e-9 turns of it when
/// prefilter.hour_angle_known and mjd lies from kPrefilterFromMjd to kPrefilterBeforeMjd.
inline double hour_angle_turns(const Prefilter& prefilter, double mjd) {
  return (mjd - astro::kSiderealEpochMjd) * astro::kSiderealRate + prefilter.turns_at_epoch;
}

/// The JST day and its fraction of a candidate from kPrefilterFromMjd to
/// kPrefilterBeforeMjd (MJD, days, UT), the same bits as astro::jst_day_position of its
/// Julian Date: in this range both sums are exact in extended precision, so their
/// rounding to double is the one of a double addition. The sum lies between 2^21 and
/// 2^22, a whole number of 2^-31 days.
inline double jst_day_sum(double mjd) { return (mjd + astro::kMjdZeroJd) + astro::kJdToJstDays; }

/// The JST night date of the instant `mjd` (MJD, days, UT, from kPrefilterFromMjd to
/// kPrefilterBeforeMjd): the bits of rule_night_date on the JST clock, from the exact
/// JST day in whole numbers.
astro::LocalDate whole_night_date(const SearchWindow& window, const ListingRule& rule, double mjd);

/// in_day_hours of the JST night date of the instant `mjd` (as for whole_night_date)
/// without the date: whether it falls from 6:00 to 17:59 JST.
bool in_jst_day_hours(double mjd);

/// The slot of NightSlots::rejected (before any clamping to the table) of an instant
/// from kPrefilterFromMjd to kPrefilterBeforeMjd (MJD, days, UT): (sum - first day) x
/// kSlotsPerDay is exact (a difference of two numbers within a factor of two of each
/// other, times a power of two), so its truncation is the slot of the exact fraction.
/// It never decreases as the instant grows (each step rounds monotonically).
inline double slot_of(const Prefilter& prefilter, double mjd) {
  return (jst_day_sum(mjd) - prefilter.slots->first_day_number) * kSlotsPerDay;
}

/// The star's hour angle at `mjd` as hour_angle_turns gives it, brought to -0.5 to 0.5
/// turns: negative east of the meridian, positive west (an exact difference).
inline double turns_past_meridian(const Prefilter& prefilter, double mjd) {
  const double turns = hour_angle_turns(prefilter, mjd);
  return turns - astro::nearest_whole(turns);
}

/// True when the star certainly stands below the lowest altitude or the horizon at
/// `mjd` (from kPrefilterFromMjd to kPrefilterBeforeMjd), from its hour angle's distance
/// from the meridian, 0 to 0.5 turns (exact differences). Without branches.
inline bool certainly_below(const Prefilter& prefilter, double mjd) {
  const double from_meridian = std::fabs(turns_past_meridian(prefilter, mjd));
  return (from_meridian > prefilter.below_limit_beyond) &
         ((from_meridian > prefilter.band_to) | (from_meridian < prefilter.band_from));
}

/// The same distance: true when the star certainly stands at or above the lowest
/// altitude and the horizon at `mjd` (as for certainly_below), the rule's step 4 passed.
/// The eclipse window's instants take it; the candidates need no such bound (the quick
/// altitude prints their altitude anyway).
inline bool certainly_above(const Prefilter& prefilter, double mjd) {
  const double from_meridian = std::fabs(turns_past_meridian(prefilter, mjd));
  return (from_meridian < prefilter.above_limit_within) &
         ((from_meridian > prefilter.band_to) | (from_meridian < prefilter.band_from));
}

/// The date steps' and the altitude bound's verdict on an instant of the prefilter's
/// range whose slot lies in row `row` of NightSlots::rejected.
inline bool rejected_in_row(const Prefilter& prefilter, std::size_t row, double mjd) {
  const bool date_rejected = prefilter.slots->rejected[row] != 0;
  const bool below = certainly_below(prefilter, mjd);
  return date_rejected | below;
}

/// True when the rule certainly rejects the candidate at `minimum_mjd` (MJD, days, UT):
/// its JST hour is day time (6 to 17), its night date lies outside the asked month, or
/// the star stands below the lowest altitude or the horizon. False says nothing. Without
/// branches, so that a chunk of candidates passes at full speed whatever the mix of
/// decisions.
inline bool certainly_rejected(const Prefilter& prefilter, double minimum_mjd) {
  const bool in_range = minimum_mjd >= kPrefilterFromMjd && minimum_mjd < kPrefilterBeforeMjd;
  // Outside the range (NaN too) any instant in it stands in, and the answer is false.
  const double mjd = in_range ? minimum_mjd : kPrefilterFromMjd;
  // Beyond the table's ends the empty days stand in.
  const NightSlots& slots = *prefilter.slots;
  const auto row = static_cast<std::size_t>(static_cast<std::int32_t>(
      std::clamp(slot_of(prefilter, mjd), 0.0, static_cast<double>(slots.rejected.size() - 1))));
  const bool rejected = rejected_in_row(prefilter, row, mjd);
  return in_range & rejected;
}

/// True when `mjd` (MJD, days, UT) lies in the prefilter's range and its slot in the
/// table: there certainly_rejected needs neither the range's stand-in nor the clamping.
inline bool inside_table(const Prefilter& prefilter, double mjd) {
  const double slot = slot_of(prefilter, mjd);
  return mjd >= kPrefilterFromMjd && mjd < kPrefilterBeforeMjd && slot >= 0 &&
         slot < static_cast<double>(prefilter.slots->rejected.size());
}

/// certainly_rejected of an instant that is inside_table.
inline bool rejected_inside(const Prefilter& prefilter, double mjd) {
  return rejected_in_row(
      prefilter, static_cast<std::size_t>(static_cast<std::int32_t>(slot_of(prefilter, mjd))), mjd);
}

/// The candidates of a chunk (count at most kChunkCandidates, in time order or, for
/// unusable elements, the reverse) that certainly_rejected does not reject: their
/// indices into `kept`, in order, without a branch on the answers; returns how many.
/// When the first and the last are inside_table, so are all between them (slot_of never
/// goes back), and the shorter steps of rejected_inside give the same answers.
inline int keep_candidates(const Prefilter& prefilter, const double* mjd, int count,
                           unsigned char* kept) {
  int kept_count = 0;
  assert(std::is_sorted(mjd, mjd + count) || std::is_sorted(mjd, mjd + count, std::greater<>()));
  if (count > 0 && inside_table(prefilter, mjd[0]) && inside_table(prefilter, mjd[count - 1])) {
    for (int i = 0; i < count; ++i) {
      kept[kept_count] = static_cast<unsigned char>(i);
      kept_count += rejected_inside(prefilter, mjd[i]) ? 0 : 1;
    }
    return kept_count;
  }
  for (int i = 0; i < count; ++i) {
    kept[kept_count] = static_cast<unsigned char>(i);
    kept_count += certainly_rejected(prefilter, mjd[i]) ? 0 : 1;
  }
  return kept_count;
}

}  // namespace eclfore::fast
