#include "programs.h"

namespace robustness {

std::string overwrite(std::string line, std::size_t column, std::string_view text) {
  if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
  line.replace(column, text.size(), text);
  return line;
}

std::string bad_star(std::size_t column, std::string_view text) {
  return overwrite(overwrite(kStarLine, 0, "BAD Star"), column, text);
}

const Program& eclfore() {
  static const Program p{"eclfore",
                         ECLFORE_BIN,
                         {{"condition.dat", "8.0 12.5 0.5 90 -30\n6.0 10.0 0.3 60 0\n99\n"},
                          {"star.dat", kStarLine + "\n"}},
                         "2006\n10\n20\n3\n0\n",
                         {"data.dat"}};
  return p;
}

const Program& datesel() {
  static const Program p{
      "datesel",
      DATESEL_BIN,
      {{"data.dat", kForecastLine + "\r\n"}, {"data.sot", kForecastLine + "\r\n"}},
      "6\n99\n",
      {"obsday.dat"}};
  return p;
}

const Program& nightmark() {
  static const Program p{"nightmark",
                         NIGHTMARK_BIN,
                         {{"recent_obs.txt", "WW Gem\nZZ Ori\n"}, {"obsday2.dat", kDailyList}},
                         "20\n0\n0\n",
                         {"obsday3.txt", "lplanet.adf", "lightpl.mrk"}};
  return p;
}

const Program& phaselist() {
  static const Program p{"phaselist",
                         PHASELIST_BIN,
                         {{"star.dat", kStarLine + "\n"}},
                         "2006 3 7 4 30\n2006 3 7 5 45\n",
                         {"isou.txt"}};
  return p;
}

}  // namespace robustness
