#pragma once
// Number texts for the tableau and the solution: general floating form with
// 15 significant digits, or small fractions n/d. Pure computation, no Qt: the
// window passes the decimal separator it shows.
#include <cstdint>
#include <string>

namespace optimara {

// General form, at most 15 significant digits, rounded half up on the exact
// decimal value of x; fixed form for exponents -3..15, otherwise "dE-e".
std::string FormatGeneral15(double x, const std::string& separator);

// Divides both by their greatest common divisor (Euclid); the sign of the
// denominator is whatever the remainders leave.
void ReduceFraction(int32_t& numerator, int32_t& denominator);

// Text of a tableau value. Values within 1e-15 of zero are snapped to +0.0
// through the reference. `floating` selects the general form; otherwise an
// integer or a fraction with denominator below 1000 is tried first.
std::string FormatNumber(double& x, bool floating, const std::string& separator);

} // namespace optimara
