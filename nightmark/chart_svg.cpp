#include "chart_svg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string_view>
#include <utility>

#include <fmt/format.h>

#include "astro/ephemeris.h"
#include "astro/numeric.h"
#include "chart_labels.h"
#include "io/text.h"
#include "plan_entry.h"

namespace nightmark {
namespace {

// Page and plot area, pixels.
constexpr double kWidthPx = 960;
constexpr double kHeightPx = 540;
constexpr double kPlotLeftPx = 58;
constexpr double kPlotTopPx = 44;
constexpr double kPlotRightPx = 738;
constexpr double kPlotBottomPx = 462;
constexpr double kLegendLeftPx = 752;
constexpr double kLegendRowPx = 18;
constexpr double kLegendRowMinPx = 11;

constexpr double kTopAltitudeDeg = 90;
constexpr double kGridStepDeg = 10;
/// More hours than this on the axis: only every second hour is labelled.
constexpr double kHoursLabelledEachHour = 16;

/// Average advance of a character of the generic sans-serif at kLabelFontPx.
constexpr double kLabelCharPx = 6.4;

/// Shading, daylight to night: light enough that every curve colour stands out and
/// that the chart prints without a dark page.
constexpr std::array<std::string_view, 5> kBandFill = {"#fdfaee", "#eaeff5", "#dce3ed", "#ced8e5",
                                                       "#c0cddd"};
constexpr std::array<std::string_view, 5> kBandName = {
    "daylight", "civil twilight", "nautical twilight", "astronomical twilight", "night"};
constexpr std::array<double, 4> kBandLimitsDeg = {kSunsetAltitudeDeg, astro::kCivilTwilightDeg,
                                                  astro::kNauticalTwilightDeg,
                                                  astro::kAstronomicalTwilightDeg};

/// Okabe-Ito colours without the yellow (too faint on a light page) and the black
/// (kept for the start time and the limit); with the dash patterns and the marker shapes
/// below, each of 24 stars has its own style, and the labels at the minima name the
/// curves in grey too.
constexpr std::array<std::string_view, 6> kStarColour = {"#0072B2", "#D55E00", "#009E73",
                                                         "#CC79A7", "#E69F00", "#56B4E9"};
constexpr std::array<std::string_view, 4> kStarDash = {"", "7 3", "2 2", "9 3 2 3"};
/// The minima's markers, one shape for each round of the colours.
enum class Marker { kCircle, kSquare, kDiamond, kTriangle };
constexpr std::array<Marker, 4> kStarMarker = {Marker::kCircle, Marker::kSquare, Marker::kDiamond,
                                               Marker::kTriangle};
/// The eclipse window's stretch of a curve and, lighter, its uncertainty beyond each end.
constexpr std::string_view kWindowOpacity = "0.35";
constexpr std::string_view kUncertaintyOpacity = "0.15";
/// A curve's stretch behind the observer's skyline: thin and grey.
constexpr std::string_view kBehindSkylineColour = "#9a9a9a";
constexpr double kBehindSkylineWidthPx = 0.8;
constexpr std::string_view kMoonColour = "#555555";
constexpr std::string_view kMoonDash = "9 5";
constexpr std::string_view kLimitDash = "1.5 3";

/// A coordinate or a length, pixels, to a tenth of a pixel ("58.0").
std::string num(double value) {
  return fmt::format("{:.1f}", value + 0.0);  // + 0.0: no "-0.0"
}

/// A value in whole units, rounded half away from zero.
int whole(double value) { return astro::trunc_to_int(std::round(value)); }

/// Appends the text of `format` to the document.
template <typename... Args>
void add(std::string& svg, fmt::format_string<Args...> format, Args&&... args) {
  fmt::format_to(std::back_inserter(svg), format, std::forward<Args>(args)...);
}

/// Text for XML with the markup characters escaped. The chart is UTF-8, so a name keeps
/// its characters beyond ASCII; a byte of a hand-kept file that is a control or not
/// UTF-8 becomes '?', as no reader accepts it.
std::string xml_text(std::string_view text) {
  std::string out;
  for (const char c : io::printable_utf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

struct Axis {
  double first_hours = 0;
  double last_hours = 1;
  double x(double hours) const {
    return kPlotLeftPx +
           (hours - first_hours) / (last_hours - first_hours) * (kPlotRightPx - kPlotLeftPx);
  }
  static double y(double altitude_deg) {
    return kPlotBottomPx - altitude_deg / kTopAltitudeDeg * (kPlotBottomPx - kPlotTopPx);
  }
  bool contains(double hours) const { return hours >= first_hours && hours <= last_hours; }
};

std::string star_stroke(std::size_t index) {
  std::string style = fmt::format("stroke=\"{}\"", kStarColour[index % kStarColour.size()]);
  const std::string_view dash = kStarDash[index / kStarColour.size() % kStarDash.size()];
  if (!dash.empty()) add(style, " stroke-dasharray=\"{}\"", dash);
  return style;
}

Marker star_marker(std::size_t index) {
  return kStarMarker[index / kStarColour.size() % kStarMarker.size()];
}

/// A minimum's marker at (x, y) with `radius` (a circle's; the other shapes as large to
/// the eye) and the given SVG paint attributes.
void add_marker(std::string& svg, Marker marker, double x, double y, double radius,
                std::string_view paint) {
  switch (marker) {
    case Marker::kCircle:
      add(svg, "<circle cx=\"{}\" cy=\"{}\" r=\"{}\" {}/>\n", num(x), num(y), num(radius), paint);
      return;
    case Marker::kSquare: {
      const double half = radius * 0.9;
      add(svg, "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" {}/>\n", num(x - half),
          num(y - half), num(2 * half), num(2 * half), paint);
      return;
    }
    case Marker::kDiamond: {
      const double r = radius * 1.2;
      add(svg, "<polygon points=\"{},{} {},{} {},{} {},{}\" {}/>\n", num(x), num(y - r), num(x + r),
          num(y), num(x), num(y + r), num(x - r), num(y), paint);
      return;
    }
    case Marker::kTriangle: {
      const double r = radius * 1.25;
      add(svg, "<polygon points=\"{},{} {},{} {},{}\" {}/>\n", num(x), num(y - r),
          num(x + r * 0.87), num(y + r * 0.5), num(x - r * 0.87), num(y + r * 0.5), paint);
      return;
    }
  }
}

std::string points_of(const Axis& axis, const std::vector<double>& hours,
                      const std::vector<double>& altitude_deg, double from_hours, double to_hours) {
  std::string points;
  auto add_point = [&](double h, double a) {
    if (!points.empty()) points += ' ';
    add(points, "{},{}", num(axis.x(h)), num(Axis::y(a)));
  };
  const std::size_t n = std::min(hours.size(), altitude_deg.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (hours[i] < from_hours || hours[i] > to_hours) continue;
    // The stretch's ends, interpolated, where they fall between samples.
    if (i > 0 && hours[i - 1] < from_hours) {
      const double f = (from_hours - hours[i - 1]) / (hours[i] - hours[i - 1]);
      add_point(from_hours, altitude_deg[i - 1] + f * (altitude_deg[i] - altitude_deg[i - 1]));
    }
    add_point(hours[i], altitude_deg[i]);
    if (i + 1 < n && hours[i + 1] > to_hours) {
      const double f = (to_hours - hours[i]) / (hours[i + 1] - hours[i]);
      add_point(to_hours, altitude_deg[i] + f * (altitude_deg[i + 1] - altitude_deg[i]));
    }
  }
  return points;
}

void open_document(std::string& svg, const std::string& title) {
  add(svg, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  add(svg,
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"{0}\" "
      "height=\"{1}\" viewBox=\"0 0 {0} {1}\" font-family=\"sans-serif\" font-size=\"12\">\n",
      num(kWidthPx), num(kHeightPx));
  add(svg, "<title>{}</title>\n", xml_text(title));
  add(svg,
      "<defs><clipPath id=\"plot\"><rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\"/>"
      "</clipPath></defs>\n",
      num(kPlotLeftPx), num(kPlotTopPx), num(kPlotRightPx - kPlotLeftPx),
      num(kPlotBottomPx - kPlotTopPx));
  add(svg, "<rect width=\"{}\" height=\"{}\" fill=\"#ffffff\"/>\n", num(kWidthPx), num(kHeightPx));
  add(svg, "<text x=\"{}\" y=\"26\" font-size=\"17\" font-weight=\"bold\">{}</text>\n",
      num(kPlotLeftPx), xml_text(title));
}

void draw_shading(std::string& svg, const Axis& axis, const ChartSamples& s) {
  add(svg, "<g id=\"twilight\">\n");
  for (const ShadeSpan& span : shade_spans(s.hours, s.sun_altitude_deg)) {
    add(svg, "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"{}\"/>\n",
        num(axis.x(span.from_hours)), num(kPlotTopPx),
        num(axis.x(span.to_hours) - axis.x(span.from_hours)), num(kPlotBottomPx - kPlotTopPx),
        kBandFill[static_cast<std::size_t>(span.band)]);
  }
  add(svg, "</g>\n");
}

void draw_axes(std::string& svg, const Axis& axis, std::string_view clock_name) {
  add(svg, "<g id=\"grid\" stroke=\"#7d8b9e\" stroke-width=\"0.6\" stroke-opacity=\"0.5\">\n");
  for (double a = 0; a <= kTopAltitudeDeg; a += kGridStepDeg) {
    add(svg, "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\"/>\n", num(kPlotLeftPx), num(Axis::y(a)),
        num(kPlotRightPx), num(Axis::y(a)));
  }
  const int first = astro::trunc_to_int(std::ceil(axis.first_hours));
  const int last = astro::trunc_to_int(std::floor(axis.last_hours));
  for (int h = first; h <= last; ++h) {
    add(svg, "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\"/>\n", num(axis.x(h)), num(kPlotTopPx),
        num(axis.x(h)), num(kPlotBottomPx));
  }
  add(svg, "</g>\n");
  add(svg,
      "<rect x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"none\" stroke=\"#333333\"/>\n",
      num(kPlotLeftPx), num(kPlotTopPx), num(kPlotRightPx - kPlotLeftPx),
      num(kPlotBottomPx - kPlotTopPx));
  add(svg, "<g id=\"ticks\" font-size=\"11\" fill=\"#222222\">\n");
  for (double a = 0; a <= kTopAltitudeDeg; a += kGridStepDeg) {
    add(svg, "<text x=\"{}\" y=\"{}\" text-anchor=\"end\">{}</text>\n", num(kPlotLeftPx - 5),
        num(Axis::y(a) + 4), whole(a));
  }
  const int label_step = axis.last_hours - axis.first_hours > kHoursLabelledEachHour ? 2 : 1;
  for (int h = first; h <= last; ++h) {
    if ((h - first) % label_step != 0) continue;
    add(svg, "<text x=\"{}\" y=\"{}\" text-anchor=\"middle\">{}</text>\n", num(axis.x(h)),
        num(kPlotBottomPx + 15), h);
  }
  add(svg, "</g>\n");
  add(svg,
      "<text x=\"{}\" y=\"{}\" text-anchor=\"middle\" font-size=\"12\">{}, hours (after "
      "midnight counted on from 24)</text>\n",
      num((kPlotLeftPx + kPlotRightPx) / 2), num(kPlotBottomPx + 32), xml_text(clock_name));
  add(svg,
      "<text transform=\"translate(18 {}) rotate(-90)\" text-anchor=\"middle\" "
      "font-size=\"12\">Altitude, degrees</text>\n",
      num((kPlotTopPx + kPlotBottomPx) / 2));
}

void draw_limit_and_start(std::string& svg, const Axis& axis, const ChartSamples& s) {
  const double y = Axis::y(s.altitude_limit_deg);
  add(svg,
      "<line id=\"limit\" x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke=\"#000000\" "
      "stroke-width=\"1.3\" stroke-dasharray=\"{}\"/>\n",
      num(kPlotLeftPx), num(y), num(kPlotRightPx), num(y), kLimitDash);
  if (!axis.contains(s.start_hours)) return;
  const double x = axis.x(s.start_hours);
  add(svg,
      "<line id=\"start\" x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke=\"#000000\" "
      "stroke-width=\"1.6\"/>\n",
      num(x), num(kPlotTopPx), num(x), num(kPlotBottomPx));
  add(svg, "<text x=\"{}\" y=\"{}\" font-size=\"11\">start</text>\n", num(x + 4),
      num(kPlotTopPx + 12));
}

void draw_moon(std::string& svg, const Axis& axis, const ChartSamples& s) {
  add(svg,
      "<polyline id=\"moon\" clip-path=\"url(#plot)\" fill=\"none\" stroke=\"{}\" "
      "stroke-width=\"1.8\" stroke-dasharray=\"{}\" points=\"{}\"/>\n",
      kMoonColour, kMoonDash,
      points_of(axis, s.hours, s.moon_altitude_deg, axis.first_hours, axis.last_hours));
  // The word at the Moon's highest point on the chart, so the curve is named in place.
  const auto top = std::max_element(s.moon_altitude_deg.begin(), s.moon_altitude_deg.end());
  if (top == s.moon_altitude_deg.end() || !(*top > 0)) return;
  const auto at = static_cast<std::size_t>(top - s.moon_altitude_deg.begin());
  if (at >= s.hours.size()) return;
  const double x = std::clamp(axis.x(s.hours[at]), kPlotLeftPx + 20, kPlotRightPx - 20);
  const double y = std::clamp(Axis::y(*top) - 6, kPlotTopPx + 12, kPlotBottomPx - 4);
  add(svg,
      "<text x=\"{}\" y=\"{}\" text-anchor=\"middle\" font-size=\"11\" "
      "font-style=\"italic\" fill=\"{}\">Moon</text>\n",
      num(x), num(y), kMoonColour);
}

/// A star's curve where the skyline hides it at some samples: the stretches between
/// two visible samples in the star's own stroke, the rest thin and grey.
void draw_curve_with_skyline(std::string& svg, const Axis& axis, const std::vector<double>& hours,
                             const ChartStar& star, const std::string& stroke) {
  const std::size_t n =
      std::min({hours.size(), star.altitude_deg.size(), star.behind_skyline.size()});
  auto hidden_step = [&](std::size_t i) {  // the step from sample i - 1 to sample i
    return star.behind_skyline[i - 1] != 0 || star.behind_skyline[i] != 0;
  };
  std::size_t first = 0;
  for (std::size_t i = 1; i < n; ++i) {
    if (i + 1 < n && hidden_step(i + 1) == hidden_step(i)) continue;
    // Samples first to i are one stretch.
    std::string points;
    for (std::size_t k = first; k <= i; ++k) {
      if (!points.empty()) points += ' ';
      add(points, "{},{}", num(axis.x(hours[k])), num(Axis::y(star.altitude_deg[k])));
    }
    if (hidden_step(i)) {
      add(svg, "<polyline stroke=\"{}\" stroke-width=\"{}\" points=\"{}\"/>\n",
          kBehindSkylineColour, kBehindSkylineWidthPx, points);
    } else {
      add(svg, "<polyline {} points=\"{}\"/>\n", stroke, points);
    }
    first = i;
  }
}

void draw_stars(std::string& svg, const Axis& axis, const ChartSamples& s) {
  add(svg, "<g id=\"stars\" fill=\"none\" stroke-width=\"1.7\" clip-path=\"url(#plot)\">\n");
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    const ChartStar& star = s.stars[i];
    const std::string_view colour = kStarColour[i % kStarColour.size()];
    for (const ChartMinimum& m : star.minima) {
      const double first = m.hours - m.window_half_hours;
      const double last = m.hours + m.window_half_hours;
      auto band = [&](std::string_view opacity, std::string_view cap, double from, double to) {
        add(svg,
            "<polyline stroke=\"{}\" stroke-width=\"6\" stroke-opacity=\"{}\" "
            "stroke-linecap=\"{}\" points=\"{}\"/>\n",
            colour, opacity, cap, points_of(axis, s.hours, star.altitude_deg, from, to));
      };
      band(kWindowOpacity, "round", first, last);
      if (m.uncertainty_hours > 0) {
        band(kUncertaintyOpacity, "butt", first - m.uncertainty_hours, first);
        band(kUncertaintyOpacity, "butt", last, last + m.uncertainty_hours);
      }
    }
    if (std::find(star.behind_skyline.begin(), star.behind_skyline.end(), 1) ==
        star.behind_skyline.end()) {
      add(svg, "<polyline {} points=\"{}\"/>\n", star_stroke(i),
          points_of(axis, s.hours, star.altitude_deg, axis.first_hours, axis.last_hours));
    } else {
      draw_curve_with_skyline(svg, axis, s.hours, star, star_stroke(i));
    }
  }
  add(svg, "</g>\n");

  // Dots and labels after every curve, so no curve hides them.
  std::vector<LabelRequest> requests;
  for (const ChartStar& star : s.stars) {
    for (const ChartMinimum& m : star.minima) {
      if (!axis.contains(m.hours)) continue;
      requests.push_back({axis.x(m.hours),
                          Axis::y(std::clamp(m.altitude_deg, 0.0, kTopAltitudeDeg)), m.label,
                          m.short_label});
    }
  }
  const std::vector<PlacedLabel> labels =
      place_labels(requests, {kPlotLeftPx, kPlotTopPx, kPlotRightPx, kPlotBottomPx});
  std::size_t next = 0;
  add(svg, "<g id=\"minima\" font-size=\"{}\">\n", num(kLabelFontPx));
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    const std::string_view colour = kStarColour[i % kStarColour.size()];
    for (const ChartMinimum& m : s.stars[i].minima) {
      if (!axis.contains(m.hours)) continue;
      const LabelRequest& at = requests[next];
      const PlacedLabel& label = labels[next++];
      const double x = at.dot_x;
      const double y = at.dot_y;
      if (label.shown && label.led_out) {
        add(svg,
            "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" stroke=\"{}\" "
            "stroke-width=\"0.8\"/>\n",
            num(x), num(y), num(label.anchor_end ? label.x + 2 : label.x - 2), num(label.y - 4),
            colour);
      }
      // A primary minimum is a marker of the star's colour, a secondary one its outline.
      constexpr std::string_view kWhite = "#ffffff";
      add_marker(
          svg, star_marker(i), x, y, 4.5,
          fmt::format("fill=\"{}\" stroke=\"{}\" stroke-width=\"{}\"", m.primary ? colour : kWhite,
                      m.primary ? kWhite : colour, m.primary ? "1.2" : "2"));
      if (!label.shown) continue;
      add(svg,
          "<text x=\"{}\" y=\"{}\"{} stroke=\"#ffffff\" stroke-width=\"3\" "
          "stroke-opacity=\"0.8\" paint-order=\"stroke\" fill=\"#111111\">{}</text>\n",
          num(label.x), num(label.y), label.anchor_end ? " text-anchor=\"end\"" : "",
          xml_text(label.text));
    }
  }
  add(svg, "</g>\n");
}

/// Whole per cent, rounded half up.
int percent(double fraction) {
  return astro::trunc_to_int(std::clamp(fraction, 0.0, 1.0) * 100 + 0.5);
}

/// True when the skyline hides some star at some sample.
bool any_behind_skyline(const ChartSamples& s) {
  return std::any_of(s.stars.begin(), s.stars.end(), [](const ChartStar& star) {
    return std::find(star.behind_skyline.begin(), star.behind_skyline.end(), 1) !=
           star.behind_skyline.end();
  });
}

bool has_duration(const ChartStar& star) {
  return std::any_of(star.minima.begin(), star.minima.end(),
                     [](const ChartMinimum& m) { return m.window_from_duration; });
}

/// Where the chart's eclipse windows come from.
struct WindowSources {
  bool with_duration = false;     ///< some star's window is its eclipse
  bool without_duration = false;  ///< some star's is one hour either side
  bool uncertainty = false;       ///< some window has its uncertainty drawn
};

WindowSources window_sources(const ChartSamples& s) {
  WindowSources sources;
  for (const ChartStar& star : s.stars) {
    (has_duration(star) ? sources.with_duration : sources.without_duration) = true;
    for (const ChartMinimum& m : star.minima) {
      if (m.uncertainty_hours > 0) sources.uncertainty = true;
    }
  }
  return sources;
}

/// What the band key says of the thick stretches.
std::string window_key(const WindowSources& sources) {
  std::string key = !sources.with_duration     ? "thick: 1 h either side of a minimum"
                    : sources.without_duration ? "thick: eclipse (star.dat), else \xC2\xB1"
                                                 "1 h"
                                               : "thick: eclipse, first to last contact";
  if (sources.uncertainty) key += "; pale: uncertainty";
  return key;
}

void draw_legend(std::string& svg, const ChartSamples& s) {
  const bool skyline_row = any_behind_skyline(s);
  const std::size_t rows = s.stars.size() + 4 + (skyline_row ? 1 : 0);
  const double row =
      std::max(kLegendRowMinPx,
               std::min(kLegendRowPx, (kHeightPx - kPlotTopPx - 8) / static_cast<double>(rows)));
  double y = kPlotTopPx + 8;
  const double sample_left = kLegendLeftPx;
  const double sample_right = kLegendLeftPx + 26;
  const double text_left = sample_right + 6;
  auto line_row = [&](const std::string& stroke, const std::string& text) {
    add(svg, "<line x1=\"{}\" y1=\"{}\" x2=\"{}\" y2=\"{}\" {}/>\n", num(sample_left), num(y - 4),
        num(sample_right), num(y - 4), stroke);
    add(svg, "<text x=\"{}\" y=\"{}\">{}</text>\n", num(text_left), num(y), text);
    y += row;
  };
  add(svg, "<g id=\"legend\" font-size=\"11\">\n");
  line_row(fmt::format("stroke=\"{}\" stroke-width=\"1.8\" stroke-dasharray=\"{}\"", kMoonColour,
                       kMoonDash),
           fmt::format("Moon, {}% illuminated", percent(s.moon_illuminated_fraction)));
  line_row("stroke=\"#000000\" stroke-width=\"1.6\"", "start " + clock_text(s.start_hours));
  line_row(
      fmt::format("stroke=\"#000000\" stroke-width=\"1.3\" stroke-dasharray=\"{}\"", kLimitDash),
      fmt::format("altitude limit {}\xC2\xB0", whole(s.altitude_limit_deg)));
  if (skyline_row) {
    line_row(fmt::format("stroke=\"{}\" stroke-width=\"{}\"", kBehindSkylineColour,
                         kBehindSkylineWidthPx),
             "behind your horizon");
  }
  add(svg,
      "<circle cx=\"{}\" cy=\"{}\" r=\"4\" fill=\"#333333\"/><text x=\"{}\" y=\"{}\">"
      "primary</text>\n",
      num(sample_left + 4), num(y - 4), num(sample_left + 12), num(y));
  add(svg,
      "<circle cx=\"{}\" cy=\"{}\" r=\"4\" fill=\"#ffffff\" stroke=\"#333333\" "
      "stroke-width=\"1.8\"/><text x=\"{}\" y=\"{}\">secondary minimum</text>\n",
      num(sample_left + 68), num(y - 4), num(sample_left + 76), num(y));
  y += row;
  const WindowSources sources = window_sources(s);
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    if (star_marker(i) != Marker::kCircle) {
      add_marker(svg, star_marker(i), (sample_left + sample_right) / 2, y - 4, 3.5,
                 fmt::format("fill=\"{}\"", kStarColour[i % kStarColour.size()]));
    }
    // Where only some stars have a duration, the others are named as one hour either side.
    const bool hour_either_side = sources.with_duration && !has_duration(s.stars[i]);
    line_row(star_stroke(i) + " stroke-width=\"2\"",
             xml_text(s.stars[i].name) + (hour_either_side ? " (\xC2\xB1"
                                                             "1 h)"
                                                           : ""));
  }
  add(svg, "</g>\n");
}

void draw_band_key(std::string& svg, const ChartSamples& s) {
  double x = kPlotLeftPx;
  const double y = kHeightPx - 14;
  add(svg, "<g id=\"twilight-key\" font-size=\"11\">\n");
  for (std::size_t band = 0; band < kBandFill.size(); ++band) {
    add(svg,
        "<rect x=\"{}\" y=\"{}\" width=\"14\" height=\"12\" fill=\"{}\" stroke=\"#7d8b9e\" "
        "stroke-width=\"0.6\"/>\n",
        num(x), num(y - 10), kBandFill[band]);
    add(svg, "<text x=\"{}\" y=\"{}\">{}</text>\n", num(x + 19), num(y), kBandName[band]);
    x += 26 + static_cast<double>(kBandName[band].size()) * kLabelCharPx;
  }
  add(svg, "<text x=\"{}\" y=\"{}\" fill=\"#333333\">{}</text>\n", num(x + 8), num(y),
      window_key(window_sources(s)));
  add(svg, "</g>\n");
}

}  // namespace

std::vector<ShadeSpan> shade_spans(const std::vector<double>& hours,
                                   const std::vector<double>& sun_altitude_deg) {
  const std::size_t n = std::min(hours.size(), sun_altitude_deg.size());
  std::vector<ShadeSpan> spans;
  if (n == 0) return spans;
  auto band_of = [](double altitude) {
    int band = 0;
    for (const double limit : kBandLimitsDeg) {
      if (altitude < limit) ++band;
    }
    return band;
  };
  spans.push_back({hours[0], hours[0], band_of(sun_altitude_deg[0])});
  for (std::size_t i = 1; i < n; ++i) {
    const double a0 = sun_altitude_deg[i - 1];
    const double a1 = sun_altitude_deg[i];
    int band = band_of(a0);
    const int to_band = band_of(a1);
    // One crossing per limit passed between the two samples, in time order.
    while (band != to_band) {
      const bool falling = to_band > band;
      const double limit = kBandLimitsDeg[static_cast<std::size_t>(falling ? band : band - 1)];
      const double f = (limit - a0) / (a1 - a0);
      const double at = hours[i - 1] + f * (hours[i] - hours[i - 1]);
      spans.back().to_hours = at;
      band += falling ? 1 : -1;
      spans.push_back({at, at, band});
    }
    spans.back().to_hours = hours[i];
  }
  return spans;
}

std::string chart_svg(const ChartSamples& s) {
  Axis axis;
  if (!s.hours.empty()) {
    axis.first_hours = s.hours.front();
    axis.last_hours = std::max(s.hours.back(), s.hours.front() + 1);
  }
  std::string svg;
  open_document(svg, s.title);
  draw_shading(svg, axis, s);
  draw_axes(svg, axis, s.clock_name);
  draw_moon(svg, axis, s);
  draw_stars(svg, axis, s);
  draw_limit_and_start(svg, axis, s);
  if (s.stars.empty()) {
    add(svg,
        "<text x=\"{}\" y=\"{}\" text-anchor=\"middle\" font-size=\"20\" fill=\"#333333\">no "
        "minima in the plan</text>\n",
        num((kPlotLeftPx + kPlotRightPx) / 2), num((kPlotTopPx + kPlotBottomPx) / 2));
  }
  draw_legend(svg, s);
  draw_band_key(svg, s);
  add(svg, "</svg>\n");
  return svg;
}

}  // namespace nightmark
