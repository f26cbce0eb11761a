// SPDX-License-Identifier: GPL-3.0-or-later
// A typed number read in both arithmetics: the floating model holds the
// double the floating scanner gives for the number alone, bit for bit; the
// exact model keeps the text, whose rational is the number itself and whose
// double is that rational's nearest (the largest double beyond the range).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "LpExport.h"
#include "TestHelpers.h"

namespace optimara::testing {
namespace {

uint64_t Bits(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

double Clamped(double v) { return std::isinf(v) ? std::copysign(std::numeric_limits<double>::max(), v) : v; }

double ScannedAlone(const std::string& text, bool required) {
    const std::string s = text + (required ? "" : "x");
    int pos = 1;
    BuildReport report;
    return ScanNumber(s, pos, static_cast<int>(s.size()), required, 0, report);
}

mpq_class Fraction(const std::string& numerator, const std::string& denominator) {
    mpq_class q(mpz_class(numerator, 10), mpz_class(denominator, 10));
    q.canonicalize();
    return q;
}

struct TypedCase {
    std::string text;
    mpq_class value;
    bool floating;  // within what the floating reader takes
};

std::vector<TypedCase> TypedCases() {
    const std::string zeros(400, '0');
    return {
        {"0.35", mpq_class(7, 20), true},
        {"-0.35", mpq_class(-7, 20), true},
        {"+2.5", mpq_class(5, 2), true},
        {"3.", 3, true},
        {"-.25", mpq_class(-1, 4), true},
        {"0.1", mpq_class(1, 10), true},
        {"-0.000000000000000000001", -Fraction("1", "1" + zeros.substr(0, 21)), true},
        {"123456789012345678901234567890", Fraction("123456789012345678901234567890", "1"), true},
        {"0." + std::string(30, '3'), Fraction(std::string(30, '3'), "1" + zeros.substr(0, 30)), true},
        {"1" + zeros.substr(0, 300), Fraction("1" + zeros.substr(0, 300), "1"), true},
        // Beyond the doubles: too large, below the smallest normal one, and
        // below the smallest of all.
        {"1" + zeros, Fraction("1" + zeros, "1"), false},
        {"-0." + zeros.substr(0, 320) + "5", -Fraction("5", "1" + zeros.substr(0, 321)), false},
        {"0." + zeros.substr(0, 307) + "22250738585072014", Fraction("22250738585072014", "1" + zeros.substr(0, 324)), false},
        {"-0." + zeros + "1", -Fraction("1", "1" + zeros + "0"), false},
    };
}

// The number as the objective's coefficient, a left side's coefficient and
// a right-hand side, in both arithmetics.
TEST(TypedNumbers, FloatingAsBeforeAndExactAsTyped) {
    for (const TypedCase& c : TypedCases()) {
        const ProblemText text{1, c.text + "x+y", {c.text + "x+y<1", "y<" + c.text}};
        for (const bool exact : {false, true}) {
            if (!exact && !c.floating) continue;
            ProblemModel model;
            BuildReport report;
            ASSERT_TRUE(ModelFromText(model, text, report, exact)) << c.text << " " << report.errorPanel;
            const ModelTerm& term = model.lines[0].sides[0].terms[0];
            EXPECT_EQ(TermText(model.lines[0].sides[0], term), c.text);
            EXPECT_EQ(model.lines[1].rhsText, c.text);
            EXPECT_EQ(model.objectiveText[0], c.text);
            const double term_ = exact ? Clamped(NearestDouble(c.value)) : ScannedAlone(c.text, false);
            const double rhs = exact ? term_ : ScannedAlone(c.text, true);
            EXPECT_EQ(Bits(term.coef), Bits(term_)) << c.text << (exact ? " exact" : " floating");
            EXPECT_EQ(Bits(model.objective[0]), Bits(term_)) << c.text;
            EXPECT_EQ(Bits(model.lines[1].rhs), Bits(rhs)) << c.text;
            EXPECT_EQ(ExactNumber(c.text), c.value) << c.text;
            if (!exact) continue;
            const MatrixQ T = ExactTableauFromModel(model);
            EXPECT_EQ(T.Index(1, 1), c.value) << c.text;
            EXPECT_EQ(T.Index(2, T.cols), -c.value) << c.text;
            EXPECT_EQ(T.Index(T.rows, 1), c.value) << c.text;
        }
    }
}

// Numbers without digits, and a cut's numbers, which are written as
// fractions: the sign and the value come from the text alone.
TEST(TypedNumbers, SignsAndFractionsFromTheText) {
    const struct {
        std::string text;
        mpq_class value;
    } cases[] = {
        {"", 1}, {"-", -1}, {"+", 1}, {".", 0}, {"-0.000", 0}, {"0", 0},
        {"-3/4", mpq_class(-3, 4)}, {"1/3", mpq_class(1, 3)}, {"10/4", mpq_class(5, 2)}, {"0.5/3", mpq_class(1, 6)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExactNumber(c.text), c.value) << c.text;
        EXPECT_EQ(TextSign(c.text), sgn(c.value)) << c.text;
        EXPECT_EQ(Bits(NearestDoubleOf(c.text)), Bits(NearestDouble(c.value))) << c.text;
    }
}

} // namespace
} // namespace optimara::testing
