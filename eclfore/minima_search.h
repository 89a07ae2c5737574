#pragma once
/// The search of a month's minima: the checks on a star's elements, the primary and
/// secondary passes over the window's candidates, and the exact search that applies the
/// listing rule to each of them.

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "astro/numeric.h"
#include "astro/precision.h"
#include "forecast_minimum.h"
#include "formats/catalogue.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore {

/// Most candidate minima one star may have in the window (per pass).
inline constexpr long double kMaxWindowCandidates = 1000000;
/// Cycles past the window's end up to which a pass may run (never reached with
/// sound arithmetic: the secondary pass needs at most 2).
inline constexpr astro::Ext kCycleMarginCycles = 3;
/// Most candidates a pass hands on at once (for_each_candidate).
inline constexpr int kChunkCandidates = 64;

/// Why the passes cannot run for a star with usable elements (positive finite period,
/// finite epoch): the cycle count does not fit 32 bits, or the window would hold
/// more than kMaxWindowCandidates minima. Nothing when they can.
std::optional<std::string> cycle_problem(const formats::StarRecord& star,
                                         const SearchWindow& window);

/// MJD (days, UT) of the minimum `cycle` periods after `epoch_mjd`.
inline double minimum_at(double epoch_mjd, std::int32_t cycle, double period) {
  using astro::Ext;
  return static_cast<double>(static_cast<Ext>(epoch_mjd) +
                             static_cast<Ext>(cycle) * static_cast<Ext>(period));
}

/// The epoch from which the secondary pass counts (MJD, days): the secondary minimum at
/// its phase (0.5 unless the star's line gives another) one period before the primary
/// epoch, so that the cycle count stays the one computed from the primary epoch. At
/// phase 0.5 the epoch moves back half a period, 1 - 0.5 being exact.
inline double secondary_epoch_mjd(const formats::StarRecord& star) {
  using astro::Ext;
  const Ext phase = star.extension.secondary_phase.value_or(formats::kDefaultSecondaryPhase);
  return static_cast<double>(static_cast<Ext>(star.epoch_mjd) -
                             static_cast<Ext>(star.period) * (1 - phase));
}

/// The cycle count E from the star's epoch of its minimum of `kind` at `candidate_mjd`
/// (MJD, days, in the epoch's time scale, as for_each_candidate hands it on): the
/// nearest whole number n for a primary minimum, n + the secondary phase for a
/// secondary one. The count of formats::minimum_uncertainty_days.
inline double cycle_count(const formats::StarRecord& star, MinimumKind kind, double candidate_mjd) {
  const double phase =
      kind == MinimumKind::kPrimary
          ? 0.0
          : star.extension.secondary_phase.value_or(formats::kDefaultSecondaryPhase);
  const double cycles = (candidate_mjd - star.epoch_mjd) / star.period;
  return std::nearbyint(cycles - phase) + phase;
}

/// Calls test(kind, minimum_mjd) for every candidate minimum of both passes that
/// keep(instants, count, kept) keeps, in the order of the search: the primary pass,
/// then the secondary pass (secondary_epoch_mjd). The candidates come a chunk at a time (enough
/// that a prefilter runs through a chunk without waiting on its decisions): their
/// instants, then `keep` on all of them (it writes the indices of those it keeps to
/// `kept`, in order, and returns how many), then the test of those it kept.
template <class Keep, class Test>
void for_each_candidate(const formats::StarRecord& star, const SearchWindow& window, Keep&& keep,
                        Test&& test) {
  using astro::Ext;
  const Ext period = star.period;
  const std::int32_t first_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.search_from_mjd) - static_cast<Ext>(star.epoch_mjd)) / period);
  // Bounds every pass, so that no arithmetic surprise can make it run on or wrap.
  const std::int32_t last_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.end_mjd) - static_cast<Ext>(star.epoch_mjd)) / period +
      kCycleMarginCycles);

  auto search_pass = [&](MinimumKind kind, double epoch_mjd) {
    // The first candidate is always tested; each next one while its cycle is within
    // last_cycle and it lies before the window's end.
    std::int32_t cycle = first_cycle;
    bool ended = false;
    bool first = true;
    while (!ended) {
      std::array<double, kChunkCandidates> chunk;
      int count = 0;
      while (count < kChunkCandidates) {
        const double minimum_mjd = minimum_at(epoch_mjd, cycle, star.period);
        if (!first && !(minimum_mjd < window.end_mjd)) {
          ended = true;
          break;
        }
        first = false;
        chunk[static_cast<std::size_t>(count++)] = minimum_mjd;
        if (cycle >= last_cycle) {
          ended = true;
          break;
        }
        ++cycle;
      }
      std::array<unsigned char, kChunkCandidates> kept;
      const int kept_count = keep(chunk.data(), count, kept.data());
      for (int i = 0; i < kept_count; ++i) {
        test(kind, chunk[kept[static_cast<std::size_t>(i)]]);
      }
    }
  };

  search_pass(MinimumKind::kPrimary, star.epoch_mjd);
  search_pass(MinimumKind::kSecondary, secondary_epoch_mjd(star));
}

/// The `keep` of for_each_candidate that keeps every candidate.
inline int keep_all(const double* /*minimum_mjd*/, int count, unsigned char* kept) {
  for (int i = 0; i < count; ++i) kept[i] = static_cast<unsigned char>(i);
  return count;
}

/// Receives each listed minimum, in the order of the search.
using MinimumConsumer = std::function<void(const ForecastMinimum&)>;

/// Runs the primary pass, then the secondary pass (secondary_epoch_mjd), over the window and hands
/// `consumer` each minimum that the rule lists (listed_minimum): within a pass in time
/// order. Expects a selected star without a cycle_problem; for any other input it still
/// ends, after a bounded number of candidates. Returns the number of minima handed on.
long search_minima(const formats::StarRecord& star, const SearchWindow& window,
                   const ListingRule& rule, const MinimumConsumer& consumer);

/// The number of candidate minima that the search tests for the star (both passes),
/// whatever is listed; for measuring the search.
long count_candidates(const formats::StarRecord& star, const SearchWindow& window);

}  // namespace eclfore
