#include "astro/window_share.h"

#include <algorithm>
#include <cmath>

#include "astro/numeric.h"

namespace astro {

namespace {

constexpr double kPercent = 100;
/// Most steps on either side of a window's middle: 5-minute steps for windows of up to
/// 3.8 years (the longest known eclipses last 3.5), longer ones for the window of a
/// mistyped line, which would otherwise be tested for hours.
constexpr int kMostSteps = 200000;

/// The tested instants of a window, in order without a list: from `from` to `middle`
/// and from `middle` to `to` in equal steps of at most `step` each.
class WindowInstants {
 public:
  WindowInstants(double from, double middle, double to, double step)
      : from_(from),
        middle_(middle),
        to_(to),
        before_middle_(steps(from, middle, step)),
        after_middle_(steps(middle, to, step)) {}

  /// Instants after the first.
  int count() const { return before_middle_ + after_middle_; }
  /// How closely a change is found: `resolution` in `unit`'s steps, in proportion to
  /// the steps where a side holds kMostSteps, so that a change costs a few halvings
  /// however long the steps (a thousand each in the window of a period of 1e300 days).
  double resolution(const WindowUnit& unit) const {
    const double longest_step =
        std::max((middle_ - from_) / before_middle_, (to_ - middle_) / after_middle_);
    const bool stretched = before_middle_ == kMostSteps || after_middle_ == kMostSteps;
    return stretched ? std::max(unit.resolution, unit.resolution * (longest_step / unit.step))
                     : unit.resolution;
  }
  /// Instant i, 0 to count().
  double at(int i) const {
    if (i < before_middle_) return from_ + (middle_ - from_) * i / before_middle_;
    if (i == before_middle_) return middle_;
    const int j = i - before_middle_;
    return j == after_middle_ ? to_ : middle_ + (to_ - middle_) * j / after_middle_;
  }

 private:
  /// Equal steps of at most `step` from `from` to `to`, at most kMostSteps of them.
  static int steps(double from, double to, double step) {
    return std::clamp(trunc_to_int(std::ceil((to - from) / step)), 1, kMostSteps);
  }
  double from_, middle_, to_;
  int before_middle_, after_middle_;
};

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
  const WindowInstants instants(from, middle, to, unit.step);
  const double resolution = instants.resolution(unit);
  // The hidden time is summed, so that a window observable throughout gives 100 exactly.
  double hidden = 0;
  double after = instants.at(0);
  bool was_observable = observable(after);
  for (int i = 1; i <= instants.count(); ++i) {
    const double before = after;
    after = instants.at(i);
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
    while (high - low > resolution) {
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
