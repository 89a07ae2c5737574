#include "times.h"

#include <array>
#include <charconv>
#include <string>
#include <system_error>

#include <fmt/format.h>

#include "astro/dates.h"
#include "astro/sexagesimal.h"
#include "formats/layouts.h"
#include "io/answers.h"
#include "io/message_text.h"
#include "io/run_error.h"

namespace phaselist {
namespace {

/// `text` as a whole number of `min_digits` to `max_digits` digits (a '-' before
/// them when `signed_number`) from `lowest` to `highest`; nothing for anything else.
std::optional<int> bounded_number(std::string_view text, std::size_t min_digits,
                                  std::size_t max_digits, int lowest, int highest,
                                  bool signed_number = false) {
  const std::string_view digits =
      signed_number && !text.empty() && text.front() == '-' ? text.substr(1) : text;
  if (digits.size() < min_digits || digits.size() > max_digits ||
      digits.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

/// "YYYY-MM-DDTHH:MM" as a typed time, or nothing.
std::optional<TypedTime> parse_time_text(std::string_view text) {
  constexpr int kLastMonth = 12;
  constexpr int kLastDay = 31;
  constexpr int kLastMinute = 59;
  const formats::WholeNumberRange years =
      formats::whole_numbers_within(formats::phase_table_title::kStartYear);
  const std::size_t t = text.find('T');
  if (t == std::string_view::npos) return std::nullopt;
  const std::string_view date = text.substr(0, t);
  const std::string_view clock = text.substr(t + 1);
  const std::size_t day_dash = date.rfind('-');
  if (day_dash == std::string_view::npos || day_dash == 0) return std::nullopt;
  const std::size_t month_dash = date.rfind('-', day_dash - 1);
  const std::size_t colon = clock.find(':');
  if (month_dash == std::string_view::npos || colon == std::string_view::npos) return std::nullopt;
  const auto year =
      bounded_number(date.substr(0, month_dash), 1, 4, years.lowest, years.highest, true);
  const auto month =
      bounded_number(date.substr(month_dash + 1, day_dash - month_dash - 1), 1, 2, 1, kLastMonth);
  const auto day = bounded_number(date.substr(day_dash + 1), 1, 2, 1, kLastDay);
  const auto hour = bounded_number(clock.substr(0, colon), 1, 2, 0, kLastOptionHour);
  const auto minute = bounded_number(clock.substr(colon + 1), 2, 2, 0, kLastMinute);
  if (!year || !month || !day || !hour || !minute) return std::nullopt;
  return TypedTime{*year, *month, *day, *hour, *minute};
}

}  // namespace

std::optional<TypedTime> time_option(const io::Options& options, const io::OptionSpec& option) {
  const auto text = options.value(option.name);
  if (!text) return std::nullopt;
  if (auto typed = parse_time_text(*text)) return typed;
  throw io::UsageError(fmt::format(
      "--{}={}: wants YYYY-MM-DDTHH:MM, the year -999 to 9999, the month 1 to 12, the day 1 "
      "to 31, the hour 0 to {} (after midnight 24 on), the minute 00 to 59",
      option.name, io::escape_for_message(*text), kLastOptionHour));
}

TypedTime read_typed_time(std::FILE* in, std::string_view which) {
  const std::array<int, 5> n = io::read_five_whole_numbers(in, which, "year month day hour minute");
  return {n[0], n[1], n[2], n[3], n[4]};
}

void refuse_year_beyond_title(const TypedTime& typed, std::string_view which,
                              std::string_view table_file) {
  if (auto misfit =
          formats::beyond_field("year", typed.year, formats::phase_table_title::kStartYear,
                                "the year in " + std::string(table_file) + "'s title")) {
    throw io::RunError(std::string(which) + ": " + *misfit);
  }
}

float decimal_hour(int hour, int minute) {
  return astro::whole_and_minutes(hour, minute, astro::MinuteStep::kDividedBySixty);
}

TableTime table_time(const TypedTime& typed, const astro::CivilClock& clock) {
  const float hour = decimal_hour(typed.hour, typed.minute);
  const astro::NightClock night = clock.night_of({typed.year, typed.month, typed.day}, hour);
  TableTime t;
  t.mjd = astro::calendar_to_mjd(static_cast<float>(typed.year), static_cast<float>(typed.month),
                                 static_cast<float>(typed.day), hour, night.offset_days());
  t.clock_name = night.abbreviation;
  return t;
}

}  // namespace phaselist
