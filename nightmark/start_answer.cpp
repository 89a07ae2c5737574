#include "start_answer.h"

#include <cmath>

#include <fmt/format.h>

#include "astro/constants.h"
#include "astro/ephemeris.h"

#include "chart_samples.h"
#include "io/console.h"
#include "io/message_text.h"
#include "io/run_error.h"

namespace nightmark {
namespace {

constexpr std::string_view kDuskValue = "dusk";
using astro::kHoursPerDay;
using astro::kMinutesPerHour;

}  // namespace

GivenAnswers given_answers(const io::Options& options) {
  GivenAnswers given;
  if (const auto text = options.value(kStartOption.name)) {
    if (*text == kDuskValue) {
      given.start_at_dusk = true;
    } else {
      given.start =
          formats::clock_time_option(kStartOption, *text, kFirstStartHour, kLastStartHour);
    }
  }
  if (const auto text = options.value(kSkyOption.name)) {
    if (*text != "all" && *text != "south") {
      throw io::UsageError(fmt::format("--{}={}: wants all or south", kSkyOption.name,
                                       io::escape_for_message(*text)));
    }
    given.south_only = *text == "south";
  }
  return given;
}

formats::ClockTime dusk_start(const NightDate& date, const astro::ObservingSite& site) {
  const std::optional<double> dusk_hours = civil_dusk_hours(date, site);
  if (!dusk_hours) {
    throw io::RunError(fmt::format(
        "--start=dusk: the Sun does not go {} degrees below the horizon between noon and "
        "midnight on {}/{}/{} at the site",
        -astro::kCivilTwilightDeg, date.year, date.month, date.day));
  }
  // Between noon and midnight: a whole number of minutes well within int.
  const int minutes = static_cast<int>(std::ceil(*dusk_hours * kMinutesPerHour));
  return {minutes / kMinutesPerHour, minutes % kMinutesPerHour};
}

void warn_of_morning_hour(int hour) {
  if (hour < 0 || hour >= kFirstStartHour) return;
  io::print_error_text(fmt::format(
      "warning: hour {0} is {0}:00 on the morning before the night; {0}:00 after midnight is "
      "hour {1}\n",
      hour, hour + kHoursPerDay));
}

}  // namespace nightmark
