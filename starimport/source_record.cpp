#include "source_record.h"

namespace starimport {

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

MagnitudeEntry parse_magnitude_text(std::string_view text) {
  MagnitudeEntry entry;
  std::string_view rest = trim(text);
  if (rest.empty()) return entry;
  const std::string whole(rest);
  if (rest.front() == '<' || rest.front() == '>') {
    entry.limit = rest.front();
    rest = trim(rest.substr(1));
  }
  if (!rest.empty() && rest.front() == '(') {
    const std::size_t close = rest.find(')');
    if (close == std::string_view::npos) {
      entry.value = whole;
      return entry;
    }
    entry.amplitude = true;
    entry.value = std::string(trim(rest.substr(1, close - 1)));
    rest = rest.substr(close + 1);
  } else {
    const std::size_t end = rest.find_first_of(" \t");
    entry.value = std::string(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
  }
  // An uncertainty mark may stand on the number or after the closing parenthesis.
  while (!entry.value.empty() && entry.value.back() == ':') entry.value.pop_back();
  rest = trim(rest);
  while (!rest.empty() && rest.front() == ':') rest = trim(rest.substr(1));
  entry.passband = std::string(rest);
  if (entry.value.empty() || entry.passband.find_first_of(" \t") != std::string::npos) {
    entry = MagnitudeEntry{};
    entry.value = whole;
  }
  return entry;
}

}  // namespace starimport
