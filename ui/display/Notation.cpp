// SPDX-License-Identifier: GPL-3.0-or-later
#include "Notation.h"

#include <algorithm>
#include <charconv>
#include <cfloat>
#include <cmath>

namespace optimara {
namespace {

constexpr double kTwoTo31 = 2147483648.0;

// The single-precision search also takes fractions some 6e-8 of the value
// away from it; one that looks exact but is not would mislead the reader, so
// a fraction is shown only this close to the value, relative to its size.
constexpr double kFractionTolerance = 1e-9;

// Room for the longest exact expansion asked of to_chars below: 802 digits
// after the first, for the smallest subnormal (751 true digits; the count is
// estimated from above), then the exponent.
constexpr int kExactBuffer = 840;

// Reads the mantissa digits of `text`, which to_chars wrote in scientific
// form ("d.ddd...e+xx"), into `digits` (all of them up to `count`) and returns
// the exponent E of the value 0.d1 d2 ... * 10^E.
int ReadScientific(const char* text, const char* end, char* digits, int count) {
    digits[0] = text[0];
    const char* p = text + 2;  // past the point
    for (int i = 1; i < count; ++i) digits[i] = *p++;
    while (*p != 'e') ++p;
    ++p;
    if (*p == '+') ++p;  // from_chars takes a minus but no plus
    int exponent = 0;
    std::from_chars(p, end, exponent);
    return exponent + 1;
}

// Enough digits after the first for the whole exact expansion of a > 0, given
// an E at least its own: a = M * 2^b with an integer M below 2^53 has at most
// -b digits after the point when b < 0, and E before it.
int ExactPrecision(double a, int E) {
    int binaryExponent = 0;
    std::frexp(a, &binaryExponent);
    const int b = binaryExponent - 53;
    return std::max(E - 1 - std::min(b, 0), 16);
}

// The 15 digits of a > 0 (finite) rounded half up on its exact decimal value,
// with the exponent E of 0.d1 d2 ... d15 * 10^E. Seventeen correctly rounded
// digits decide the 16th digit's question unless they end in "50": only then
// may the exact value lie just below the half, and the exact expansion is
// read instead.
void RoundedDigits(double a, char (&d)[15], int& E) {
    char text[kExactBuffer];
    char digits[17];
    auto r = std::to_chars(text, text + sizeof text, a, std::chars_format::scientific, 16);
    E = ReadScientific(text, r.ptr, digits, 17);
    if (digits[15] == '5' && digits[16] == '0') {
        r = std::to_chars(text, text + sizeof text, a, std::chars_format::scientific, ExactPrecision(a, E));
        E = ReadScientific(text, r.ptr, digits, 16);
    }
    std::copy(digits, digits + 15, d);
    if (digits[15] < '5') return;
    int i = 14;
    while (i >= 0 && d[i] == '9') d[i--] = '0';
    if (i >= 0) {
        ++d[i];
    } else {  // 999...9|5 carried into a new leading digit
        d[0] = '1';
        ++E;
    }
}

void AppendUnsigned(std::string& out, uint32_t v) {
    char buf[12];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0) out += buf[--n];
}

void AppendInteger(std::string& out, int32_t v) {
    if (v < 0) out += '-';
    const uint32_t magnitude = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    AppendUnsigned(out, magnitude);
}

// Exact check of one denominator. Returns 1 with the truncated product in m
// when it matches, 0 when it does not, -1 when this and every larger
// denominator give a product of 2^31 or more.
int Trial(int d, double a, int32_t& m) {
    const float p = notation_detail::ProductToSingle(static_cast<double>(d), a);
    if (!(p < 2147483648.0f)) return -1;
    if (std::trunc(p) != p) return 0;
    m = static_cast<int32_t>(p);
    return 1;
}

// The denominators 1 = q_0 <= q_1 < q_2 < ... of the convergents of the
// continued fraction of F / 2^64 (0 < F), up to 999, then 1000 for any
// larger one. The convergents are the best approximations: for every
// d < q_{k+1}, the distance of d*F to the nearest multiple of 2^64 is at
// least that of q_k*F.
int ConvergentDenominators(uint64_t F, uint64_t (&q)[32]) {
    int count = 0;
    q[count++] = 1;
    // Euclid on (2^64, F); 2^64 itself does not fit, so the first quotient
    // is taken from 2^64 - 1.
    uint64_t a = UINT64_MAX / F;
    uint64_t rest = UINT64_MAX - a * F + 1;
    if (rest == F) {
        ++a;
        rest = 0;
    }
    uint64_t x = F, y = rest, before = 0;
    for (;;) {
        const uint64_t next = a > 999 ? 1000 : a * q[count - 1] + before;
        before = q[count - 1];
        if (next > 999 || y == 0) {
            // After an exact last convergent the distance may fall to 0.
            if (next <= 999) q[count++] = next;
            q[count++] = 1000;
            return count;
        }
        q[count++] = next;
        a = x / y;
        const uint64_t r = x % y;
        x = y;
        y = r;
    }
}

// Smallest denominator d in lo..hi (from 2 up) whose product with a (0 < a <
// 2^31, not an integer) rounds in single precision to an integer below
// 2^31: 1 with the truncated product in m, 0 for none, -1 when the products
// reached 2^31 (so no larger denominator fits either). Candidates are
// screened, when `step` is not 0, on the distance of d*frac(a) to the
// nearest integer in 64-bit fixed point (F): a match needs that distance
// below d*a*2^-23 (half a single-precision unit of the integer, with room),
// so only near misses pay for the exact product.
int SearchDenominators(double a, uint64_t F, uint64_t step, int lo, int hi, int32_t& m, int32_t& den) {
    uint64_t g = static_cast<uint64_t>(lo) * F, bound = static_cast<uint64_t>(lo) * step + 1024;  // 1024: slack, no proof needs it
    for (int d = lo; d <= hi; ++d, g += F, bound += step) {
        const uint64_t dist = std::min(g, 0 - g);
        if (step != 0 && dist > bound) continue;
        const int r = Trial(d, a, m);
        if (r != 0) den = d;
        if (r != 0) return r;
    }
    return 0;
}

// Smallest denominator d in 2..999 whose product with a rounds in single
// precision to an integer below 2^31 (see SearchDenominators). The screen
// is first applied to whole stretches of denominators between two
// convergents of frac(a): most values in a tableau are no small fraction,
// and their nearest misses stay farther off than any tolerance of the
// stretch, so no denominator of it is tried.
bool FindFraction(double a, int32_t& m, int32_t& den) {
    if (a * 999.0 < 0.5) return false;  // every product rounds below 1
    const double frac = a - std::floor(a);
    // Exact: from a >= 0.5/999 > 2^-11 on, frac is a multiple of 2^-63.
    const uint64_t F = static_cast<uint64_t>(frac * 0x1p64);
    // Above 8192 the bound would overflow; there matches are frequent anyway.
    if (a >= 8192.0) return SearchDenominators(a, F, 0, 2, 999, m, den) > 0;
    const uint64_t step = static_cast<uint64_t>(std::ceil(a * 0x1p41)) + 1;
    uint64_t q[32];
    const int count = ConvergentDenominators(F, q);
    for (int k = 0; k + 1 < count; ++k) {
        // Below the first denominator whose bound reaches the stretch's
        // least distance, nothing of the stretch passes the screen.
        const uint64_t g = q[k] * F, least = std::min(g, 0 - g);
        const uint64_t reach = least <= 1024 ? 0 : (least - 1024) / step;
        const int lo = static_cast<int>(std::max<uint64_t>({q[k], 2, reach}));
        const int hi = static_cast<int>(q[k + 1] - 1);
        if (lo > hi) continue;
        const int r = SearchDenominators(a, F, step, lo, hi, m, den);
        if (r != 0) return r > 0;
    }
    return false;
}

// Whether m/d lies within kFractionTolerance of a > 0, relative to a. The fma
// gives d*a - m rounded once, so the test is not lost in the round-off.
bool IsCloseFraction(int32_t m, int32_t d, double a) {
    const double den = static_cast<double>(d);
    return std::fabs(std::fma(den, a, -static_cast<double>(m))) <= kFractionTolerance * den * a;
}

} // namespace

namespace notation_detail {

float ProductToSingle(double d, double a) {
#if defined(__x86_64__) && LDBL_MANT_DIG >= 64
    // A 53-bit mantissa times a 10-bit integer fits the 64-bit mantissa of
    // the extended format, so the product is exact and rounds once.
    return static_cast<float>(static_cast<long double>(d) * static_cast<long double>(a));
#else
    return ProductToSingleFma(d, a);
#endif
}

float ProductToSingleFma(double d, double a) {
    const double hi = d * a;
    const double lo = std::fma(d, a, -hi);  // hi + lo is the exact product
    float f = static_cast<float>(hi);
    if (lo == 0.0 || static_cast<double>(f) == hi) return f;
    // Rounding hi instead of hi + lo differs only when hi sits exactly
    // halfway between two singles; then the sign of lo decides.
    const float other = hi > static_cast<double>(f) ? std::nextafter(f, INFINITY) : std::nextafter(f, -INFINITY);
    if (static_cast<double>(f) + static_cast<double>(other) == 2.0 * hi) {
        const bool upward = other > f;
        if ((lo > 0.0) == upward) f = other;
    }
    return f;
}

} // namespace notation_detail

namespace {

// The general form of 15 rounded digits d (trailing zeros dropped) of a
// value 0.d x 10^E.
std::string LaidOut(bool negative, const char (&d)[15], int E, const std::string& separator) {
    int k = 15;
    while (k > 1 && d[k - 1] == '0') --k;

    std::string out;
    out.reserve(24 + separator.size());
    if (negative) out += '-';
    if (E >= -3 && E <= 15) {
        if (E <= 0) {
            out += '0';
            out += separator;
            out.append(static_cast<size_t>(-E), '0');
            out.append(d, static_cast<size_t>(k));
        } else if (k <= E) {
            out.append(d, static_cast<size_t>(k));
            out.append(static_cast<size_t>(E - k), '0');
        } else {
            out.append(d, static_cast<size_t>(E));
            out += separator;
            out.append(d + E, static_cast<size_t>(k - E));
        }
        return out;
    }
    out += d[0];
    if (k > 1) {
        out += separator;
        out.append(d + 1, static_cast<size_t>(k - 1));
    }
    out += 'E';
    int shown = E - 1;
    if (shown < 0) {
        out += '-';
        shown = -shown;
    }
    AppendUnsigned(out, static_cast<uint32_t>(shown));
    return out;
}

// 10^k as an exact rational (k of either sign).
mpq_class PowerOfTen(long k) {
    mpz_class p;
    mpz_ui_pow_ui(p.get_mpz_t(), 10, static_cast<unsigned long>(k < 0 ? -k : k));
    return k < 0 ? mpq_class(mpz_class(1), p) : mpq_class(p);
}

// The 15 digits of a positive rational rounded half up, and its E.
void ExactDigits(const mpq_class& a, char (&d)[15], int& E) {
    // A first guess of E from the sizes, corrected by at most a step.
    const long guess = static_cast<long>(mpz_sizeinbase(a.get_num().get_mpz_t(), 10)) -
                       static_cast<long>(mpz_sizeinbase(a.get_den().get_mpz_t(), 10));
    long e = guess;
    while (a >= PowerOfTen(e)) ++e;
    while (a < PowerOfTen(e - 1)) --e;
    // floor(a * 10^(15 - e) + 1/2): 15 digits, or 10^15 after a carry.
    const mpq_class scaled = a * PowerOfTen(15 - e) + mpq_class(1, 2);
    mpz_class n = scaled.get_num() / scaled.get_den();
    if (n >= mpz_class("1000000000000000")) {
        n /= 10;
        ++e;
    }
    const std::string digits = n.get_str();
    for (int i = 0; i < 15; ++i) d[i] = i < static_cast<int>(digits.size()) ? digits[static_cast<size_t>(i)] : '0';
    E = static_cast<int>(e);
}

// 10^k in the 64-bit long double for 0 <= k <= 54, with at most one
// rounding: 10^k is exact up to 10^27 (5^27 < 2^64).
long double PowerOfTenL(int k) {
    static const long double exact[28] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,
                                          1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L,
                                          1e20L, 1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};
    return k <= 27 ? exact[k] : exact[27] * exact[k - 27];
}

// The 15 digits and E of ExactDigits from a value known within 2^-60
// (relative), or false where that leaves the rounding in doubt: within a
// 64th of a unit of the last digit from a half. s = a * 10^(15 - e) has at
// most two more roundings, so it is within 2^-9 of the exact scaled value.
bool QuickDigits(const MatrixQ::Approximation& a, char (&d)[15], int& E) {
    if (!a.close || a.m <= 0) return false;
    // A guess of E from the binary exponent, within one of it either way:
    // the steps below correct it.
    int bits = 0;
    std::frexp(static_cast<double>(a.m), &bits);
    const long twos = a.e + bits;  // the value lies in [2^(twos-1), 2^twos)
    if (twos < -120 || twos > 120) return false;
    long e = static_cast<long>(std::floor(static_cast<double>(twos) * 0.30102999566398120)) + 1;
    const long double value = std::ldexp(a.m, static_cast<int>(a.e));
    constexpr long double margin = 1.0L / 64, low = 1e14L, high = 1e15L;
    uint64_t n = 0;
    for (int tries = 0;; ++tries) {
        if (tries == 3) return false;
        const int k = static_cast<int>(15 - e);
        const long double s = k >= 0 ? value * PowerOfTenL(k) : value / PowerOfTenL(-k);
        if (std::fabs(s - low) <= margin) {
            // 10^(e-1) or just below it: both round to 1 followed by zeros.
            n = 100000000000000ULL;
            break;
        }
        if (s < low) {
            --e;
            continue;
        }
        if (s >= high - 0.5L - margin && s <= high - 0.5L + margin) return false;
        if (s > high - 0.5L) {
            // Rounds up to 10^15 here, or is 10^e or above: both carry.
            if (s >= high + 5 - margin) {
                ++e;
                continue;
            }
            n = 100000000000000ULL;
            ++e;
            break;
        }
        const uint64_t whole = static_cast<uint64_t>(s);
        const long double part = s - static_cast<long double>(whole);
        if (std::fabs(part - 0.5L) <= margin) return false;
        n = whole + (part > 0.5L ? 1 : 0);
        break;
    }
    for (int i = 14; i >= 0; --i, n /= 10) d[i] = static_cast<char>('0' + n % 10);
    E = static_cast<int>(e);
    return true;
}

} // namespace

std::string FormatExact(const MatrixQ& T, uint32_t i, uint32_t j, bool floating, const std::string& separator) {
    if (floating) {
        const MatrixQ::Approximation a = T.Approximate(i, j);
        if (a.sign == 0) return "0";
        char d[15];
        int E = 0;
        if (QuickDigits(a, d, E)) return LaidOut(a.sign < 0, d, E, separator);
    }
    return FormatExact(T.Index(i, j), floating, separator);
}

std::string FormatGeneral15(double x, const std::string& separator) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0.0) return "0";
    char d[15];
    int E = 0;
    RoundedDigits(std::fabs(x), d, E);
    return LaidOut(x < 0, d, E, separator);
}

std::string ShortenedCell(const std::string& text) {
    if (text.size() <= kGridCellLimit) return text;
    const size_t marks = text.find_first_not_of('*');
    const std::string prefix = text.substr(0, marks == std::string::npos ? 0 : marks);
    const std::string rest = text.substr(prefix.size());
    const auto head = [](const std::string& part, size_t keep) {
        return part.size() <= keep ? part : part.substr(0, keep) + "…";
    };
    const size_t slash = rest.find('/');
    if (slash == std::string::npos) return prefix + head(rest, 16);
    return prefix + head(rest.substr(0, slash), 10) + "/" + head(rest.substr(slash + 1), 7);
}

std::string FormatExact(const mpq_class& q, bool floating, const std::string& separator) {
    if (sgn(q) == 0) return "0";
    if (!floating) return q.get_str();  // canonical: reduced, "n" or "n/d"
    char d[15];
    int E = 0;
    if (!QuickDigits(Approximate(q), d, E)) ExactDigits(abs(q), d, E);
    return LaidOut(sgn(q) < 0, d, E, separator);
}

void ReduceFraction(int32_t& numerator, int32_t& denominator) {
    auto magnitude = [](int32_t v) { return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v); };
    uint32_t u = magnitude(numerator), v = magnitude(denominator);
    if (v == 0) {  // no remainder exists; the divisor is then |numerator|
        if (u != 0) numerator = numerator < 0 ? -1 : 1;
        return;
    }
    uint32_t r = u % v;
    while (r != 0) {
        u = v;
        v = r;
        r = u % v;
    }
    // In 64 bits: a divisor of 2^31 (both values -2^31) is not an int32.
    const int64_t g = v;
    numerator = static_cast<int32_t>(numerator / g);
    denominator = static_cast<int32_t>(denominator / g);
}

std::string FormatNumber(double& x, bool floating, const std::string& separator) {
    SnapToZero(x);
    // Magnitudes from 2^31 up have no 32-bit truncation to compare with:
    // they are never integers nor fractions here. NaN takes this way too.
    if (!(std::fabs(x) < kTwoTo31)) return FormatGeneral15(x, separator);
    if (std::trunc(x) == x || floating) return FormatGeneral15(x, separator);

    int32_t m = 0, den = 0;
    const double a = std::fabs(x);
    if (!FindFraction(a, m, den) || !IsCloseFraction(m, den, a)) return FormatGeneral15(x, separator);
    if (x < 0) m = -m;
    ReduceFraction(m, den);
    std::string out;
    out.reserve(24);
    AppendInteger(out, m);
    if (den != 1) {
        out += '/';
        AppendInteger(out, den);
    }
    return out;
}

} // namespace optimara
