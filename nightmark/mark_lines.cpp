#include "mark_lines.h"

#include <algorithm>

#include <fmt/format.h>

#include "formats/layouts.h"
#include "io/text.h"

namespace nightmark {
namespace {

/// The degree field's first place holds a "-" or a blank, the next two the tens
/// and units (a "-" stands in the tens place for -1 to -9).
namespace dl = formats::daily_list_line;
constexpr int kDecTensColumn = dl::kDecDeg.start + 1;

/// Prefix of ASAS survey names; the adf label leaves it out.
constexpr std::string_view kAsasPrefix = "ASAS";

char char_at(std::string_view line, int at) { return formats::extract_field(line, at, 1)[0]; }

/// The two places of a number from `at` as the line holds them, a blank tens place (or
/// a "-" where `minus_is_zero`) written as "0": the mark files want two digits.
std::string zero_filled_pair(std::string_view line, int at, bool minus_is_zero = false) {
  std::string digits = formats::extract_field(line, at, 2);
  if (digits[0] == ' ' || (minus_is_zero && digits[0] == '-')) digits[0] = '0';
  return digits;
}

/// The position pieces both mark files share: two-digit texts copied from the line.
struct MarkPosition {
  std::string ra_hour_digits, ra_minute_digits, dec_degree_digits, dec_minute_digits;
  char dec_sign = '+';
};

MarkPosition mark_position(std::string_view line) {
  MarkPosition p;
  p.ra_hour_digits = zero_filled_pair(line, dl::kRaH.start);
  p.ra_minute_digits = zero_filled_pair(line, dl::kRaM.start);
  p.dec_degree_digits = zero_filled_pair(line, kDecTensColumn, true);
  p.dec_minute_digits = zero_filled_pair(line, dl::kDecMin.start);
  const bool south =
      char_at(line, dl::kDecDeg.start) == '-' || char_at(line, kDecTensColumn) == '-';
  p.dec_sign = south ? '-' : '+';
  return p;
}

/// A double quote would end the label's quoted field early; an apostrophe reads alike.
std::string without_double_quotes(std::string text) {
  std::replace(text.begin(), text.end(), '"', '\'');
  return text;
}

/// "_Ctt": catalogue character and hour of the minimum, the end of every label.
std::string label_suffix(std::string_view line) {
  std::string suffix(1, '_');
  suffix += formats::extract_field(line, dl::kCatalogue.start, 1);
  suffix += formats::extract_field(line, dl::kTime.start, 2);
  return suffix;
}

/// The mark line as the file takes it, with its line end: the characters are copied
/// from a hand-kept list, so a control byte (a TAB too) or a byte that is not UTF-8
/// is written as '?', and the chart software reads one line of text.
std::string mark_file_line(std::string_view text) { return io::printable_utf8(text) + "\n"; }

}  // namespace

std::string short_name(std::string_view line) {
  const std::string name = formats::extract_field(line, dl::kName);
  return name.substr(0, name.find(' '));
}

std::string_view adf_label(std::string_view short_name) {
  if (short_name.starts_with(kAsasPrefix)) short_name.remove_prefix(kAsasPrefix.size());
  return short_name;
}

std::string adf_mark_line(std::string_view line, bool recently_observed) {
  const MarkPosition p = mark_position(line);
  const std::string name = short_name(line);
  // Mark style 4 for a star observed lately, 1 for the others.
  return mark_file_line(
      fmt::format("eqt {}{}.0,{}{}{}.0,mark 8,\"{}\",{}", p.ra_hour_digits, p.ra_minute_digits,
                  p.dec_sign, p.dec_degree_digits, p.dec_minute_digits,
                  without_double_quotes(std::string(adf_label(name)) + label_suffix(line)),
                  recently_observed ? 4 : 1));
}

std::string mrk_mark_line(std::string_view line) {
  const MarkPosition p = mark_position(line);
  return mark_file_line(fmt::format("{}.{}.00 {}{}.{} {}{}", p.ra_hour_digits, p.ra_minute_digits,
                                    p.dec_sign, p.dec_degree_digits, p.dec_minute_digits,
                                    short_name(line), label_suffix(line)));
}

}  // namespace nightmark
