#include "astro/text_files.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <utility>

#include "astro/constants.h"
#include "astro/fixed_format.h"

namespace astro {
namespace {

constexpr std::size_t kReadChunkBytes = 1 << 16;
/// Output is collected and handed to the C library in blocks of this size.
constexpr std::size_t kWriteBlockBytes = 1 << 16;

std::string reason(int error) { return std::strerror(error); }

/// Appends text without its carriage returns, wherever they stand; memchr finds
/// them far faster than a byte loop.
void append_without_cr(std::string& line, const char* text, std::size_t length) {
  while (length > 0) {
    const auto* cr = static_cast<const char*>(std::memchr(text, '\r', length));
    const std::size_t kept = cr == nullptr ? length : static_cast<std::size_t>(cr - text);
    line.append(text, kept);
    if (cr == nullptr) return;
    text += kept + 1;
    length -= kept + 1;
  }
}

}  // namespace

LineReader::LineReader(const std::string& path, NotOpened) : path_(path) {}

LineReader::LineReader(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    throw RunError("cannot open " + path + ": " + reason(errno));
  }
  buffer_.resize(kReadChunkBytes);
}

LineReader LineReader::open_if_exists(const std::string& path) {
  errno = 0;
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) {
    if (errno == ENOENT) return LineReader(path, NotOpened{});
    throw RunError("cannot open " + path + ": " + reason(errno));
  }
  std::fclose(probe);
  return LineReader(path);
}

LineReader::LineReader(LineReader&& other) noexcept
    : path_(std::move(other.path_)),
      file_(std::exchange(other.file_, nullptr)),
      buffer_(std::move(other.buffer_)),
      pos_(other.pos_),
      end_(other.end_),
      finished_(other.finished_),
      line_number_(other.line_number_) {}

LineReader::~LineReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool LineReader::fill() {
  if (finished_ || file_ == nullptr) return false;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  pos_ = 0;
  if (end_ == 0) {
    if (std::ferror(file_)) {
      const int error = errno;
      throw RunError("cannot read " + path_ + ": " + reason(error));
    }
    finished_ = true;
    return false;
  }
  return true;
}

bool LineReader::next(std::string& line) {
  line.clear();
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
      append_without_cr(line, begin, z);
      any = any || z > 0;
      finished_ = true;
      pos_ = end_ = 0;
      break;
    }
    append_without_cr(line, begin, stop);
    any = true;
    if (stop < available) {
      pos_ += stop + 1;
      break;
    }
    pos_ = end_;
  }
  if (!any && line.empty()) return false;
  ++line_number_;
  return true;
}

OutputFile::OutputFile(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    throw RunError("cannot create " + path + ": " + reason(errno));
  }
  block_.resize(kWriteBlockBytes);
}

OutputFile::~OutputFile() {
  if (file_ != nullptr) {
    if (used_ > 0) std::fwrite(block_.data(), 1, used_, file_);
    std::fclose(file_);
  }
}

void OutputFile::fail(const char* what) {
  const int error = errno;
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  throw RunError(std::string(what) + " " + path_ + ": " + reason(error));
}

void OutputFile::fail_closed() const { throw RunError("write to closed file " + path_); }

void OutputFile::flush_block() {
  if (used_ > 0 && std::fwrite(block_.data(), 1, used_, file_) != used_) fail("cannot write");
  used_ = 0;
}

void OutputFile::put_across_blocks(const char* text, std::size_t length) {
  while (length > block_.size() - used_) {
    const std::size_t part = block_.size() - used_;
    std::memcpy(block_.data() + used_, text, part);
    used_ += part;
    text += part;
    length -= part;
    flush_block();
  }
  std::memcpy(block_.data() + used_, text, length);
  used_ += length;
}

void OutputFile::put_blanks_across_blocks(std::size_t count) {
  while (count > block_.size() - used_) {
    const std::size_t part = block_.size() - used_;
    std::memset(block_.data() + used_, ' ', part);
    used_ += part;
    count -= part;
    flush_block();
  }
  std::memset(block_.data() + used_, ' ', count);
  used_ += count;
}

void OutputFile::write(std::string_view text) {
  check_open();
  // Copied a line at a time: memchr finds the line ends far faster than a byte loop.
  while (!text.empty()) {
    const auto* newline = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    if (newline == nullptr) {
      put(text.data(), text.size());
      return;
    }
    const auto before = static_cast<std::size_t>(newline - text.data());
    put(text.data(), before);
    end_line();
    text.remove_prefix(before + 1);
  }
}

void OutputFile::write_fixed(double value, int width, int precision) {
  check_open();
  NumberText text;
  const std::size_t length = format_fixed(text, value, precision);
  put_blanks(field_padding(width, length));
  put(text.data(), length);
}

void OutputFile::write_int(int value, int width) {
  check_open();
  NumberText text;
  const std::size_t length = format_int(text, value);
  put_blanks(field_padding(width, length));
  put(text.data(), length);
}

void OutputFile::print(const char* format, ...) {
  char small[512];
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) {
    va_end(again);
    throw RunError("cannot format output for " + path_);
  }
  if (static_cast<std::size_t>(n) < sizeof small) {
    va_end(again);
    write(std::string_view(small, static_cast<std::size_t>(n)));
    return;
  }
  std::string large(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(large.data(), large.size(), format, again);
  va_end(again);
  large.resize(static_cast<std::size_t>(n));
  write(large);
}

void OutputFile::close() {
  if (file_ == nullptr) return;
  flush_block();
  if (std::fflush(file_) != 0) fail("cannot write");
  std::FILE* f = std::exchange(file_, nullptr);
  if (std::fclose(f) != 0) {
    const int error = errno;
    throw RunError("cannot close " + path_ + ": " + reason(error));
  }
}

void warn_line(const std::string& path, long line_number, std::string_view what) {
  std::fprintf(stderr, "warning: %s:%ld: %.*s\n", path.c_str(), line_number,
               static_cast<int>(what.size()), what.data());
}

void warn_file(const std::string& path, std::string_view what) {
  std::fprintf(stderr, "warning: %s: %.*s\n", path.c_str(), static_cast<int>(what.size()),
               what.data());
}

}  // namespace astro
