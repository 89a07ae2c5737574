#include "astro/window_share.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "astro/numeric.h"

namespace astro {

namespace {

constexpr double kPercent = 100;

/// Equal steps of at most `step` from `from` to `to` (both included) appended to
/// `instants`, `from` left out when `skip_first`.
void append_steps(double from, double to, double step, bool skip_first,
                  std::vector<double>& instants) {
  const int count = std::max(1, trunc_to_int(std::ceil((to - from) / step)));
  for (int i = skip_first ? 1 : 0; i < count; ++i) {
    instants.push_back(from + (to - from) * i / count);
  }
  instants.push_back(to);
}

/// The observable share, percent, of a window `total` long of which `hidden` is not
/// observable (both in the same unit): never below 0 for the sums' roundings.
double share_pct(double hidden, double total) {
  return std::max(0.0, kPercent - kPercent * hidden / total);
}

}  // namespace

double observable_share_pct(double from, double middle, double to, const WindowUnit& unit,
                            const std::function<bool(double instant)>& observable,
                            double least_pct) {
  if (!(from < to)) return observable(middle) ? kPercent : 0;
  std::vector<double> instants;
  append_steps(from, middle, unit.step, false, instants);
  append_steps(middle, to, unit.step, true, instants);
  // The hidden time is summed, so that a window observable throughout gives 100 exactly.
  double hidden = 0;
  bool was_observable = observable(instants.front());
  for (std::size_t i = 1; i < instants.size(); ++i) {
    const double before = instants[i - 1];
    const double after = instants[i];
    const bool is_observable = observable(after);
    if (is_observable == was_observable) {
      if (!is_observable) {
        hidden += after - before;
        const double most_pct = share_pct(hidden, to - from);
        if (most_pct < least_pct) return most_pct;
      }
      continue;
    }
    double low = before;
    double high = after;
    while (high - low > unit.resolution) {
      const double mid = low + (high - low) / 2;
      if (observable(mid) == was_observable) {
        low = mid;
      } else {
        high = mid;
      }
    }
    const double change = low + (high - low) / 2;
    hidden += was_observable ? after - change : change - before;
    was_observable = is_observable;
    // The share only falls from here on: below the least asked, it stays below.
    const double most_pct = share_pct(hidden, to - from);
    if (most_pct < least_pct) return most_pct;
  }
  return share_pct(hidden, to - from);
}

}  // namespace astro
