#include "star_name.h"

#include <algorithm>
#include <cctype>

#include "field_conversions.h"
#include "io/text.h"

namespace starimport {
namespace {

/// The abbreviations of the Greek letters in designations: the GCVS's three letters
/// and the other common spellings.
constexpr std::string_view kGreekAbbreviations[] = {
    "alf", "alp", "bet", "gam", "del", "eps", "zet", "eta", "tet", "the",
    "iot", "kap", "lam", "mu",  "nu",  "ksi", "xi",  "omi", "pi",  "rho",
    "sig", "tau", "ups", "phi", "khi", "chi", "psi", "ome"};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// "V0772" gives "V772"; any other word is kept.
std::string without_v_number_zeros(std::string word) {
  if (word.size() < 2 || word[0] != 'V' || !std::all_of(word.begin() + 1, word.end(), is_digit)) {
    return word;
  }
  const std::size_t first = std::min(word.find_first_not_of('0', 1), word.size() - 1);
  return "V" + word.substr(first);
}

/// A Greek letter's abbreviation, in any case, with a component number after it or not,
/// in lower case; any other word is kept.
std::string greek_in_lower_case(std::string word) {
  std::size_t letters = 0;
  while (letters < word.size() && !is_digit(word[letters])) ++letters;
  const std::string_view abbreviation = std::string_view(word).substr(0, letters);
  const bool greek =
      std::any_of(std::begin(kGreekAbbreviations), std::end(kGreekAbbreviations),
                  [&](std::string_view g) { return io::same_ignoring_case(g, abbreviation); });
  if (!greek) return word;
  for (std::size_t k = 0; k < letters; ++k) {
    word[k] = static_cast<char>(std::tolower(static_cast<unsigned char>(word[k])));
  }
  return word;
}

}  // namespace

std::string star_name_key(std::string_view name) {
  const std::string collapsed = collapse_blanks(name);
  // Only the designation's first word is a V number or a Greek letter ("V0772 Cas",
  // "bet Per"); the words after it are the constellation or a catalogue's own text.
  const std::size_t blank = collapsed.find(' ');
  const std::string first = collapsed.substr(0, blank);
  const std::string rest = blank == std::string::npos ? "" : collapsed.substr(blank);
  return greek_in_lower_case(without_v_number_zeros(first)) + rest;
}

}  // namespace starimport
