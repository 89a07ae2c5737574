#pragma once
/// The recent-observation list: names of stars observed lately, from recent_obs.txt.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace nightmark {

/// Entries kept; lines after this many are ignored.
inline constexpr int kRecentCapacityEntries = 2000;
/// Characters kept of an entry; a longer entry is cut here.
inline constexpr std::size_t kRecentEntryMaxChars = 20;

/// One entry: its characters stand in chars[0, length).
struct RecentEntry {
  std::array<char, kRecentEntryMaxChars> chars{};
  std::uint8_t length = 0;
};

/// The list in file order, in fixed storage (nothing allocated per entry).
struct RecentObservationList {
  std::array<RecentEntry, kRecentCapacityEntries> entries{};
  int count = 0;  ///< entries read, 0 to kRecentCapacityEntries
};

/// The entry a line of recent_obs.txt gives: its leading run of characters whose
/// codes lie in 20..127 (a tab, another control byte or a byte of 128 or more ends
/// it), cut at kRecentEntryMaxChars. An empty line gives an empty entry.
std::string_view recent_entry_of(std::string_view line);

/// Loads `path`. A missing file gives an empty list; lines after the
/// kRecentCapacityEntries-th are ignored with one warning on standard error.
/// Throws io::RunError when the file exists but cannot be read.
RecentObservationList load_recent_observations(const std::string& path);

/// True when some entry begins with `short_name` (case sensitive, nothing trimmed).
/// An empty name is never found; a name longer than kRecentEntryMaxChars never is
/// either, as no entry holds more.
bool is_recently_observed(const RecentObservationList& list, std::string_view short_name);

}  // namespace nightmark
