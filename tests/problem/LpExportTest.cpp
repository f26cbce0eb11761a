// SPDX-License-Identifier: GPL-3.0-or-later
// The problem written as a CPLEX LP file and read back by glpsol: the same
// verdict and the same optimum as the solve button's.
#include <random>

#include "Comparison.h"
#include "LpExport.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

struct OurEnd {
    LpStatus status;
    double objective;
};

OurEnd SolveOurs(const ProblemText& text) {
    HeadlessHost host;
    host.text = text;
    Button1Click(host);
    const SolutionReading reading =
        ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, text.comboIndex == 1);
    return {StatusOfPanel(host.statusPanel), reading.objective};
}

LpAnswer SolveExported(const ProblemText& text) {
    ProblemModel model;
    BuildReport report;
    EXPECT_TRUE(ModelFromText(model, text, report)) << report.errorPanel;
    return ParseAnswer(RunGlpsol(LpText(model), "--exact").output);
}

void ExpectSameEnd(const ProblemText& text, const std::string& what) {
    const OurEnd ours = SolveOurs(text);
    const LpAnswer glpk = SolveExported(text);
    EXPECT_EQ(StatusName(glpk.status), StatusName(ours.status)) << what << "\n" << glpk.raw;
    if (ours.status == LpStatus::Optimal && glpk.status == LpStatus::Optimal)
        EXPECT_NEAR(glpk.objective, ours.objective, 1e-6 * std::max(1.0, std::fabs(ours.objective))) << what;
}

TEST(LpExport, GlpsolReadsTheExportToTheSameEnd) {
    ASSERT_TRUE(GlpsolAvailable());
    for (const catalogue::KnownProblem& p : catalogue::Problems())
        ExpectSameEnd({p.comboIndex, p.objective, p.lines}, p.name);
    for (const Family& family : Families()) {
        std::mt19937 rng(777u);
        for (int k = 0; k < 8; ++k) {
            const TypedProblem p = family.make(rng);
            ExpectSameEnd(p.text, std::string(family.name) + ": " + Describe(p));
        }
    }
}

// Names the format does not allow, or reads as words of its own.
TEST(LpExport, NamesTheFormatCannotTakeAreRewrittenApart) {
    struct Case {
        std::string objective;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {"x[1]+x]1]", {"x_1_", "x_1__2"}},
        {"st+Free+end", {"st_", "Free_", "end_"}},
        {"a^b+x.y", {"a_b", "x.y"}},
        {"año+b", {"a__o", "b"}},
    };
    for (const Case& c : cases) {
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, {1, c.objective, {"x[1]<1"}}, report)) << report.errorPanel;
        const std::vector<std::string> names = LpNames(model);
        ASSERT_GE(names.size(), c.names.size());
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + long(c.names.size())), c.names) << c.objective;
    }
    // Read back: the sign lines are bounds, the rest of the variables free.
    ProblemText text{1, "st+2Free", {"st+Free<4", "st>0", "Free>0", "<5"}};
    const LpAnswer glpk = SolveExported(text);
    EXPECT_EQ(glpk.status, LpStatus::Optimal) << glpk.raw;
    EXPECT_DOUBLE_EQ(glpk.objective, 8);
}

} // namespace
} // namespace optimara::testing
