// eclfore: the month's forecast of eclipsing-binary minima (star.dat, condition.dat
// -> data.dat).
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "answer_options.h"
#include "astro/clock_time.h"
#include "astro/constants.h"
#include "conditions.h"
#include "coverage.h"
#include "dialogue.h"
#include "export_options.h"
#include "fast/forecast_star.h"
#include "forecast_line.h"
#include "formats/answer_options.h"
#include "formats/catalogue.h"
#include "formats/catalogue_loop.h"
#include "formats/coverage_options.h"
#include "formats/horizon_option.h"
#include "formats/minimum_calendar.h"
#include "formats/minimum_table.h"
#include "formats/records.h"
#include "formats/site_option.h"
#include "formats/sky_options.h"
#include "formats/zone_option.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/output_file.h"
#include "io/output_set.h"
#include "io/text_files.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "table_row.h"

namespace {

const std::string kConditionFile = "condition.dat";
const std::string kStarFile = "star.dat";
const std::string kForecastFile = "data.dat";

constexpr std::string_view kAbout =
    "Forecasts a month's primary and secondary minima of eclipsing binaries that\n"
    "fall at night (18:00 to 05:59 JST, or on --zone's clock) with the star high\n"
    "enough at the site.\n"
    "Asks for the year, the month, the lowest altitude (degrees), the site (a menu\n"
    "number 1-11, or 99 and a typed longitude and latitude) and the number of the\n"
    "selection condition to apply.\n"
    "\n"
    "Reads condition.dat (rows of five numbers: bright and faint magnitude limits,\n"
    "least depth, northern and southern declination limits; a row starting with\n"
    "99 ends it) and star.dat (the star catalogue) in the current folder, and writes\n"
    "data.dat there: one line per listed minimum, star by star.\n"
    "\n"
    "For today's sky: --sun-below takes the night from the Sun's altitude (hours\n"
    "12.00 to 36.00 on the evening's date), --moon-distance leaves out minima near\n"
    "the Moon, --epochs=hjd or bjd reads heliocentric or barycentric epochs, and\n"
    "--of-date takes altitudes from the apparent place of date.\n"
    "\n"
    "A star.dat line may go on after column 93 (counted from 0): the time scale of\n"
    "its epoch (JD, HJD or BJD in columns 138-140, which holds over --epochs) and\n"
    "the phase of its secondary minimum (columns 107-112; blank: 0.5) change the\n"
    "instants of its minima; see eclipsing-binary-files(5).\n"
    "\n"
    "--site answers the site question, which is then not asked: a menu number 1-11,\n"
    "a place name (sapporo, sendai, tokyo, niigata, kanazawa, nagoya, osaka,\n"
    "hiroshima, kochi, fukuoka, okinawa) or LON,LAT in degrees east and north\n"
    "(--site=-0.13,51.48), longitude -180 to 360, latitude -90 to 90.\n"
    "\n"
    "--year, --month, --lowest and --condition answer the other questions in the\n"
    "same way: a question answered by an option is not asked, and given every\n"
    "answer the run asks nothing (--condition=N then also leaves out the list of\n"
    "conditions). A value an answer could not take (a month outside 1 to 12, a\n"
    "condition that condition.dat does not list) is a usage fault, status 2, before\n"
    "data.dat is touched. A typed month outside 1 to 12 lists nothing, with a\n"
    "warning. --quiet leaves out the title, the search window and the names read.\n"
    "\n"
    "--horizon=FILE lists a minimum only with the star also at or above your\n"
    "skyline: FILE holds lines AZIMUTH ALTITUDE in degrees, the azimuth from north\n"
    "through east (0-360), the altitude between points linear in azimuth; blank\n"
    "lines and lines starting with # are left out.\n"
    "\n"
    "--zone: the clock of the night and of data.dat's dates and hours, a fixed offset\n"
    "(+09:00, -05:00) or a zone of the time-zone database (Europe/London); JST by\n"
    "default. Each night keeps the offset in force at 18:00 on its evening, so a\n"
    "summer-time change in the small hours does not move the night's hours.\n"
    "\n"
    "--coverage=PERCENT lists a minimum only when at least PERCENT of its eclipse\n"
    "window is also observable (in the night, the star high enough and above the\n"
    "skyline, the Moon far enough): first to last contact from the line's duration\n"
    "(columns 95-99, 101-105), widened by the timing uncertainty from its errors\n"
    "(columns 114-123, 125-136; at most a period) and by --baseline=MINUTES on each\n"
    "side. Tested at both ends, the minimum and steps of at most 5 minutes, each\n"
    "change found to the minute. A star without a duration is judged at its minimum\n"
    "alone.\n"
    "\n"
    "--csv also writes data.csv, the listed minima as a table (RFC 4180, a header\n"
    "row, one row a minimum in data.dat's order): the window's first and last\n"
    "contact, the altitudes there and at the minimum, the azimuth from north through\n"
    "east, the meridian crossing, the Sun and the Moon (from ERFA), the coverage.\n"
    "--ics also writes data.ics, the same minima as calendar events (iCalendar, UTC)\n"
    "over the window --coverage judges (the minimum -/+ 30 minutes without a\n"
    "duration); each event's UID stays the same for the same star, minimum and\n"
    "cycle. Its DTSTAMP is the time of the run, or SOURCE_DATE_EPOCH (seconds since\n"
    "1970) when set. data.dat and the files asked for are replaced together, or none.\n"
    "\n"
    "Exit status 0 on success, 1 on failure, 2 for a bad option or option value\n"
    "(message on standard error).\n"
    "See eclfore(1).\n";

/// The entry routine: the dialogue, the window, then one pass over the catalogue.
int run(const io::Options& options) {
  eclfore::ForecastRequest request;
  request.sky_options = formats::sky_options(options);
  const std::optional<astro::NamedSite> site_given = formats::site_option(options);
  const eclfore::GivenAnswers given = eclfore::given_answers(options);
  const bool quiet = formats::quiet_option(options);
  request.horizon = formats::horizon_option(options);
  request.coverage = formats::coverage_options(options);
  const astro::CivilClock clock = formats::zone_option(options);
  const bool table_asked = options.has(eclfore::kCsvOption.name);
  const bool calendar_asked = options.has(eclfore::kIcsOption.name);
  const std::int64_t stamp_seconds = calendar_asked ? formats::calendar_stamp_seconds() : 0;
  std::vector<std::string_view> outputs = {kForecastFile};
  if (table_asked) outputs.push_back(eclfore::kTableFile);
  if (calendar_asked) outputs.push_back(eclfore::kCalendarFile);
  const std::string_view inputs[] = {kStarFile, kConditionFile};
  io::refuse_shared_files(inputs, outputs);
  if (!quiet) {
    io::print_text("\n<<< binary minima calculation >>>\n");
    io::print_text("Version Oct/2006\n\n");
  }
  request.year = given.year ? *given.year : eclfore::ask_year(stdin, kForecastFile);
  if (given.month) {
    request.month = *given.month;
  } else {
    request.month = eclfore::ask_int(stdin, "month = ", "month");
    eclfore::warn_of_typed_month(request.month);
  }
  // "minimun" is the prompt's own spelling, kept on purpose: users' scripts answer it.
  request.min_altitude_deg =
      given.lowest_deg
          ? *given.lowest_deg
          : eclfore::ask_float(stdin, "how many minimun degrees = ", "lowest altitude");
  request.site = site_given ? site_given->site : eclfore::ask_site(stdin);

  const eclfore::ConditionTable conditions = eclfore::read_conditions(kConditionFile);
  int condition_no = 0;
  if (given.condition) {
    eclfore::refuse_unlisted_condition(*given.condition, conditions.count, kConditionFile);
    condition_no = *given.condition;
  } else {
    // The table is the question's menu: shown only when it is asked.
    eclfore::print_conditions(conditions);
    condition_no = eclfore::ask_condition_no(stdin, conditions.count);
  }
  const eclfore::SelectionCondition& condition =
      conditions.rows[static_cast<std::size_t>(condition_no)];

  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month, clock);
  if (!quiet) {
    io::print_text("\n");
    io::print_text(fmt::format("\n\nSTART J.D. = {:f}\nEND   J.D. = {:f}\n\n",
                               static_cast<double>(static_cast<long double>(window.start_mjd) +
                                                   static_cast<long double>(astro::kMjdZeroJd)),
                               static_cast<double>(static_cast<long double>(window.end_mjd) +
                                                   static_cast<long double>(astro::kMjdZeroJd))));
  }

  // The rule with its sky tables and the shortcuts' tables, built once for the whole
  // catalogue (and once more for each other time scale that a star.dat line names).
  eclfore::RulesByScale rules(request, window, clock);
  // The Sun, the Moon and the stars' apparent places of the table's and the calendar's
  // rows, whatever the options.
  std::optional<astro::ObservingConditions> row_sky;
  if (table_asked || calendar_asked) row_sky = eclfore::row_sky(window, request.site);

  // The first line is read before data.dat is created, so that a star.dat that
  // cannot be read at all (a folder of that name) leaves data.dat untouched too.
  std::optional<io::LineReader> catalogue;
  std::string line;
  bool have_line = false;
  try {
    catalogue.emplace(kStarFile);
    have_line = catalogue->next(line);
  } catch (const io::RunError&) {
    // The message as the forecast has always printed it, its 0 kept on purpose.
    io::print_text("Cannot open input file. 0\n");
    throw;
  }
  // data.dat alone as it has always been written; with the table or the calendar, the
  // files of one set, replaced together.
  std::optional<io::OutputFile> forecast_alone;
  io::OutputSet output_set;
  io::OutputFile* table = nullptr;
  io::OutputFile* calendar = nullptr;
  if (!table_asked && !calendar_asked) forecast_alone.emplace(kForecastFile);
  io::OutputFile& forecast = forecast_alone ? *forecast_alone : output_set.add(kForecastFile);
  if (table_asked) {
    table = &output_set.add(eclfore::kTableFile);
    table->write(formats::kMinimumTableHeader);
    table->end_line();
  }
  if (calendar_asked) {
    calendar = &output_set.add(eclfore::kCalendarFile);
    calendar->write(formats::calendar_head("eclfore"));
  }

  // One table row's text, its room kept from row to row.
  std::string table_line;
  astro::ClockDays table_days;  // the month's days, for every row's times
  formats::StarVisitor visitor;
  // A usable line holds no NUL, so the whole field is the name as printed.
  visitor.named = [quiet](const formats::StarRecord& star) {
    if (!quiet) io::print_text(star.name);
  };
  visitor.use = [&](const formats::StarRecord& star) -> std::optional<std::string> {
    if (!eclfore::is_selected(star, condition)) return std::nullopt;
    if (auto problem = eclfore::cycle_problem(star, window)) return problem;
    const eclfore::ScaleRule& scale_rule = rules.for_star(star);
    // The table's and the calendar's entry of each minimum listed, the star's terms
    // taken for its first.
    std::optional<eclfore::StarForRule> row_star;
    std::optional<astro::StarPlace> row_place;
    auto export_minimum = [&](const eclfore::ForecastMinimum& minimum) {
      if (!row_star) {
        row_star = eclfore::star_for_rule(star, scale_rule.rule);
        const formats::IcrsPosition icrs = formats::icrs_position(star);
        row_place = row_sky->star(icrs.ra_rad, icrs.dec_rad);
      }
      const formats::MinimumTableRow row = eclfore::table_row(
          minimum, *row_star, window, scale_rule.rule, clock, *row_sky, *row_place);
      if (table != nullptr) {
        table_line.clear();
        formats::append_minimum_table_row(table_line, row, table_days);
        table->write(table_line);
        table->end_line();
      }
      if (calendar != nullptr) {
        const formats::EventSpan event = eclfore::event_window(minimum, scale_rule.rule);
        calendar->write(formats::calendar_event(
            formats::minimum_event(row, event.start_jd, event.end_jd), stamp_seconds));
      }
    };
    // Made a consumer only when asked: the plain run passes nothing on.
    std::optional<eclfore::MinimumConsumer> exporter;
    if (table != nullptr || calendar != nullptr) exporter.emplace(export_minimum);
    const eclfore::MinimumConsumer* also_listed = exporter ? &*exporter : nullptr;
    if (scale_rule.rule.clock == nullptr) {
      eclfore::fast::forecast_star(star, window, scale_rule.rule, scale_rule.tables, forecast,
                                   also_listed);
    } else {
      // The shortcuts are proven for JST's day boundaries: another clock takes the rule.
      eclfore::search_minima(star, window, scale_rule.rule,
                             [&](const eclfore::ForecastMinimum& minimum) {
                               eclfore::write_forecast_line(forecast, minimum);
                               if (also_listed != nullptr) (*also_listed)(minimum);
                             });
    }
    return std::nullopt;
  };
  formats::for_each_catalogue_star(*catalogue, line, have_line, visitor);
  if (forecast_alone) {
    forecast.close();
  } else {
    if (calendar != nullptr) calendar->write(formats::calendar_end());
    output_set.commit();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::OptionSpec kOptions[] = {
      formats::kSunBelowOption, formats::kMoonDistanceOption, formats::kEpochsOption,
      formats::kOfDateOption,   formats::kSiteOption,         eclfore::kYearOption,
      eclfore::kMonthOption,    eclfore::kLowestOption,       eclfore::kConditionOption,
      formats::kQuietOption,    formats::kHorizonOption,      formats::kZoneOption,
      formats::kCoverageOption, formats::kBaselineOption,     eclfore::kCsvOption,
      eclfore::kIcsOption};
  static constexpr io::ProgramInfo kInfo{"eclfore", kAbout, kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
