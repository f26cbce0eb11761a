// SPDX-License-Identifier: GPL-3.0-or-later
// A slice of the comparison with glpsol (the whole runs as `make compare`),
// and the problems that first showed where the plain method goes wrong.
#include <gtest/gtest.h>

#include "Comparison.h"

namespace optimara::testing {
namespace {

TEST(Comparison, EveryFamilyAgreesWithGlpsolThroughTheSolveButton) {
    ASSERT_TRUE(GlpsolAvailable()) << "glpsol is not installed (package glpk-utils; `make setup` installs it)";
    RandomGenerator random;
    std::map<LpStatus, int> seen;
    for (const Family& family : Families()) {
        std::mt19937 rng(20261208u);
        for (int k = 0; k < 12; ++k) {
            const TypedProblem p = family.make(rng);
            const CompareResult r = CompareOne(p, random);
            EXPECT_EQ(r.failure, "") << family.name << " #" << k << ": " << Describe(p);
            ++seen[r.ours];
        }
    }
    // The slice must reach every ending, or it proves little.
    EXPECT_GE(seen[LpStatus::Optimal], 20);
    EXPECT_GE(seen[LpStatus::Infeasible], 3);
    EXPECT_GE(seen[LpStatus::Unbounded], 3);
}

struct TypedRun {
    HeadlessHost host;
    int faults = 0;
    explicit TypedRun(int combo, const std::string& objective, const std::vector<std::string>& lines) {
        host.text = {combo, objective, lines};
    }
    std::vector<double> Values() {
        return ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, host.text.comboIndex == 1)
            .values;
    }
};

// Three lines meet at the optimum (3,1): a step from there used to leave
// the region for (5,0) with the value 5.
TEST(Comparison, StepsThroughADegenerateVertexStayInTheRegion) {
    TypedRun run(1, "x+y", {"x+3y<6", "x+2y<5", "2x+2y<8", "x>0", "y>0"});
    do {
        Button2Click(run.host);
    } while (run.host.statusPanel.empty() && run.host.steps < 20);
    EXPECT_EQ(run.host.statusPanel, "Hecho");
    EXPECT_EQ(run.host.invariantBreaks, 0);
    const std::vector<double> values = run.Values();
    ASSERT_EQ(values.size(), 2u);
    EXPECT_NEAR(values[0], 3, 1e-12);
    EXPECT_NEAR(values[1], 1, 1e-12);
}

// Used to swap the same two variables for ever.
TEST(Comparison, UnboundedThroughZeroRowsEndsWithoutAQuestion) {
    TypedRun run(0, "8a-3w", {"3w>0", "-a>0"});
    Button1Click(run.host);
    EXPECT_EQ(StatusOfPanel(run.host.statusPanel), LpStatus::Unbounded);
    EXPECT_LT(run.host.steps, 100);
}

} // namespace
} // namespace optimara::testing

namespace optimara::testing {
namespace {

// The first pivot, on x in the first line, multiplies a 302-digit
// coefficient by 10^8: the step is abandoned with the fault, never finished
// with the overflow stored as 0.
TEST(Comparison, OverflowInAStepIsReportedNotStoredAsZero) {
    HeadlessHost host;
    host.text = {1, "x", {"x+100000000y<1", ScaledText(1, 301) + "x+y<" + ScaledText(2, 301), "x>0", "y>0"}};
    try {
        Button1Click(host);
        ADD_FAILURE() << "no fault; status " << host.statusPanel;
    } catch (const FloatingPointFault& fault) {
        EXPECT_STREQ(fault.what(), "Floating point overflow");
    }
    EXPECT_EQ(host.steps, 1);  // the build only: the first step never completed
    EXPECT_EQ(host.statusPanel, "");
}

} // namespace
} // namespace optimara::testing
