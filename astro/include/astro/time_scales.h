#pragma once
/// Conversions between the coordinate time scales in which catalogues give their epochs.

namespace astro {

/// Julian Date of an instant in TDB (barycentric dynamical time), from the same instant
/// in TCB (barycentric coordinate time), days. The TCB date is given in two parts
/// (jd_tcb_whole + jd_tcb_part, e.g. a reference epoch and the days after it) so that no
/// digit is lost adding them. ERFA's eraTcbtdb: TDB = TCB - L_B x (JD_TCB - T0) - TDB0
/// (IAU 2006 Resolution B3), about 19 s earlier than TCB near 2016.
long double tdb_jd_of_tcb(double jd_tcb_whole, double jd_tcb_part);

}  // namespace astro
