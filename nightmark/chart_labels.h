#pragma once
/// Where the chart writes the labels of the minima: beside each dot where there is room,
/// moved up or down (with a leader line from the dot), to the dot's other side, shortened
/// to the time alone, and left out only where no place in the plot is free; no two
/// labels overlap.

#include <string>
#include <string_view>
#include <vector>

namespace nightmark {

/// The plot area the labels must stay in, pixels.
struct PlotArea {
  double left = 0, top = 0, right = 0, bottom = 0;
};

/// A label's box, pixels.
struct LabelBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool overlaps(const LabelBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
};

/// One label wanted: the dot it names and its text, whole and shortened.
struct LabelRequest {
  double dot_x = 0, dot_y = 0;  ///< pixels
  std::string text;             ///< "W UMa 00:28"
  std::string short_text;       ///< "00:28", when the whole text finds no room
};

/// Where a label went.
struct PlacedLabel {
  bool shown = false;       ///< false: no room anywhere in the plot; the text is left out
  std::string text;         ///< the text written: the whole or the short one
  double x = 0, y = 0;      ///< baseline start (or end, when anchored at the end)
  bool anchor_end = false;  ///< the text ends at x (left of its dot)
  bool led_out = false;     ///< far enough from the dot to need a leader line
  LabelBox box;             ///< what it covers
};

/// The label font's size, pixels.
inline constexpr double kLabelFontPx = 11;

/// The width of `text` in the label font, pixels: a generous estimate from the advances
/// of a common sans-serif (wide capitals and m, w; narrow punctuation and i, l; every
/// character beyond ASCII as a capital), so that a box holds the text as drawn.
double label_width_px(std::string_view text);

/// Places the labels in order, each clear of those placed before it and inside `plot`.
std::vector<PlacedLabel> place_labels(const std::vector<LabelRequest>& requests,
                                      const PlotArea& plot);

}  // namespace nightmark
