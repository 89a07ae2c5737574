#include "day_answer.h"

#include <cctype>
#include <string>

#include "astro/console.h"
#include "astro/text_files.h"

namespace datesel {

std::optional<int> read_day(std::FILE* in) {
  int day = 0;
  switch (astro::scan_int(in, day)) {
    case astro::ScanStatus::kEnd:
      return std::nullopt;
    case astro::ScanStatus::kNotNumber: {
      const std::string word = astro::unread_word(in);
      if (word.empty()) throw astro::RunError("day typed is out of the integer range");
      throw astro::RunError("day \"" + word + "\" is not a whole number");
    }
    case astro::ScanStatus::kOk:
      break;
  }
  if (day == kEndDay) return std::nullopt;
  return day;
}

}  // namespace datesel
