#include "astro/time_scales.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

struct TcbInstant {
  double whole, part;  ///< TCB Julian Date, days, in two parts
  long double tdb_jd;  ///< astropy's TDB Julian Date of it
};

// make_time_scales_reference.py (astropy 5.2.1).
const TcbInstant kAstropy[] = {
    {2455197.5, 0.0, 2455197.0L + 0.4998131151000369L},
    {2455197.5, 2235.9834866373535, 2457433.0L + 0.4832650830875751L},
    {2455197.5, 2180.769874727371, 2457378.0L + 0.26965402920322334L},
    {2443144.5003725, 0.0, 2443145.0L + -0.4996275005992555L},
    {2460000.5, 7000.25, 2467001.0L + -0.25036989662447967L},
};

TEST(TdbOfTcb, AgreesWithAstropy) {
  for (const TcbInstant& t : kAstropy) {
    // Tolerance 1e-9 d (86 us); measured difference at most 2.3e-13 d (20 ns), the
    // rounding of the double halves.
    EXPECT_NEAR(static_cast<double>(astro::tdb_jd_of_tcb(t.whole, t.part) - t.tdb_jd), 0.0, 1e-9)
        << t.whole << " + " << t.part;
  }
}

TEST(TdbOfTcb, TdbFallsBehindTcbByTheRateLB) {
  // Near Gaia DR3's reference epoch (2010) TCB - TDB is about 16 s, and grows by
  // L_B = 1.550519768e-8 of the time elapsed: 0.49 s a year.
  const long double at_2010 = 2455197.5L - astro::tdb_jd_of_tcb(2455197.5, 0.0);
  const long double at_2020 = 2458849.5L - astro::tdb_jd_of_tcb(2455197.5, 3652.0);
  EXPECT_NEAR(static_cast<double>(at_2010 * 86400), 16.15, 0.01);
  EXPECT_NEAR(static_cast<double>((at_2020 - at_2010) / 3652.0L), 1.550519768e-8, 1e-15);
}

}  // namespace
