#include "formats/catalogue_loop.h"

#include <string>
#include <vector>

#include "io/text_files.h"

namespace formats {

void for_each_catalogue_star(io::LineReader& catalogue, std::string& line, bool have_line,
                             const StarVisitor& visitor) {
  std::vector<std::string> extension_problems;
  for (; have_line; have_line = catalogue.next(line)) {
    const long line_no = catalogue.line_number();
    if (const auto unusable = unusable_star_line(line)) {
      if (!unusable->empty()) io::warn_line(catalogue.path(), line_no, *unusable);
      continue;
    }
    extension_problems.clear();
    const StarRecord star = parse_star_record(line, &extension_problems);
    if (visitor.wanted && !visitor.wanted(star)) continue;
    if (visitor.named) visitor.named(star);
    if (lacks_elements(star)) continue;
    std::optional<std::string> problem = star_record_problem(star);
    if (!problem) {
      // The star is used: what its extension lost is said first.
      for (const std::string& lost : extension_problems)
        io::warn_line(catalogue.path(), line_no, lost);
      problem = visitor.use(star);
    }
    if (problem) io::warn_line(catalogue.path(), line_no, *problem + "; skipped");
  }
}

}  // namespace formats
