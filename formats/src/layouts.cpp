#include "formats/layouts.h"

#include <stdexcept>

#include <fmt/format.h>

namespace formats {
namespace {

enum class Align { kLeft, kRight };

/// Puts `text` into `field` of `line` (already blank for the whole layout).
void place(std::string& line, Field field, std::string_view text, Align align, const char* what) {
  if (text.size() > static_cast<std::size_t>(field.width)) {
    throw std::invalid_argument(fmt::format(
        "star.dat field {}: \"{}\" is longer than {} characters", what, text, field.width));
  }
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < ' ') {
      throw std::invalid_argument(
          fmt::format("star.dat field {}: holds a control character", what));
    }
  }
  const std::size_t pad = align == Align::kRight ? field.width - text.size() : 0;
  line.replace(static_cast<std::size_t>(field.start) + pad, text.size(), text);
}

/// Where each text of StarLineFields goes, in the order of the line.
struct StarLineSlot {
  Field field;
  std::string StarLineFields::*text;
  Align align;
  const char* what;
};

constexpr StarLineSlot kStarLineSlots[] = {
    {star_line::kName, &StarLineFields::name, Align::kLeft, "name"},
    {star_line::kEpoch, &StarLineFields::epoch, Align::kRight, "epoch"},
    {star_line::kPeriod, &StarLineFields::period, Align::kRight, "period"},
    {star_line::kRaH, &StarLineFields::ra_hour_part, Align::kRight, "RA hours"},
    {star_line::kRaM, &StarLineFields::ra_minute_part, Align::kRight, "RA minutes"},
    {star_line::kRaS, &StarLineFields::ra_second_part, Align::kRight, "RA seconds"},
    {star_line::kDecDeg, &StarLineFields::dec_degree_part, Align::kRight, "declination degrees"},
    {star_line::kDecMin, &StarLineFields::dec_minute_part, Align::kRight, "declination minutes"},
    {star_line::kVarType, &StarLineFields::var_type, Align::kLeft, "type"},
    {star_line::kMagMax, &StarLineFields::mag_max, Align::kRight, "magnitude at maximum"},
    {star_line::kMagMin, &StarLineFields::mag_min, Align::kRight, "magnitude at minimum"},
    {star_line::kSelectFlag, &StarLineFields::select_flag, Align::kRight, "select flag"},
    {star_line::kCatalogue, &StarLineFields::catalogue, Align::kLeft, "catalogue"},
};

}  // namespace

std::optional<std::string> beyond_field(std::string_view what, int value, Field field,
                                        std::string_view where) {
  const WholeNumberRange range = whole_numbers_within(field);
  if (range.holds(value)) return std::nullopt;
  return fmt::format("{} {} does not fit the {} columns of {} ({} to {})", what, value, field.width,
                     where, range.lowest, range.highest);
}

std::string format_star_line(const StarLineFields& fields) {
  std::string line(star_line::kLineChars, ' ');
  for (const StarLineSlot& slot : kStarLineSlots) {
    place(line, slot.field, fields.*slot.text, slot.align, slot.what);
  }
  return line;
}

}  // namespace formats
