#include "day_answer.h"

#include <cctype>
#include <string>

#include "astro/console.h"
#include "astro/text_files.h"

namespace datesel {
namespace {

// Enough of a bad answer to recognise it in the message.
constexpr std::size_t kQuotedAnswerMaxChars = 40;

/// The rest of the word the scan stopped at, for the message.
std::string unread_word(std::FILE* in) {
  std::string word;
  int c = std::getc(in);
  while (c != EOF && !std::isspace(c) && word.size() < kQuotedAnswerMaxChars) {
    word.push_back(static_cast<char>(c));
    c = std::getc(in);
  }
  return word;
}

}  // namespace

std::optional<int> read_day(std::FILE* in) {
  int day = 0;
  switch (astro::scan_int(in, day)) {
    case astro::ScanStatus::kEnd:
      return std::nullopt;
    case astro::ScanStatus::kNotNumber: {
      const std::string word = unread_word(in);
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
