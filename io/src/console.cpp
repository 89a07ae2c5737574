#include "io/console.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>

#include "io/run_error.h"

namespace io {

void print_text(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void prompt(std::string_view text) {
  print_text(text);
  std::fflush(stdout);
}

void print_error_text(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); }

ScanStatus scan_int(std::FILE* in, int& value) {
  std::string consumed;
  return scan_int(in, value, consumed);
}

ScanStatus scan_int(std::FILE* in, int& value, std::string& consumed) {
  int c = std::getc(in);
  while (c != EOF && std::isspace(c)) c = std::getc(in);
  if (c == EOF) check_input_error(in);
  if (c == EOF) return ScanStatus::kEnd;
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    consumed.push_back(static_cast<char>(c));
    c = std::getc(in);
  }
  if (c == EOF) check_input_error(in);
  if (c == EOF || !std::isdigit(c)) {
    if (c != EOF) std::ungetc(c, in);
    return c == EOF ? ScanStatus::kEnd : ScanStatus::kNotNumber;
  }
  long long magnitude = 0;
  bool overflow = false;
  while (c != EOF && std::isdigit(c)) {
    if (consumed.size() < kQuotedWordChars) consumed.push_back(static_cast<char>(c));
    if (!overflow) {
      magnitude = magnitude * 10 + (c - '0');
      if (magnitude > static_cast<long long>(INT_MAX) + 1) overflow = true;
    }
    c = std::getc(in);
  }
  if (c != EOF) std::ungetc(c, in);
  const long long signed_value = negative ? -magnitude : magnitude;
  if (overflow || signed_value > INT_MAX || signed_value < INT_MIN) {
    return ScanStatus::kNotNumber;
  }
  value = static_cast<int>(signed_value);
  return ScanStatus::kOk;
}

ScanStatus scan_float(std::FILE* in, float& value) {
  // The width is kMaxNumberChars; %n gives where the number began and ended.
  static_assert(kMaxNumberChars == 4096, "the width in the scan format");
  int start = 0;
  int end = 0;
  const int n = std::fscanf(in, " %n%4096f%n", &start, &value, &end);
  if (n == 1) {
    if (end - start >= kMaxNumberChars) {
      int c = std::getc(in);
      while (c != EOF && std::isdigit(c)) c = std::getc(in);
      if (c == EOF) check_input_error(in);
      if (c != EOF) std::ungetc(c, in);
    }
    return ScanStatus::kOk;
  }
  if (n == EOF) check_input_error(in);
  return n == EOF ? ScanStatus::kEnd : ScanStatus::kNotNumber;
}

}  // namespace io

namespace io {

void check_input_error(std::FILE* in) {
  if (std::ferror(in) == 0) return;
  const int error = errno;
  throw RunError(std::string("cannot read ") + (in == stdin ? "standard input" : "the input") +
                 ": " + (error != 0 ? std::strerror(error) : "read error"));
}

void check_console_output() {
  errno = 0;
  if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0) return;
  const int error = errno;
  throw RunError(std::string("cannot write to standard output: ") +
                 (error != 0 ? std::strerror(error) : "write error"));
}

std::string unread_word(std::FILE* in) {
  std::string word;
  int c = std::getc(in);
  while (c != EOF && !std::isspace(c) && word.size() < kQuotedWordChars) {
    word.push_back(static_cast<char>(c));
    c = std::getc(in);
  }
  return word;
}

}  // namespace io
