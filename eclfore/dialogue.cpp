#include "dialogue.h"

#include <cmath>
#include <string>

#include "astro/numeric.h"
#include "formats/layouts.h"
#include "io/answers.h"
#include "io/console.h"
#include "io/run_error.h"

namespace eclfore {
namespace {

static_assert(astro::kPoleLatitudeDeg == 90.0f, "the line below names the poles' latitude");
constexpr std::string_view kLatitudeBeyondPoles = "latitude must be from -90 to 90\n";
constexpr std::string_view kLongitudeNotFinite = "longitude must be a finite number\n";

/// True when the typed site is a place on the Earth; else prints a line for each value
/// that is not. A longitude needs only be finite: the sidereal time wraps it.
bool is_usable_typed_site(const ObservingSite& site) {
  const bool longitude_ok = std::isfinite(site.longitude_deg);
  const bool latitude_ok = std::fabs(site.latitude_deg) <= astro::kPoleLatitudeDeg;
  if (!longitude_ok) io::print_text(kLongitudeNotFinite);
  if (!latitude_ok) io::print_text(kLatitudeBeyondPoles);
  return longitude_ok && latitude_ok;
}

}  // namespace

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
      // Both are asked before either is judged, so that asking again never takes the
      // latitude typed for this site as the next answer.
      if (is_usable_typed_site(site)) return site;
      continue;
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
