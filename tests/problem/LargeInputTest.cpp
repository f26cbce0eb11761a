// SPDX-License-Identifier: GPL-3.0-or-later
// Large input at the build: the exact reader beside the floating one,
// thousands of names in one line, and a tableau refused with its size.
#include <gtest/gtest.h>

#include "TestHelpers.h"

namespace optimara::testing {
namespace {

// The exact reader stops where the floating one stops and reports the same
// faults; its value is the typed number, however many digits it has.
TEST(ScanExactNumber, SameSyntaxAsTheFloatingReader) {
    const std::string many(5000, '9');
    struct Case {
        std::string text;
        bool required;
        mpq_class value;
    };
    const Case cases[] = {
        {"x", false, 1},        {"-x", false, -1},         {"2.5x", false, mpq_class(5, 2)},
        {"-.25<", false, mpq_class(-1, 4)}, {"3.", true, 3}, {"-", true, 0}, {"+", true, 0}, {"<", true, 0},
        {"0.10x", false, mpq_class(1, 10)}, {"12.3.4", true, mpq_class(123, 10)},
    };
    for (const Case& c : cases) {
        const int L = static_cast<int>(c.text.size());
        int floatingPos = 1, exactPos = 1;
        BuildReport floating, exact;
        ScanNumber(c.text, floatingPos, L, c.required, 0, floating);
        const mpq_class value = ScanExactNumber(c.text, exactPos, L, c.required, 0, exact);
        EXPECT_EQ(exactPos, floatingPos) << c.text;
        EXPECT_EQ(exact.errorPanel, floating.errorPanel) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    const std::string text = "-" + many + "." + many + "x";
    int pos = 1;
    BuildReport report;
    const mpq_class value = ScanExactNumber(text, pos, static_cast<int>(text.size()), false, 0, report);
    EXPECT_EQ(pos, static_cast<int>(text.size()));
    const mpz_class whole(many, 10), tenth(many + many, 10);
    EXPECT_EQ(value, -mpq_class(tenth, mpz_class("1" + std::string(5000, '0'), 10)));
    EXPECT_EQ(report.errorPanel, "");
}

std::string Names(const char* stem, int count, const char* between) {
    std::string list;
    for (int k = 1; k <= count; ++k) list += (k > 1 ? between : "") + std::string(stem) + std::to_string(k);
    return list;
}

// Ten thousand names made non-negative, or integer, in one line: the sign
// rows leave the tableau and the picture's copy keeps only its width.
TEST(LargeInput, TenThousandNamesInOneLine) {
    Outcome out;
    Build(out, 0, Names("x", 10000, "+"), {Names("x", 10000, ",") + ">0", "entero:" + Names("x", 10000, ",")});
    ASSERT_EQ(out.report.errorPanel, "");
    EXPECT_EQ(out.report.statusPanel, kBuildOptimal);
    EXPECT_EQ(out.state.Tableau.rows, 1u);
    EXPECT_EQ(out.state.Tableau.cols, 10001u);
    EXPECT_EQ(out.state.ConstraintPlanes.cols, 10001u);
    EXPECT_EQ(out.state.ConstraintPlanes.rows, 1u);
    EXPECT_EQ(out.state.ObjectiveVector.Index(10000, 1), -1.0);
    EXPECT_EQ(out.state.Model.integers.size(), 10000u);
    EXPECT_EQ(out.state.Model.integers.back(), 9999u);
    for (uint32_t j = 1; j <= 10000; ++j) ASSERT_EQ(out.state.SignMarks.Index(j, 1), 1) << j;
}

// 2,302 rows by 4,500 free variables (9,001 columns) are past the limit.
TEST(LargeInput, ATableauPastTheLimitIsRefusedWithItsSize) {
    std::vector<std::string> lines(2300, "x1<1");
    lines.push_back(Names("x", 4500, "+") + "<1");
    Outcome out;
    out.report.statusPanel = "antes";
    try {
        Build(out, 1, "x1", lines);
        ADD_FAILURE() << "no refusal";
    } catch (const ProblemTooLarge& refusal) {
        EXPECT_STREQ(refusal.what(), "El problema es demasiado grande: su tabla tendría 2302 filas y 9001 columnas "
                                     "(20720302 celdas; se admiten como mucho 20000000)");
    }
    EXPECT_EQ(out.report.statusPanel, "antes");
}

} // namespace
} // namespace optimara::testing
