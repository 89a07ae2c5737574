#pragma once
/// A minimum kept in the night plan, held in memory from the filter to the mark files.

#include <string>
#include <utility>

#include "mark_lines.h"
#include "night_filter.h"

namespace nightmark {

/// One kept minimum: the line as obsday3.txt holds it and what the marks, and
/// whatever else is made from the plan, take from it.
struct PlanLine {
  std::string text;        ///< the NightListLine, without its line end
  std::string short_name;  ///< the star name up to its first blank
  /// Time of the minimum (JST hours), right ascension (hours) and declination
  /// (degrees), as the filter read them.
  ListedMinimum minimum;
};

/// The plan line of a kept list line `text` whose values the filter read as `minimum`.
inline PlanLine plan_line(std::string text, const ListedMinimum& minimum) {
  PlanLine line{std::move(text), {}, minimum};
  line.short_name = short_name(line.text);
  return line;
}

}  // namespace nightmark
