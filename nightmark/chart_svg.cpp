#include "chart_svg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "astro/ephemeris.h"
#include "astro/numeric.h"
#include "formats/fixed_format.h"
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
/// Half the stretch of curve highlighted around each minimum, hours.
constexpr double kHighlightHalfHours = 1;
/// More hours than this on the axis: only every second hour is labelled.
constexpr double kHoursLabelledEachHour = 16;

constexpr double kLabelFontPx = 11;
/// Average advance of a character of the generic sans-serif at kLabelFontPx.
constexpr double kLabelCharPx = 6.4;
constexpr double kLabelHeightPx = 12;

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
/// (kept for the start time and the limit); with the dash patterns below, each of 24
/// stars has its own style, and the labels at the minima name the curves in grey too.
constexpr std::array<std::string_view, 6> kStarColour = {"#0072B2", "#D55E00", "#009E73",
                                                         "#CC79A7", "#E69F00", "#56B4E9"};
constexpr std::array<std::string_view, 4> kStarDash = {"", "7 3", "2 2", "9 3 2 3"};
constexpr std::string_view kMoonColour = "#555555";
constexpr std::string_view kMoonDash = "9 5";
constexpr std::string_view kLimitDash = "1.5 3";

/// A coordinate, to a tenth of a pixel.
std::string num(double value) {
  std::string text;
  formats::append_fixed(text, value + 0.0, 0, 1);  // + 0.0: no "-0.0"
  return text;
}

std::string whole(double value) { return std::to_string(astro::trunc_to_int(std::round(value))); }

/// Text for XML with the markup characters escaped. With `ascii_only` (names from a
/// hand-kept file, which may hold bytes that are not UTF-8 and that no reader accepts)
/// every byte outside printable ASCII becomes '?'.
std::string xml_text(std::string_view text, bool ascii_only = true) {
  std::string out;
  for (const char c : text) {
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
        const bool beyond_ascii = static_cast<unsigned char>(c) > 0x7f;
        out += io::is_printable_ascii(c) || (beyond_ascii && !ascii_only) ? c : '?';
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
  std::string style = "stroke=\"" + std::string(kStarColour[index % kStarColour.size()]) + "\"";
  const std::string_view dash = kStarDash[index / kStarColour.size() % kStarDash.size()];
  if (!dash.empty()) style += " stroke-dasharray=\"" + std::string(dash) + "\"";
  return style;
}

std::string points_of(const Axis& axis, const std::vector<double>& hours,
                      const std::vector<double>& altitude_deg, double from_hours, double to_hours) {
  std::string points;
  auto add = [&](double h, double a) {
    if (!points.empty()) points += ' ';
    points += num(axis.x(h)) + "," + num(Axis::y(a));
  };
  const std::size_t n = std::min(hours.size(), altitude_deg.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (hours[i] < from_hours || hours[i] > to_hours) continue;
    // The stretch's ends, interpolated, where they fall between samples.
    if (i > 0 && hours[i - 1] < from_hours) {
      const double f = (from_hours - hours[i - 1]) / (hours[i] - hours[i - 1]);
      add(from_hours, altitude_deg[i - 1] + f * (altitude_deg[i] - altitude_deg[i - 1]));
    }
    add(hours[i], altitude_deg[i]);
    if (i + 1 < n && hours[i + 1] > to_hours) {
      const double f = (to_hours - hours[i]) / (hours[i + 1] - hours[i]);
      add(to_hours, altitude_deg[i] + f * (altitude_deg[i + 1] - altitude_deg[i]));
    }
  }
  return points;
}

struct Box {
  double left, top, right, bottom;
  bool overlaps(const Box& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
};

/// Where a minimum's label goes: beside its dot, moved up or down in steps until it
/// overlaps no label placed before and stays in the plot.
struct PlacedLabel {
  double x = 0, y = 0;  ///< baseline start (or end, when anchored at the end)
  bool anchor_end = false;
  bool moved = false;  ///< far enough from the dot to need a leader line
};

PlacedLabel place_label(double dot_x, double dot_y, std::size_t chars, std::vector<Box>& taken) {
  const double width = static_cast<double>(chars) * kLabelCharPx;
  const bool anchor_end = dot_x + 7 + width > kPlotRightPx;
  const double left = anchor_end ? dot_x - 7 - width : dot_x + 7;
  constexpr std::array<double, 15> kOffsetsPx = {-7,  13, -21, 27, -35, 41, -49, 55,
                                                 -63, 69, -77, 83, -91, 97, -105};
  for (const double dy : kOffsetsPx) {
    const double baseline = dot_y + dy + 4;
    const Box box{left, baseline - kLabelHeightPx + 2, left + width, baseline + 2};
    if (box.top < kPlotTopPx || box.bottom > kPlotBottomPx) continue;
    if (std::any_of(taken.begin(), taken.end(), [&](const Box& b) { return b.overlaps(box); })) {
      continue;
    }
    taken.push_back(box);
    return {anchor_end ? left + width : left, baseline, anchor_end, std::fabs(dy) > 20};
  }
  const double baseline = std::clamp(dot_y - 3, kPlotTopPx + kLabelHeightPx, kPlotBottomPx - 2);
  return {anchor_end ? left + width : left, baseline, anchor_end, false};
}

void open_document(std::string& svg, const std::string& title) {
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(kWidthPx) +
         "\" height=\"" + num(kHeightPx) + "\" viewBox=\"0 0 " + num(kWidthPx) + " " +
         num(kHeightPx) + "\" font-family=\"sans-serif\" font-size=\"12\">\n";
  svg += "<title>" + xml_text(title, false) + "</title>\n";
  svg += "<defs><clipPath id=\"plot\"><rect x=\"" + num(kPlotLeftPx) + "\" y=\"" + num(kPlotTopPx) +
         "\" width=\"" + num(kPlotRightPx - kPlotLeftPx) + "\" height=\"" +
         num(kPlotBottomPx - kPlotTopPx) + "\"/></clipPath></defs>\n";
  svg += "<rect width=\"" + num(kWidthPx) + "\" height=\"" + num(kHeightPx) +
         "\" fill=\"#ffffff\"/>\n";
  svg += "<text x=\"" + num(kPlotLeftPx) + "\" y=\"26\" font-size=\"17\" font-weight=\"bold\">" +
         xml_text(title, false) + "</text>\n";
}

void draw_shading(std::string& svg, const Axis& axis, const ChartSamples& s) {
  svg += "<g id=\"twilight\">\n";
  for (const ShadeSpan& span : shade_spans(s.hours, s.sun_altitude_deg)) {
    svg += "<rect x=\"" + num(axis.x(span.from_hours)) + "\" y=\"" + num(kPlotTopPx) +
           "\" width=\"" + num(axis.x(span.to_hours) - axis.x(span.from_hours)) + "\" height=\"" +
           num(kPlotBottomPx - kPlotTopPx) + "\" fill=\"" +
           std::string(kBandFill[static_cast<std::size_t>(span.band)]) + "\"/>\n";
  }
  svg += "</g>\n";
}

void draw_axes(std::string& svg, const Axis& axis) {
  svg += "<g id=\"grid\" stroke=\"#7d8b9e\" stroke-width=\"0.6\" stroke-opacity=\"0.5\">\n";
  for (double a = 0; a <= kTopAltitudeDeg; a += kGridStepDeg) {
    svg += "<line x1=\"" + num(kPlotLeftPx) + "\" y1=\"" + num(Axis::y(a)) + "\" x2=\"" +
           num(kPlotRightPx) + "\" y2=\"" + num(Axis::y(a)) + "\"/>\n";
  }
  const int first = astro::trunc_to_int(std::ceil(axis.first_hours));
  const int last = astro::trunc_to_int(std::floor(axis.last_hours));
  for (int h = first; h <= last; ++h) {
    svg += "<line x1=\"" + num(axis.x(h)) + "\" y1=\"" + num(kPlotTopPx) + "\" x2=\"" +
           num(axis.x(h)) + "\" y2=\"" + num(kPlotBottomPx) + "\"/>\n";
  }
  svg += "</g>\n";
  svg += "<rect x=\"" + num(kPlotLeftPx) + "\" y=\"" + num(kPlotTopPx) + "\" width=\"" +
         num(kPlotRightPx - kPlotLeftPx) + "\" height=\"" + num(kPlotBottomPx - kPlotTopPx) +
         "\" fill=\"none\" stroke=\"#333333\"/>\n";
  svg += "<g id=\"ticks\" font-size=\"11\" fill=\"#222222\">\n";
  for (double a = 0; a <= kTopAltitudeDeg; a += kGridStepDeg) {
    svg += "<text x=\"" + num(kPlotLeftPx - 5) + "\" y=\"" + num(Axis::y(a) + 4) +
           "\" text-anchor=\"end\">" + whole(a) + "</text>\n";
  }
  const int label_step = axis.last_hours - axis.first_hours > kHoursLabelledEachHour ? 2 : 1;
  for (int h = first; h <= last; ++h) {
    if ((h - first) % label_step != 0) continue;
    svg += "<text x=\"" + num(axis.x(h)) + "\" y=\"" + num(kPlotBottomPx + 15) +
           "\" text-anchor=\"middle\">" + std::to_string(h) + "</text>\n";
  }
  svg += "</g>\n";
  svg += "<text x=\"" + num((kPlotLeftPx + kPlotRightPx) / 2) + "\" y=\"" +
         num(kPlotBottomPx + 32) +
         "\" text-anchor=\"middle\" font-size=\"12\">JST, hours (after midnight counted on "
         "from 24)</text>\n";
  svg += "<text transform=\"translate(18 " + num((kPlotTopPx + kPlotBottomPx) / 2) +
         ") rotate(-90)\" text-anchor=\"middle\" font-size=\"12\">Altitude, degrees</text>\n";
}

void draw_limit_and_start(std::string& svg, const Axis& axis, const ChartSamples& s) {
  const double y = Axis::y(s.altitude_limit_deg);
  svg += "<line id=\"limit\" x1=\"" + num(kPlotLeftPx) + "\" y1=\"" + num(y) + "\" x2=\"" +
         num(kPlotRightPx) + "\" y2=\"" + num(y) +
         "\" stroke=\"#000000\" stroke-width=\"1.3\" stroke-dasharray=\"" +
         std::string(kLimitDash) + "\"/>\n";
  if (!axis.contains(s.start_hours)) return;
  const double x = axis.x(s.start_hours);
  svg += "<line id=\"start\" x1=\"" + num(x) + "\" y1=\"" + num(kPlotTopPx) + "\" x2=\"" + num(x) +
         "\" y2=\"" + num(kPlotBottomPx) + "\" stroke=\"#000000\" stroke-width=\"1.6\"/>\n";
  svg += "<text x=\"" + num(x + 4) + "\" y=\"" + num(kPlotTopPx + 12) +
         "\" font-size=\"11\">start</text>\n";
}

void draw_moon(std::string& svg, const Axis& axis, const ChartSamples& s) {
  svg += "<polyline id=\"moon\" clip-path=\"url(#plot)\" fill=\"none\" stroke=\"" +
         std::string(kMoonColour) + "\" stroke-width=\"1.8\" stroke-dasharray=\"" +
         std::string(kMoonDash) + "\" points=\"" +
         points_of(axis, s.hours, s.moon_altitude_deg, axis.first_hours, axis.last_hours) +
         "\"/>\n";
  // The word at the Moon's highest point on the chart, so the curve is named in place.
  const auto top = std::max_element(s.moon_altitude_deg.begin(), s.moon_altitude_deg.end());
  if (top == s.moon_altitude_deg.end() || !(*top > 0)) return;
  const auto at = static_cast<std::size_t>(top - s.moon_altitude_deg.begin());
  if (at >= s.hours.size()) return;
  const double x = std::clamp(axis.x(s.hours[at]), kPlotLeftPx + 20, kPlotRightPx - 20);
  const double y = std::clamp(Axis::y(*top) - 6, kPlotTopPx + 12, kPlotBottomPx - 4);
  svg += "<text x=\"" + num(x) + "\" y=\"" + num(y) +
         "\" text-anchor=\"middle\" font-size=\"11\" "
         "font-style=\"italic\" fill=\"" +
         std::string(kMoonColour) + "\">Moon</text>\n";
}

void draw_stars(std::string& svg, const Axis& axis, const ChartSamples& s) {
  svg += "<g id=\"stars\" fill=\"none\" stroke-width=\"1.7\" clip-path=\"url(#plot)\">\n";
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    const ChartStar& star = s.stars[i];
    const std::string colour(kStarColour[i % kStarColour.size()]);
    for (const ChartMinimum& m : star.minima) {
      svg += "<polyline stroke=\"" + colour +
             "\" stroke-width=\"6\" stroke-opacity=\"0.35\" stroke-linecap=\"round\" "
             "points=\"" +
             points_of(axis, s.hours, star.altitude_deg, m.hours - kHighlightHalfHours,
                       m.hours + kHighlightHalfHours) +
             "\"/>\n";
    }
    svg += "<polyline " + star_stroke(i) + " points=\"" +
           points_of(axis, s.hours, star.altitude_deg, axis.first_hours, axis.last_hours) +
           "\"/>\n";
  }
  svg += "</g>\n";

  // Dots and labels after every curve, so no curve hides them.
  std::vector<Box> taken;
  svg += "<g id=\"minima\" font-size=\"" + num(kLabelFontPx) + "\">\n";
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    const std::string colour(kStarColour[i % kStarColour.size()]);
    for (const ChartMinimum& m : s.stars[i].minima) {
      if (!axis.contains(m.hours)) continue;
      const double x = axis.x(m.hours);
      const double y = Axis::y(std::clamp(m.altitude_deg, 0.0, kTopAltitudeDeg));
      const PlacedLabel label = place_label(x, y, m.label.size(), taken);
      if (label.moved) {
        svg += "<line x1=\"" + num(x) + "\" y1=\"" + num(y) + "\" x2=\"" +
               num(label.anchor_end ? label.x + 2 : label.x - 2) + "\" y2=\"" + num(label.y - 4) +
               "\" stroke=\"" + colour + "\" stroke-width=\"0.8\"/>\n";
      }
      svg += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"4.5\" fill=\"" +
             (m.primary ? colour : std::string("#ffffff")) + "\" stroke=\"" +
             (m.primary ? std::string("#ffffff") : colour) + "\" stroke-width=\"" +
             (m.primary ? "1.2" : "2") + "\"/>\n";
      svg += "<text x=\"" + num(label.x) + "\" y=\"" + num(label.y) + "\"" +
             (label.anchor_end ? " text-anchor=\"end\"" : "") +
             " stroke=\"#ffffff\" stroke-width=\"3\" stroke-opacity=\"0.8\" "
             "paint-order=\"stroke\" fill=\"#111111\">" +
             xml_text(m.label) + "</text>\n";
    }
  }
  svg += "</g>\n";
}

std::string percent_text(double fraction) {
  const int percent = astro::trunc_to_int(std::clamp(fraction, 0.0, 1.0) * 100 + 0.5);
  return std::to_string(percent) + "%";
}

void draw_legend(std::string& svg, const ChartSamples& s) {
  const std::size_t rows = s.stars.size() + 4;
  const double row =
      std::max(kLegendRowMinPx,
               std::min(kLegendRowPx, (kHeightPx - kPlotTopPx - 8) / static_cast<double>(rows)));
  double y = kPlotTopPx + 8;
  const double sample_left = kLegendLeftPx;
  const double sample_right = kLegendLeftPx + 26;
  const double text_left = sample_right + 6;
  auto line_row = [&](const std::string& stroke, const std::string& text) {
    svg += "<line x1=\"" + num(sample_left) + "\" y1=\"" + num(y - 4) + "\" x2=\"" +
           num(sample_right) + "\" y2=\"" + num(y - 4) + "\" " + stroke + "/>\n";
    svg += "<text x=\"" + num(text_left) + "\" y=\"" + num(y) + "\">" + text + "</text>\n";
    y += row;
  };
  svg += "<g id=\"legend\" font-size=\"11\">\n";
  line_row("stroke=\"" + std::string(kMoonColour) + "\" stroke-width=\"1.8\" stroke-dasharray=\"" +
               std::string(kMoonDash) + "\"",
           "Moon, " + percent_text(s.moon_illuminated_fraction) + " illuminated");
  line_row("stroke=\"#000000\" stroke-width=\"1.6\"", "start " + clock_text(s.start_hours));
  line_row("stroke=\"#000000\" stroke-width=\"1.3\" stroke-dasharray=\"" + std::string(kLimitDash) +
               "\"",
           "altitude limit " + whole(s.altitude_limit_deg) + "\xC2\xB0");
  svg += "<circle cx=\"" + num(sample_left + 4) + "\" cy=\"" + num(y - 4) +
         "\" r=\"4\" fill=\"#333333\"/><text x=\"" + num(sample_left + 12) + "\" y=\"" + num(y) +
         "\">primary</text>\n";
  svg += "<circle cx=\"" + num(sample_left + 68) + "\" cy=\"" + num(y - 4) +
         "\" r=\"4\" fill=\"#ffffff\" stroke=\"#333333\" stroke-width=\"1.8\"/><text x=\"" +
         num(sample_left + 76) + "\" y=\"" + num(y) + "\">secondary minimum</text>\n";
  y += row;
  for (std::size_t i = 0; i < s.stars.size(); ++i) {
    line_row(star_stroke(i) + " stroke-width=\"2\"", xml_text(s.stars[i].name));
  }
  svg += "</g>\n";
}

void draw_band_key(std::string& svg) {
  double x = kPlotLeftPx;
  const double y = kHeightPx - 14;
  svg += "<g id=\"twilight-key\" font-size=\"11\">\n";
  for (std::size_t band = 0; band < kBandFill.size(); ++band) {
    svg += "<rect x=\"" + num(x) + "\" y=\"" + num(y - 10) +
           "\" width=\"14\" height=\"12\" fill=\"" + std::string(kBandFill[band]) +
           "\" stroke=\"#7d8b9e\" stroke-width=\"0.6\"/>\n";
    svg += "<text x=\"" + num(x + 19) + "\" y=\"" + num(y) + "\">" + std::string(kBandName[band]) +
           "</text>\n";
    x += 26 + static_cast<double>(kBandName[band].size()) * kLabelCharPx;
  }
  svg += "<text x=\"" + num(x + 8) + "\" y=\"" + num(y) +
         "\" fill=\"#333333\">thick: 1 h either side of a minimum</text>\n";
  svg += "</g>\n";
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
  draw_axes(svg, axis);
  draw_moon(svg, axis, s);
  draw_stars(svg, axis, s);
  draw_limit_and_start(svg, axis, s);
  if (s.stars.empty()) {
    svg += "<text x=\"" + num((kPlotLeftPx + kPlotRightPx) / 2) + "\" y=\"" +
           num((kPlotTopPx + kPlotBottomPx) / 2) +
           "\" text-anchor=\"middle\" font-size=\"20\" fill=\"#333333\">no minima in the "
           "plan</text>\n";
  }
  draw_legend(svg, s);
  draw_band_key(svg);
  svg += "</svg>\n";
  return svg;
}

}  // namespace nightmark
