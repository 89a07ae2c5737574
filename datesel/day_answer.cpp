#include "day_answer.h"

#include <string>

#include "formats/answer_options.h"
#include "io/answers.h"

namespace datesel {

std::optional<int> read_day(std::FILE* in) {
  const std::optional<int> day = io::read_whole_number_or_end(in, "day");
  if (day == kEndDay) return std::nullopt;
  return day;
}

std::vector<int> day_options(const io::Options& options) {
  // The days a daily title's day field can stand for in a month.
  constexpr int kFirstDay = 1;
  constexpr int kLastDay = 31;
  std::vector<int> days;
  for (const std::string& text : options.values(kDayOption.name)) {
    days.push_back(formats::whole_number_option(kDayOption, text, kFirstDay, kLastDay));
  }
  return days;
}

}  // namespace datesel
