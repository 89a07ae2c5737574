#pragma once
/// Reading an option's value and refusing a bad one, shared by the option texts of formats/.

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <system_error>

#include <fmt/format.h>

#include "io/cli.h"
#include "io/message_text.h"

namespace formats {

/// A finite number with nothing before or after it (a leading '+' allowed), rounded
/// straight from the decimal to `Number` (float or double).
template <typename Number>
std::optional<Number> parse_option_number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  Number value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

/// Throws the usage fault "--NAME=VALUE: WANTED" of a bad value of `option`, the value
/// quoted with its bytes escaped.
[[noreturn]] inline void refuse_option_value(const io::OptionSpec& option, std::string_view value,
                                             std::string_view wanted) {
  throw io::UsageError(
      fmt::format("--{}={}: {}", option.name, io::escape_for_message(value), wanted));
}

}  // namespace formats
