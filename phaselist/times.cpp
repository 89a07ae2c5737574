#include "times.h"

#include <array>
#include <string>

#include "astro/dates.h"
#include "astro/sexagesimal.h"
#include "formats/layouts.h"
#include "io/answers.h"
#include "io/run_error.h"

namespace phaselist {

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
