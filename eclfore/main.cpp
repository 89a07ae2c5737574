// eclfore: the month's forecast of eclipsing-binary minima (star.dat, condition.dat
// -> data.dat).
#include <cstdio>
#include <optional>
#include <string>

#include <fmt/format.h>

#include "astro/constants.h"
#include "conditions.h"
#include "dialogue.h"
#include "fast/forecast_star.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "formats/catalogue_loop.h"
#include "formats/records.h"
#include "formats/site_option.h"
#include "formats/sky_options.h"
#include "formats/zone_option.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "search_window.h"

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
    "--site answers the site question, which is then not asked: a menu number 1-11,\n"
    "a place name (sapporo, sendai, tokyo, niigata, kanazawa, nagoya, osaka,\n"
    "hiroshima, kochi, fukuoka, okinawa) or LON,LAT in degrees east and north\n"
    "(--site=-0.13,51.48), longitude -180 to 360, latitude -90 to 90.\n"
    "\n"
    "--zone: the clock of the night and of data.dat's dates and hours, a fixed offset\n"
    "(+09:00, -05:00) or a zone of the time-zone database (Europe/London); JST by\n"
    "default. Each night keeps the offset in force at 18:00 on its evening, so a\n"
    "summer-time change in the small hours does not move the night's hours.\n"
    "\n"
    "Exit status 0 on success, 1 on failure (message on standard error).\n"
    "See eclfore(1).\n";

/// The entry routine: the dialogue, the window, then one pass over the catalogue.
int run(const io::Options& options) {
  eclfore::ForecastRequest request;
  request.sky_options = formats::sky_options(options);
  const std::optional<astro::NamedSite> site_given = formats::site_option(options);
  const astro::CivilClock clock = formats::zone_option(options);
  io::refuse_shared_files({kStarFile, kConditionFile}, {kForecastFile});
  io::print_text("\n<<< binary minima calculation >>>\n");
  io::print_text("Version Oct/2006\n\n");
  request.year = eclfore::ask_year(stdin, kForecastFile);
  request.month = eclfore::ask_int(stdin, "month = ", "month");
  // "minimun" is the prompt's own spelling, kept on purpose: users' scripts answer it.
  request.min_altitude_deg =
      eclfore::ask_float(stdin, "how many minimun degrees = ", "lowest altitude");
  request.site = site_given ? site_given->site : eclfore::ask_site(stdin);

  const eclfore::ConditionTable conditions = eclfore::read_conditions(kConditionFile);
  eclfore::print_conditions(conditions);
  const int condition_no = eclfore::ask_condition_no(stdin, conditions.count);
  const eclfore::SelectionCondition& condition =
      conditions.rows[static_cast<std::size_t>(condition_no)];
  io::print_text("\n");

  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month, clock);
  io::print_text(fmt::format("\n\nSTART J.D. = {:f}\nEND   J.D. = {:f}\n\n",
                             static_cast<double>(static_cast<long double>(window.start_mjd) +
                                                 static_cast<long double>(astro::kMjdZeroJd)),
                             static_cast<double>(static_cast<long double>(window.end_mjd) +
                                                 static_cast<long double>(astro::kMjdZeroJd))));

  // Built only when an option asks for it: the default run never calls ERFA.
  std::optional<astro::ObservingConditions> sky;
  if (request.sky_options.any()) {
    sky.emplace(eclfore::window_sky(request.sky_options, window, request.site));
  }
  const eclfore::ListingRule rule = eclfore::listing_rule(request, sky ? &*sky : nullptr, clock);
  // The shortcuts' tables, built once for the whole catalogue.
  const eclfore::fast::RunTables tables = eclfore::fast::run_tables(window, rule);

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
  io::OutputFile forecast(kForecastFile);

  formats::StarVisitor visitor;
  // A usable line holds no NUL, so the whole field is the name as printed.
  visitor.named = [](const formats::StarRecord& star) { io::print_text(star.name); };
  visitor.use = [&](const formats::StarRecord& star) -> std::optional<std::string> {
    if (!eclfore::is_selected(star, condition)) return std::nullopt;
    if (auto problem = eclfore::cycle_problem(star, window)) return problem;
    if (rule.clock == nullptr) {
      eclfore::fast::forecast_star(star, window, rule, tables, forecast);
    } else {
      // The shortcuts are proven for JST's day boundaries: another clock takes the rule.
      eclfore::search_minima(star, window, rule, [&](const eclfore::ForecastMinimum& minimum) {
        eclfore::write_forecast_line(forecast, minimum);
      });
    }
    return std::nullopt;
  };
  formats::for_each_catalogue_star(*catalogue, line, have_line, visitor);
  forecast.close();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::OptionSpec kOptions[] = {
      formats::kSunBelowOption, formats::kMoonDistanceOption, formats::kEpochsOption,
      formats::kOfDateOption,   formats::kSiteOption,         formats::kZoneOption};
  static constexpr io::ProgramInfo kInfo{"eclfore", kAbout, kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
