#include "temporary_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <csignal>
#include <string_view>

#include <fmt/format.h>

namespace io {
namespace {

constexpr std::string_view kMarker = ".tmp-";
/// The random part mkstemp fills in.
constexpr std::size_t kRandomChars = 6;
/// The longest file name where the folder cannot tell (the common limit of Linux).
constexpr long kDefaultNameMax = 255;

long longest_name(const std::string& folder) {
  const long most = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return most > 0 ? most : kDefaultNameMax;
}

/// The name of the temporary file for `file_name`: ".NAME.tmp-PID-XXXXXX", the NAME
/// part cut so that the whole fits `name_max` bytes.
std::string temporary_name(std::string_view file_name, long pid, long name_max) {
  const std::string tail = fmt::format("{}{}-{}", kMarker, pid, std::string(kRandomChars, 'X'));
  const std::size_t most = static_cast<std::size_t>(name_max);
  const std::size_t room = most > tail.size() + 2 ? most - 1 - tail.size() : 1;
  if (file_name.size() > room) file_name = file_name.substr(0, room);
  return fmt::format(".{}{}", file_name, tail);
}

/// The process that made `entry` if it is a temporary file of the output `file_name`
/// (also one whose NAME part was cut to `name_max`); 0 when it is not one.
long maker_of(std::string_view entry, std::string_view file_name, long name_max) {
  if (entry.size() < 1 + kMarker.size() + 2 + kRandomChars || entry.front() != '.') return 0;
  const std::size_t marker = entry.rfind(kMarker);
  if (marker == std::string_view::npos || marker < 2) return 0;
  const std::string_view name = entry.substr(1, marker - 1);
  const bool whole = name == file_name;
  const bool cut = static_cast<long>(entry.size()) == name_max && file_name.starts_with(name);
  if (!whole && !cut) return 0;
  const std::string_view rest = entry.substr(marker + kMarker.size());
  if (rest.size() < kRandomChars + 2 || rest[rest.size() - kRandomChars - 1] != '-') return 0;
  const std::string_view digits = rest.substr(0, rest.size() - kRandomChars - 1);
  long pid = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
  if (error != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
  return pid;
}

}  // namespace

std::string temporary_template(const std::string& folder, const std::string& file_name, long pid) {
  const std::string name = temporary_name(file_name, pid, longest_name(folder));
  return folder.empty() ? name : folder + "/" + name;
}

void remove_stale_temporaries(const std::string& folder, const std::string& file_name) {
  const long name_max = longest_name(folder);
  DIR* const listing = ::opendir(folder.empty() ? "." : folder.c_str());
  if (listing == nullptr) return;
  const long self = ::getpid();
  while (const dirent* entry = ::readdir(listing)) {
    const long pid = maker_of(entry->d_name, file_name, name_max);
    if (pid == 0 || pid == self) continue;
    // ESRCH alone says the process is gone; EPERM is a process of another user.
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(listing), entry->d_name, 0);
  }
  ::closedir(listing);
}

}  // namespace io
