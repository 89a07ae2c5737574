#include "chart_labels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace nightmark {
namespace {

constexpr PlotArea kPlot{58, 44, 738, 462};

void expect_apart_and_inside(const std::vector<PlacedLabel>& placed, const PlotArea& plot) {
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (!placed[i].shown) continue;
    const LabelBox& b = placed[i].box;
    EXPECT_GE(b.left, plot.left) << i;
    EXPECT_LE(b.right, plot.right) << i;
    EXPECT_GE(b.top, plot.top) << i;
    EXPECT_LE(b.bottom, plot.bottom) << i;
    EXPECT_NEAR(b.right - b.left, label_width_px(placed[i].text), 1e-9) << i;
    for (std::size_t k = 0; k < i; ++k) {
      if (placed[k].shown) {
        EXPECT_FALSE(b.overlaps(placed[k].box)) << i << " and " << k;
      }
    }
  }
}

TEST(LabelWidth, WideCapitalsNarrowPunctuation) {
  EXPECT_GT(label_width_px("WWW"), label_width_px("iii") * 2);
  EXPECT_NEAR(label_width_px("W UMa 00:28"),
              11 * (0.95 + 0.3 + 0.75 + 0.95 + 0.6 + 0.3 + 4 * 0.6 + 0.3), 1e-9);
  EXPECT_EQ(label_width_px("caf\xC3\xA9"), label_width_px("cafE")) << "one character each";
}

// Twenty stars with their minima within half an hour and close in altitude: every label
// finds its own place, clear of the others and inside the plot.
TEST(PlaceLabels, TwentyCrowdedLabelsNeverOverlap) {
  std::vector<LabelRequest> requests;
  for (int k = 0; k < 20; ++k) {
    requests.push_back({400 + 3.0 * (k % 7), 200 + 2.0 * k,
                        "ASASJ0910" + std::to_string(k) + "-0507.2 21:3" + std::to_string(k % 10),
                        "21:3" + std::to_string(k % 10)});
  }
  const std::vector<PlacedLabel> placed = place_labels(requests, kPlot);
  ASSERT_EQ(placed.size(), 20u);
  for (const PlacedLabel& p : placed) EXPECT_TRUE(p.shown);
  expect_apart_and_inside(placed, kPlot);
  // The first keeps the place beside its dot; those moved far are led out.
  EXPECT_FALSE(placed[0].led_out);
  EXPECT_EQ(placed[0].text, requests[0].text);
  EXPECT_TRUE(placed[19].led_out);
}

TEST(PlaceLabels, AtTheRightEdgeEndedBesideTheDot) {
  const std::vector<PlacedLabel> placed = place_labels({{730, 200, "W UMa 05:20", "05:20"}}, kPlot);
  ASSERT_TRUE(placed[0].shown);
  EXPECT_TRUE(placed[0].anchor_end);
  EXPECT_EQ(placed[0].x, 723);
}

// A plot with two rows beside the dots: the second label, too long for the plot, is
// shortened to its time, and the third, with no room left, is left out rather than
// written over another.
TEST(PlaceLabels, ShortenedThenLeftOut) {
  const PlotArea small{0, 0, 100, 44};
  const std::vector<PlacedLabel> placed =
      place_labels({{10, 15, "W UMa 00:28", "00:28"},
                    {10, 15, "ASASJ091012-0507.2 01:00", "01:00"},
                    {10, 15, "TX UMa 01:30", "01:30"}},
                   small);
  ASSERT_EQ(placed.size(), 3u);
  EXPECT_EQ(placed[0].text, "W UMa 00:28");
  EXPECT_TRUE(placed[1].shown);
  EXPECT_EQ(placed[1].text, "01:00");
  EXPECT_FALSE(placed[2].shown);
  expect_apart_and_inside(placed, small);
}

}  // namespace
}  // namespace nightmark
