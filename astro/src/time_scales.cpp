#include "astro/time_scales.h"

#include <erfa.h>

namespace astro {

long double tdb_jd_of_tcb(double jd_tcb_whole, double jd_tcb_part) {
  double tdb_whole = 0;
  double tdb_part = 0;
  // eraTcbtdb always succeeds (its status is 0 for every date).
  eraTcbtdb(jd_tcb_whole, jd_tcb_part, &tdb_whole, &tdb_part);
  return static_cast<long double>(tdb_whole) + tdb_part;
}

}  // namespace astro
