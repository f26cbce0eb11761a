// SPDX-License-Identifier: GPL-3.0-or-later
// The exact mode against exact references: the typed numbers read exactly,
// the exact numbers written in both notations, the optimum of generated
// problems against rational vertex enumeration, and the same pivots as the
// floating mode where the data keep the floating values exact.
#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "BuildProblem.h"
#include "Display.h"
#include "Notation.h"
#include "catalogue/Catalogue.h"
#include "support/MatrixRows.h"

namespace optimara {
namespace {

TEST(ExactNumbers, TypedNumbersAreReadAsWritten) {
    const struct {
        const char* text;
        mpq_class value;
    } cases[] = {
        {"0.35", mpq_class(7, 20)},     {"-1.25", mpq_class(-5, 4)}, {"", mpq_class(1)},
        {"-", mpq_class(-1)},           {"+", mpq_class(1)},         {".5", mpq_class(1, 2)},
        {"12345678901234567890", mpq_class("12345678901234567890")},
        {"0.1234567890123", mpq_class("1234567890123/10000000000000")},
    };
    for (const auto& c : cases) EXPECT_EQ(ExactNumber(c.text), c.value) << c.text;
}

TEST(ExactNumbers, WrittenAsFractionsOrRoundedToFifteenDigits) {
    const struct {
        mpq_class value;
        bool floating;
        const char* separator;
        const char* text;
    } cases[] = {
        {mpq_class(1, 3), true, ".", "0.333333333333333"},
        {mpq_class(2, 3), true, ",", "0,666666666666667"},
        {mpq_class(-1, 8), true, ".", "-0.125"},
        {mpq_class(5, 2), false, ".", "5/2"},
        {mpq_class(-10140493, 310000), false, ".", "-10140493/310000"},
        {mpq_class("100000000000000000000"), true, ".", "1E20"},
        {mpq_class("100000000000000000000"), false, ".", "100000000000000000000"},
        // Half up on the exact value: ...5 exactly at the 16th digit.
        {mpq_class("1000000000000005/10000000000000000"), true, ".", "0.100000000000001"},
        {mpq_class(1, 3000), true, ".", "0.000333333333333333"},
        {mpq_class(1, 30000), true, ".", "3.33333333333333E-5"},
        {mpq_class(0), true, ".", "0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatExact(c.value, c.floating, c.separator), c.text) << c.value.get_str();
    EXPECT_EQ(ShortenedCell("**123456789012345678901234/7"), "**1234567890…/7");
    EXPECT_EQ(ShortenedCell("-0.333333333333333"), "-0.333333333333333");
}

// The digits are mostly read from a value's top bits, and exactly only near
// a rounding boundary. A value that is a double has a reference with the
// same rule: the floating notation's own 15 digits, rounded half up on the
// double's exact value. Checked on fractions and on the cells of a pivoted
// exact tableau (integers over scales), ties and carries included.
TEST(ExactNumbers, DigitsFromTheTopBitsAreTheExactOnes) {
    const auto likeDouble = [](const mpq_class& q, const std::string& got) {
        ASSERT_EQ(got, FormatGeneral15(q.get_d(), ",")) << q.get_str();
    };
    // Halves at the 16th digit (half up), and carries to the next power of ten.
    for (const char* tie : {"246913578024691/2", "1999999999999999/2", "3999999999999999/4", "-7999999999999999/8",
                            "199999999999999/2", "1", "10", "1/1024", "-1000000000000000"})
        likeDouble(mpq_class(tie), FormatExact(mpq_class(tie), true, ","));
    EXPECT_EQ(FormatExact(mpq_class("9999999999999995/10000000000000000"), true, ","), "1");
    std::mt19937_64 rng(20261210);
    const auto whole = [&](int bits) -> mpz_class { return mpz_class(std::to_string(rng() % (1ULL << bits))) - (1 << (bits - 1)); };
    for (int k = 0; k < 4000; ++k) {
        // A pivot 2^s: every new cell is a dyadic fraction of at most 52 bits.
        const long s = long(rng() % 31), scale = long(rng() % 160) - 80;
        MatrixQ T(2, 2);
        mpq_mul_2exp(T.Index(1, 1).get_mpq_t(), mpq_class(1).get_mpq_t(), mp_bitcnt_t(s));
        T.Index(1, 2) = whole(15);
        T.Index(2, 1) = whole(15);
        T.Index(2, 2) = whole(20);
        for (uint32_t i = 1; i <= 2; ++i) {
            mpq_class& q = T.Index(i, 2);
            if (scale >= 0) mpq_mul_2exp(q.get_mpq_t(), q.get_mpq_t(), mp_bitcnt_t(scale));
            else mpq_div_2exp(q.get_mpq_t(), q.get_mpq_t(), mp_bitcnt_t(-scale));
        }
        T.Exchange(1, 1);
        // Every cell written from the integers before any is reduced.
        std::string cells[4];
        for (uint32_t c = 0; c < 4; ++c) cells[c] = FormatExact(T, c / 2 + 1, c % 2 + 1, true, ",");
        for (uint32_t c = 0; c < 4; ++c) {
            const mpq_class q = std::as_const(T).Index(c / 2 + 1, c % 2 + 1);
            likeDouble(q, cells[c]);
            likeDouble(q, FormatExact(q, true, ","));
        }
    }
}

// One solve as the solve button makes it, in either arithmetic.
struct Solve {
    ProblemState state;
    BuildReport report;
    Solve(const ProblemText& text, bool exact) {
        state.Exact = exact;
        BuildProblem(state, text, report);
        state.ProblemReady = true;
    }
    bool Step() {
        if (state.Stage != SolveStage::Choosing) return false;
        NextStep(state);
        return true;
    }
};

TEST(ExactMode, SamePivotsAsFloatingOnTheCatalogue) {
    for (const auto& p : catalogue::Problems()) {
        const ProblemText text{p.comboIndex, p.objective, p.lines};
        Solve floating(text, false), exact(text, true);
        for (int k = 0; k < 50; ++k) {
            ASSERT_EQ(testing::MarksOf(floating.state.PivotMarks), testing::MarksOf(exact.state.PivotMarks)) << p.name << " step " << k;
            ASSERT_EQ(floating.state.Stage, exact.state.Stage) << p.name;
            if (!floating.Step() || !exact.Step()) break;
        }
        if (exact.state.Stage == SolveStage::Optimal)
            EXPECT_DOUBLE_EQ(NearestDouble(ExactObjective(exact.state, p.comboIndex == 1)), p.objectiveValue) << p.name;
    }
}

// The optimum of max/min c.x over a.x (<,>) b and x >= 0 by every vertex:
// each choice of n tight constraints solved exactly.
struct Line {
    std::vector<mpq_class> a;
    char rel;
    mpq_class b;
};

bool SolveTight(std::vector<std::vector<mpq_class>> m, std::vector<mpq_class>& x) {
    const size_t n = x.size();
    for (size_t c = 0; c < n; ++c) {
        size_t p = c;
        while (p < n && m[p][c] == 0) ++p;
        if (p == n) return false;
        std::swap(m[p], m[c]);
        for (size_t r = 0; r < n; ++r)
            if (r != c && m[r][c] != 0) {
                const mpq_class f = m[r][c] / m[c][c];
                for (size_t k = c; k <= n; ++k) m[r][k] -= f * m[c][k];
            }
    }
    for (size_t c = 0; c < n; ++c) x[c] = m[c][n] / m[c][c];
    return true;
}

bool BestVertex(const std::vector<Line>& lines, const std::vector<mpq_class>& c, bool maximize, mpq_class& best) {
    const size_t n = c.size(), all = lines.size();
    bool found = false;
    std::vector<size_t> pick(n);
    for (size_t k = 0; k < n; ++k) pick[k] = k;
    while (true) {
        std::vector<std::vector<mpq_class>> m;
        for (size_t k : pick) {
            m.push_back(lines[k].a);
            m.back().push_back(lines[k].b);
        }
        std::vector<mpq_class> x(n);
        if (SolveTight(m, x)) {
            bool feasible = true;
            for (const Line& l : lines) {
                mpq_class lhs = 0;
                for (size_t j = 0; j < n; ++j) lhs += l.a[j] * x[j];
                if ((l.rel == '<' && lhs > l.b) || (l.rel == '>' && lhs < l.b)) feasible = false;
            }
            if (feasible) {
                mpq_class z = 0;
                for (size_t j = 0; j < n; ++j) z += c[j] * x[j];
                if (!found || (maximize ? z > best : z < best)) best = z;
                found = true;
            }
        }
        size_t i = n;
        while (i > 0 && pick[i - 1] == all - n + i - 1) --i;
        if (i == 0) return found;
        ++pick[i - 1];
        for (size_t k = i; k < n; ++k) pick[k] = pick[k - 1] + 1;
    }
}

std::string Decimal(int units, int places) {
    std::string s = units < 0 ? "-" : "";
    const int a = std::abs(units), scale = places == 1 ? 10 : 100;
    s += std::to_string(a / scale) + "." + (places == 2 && a % scale < 10 ? "0" : "") + std::to_string(a % scale);
    return s;
}

TEST(ExactMode, OptimumIsTheBestVertexExactly) {
    std::mt19937 rng(20261209u);
    const char* names[3] = {"x", "y", "z"};
    int optimal = 0;
    for (int k = 0; k < 60; ++k) {
        const size_t n = 2 + rng() % 2, m = 2 + rng() % 3;
        const int places = 1 + static_cast<int>(rng() % 2);
        const bool decimals = k % 2 == 0, maximize = rng() % 2 == 0;
        auto number = [&](int range) {
            const int units = static_cast<int>(rng() % (2 * range + 1)) - range;
            return decimals ? Decimal(units * 7 + 1, places) : std::to_string(units);
        };
        ProblemText text{maximize ? 1 : 0, "", {}};
        std::vector<mpq_class> c;
        for (size_t j = 0; j < n; ++j) {
            const std::string t = number(5);
            c.push_back(ExactNumber(t));
            text.objective += (j && t[0] != '-' ? "+" : "") + t + names[j];
        }
        std::vector<Line> lines;
        for (size_t i = 0; i < m; ++i) {
            Line l{{}, rng() % 4 == 0 ? '>' : '<', 0};
            std::string line;
            for (size_t j = 0; j < n; ++j) {
                std::string t = number(4);
                if (ExactNumber(t) == 0) t = "1";
                l.a.push_back(ExactNumber(t));
                line += (j && t[0] != '-' ? "+" : "") + t + names[j];
            }
            const std::string b = number(9);
            l.b = ExactNumber(b);
            lines.push_back(l);
            text.lines.push_back(line + l.rel + b);
        }
        for (size_t j = 0; j < n; ++j) {
            Line sign{std::vector<mpq_class>(n, 0), '>', 0};
            sign.a[j] = 1;
            lines.push_back(sign);
            text.lines.push_back(std::string(names[j]) + ">0");
        }
        Solve exact(text, true);
        ASSERT_EQ(exact.report.errorPanel, "") << text.objective;
        for (int s = 0; s < 200 && exact.Step(); ++s) {}
        mpq_class best;
        const bool any = BestVertex(lines, c, maximize, best);
        if (!any) EXPECT_EQ(exact.state.Stage, SolveStage::Infeasible) << text.objective;
        if (exact.state.Stage != SolveStage::Optimal) continue;
        ++optimal;
        ASSERT_TRUE(any);
        EXPECT_EQ(ExactObjective(exact.state, maximize), best) << text.objective;
        // The shown value is the exact one, as a fraction and rounded.
        double point[3] = {0, 0, 0};
        const TableauView view = ComputeTableauView(exact.state, maximize, true, false, ".", point);
        EXPECT_EQ(view.value, best.get_str());
    }
    EXPECT_GE(optimal, 15);
}

} // namespace
} // namespace optimara
