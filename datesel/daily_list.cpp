#include "daily_list.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "astro/records.h"

namespace datesel {
namespace {

/// One piece of a DailyListLine: the ForecastLine columns (0-based start, length)
/// printed with "%s" between the literal text of its format string.
struct Piece {
  int start;
  int length;
  std::string_view before;
  std::string_view after;
};

// The DailyListLine in output order; the separators are those of the formats
// "%s ", "%s ", " %s   ", "%s   ", "%s   ", "%s  ", "%s ", "%s ", "%s ", "%s\n".
constexpr std::array<Piece, 10> kPieces{{
    {0, 26, "", " "},     // name, catalogue, kind
    {38, 5, "", " "},     // time of minimum
    {57, 2, " ", "   "},  // variability type
    {60, 2, "", "   "},   // altitude, whole degrees
    {92, 5, "", "   "},   // right ascension hours and minutes
    {101, 6, "", "  "},   // declination degrees and arc minutes
    {108, 9, "", " "},    // magnitudes at maximum and minimum light
    {78, 13, "", " "},    // period
    {65, 13, "", " "},    // epoch E0
    {44, 12, "", "\n"},   // forecast Julian Date
}};

// Longest title: three 11-character ints, the separators and the line end.
constexpr std::size_t kTitleBufferChars = 64;

}  // namespace

std::string daily_title(int year, int month, int day) {
  char text[kTitleBufferChars];
  const int n = std::snprintf(text, sizeof text, "=== %4d/%2d/%2d ===\n", year, month, day);
  if (n <= 0) return {};
  return std::string(text, std::min(static_cast<std::size_t>(n), sizeof text - 1));
}

std::string daily_list_line(std::string_view forecast_line) {
  std::string line;
  line.reserve(kDailyListLineChars + 1);
  for (const Piece& piece : kPieces) {
    line += piece.before;
    line += astro::extract_field(forecast_line, piece.start, piece.length);
    line += piece.after;
  }
  return line;
}

}  // namespace datesel
