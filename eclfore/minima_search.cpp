#include "minima_search.h"

namespace eclfore {

using astro::Ext;

std::optional<std::string> cycle_problem(const formats::StarRecord& star,
                                         const SearchWindow& window) {
  const Ext period = star.period;
  const Ext epoch = star.epoch_mjd;
  if ((static_cast<Ext>(window.end_mjd) - static_cast<Ext>(window.search_from_mjd)) / period >
      kMaxWindowCandidates) {
    return "period too short: more than 1000000 minima in the window";
  }
  const Ext first = (static_cast<Ext>(window.search_from_mjd) - epoch) / period;
  const Ext last = (static_cast<Ext>(window.end_mjd) - epoch) / period + kCycleMarginCycles;
  if (!astro::fits_int32(first) || !astro::fits_int32(last)) {
    return "cycle count since the epoch does not fit 32 bits";
  }
  return std::nullopt;
}

long search_minima(const formats::StarRecord& star, const SearchWindow& window,
                   const ListingRule& rule, const MinimumConsumer& consumer) {
  const StarForRule s = star_for_rule(star, rule);
  long listed = 0;
  for_each_candidate(star, window, keep_all, [&](MinimumKind kind, double candidate_mjd) {
    const std::optional<ForecastMinimum> minimum =
        listed_minimum(s, window, rule, kind, candidate_mjd);
    if (!minimum) return;
    consumer(*minimum);
    ++listed;
  });
  return listed;
}

long count_candidates(const formats::StarRecord& star, const SearchWindow& window) {
  long candidates = 0;
  for_each_candidate(star, window, keep_all, [&](MinimumKind, double) { ++candidates; });
  return candidates;
}

}  // namespace eclfore
