// Google Benchmark of the options for today's sky: building a month's tables, the
// per-star part, and each test a candidate minimum meets.
#include <benchmark/benchmark.h>

#include "astro/ephemeris.h"

namespace {

constexpr double kLongitudeDeg = 139.77;
constexpr double kLatitudeDeg = 35.67;
/// 2006-09-30 21:00 JST, the start of the October 2006 window.
constexpr double kWindowStartJd = 2454009.0;
constexpr double kWindowDays = 33;

astro::SkyOptions all_options(astro::EpochScale epochs) {
  astro::SkyOptions options;
  options.sun_below_deg = astro::kNauticalTwilightDeg;
  options.moon_distance_deg = 10;
  options.epochs = epochs;
  options.of_date = true;
  return options;
}

const astro::ObservingConditions& month(astro::EpochScale epochs) {
  static const astro::ObservingConditions hjd(all_options(astro::EpochScale::kHjd), kWindowStartJd,
                                              kWindowStartJd + kWindowDays, kLongitudeDeg,
                                              kLatitudeDeg);
  static const astro::ObservingConditions bjd(all_options(astro::EpochScale::kBjd), kWindowStartJd,
                                              kWindowStartJd + kWindowDays, kLongitudeDeg,
                                              kLatitudeDeg);
  return epochs == astro::EpochScale::kHjd ? hjd : bjd;
}

/// Instants stepping through the window.
double next(double jd) {
  jd += 0.0137;
  return jd > kWindowStartJd + kWindowDays ? kWindowStartJd : jd;
}

void BM_BuildMonthTables(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        astro::ObservingConditions(all_options(astro::EpochScale::kBjd), kWindowStartJd,
                                   kWindowStartJd + kWindowDays, kLongitudeDeg, kLatitudeDeg));
  }
}
BENCHMARK(BM_BuildMonthTables)->Unit(benchmark::kMillisecond);

void BM_StarPlace(benchmark::State& state) {
  const auto& c = month(astro::EpochScale::kHjd);
  double ra = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.star(ra, 0.35));
    ra = ra > 6 ? 0 : ra + 0.01;
  }
}
BENCHMARK(BM_StarPlace);

template <astro::EpochScale kScale>
void BM_GeocentricJd(benchmark::State& state) {
  const auto& c = month(kScale);
  const astro::StarPlace star = c.star(5.6, 0.35);
  double jd = kWindowStartJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.geocentric_jd(jd, star));
    jd = next(jd);
  }
}
BENCHMARK(BM_GeocentricJd<astro::EpochScale::kHjd>);
BENCHMARK(BM_GeocentricJd<astro::EpochScale::kBjd>);

void BM_SunOk(benchmark::State& state) {
  const auto& c = month(astro::EpochScale::kHjd);
  double jd = kWindowStartJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.sun_ok(jd));
    jd = next(jd);
  }
}
BENCHMARK(BM_SunOk);

void BM_MoonOk(benchmark::State& state) {
  const auto& c = month(astro::EpochScale::kHjd);
  const astro::StarPlace star = c.star(5.6, 0.35);
  double jd = kWindowStartJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.moon_ok(jd, star));
    jd = next(jd);
  }
}
BENCHMARK(BM_MoonOk);

void BM_AltitudeOfDate(benchmark::State& state) {
  const auto& c = month(astro::EpochScale::kHjd);
  const astro::StarPlace star = c.star(5.6, 0.35);
  double jd = kWindowStartJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(c.altitude_of_date(jd, star));
    jd = next(jd);
  }
}
BENCHMARK(BM_AltitudeOfDate);

}  // namespace

BENCHMARK_MAIN();
