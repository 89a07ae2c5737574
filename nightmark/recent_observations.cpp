#include "recent_observations.h"

#include <algorithm>

#include <fmt/format.h>

#include "io/text_files.h"

namespace nightmark {
namespace {

/// Character codes that belong to an entry, inclusive.
constexpr unsigned kEntryLowestCode = 20;
constexpr unsigned kEntryHighestCode = 127;

}  // namespace

std::string_view recent_entry_of(std::string_view line) {
  std::size_t n = 0;
  while (n < line.size() && n < kRecentEntryMaxChars) {
    const unsigned code = static_cast<unsigned char>(line[n]);
    if (code < kEntryLowestCode || code > kEntryHighestCode) break;
    ++n;
  }
  return line.substr(0, n);
}

RecentObservationList load_recent_observations(const std::string& path) {
  RecentObservationList list;
  io::LineReader reader = io::LineReader::open_if_exists(path);
  if (!reader.is_open()) return list;
  std::string line;
  while (reader.next(line)) {
    if (list.count == kRecentCapacityEntries) {
      io::warn_line(path, reader.line_number(),
                    fmt::format("more than {} names; this line and all after it are ignored",
                                kRecentCapacityEntries));
      break;
    }
    const std::string_view entry = recent_entry_of(line);
    RecentEntry& slot = list.entries[static_cast<std::size_t>(list.count)];
    std::copy(entry.begin(), entry.end(), slot.chars.begin());
    slot.length = static_cast<std::uint8_t>(entry.size());
    ++list.count;
  }
  return list;
}

bool is_recently_observed(const RecentObservationList& list, std::string_view short_name) {
  if (short_name.empty() || short_name.size() > kRecentEntryMaxChars) return false;
  for (int i = 0; i < list.count; ++i) {
    const RecentEntry& entry = list.entries[static_cast<std::size_t>(i)];
    const std::string_view text(entry.chars.data(), entry.length);
    if (text.starts_with(short_name)) return true;
  }
  return false;
}

}  // namespace nightmark
