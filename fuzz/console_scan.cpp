/// Fuzz target: the console readers scan_int and scan_float over the fuzz bytes as
/// standard input, read the way a dialogue reads them: answer after answer, and one
/// character skipped after an answer that is not a number.
///
/// Invariants:
/// - every read ends: an answer that is read consumed input, the end is the end of
///   the input, and a whole dialogue takes no more reads than there are bytes (+2);
/// - scan_int gives the value the C library's strtoll gives for the consumed text,
///   and refuses (kNotNumber) exactly the integers beyond int's range;
/// - scan_float gives strtof's value of the consumed text, bit for bit ("%f" rounds
///   straight to float, never through double), of its first kMaxNumberChars characters
///   after the white space when the number is longer;
/// - a read that fails leaves the answer as it was.

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "io/console.h"

namespace {

enum class Reads { kInts, kFloats, kAlternating };

constexpr int kIntUnset = -7777;
constexpr float kFloatUnset = -7777.0f;

bool has_digit(std::string_view text) {
  return text.find_first_of("0123456789") != std::string_view::npos;
}

void check_int(io::ScanStatus status, int value, const std::string& consumed) {
  errno = 0;
  const long long c_value = std::strtoll(consumed.c_str(), nullptr, 10);
  const bool in_range = errno != ERANGE && c_value >= INT_MIN && c_value <= INT_MAX;
  if (status == io::ScanStatus::kOk) {
    FUZZ_CHECK(in_range && value == c_value);
  } else {
    FUZZ_CHECK(value == kIntUnset);
    if (status == io::ScanStatus::kNotNumber && has_digit(consumed)) FUZZ_CHECK(!in_range);
  }
}

void check_float(io::ScanStatus status, float value, const std::string& consumed) {
  if (status == io::ScanStatus::kOk) {
    // The value is that of the number's first kMaxNumberChars characters.
    const std::size_t start = std::min(consumed.find_first_not_of(" \t\n\v\f\r"), consumed.size());
    const std::string kept = consumed.substr(start, static_cast<std::size_t>(io::kMaxNumberChars));
    const float c_value = std::strtof(kept.c_str(), nullptr);
    FUZZ_CHECK((std::isnan(value) && std::isnan(c_value)) ||
               std::memcmp(&value, &c_value, sizeof value) == 0);
  } else {
    FUZZ_CHECK(std::memcmp(&value, &kFloatUnset, sizeof value) == 0);
  }
}

void run_dialogue(std::string& bytes, Reads reads) {
  const fuzz::Stream stream = fuzz::open_stream(bytes);
  if (!stream) return;
  std::FILE* in = stream.get();
  for (std::size_t step = 0;; ++step) {
    FUZZ_CHECK(step <= bytes.size() + 2);
    const bool as_int = reads == Reads::kInts || (reads == Reads::kAlternating && step % 2 == 0);
    const long before = std::ftell(in);
    int int_value = kIntUnset;
    float float_value = kFloatUnset;
    const io::ScanStatus status =
        as_int ? io::scan_int(in, int_value) : io::scan_float(in, float_value);
    const long after = std::ftell(in);
    FUZZ_CHECK(before >= 0 && after >= before);
    const std::string consumed =
        bytes.substr(static_cast<std::size_t>(before), static_cast<std::size_t>(after - before));
    if (as_int) {
      check_int(status, int_value, consumed);
    } else {
      check_float(status, float_value, consumed);
    }
    if (status == io::ScanStatus::kOk) {
      FUZZ_CHECK(after > before);
    } else if (status == io::ScanStatus::kEnd) {
      FUZZ_CHECK(std::fgetc(in) == EOF);
      break;
    } else if (std::fgetc(in) == EOF) {
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(fuzz::as_text(data, size));
  run_dialogue(bytes, Reads::kInts);
  run_dialogue(bytes, Reads::kFloats);
  run_dialogue(bytes, Reads::kAlternating);
  return 0;
}
