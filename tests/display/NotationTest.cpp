// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>
#include <string>

#include "Notation.h"

namespace optimara {
namespace {

std::string Floating(double x, const std::string& sep = ".") {
    double copy = x;
    return FormatNumber(copy, true, sep);
}

std::string Rational(double x) {
    double copy = x;
    return FormatNumber(copy, false, ".");
}

TEST(FormatGeneral15, ShortestFixedForms) {
    EXPECT_EQ(FormatGeneral15(0.0, "."), "0");
    EXPECT_EQ(FormatGeneral15(-0.0, "."), "0");
    EXPECT_EQ(FormatGeneral15(1.0 / 3.0, "."), "0.333333333333333");
    EXPECT_EQ(FormatGeneral15(2.0 / 3.0, "."), "0.666666666666667");
    EXPECT_EQ(FormatGeneral15(-2.0 / 3.0, "."), "-0.666666666666667");
    EXPECT_EQ(FormatGeneral15(0.1, "."), "0.1");
    EXPECT_EQ(FormatGeneral15(-2.0, "."), "-2");
    EXPECT_EQ(FormatGeneral15(300.0, "."), "300");
    EXPECT_EQ(FormatGeneral15(2.5, "."), "2.5");
    EXPECT_EQ(FormatGeneral15(0.5, "."), "0.5");
    EXPECT_EQ(FormatGeneral15(0.00012, "."), "0.00012");
    EXPECT_EQ(FormatGeneral15(123.456, "."), "123.456");
    EXPECT_EQ(FormatGeneral15(2147483648.0, "."), "2147483648");
}

TEST(FormatGeneral15, ExponentBoundaries) {
    EXPECT_EQ(FormatGeneral15(0.0001, "."), "0.0001");  // E = -3, still fixed
    EXPECT_EQ(FormatGeneral15(0.00099, "."), "0.00099");
    EXPECT_EQ(FormatGeneral15(0.00001, "."), "1E-5");  // E = -4
    EXPECT_EQ(FormatGeneral15(0.000012, "."), "1.2E-5");
    EXPECT_EQ(FormatGeneral15(1.5e-7, "."), "1.5E-7");
    EXPECT_EQ(FormatGeneral15(1e20, "."), "1E20");
    EXPECT_EQ(FormatGeneral15(-1e20, "."), "-1E20");
    EXPECT_EQ(FormatGeneral15(1e15, "."), "1E15");  // E = 16
    EXPECT_EQ(FormatGeneral15(1e14, "."), "100000000000000");  // E = 15
    EXPECT_EQ(FormatGeneral15(999999999999999.0, "."), "999999999999999");
    EXPECT_EQ(FormatGeneral15(123456789012345.6, "."), "123456789012346");
    EXPECT_EQ(FormatGeneral15(1.25e16, "."), "1.25E16");
    EXPECT_EQ(FormatGeneral15(1e-15, "."), "1E-15");
    EXPECT_EQ(FormatGeneral15(1e300, "."), "1E300");
    EXPECT_EQ(FormatGeneral15(1.7976931348623157e308, "."), "1.79769313486232E308");
    EXPECT_EQ(FormatGeneral15(4.9406564584124654e-324, "."), "4.94065645841247E-324");
    EXPECT_EQ(FormatGeneral15(2.2250738585072014e-308, "."), "2.2250738585072E-308");
}

TEST(FormatGeneral15, RoundingCarriesIntoTheExponent) {
    // The 16th digit 5 carries through fifteen nines into a new leading digit,
    // which moves a fixed form into the scientific one.
    EXPECT_EQ(FormatGeneral15(999999999999999.5, "."), "1E15");
    EXPECT_EQ(FormatGeneral15(0.0009999999999999999, "."), "0.001");
    EXPECT_EQ(FormatGeneral15(9.9999999999999995e-5, "."), "0.0001");
    EXPECT_EQ(FormatGeneral15(0.99999999999999994, "."), "1");
    EXPECT_EQ(FormatGeneral15(9.9999999999999991, "."), "10");
}

TEST(FormatGeneral15, SixteenthDigitFiveRoundsUpNotToEven) {
    // Exactly representable values whose 16th digit is a final 5: half up,
    // where printf's half-to-even would keep the even 15th digit.
    EXPECT_EQ(FormatGeneral15(123456789012344.5, "."), "123456789012345");
    EXPECT_EQ(FormatGeneral15(100000000000000.5, "."), "100000000000001");
    EXPECT_EQ(FormatGeneral15(-100000000000000.5, "."), "-100000000000001");
    EXPECT_EQ(FormatGeneral15(1234567890123445.0, "."), "1.23456789012345E15");
    EXPECT_EQ(FormatGeneral15(1000000000000005.0, "."), "1.00000000000001E15");
    EXPECT_EQ(FormatGeneral15(1000000000000004.0, "."), "1E15");
    EXPECT_EQ(FormatGeneral15(2000000000000025.0, "."), "2.00000000000003E15");
    // 0.1 + 2^-53 style values: digits beyond the 16th do not matter.
    EXPECT_EQ(FormatGeneral15(0.30000000000000004, "."), "0.3");
    EXPECT_EQ(FormatGeneral15(1.0000000000000049, "."), "1");  // 16th digit 4
    EXPECT_EQ(FormatGeneral15(1.0000000000000051, "."), "1.00000000000001");
}

TEST(FormatGeneral15, NeighboursOfAHalfSplitOnTheExactValue) {
    // The double just below a 16-digit half: its expansion runs on as 4 and
    // seven or eight nines, so any rounding short of the exact digits would
    // carry it to the half. Its upper neighbour lies just above and rounds up.
    struct Row {
        double below;
        const char* down;
        const char* up;
    };
    const Row rows[] = {
        {0x1.9cdef3de12a19p-995, "4.81646747694462E-300", "4.81646747694463E-300"},
        {0x1.7470b9f657ecp-17, "1.1099587010121E-5", "1.10995870101211E-5"},
        {0x1.fb594b2e5f824p+0, "1.98183126337199", "1.981831263372"},
        {0x1.4e383c600f112p+998, "3.49725834412543E300", "3.49725834412544E300"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatGeneral15(row.below, "."), row.down) << std::hexfloat << row.below;
        EXPECT_EQ(FormatGeneral15(-row.below, "."), std::string("-") + row.down);
        EXPECT_EQ(FormatGeneral15(std::nextafter(row.below, INFINITY), "."), row.up) << std::hexfloat << row.below;
    }
}

TEST(FormatGeneral15, SeparatorIsInsertedVerbatim) {
    EXPECT_EQ(FormatGeneral15(2.5, ","), "2,5");
    EXPECT_EQ(FormatGeneral15(0.0001, ","), "0,0001");
    EXPECT_EQ(FormatGeneral15(1.5e-7, ","), "1,5E-7");
    EXPECT_EQ(FormatGeneral15(300.0, ","), "300");
    EXPECT_EQ(FormatGeneral15(-0.25, "\xd9\xab"), "-0\xd9\xab" "25");  // a two-byte separator
    EXPECT_EQ(Floating(1.0 / 3.0, ","), "0,333333333333333");
}

TEST(FormatGeneral15, NonFiniteValuesGiveAText) {
    EXPECT_EQ(FormatGeneral15(std::numeric_limits<double>::infinity(), "."), "INF");
    EXPECT_EQ(FormatGeneral15(-std::numeric_limits<double>::infinity(), "."), "-INF");
    EXPECT_EQ(FormatGeneral15(std::numeric_limits<double>::quiet_NaN(), "."), "NAN");
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(FormatNumber(nan, false, "."), "NAN");
}

TEST(ReduceFraction, EuclidOnMagnitudesKeepsSigns) {
    int32_t a = 6, b = 4;
    ReduceFraction(a, b);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(b, 2);
    a = -6, b = 4;
    ReduceFraction(a, b);
    EXPECT_EQ(a, -3);
    EXPECT_EQ(b, 2);
    a = 6, b = -9;
    ReduceFraction(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, -3);
    a = 10000000, b = 2;
    ReduceFraction(a, b);
    EXPECT_EQ(a, 5000000);
    EXPECT_EQ(b, 1);
    a = 0, b = 7;
    ReduceFraction(a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    a = 17, b = 13;
    ReduceFraction(a, b);
    EXPECT_EQ(a, 17);
    EXPECT_EQ(b, 13);
}

TEST(ReduceFraction, ExtremeValuesStayDefined) {
    int32_t a = std::numeric_limits<int32_t>::min(), b = std::numeric_limits<int32_t>::min();
    ReduceFraction(a, b);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(b, -1);
    a = std::numeric_limits<int32_t>::min(), b = 6;
    ReduceFraction(a, b);
    EXPECT_EQ(a, -1073741824);
    EXPECT_EQ(b, 3);
    a = std::numeric_limits<int32_t>::max(), b = std::numeric_limits<int32_t>::max();
    ReduceFraction(a, b);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    a = -5, b = 0;
    ReduceFraction(a, b);
    EXPECT_EQ(a, -1);
    EXPECT_EQ(b, 0);
}

TEST(FormatNumber, FloatingNotation) {
    EXPECT_EQ(Floating(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(Floating(2.0 / 3.0), "0.666666666666667");
    EXPECT_EQ(Floating(0.1), "0.1");
    EXPECT_EQ(Floating(-2.0), "-2");
    EXPECT_EQ(Floating(1e20), "1E20");
    EXPECT_EQ(Floating(0.0001), "0.0001");
    EXPECT_EQ(Floating(0.00001), "1E-5");
    EXPECT_EQ(Floating(0.5), "0.5");
    EXPECT_EQ(Floating(12.0), "12");
}

TEST(FormatNumber, RationalNotation) {
    EXPECT_EQ(Rational(0.5), "1/2");
    EXPECT_EQ(Rational(-0.75), "-3/4");
    EXPECT_EQ(Rational(1.0 / 3.0), "1/3");
    EXPECT_EQ(Rational(-2.0 / 3.0), "-2/3");
    EXPECT_EQ(Rational(2.5), "5/2");
    EXPECT_EQ(Rational(3.0), "3");
    EXPECT_EQ(Rational(-7.0), "-7");
    EXPECT_EQ(Rational(0.001), "0.001");  // 1/1000: the denominator 1000 is never tried
    EXPECT_EQ(Rational(1.0 / 999.0), "1/999");
    EXPECT_EQ(Rational(998.0 / 999.0), "998/999");
    EXPECT_EQ(Rational(0.1), "1/10");
    EXPECT_EQ(Rational(1.0 / 1009.0), "0.000991080277502478");
    EXPECT_EQ(Rational(std::sqrt(2.0)), "1.4142135623731");
}

TEST(FormatNumber, RationalShowsAFractionOnlyWithinOnePartInTenToTheNine) {
    const std::pair<double, const char*> cases[] = {  // nullptr: the floating text
        {1.0 / 3.0 + 1e-10, "1/3"}, {0.5 * (1 + 0.9e-9), "1/2"}, {3.0000000001, "3"}, {-3.0000000001, "-3"},
        {1.0 / 3.0 + 1e-9, nullptr}, {1.0 / 3.0 + 1e-7, nullptr},
        {0.5 * (1 + 1.1e-9), nullptr}, {-0.5 * (1 + 1.1e-9), nullptr},
        {29933.0 / 4285.0, nullptr},        // 4345/622 in single precision
        {-10140493.0 / 310000.0, nullptr},  // -4645/142 in single precision
        {10000000.5, nullptr},              // twice it rounds to 20000000 in single precision
    };
    for (const auto& [x, shown] : cases) EXPECT_EQ(Rational(x), shown ? shown : Floating(x)) << x;
    EXPECT_EQ(Floating(10000000.5), "10000000.5");
}

TEST(FormatNumber, ZeroSnapWritesThroughTheReference) {
    for (bool floating : {true, false}) {
        double x = 1e-16;
        EXPECT_EQ(FormatNumber(x, floating, "."), "0");
        EXPECT_EQ(std::bit_cast<uint64_t>(x), 0u);  // exactly +0.0
        x = -0.0;
        EXPECT_EQ(FormatNumber(x, floating, "."), "0");
        EXPECT_EQ(std::bit_cast<uint64_t>(x), 0u);
        x = -9.99e-16;
        EXPECT_EQ(FormatNumber(x, floating, "."), "0");
        EXPECT_EQ(std::bit_cast<uint64_t>(x), 0u);
        x = 1e-15;  // the bound itself is not snapped
        EXPECT_EQ(FormatNumber(x, floating, "."), "1E-15");
        EXPECT_EQ(x, 1e-15);
        x = -1e-15;
        EXPECT_EQ(FormatNumber(x, floating, "."), "-1E-15");
        EXPECT_EQ(x, -1e-15);
        x = 0.75;  // other values are left alone
        FormatNumber(x, floating, ".");
        EXPECT_EQ(x, 0.75);
    }
    double y = 1e-16;
    SnapToZero(y);
    EXPECT_EQ(std::bit_cast<uint64_t>(y), 0u);
    y = 1e-15;
    SnapToZero(y);
    EXPECT_EQ(y, 1e-15);
}

TEST(FormatNumber, LargeMagnitudesTakeTheFloatingTextWithoutFault) {
    const double twoTo31 = 2147483648.0, twoTo63 = 9223372036854775808.0;
    for (bool floating : {true, false}) {
        double x = twoTo31;
        EXPECT_EQ(FormatNumber(x, floating, "."), "2147483648");
        x = -twoTo31;
        EXPECT_EQ(FormatNumber(x, floating, "."), "-2147483648");
        x = twoTo31 - 1;
        EXPECT_EQ(FormatNumber(x, floating, "."), "2147483647");
        x = twoTo31 + 0.5;
        EXPECT_EQ(FormatNumber(x, floating, "."), "2147483648.5");
        x = twoTo63;
        EXPECT_EQ(FormatNumber(x, floating, "."), "9.22337203685478E18");
        x = -twoTo63 * 4;
        EXPECT_EQ(FormatNumber(x, floating, "."), "-3.68934881474191E19");
        x = 1e20;
        EXPECT_EQ(FormatNumber(x, floating, "."), "1E20");
        x = 1.7976931348623157e308;
        EXPECT_EQ(FormatNumber(x, floating, "."), "1.79769313486232E308");
    }
    // Below 2^31 but every trial product of 2^31 or more: no fraction.
    EXPECT_EQ(Rational(1073741824.5), "1073741824.5");
    EXPECT_EQ(Rational(-1073741824.5), "-1073741824.5");
    // Twice this rounds up to 2^31 in single precision: no match either.
    EXPECT_EQ(Rational(1073741823.5), "1073741823.5");
    // Twice this rounds down to 2^31 - 128, an integer: it fits.
    EXPECT_EQ(Rational(1073741760.5), "1073741760");
    EXPECT_EQ(Rational(-1073741760.5), "-1073741760");
}

// Straightforward search with the exact product, denominators in order; the
// first fraction found is shown only within 1e-9 of the value.
std::string ReferenceRational(double x) {
    const double a = std::fabs(x);
    for (int d = 2; d <= 999; ++d) {
        const long double exact = static_cast<long double>(d) * static_cast<long double>(a);
        const float p = static_cast<float>(exact);
        if (p >= 2147483648.0f) break;
        if (std::floor(p) != p) continue;
        if (std::fabs(static_cast<long double>(p) - exact) > 1e-9L * exact) break;
        long long num = static_cast<long long>(p), den = d;
        long long g = std::gcd(num, den);
        num /= g;
        den /= g;
        std::string s = x < 0 ? "-" : "";
        s += std::to_string(num);
        if (den != 1) s += "/" + std::to_string(den);
        return s;
    }
    return FormatGeneral15(x, ".");
}

TEST(FormatNumber, RationalSearchMatchesExhaustiveSearch) {
    std::mt19937_64 rng(20240607);
    std::uniform_int_distribution<int> num(-5000, 5000), den(1, 1200);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> scale(-4, 30);
    int fractions = 0;
    for (int i = 0; i < 75000; ++i) {
        double x;
        switch (i % 5) {
        case 0: x = static_cast<double>(num(rng)) / den(rng); break;
        case 1: x = static_cast<double>(num(rng)) / den(rng) + unit(rng) * 1e-7; break;
        case 2: x = unit(rng) * std::ldexp(1.0, scale(rng)); break;
        // Off a fraction by about the single-precision tolerance: the near
        // misses on either side of it.
        case 3: x = static_cast<double>(num(rng)) / den(rng) * (1 + unit(rng) * 0x1p-22); break;
        default: x = static_cast<double>(num(rng)) / den(rng) * std::ldexp(1.0, scale(rng) / 2); break;
        }
        if (std::fabs(x) < 1e-15 || std::trunc(x) == x || std::fabs(x) >= 2147483648.0) continue;
        const std::string got = Rational(x);
        ASSERT_EQ(got, ReferenceRational(x)) << "x = " << x;
        fractions += got.find('/') != std::string::npos;
    }
    EXPECT_GT(fractions, 10000);  // the comparison must exercise matches, not only misses
}

TEST(FormatNumber, PortableSingleRoundingAgreesWithExtendedPrecision) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 300000; ++i) {
        const double d = static_cast<double>(2 + rng() % 998);
        double a = std::ldexp(static_cast<double>(rng() >> 11), -52 + static_cast<int>(rng() % 40) - 10);
        if (i % 3 == 0) {
            // Products near halfway between two singles: the hard case.
            const float f = static_cast<float>(d * a);
            const double mid = (static_cast<double>(f) + static_cast<double>(std::nextafter(f, INFINITY))) / 2;
            a = std::nextafter(mid / d, (i & 1) ? INFINITY : 0.0);
        }
        const long double exact = static_cast<long double>(d) * static_cast<long double>(a);
        const float reference = static_cast<float>(exact);
        ASSERT_EQ(notation_detail::ProductToSingleFma(d, a), reference) << d << " * " << a;
        ASSERT_EQ(notation_detail::ProductToSingle(d, a), reference) << d << " * " << a;
    }
    // 5a rounds in double to 1 + 2^-24, halfway between two singles, but the
    // exact product lies above it: rounding the double would give 1.
    const double a = 0x1.99999b3333334p-3;
    ASSERT_EQ(5.0 * a, 1.0 + 0x1p-24);
    ASSERT_EQ(static_cast<float>(5.0 * a), 1.0f);
    EXPECT_EQ(notation_detail::ProductToSingleFma(5.0, a), 1.0f + 0x1p-23f);
    EXPECT_EQ(notation_detail::ProductToSingle(5.0, a), 1.0f + 0x1p-23f);
    EXPECT_EQ(notation_detail::ProductToSingleFma(5.0, -a), -1.0f - 0x1p-23f);
}

// The reference reads the exact digits from the C library's conversion with
// far more digits than needed and rounds the 15th digit half up by hand. The
// conversion rounds once at its last digit, so digits 1..16 are exact unless
// every digit from the 17th to the last is 9; then the exact expansion (at
// most 767 significant digits for a double) is requested instead.
std::string ReferenceGeneral(double x) {
    if (x == 0.0) return "0";
    char buf[900];
    std::snprintf(buf, sizeof buf, "%.40e", std::fabs(x));
    std::string mantissa = std::string(1, buf[0]) + std::string(buf + 2, 40);
    if (mantissa.find_first_not_of('9', 16) == std::string::npos) {
        std::snprintf(buf, sizeof buf, "%.800e", std::fabs(x));
        mantissa = std::string(1, buf[0]) + std::string(buf + 2, 800);
    }
    int exp10 = std::atoi(std::strchr(buf, 'e') + 1) + 1;  // value = 0.mantissa * 10^exp10
    std::string digits = mantissa.substr(0, 15);
    if (mantissa[15] >= '5') {
        int i = 14;
        while (i >= 0 && digits[i] == '9') digits[i--] = '0';
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exp10;
        } else {
            ++digits[i];
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = x < 0 ? "-" : "";
    const int k = static_cast<int>(digits.size());
    if (exp10 >= -3 && exp10 <= 15) {
        if (exp10 <= 0) return out + "0." + std::string(-exp10, '0') + digits;
        if (k <= exp10) return out + digits + std::string(exp10 - k, '0');
        return out + digits.substr(0, exp10) + "." + digits.substr(exp10);
    }
    out += digits.substr(0, 1);
    if (k > 1) out += "." + digits.substr(1);
    return out + "E" + std::to_string(exp10 - 1);
}

TEST(FormatGeneral15, ReferenceHandlesItsOwnHardCases) {
    // Sanity of the reference itself on the carry cases above.
    EXPECT_EQ(ReferenceGeneral(999999999999999.5), "1E15");
    EXPECT_EQ(ReferenceGeneral(1234567890123445.0), "1.23456789012345E15");
    EXPECT_EQ(ReferenceGeneral(100000000000000.5), "100000000000001");
    EXPECT_EQ(ReferenceGeneral(1.5e-7), "1.5E-7");
    EXPECT_EQ(ReferenceGeneral(-0.0001), "-0.0001");
}

TEST(FormatGeneral15, AgreesWithIndependentReferenceOnAMillionValues) {
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<int64_t> mant(1, 9999999999999999);
    std::uniform_int_distribution<int> digitsCount(1, 17), exp10(-30, 30);
    for (int i = 0; i < 1000000; ++i) {
        double x;
        if (i % 2 == 0) {
            // Any finite bit pattern, every magnitude and subnormals included.
            do x = std::bit_cast<double>(rng()); while (!std::isfinite(x));
        } else {
            // Decimal-looking values: a few significant digits times a power of
            // ten, with ties at the 16th digit among them.
            const int nd = digitsCount(rng);
            int64_t m = mant(rng);
            while (m >= static_cast<int64_t>(std::pow(10.0, nd))) m /= 10;
            const int e = exp10(rng);
            x = e >= 0 ? static_cast<double>(m) * std::pow(10.0, e) : static_cast<double>(m) / std::pow(10.0, -e);
            if (rng() & 1) x = -x;
        }
        ASSERT_EQ(FormatGeneral15(x, "."), ReferenceGeneral(x)) << std::hexfloat << x;
    }
}

} // namespace
} // namespace optimara
