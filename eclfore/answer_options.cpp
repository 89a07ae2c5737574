#include "answer_options.h"

#include <limits>

#include <fmt/format.h>

#include "astro/sites.h"
#include "formats/answer_options.h"
#include "formats/layouts.h"
#include "io/console.h"

namespace eclfore {
namespace {

constexpr int kFirstMonth = 1;
constexpr int kLastMonth = 12;

}  // namespace

bool is_calendar_month(int month) { return month >= kFirstMonth && month <= kLastMonth; }

GivenAnswers given_answers(const io::Options& options) {
  GivenAnswers given;
  if (const auto text = options.value(kYearOption.name)) {
    // The years the forecast's year field holds, as a typed year is checked.
    const formats::WholeNumberRange years =
        formats::whole_numbers_within(formats::forecast_line::kYear);
    given.year = formats::whole_number_option(kYearOption, *text, years.lowest, years.highest);
  }
  if (const auto text = options.value(kMonthOption.name)) {
    given.month = formats::whole_number_option(kMonthOption, *text, kFirstMonth, kLastMonth);
  }
  if (const auto text = options.value(kLowestOption.name)) {
    given.lowest_deg = formats::decimal_option(kLowestOption, *text, -astro::kPoleLatitudeDeg,
                                               astro::kPoleLatitudeDeg);
  }
  if (const auto text = options.value(kConditionOption.name)) {
    given.condition =
        formats::whole_number_option(kConditionOption, *text, 0, std::numeric_limits<int>::max());
  }
  return given;
}

void refuse_unlisted_condition(int number, int count, std::string_view condition_file) {
  if (number < count) return;
  throw io::UsageError(fmt::format("--{}={}: {} lists conditions 0 to {}", kConditionOption.name,
                                   number, condition_file, count - 1));
}

void warn_of_typed_month(int month) {
  if (is_calendar_month(month)) return;
  io::print_error_text(
      fmt::format("warning: month {} is not a month: nothing can be listed\n", month));
}

}  // namespace eclfore
