#include "Notation.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace optimara {
namespace {

using u128 = unsigned __int128;

constexpr uint64_t kTenTo15 = 1000000000000000ull;
constexpr uint64_t kTenTo16 = 10000000000000000ull;
constexpr double kTwoTo31 = 2147483648.0;

constexpr u128 Pow10(int k) {
    u128 p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

// Unsigned integer of a fixed number of 32-bit limbs, least significant
// first. 40 limbs hold the largest operand needed: a 53-bit mantissa times
// 10^340 (the scale that brings the smallest subnormal to 16 digits).
class BigNat {
public:
    explicit BigNat(uint64_t v) : size_(0) {
        while (v != 0) {
            limb_[size_++] = static_cast<uint32_t>(v);
            v >>= 32;
        }
    }

    void MulSmall(uint32_t f) {
        uint64_t carry = 0;
        for (int i = 0; i < size_; ++i) {
            const uint64_t t = static_cast<uint64_t>(limb_[i]) * f + carry;
            limb_[i] = static_cast<uint32_t>(t);
            carry = t >> 32;
        }
        if (carry != 0) limb_[size_++] = static_cast<uint32_t>(carry);
    }

    // Floor division.
    void DivSmall(uint32_t d) {
        uint64_t rem = 0;
        for (int i = size_ - 1; i >= 0; --i) {
            const uint64_t cur = (rem << 32) | limb_[i];
            limb_[i] = static_cast<uint32_t>(cur / d);
            rem = cur % d;
        }
        Trim();
    }

    void MulPow10(int k) {
        for (; k >= 9; k -= 9) MulSmall(1000000000u);
        if (k > 0) MulSmall(static_cast<uint32_t>(Pow10(k)));
    }

    void DivPow10(int k) {
        for (; k >= 9; k -= 9) DivSmall(1000000000u);
        if (k > 0) DivSmall(static_cast<uint32_t>(Pow10(k)));
    }

    void ShiftLeft(int bits) {
        const int words = bits / 32, rest = bits % 32;
        if (size_ == 0) return;
        limb_[size_] = 0;
        for (int i = size_; i >= 0; --i) {
            uint32_t hi = limb_[i] << rest;
            if (rest != 0 && i > 0) hi |= limb_[i - 1] >> (32 - rest);
            limb_[i + words] = hi;
        }
        for (int i = 0; i < words; ++i) limb_[i] = 0;
        size_ += words + 1;
        Trim();
    }

    // Floor division by 2^bits.
    void ShiftRight(int bits) {
        const int words = bits / 32, rest = bits % 32;
        if (words >= size_) {
            size_ = 0;
            return;
        }
        for (int i = 0; i + words < size_; ++i) {
            uint32_t lo = limb_[i + words] >> rest;
            if (rest != 0 && i + words + 1 < size_) lo |= limb_[i + words + 1] << (32 - rest);
            limb_[i] = lo;
        }
        size_ -= words;
        Trim();
    }

    // Only called once the value is known to be below 2^64.
    uint64_t Low64() const {
        uint64_t v = 0;
        if (size_ > 1) v = static_cast<uint64_t>(limb_[1]) << 32;
        if (size_ > 0) v |= limb_[0];
        return v;
    }

private:
    void Trim() {
        while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
    }

    uint32_t limb_[41];
    int size_;
};

// floor(M * 2^e * 10^q), exactly. The callers keep the result below 10^17.
uint64_t ScaledFloor(uint64_t M, int e, int q) {
    if (e < 0 && q >= 0 && q <= 22 && -e < 128)
        return static_cast<uint64_t>((static_cast<u128>(M) * Pow10(q)) >> -e);
    if (e >= 0 && q <= 0 && e <= 74 && -q <= 38)
        return static_cast<uint64_t>((static_cast<u128>(M) << e) / Pow10(-q));
    BigNat big(M);
    if (e > 0) big.ShiftLeft(e);
    if (q > 0) big.MulPow10(q);
    if (e < 0) big.ShiftRight(-e);
    if (q < 0) big.DivPow10(-q);
    return big.Low64();
}

// The first 16 digits of the exact decimal expansion of a > 0 (finite),
// truncated, and the exponent E with 10^(E-1) <= a < 10^E.
void LeadingDigits(double a, uint64_t& digits, int& E) {
    const uint64_t bits = std::bit_cast<uint64_t>(a);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    uint64_t M = bits & ((1ull << 52) - 1);
    int e = -1074;
    if (biased != 0) {
        M |= 1ull << 52;
        e = biased - 1075;
    }
    // 2^(b-1) <= a < 2^b, hence E is this estimate or the next integer; the
    // product (b-1)*log10(2) is never near enough an integer to misround.
    const int b = static_cast<int>(std::bit_width(M)) + e;
    E = static_cast<int>(std::floor((b - 1) * 0.30102999566398119521)) + 1;
    digits = ScaledFloor(M, e, 16 - E);
    if (digits >= kTenTo16) {
        digits /= 10;
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

// Smallest denominator d in 2..999 whose product with a (0 < a < 2^31, not an
// integer) rounds in single precision to an integer below 2^31. Candidates
// are screened on the distance of d*frac(a) to the nearest integer in 64-bit
// fixed point: a match needs that distance below d*a*2^-23 (half a
// single-precision unit of the integer, with room), so only near misses pay
// for the exact product.
bool FindFraction(double a, int32_t& m, int32_t& den) {
    if (a * 999.0 < 0.5) return false;  // every product rounds below 1
    const double frac = a - std::floor(a);
    // Exact: from a >= 0.5/999 > 2^-11 on, frac is a multiple of 2^-63.
    const uint64_t F = static_cast<uint64_t>(frac * 0x1p64);
    // Above 8192 the bound would overflow; there matches are frequent anyway.
    const bool screened = a < 8192.0;
    const uint64_t step = screened ? static_cast<uint64_t>(std::ceil(a * 0x1p41)) + 1 : 0;
    uint64_t g = F, bound = step + 1024;  // 1024: slack, no proof needs it
    for (int d = 2; d <= 999; ++d) {
        g += F;
        bound += step;
        const uint64_t dist = std::min(g, 0 - g);
        if (screened && dist > bound) continue;
        const int r = Trial(d, a, m);
        if (r < 0) return false;
        if (r > 0) {
            den = d;
            return true;
        }
    }
    return false;
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

std::string FormatGeneral15(double x, const std::string& separator) {
    if (std::isnan(x)) return "NAN";
    if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
    if (x == 0.0) return "0";

    uint64_t digits16 = 0;
    int E = 0;
    LeadingDigits(std::fabs(x), digits16, E);
    uint64_t r = digits16 / 10;
    if (digits16 % 10 >= 5) ++r;
    if (r == kTenTo15) {  // 999...9|5 carried into a new leading digit
        r = kTenTo15 / 10;
        ++E;
    }
    char d[15];
    for (int i = 14; i >= 0; --i) {
        d[i] = static_cast<char>('0' + r % 10);
        r /= 10;
    }
    int k = 15;
    while (k > 1 && d[k - 1] == '0') --k;

    std::string out;
    out.reserve(24 + separator.size());
    if (x < 0) out += '-';
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
    if (!FindFraction(std::fabs(x), m, den)) return FormatGeneral15(x, separator);
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
