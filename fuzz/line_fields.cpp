/// Fuzz target: the line reader, field extraction and the decimal conversion of a
/// field, the path by which every fixed-column file of the system is read.
///
/// Invariants:
/// - the reader gives exactly the lines of the bytes: input ends at the first Ctrl-Z,
///   lines end at LF, a last line without LF counts when it holds any byte, every CR
///   is dropped; no exception escapes (the file is readable), also when a line end or
///   Ctrl-Z falls on the reader's block boundary;
/// - a field has exactly the asked length (none for a length <= 0), holds the line's
///   bytes where the columns lie inside it and blanks elsewhere, at any start;
/// - parse_decimal agrees bit for bit with the C library's strtod except where its
///   narrower grammar refuses (hex reads 0; INF and NAN only in capitals directly
///   after a sign, other spellings read 0); so a result is finite, or an infinity
///   from a decimal number beyond double's range, or the signed INF/NAN written.

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/records.h"
#include "fuzz_support.h"
#include "io/text_files.h"

namespace {

/// Bytes of one read block of LineReader; the padded run puts the block end among
/// the fuzz bytes.
constexpr std::size_t kReaderBlockBytes = 1 << 16;
constexpr std::size_t kBoundaryOffsets = 64;
constexpr std::uint8_t kPaddedRunFirstByte = 0xC0;

/// Every column range the programs read (star.dat, data.dat/data.sot, daily list).
constexpr int kSystemFields[][2] = {
    {0, 20},  {20, 26}, {20, 13}, {33, 13}, {47, 2}, {50, 2},          {53, 2},     {57, 3},
    {61, 2},  {70, 2},  {73, 4},  {78, 4},  {88, 1}, {90, 4},          {27, 4},     {32, 2},
    {35, 2},  {27, 5},  {44, 2},  {52, 3},  {56, 2}, {4, 4},           {9, 2},      {12, 2},
    {0, 117}, {0, 255}, {0, 0},   {3, -1},  {-3, 5}, {INT_MAX - 2, 5}, {INT_MIN, 3}};

/// at_file_start: a byte-order mark is skipped only at the very start of a file.
std::vector<std::string> expected_lines(std::string_view bytes, bool at_file_start = true) {
  if (at_file_start && bytes.starts_with("\xef\xbb\xbf")) bytes.remove_prefix(3);
  bytes = bytes.substr(0, bytes.find('\x1a'));
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin < bytes.size()) {
    const std::size_t end = bytes.find('\n', begin);
    std::string line(bytes.substr(begin, end == std::string_view::npos ? end : end - begin));
    std::erase(line, '\r');
    // A long line is cut; a NUL in the dropped part stays visible as its last byte.
    if (line.size() > io::kMaxKeptLineBytes) {
      const bool dropped_nul = line.find('\0', io::kMaxKeptLineBytes) != std::string::npos;
      line.resize(io::kMaxKeptLineBytes);
      if (dropped_nul) line.back() = '\0';
    }
    lines.push_back(std::move(line));
    if (end == std::string_view::npos) break;
    begin = end + 1;
  }
  return lines;
}

std::vector<std::string> read_lines(const std::string& path) {
  io::LineReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (reader.next(line)) {
    FUZZ_CHECK(reader.line_number() == static_cast<long>(lines.size()) + 1);
    lines.push_back(line);
  }
  FUZZ_CHECK(!reader.next(line));  // the end stays the end
  return lines;
}

/// The fuzz bytes behind a line of 'p's that ends the reader's first block
/// `offset` bytes into them. Only the last kBoundaryOffsets bytes of the padding
/// change between inputs, so only they and the fuzz bytes are rewritten.
class PaddedInput {
 public:
  PaddedInput() { file_.write_at(0, std::string(kFixedPaddingBytes, 'p')); }

  const std::string& hold(std::string_view bytes, std::size_t offset) {
    std::string tail(kBoundaryOffsets - offset - 1, 'p');
    tail += '\n';
    tail.append(bytes);
    file_.resize(kFixedPaddingBytes + tail.size());
    file_.write_at(kFixedPaddingBytes, tail);
    return file_.path();
  }

 private:
  static constexpr std::size_t kFixedPaddingBytes = kReaderBlockBytes - kBoundaryOffsets;
  fuzz::InputFile file_;
};

void check_field(std::string_view line, int start, int length) {
  const std::string field = formats::extract_field(line, start, length);
  FUZZ_CHECK(field.size() == static_cast<std::size_t>(length > 0 ? length : 0));
  for (std::size_t k = 0; k < field.size(); ++k) {
    const long long column = static_cast<long long>(start) + static_cast<long long>(k);
    const bool inside = column >= 0 && column < static_cast<long long>(line.size());
    FUZZ_CHECK(field[k] == (inside ? line[static_cast<std::size_t>(column)] : ' '));
  }
  FUZZ_CHECK(formats::is_blank(field) == (field.find_first_not_of(' ') == std::string::npos));
}

bool same_double(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return a == b && std::signbit(a) == std::signbit(b);
}

void check_decimal(std::string_view text) {
  const double got = formats::parse_decimal(text);
  // strtod stops at a NUL, and so does the field grammar (a NUL is no digit).
  const std::string c_text(text.substr(0, text.find('\0')));
  std::size_t i = 0;
  while (i < c_text.size() && std::isspace(static_cast<unsigned char>(c_text[i]))) ++i;
  const bool signed_text = i < c_text.size() && (c_text[i] == '+' || c_text[i] == '-');
  const bool negative = signed_text && c_text[i] == '-';
  const std::string_view rest = std::string_view(c_text).substr(i + (signed_text ? 1 : 0));

  if (signed_text && rest.starts_with("INF")) {
    FUZZ_CHECK(std::isinf(got) && std::signbit(got) == negative);
    return;
  }
  if (signed_text && rest.starts_with("NAN")) {
    FUZZ_CHECK(std::isnan(got));
    return;
  }
  FUZZ_CHECK(!std::isnan(got));
  const char first = rest.empty() ? '\0' : rest[0];
  const bool c_word = first == 'i' || first == 'I' || first == 'n' || first == 'N';
  const bool c_hex = rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X');
  if (c_word || c_hex) {
    FUZZ_CHECK(got == 0.0);
    return;
  }
  const double expected = std::strtod(c_text.c_str(), nullptr);
  FUZZ_CHECK(same_double(got, expected));
  FUZZ_CHECK(std::isfinite(got) || std::fabs(expected) == HUGE_VAL);
}

void check_line(std::string_view line) {
  for (const auto& field : kSystemFields) {
    check_field(line, field[0], field[1]);
    check_decimal(formats::extract_field(line, field[0], field[1]));
  }
  // Ranges that straddle the end of this line, and one the line's own bytes choose.
  const int size = static_cast<int>(std::min<std::size_t>(line.size(), INT_MAX - 8));
  check_field(line, size - 2, 5);
  check_field(line, size, 1);
  if (line.size() >= 2) {
    check_field(line, static_cast<unsigned char>(line[0]) - 16,
                static_cast<unsigned char>(line[1]) % 64);
  }
  check_decimal(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const std::vector<std::string> expected = expected_lines(bytes);
  const std::vector<std::string> lines = read_lines(fuzz::input_file().hold(bytes));
  FUZZ_CHECK(lines == expected);
  for (const std::string& line : lines) check_line(line);

  // Again behind the padding line, so that a CR LF, a Ctrl-Z or a line end can fall
  // on the reader's block boundary. Reading 64 KiB costs, so only inputs whose first
  // byte asks for it (the fuzzer keeps those that reach new paths).
  if (size > 0 && data[0] >= kPaddedRunFirstByte) {
    static PaddedInput padded;
    const std::size_t offset = data[0] % kBoundaryOffsets;
    const std::vector<std::string> padded_lines = read_lines(padded.hold(bytes, offset));
    FUZZ_CHECK(!padded_lines.empty());
    const std::string& padding = padded_lines.front();
    // The padding line is longer than the reader keeps of a line: it is cut there.
    FUZZ_CHECK(padding.size() == std::min(kReaderBlockBytes - offset - 1, io::kMaxKeptLineBytes));
    // Behind the padding line a byte-order mark is text like any other.
    const std::vector<std::string> expected_padded = expected_lines(bytes, false);
    FUZZ_CHECK(std::equal(padded_lines.begin() + 1, padded_lines.end(), expected_padded.begin(),
                          expected_padded.end()));
  }
  return 0;
}
