/// Fuzz target: the programs' readers of typed answers, the bytes taken as standard
/// input of each dialogue: eclfore (year, month, lowest altitude, site menu,
/// condition number), datesel (day after day) and phaselist (two times of five
/// integers).
///
/// Invariants:
/// - a dialogue ends in its answers or in RunError, never in another exception, and
///   never asks again on the same input: every question consumes input or ends the
///   run, so a dialogue of n bytes asks at most n + 1 questions of one kind;
/// - the condition number is one of those listed; datesel never hands on its
///   end-of-run day 99;
/// - a year handed on fits four columns (-999 to 9999); a site handed on has a
///   latitude from -90 to 90 and a finite longitude.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "day_answer.h"
#include "dialogue.h"
#include "fuzz_support.h"
#include "io/text_files.h"
#include "times.h"

namespace {

/// Conditions listed before the condition-number question.
constexpr int kListedConditions = 3;

void eclfore_dialogue(std::FILE* in) {
  try {
    const int year = eclfore::ask_year(in, "data.dat");
    FUZZ_CHECK(year >= -999 && year <= 9999);
    eclfore::ask_int(in, "month = ", "month");
    eclfore::ask_float(in, "how many minimun degrees = ", "lowest altitude");
    const eclfore::ObservingSite site = eclfore::ask_site(in);
    FUZZ_CHECK(std::isfinite(site.longitude_deg) && std::fabs(site.latitude_deg) <= 90.0f);
    const int number = eclfore::ask_condition_no(in, kListedConditions);
    FUZZ_CHECK(number >= 0 && number < kListedConditions);
  } catch (const io::RunError&) {
  }
}

void datesel_dialogue(std::FILE* in, std::size_t size) {
  try {
    for (std::size_t asked = 0;; ++asked) {
      FUZZ_CHECK(asked <= size + 1);
      const std::optional<int> day = datesel::read_day(in);
      if (!day) break;
      FUZZ_CHECK(*day != datesel::kEndDay);
    }
  } catch (const io::RunError&) {
  }
}

void phaselist_dialogue(std::FILE* in) {
  try {
    for (const char* which : {"start date & time", "stop date & time"}) {
      const phaselist::TypedTime typed = phaselist::read_typed_time(in, which);
      phaselist::refuse_year_beyond_title(typed, which, "isou.txt");
      FUZZ_CHECK(typed.year >= -999 && typed.year <= 9999);
    }
  } catch (const io::RunError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(fuzz::as_text(data, size));
  if (const fuzz::Stream in = fuzz::open_stream(bytes)) eclfore_dialogue(in.get());
  if (const fuzz::Stream in = fuzz::open_stream(bytes)) datesel_dialogue(in.get(), size);
  if (const fuzz::Stream in = fuzz::open_stream(bytes)) phaselist_dialogue(in.get());
  return 0;
}
