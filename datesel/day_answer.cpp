#include "day_answer.h"

#include "io/answers.h"

namespace datesel {

std::optional<int> read_day(std::FILE* in) {
  const std::optional<int> day = io::read_whole_number_or_end(in, "day");
  if (day == kEndDay) return std::nullopt;
  return day;
}

}  // namespace datesel
