#include "chart_svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "chart_labels.h"
#include "svg_check.h"

namespace nightmark {
namespace {

using testing_svg::expect_well_formed;

TEST(ShadeSpans, BandsChangeWhereTheSunCrossesTheirLimits) {
  // Falling 10 degrees an hour, then rising again.
  const std::vector<ShadeSpan> spans = shade_spans({18, 19, 20, 21}, {0.0, -10.0, -20.0, -10.0});
  struct Want {
    double from, to;
    int band;
  } want[] = {{18, 18.0833, 0}, {18.0833, 18.6, 1}, {18.6, 19.2, 2}, {19.2, 19.8, 3},
              {19.8, 20.2, 4},  {20.2, 20.8, 3},    {20.8, 21, 2}};
  ASSERT_EQ(spans.size(), std::size(want));
  for (std::size_t i = 0; i < spans.size(); ++i) {
    EXPECT_NEAR(spans[i].from_hours, want[i].from, 1e-12) << i;
    EXPECT_NEAR(spans[i].to_hours, want[i].to, 1e-12) << i;
    EXPECT_EQ(spans[i].band, want[i].band) << i;
  }
  EXPECT_TRUE(shade_spans({}, {}).empty());
  const std::vector<ShadeSpan> night = shade_spans({22, 23}, {-40, -41});
  ASSERT_EQ(night.size(), 1u);
  EXPECT_EQ(night[0].band, 4);
}

/// A night of samples every tenth of an hour from 17 to 31, with `stars` stars.
ChartSamples synthetic_night(std::size_t stars) {
  ChartSamples s;
  s.title = "EB minima, night of 2006-03-05 (JST), site 139.77\xC2\xB0 E, 35.67\xC2\xB0 N";
  s.start_hours = 20;
  s.moon_illuminated_fraction = 0.374;
  for (int i = 0; i <= 140; ++i) {
    const double h = 17 + i / 10.0;
    s.hours.push_back(h);
    s.sun_altitude_deg.push_back(-std::abs(24 - h) * -8 - 48);
    s.moon_altitude_deg.push_back(60 - 8 * (h - 17));
  }
  for (std::size_t k = 0; k < stars; ++k) {
    ChartStar star;
    star.name = "V" + std::to_string(k + 1) + " Cyg";
    for (const double h : s.hours) star.altitude_deg.push_back(80 - 6 * std::abs(h - 20 - k * 0.3));
    const double t = 21 + 0.1 * static_cast<double>(k % 5);  // crowded minima
    star.minima.push_back({.primary = k % 2 == 0,
                           .hours = t,
                           .altitude_deg = 80 - 6 * std::abs(t - 20 - k * 0.3),
                           .label = star.name + " 21:30",
                           .short_label = "21:30"});
    s.stars.push_back(std::move(star));
  }
  return s;
}

TEST(ChartSvg, WellFormedWithEveryPart) {
  const std::string svg = chart_svg(synthetic_night(3));
  expect_well_formed(svg, "three-star chart");
  EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_EQ(svg.find("<script"), std::string::npos);
  EXPECT_EQ(svg.find("href"), std::string::npos) << "no external image or font";
  for (const char* part : {"id=\"twilight\"", "id=\"moon\"", "id=\"limit\"", "id=\"start\"",
                           "Moon, 37% illuminated", "V1 Cyg 21:30", "V3 Cyg 21:30",
                           "139.77\xC2\xB0 E, 35.67\xC2\xB0 N", ">18</text>", ">30</text>"}) {
    EXPECT_NE(svg.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(svg.find("no minima in the plan"), std::string::npos);
}

// Behind the skyline a curve is thin and grey, in stretches that meet the star's own
// stroke at the samples where it passes behind and comes out; without a skyline, or with
// nothing hidden, one polyline as before.
TEST(ChartSvg, BehindTheSkylineThinAndGrey) {
  ChartSamples s = synthetic_night(1);
  const std::string open = chart_svg(s);
  s.stars[0].behind_skyline.assign(s.hours.size(), 0);
  EXPECT_EQ(chart_svg(s), open);
  EXPECT_EQ(open.find("behind your horizon"), std::string::npos);
  // Hidden from sample 30 to 50 and from 120 on.
  for (std::size_t i = 30; i <= 50; ++i) s.stars[0].behind_skyline[i] = 1;
  for (std::size_t i = 120; i < s.hours.size(); ++i) s.stars[0].behind_skyline[i] = 1;
  const std::string svg = chart_svg(s);
  expect_well_formed(svg, "chart with a skyline");
  const std::string grey = "<polyline stroke=\"#9a9a9a\" stroke-width=\"0.8\" points=\"";
  const std::string own = "<polyline stroke=\"#0072B2\" points=\"";
  std::vector<std::string> stretches;  // the strokes in drawing order
  std::vector<std::string> points;
  for (std::size_t at = svg.find("<polyline stroke=\"#"); at != std::string::npos;
       at = svg.find("<polyline stroke=\"#", at + 1)) {
    const std::string line = svg.substr(at, svg.find('\n', at) - at);
    if (line.starts_with(grey)) stretches.push_back("grey");
    if (line.starts_with(own)) stretches.push_back("own");
    if (line.starts_with(grey) || line.starts_with(own)) {
      const std::size_t from = line.find("points=\"") + 8;
      points.push_back(line.substr(from, line.rfind('"') - from));
    }
  }
  ASSERT_EQ(stretches, (std::vector<std::string>{"own", "grey", "own", "grey"}));
  // Each stretch starts where the one before ends: samples 0-29, 29-51, 51-119, 119-140.
  for (std::size_t k = 1; k < points.size(); ++k) {
    const std::string& before = points[k - 1];
    EXPECT_TRUE(points[k].starts_with(before.substr(before.rfind(' ') + 1) + " ")) << k;
  }
  EXPECT_EQ(std::count(points[1].begin(), points[1].end(), ' '), 22);  // 23 samples
  EXPECT_NE(svg.find("stroke=\"#9a9a9a\" stroke-width=\"0.8\"/>\n<text"), std::string::npos);
  EXPECT_NE(svg.find(">behind your horizon</text>"), std::string::npos);
}

TEST(ChartSvg, EmptyPlanShowsTheNightAndTheMoon) {
  const std::string svg = chart_svg(synthetic_night(0));
  expect_well_formed(svg, "empty chart");
  for (const char* part : {"no minima in the plan", "id=\"twilight\"", "id=\"moon\""}) {
    EXPECT_NE(svg.find(part), std::string::npos) << part;
  }
}

TEST(ChartSvg, NamesAreEscaped) {
  ChartSamples s = synthetic_night(1);
  s.stars[0].name = "A&B <C> \"D\" \xE9\x01";
  s.stars[0].minima[0].label = s.stars[0].name + " 21:30";
  const std::string svg = chart_svg(s);
  expect_well_formed(svg, "chart with markup in a name");
  EXPECT_NE(svg.find("A&amp;B &lt;C&gt; &quot;D&quot; ??"), std::string::npos);
}

TEST(ChartSvg, UnicodeNamesKeepTheirCharactersAndOtherBytesBecomeQuestionMarks) {
  ChartSamples s = synthetic_night(1);
  s.stars[0].name =
      "caf\xC3\xA9 \xE5\x8C\x97\t\xC3 \xC2\x9B"
      "1m";
  s.stars[0].minima[0].label = s.stars[0].name + " 21:30";
  const std::string svg = chart_svg(s);
  expect_well_formed(svg, "chart with UTF-8 and stray bytes in a name");
  EXPECT_NE(svg.find(">caf\xC3\xA9 \xE5\x8C\x97?? ??1m</text>"), std::string::npos) << svg;
  EXPECT_NE(svg.find(">caf\xC3\xA9 \xE5\x8C\x97?? ??1m 21:30</text>"), std::string::npos);
}

TEST(ChartSvg, TwentyStarsEachWithItsOwnStyle) {
  const std::string svg = chart_svg(synthetic_night(20));
  expect_well_formed(svg, "twenty-star chart");
  const std::string legend = svg.substr(svg.find("<g id=\"legend\""));
  const std::regex sample("<line [^>]*(stroke=\"#[0-9A-Fa-f]+\"[^/]*)/>");
  std::set<std::string> styles;
  for (auto it = std::sregex_iterator(legend.begin(), legend.end(), sample);
       it != std::sregex_iterator(); ++it) {
    styles.insert((*it)[1]);
  }
  EXPECT_EQ(styles.size(), 20u + 3u) << "20 stars, the Moon, the start and the limit";
  for (int k = 1; k <= 20; ++k) {
    const std::string label = "V" + std::to_string(k) + " Cyg 21:30</text>";
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  }
}

/// The attribute `name` of the element text `element`, or "".
std::string attribute(const std::string& element, const std::string& name) {
  const std::size_t at = element.find(" " + name + "=\"");
  if (at == std::string::npos) return "";
  const std::size_t from = at + name.size() + 3;
  return element.substr(from, element.find('"', from) - from);
}

// Twenty stars on one night, all minima within 25 minutes: no two labels' boxes (their
// width estimated generously from the font's advances) intersect, and each star's markers
// differ from every other star's in colour or in shape.
TEST(ChartSvg, TwentyStarsLabelsApartAndColoursWithASecondCue) {
  const std::string svg = chart_svg(synthetic_night(20));
  const std::size_t group = svg.find("<g id=\"minima\"");
  const std::string minima = svg.substr(group, svg.find("</g>", group) - group);
  std::vector<LabelBox> boxes;
  std::set<std::pair<std::string, std::string>> markers;  // element and colour
  std::size_t marker_count = 0;
  for (std::size_t at = minima.find('<', 1); at != std::string::npos;
       at = minima.find('<', at + 1)) {
    const std::string element = minima.substr(at, minima.find('>', at) - at);
    const std::string tag = element.substr(1, element.find(' ') - 1);
    if (tag == "text") {
      const std::size_t text_from = minima.find('>', at) + 1;
      const std::string text = minima.substr(text_from, minima.find('<', text_from) - text_from);
      const double x = std::stod(attribute(element, "x"));
      const double y = std::stod(attribute(element, "y"));
      const double width = label_width_px(text);
      const double left = attribute(element, "text-anchor") == "end" ? x - width : x;
      boxes.push_back({left, y - 10, left + width, y + 2});
    } else if (tag == "circle" || tag == "rect" || tag == "polygon") {
      const std::string fill = attribute(element, "fill");
      // A polygon's shape by its corners: a diamond has four, a triangle three.
      const std::string shape =
          tag + std::to_string(std::count(element.begin(), element.end(), ','));
      markers.insert({shape, fill == "#ffffff" ? attribute(element, "stroke") : fill});
      ++marker_count;
    }
  }
  ASSERT_EQ(boxes.size(), 20u) << "every label shown";
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t k = 0; k < i; ++k) EXPECT_FALSE(boxes[i].overlaps(boxes[k])) << i << " " << k;
  }
  EXPECT_EQ(marker_count, 20u);
  EXPECT_EQ(markers.size(), 20u) << "no two stars share colour and shape";
}

// The thick stretch is the eclipse window where the star has a duration, its uncertainty
// paler beyond each end; the key says which.
TEST(ChartSvg, EclipseWindowAndItsUncertainty) {
  ChartSamples s = synthetic_night(2);
  EXPECT_NE(chart_svg(s).find(">thick: 1 h either side of a minimum</text>"), std::string::npos);
  ChartMinimum& m = s.stars[0].minima[0];  // at 21:00 on an axis of 17 to 31
  m.window_from_duration = true;
  m.window_half_hours = 0.5;
  m.uncertainty_hours = 0.2;
  const std::string svg = chart_svg(s);
  expect_well_formed(svg, "chart with an eclipse window");
  auto first_x = [&](const std::string& opacity, std::size_t nth) {
    std::size_t at = 0;
    for (std::size_t k = 0; k <= nth; ++k) {
      at = svg.find("stroke-opacity=\"" + opacity + "\"", at + 1);
      if (at == std::string::npos) return std::string("none");
    }
    const std::size_t from = svg.find("points=\"", at) + 8;
    return svg.substr(from, svg.find(',', from) - from);
  };
  // x = 58 + (hours - 17) / 14 * 680.
  EXPECT_EQ(first_x("0.35", 0), "228.0") << "from 20:30";
  EXPECT_EQ(first_x("0.15", 0), "218.3") << "from 20:18";
  EXPECT_EQ(first_x("0.15", 1), "276.6") << "from 21:30";
  EXPECT_EQ(first_x("0.35", 1), "208.6") << "the other star: 1 h either side of 20:06";
  EXPECT_NE(svg.find(">thick: eclipse (star.dat), else \xC2\xB1"
                     "1 h; pale: uncertainty</text>"),
            std::string::npos);
  EXPECT_NE(svg.find(">V2 Cyg (\xC2\xB1"
                     "1 h)</text>"),
            std::string::npos);
  EXPECT_NE(svg.find(">V1 Cyg</text>"), std::string::npos);
  s.stars[1].minima[0].window_from_duration = true;
  EXPECT_NE(chart_svg(s).find(">thick: eclipse, first to last contact; pale: uncertainty<"),
            std::string::npos);
}

}  // namespace
}  // namespace nightmark
