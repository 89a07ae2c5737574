#include "chart_labels.h"

#include <algorithm>
#include <cmath>

#include "io/text.h"

namespace nightmark {
namespace {

constexpr double kLabelHeightPx = 12;
/// The gap between a dot and its label, pixels.
constexpr double kDotGapPx = 7;
/// A label moved further than this from its dot gets a leader line, pixels.
constexpr double kLeaderBeyondPx = 20;
/// The vertical offsets tried first (baseline above or below the dot's centre, pixels,
/// less the 4 that centres the text on the dot), alternately above and below, in steps
/// of 14 pixels until the plot ends.
constexpr double kFirstAbovePx = -7;
constexpr double kFirstBelowPx = 13;
constexpr double kOffsetStepPx = 14;
/// Advances of the label font, em (the advances of a common sans-serif, rounded up).
constexpr double kWideEm = 0.95;
constexpr double kCapitalEm = 0.75;
constexpr double kNarrowEm = 0.3;
constexpr double kOtherEm = 0.6;

/// Vertical offsets -7, 13, -21, 27, ... while either direction still meets the plot.
std::vector<double> vertical_offsets(double dot_y, const PlotArea& plot) {
  std::vector<double> offsets;
  for (int k = 0;; ++k) {
    const double up = kFirstAbovePx - kOffsetStepPx * k;
    const double down = kFirstBelowPx + kOffsetStepPx * k;
    const bool up_in = dot_y + up + 4 - kLabelHeightPx + 2 >= plot.top;
    const bool down_in = dot_y + down + 4 + 2 <= plot.bottom;
    if (!up_in && !down_in) break;
    offsets.push_back(up);
    offsets.push_back(down);
  }
  return offsets;
}

}  // namespace

double label_width_px(std::string_view text) {
  double em = 0;
  const std::string shown = io::printable_utf8(text);
  for (const char c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xc0U) == 0x80) continue;  // a continuation byte: counted with its lead
    if (c == 'M' || c == 'W' || c == 'm' || c == 'w' || c == '@' || c == '%') {
      em += kWideEm;
    } else if (byte >= 0x80 || (c >= 'A' && c <= 'Z')) {
      em += kCapitalEm;
    } else if (c == ' ' || c == ':' || c == '.' || c == ',' || c == 'i' || c == 'l' || c == 'j' ||
               c == '\'' || c == '|' || c == '!') {
      em += kNarrowEm;
    } else {
      em += kOtherEm;
    }
  }
  return em * kLabelFontPx;
}

std::vector<PlacedLabel> place_labels(const std::vector<LabelRequest>& requests,
                                      const PlotArea& plot) {
  std::vector<PlacedLabel> placed;
  std::vector<LabelBox> taken;
  auto free_at = [&](const LabelBox& box) {
    return box.left >= plot.left && box.right <= plot.right && box.top >= plot.top &&
           box.bottom <= plot.bottom &&
           std::none_of(taken.begin(), taken.end(),
                        [&](const LabelBox& b) { return b.overlaps(box); });
  };
  for (const LabelRequest& r : requests) {
    PlacedLabel label;
    const std::vector<double> offsets = vertical_offsets(r.dot_y, plot);
    for (const std::string& text : {r.text, r.short_text}) {
      if (text.empty()) continue;
      const double width = label_width_px(text);
      // Right of the dot first, unless the text would run out of the plot there.
      const bool end_first = r.dot_x + kDotGapPx + width > plot.right;
      for (const bool anchor_end : {end_first, !end_first}) {
        const double left = anchor_end ? r.dot_x - kDotGapPx - width : r.dot_x + kDotGapPx;
        for (const double dy : offsets) {
          const double baseline = r.dot_y + dy + 4;
          const LabelBox box{left, baseline - kLabelHeightPx + 2, left + width, baseline + 2};
          if (!free_at(box)) continue;
          label = {true,     text,       anchor_end ? left + width : left,
                   baseline, anchor_end, std::fabs(dy) > kLeaderBeyondPx,
                   box};
          break;
        }
        if (label.shown) break;
      }
      if (label.shown) break;
    }
    if (label.shown) taken.push_back(label.box);
    placed.push_back(label);
  }
  return placed;
}

}  // namespace nightmark
