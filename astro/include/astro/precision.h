#pragma once
/// The precision rule every computation of the toolset follows.
///
/// - Stored quantities of stars and sites (coordinates, magnitudes, altitudes, azimuths,
///   angles in radians handed to the horizon routines, typed hours) are `float`: a value
///   is rounded to float once, when it is stored, never in the middle of a formula.
/// - Julian Dates, MJDs, epochs, periods, sidereal times and the partial products of the
///   horizon routines are `double`: rounded to double where they are stored.
/// - Every intermediate step between those stores is carried in `Ext`, the x87 extended
///   format, operands widened to it before the operation; a routine says in its comment
///   where its result is rounded, and the order of the operations is part of the result.
/// - A floating value becomes an integer only through trunc_to_int (astro/numeric.h):
///   truncation toward zero, NaN and out-of-range values handled.
/// - No fused multiply-add and no fast math (-ffp-contract=off, -fno-fast-math).

#include <cfloat>

#ifdef __FAST_MATH__
#error "fast math changes results in the last bit; build without -ffast-math"
#endif

static_assert(LDBL_MANT_DIG == 64,
              "the outputs are bit-exact only with long double as the 80-bit x87 format "
              "(64-bit mantissa): every intermediate step is rounded to it");

namespace astro {

/// The extended type of every intermediate step.
using Ext = long double;

}  // namespace astro
