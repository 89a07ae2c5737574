// Counts, for a benchmark run of eclfore, the stars of star.dat that eclfore forecasts
// and the candidate minima it tests for them (both passes), exactly: the same checks
// and the same pass loop as the program, without the tests of each candidate.
//
// usage: count_candidates YEAR MONTH CONDITION_NO   (star.dat and condition.dat in the
// current folder); prints "lines N selected N candidates N".
#include <cstdio>
#include <cstdlib>
#include <string>

#include "conditions.h"
#include "formats/catalogue.h"
#include "io/text_files.h"
#include "minima_search.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: count_candidates YEAR MONTH CONDITION_NO\n");
    return 2;
  }
  try {
    const eclfore::SearchWindow window =
        eclfore::search_window(std::atoi(argv[1]), std::atoi(argv[2]));
    const eclfore::ConditionTable conditions = eclfore::read_conditions("condition.dat");
    const int condition_no = std::atoi(argv[3]);
    if (condition_no < 0 || condition_no >= conditions.count) {
      std::fprintf(stderr, "count_candidates: no condition %d\n", condition_no);
      return 2;
    }
    const eclfore::SelectionCondition& condition =
        conditions.rows[static_cast<std::size_t>(condition_no)];

    io::LineReader catalogue("star.dat");
    std::string line;
    long lines = 0;
    long selected = 0;
    long candidates = 0;
    while (catalogue.next(line)) {
      ++lines;
      if (formats::unusable_star_line(line)) continue;
      const formats::StarRecord star = formats::parse_star_record(line);
      if (formats::lacks_elements(star) || formats::star_record_problem(star) ||
          !eclfore::is_selected(star, condition) || eclfore::cycle_problem(star, window)) {
        continue;
      }
      ++selected;
      candidates += eclfore::count_candidates(star, window);
    }
    std::printf("lines %ld selected %ld candidates %ld\n", lines, selected, candidates);
    return 0;
  } catch (const io::RunError& e) {
    std::fprintf(stderr, "count_candidates: %s\n", e.what());
    return 1;
  }
}
