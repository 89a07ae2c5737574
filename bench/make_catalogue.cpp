// Writes a synthetic star.dat of N stars in exact catalogue columns to standard output:
// all-sky positions, periods log-uniform from 0.2 to 20 days, magnitudes 6 to 14,
// epochs spread over JD 2450000-2460000, a fixed seed so every run gives the same file.
//
// usage: make_catalogue N [seed [extension]]
// With "extension" every EA and EB line goes on with an eclipse duration (5 to 25 percent
// of the period) and errors of the epoch and the period, as a catalogue for --coverage.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMinPeriodDays = 0.2;
constexpr double kMaxPeriodDays = 20.0;
constexpr double kFirstEpochJd = 2450000.0;
constexpr double kEpochSpanDays = 10000.0;
constexpr double kBrightestMag = 6.0;
constexpr double kFaintestMag = 14.0;
constexpr const char* kTypes[] = {"EA", "EB", "EW"};

/// Uniform in [0, 1) from the top 53 bits: the same sequence on every platform.
double uniform(std::mt19937_64& rng) { return static_cast<double>(rng() >> 11) * 0x1.0p-53; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_catalogue N [seed [extension]]\n");
    return 2;
  }
  const long n = std::atol(argv[1]);
  std::mt19937_64 rng(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20061001);
  const bool extension = argc > 3 && std::strcmp(argv[3], "extension") == 0;
  // The extension's own numbers, so that the lines stay those of the plain catalogue.
  std::mt19937_64 extension_rng(rng());
  rng.seed(argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 20061001);
  for (long i = 0; i < n; ++i) {
    const double epoch = kFirstEpochJd + uniform(rng) * kEpochSpanDays;
    const double period =
        kMinPeriodDays * std::exp(uniform(rng) * std::log(kMaxPeriodDays / kMinPeriodDays));
    const long ra_seconds = static_cast<long>(uniform(rng) * 86400);
    // Uniform over the sphere: sin(dec) uniform in [-1, 1).
    const double dec = std::asin(2 * uniform(rng) - 1) * 180 / kPi;
    const long dec_arcmin = std::lround(std::fabs(dec) * 60);
    const double faint_limit = kFaintestMag - 0.1;
    const double mag_max = kBrightestMag + uniform(rng) * (faint_limit - kBrightestMag);
    double mag_min = mag_max + 0.1 + uniform(rng) * 1.9;
    if (mag_min > kFaintestMag) mag_min = kFaintestMag;
    const int flag = static_cast<int>(uniform(rng) * 10);
    const char* type = kTypes[static_cast<int>(uniform(rng) * 3)];

    char name[32];
    std::snprintf(name, sizeof name, "SYN %07ld", i + 1);
    std::printf(
        "%-20s %12.4f %12.7f %2ld %2ld %02ld  %c%02ld %02ld       %s %4.1f %4.1f      %d S%03ld",
        name, epoch, period, ra_seconds / 3600, ra_seconds / 60 % 60, ra_seconds % 60,
        dec < 0 ? '-' : '+', dec_arcmin / 60, dec_arcmin % 60, type, mag_max, mag_min, flag,
        i % 1000);
    if (extension && std::strcmp(type, "EW") != 0) {
      const double duration_pct = 5 + uniform(extension_rng) * 20;
      const double epoch_error = uniform(extension_rng) * 0.002;
      const double period_error = uniform(extension_rng) * 2e-6;
      std::printf(" %5.1f %5s %6s %10.6f %12.9f JD", duration_pct, "", "", epoch_error,
                  period_error);
    }
    std::printf("\n");
  }
  return 0;
}
