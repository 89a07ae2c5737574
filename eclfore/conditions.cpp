#include "conditions.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "astro/constants.h"
#include "io/console.h"
#include "io/text_files.h"

namespace eclfore {
namespace {

/// Slack added to a star's depth before it is compared with min_depth, mag.
constexpr long double kDepthSlackMag = 1e-4L;

/// Numbers in one row of condition.dat.
constexpr int kNumbersPerRow = 5;

using Row = std::array<float, kNumbersPerRow>;

/// How the scan of one row ended.
enum class RowEnd { kComplete, kTerminator, kShort };

struct RowScan {
  RowEnd end = RowEnd::kComplete;
  int numbers = 0;                              ///< numbers read into the row
  io::ScanStatus status = io::ScanStatus::kOk;  ///< of the failed scan of a short row
};

/// Scans up to five numbers; a first number of 99 ends the scan (the rest of a
/// terminator row may be left out, and nothing after it is read).
RowScan scan_row(std::FILE* file, Row& row) {
  for (int n = 0; n < kNumbersPerRow; ++n) {
    const io::ScanStatus status = io::scan_float(file, row[static_cast<std::size_t>(n)]);
    if (status != io::ScanStatus::kOk) return {RowEnd::kShort, n, status};
    if (n == 0 && row[0] == kConditionTerminator) return {RowEnd::kTerminator, 1, status};
  }
  return {};
}

}  // namespace

ConditionTable read_conditions(const std::string& path) {
  const io::InputStream file = io::open_input_file(path);

  ConditionTable table;
  Row row{};
  while (true) {
    const RowScan scan = scan_row(file.get(), row);
    if (scan.end == RowEnd::kTerminator) break;
    if (scan.end == RowEnd::kComplete) {
      if (table.count == kMaxConditions) {
        io::warn_file(path, "more than 19 conditions; only the first 19 are used");
        break;
      }
      table.rows[static_cast<std::size_t>(table.count)] = {row[0], row[1], row[2], row[3], row[4]};
      ++table.count;
      continue;
    }
    if (std::ferror(file.get())) {
      throw io::RunError("cannot read " + path + ": " + std::strerror(errno));
    }
    if (scan.status == io::ScanStatus::kNotNumber) {
      // A Ctrl-Z ends a text file; it is no token.
      const std::string token = io::unread_word(file.get());
      if (!token.empty() && token.front() != io::kCtrlZ) {
        io::warn_file(path, "\"" + token + "\" is not a number; reading stops there");
        break;
      }
    }
    if (scan.numbers > 0) {
      io::warn_file(path,
                    fmt::format("the last row has {} of 5 numbers and is ignored", scan.numbers));
    }
    io::warn_file(path, "no terminator row (99)");
    break;
  }
  if (table.count == 0) throw io::RunError(path + ": no selection condition in the file");
  return table;
}

void print_conditions(const ConditionTable& table) {
  io::print_text("\ncondition\n");
  for (int n = 0; n < table.count; ++n) {
    const SelectionCondition& c = table.rows[static_cast<std::size_t>(n)];
    // The floats widened to double, as printf's "%4.1f" took them: the same digits.
    io::print_text(
        fmt::format("No = {} , Mag= {:4.1f} - {:4.1f} ( {:3.1f} ) , RD= {:3.0f} - {:3.0f}\n", n,
                    static_cast<double>(c.mag_bright), static_cast<double>(c.mag_faint),
                    static_cast<double>(c.min_depth), static_cast<double>(c.dec_upper),
                    static_cast<double>(c.dec_lower)));
  }
}

bool is_selected(const formats::StarRecord& star, const SelectionCondition& condition) {
  const long double depth =
      static_cast<long double>(star.mag_min) - static_cast<long double>(star.mag_max);
  return star.mag_max >= condition.mag_bright && star.mag_min <= condition.mag_faint &&
         depth + kDepthSlackMag >= condition.min_depth &&
         star.dec_degree_part <= condition.dec_upper && star.dec_degree_part >= condition.dec_lower;
}

}  // namespace eclfore
