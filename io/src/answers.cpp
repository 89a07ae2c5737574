#include "io/answers.h"

#include <cstdio>
#include <string>

#include "io/console.h"
#include "io/message_text.h"
#include "io/run_error.h"

namespace io {
namespace {

/// The message of an answer that could not be read; `typed` is quoted, escaped.
std::string answer_problem(std::string_view answer_name, ScanStatus status, std::string_view typed,
                           std::string_view not_what) {
  std::string message(answer_name);
  message += ": ";
  if (status == ScanStatus::kEnd) return message + "the input ended before an answer";
  if (typed.empty()) return message + "the answer is not a number";
  return message + '"' + escape_for_message(typed) + "\" " + std::string(not_what);
}

/// What the quote of a failed whole number says: a run of digits (with its sign) that
/// the scan refused is too large, anything else is not a number.
std::string_view whole_number_problem(std::string_view consumed) {
  const std::size_t digits = consumed.find_first_of("0123456789");
  return digits == std::string_view::npos ? "is not a whole number"
                                          : "is beyond the range of whole numbers";
}

/// Reads one "%d" answer; nothing at the end of the input; `suffix` is added to every
/// message.
std::optional<int> whole_or_end(std::FILE* in, std::string_view answer_name,
                                std::string_view suffix, bool end_fails) {
  int value = 0;
  std::string consumed;
  const ScanStatus status = scan_int(in, value, consumed);
  if (status == ScanStatus::kOk) return value;
  if (status == ScanStatus::kEnd && !end_fails) return std::nullopt;
  // Quotes what the scan took (a sign, too many digits) and what stopped it.
  const std::string typed = consumed + unread_word(in);
  throw RunError(answer_problem(answer_name, status, typed, whole_number_problem(consumed)) +
                 std::string(suffix));
}

}  // namespace

int read_whole_number(std::FILE* in, std::string_view answer_name) {
  return *whole_or_end(in, answer_name, "", true);
}

std::optional<int> read_whole_number_or_end(std::FILE* in, std::string_view answer_name) {
  return whole_or_end(in, answer_name, "", false);
}

float read_decimal_number(std::FILE* in, std::string_view answer_name) {
  float value = 0;
  const ScanStatus status = scan_float(in, value);
  if (status == ScanStatus::kOk) return value;
  // The C library's scan may have taken the start of the answer (a lone sign, "1e")
  // before it failed: what is quoted is what it left.
  const std::string typed = status == ScanStatus::kEnd ? std::string() : unread_word(in);
  throw RunError(answer_problem(answer_name, status, typed, "is not a number"));
}

int ask_whole_number(std::FILE* in, std::string_view question, std::string_view answer_name) {
  prompt(question);
  return read_whole_number(in, answer_name);
}

float ask_decimal_number(std::FILE* in, std::string_view question, std::string_view answer_name) {
  prompt(question);
  return read_decimal_number(in, answer_name);
}

std::array<int, 5> read_five_whole_numbers(std::FILE* in, std::string_view answer_name,
                                           std::string_view parts) {
  const std::string suffix = " (five whole numbers: " + std::string(parts) + ")";
  std::array<int, 5> numbers{};
  for (int& number : numbers) number = *whole_or_end(in, answer_name, suffix, true);
  return numbers;
}

}  // namespace io
