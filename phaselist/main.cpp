// phaselist: the phase table. For a typed start and stop time (on the zone's clock,
// JST by default) it writes
// isou.txt with the phase and altitude of every flagged star of star.dat.
#include <cstdio>
#include <optional>
#include <string>

#include "astro/constants.h"
#include "astro/sites.h"
#include "formats/answer_options.h"
#include "formats/catalogue.h"
#include "formats/catalogue_loop.h"
#include "formats/horizon_option.h"
#include "formats/records.h"
#include "formats/site_option.h"
#include "formats/sky_options.h"
#include "formats/zone_option.h"
#include "io/atomic_output.h"
#include "io/cli.h"
#include "io/console.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "phase_table.h"
#include "times.h"

namespace {

constexpr const char* kCatalogueFile = "star.dat";
constexpr const char* kTableFile = "isou.txt";

/// The prompts, with the clock's name where JST stands by default.
std::string start_prompt(const astro::CivilClock& clock) {
  return "Star date & time (ex. 1998 1 1 21 0 " + clock.name() + ") ";
}
std::string stop_prompt(const astro::CivilClock& clock) {
  return "Stop date & time (ex. 1998 1 1 23 0 " + clock.name() + ") ";
}

constexpr const char* kAbout =
    "Writes the phase table isou.txt: the phase and the altitude, at a start and at a\n"
    "stop time, of every star of star.dat whose select flag (column 88, counted from 0)\n"
    "is 2, 3, 6 or 7, seen from the built-in site 139.77 E, 35.67 N (or from --site).\n"
    "Both files are in the current folder; isou.txt is created or replaced.\n"
    "\n"
    "It asks for two answers of five integers each, a date and clock time (JST, or\n"
    "the clock of --zone):\n"
    "  Star date & time (ex. 1998 1 1 21 0 JST)   year month day hour minute of the start\n"
    "  Stop date & time (ex. 1998 1 1 23 0 JST)   the same for the stop\n"
    "Hours after midnight may be typed as 24 to 29 of the evening's date.\n"
    "The names of the flagged stars are echoed as they are read.\n"
    "\n"
    "--epochs=hjd or bjd: star.dat's epochs are heliocentric (UTC) or barycentric\n"
    "(TDB) Julian Dates; each typed time is converted into that scale for the star\n"
    "before its phase is taken. A star.dat line that names its own time scale (JD,\n"
    "HJD or BJD in columns 138-140) is taken in that scale, whatever --epochs says.\n"
    "--of-date: altitudes of the apparent place of date.\n"
    "--site: a number 1-11 of eclfore's site menu, a place name (sapporo, sendai,\n"
    "tokyo, niigata, kanazawa, nagoya, osaka, hiroshima, kochi, fukuoka, okinawa) or\n"
    "LON,LAT in degrees east and north (--site=-0.13,51.48).\n"
    "--horizon=FILE: your skyline, lines AZIMUTH ALTITUDE in degrees (azimuth from\n"
    "north through east, 0-360; blank lines and lines starting with # left out);\n"
    "a star behind it gets (--) for its altitude, as one below the horizon does.\n"
    "\n"
    "--start and --stop answer the two questions, which are then not asked:\n"
    "YYYY-MM-DDTHH:MM (2025-01-15T25:30), the hour 0 to 29 (after midnight 24 on),\n"
    "the year -999 to 9999; a bad value is a usage fault (status 2) before isou.txt\n"
    "is touched. --quiet leaves out the names read.\n"
    "--zone: the clock of the typed times, a fixed offset (+09:00, -05:00) or a zone\n"
    "of the time-zone database (Europe/London); JST by default. A time takes the\n"
    "offset in force at 18:00 on the evening of its night (hours before 12 belong to\n"
    "the night before), and the prompts and the title name the clock.\n"
    "\n"
    "Exit status: 0 when the table is written; 1, with a message on standard error,\n"
    "when an answer is not five integers or its year is not -999 to 9999, star.dat\n"
    "or the horizon file cannot be read or isou.txt cannot be written; 2 for a bad\n"
    "option or option value.\n"
    "or the horizon file cannot be read or isou.txt cannot be written.\n"
    "\n"
    "See phaselist(1).\n";

/// The sky of a table time at the site.
astro::InstantSky instant_sky(const phaselist::TableTime& time, const astro::ObservingSite& site) {
  return astro::InstantSky(time.mjd + astro::kMjdZeroJd, site.longitude_deg, site.latitude_deg);
}

/// The sky of a table time at the site, when an option asks for it.
std::optional<astro::InstantSky> instant_sky(const astro::SkyOptions& options,
                                             const phaselist::TableTime& time,
                                             const astro::ObservingSite& site) {
  if (!options.any()) return std::nullopt;
  return instant_sky(time, site);
}

int run(const io::Options& options) {
  using namespace phaselist;
  const astro::SkyOptions sky_options = formats::sky_options(options);
  const std::optional<astro::NamedSite> site_given = formats::site_option(options);
  const TableSite site = table_site(site_given ? site_given->site : astro::kBuiltInSite);
  const std::optional<TypedTime> start_given = time_option(options, kStartOption);
  const std::optional<TypedTime> stop_given = time_option(options, kStopOption);
  const bool quiet = formats::quiet_option(options);
  const std::optional<astro::HorizonProfile> skyline = formats::horizon_option(options);
  const astro::CivilClock clock = formats::zone_option(options);
  io::refuse_shared_files({kCatalogueFile}, {kTableFile});

  auto ask_time = [](const std::string& prompt, const char* which) {
    io::prompt(prompt);
    const TypedTime typed = read_typed_time(stdin, which);
    refuse_year_beyond_title(typed, which, kTableFile);
    return typed;
  };
  const TypedTime start_typed =
      start_given ? *start_given : ask_time(start_prompt(clock), "start date & time");
  const TypedTime stop_typed =
      stop_given ? *stop_given : ask_time(stop_prompt(clock), "stop date & time");
  const TableTime start = table_time(start_typed, clock);
  const TableTime stop = table_time(stop_typed, clock);
  // Built only when an option or a star.dat line's time scale asks for it: the default
  // run never calls ERFA.
  std::optional<astro::InstantSky> start_sky = instant_sky(sky_options, start, site.degrees);
  std::optional<astro::InstantSky> stop_sky = instant_sky(sky_options, stop, site.degrees);
  auto time_sky = [&](std::optional<astro::InstantSky>& sky, const TableTime& time,
                      astro::EpochScale epochs) {
    if (!sky && epochs != astro::EpochScale::kJd) sky = instant_sky(time, site.degrees);
    return TimeSky{sky ? &*sky : nullptr, epochs, sky_options.of_date};
  };

  io::LineReader stars(kCatalogueFile);
  std::string line;
  // The first line is read before isou.txt is created: a star.dat that cannot be
  // read (a folder of that name) leaves the previous table as it was.
  bool have_line = stars.next(line);
  io::OutputFile table(kTableFile);
  write_title(table, start_typed, stop_typed, clock_names_of(start, stop));
  write_header(table);

  formats::StarVisitor visitor;
  // A usable line holds no NUL, so the whole field is the name as printed.
  visitor.named = [quiet](const formats::StarRecord& star) {
    if (!quiet) io::print_text(star.name);
  };
  visitor.wanted = formats::selected_for_phase_table;
  visitor.use = [&](const formats::StarRecord& star) -> std::optional<std::string> {
    const StarRadians place = star_radians(star);
    // The line's own time scale holds over --epochs.
    const astro::EpochScale epochs = formats::epoch_scale_of(star, sky_options.epochs);
    const auto at_start = star_at(start, star, place, site, time_sky(start_sky, start, epochs));
    const auto at_stop = star_at(stop, star, place, site, time_sky(stop_sky, stop, epochs));
    if (!at_start || !at_stop) return "cycle count since the epoch does not fit 32 bits";
    write_star_line(table, star, *at_start, *at_stop, skyline ? &*skyline : nullptr);
    return std::nullopt;
  };
  formats::for_each_catalogue_star(stars, line, have_line, visitor);
  table.close();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  static constexpr io::OptionSpec kOptions[] = {formats::kEpochsOption,  formats::kOfDateOption,
                                                formats::kSiteOption,    phaselist::kStartOption,
                                                phaselist::kStopOption,  formats::kQuietOption,
                                                formats::kHorizonOption, formats::kZoneOption};
  static constexpr io::ProgramInfo kInfo{"phaselist", kAbout, kOptions};
  return io::run_program(argc, argv, kInfo, run);
}
