#include "plan_outputs.h"

#include <ctime>

#include "chart_samples.h"
#include "chart_svg.h"
#include "eclipse_window.h"
#include "plan_table.h"

namespace nightmark {

std::vector<PlanFile> plan_files(const PlanOutputChoice& choice,
                                 const std::vector<std::string>& plan_lines, const NightDate& date,
                                 float start_hours, std::string_view created) {
  std::vector<PlanFile> files;
  if (!choice.any()) return files;
  std::vector<PlanEntry> plan;
  plan.reserve(plan_lines.size());
  for (const std::string& line : plan_lines) plan.push_back(read_plan_entry(line));
  const ExportFormats& f = choice.exports;
  // Without --of-date the chart's curves use the plan's own position, whatever the
  // catalogue holds; the exports and the altitudes of date take the best J2000
  // position there is.
  if (f.stellarium || f.skychart || f.skysafari || f.csv || f.ics ||
      (choice.chart && choice.of_date)) {
    take_catalogue_positions(plan, std::string(kCatalogueFile));
  }
  if (choice.chart) {
    // The eclipse windows of the stars star.dat gives a duration.
    const std::map<std::string, StarElements> elements =
        catalogue_elements(std::string(kCatalogueFile));
    files.push_back({std::string(kChartFile),
                     chart_svg(chart_samples(plan, date, start_hours, choice.of_date, choice.site,
                                             choice.skyline ? &*choice.skyline : nullptr,
                                             choice.clock_name, &elements))});
  }
  if (f.stellarium) {
    files.push_back({std::string(kStellariumFile),
                     stellarium_list(plan, date, start_hours, created, choice.clock_name)});
  }
  if (f.skychart)
    files.push_back({std::string(kSkychartFile), skychart_list(plan, date, choice.clock_name)});
  if (f.skysafari) files.push_back({std::string(kSkySafariFile), skysafari_list(plan)});
  if (f.csv || f.ics) {
    const std::vector<PlanRow> rows =
        plan_rows(plan, date, start_hours,
                  {choice.site.site, choice.of_date, choice.skyline ? &*choice.skyline : nullptr,
                   choice.month_offset_days},
                  catalogue_stars(std::string(kCatalogueFile)));
    if (f.csv) files.push_back({std::string(kTableFile), plan_table(rows)});
    if (f.ics)
      files.push_back({std::string(kCalendarFile), plan_calendar(rows, choice.stamp_seconds)});
  }
  return files;
}

std::string local_time_now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char text[32] = "";
  if (localtime_r(&now, &local) != nullptr) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  }
  return text;
}

}  // namespace nightmark
