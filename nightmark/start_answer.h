#pragma once
/// The start time and the sky choice: typed at the prompts, or given as --start and
/// --sky.

#include <optional>
#include <string_view>

#include "astro/sites.h"
#include "formats/answer_options.h"
#include "io/cli.h"
#include "night_filter.h"

namespace nightmark {

inline constexpr io::OptionSpec kStartOption{
    "start", "HH:MM", "answers the start time: 12:00 to 29:59 (after midnight 24-29), or dusk"};
inline constexpr io::OptionSpec kSkyOption{"sky", "all|south", "answers the sky question"};

/// The hours a --start may give: from noon of the evening to 29:59, the last minute of
/// the night's fixed end (06:00 the next morning).
inline constexpr int kFirstStartHour = 12;
inline constexpr int kLastStartHour = 29;

/// What --start and --sky give; a question without one is asked.
struct GivenAnswers {
  std::optional<formats::ClockTime> start;  ///< --start=HH:MM
  bool start_at_dusk = false;               ///< --start=dusk
  std::optional<bool> south_only;           ///< --sky=south (true) or all (false)
};

/// Reads --start and --sky. Throws io::UsageError naming the option and its value for a
/// start that is not "dusk" nor HH:MM with the hour kFirstStartHour to kLastStartHour
/// and the minute 00 to 59, and for a sky that is not "all" or "south".
GivenAnswers given_answers(const io::Options& options);

/// The start of --start=dusk: the end of civil twilight at the site on the night's
/// evening, rounded up to the next whole minute (the first minute of the sky dark
/// enough), JST hour and minute of the night. Throws io::RunError when the Sun does not
/// go that low between noon and midnight there.
formats::ClockTime dusk_start(const NightDate& date, const astro::ObservingSite& site);

/// Warns on standard error when a typed start hour is 0 to 11: a time of the morning
/// before the evening, which the plan takes as typed; the hours after midnight count on
/// from 24.
void warn_of_morning_hour(int hour);

}  // namespace nightmark
