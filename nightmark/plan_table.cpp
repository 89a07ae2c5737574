#include "plan_table.h"

#include <charconv>
#include <cmath>

#include <fmt/format.h>

#include "astro/constants.h"
#include "chart_samples.h"
#include "coverage.h"
#include "eclipse_window.h"
#include "formats/minimum_calendar.h"
#include "formats/minimum_row.h"
#include "io/text_files.h"

namespace nightmark {
namespace {

using astro::kHoursPerDay;
using astro::kSecondsPerDay;
/// The plan whose lines the rows are, and the line number of its first minimum (after
/// the title and the header).
constexpr std::string_view kPlanFile = "obsday3.txt";
constexpr long kFirstPlanLine = 3;

/// The number a magnitude field holds, or none.
std::optional<double> magnitude(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

/// The star of a plan line that star.dat does not hold (or holds without usable
/// elements): the plan's name, catalogue, type and position.
formats::StarRecord star_of_plan(const PlanEntry& entry) {
  formats::StarRecord star;
  star.name = entry.name;
  star.catalogue = entry.catalogue;
  star.var_type = entry.var_type;
  star.ra_hours = static_cast<float>(entry.position.ra_hours);
  star.dec_degrees = static_cast<float>(entry.position.dec_degrees);
  return star;
}

bool usable_elements(const formats::StarRecord& star) {
  return star.period > 0 && std::isfinite(star.period) && std::isfinite(star.epoch_mjd) &&
         !star.epoch_blank;
}

}  // namespace

std::vector<PlanRow> plan_rows(const std::vector<PlanEntry>& entries, const NightDate& date,
                               float start_hours, const PlanTableSky& sky,
                               const std::map<std::string, formats::StarRecord>& catalogue) {
  std::vector<PlanRow> rows;
  if (entries.empty()) return rows;
  // The instants: the plan's Julian Date, or its time on the night's clock when the
  // date is blank or beyond the years whose Sun and Moon are computed.
  NightDate first_night = date;
  first_night.year = kFirstTitleYear;
  first_night.month = 1;
  first_night.day = 1;
  NightDate last_night = date;
  last_night.year = kLastTitleYear;
  last_night.month = 12;
  last_night.day = 31;
  const double first_jd = night_jd(first_night, 0);
  const double last_jd = night_jd(last_night, kHoursPerDay);
  std::vector<double> instants;
  instants.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PlanEntry& e = entries[i];
    const double clock_jd = night_jd(date, e.listed.time_hours);
    const bool blank = e.minimum_jd == 0;
    if (!blank && e.minimum_jd >= first_jd && e.minimum_jd <= last_jd) {
      instants.push_back(e.minimum_jd);
      continue;
    }
    if (!blank) {
      io::warn_line(std::string(kPlanFile), static_cast<long>(i) + kFirstPlanLine,
                    fmt::format("Julian Date {:.4f} is beyond the years {} to {}; the table "
                                "and the calendar take the time {}",
                                e.minimum_jd, kFirstTitleYear, kLastTitleYear, e.time_text));
    }
    instants.push_back(clock_jd);
  }
  // The tables hold the apparent places too: with --of-date the altitudes come from them.
  const astro::ObservingConditions tables = formats::row_conditions(
      formats::month_window(date.year, date.month, sky.month_offset_days), sky.site);
  std::optional<OfDateSky> of_date_sky;
  if (sky.of_date) of_date_sky.emplace(date, sky.site);
  const PlanSite site = plan_site(sky.site);
  const int offset_seconds =
      static_cast<int>(std::lround(static_cast<double>(date.utc_offset_days) * kSecondsPerDay));

  rows.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const PlanEntry& e = entries[i];
    const double jd = instants[i];
    const bool secondary = e.kind == 's';
    const auto found = catalogue.find(e.name);
    const bool known = found != catalogue.end() && usable_elements(found->second);
    const formats::StarRecord star = known ? found->second : star_of_plan(e);
    // The cycle count of the minimum nearest the plan's instant; none without elements.
    double cycles = 0;
    if (known) {
      const double phase =
          secondary ? star.extension.secondary_phase.value_or(formats::kDefaultSecondaryPhase)
                    : 0.0;
      cycles =
          std::nearbyint((jd - astro::kMjdZeroJd - star.epoch_mjd) / star.period - phase) + phase;
    }
    const formats::IcrsPosition icrs = formats::icrs_position(star);
    const astro::StarPlace place = tables.star(icrs.ra_rad, icrs.dec_rad);
    formats::RowSky row_sky;
    row_sky.tables = &tables;
    row_sky.place = &place;
    row_sky.seen = formats::star_seen_from(star, sky.site);
    if (sky.of_date) {
      row_sky.of_date = &tables;
      row_sky.of_date_place = &place;
    }
    row_sky.site = sky.site;
    PlanRow plan_row;
    formats::MinimumTableRow& row = plan_row.row;
    row = formats::star_minimum_row(star, secondary, cycles, {jd, jd - astro::kMjdZeroJd}, row_sky);
    row.night = date;
    row.offset_seconds = offset_seconds;
    std::optional<double> judged_half_days;
    if (known) {
      const StarElements elements = star_elements(star);
      const EclipseWindow window = eclipse_window(&elements, e.kind, jd);
      if (window.from_duration) {
        row.coverage_pct =
            std::floor(observable_percent(date, start_hours, site, e.listed, window,
                                          of_date_sky ? &*of_date_sky : nullptr, sky.skyline));
        judged_half_days = window.judged_half_hours() / kHoursPerDay;
      }
    } else {
      row.cycle.clear();
      row.mag_min.reset();
      row.mag_max = magnitude(e.mag_max);
    }
    const formats::EventSpan span = formats::event_span(jd, judged_half_days);
    plan_row.event_start_jd = span.start_jd;
    plan_row.event_end_jd = span.end_jd;
    rows.push_back(std::move(plan_row));
  }
  return rows;
}

std::string plan_table(const std::vector<PlanRow>& rows) {
  std::string text(formats::kMinimumTableHeader);
  text += '\n';
  for (const PlanRow& r : rows) {
    formats::append_minimum_table_row(text, r.row);
    text += '\n';
  }
  return text;
}

std::string plan_calendar(const std::vector<PlanRow>& rows, std::int64_t stamp_seconds) {
  std::string text = formats::calendar_head("nightmark");
  for (const PlanRow& r : rows) {
    formats::CalendarEvent event = formats::minimum_event(r.row, r.event_start_jd, r.event_end_jd);
    // Without a cycle count the plan's Julian Date tells the minima of a star apart.
    if (r.row.cycle.empty()) {
      event.uid = formats::minimum_event_uid(r.row.name, r.row.secondary ? "secondary" : "primary",
                                             fmt::format("JD{:.4f}", r.row.minimum_jd));
    }
    text += formats::calendar_event(event, stamp_seconds);
  }
  text += formats::calendar_end();
  return text;
}

}  // namespace nightmark
