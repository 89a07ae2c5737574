#pragma once
// What the forecast's unit tests share: the worked example (the star EX Demo, October 2006
// from Tokyo) and the star lines and minima that put the ForecastLine writers to the test.

#include <string>
#include <vector>

#include "forecast_minimum.h"
#include "listing_rule.h"
#include "sites.h"

namespace eclfore_test {

/// The star.dat line of EX Demo.
inline const std::string kExDemoLine =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

/// The request of October 2006 from Tokyo (menu 3) with a lowest altitude (degrees).
inline eclfore::ForecastRequest tokyo_october_2006(float min_altitude_deg) {
  eclfore::ForecastRequest r;
  r.year = 2006;
  r.month = 10;
  r.min_altitude_deg = min_altitude_deg;
  r.site = *eclfore::site_for_menu_number(3);
  return r;
}

/// Its rule, without the options for today's sky.
inline eclfore::ListingRule tokyo_october_2006_rule(float min_altitude_deg) {
  return eclfore::listing_rule(tokyo_october_2006(min_altitude_deg), nullptr);
}

/// Star lines for the line writers: EX Demo, a southern star with fractions everywhere
/// and a short catalogue (the minimum's fields stand left of the layout's columns), a
/// star whose fields are wider than their columns (a magnitude of 9e99 prints a hundred
/// digits), negative zeros.
inline const std::vector<std::string> kLineWriterStars = {
    kExDemoLine,
    "V9 Sgr               2451234.56781  12.3456789 -1 -0 59.6 -00 45.9     EW  -0.0 9e99      0 "
    "XY",
    "W                   -2451234.5     -0.5        99 99 99.5 +89 59       E   99.9 -9.9",
};

/// Minima for the line writers (the star left out): two of real data, at the minute
/// 60 and at hour 29, and two outside the fields of real data, which widen them.
inline const std::vector<eclfore::ForecastMinimum> kLineWriterMinima = {
    {nullptr,
     eclfore::MinimumKind::kPrimary,
     54009.49993,
     2454009.99993,
     {2006, 10, 1, 20, 60},
     73.3f},
    {nullptr, eclfore::MinimumKind::kSecondary, 60000.25, 2460000.75, {2023, 2, 24, 29, 59}, 0.04f},
    {nullptr, eclfore::MinimumKind::kSecondary, 1e7, 1.00024e7, {12345, 123, 0, 99, 0}, -5.25f},
    {nullptr, eclfore::MinimumKind::kPrimary, -1e6, -997599.5, {999, 1, 1, 18, 0}, 90.0f},
};

}  // namespace eclfore_test
