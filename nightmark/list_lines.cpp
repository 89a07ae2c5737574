#include "list_lines.h"

#include <fmt/format.h>

#include "formats/records.h"

namespace nightmark {

bool usable_list_line(const std::string& line, const io::LineReader& reader) {
  if (line.size() >= kMinListLineChars) return true;
  if (!formats::is_blank(line)) {
    io::warn_line(reader.path(), reader.line_number(),
                  fmt::format("line shorter than {} characters skipped", kMinListLineChars));
  }
  return false;
}

}  // namespace nightmark
