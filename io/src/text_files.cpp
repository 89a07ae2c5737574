#include "io/text_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include <fmt/format.h>

#include "io/console.h"
#include "io/message_text.h"

namespace io {
namespace {

constexpr std::size_t kReadChunkBytes = 1 << 16;

std::string reason(int error) { return std::strerror(error); }

/// The kind of a file that is not a regular file, for a message.
const char* kind_of_file(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a plain file";
}

/// The UTF-8 byte-order mark that editors on Windows put at the start of a text file.
constexpr std::string_view kUtf8Bom = "\xef\xbb\xbf";

/// Line warnings printed for one reading of an input file; the rest are counted.
constexpr long kMaxWarningsPerFile = 100;

struct WarningCount {
  long printed = 0;
  long withheld = 0;
};

/// The warning counts of the input files being read, by file name. A reader starts
/// its file's count and prints what was withheld when it is done.
std::map<std::string, WarningCount>& warning_counts() {
  static std::map<std::string, WarningCount> counts;
  return counts;
}

void start_warning_count(const std::string& path) { warning_counts()[path] = {}; }

void finish_warning_count(const std::string& path) {
  auto& counts = warning_counts();
  const auto it = counts.find(path);
  if (it == counts.end()) return;
  if (it->second.withheld > 0) {
    print_error_text(
        fmt::format("warning: {}: {} more lines skipped; their warnings are not shown\n",
                    escape_for_message(path), it->second.withheld));
  }
  counts.erase(it);
}

}  // namespace

InputStream open_input_file(const std::string& path, bool missing_is_empty) {
  // Without O_NONBLOCK the open of a FIFO would wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT && missing_is_empty) return nullptr;
    throw RunError("cannot open " + escape_for_message(path) + ": " + reason(error));
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    const int error = errno;
    const bool stat_failed = status.st_mode == 0;
    ::close(fd);
    if (stat_failed)
      throw RunError("cannot read " + escape_for_message(path) + ": " + reason(error));
    if (S_ISDIR(status.st_mode))
      throw RunError("cannot read " + escape_for_message(path) + ": " + reason(EISDIR));
    throw RunError("cannot read " + escape_for_message(path) + ": not a regular file (" +
                   kind_of_file(status.st_mode) + ")");
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  InputStream file(::fdopen(fd, "rb"));
  if (!file) {
    const int error = errno;
    ::close(fd);
    throw RunError("cannot open " + escape_for_message(path) + ": " + reason(error));
  }
  char start[kUtf8Bom.size()];
  if (std::fread(start, 1, sizeof start, file.get()) != sizeof start ||
      std::string_view(start, sizeof start) != kUtf8Bom) {
    std::clearerr(file.get());
    std::rewind(file.get());
  }
  return file;
}

LineReader::LineReader(const std::string& path, InputStream file)
    : path_(path), file_(std::move(file)) {
  if (file_) buffer_.resize(kReadChunkBytes);
  start_warning_count(path_);
}

LineReader::LineReader(const std::string& path) : LineReader(path, open_input_file(path)) {}

LineReader LineReader::open_if_exists(const std::string& path) {
  return LineReader(path, open_input_file(path, true));
}

LineReader::LineReader(LineReader&& other) noexcept
    : path_(std::move(other.path_)),
      file_(std::move(other.file_)),
      buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      end_(other.end_),
      finished_(other.finished_),
      line_was_cut_(other.line_was_cut_),
      dropped_nul_(other.dropped_nul_),
      line_number_(other.line_number_),
      owns_warnings_(std::exchange(other.owns_warnings_, false)) {}

LineReader::~LineReader() {
  if (owns_warnings_) finish_warning_count(path_);
}

bool LineReader::fill() {
  if (finished_ || !file_) return false;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  pos_ = 0;
  if (end_ == 0) {
    if (std::ferror(file_.get())) {
      const int error = errno;
      throw RunError("cannot read " + escape_for_message(path_) + ": " + reason(error));
    }
    finished_ = true;
    return false;
  }
  return true;
}

void LineReader::keep(std::string& line, const char* text, std::size_t length) {
  while (length > 0) {
    const std::size_t room = kMaxKeptLineBytes - line.size();
    if (room == 0) {
      // The dropped part is searched for a NUL at memchr's speed, not kept.
      if (!line_was_cut_) {
        line_was_cut_ = std::any_of(text, text + length, [](char c) { return c != '\r'; });
      }
      if (!dropped_nul_) dropped_nul_ = std::memchr(text, '\0', length) != nullptr;
      return;
    }
    // memchr finds the CRs far faster than a byte loop.
    const auto* cr = static_cast<const char*>(std::memchr(text, '\r', std::min(length, room)));
    const std::size_t kept =
        cr == nullptr ? std::min(length, room) : static_cast<std::size_t>(cr - text);
    line.append(text, kept);
    const std::size_t used = cr == nullptr ? kept : kept + 1;
    text += used;
    length -= used;
  }
}

bool LineReader::next(std::string& line) {
  line.clear();
  line_was_cut_ = false;
  dropped_nul_ = false;
  bool any = false;
  while (true) {
    if (pos_ == end_ && !fill()) break;
    const char* begin = buffer_.data() + pos_;
    const std::size_t available = end_ - pos_;
    const void* newline = std::memchr(begin, '\n', available);
    std::size_t stop = available;
    if (newline) stop = static_cast<std::size_t>(static_cast<const char*>(newline) - begin);
    // Only this line is searched: a search to the end of the block for every line
    // would cost a block's length per line.
    const void* ctrl_z = std::memchr(begin, kCtrlZ, stop);
    if (ctrl_z) {
      const auto z = static_cast<std::size_t>(static_cast<const char*>(ctrl_z) - begin);
      keep(line, begin, z);
      any = any || z > 0;
      finished_ = true;
      pos_ = end_ = 0;
      break;
    }
    keep(line, begin, stop);
    any = true;
    if (stop < available) {
      pos_ += stop + 1;
      break;
    }
    pos_ = end_;
  }
  if (!any && line.empty()) return false;
  if (dropped_nul_) line.back() = '\0';
  ++line_number_;
  return true;
}

void warn_line(const std::string& path, long line_number, std::string_view what) {
  WarningCount& count = warning_counts()[path];
  if (count.printed == kMaxWarningsPerFile) {
    ++count.withheld;
    return;
  }
  ++count.printed;
  print_error_text(fmt::format("warning: {}:{}: {}\n", escape_for_message(path), line_number,
                               escape_for_message(what)));
}

void finish_warnings(const std::string& path) { finish_warning_count(path); }

void warn_file(const std::string& path, std::string_view what) {
  print_error_text(
      fmt::format("warning: {}: {}\n", escape_for_message(path), escape_for_message(what)));
}

}  // namespace io
