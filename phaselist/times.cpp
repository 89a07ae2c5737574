#include "times.h"

#include <array>
#include <string>

#include "astro/console.h"
#include "astro/dates.h"
#include "astro/sexagesimal.h"
#include "astro/text_files.h"

namespace phaselist {
TypedTime read_typed_time(std::FILE* in, std::string_view which) {
  TypedTime t;
  const std::array<int*, 5> fields = {&t.year, &t.month, &t.day, &t.hour, &t.minute};
  for (int* field : fields) {
    switch (astro::scan_int(in, *field)) {
      case astro::ScanStatus::kOk:
        break;
      case astro::ScanStatus::kNotNumber:
        throw astro::RunError(std::string(which) +
                              ": the answer is not five integers (year month day hour minute)");
      case astro::ScanStatus::kEnd:
        throw astro::RunError(std::string(which) +
                              ": the input ended before five integers (year month day hour minute)");
    }
  }
  return t;
}

float decimal_hour(int hour, int minute) {
  return astro::whole_and_minutes(hour, minute, astro::MinuteStep::kDividedBySixty);
}

TableTime table_time(const TypedTime& typed) {
  TableTime t;
  t.mjd = astro::calendar_to_mjd(static_cast<float>(typed.year), static_cast<float>(typed.month),
                                 static_cast<float>(typed.day),
                                 decimal_hour(typed.hour, typed.minute));
  return t;
}

}  // namespace phaselist
