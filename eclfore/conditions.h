#pragma once
/// Selection conditions (condition.dat) and the test of a star against one.

#include <array>
#include <string>

#include "formats/catalogue.h"

namespace eclfore {

/// One row of condition.dat. Magnitudes in mag, declination limits in whole degrees.
struct SelectionCondition {
  float mag_bright = 0;  ///< mag_max must not be smaller (brighter) than this
  float mag_faint = 0;   ///< mag_min must not be larger (fainter) than this
  float min_depth = 0;   ///< mag_min - mag_max must reach this
  float dec_upper = 0;   ///< the declination degree field must not exceed this
  float dec_lower = 0;   ///< the declination degree field must not be below this
};

/// Slots of the condition table; the terminator row takes one, so 19 conditions fit.
inline constexpr int kConditionSlots = 20;
inline constexpr int kMaxConditions = kConditionSlots - 1;

/// First number of the row that ends condition.dat (compared exactly as a float).
inline constexpr float kConditionTerminator = 99.0f;

/// The conditions read, numbered from 0 in file order.
struct ConditionTable {
  std::array<SelectionCondition, kConditionSlots> rows{};
  int count = 0;  ///< 1 to kMaxConditions after a successful read
};

/// Reads condition.dat as a stream of "%f" numbers, five to a row, up to the row
/// whose first number is 99. Keeps the first 19 conditions of a longer file, the
/// complete rows of a file without terminator, and the complete rows before a token
/// that is not a number, each with a warning on standard error. A Ctrl-Z ends the
/// input. Throws io::RunError naming the file when it cannot be opened or read,
/// or when it holds no condition.
ConditionTable read_conditions(const std::string& path);

/// Prints the condition listing of the dialogue: the heading and one line a row.
void print_conditions(const ConditionTable& table);

/// True when the star passes every test of the condition. The depth gets 1e-4 mag of
/// slack because the single-precision magnitudes make a catalogue depth equal to the
/// limit (10.9 - 10.2) come out just below it.
bool is_selected(const formats::StarRecord& star, const SelectionCondition& condition);

}  // namespace eclfore
