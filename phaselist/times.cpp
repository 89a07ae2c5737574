#include "times.h"

#include <array>

#include "io/answers.h"
#include "astro/dates.h"
#include "astro/sexagesimal.h"

namespace phaselist {

TypedTime read_typed_time(std::FILE* in, std::string_view which) {
  const std::array<int, 5> n =
      io::read_five_whole_numbers(in, which, "year month day hour minute");
  return {n[0], n[1], n[2], n[3], n[4]};
}

float decimal_hour(int hour, int minute) {
  return astro::whole_and_minutes(hour, minute, astro::MinuteStep::kDividedBySixty);
}

TableTime table_time(const TypedTime& typed) {
  TableTime t;
  t.mjd =
      astro::calendar_to_mjd(static_cast<float>(typed.year), static_cast<float>(typed.month),
                             static_cast<float>(typed.day), decimal_hour(typed.hour, typed.minute));
  return t;
}

}  // namespace phaselist
