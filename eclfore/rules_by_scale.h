#pragma once
/// The listing rule of each time scale of the catalogue's epochs that a run meets. A
/// star.dat line that names its own time scale is forecast as a run with --epochs of
/// that scale forecasts it, the other options as given; the lines that name none take
/// --epochs. Each scale's rule has its own sky tables and shortcut tables, built the
/// first time a star asks for that scale: a run whose lines name no other scale builds
/// only the rule of its options, as it always has.

#include <array>
#include <memory>
#include <optional>

#include "astro/civil_clock.h"
#include "astro/ephemeris.h"
#include "fast/forecast_star.h"
#include "formats/catalogue.h"
#include "listing_rule.h"
#include "search_window.h"

namespace eclfore {

/// The rule of one time scale with the tables it points into.
struct ScaleRule {
  std::optional<astro::ObservingConditions> sky;  ///< none when no option asks for it
  ListingRule rule;
  fast::RunTables tables;
};

class RulesByScale {
 public:
  /// Builds the rule of `request`'s own options on `clock` (JST by default); `window`
  /// must outlive this.
  RulesByScale(const ForecastRequest& request, const SearchWindow& window,
               const astro::CivilClock& clock = {});
  /// Each rule points into this object's clock and skies: it stays where it is built.
  RulesByScale(const RulesByScale&) = delete;
  RulesByScale& operator=(const RulesByScale&) = delete;

  /// The rule for `star`: of its line's time scale, else of --epochs.
  const ScaleRule& for_star(const formats::StarRecord& star);
  /// The rule for the epochs' time scale `scale`.
  const ScaleRule& for_scale(astro::EpochScale scale);

 private:
  ForecastRequest request_;
  const SearchWindow& window_;
  astro::CivilClock clock_;
  /// By astro::EpochScale; each stays in place, as its rule points into its sky.
  std::array<std::unique_ptr<ScaleRule>, 3> rules_;
};

}  // namespace eclfore
