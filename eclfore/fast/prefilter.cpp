#include "fast/prefilter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "astro/angles.h"
#include "astro/dates.h"
#include "fast/slack.h"

namespace eclfore::fast {
namespace {

constexpr double kTwoPi = 2 * astro::kPi;
/// How far below the lowest altitude the bound must leave a star, degrees.
constexpr double kAltitudeSlackDeg = 0.01;
/// Slack for the roundings of sin(altitude) and X in the rule and of the thresholds
/// here, dimensionless: far above the few units of 1e-16 they come to.
constexpr double kComponentSlack = 1e-9;
/// Relative slack for the roundings of the thresholds' cosines.
constexpr double kCosineSlack = 1e-12;
/// Terms below this make a threshold too ill-conditioned to compute: no bound then.
constexpr double kLeastTerm = 1e-6;
/// Sites and right ascensions beyond these are not looked at (the rounding bounds below
/// assume them): degrees, radians.
constexpr double kMostLongitudeDeg = 720;
constexpr double kMostRaRad = 8;
/// Most that the rule may move an instant for the prefilter to say anything, days.
constexpr double kMostShiftDays = 0.1;
/// What the rounding of a moved instant's Julian Date may add to its move, days: far
/// above its 2^-31 days.
constexpr double kShiftRoundingDays = 1e-8;
/// Room for the roundings of a slot's Julian Dates and of the rule's instant, days
/// (2^-31 days each).
constexpr double kSlotJdRoomDays = 1e-8;
/// The fixed night's day hours (in_day_hours) as fractions of a JST day, exact.
constexpr double kDayFromFraction = static_cast<double>(kNightEndHour) / kHoursPerDay;
constexpr double kDayBeforeFraction = static_cast<double>(kNightStartHour) / kHoursPerDay;

/// Hour angle (turns from the meridian, 0 to 0.5) below which cos(hour angle) is at least
/// `cosine`: acos, with the cosine clamped to [-1, 1].
double turns_of_cosine(double cosine) { return std::acos(std::clamp(cosine, -1.0, 1.0)) / kTwoPi; }

/// The slack of the hour angle for an instant that the rule may move by up to `shift`
/// days, turns.
double shift_slack_turns(double shift) {
  return (shift > 0 ? shift + kShiftRoundingDays : 0) * astro::kSiderealRate;
}

}  // namespace

// Why certainly_rejected rejects only what the rule (listed_minimum) rejects.
//
// Dates. The sums of the Julian Date and the JST day have the same bits as in
// astro::jst_day_position (see there), the JST hour is day time exactly when the fraction
// is in [kDayFromFraction, kDayBeforeFraction), and the night date comes from the same
// day table as night_date(): these steps are exact, not bounds.
//
// Hour angle. In the rule H = lst - ra with lst = 2pi x frac(t), t = ((mjd - 40000) x
// rate + 0.671262) + longitude / 360 rounded to double. With |mjd - 40000| < 2^20 and
// |longitude| <= 720, |t| < 2^22, so t is off the exact value by at most 2^-32 turns;
// the product 2pi x frac(t) and the difference with ra (|ra| <= 8) add at most 3e-15 rad
// (4e-16 turns), the double pi's difference from pi 3e-16 rad. Here `turns` (the same
// sum with ra / 2pi taken into turns_at_epoch) is off by at most 2^-33 + 2^-32 + 2^-32
// turns (the difference, the product and the sum, each under 2^22). Together: 8.2e-10
// turns, a twelfth of kHourAngleMarginTurns, which every threshold below carries. So a
// candidate that passes a threshold here passes it in the rule, where cos H is then
// (within the C library's 1 ulp) beyond the threshold's cosine.
//
// Altitude. The rule takes X = cos H sin(phi) cos(delta) - cos(phi) sin(delta),
// Y = sin H cos(delta), Z = cos H cos(phi) cos(delta) + sin(phi) sin(delta) (doubles, each
// within a few 1e-16 of those products of its rounded factors; X^2 + Y^2 + Z^2 = 1 within
// 1e-14), the azimuth A = atan(Y / X) in its quadrant, rounded to float: |error| <= 2^-22
// + 1e-15 = d, since |A| < 8. The altitude is atan(Z / X') with X' = X / cos(A_float).
// Let r = hypot(X, Y), so X = r cos(A_exact). cos(A_float) / cos(A_exact) = cos(d) -
// tan(A) sin(d): with |X| >= kLeastSouthward, |tan A| = |Y / X| <= 1000 and this ratio q
// lies within 2.5e-4 of 1, so X' = r / q > 0 and Z / X' = q Z / r. The arctangent
// moves by at most |ln q| / 2 (d atan(e^s) / ds <= 1/2) plus its roundings: 1.3e-4 rad
// = 0.0072 degrees above atan(Z / r) = asin(Z / hypot(Z, r)). If Z < sin(L - 0.01 degrees)
// (L the lowest altitude, at least 0 and at most 90) the altitude before rounding is
// below L - 0.0028 degrees, and its two roundings to float (3.4e-6 and 3.8e-6 degrees)
// keep it below L: below the lowest altitude, or below 0 and so below the horizon.
// The same bound the other way: if Z > sin(L + 0.01 degrees) (L + 0.01 below 90), the
// altitude lies above L + 0.0028 degrees, and after its roundings at or above L: at or
// above the lowest altitude and the horizon.
// That Z < sin(L - 0.01 degrees) and |X| >= kLeastSouthward hold is decided from cos H:
// Z grows with cos H (cos(phi) cos(delta) > 0), so it holds for cos H below one value,
// an hour angle beyond below_limit_beyond (Z > sin(L + 0.01 degrees) for cos H above
// one value, an hour angle within above_limit_within); |X| is small only for cos H in
// one interval, the band of hour angles band_from to band_to. All carry
// kComponentSlack on the components, kCosineSlack on the cosines and
// kHourAngleMarginTurns on the turns.
//
// A moved instant (ListingRule::most_shift_days = s > 0). The rule takes an instant
// within s of the candidate's, so every decision here must hold for all of them: the
// hour angle moves by at most s x the sidereal rate, taken onto every threshold (the
// date steps are night_slots').
Prefilter star_prefilter(const astro::StarAtSite& seen, const NightSlots& slots,
                         const ListingRule& rule) {
  Prefilter prefilter;
  prefilter.slots = &slots;
  const double shift = rule.most_shift_days;
  if (!(shift >= 0 && shift <= kMostShiftDays)) return prefilter;
  const double shift_turns = shift_slack_turns(shift);
  const double longitude = seen.longitude_deg;
  const double ra = seen.ra_rad;
  const astro::HorizonTerms& t = seen.terms;
  const double least_altitude = rule.least_altitude_deg();
  // No bound where its assumptions fail: only the date steps then.
  if (!(std::fabs(longitude) <= kMostLongitudeDeg) || !(std::fabs(ra) <= kMostRaRad) ||
      std::isnan(least_altitude) || !(t.cos_phi_cos_delta > kLeastTerm) ||
      !std::isfinite(t.sin_phi_sin_delta) || !std::isfinite(t.sin_phi_cos_delta) ||
      !std::isfinite(t.minus_cos_phi_sin_delta)) {
    return prefilter;
  }
  prefilter.turns_at_epoch = astro::kSiderealAtEpoch + longitude / 360 - ra / kTwoPi;
  prefilter.hour_angle_known = true;
  // The altitude of date is not the horizon routines': no bound for it.
  if (rule.of_date) return prefilter;

  // The hour angle beyond which Z < sin(limit - slack).
  const double limit_deg = std::min(least_altitude, 90.0) - kAltitudeSlackDeg;
  const double z_cut = std::sin(limit_deg * astro::kPi / 180) - kComponentSlack;
  double cos_below = (z_cut - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
  cos_below -= kCosineSlack * (1 + std::fabs(cos_below));
  prefilter.below_limit_beyond = turns_of_cosine(cos_below) + kHourAngleMarginTurns + shift_turns;
  // The hour angle within which Z > sin(limit + slack).
  const double above_deg = least_altitude + kAltitudeSlackDeg;
  if (above_deg < 90) {
    const double z_above = std::sin(above_deg * astro::kPi / 180) + kComponentSlack;
    double cos_above = (z_above - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
    cos_above += kCosineSlack * (1 + std::fabs(cos_above));
    if (cos_above < 1) {
      prefilter.above_limit_within =
          turns_of_cosine(cos_above) - kHourAngleMarginTurns - shift_turns;
    }
  }

  // The hour angles where |X| < kLeastSouthward may hold: X = cos H x sin_phi_cos_delta
  // + minus_cos_phi_sin_delta.
  const double x_cut = kLeastSouthward + kComponentSlack;
  const double slope = t.sin_phi_cos_delta;
  const double offset = t.minus_cos_phi_sin_delta;
  if (std::fabs(slope) > kLeastTerm) {
    double lo = (-x_cut - offset) / slope;
    double hi = (x_cut - offset) / slope;
    if (slope < 0) std::swap(lo, hi);
    lo -= kCosineSlack * (1 + std::fabs(lo));
    hi += kCosineSlack * (1 + std::fabs(hi));
    if (hi >= -1 && lo <= 1) {
      // cos H in [lo, hi]: the hour angles from acos(hi) to acos(lo).
      prefilter.band_from = turns_of_cosine(hi) - kHourAngleMarginTurns - shift_turns;
      prefilter.band_to = turns_of_cosine(lo) + kHourAngleMarginTurns + shift_turns;
    }
  } else if (!(std::fabs(offset) >= x_cut + kLeastTerm)) {
    // X stays near 0 at every hour angle: no altitude bound.
    prefilter.below_limit_beyond = 1;
    prefilter.above_limit_within = -1;
  }
  return prefilter;
}

// The altitude of date. A candidate whose instant in the rule (within the shift) has its
// night in the asked month lies within the sky tables, where the bound of
// low_altitude_of_date holds: that instant's hour angle of date is within the shift's
// turns and kHourAngleMarginTurns (the caller's roundings, as above) of the one computed
// here, so beyond the threshold the altitude of date is below the least altitude: below
// the lowest altitude or the horizon. Any other candidate the rule rejects by its date.
Prefilter star_prefilter_of_date(const astro::StarPlace& place, const NightSlots& slots,
                                 const ListingRule& rule) {
  Prefilter prefilter;
  prefilter.slots = &slots;
  const double shift = rule.most_shift_days;
  const double least_altitude = rule.least_altitude_deg();
  if (!(shift >= 0 && shift <= kMostShiftDays) || std::isnan(least_altitude)) return prefilter;
  const double shift_turns = shift_slack_turns(shift);
  const astro::LowAltitudeOfDate bound = rule.sky->low_altitude_of_date(
      place, least_altitude, astro::kSiderealRate, astro::kSiderealEpochMjd);
  if (!(bound.beyond_turns < 1)) return prefilter;
  prefilter.turns_at_epoch = bound.turns_at_reference;
  prefilter.below_limit_beyond = bound.beyond_turns + kHourAngleMarginTurns + shift_turns;
  return prefilter;
}

namespace {

/// True when the rule rejects every instant at `fraction` (days since 0:00 JST) of `day`
/// by steps 2 and 3, the Sun aside: in the fixed night's day hours, or in a night of
/// another month (the night date of fractions before `morning_end` is the day before).
bool fraction_rejected(const astro::JstDay& day, double fraction, const ListingRule& rule,
                       double morning_end) {
  if (!rule.sun_night && fraction >= kDayFromFraction && fraction < kDayBeforeFraction) {
    return true;
  }
  const astro::CalendarDate& date = fraction < morning_end ? day.previous : day.date;
  return !rule.in_asked_month(date.year, date.month);
}

}  // namespace

// With --sun-below a slot is also rejected when the Sun stands at or above the limit at
// every instant the rule may take for it (ObservingConditions::sun_up_throughout).
//
// The slot [a, b) of a day holds the candidates whose exact fraction lies in it; the
// rule takes an instant whose fraction lies in [a - s, b + s] (s the shift, with the
// rounding of a moved Julian Date, 2^-31 days, in kShiftRoundingDays; [a, b) when
// s = 0). That interval is split at the day's boundaries (6:00 and 18:00 when the day
// hours count, and the morning's end); on each piece the rule decides alike, so it
// rejects every instant when it rejects the first of each piece. An interval that
// runs into the day before or after is kept: the table is read for the candidate's own
// day only. With s = 0 the slot boundaries include those of the day, so each slot lies
// in one piece, and the slots reject exactly what the rule's date steps reject.
NightSlots night_slots(const SearchWindow& window, const ListingRule& rule) {
  NightSlots slots;
  slots.first_day_number = window.first_day_number - 1;
  const double shift = rule.most_shift_days;
  if (!(shift >= 0 && shift <= kMostShiftDays)) return slots;
  const double margin = shift > 0 ? shift + kShiftRoundingDays : 0;
  const double morning_end = static_cast<double>(rule.morning_end_hour) / kHoursPerDay;
  const std::array<double, 3> boundaries = {kDayFromFraction, morning_end, kDayBeforeFraction};
  for (int d = 0; d < kWindowTableDays; ++d) {
    const astro::JstDay& day = window.days[static_cast<std::size_t>(d)];
    for (int k = 0; k < kSlotsPerDay; ++k) {
      const double low = static_cast<double>(k) / kSlotsPerDay - margin;
      const double high = static_cast<double>(k + 1) / kSlotsPerDay + margin;
      if (low < 0 || (margin > 0 ? high >= 1 : high > 1)) continue;
      bool rejected = fraction_rejected(day, low, rule, morning_end);
      for (const double boundary : boundaries) {
        if (boundary > low && (boundary < high || (margin > 0 && boundary == high))) {
          rejected = rejected && fraction_rejected(day, boundary, rule, morning_end);
        }
      }
      if (!rejected && rule.sky != nullptr) {
        // The Sun at or above --sun-below through the slot (false without it): the Julian
        // Date of a fraction f of the day is day number + f - 0.875.
        const double day_number = window.first_day_number + static_cast<double>(d);
        rejected =
            rule.sky->sun_up_throughout(day_number + low - astro::kJdToJstDays - kSlotJdRoomDays,
                                        day_number + high - astro::kJdToJstDays + kSlotJdRoomDays);
      }
      const std::size_t row =
          static_cast<std::size_t>(d + 1) * kSlotsPerDay + static_cast<std::size_t>(k);
      slots.rejected[row] = rejected ? 1 : 0;
    }
  }
  return slots;
}

astro::LocalDate whole_night_date(const SearchWindow& window, const ListingRule& rule, double mjd) {
  // In this range the Julian Date and the JST day's sum are exact (see jst_day_sum).
  const double j = jst_day_sum(mjd);
  const double day_number = static_cast<double>(static_cast<std::int32_t>(j));
  return astro::local_date_in_day_whole(window_day(window, day_number), j - day_number,
                                        rule.morning_end_hour);
}

bool in_jst_day_hours(double mjd) {
  // The night date's hour is trunc(24 x fraction), exactly (local_date_in_day_whole),
  // and 24 x fraction is exact here too: a whole number of 2^-31 days times 24.
  const double j = jst_day_sum(mjd);
  const double hours = astro::kHoursPerDay * (j - std::floor(j));
  return hours >= kNightEndHour && hours < kNightStartHour;
}

}  // namespace eclfore::fast
