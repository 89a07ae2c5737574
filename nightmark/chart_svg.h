#pragma once
/// The altitude chart of a night plan as an SVG 1.1 document: twilight shading from
/// the Sun's altitude, the Moon, one altitude curve per star with its minima, the
/// start time and the plan's altitude limit. A pure function of precomputed samples.

#include <string>
#include <vector>

namespace nightmark {

/// One minimum on a star's curve.
struct ChartMinimum {
  bool primary = true;      ///< a primary minimum (filled dot) or a secondary (open dot)
  double hours = 0;         ///< decimal hours of the night's clock (24 to 29 after midnight)
  double altitude_deg = 0;  ///< the star's altitude at the minimum, degrees
  std::string label;        ///< name and time as the clock reads: "W UMa 00:28"
  std::string short_label;  ///< the time alone, where the whole label finds no room
  /// The thick stretch either side of the minimum, hours: the eclipse to first and last
  /// contact (window_from_duration) or one hour.
  double window_half_hours = 1;
  bool window_from_duration = false;
  double uncertainty_hours = 0;  ///< the window's timing uncertainty, hours; 0 unknown
};

/// One star of the plan: its curve at the chart's sample times and its minima.
struct ChartStar {
  std::string name;                  ///< for the legend
  std::vector<double> altitude_deg;  ///< degrees, one per ChartSamples::hours
  /// 1 where the observer's skyline hides the star, one per ChartSamples::hours; empty
  /// without a skyline (--horizon).
  std::vector<unsigned char> behind_skyline;
  std::vector<ChartMinimum> minima;  ///< in plan order
};

/// Everything the chart shows, sampled on one time axis.
struct ChartSamples {
  std::string title;                      ///< the night's date, its clock and the site
  std::string clock_name = "JST";         ///< the night's clock, named on the time axis
  std::vector<double> hours;              ///< sample times, decimal hours, increasing;
                                          ///< the first and last are the axis ends
  std::vector<double> sun_altitude_deg;   ///< geometric altitude of the Sun's centre
  std::vector<double> moon_altitude_deg;  ///< topocentric altitude of the Moon's centre
  double moon_illuminated_fraction = 0;   ///< 0 to 1, at the middle of the night
  std::vector<ChartStar> stars;           ///< in order of first appearance in the plan
  double start_hours = 0;                 ///< the typed start time, decimal hours
  double altitude_limit_deg = 10;         ///< the plan's altitude limit at the start
};

/// The Sun's altitude at sunset and sunrise, degrees: the upper limb on the horizon
/// with standard refraction (-50': 34' of refraction at the horizon and the Sun's 16'
/// semidiameter). Civil, nautical and astronomical twilight begin at it and
/// at astro::kCivilTwilightDeg, kNauticalTwilightDeg and kAstronomicalTwilightDeg.
inline constexpr double kSunsetAltitudeDeg = -0.833;

/// A stretch of the time axis in one shading band.
struct ShadeSpan {
  double from_hours = 0;
  double to_hours = 0;
  int band = 0;  ///< 0 daylight, 1 civil, 2 nautical, 3 astronomical twilight, 4 night
};

/// The shading bands along the axis, from the Sun's samples: a band changes where
/// the altitude, interpolated linearly between samples, crosses a band's limit.
std::vector<ShadeSpan> shade_spans(const std::vector<double>& hours,
                                   const std::vector<double>& sun_altitude_deg);

/// The SVG text (UTF-8, '\n' line ends), about 960 x 540 pixels.
std::string chart_svg(const ChartSamples& samples);

}  // namespace nightmark
