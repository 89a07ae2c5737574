#include "rules_by_scale.h"

namespace eclfore {

RulesByScale::RulesByScale(const ForecastRequest& request, const SearchWindow& window,
                           const astro::CivilClock& clock)
    : request_(request), window_(window), clock_(clock) {
  for_scale(request.sky_options.epochs);
}

const ScaleRule& RulesByScale::for_star(const formats::StarRecord& star) {
  return for_scale(formats::epoch_scale_of(star, request_.sky_options.epochs));
}

const ScaleRule& RulesByScale::for_scale(astro::EpochScale scale) {
  std::unique_ptr<ScaleRule>& built = rules_.at(static_cast<std::size_t>(scale));
  if (built) return *built;
  built = std::make_unique<ScaleRule>();
  astro::SkyOptions options = request_.sky_options;
  options.epochs = scale;
  // Built only when an option or the scale asks for it: the default run never calls ERFA.
  if (options.any()) built->sky.emplace(window_sky(options, window_, request_.site));
  built->rule = listing_rule(request_, built->sky ? &*built->sky : nullptr, clock_);
  built->tables = fast::run_tables(window_, built->rule);
  return *built;
}

}  // namespace eclfore
