// Google Benchmark of the shared routines that every candidate minimum and every
// catalogue line passes through.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/catalogue.h"
#include "astro/dates.h"
#include "astro/horizon.h"
#include "astro/records.h"

namespace {

const char* kSample =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 C012";

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
  for (auto _ : state) benchmark::DoNotOptimize(astro::parse_decimal(field));
}
BENCHMARK(BM_ParseDecimal);

void BM_ParseStarRecord(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(astro::parse_star_record(kSample));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseStarRecord);

}  // namespace

BENCHMARK_MAIN();
