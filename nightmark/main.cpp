// nightmark: the night plan. From the saved daily list obsday2.dat and a typed start
// time, keeps the minima still worth observing (obsday3.txt) and writes them as
// chart marks for planetarium software (lplanet.adf, lightpl.mrk).
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "coverage.h"
#include "eclipse_window.h"
#include "formats/horizon_option.h"
#include "formats/minimum_calendar.h"
#include "formats/site_option.h"
#include "formats/sky_options.h"
#include "formats/zone_option.h"
#include "io/answers.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/message_text.h"
#include "io/output_file.h"
#include "io/output_set.h"
#include "io/text_files.h"
#include "list_lines.h"
#include "mark_lines.h"
#include "night_filter.h"
#include "plan_entry.h"
#include "plan_line.h"
#include "plan_outputs.h"
#include "recent_observations.h"
#include "start_answer.h"

namespace {

constexpr std::string_view kAbout =
    "Plans the rest of an observing night. Run it in the folder that holds\n"
    "obsday2.dat (a daily list saved from datesel) and, if kept, recent_obs.txt\n"
    "(names of stars observed lately, one a line).\n"
    "\n"
    "It asks:\n"
    "  time of start /   hour =       start hour, JST or --zone's clock (after\n"
    "                                 midnight: 24, 25, ...)\n"
    "                  minute =       start minute\n"
    "  Sky all=0 or south=1, input number ?   0 all sky, anything else the south only\n"
    "\n"
    "and writes:\n"
    "  obsday3.txt   the minima more than 10 degrees high at the start time, more than\n"
    "                45 minutes after it, and (south only) in the south at the minimum\n"
    "  lplanet.adf   one chart mark per kept star; ,4 marks a recently observed star\n"
    "  lightpl.mrk   the same marks in the second chart format\n"
    "and, when asked, obsday3.svg (--chart) and obsday3.sol, obsday3-skychart.txt,\n"
    "obsday3.skylist, obsday3.csv, obsday3.ics (--export); their positions come from\n"
    "star.dat when it is here.\n"
    "\n"
    "--export=csv writes the plan's minima with eclfore's data.csv columns (local\n"
    "times on the night's clock) and --export=ics as calendar events in UTC (the\n"
    "eclipse window, or the minimum -/+ 30 minutes without a duration; DTSTAMP from\n"
    "SOURCE_DATE_EPOCH when set). Each line's star is found by name in star.dat for\n"
    "its elements and duration; a line not there gets blank cycle, duration and\n"
    "minimum magnitude columns.\n"
    "\n"
    "--of-date takes the altitude at the start time and the azimuth at the minimum\n"
    "from the star's apparent place of date instead of its J2000 position.\n"
    "\n"
    "--site puts the observer elsewhere than the built-in site 139.77 E, 35.67 N:\n"
    "a number 1-11 of eclfore's site menu, a place name (sapporo, sendai, tokyo,\n"
    "niigata, kanazawa, nagoya, osaka, hiroshima, kochi, fukuoka, okinawa) or\n"
    "LON,LAT in degrees east and north (--site=-0.13,51.48); the chart's title\n"
    "names it.\n"
    "\n"
    "--start=HH:MM answers the start time (12:00 to 29:59, after midnight 24:00 to\n"
    "29:59) and --sky=all or south the sky question; a question so answered is not\n"
    "asked. --start=dusk starts at the end of civil twilight (the Sun's centre 6\n"
    "degrees below the horizon) at the site on the evening of obsday2.dat's date,\n"
    "rounded up to the whole minute. A bad value is a usage fault (status 2) before\n"
    "any file is touched. A typed start hour of 0 to 11 is taken as typed, with a\n"
    "warning: the hours after midnight are 24 to 29.\n"
    "\n"
    "--horizon=FILE keeps a minimum only with the star also at or above your\n"
    "skyline at the start time; FILE holds lines AZIMUTH ALTITUDE in degrees, the\n"
    "azimuth from north through east (0-360), the altitude between points linear in\n"
    "azimuth; blank lines and lines starting with # are left out. The chart draws a\n"
    "curve thin and grey where the skyline hides the star.\n"
    "\n"
    "--coverage=PERCENT keeps a minimum, instead of by the altitude at the start\n"
    "time, when at least PERCENT (0-100) of its eclipse window is observable from\n"
    "the start time on: first to last contact (the minimum -/+ D x P / 200, D the\n"
    "duration of star.dat's line of the star, found by name), widened by the\n"
    "timing uncertainty when the line gives both errors. Observable: the star at or\n"
    "above 10 degrees and your skyline (--horizon), the Sun's centre more than 6\n"
    "degrees down; tested at both ends, the minimum and steps of at most 5 minutes,\n"
    "each change found to the minute. A star without a duration is judged at its\n"
    "minimum. The 45 minutes of lead and the south sector are asked as without it.\n"
    "\n"
    "The chart's thick stretch around a minimum is the eclipse window where star.dat\n"
    "gives the star a duration (its uncertainty paler beyond each end), one hour\n"
    "either side otherwise; the labels give the time as the clock reads.\n"
    "\n"
    "--zone: the clock of the start time and of obsday2.dat's times (give eclfore the\n"
    "same): a fixed offset (+09:00, -05:00) or a zone of the time-zone database\n"
    "(Europe/London); JST by default. The night keeps the offset in force at 18:00\n"
    "on its evening; the chart and the lists name the clock (GMT, BST, UTC-05:00).\n"
    "\n"
    "See nightmark(1).\n";

const std::string kRecentFile = "recent_obs.txt";
const std::string kDailyListFile = "obsday2.dat";
const std::string kNightListFile = "obsday3.txt";
const std::string kAdfFile = "lplanet.adf";
const std::string kMrkFile = "lightpl.mrk";

constexpr io::OptionSpec kOptions[] = {
    {"chart", "", "also write obsday3.svg, the altitude chart of the plan"},
    {"export", "FORMATS",
     "also write observing lists, any of stellarium,skychart,skysafari,csv,ics"},
    formats::kOfDateOption,
    formats::kSiteOption,
    nightmark::kStartOption,
    nightmark::kSkyOption,
    formats::kHorizonOption,
    formats::kZoneOption,
    nightmark::kCoverageOption,
};

/// The chart and exports the options ask for; a bad --export value is a usage error.
nightmark::PlanOutputChoice plan_output_choice(const io::Options& options) {
  nightmark::PlanOutputChoice choice;
  choice.chart = options.has("chart");
  if (const auto list = options.value("export")) {
    const nightmark::ExportChoice export_choice = nightmark::parse_export_formats(*list);
    if (!export_choice.ok) {
      throw io::UsageError("--export: unknown format '" +
                           io::escape_for_message(export_choice.unknown) +
                           "' (stellarium, skychart, skysafari)");
    }
    choice.exports = export_choice.formats;
  }
  return choice;
}

/// The files this run writes: the plan, the mark files and those the options add.
std::vector<std::string_view> written_files(const nightmark::PlanOutputChoice& extras) {
  using namespace nightmark;
  std::vector<std::string_view> files = {kNightListFile, kAdfFile, kMrkFile};
  if (extras.chart) files.push_back(kChartFile);
  if (extras.exports.stellarium) files.push_back(kStellariumFile);
  if (extras.exports.skychart) files.push_back(kSkychartFile);
  if (extras.exports.skysafari) files.push_back(kSkySafariFile);
  if (extras.exports.csv) files.push_back(kTableFile);
  if (extras.exports.ics) files.push_back(kCalendarFile);
  return files;
}

int run(const io::Options& options) {
  using namespace nightmark;
  const astro::SkyOptions sky_options = formats::sky_options(options);
  PlanOutputChoice extras = plan_output_choice(options);
  extras.of_date = sky_options.of_date;
  if (const auto site = formats::site_option(options)) extras.site = *site;
  const GivenAnswers given = given_answers(options);
  extras.skyline = formats::horizon_option(options);
  const astro::HorizonProfile* skyline = extras.skyline ? &*extras.skyline : nullptr;
  const astro::CivilClock clock = formats::zone_option(options);
  const std::optional<double> coverage = coverage_option(options);
  // A bad SOURCE_DATE_EPOCH fails the run before any file is touched.
  if (extras.exports.ics) extras.stamp_seconds = formats::calendar_stamp_seconds();
  const std::vector<std::string_view> inputs = {kRecentFile, kDailyListFile, kCatalogueFile};
  io::refuse_shared_files(inputs, written_files(extras));

  const RecentObservationList recent = load_recent_observations(kRecentFile);

  // Title, header and answers come before obsday3.txt is created, so a run that
  // fails on them leaves the previous plan and mark files as they were.
  io::LineReader daily(kDailyListFile);
  std::string title;
  std::string header;
  if (!daily.next(title) || !daily.next(header)) {
    throw io::RunError(kDailyListFile + ": fewer than two lines (a title and a column header)");
  }
  if (title.size() < kMinTitleChars) {
    throw io::RunError(
        fmt::format("{}:1: title line shorter than {} characters", kDailyListFile, kMinTitleChars));
  }
  NightDate date = night_date_from_title(title);
  // One clock for the whole night: the one in force at 18:00 on its evening.
  const astro::NightClock night_clock = clock.night(date);
  date.utc_offset_days = night_clock.offset_days();
  extras.clock_name = night_clock.abbreviation;
  extras.month_offset_days = clock.night({date.year, date.month, 1}).offset_days();
  if (!title_year_in_range(title)) {
    io::warn_line(
        kDailyListFile, 1,
        fmt::format("title date {}/{}/{} is not a calendar date; altitudes are computed "
                    "for {}/{}/{}",
                    title_year_text(title), date.month, date.day, date.year, date.month, date.day));
  } else if (!looks_like_calendar_date(date)) {
    io::warn_line(kDailyListFile, 1,
                  fmt::format("title date {}/{}/{} is not a calendar date; altitudes are computed "
                              "for it as it is",
                              date.year, date.month, date.day));
  }

  formats::ClockTime start;
  if (given.start) {
    start = *given.start;
  } else if (given.start_at_dusk) {
    start = dusk_start(date, extras.site.site);
  } else {
    start.hour = io::ask_whole_number(stdin, "time of start /   hour = ", "start hour");
    start.minute = io::ask_whole_number(stdin, "                minute = ", "start minute");
    warn_of_morning_hour(start.hour);
  }
  const bool south_only =
      given.south_only
          ? *given.south_only
          : io::ask_whole_number(stdin, "Sky all=0 or south=1, input number ? ", "sky choice") != 0;
  const float start_hours = start_time_hours(start.hour, start.minute);
  const PlanSite site = plan_site(extras.site.site);
  // Only --of-date asks for the ephemerides; the default run never calls ERFA.
  std::optional<OfDateSky> of_date;
  if (sky_options.of_date) of_date.emplace(date, extras.site.site);
  // --coverage judges each window from the durations of star.dat, found by name.
  std::map<std::string, StarElements> elements;
  if (coverage) elements = catalogue_elements(std::string(kCatalogueFile));

  // One set: no file is replaced before all three are complete.
  io::OutputSet outputs;
  io::OutputFile& plan = outputs.add(kNightListFile);
  io::OutputFile& adf = outputs.add(kAdfFile);
  io::OutputFile& mrk = outputs.add(kMrkFile);
  plan.write(title + "\n");
  plan.write(header + "\n");
  // The kept lines stay in memory for the mark files: a line read from obsday2.dat
  // holds no CR, no line end and no Ctrl-Z, so obsday3.txt reads back as exactly
  // these lines.
  std::vector<PlanLine> kept;
  std::string line;
  while (daily.next(line)) {
    if (!usable_list_line(line, daily)) continue;
    const ListedMinimum minimum = read_listed_minimum(line);
    Verdict verdict;
    if (coverage) {
      const PlanEntry entry = read_plan_entry(line);
      const auto star = elements.find(entry.name);
      const EclipseWindow window = eclipse_window(star == elements.end() ? nullptr : &star->second,
                                                  entry.kind, entry.minimum_jd);
      verdict = judge_coverage(date, start_hours, south_only, site, minimum, window, *coverage,
                               of_date ? &*of_date : nullptr, skyline);
    } else {
      verdict = judge_minimum(date, start_hours, south_only, site, minimum,
                              of_date ? &*of_date : nullptr, skyline);
    }
    if (verdict == Verdict::kNotANumber) {
      io::warn_line(kDailyListFile, daily.line_number(),
                    "time or position is not a finite number; line skipped");
    }
    if (verdict != Verdict::kKept) continue;
    plan.write(line + "\n");
    kept.push_back(plan_line(line, minimum));
  }
  plan.finish();

  for (const PlanLine& star : kept) {
    adf.write(adf_mark_line(star.text, is_recently_observed(recent, star.short_name)));
    mrk.write(mrk_mark_line(star.text));
  }
  // The chart and the lists belong to the same set: all are replaced, or none.
  std::vector<std::string> plan_lines;
  plan_lines.reserve(kept.size());
  for (const PlanLine& star : kept) plan_lines.push_back(star.text);
  for (const PlanFile& file : plan_files(extras, plan_lines, date, start_hours, local_time_now())) {
    outputs.add(file.name).write(file.text);
  }
  outputs.commit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::ProgramInfo kInfo{"nightmark", kAbout, kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
