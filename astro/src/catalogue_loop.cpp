#include "astro/catalogue_loop.h"

#include <cstdio>

namespace astro {

void for_each_catalogue_star(LineReader& catalogue, std::string& line, bool have_line,
                             const StarVisitor& visitor) {
  for (; have_line; have_line = catalogue.next(line)) {
    const long line_no = catalogue.line_number();
    if (const auto unusable = unusable_star_line(line)) {
      if (!unusable->empty()) warn_line(catalogue.path(), line_no, *unusable);
      continue;
    }
    const StarRecord star = parse_star_record(line);
    if (visitor.wanted && !visitor.wanted(star)) continue;
    // A usable line holds no NUL, so the whole field is the name as printed.
    std::fwrite(star.name.data(), 1, star.name.size(), stdout);
    if (lacks_elements(star)) continue;
    std::optional<std::string> problem = star_record_problem(star);
    if (!problem) problem = visitor.use(star);
    if (problem) warn_line(catalogue.path(), line_no, *problem + "; skipped");
  }
}

}  // namespace astro
