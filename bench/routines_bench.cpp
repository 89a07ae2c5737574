// Google Benchmark of the shared routines that every candidate minimum and every
// catalogue line passes through.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <string>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/horizon.h"
#include "fast/forecast_star.h"
#include "fast/line_in_place.h"
#include "fast/quick_altitude.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "formats/fixed_format.h"
#include "formats/minimum_table.h"
#include "formats/records.h"
#include "io/output_file.h"
#include "io/text_files.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "search_window.h"

namespace {

const char* kSample =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

void BM_CalendarToMjd(benchmark::State& state) {
  float hour = 18.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(astro::calendar_to_mjd(2006, 10, 1, hour));
    hour = hour > 29.0f ? 18.0f : hour + 0.01f;
  }
}
BENCHMARK(BM_CalendarToMjd);

void BM_JdToLocalDate(benchmark::State& state) {
  double jd = 2454009.5;
  for (auto _ : state) {
    benchmark::DoNotOptimize(astro::jd_to_local_date(jd));
    jd += 0.0137;
  }
}
BENCHMARK(BM_JdToLocalDate);

void BM_SiderealAndHorizon(benchmark::State& state) {
  double mjd = 54009.5;
  for (auto _ : state) {
    const double lst = astro::local_sidereal_time(mjd, 139.77f);
    benchmark::DoNotOptimize(astro::equatorial_to_horizontal(lst, 0.6225f, 5.6f, 0.35f));
    mjd += 0.0137;
  }
}
BENCHMARK(BM_SiderealAndHorizon);

void BM_ParseDecimal(benchmark::State& state) {
  const std::string field = " 2453000.1234";
  for (auto _ : state) benchmark::DoNotOptimize(formats::parse_decimal(field));
}
BENCHMARK(BM_ParseDecimal);

void BM_ParseStarRecord(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(formats::parse_star_record(kSample));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseStarRecord);

void BM_AppendFixed(benchmark::State& state) {
  std::string out;
  double jd = 2454009.9999;
  for (auto _ : state) {
    out.clear();
    formats::append_fixed(out, jd, 12, 4);
    benchmark::DoNotOptimize(out.data());
    jd += 0.0137;
  }
}
BENCHMARK(BM_AppendFixed);

/// The numbers of one ForecastLine (value, precision): hour, JD, altitude, RA, Dec,
/// magnitudes; the mix format_fixed meets in a forecast run.
struct FixedValue {
  double value;
  int precision;
};
constexpr std::array<FixedValue, 10> kForecastNumbers{{{20.75, 2},
                                                       {2454009.9999, 4},
                                                       {73.30000305175781, 1},
                                                       {21, 0},
                                                       {30, 0},
                                                       {0, 0},
                                                       {-20, 0},
                                                       {15, 0},
                                                       {9.800000190734863, 1},
                                                       {10.899999618530273, 1}}};

/// The ForecastLine numbers by format_fixed: numbers per second.
void BM_FormatFixedForecastMix(benchmark::State& state) {
  formats::NumberText text;
  double shift = 0;
  for (auto _ : state) {
    for (const FixedValue& n : kForecastNumbers) {
      benchmark::DoNotOptimize(formats::format_fixed(text, n.value + shift, n.precision));
    }
    shift = shift > 1 ? 0 : shift + 0.0137;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kForecastNumbers.size()));
}
BENCHMARK(BM_FormatFixedForecastMix);

/// The same numbers by std::to_chars with a precision: numbers per second.
void BM_ToCharsForecastMix(benchmark::State& state) {
  formats::NumberText text;
  double shift = 0;
  for (auto _ : state) {
    for (const FixedValue& n : kForecastNumbers) {
      benchmark::DoNotOptimize(std::to_chars(text.data(), text.data() + text.size(),
                                             n.value + shift, std::chars_format::fixed,
                                             n.precision));
    }
    shift = shift > 1 ? 0 : shift + 0.0137;
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kForecastNumbers.size()));
}
BENCHMARK(BM_ToCharsForecastMix);

/// ForecastLines through the CR LF writer into /dev/null, each with the star's texts and
/// written in place: lines per second.
void BM_WriteForecastLine(benchmark::State& state) {
  const formats::StarRecord star = formats::parse_star_record(kSample);
  io::OutputFile out("/dev/null");
  astro::LocalDate night{2006, 10, 1, 20, 60};
  double jd = 2454009.9999;
  float altitude = 73.3f;
  for (auto _ : state) {
    const eclfore::ForecastMinimum minimum{
        &star, eclfore::MinimumKind::kPrimary, jd - astro::kMjdZeroJd, jd, night, altitude};
    eclfore::fast::write_line_in_place(out, eclfore::star_line_text(star), minimum);
    jd += 0.0137;
    altitude = altitude > 89.0f ? 20.0f : altitude + 0.37f;
    night.minute = (night.minute + 7) % 61;
  }
  out.close();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WriteForecastLine);

/// One row of the minima table with every field known (a window judged for its share),
/// appended into a buffer kept from row to row as eclfore writes data.csv: rows per
/// second.
void BM_AppendMinimumTableRow(benchmark::State& state) {
  // TX UMa on a December night at Tokyo.
  formats::MinimumTableRow row{.name = "TX UMa              ",
                               .secondary = false,
                               .cycle = "7211",
                               .night = {2026, 12, 14},
                               .offset_seconds = 9 * 3600,
                               .start_jd = 2461389.04838,
                               .end_jd = 2461389.3663,
                               .minimum_jd = 2461389.20734,
                               .uncertainty_min = 2.3,
                               .duration_h = 7.63,
                               .coverage_pct = 100,
                               .alt_start_deg = 22.81,
                               .alt_minimum_deg = 48.17,
                               .alt_end_deg = 71.4,
                               .az_minimum_deg = 31.05,
                               .meridian_jd = 2461389.31288,
                               .sun_alt_start_deg = -21.7,
                               .sun_alt_end_deg = -62.3,
                               .moon_alt_deg = 12.66,
                               .moon_distance_deg = 74.2,
                               .moon_illumination_pct = 23.9,
                               .type = "EA/SD",
                               .mag_max = 7.06f,
                               .mag_min = 8.8f,
                               .ra_deg = 156.73917,
                               .dec_deg = 45.56139,
                               .time_scale = "HJD",
                               .catalogue = "GCVS"};
  std::string line;
  for (auto _ : state) {
    line.clear();
    formats::append_minimum_table_row(line, row);
    benchmark::DoNotOptimize(line.data());
    // Another time of night each row.
    for (double* jd : {&*row.start_jd, &row.minimum_jd, &*row.end_jd, &row.meridian_jd}) {
      *jd += 0.0137;
    }
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AppendMinimumTableRow);

/// Both passes of one star over October 2006 at Tokyo with nothing listed (limit 91
/// degrees): the candidate test alone, output excluded. Items are candidates.
void BM_CandidateTest(benchmark::State& state) {
  const formats::StarRecord star = formats::parse_star_record(kSample);
  eclfore::ForecastRequest request;
  request.year = 2006;
  request.month = 10;
  request.min_altitude_deg = 91.0f;
  request.site = *eclfore::site_for_menu_number(3);
  const eclfore::SearchWindow window = eclfore::search_window(2006, 10);
  const eclfore::ListingRule rule = eclfore::listing_rule(request, nullptr);
  // Built once for a run, as eclfore does.
  const eclfore::fast::RunTables tables = eclfore::fast::run_tables(window, rule);
  io::OutputFile out("/dev/null");
  const long candidates = eclfore::count_candidates(star, window);
  for (auto _ : state) {
    benchmark::DoNotOptimize(eclfore::fast::forecast_star(star, window, rule, tables, out));
  }
  out.close();
  state.SetItemsProcessed(state.iterations() * candidates);
}
BENCHMARK(BM_CandidateTest);

/// The quick altitude of a star at 35 degrees north, declination 20 degrees, lowest
/// altitude 20 degrees, over 1,024 hour angles spread over the turn. Items are calls.
void BM_QuickAltitude(benchmark::State& state) {
  eclfore::ForecastRequest request;
  request.min_altitude_deg = 20.0f;
  const eclfore::fast::AltitudeCells cells =
      eclfore::fast::altitude_cells(eclfore::listing_rule(request, nullptr));
  const astro::HorizonTerms terms = astro::horizon_terms(0.6108652f, 0.34906585f);
  std::array<double, 1024> turns{};
  for (std::size_t i = 0; i < turns.size(); ++i) {
    // A step of the golden ratio's fraction: every quadrant, in no pattern.
    turns[i] = static_cast<double>(i) * 0.6180339887 + 3;
  }
  for (auto _ : state) {
    for (const double t : turns) {
      benchmark::DoNotOptimize(eclfore::fast::quick_altitude(cells, terms, t));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(turns.size()));
}
BENCHMARK(BM_QuickAltitude);

}  // namespace

BENCHMARK_MAIN();
