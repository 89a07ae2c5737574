#include "list_lines.h"

#include "astro/records.h"

namespace nightmark {

bool usable_list_line(const std::string& line, const astro::LineReader& reader) {
  if (line.size() >= kMinListLineChars) return true;
  if (!astro::is_blank(line)) {
    astro::warn_line(
        reader.path(), reader.line_number(),
        "line shorter than " + std::to_string(kMinListLineChars) + " characters skipped");
  }
  return false;
}

}  // namespace nightmark
