#include "dialogue.h"

#include <string>

#include "astro/console.h"
#include "astro/numeric.h"
#include "astro/text_files.h"

namespace eclfore {
namespace {

/// The message for an answer that could not be read; quotes what was typed.
[[noreturn]] void answer_failed(std::FILE* in, astro::ScanStatus status,
                                std::string_view answer_name) {
  const std::string name(answer_name);
  if (status == astro::ScanStatus::kEnd) {
    throw astro::RunError(name + ": the input ended before an answer");
  }
  const std::string typed = astro::unread_word(in);
  // The scan may have consumed the whole answer (an integer too large for an int, a
  // lone sign): nothing is left to quote.
  if (typed.empty()) throw astro::RunError(name + ": the answer is not a usable number");
  throw astro::RunError(name + ": \"" + typed + "\" is not a number");
}

/// Prompts, then reads with `scan`; any answer but a number ends the run.
template <typename T>
T ask(std::FILE* in, std::string_view question, std::string_view answer_name,
      astro::ScanStatus (*scan)(std::FILE*, T&)) {
  astro::prompt(question);
  T value{};
  const astro::ScanStatus status = scan(in, value);
  if (status != astro::ScanStatus::kOk) answer_failed(in, status, answer_name);
  return value;
}

}  // namespace

int ask_int(std::FILE* in, std::string_view question, std::string_view answer_name) {
  return ask(in, question, answer_name, astro::scan_int);
}

float ask_float(std::FILE* in, std::string_view question, std::string_view answer_name) {
  return ask(in, question, answer_name, astro::scan_float);
}

ObservingSite ask_site(std::FILE* in) {
  while (true) {
    astro::prompt(kSiteMenu);
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
