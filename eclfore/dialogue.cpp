#include "dialogue.h"

#include <string>

#include "io/answers.h"
#include "io/console.h"
#include "astro/numeric.h"
#include "formats/layouts.h"
#include "io/run_error.h"

namespace eclfore {
int ask_int(std::FILE* in, std::string_view question, std::string_view answer_name) {
  return io::ask_whole_number(in, question, answer_name);
}

float ask_float(std::FILE* in, std::string_view question, std::string_view answer_name) {
  return io::ask_decimal_number(in, question, answer_name);
}

int ask_year(std::FILE* in, std::string_view forecast_file) {
  const int year = ask_int(in, "year  = ", "year");
  if (auto misfit = formats::beyond_field("year", year, formats::forecast_line::kYear,
                                          "the year in " + std::string(forecast_file))) {
    throw io::RunError(*misfit);
  }
  return year;
}

ObservingSite ask_site(std::FILE* in) {
  while (true) {
    io::prompt(kSiteMenu);
    const float answer = ask_float(in, "no = ", "site number");
    if (answer == kNumericSiteAnswer) {
      ObservingSite site;
      site.longitude_deg = ask_float(in, "longitude(degree)= ", "longitude");
      site.latitude_deg = ask_float(in, "latitude(degree)= ", "latitude");
      return site;
    }
    if (const auto site = site_for_menu_number(astro::trunc_to_int(answer))) return *site;
  }
}

int ask_condition_no(std::FILE* in, int count) {
  while (true) {
    const int number = ask_int(in, "\nNo = ", "condition number");
    if (number >= 0 && number < count) return number;
  }
}

}  // namespace eclfore
