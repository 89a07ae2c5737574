/// Fuzz target: eclfore's reader of condition.dat, the bytes taken as the file.
///
/// Invariants:
/// - reading ends in a table of 1 to 19 conditions or in RunError naming the file,
///   never in another exception, and never runs on (every scan consumes input);
/// - no condition in the table is a terminator row (first number 99);
/// - a Ctrl-Z ends the input: the bytes after it change nothing, the table is the
///   same, number for number, as that of the bytes before it.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "conditions.h"
#include "fuzz_support.h"
#include "io/text_files.h"

namespace {

std::optional<eclfore::ConditionTable> read_table(std::string_view bytes) {
  const std::string& path = fuzz::input_file().hold(bytes);
  try {
    return eclfore::read_conditions(path);
  } catch (const io::RunError& e) {
    FUZZ_CHECK(std::string_view(e.what()).find(path) != std::string_view::npos);
    return std::nullopt;
  }
}

bool same_tables(const eclfore::ConditionTable& a, const eclfore::ConditionTable& b) {
  if (a.count != b.count) return false;
  const std::size_t used = static_cast<std::size_t>(a.count);
  // Bytes, not values: a NaN limit must come back as the same NaN.
  return std::memcmp(a.rows.data(), b.rows.data(), used * sizeof a.rows[0]) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::as_text(data, size);
  const std::optional<eclfore::ConditionTable> table = read_table(bytes);
  if (table) {
    FUZZ_CHECK(table->count >= 1 && table->count <= eclfore::kMaxConditions);
    for (int k = 0; k < table->count; ++k) {
      FUZZ_CHECK(table->rows[static_cast<std::size_t>(k)].mag_bright !=
                 eclfore::kConditionTerminator);
    }
  }

  const std::size_t ctrl_z = bytes.find('\x1a');
  if (ctrl_z != std::string_view::npos) {
    const std::optional<eclfore::ConditionTable> before = read_table(bytes.substr(0, ctrl_z));
    FUZZ_CHECK(table.has_value() == before.has_value());
    if (table) FUZZ_CHECK(same_tables(*table, *before));
  }
  return 0;
}
