/// Fuzz target: nightmark's recent-observation list, the bytes taken as
/// recent_obs.txt, and the ShortName look-up in it.
///
/// Invariants:
/// - the list holds one entry per line up to its capacity (2000), in file order, and
///   no more; entry k is the leading run of line k of codes 20 to 127, cut at 20;
/// - every non-empty entry finds itself and each of its non-empty prefixes; an empty
///   name, a name longer than 20 characters and a name holding a byte outside
///   20 to 127 are never found;
/// - the ShortName of a listed line is found in the list when all its bytes can be
///   listed: a star observed lately is marked.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "mark_lines.h"
#include "recent_observations.h"

namespace {

using nightmark::kRecentCapacityEntries;
using nightmark::kRecentEntryMaxChars;

constexpr std::size_t kLookedUpEntries = 16;

bool entry_byte(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 20 && code <= 127;
}

std::string_view entry_text(const nightmark::RecentEntry& entry) {
  return {entry.chars.data(), entry.length};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  // The list is some 40 KB: static, as the program keeps it, not on the stack.
  static nightmark::RecentObservationList list;
  list = nightmark::load_recent_observations(fuzz::input_file().hold(bytes));

  std::vector<std::string> lines;
  fuzz::for_each_line(bytes, [&lines](std::string_view line) { lines.emplace_back(line); });
  const std::size_t kept = std::min<std::size_t>(lines.size(), kRecentCapacityEntries);
  FUZZ_CHECK(list.count >= 0 && static_cast<std::size_t>(list.count) == kept);

  for (std::size_t k = 0; k < kept; ++k) {
    const std::string_view entry = entry_text(list.entries[k]);
    // Look-ups scan the whole list: only the first and the last few entries are
    // looked up, or a full list would cost millions of comparisons per input.
    const bool looked_up = k < kLookedUpEntries || k + kLookedUpEntries >= kept;
    FUZZ_CHECK(entry.size() <= kRecentEntryMaxChars);
    FUZZ_CHECK(std::all_of(entry.begin(), entry.end(), entry_byte));
    FUZZ_CHECK(std::string_view(lines[k]).starts_with(entry));
    const bool cut = entry.size() == kRecentEntryMaxChars;
    FUZZ_CHECK(cut || entry.size() == lines[k].size() || !entry_byte(lines[k][entry.size()]));
    for (std::size_t n = 1; looked_up && n <= entry.size(); ++n) {
      FUZZ_CHECK(nightmark::is_recently_observed(list, entry.substr(0, n)));
    }
  }

  FUZZ_CHECK(!nightmark::is_recently_observed(list, ""));
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (k >= kLookedUpEntries && k + kLookedUpEntries < lines.size()) continue;
    const std::string name = nightmark::short_name(lines[k]);
    const bool found = nightmark::is_recently_observed(list, name);
    const bool listable = std::all_of(name.begin(), name.end(), entry_byte);
    if (!listable) FUZZ_CHECK(!found);
    // A star whose line stands in the list itself is found by its ShortName.
    if (k < kept && listable && !name.empty()) FUZZ_CHECK(found);
    if (lines[k].size() > kRecentEntryMaxChars) {
      const std::string_view line(lines[k]);
      FUZZ_CHECK(!nightmark::is_recently_observed(list, line.substr(0, kRecentEntryMaxChars + 1)));
    }
  }
  return 0;
}
