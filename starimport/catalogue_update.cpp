#include "catalogue_update.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unordered_map>

#include <fmt/format.h>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "astro/precision.h"
#include "formats/layouts.h"
#include "formats/records.h"
#include "io/console.h"
#include "io/message_text.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "source_record.h"
#include "star_name.h"

namespace starimport {
namespace {

using astro::Ext;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
using astro::kMinutesPerDay;
/// Most cycles between an epoch and today for which the next minimum is worked out: far
/// beyond any real star (a period of a minute over ten thousand years), and within what
/// a long double counts exactly.
constexpr Ext kMostCycles = 1e10L;
/// The first whole year of the Gregorian calendar, the only one --today takes.
constexpr int kFirstGregorianYear = 1583;

/// The value of a number field of a star.dat line, or nothing when it is blank.
std::optional<double> field_value(std::string_view line, formats::Field field) {
  const std::string_view text = formats::field_within(line, field);
  if (formats::is_blank(text)) return std::nullopt;
  return formats::parse_decimal(text);
}

/// Puts the columns of `field` of `from` into `line` (at least as long as the field's end).
void copy_field(std::string& line, std::string_view from, formats::Field field) {
  line.replace(static_cast<std::size_t>(field.start), static_cast<std::size_t>(field.width),
               formats::extract_field(from, field));
}

/// The input's value of an extension field where it gives one; else the old one, unless
/// it belonged to elements that changed.
template <class T>
std::optional<T> merged(const std::optional<T>& imported, const std::optional<T>& old,
                        bool old_elements_gone) {
  if (imported) return imported;
  return old_elements_gone ? std::nullopt : old;
}

/// The JD of a line's epoch (its MJD back to a Julian Date), extended precision.
Ext epoch_jd(const formats::StarRecord& star) {
  return static_cast<Ext>(star.epoch_mjd) + static_cast<Ext>(astro::kMjdZeroJd);
}

bool usable_elements(const formats::StarRecord& star) {
  return !formats::lacks_elements(star) && !formats::star_record_problem(star);
}

}  // namespace

CatalogueText split_catalogue(std::string bytes) {
  CatalogueText catalogue;
  if (std::string_view(bytes).starts_with(kByteOrderMark)) {
    catalogue.byte_order_mark = kByteOrderMark;
    bytes.erase(0, kByteOrderMark.size());
  }
  if (const std::size_t end = bytes.find(io::kCtrlZ); end != std::string::npos) {
    catalogue.after_end = bytes.substr(end);
    bytes.erase(end);
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t stop = bytes.find('\n', start);
    if (stop == std::string::npos) stop = bytes.size();
    CatalogueLine line;
    line.raw = bytes.substr(start, stop - start);
    if (line.raw.ends_with('\r')) line.raw.pop_back();
    line.text = line.raw;
    std::erase(line.text, '\r');
    catalogue.lines.push_back(std::move(line));
    start = stop + 1;
  }
  return catalogue;
}

CatalogueText read_catalogue(const std::string& path) {
  const io::InputStream file = io::open_input_file(path);
  // From the first byte again: a byte-order mark is written back as it was.
  std::string bytes;
  if (std::fseek(file.get(), 0, SEEK_SET) == 0) {
    char block[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, got);
  }
  if (std::ferror(file.get()) != 0) {
    throw io::RunError("cannot read " + io::escape_for_message(path) + ": " + std::strerror(errno));
  }
  return split_catalogue(std::move(bytes));
}

std::optional<RefreshedLine> refreshed_line(std::string_view text, const StarLine& imported,
                                            std::string* problem) {
  using namespace formats::star_line;
  std::vector<std::string> problems;
  const formats::StarExtension old = formats::parse_star_extension(text, &problems);
  RefreshedLine refreshed{std::string(text), {}};
  // The importer's texts of the elements, in their columns.
  const std::string written = formats::format_star_line(star_line_fields(imported));
  const bool epoch_changed = field_value(text, kEpoch) != field_value(written, kEpoch);
  const bool period_changed = field_value(text, kPeriod) != field_value(written, kPeriod);
  if (epoch_changed) {
    copy_field(refreshed.text, written, kEpoch);
    refreshed.changed.emplace_back("epoch");
  }
  if (period_changed) {
    copy_field(refreshed.text, written, kPeriod);
    refreshed.changed.emplace_back("period");
  }

  const formats::StarExtension& given = imported.extension;
  formats::StarExtension extension;
  extension.eclipse_duration_pct =
      merged(given.eclipse_duration_pct, old.eclipse_duration_pct, false);
  extension.secondary_duration_pct =
      merged(given.secondary_duration_pct, old.secondary_duration_pct, false);
  extension.secondary_phase = merged(given.secondary_phase, old.secondary_phase, false);
  extension.epoch_error_days = merged(given.epoch_error_days, old.epoch_error_days, epoch_changed);
  extension.period_error_days =
      merged(given.period_error_days, old.period_error_days, period_changed);
  extension.time_scale = merged(given.time_scale, old.time_scale, epoch_changed);
  if (extension == old) return refreshed;
  if (!problems.empty()) {
    if (problem) *problem = problems.front();
    return std::nullopt;
  }

  const std::pair<const char*, bool> fields[] = {
      {"duration", extension.eclipse_duration_pct != old.eclipse_duration_pct},
      {"secondary duration", extension.secondary_duration_pct != old.secondary_duration_pct},
      {"secondary phase", extension.secondary_phase != old.secondary_phase},
      {"epoch error", extension.epoch_error_days != old.epoch_error_days},
      {"period error", extension.period_error_days != old.period_error_days},
      {"time scale", extension.time_scale != old.time_scale},
  };
  for (const auto& [name, changed] : fields) {
    if (changed) refreshed.changed.emplace_back(name);
  }
  // An extension without a problem runs to the end of the line: it is replaced whole.
  refreshed.text.resize(static_cast<std::size_t>(kLineChars), ' ');
  refreshed.text += formats::format_star_extension(extension);
  if (formats::is_blank(std::string_view(refreshed.text).substr(kCatalogue.end()))) {
    // No field left: the line ends where it ended before an extension.
    refreshed.text.erase(std::min(text.size(), static_cast<std::size_t>(kLineChars)));
  }
  return refreshed;
}

std::optional<double> next_minimum_shift_minutes(const formats::StarRecord& before,
                                                 const formats::StarRecord& after,
                                                 double today_jd) {
  if (!usable_elements(before) || !usable_elements(after)) return std::nullopt;
  const auto [ra_before, dec_before] = formats::icrs_position(before);
  const auto [ra_after, dec_after] = formats::icrs_position(after);
  const astro::EpochScale scale_before = formats::epoch_scale_of(before, astro::EpochScale::kJd);
  const astro::EpochScale scale_after = formats::epoch_scale_of(after, astro::EpochScale::kJd);

  // Today in the old line's time scale, and its first primary minimum from then on.
  const Ext today = astro::epoch_jd_of(today_jd, scale_before, ra_before, dec_before);
  const Ext cycles_before = std::ceil((today - epoch_jd(before)) / static_cast<Ext>(before.period));
  if (!(std::fabs(cycles_before) < kMostCycles)) return std::nullopt;
  const double minimum_before = astro::geocentric_jd_utc(
      static_cast<double>(epoch_jd(before) + cycles_before * static_cast<Ext>(before.period)),
      scale_before, ra_before, dec_before);

  // The new elements' minimum nearest that instant.
  const Ext then = astro::epoch_jd_of(minimum_before, scale_after, ra_after, dec_after);
  const Ext cycles_after =
      std::nearbyint((then - epoch_jd(after)) / static_cast<Ext>(after.period));
  if (!(std::fabs(cycles_after) < kMostCycles)) return std::nullopt;
  const double minimum_after = astro::geocentric_jd_utc(
      static_cast<double>(epoch_jd(after) + cycles_after * static_cast<Ext>(after.period)),
      scale_after, ra_after, dec_after);
  return (minimum_after - minimum_before) * kMinutesPerDay;
}

std::string refresh_report(std::string_view name, const std::vector<std::string>& changed,
                           std::optional<double> shift_minutes, bool elements_moved) {
  std::string line = io::escape_for_message(name) + ":";
  for (std::size_t k = 0; k < changed.size(); ++k) line += (k == 0 ? " " : ", ") + changed[k];
  if (!elements_moved) return line;
  if (!shift_minutes) return line + "; no next minimum to compare (elements not usable)";
  const std::string minutes = fmt::format("{:.1f}", std::fabs(*shift_minutes));
  if (minutes == "0.0") return line + "; next minimum moves less than 0.1 min";
  return line +
         fmt::format("; next minimum {} min {}", minutes, *shift_minutes > 0 ? "later" : "earlier");
}

RefreshCounts refresh_catalogue(const std::string& path, const CatalogueText& catalogue,
                                const std::vector<StarLine>& imported, bool add, double today_jd) {
  // The first imported line of each name (the importer wrote no name twice).
  std::unordered_map<std::string, std::size_t> imported_of_name;
  for (std::size_t k = 0; k < imported.size(); ++k) {
    imported_of_name.try_emplace(star_name_key(imported[k].name), k);
  }
  RefreshCounts counts;
  const auto note_scale = [&](const StarLine& line) {
    note_time_scale(counts.scales, line.extension.time_scale);
  };
  std::vector<bool> found(imported.size(), false);
  std::vector<std::string> lines;
  lines.reserve(catalogue.lines.size());
  long line_number = 0;
  for (const CatalogueLine& line : catalogue.lines) {
    ++line_number;
    lines.push_back(line.raw);
    if (formats::unusable_star_line(line.text)) continue;
    const formats::StarRecord before = formats::parse_star_record(line.text);
    const auto match = imported_of_name.find(star_name_key(before.name));
    if (match == imported_of_name.end()) {
      ++counts.not_in_input;
      continue;
    }
    found[match->second] = true;
    const StarLine& star = imported[match->second];
    std::string problem;
    const std::optional<RefreshedLine> refreshed = refreshed_line(line.text, star, &problem);
    if (!refreshed) {
      io::warn_line(path, line_number,
                    "not refreshed: the columns after the catalogue field are not an extension (" +
                        problem + ")");
      ++counts.not_refreshed;
      continue;
    }
    if (refreshed->changed.empty()) {
      ++counts.unchanged;
      continue;
    }
    const formats::StarRecord after = formats::parse_star_record(refreshed->text);
    const bool elements_moved = after.elements_text != before.elements_text ||
                                after.extension.time_scale != before.extension.time_scale;
    io::print_error_text(refresh_report(trim(before.name), refreshed->changed,
                                        next_minimum_shift_minutes(before, after, today_jd),
                                        elements_moved) +
                         "\n");
    lines.back() = refreshed->text;
    note_scale(star);
    ++counts.refreshed;
  }
  io::finish_warnings(path);
  counts.added = add;
  for (std::size_t k = 0; k < imported.size(); ++k) {
    if (found[k] || imported_of_name.at(star_name_key(imported[k].name)) != k) continue;
    ++counts.new_stars;
    if (!add) continue;
    lines.push_back(format_star_line(imported[k]));
    note_scale(imported[k]);
  }
  if (counts.refreshed == 0 && (!add || counts.new_stars == 0)) return counts;

  io::OutputFile file(path);
  file.write_text(catalogue.byte_order_mark);
  for (const std::string& line : lines) {
    file.write_text(line);
    file.end_line();
  }
  // What follows a Ctrl-Z is no reader's: its bytes, line ends too, go back as they were.
  file.write_text(catalogue.after_end);
  file.close();
  counts.rewritten = true;
  return counts;
}

std::optional<double> jd_of_date_text(std::string_view text) {
  int year = 0;
  int month = 0;
  int day = 0;
  char rest = 0;
  const std::string date(text);
  if (date.size() != 10 || date[4] != '-' || date[7] != '-' ||
      std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &rest) != 3) {
    return std::nullopt;
  }
  for (const std::size_t k : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (date[k] < '0' || date[k] > '9') return std::nullopt;
  }
  constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < kFirstGregorianYear || month < 1 || month > 12 || day < 1) return std::nullopt;
  const int last_day = kMonthDays[month - 1] + (month == 2 && astro::is_leap_year(year, true));
  if (day > last_day) return std::nullopt;
  // 0 h UT is 9 h JST, the clock calendar_to_mjd counts in.
  constexpr float kUtMidnightJstHour = 9;
  return astro::calendar_to_mjd(static_cast<float>(year), static_cast<float>(month),
                                static_cast<float>(day), kUtMidnightJstHour) +
         astro::kMjdZeroJd;
}

double jd_of_today() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  ::gmtime_r(&now, &utc);
  const std::string date =
      fmt::format("{:04}-{:02}-{:02}", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
  return jd_of_date_text(date).value_or(astro::kMjdZeroJd);
}

}  // namespace starimport
