// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts for the tableau and the solution: general floating form with
// 15 significant digits, or small fractions n/d. Pure computation, no Qt: the
// window passes the decimal separator it shows.
#include <cstdint>
#include <string>

#include "Simplex.h"

namespace optimara {

// General form, at most 15 significant digits, rounded half up on the exact
// decimal value of x; fixed form for exponents -3..15, otherwise "dE-e".
std::string FormatGeneral15(double x, const std::string& separator);

// Divides both by the greatest common divisor of their magnitudes (Euclid);
// both keep their signs. A zero denominator leaves the numerator at -1, 0 or 1.
void ReduceFraction(int32_t& numerator, int32_t& denominator);

// Text of a shown value. Values strictly within kSnapLimit (1e-15) of zero
// are first set to +0.0 through the reference (SnapToZero, the tableau's own
// snap). Integers get their plain digits. With `floating` false, a value that
// is, to single precision, a fraction with a denominator from 2 to 999 is
// shown as "n/d", provided the first such fraction is within 1e-9 of the
// value relative to its size. Everything else, and every magnitude of 2^31 or
// more in either notation, gets the general form.
std::string FormatNumber(double& x, bool floating, const std::string& separator);

// Text of an exact value: the reduced fraction "n/d" (an integer as its
// digits), or in floating notation the exact value rounded half up to the
// 15 significant digits of the general form.
std::string FormatExact(const mpq_class& q, bool floating, const std::string& separator);
// The same text of an exact tableau's cell (1-based). In floating notation
// it is mostly read from the cell's integers without reducing it, which
// only the rare cell near a rounding boundary needs.
std::string FormatExact(const MatrixQ& T, uint32_t i, uint32_t j, bool floating, const std::string& separator);

// What a grid cell shows of a text too long for it: an exact number's
// leading digits, cut visibly ("12345…/67…"), the marks kept; a text of at
// most kGridCellLimit characters as it is. The whole text goes in the cell's
// tooltip and on the page of steps.
inline constexpr size_t kGridCellLimit = 24;
std::string ShortenedCell(const std::string& text);

namespace notation_detail {
// The exact product d*a rounded once to the nearest single-precision value:
// the fast way of this platform, and the portable way through fma.
float ProductToSingle(double d, double a);
float ProductToSingleFma(double d, double a);
} // namespace notation_detail

} // namespace optimara
