#pragma once
/// The numbers of the output files without the C library's formatted output: the same
/// bytes as printf's "%W.Pf" and "%Wd" in the C locale, several times faster.

#include <string>

namespace astro {

/// Most digits after the decimal point that append_fixed takes.
inline constexpr int kMaxFixedPrecision = 9;

/// Appends `value` exactly as printf("%*.*f", width, precision, value) prints it in the
/// C locale: the exact binary value rounded to `precision` decimals, ties to even; a
/// minus sign whenever the sign bit is set ("-0", "-0.0" for -0.04); "nan", "-nan",
/// "inf", "-inf" for the non-finite values; right-aligned and blank-padded to `width`,
/// never cut. A float is passed promoted to double, as printf receives it.
/// precision: 0 to kMaxFixedPrecision (clamped to that range); width: any (0 or less
/// adds no blanks).
void append_fixed(std::string& out, double value, int width, int precision);

/// Appends `value` exactly as printf("%*d", width, value) prints it: right-aligned and
/// blank-padded to `width`, never cut.
void append_int(std::string& out, int value, int width);

}  // namespace astro
