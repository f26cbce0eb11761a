// SPDX-License-Identifier: GPL-3.0-or-later
// The problem written as a CPLEX LP file and read back by glpsol: the same
// verdict and the same optimum as the solve button's.
#include <functional>
#include <random>

#include "Comparison.h"
#include "LpExport.h"
#include "Sensitivity.h"
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

// Every name of a typed text (a run from a letter to the next delimiter)
// through `rename`, the numbers and relations as they were.
ProblemText Renamed(const ProblemText& text, const std::function<std::string(const std::string&)>& rename) {
    auto side = [&](const std::string& s) {
        std::string out;
        for (size_t k = 0; k < s.size();) {
            const auto c = static_cast<signed char>(s[k]);
            if (c < 65 || c > 122) {
                out += s[k++];
                continue;
            }
            const size_t end = s.find_first_of("+-*,<>=", k);
            out += rename(s.substr(k, end == std::string::npos ? std::string::npos : end - k));
            k = end == std::string::npos ? s.size() : end;
        }
        return out;
    };
    ProblemText renamed{text.comboIndex, side(text.objective), {}};
    for (const std::string& line : text.lines) renamed.lines.push_back(side(line));
    return renamed;
}

// Names longer than the format reads, alike in their first 255 characters,
// and names that begin or go on with characters it refuses: cut or
// rewritten apart, each mapped back in a comment, and read by glpsol to the
// same end.
TEST(LpExport, LongAndOddNamesReadBackToTheSameEnd) {
    ASSERT_TRUE(GlpsolAvailable());
    const std::vector<std::function<std::string(const std::string&)>> renames = {
        [](const std::string& name) { return "A" + std::string(290, 'n') + "ñ" + name; },
        [](const std::string& name) { return "\\" + name + "[ñ]\tend"; },
    };
    for (const Family& family : Families()) {
        std::mt19937 rng(4242u);
        for (int k = 0; k < 3; ++k) {
            const TypedProblem p = family.make(rng);
            for (const auto& rename : renames) {
                const ProblemText text = Renamed(p.text, rename);
                ExpectSameEnd(text, std::string(family.name) + ": " + text.objective.substr(0, 80));
                ProblemModel model;
                BuildReport report;
                ASSERT_TRUE(ModelFromText(model, text, report)) << report.errorPanel;
                const std::vector<std::string> names = LpNames(model);
                const std::string lp = LpText(model);
                for (size_t v = 0; v < names.size(); ++v) {
                    EXPECT_LE(names[v].size(), 255u);
                    std::string typed = model.variables[v].name;
                    const size_t tab = typed.find('\t');
                    if (tab != std::string::npos) typed.replace(tab, 1, "\\x09");
                    EXPECT_NE(lp.find("\\ " + names[v] + " = " + typed + "\n"), std::string::npos) << typed;
                }
            }
        }
    }
}

// Numbers are written as typed, not as the digits of the nearest double.
TEST(LpExport, NumbersAreWrittenAsTyped) {
    const struct {
        ProblemText text;
        std::vector<std::string> written;
    } cases[] = {
        {{1, "0.1x+0.7y", {"0.3x+1.1y<2.675", "x>0"}}, {" obj: 0.1 x + 0.7 y\n", " h1: 0.3 x + 1.1 y <= 2.675\n"}},
        {{0, "-0.35a+123456.789b", {"a-0.000001b>-0.2"}}, {" obj: - 0.35 a + 123456.789 b\n", " h1: 1 a - 1e-06 b >= -0.2\n"}},
    };
    for (const auto& c : cases) {
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, c.text, report)) << report.errorPanel;
        const std::string lp = LpText(model);
        for (const std::string& line : c.written) EXPECT_NE(lp.find(line), std::string::npos) << line << "\n" << lp;
    }
}

// A problem of sign lines alone: the export has its one constraint that
// every point meets, glpsol reads it to the same end, and its dual is a
// problem the program reads and solves to the same optimum.
TEST(LpExport, SignLinesAloneExportAndDualise) {
    ASSERT_TRUE(GlpsolAvailable());
    const std::vector<ProblemText> problems = {
        {0, "x+y", {"x>0", "y>0"}},          {1, "x+y", {"x>0", "y>0"}},   {1, "-x-2y", {"x,y>0"}},
        {0, "3a", {"2a>0"}},                  {0, "x+0y", {"-x<0"}},        {0, "x+y", {"x>0", "y>0", "entero: x"}},
    };
    for (const ProblemText& text : problems) {
        ExpectSameEnd(text, text.objective + " " + text.lines[0]);
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, text, report)) << report.errorPanel;
        double primal = 0;
        if (!SolveToOptimum(text, primal)) continue;
        const ProblemText dual = DualProblem(model);
        ProblemModel dualModel;
        EXPECT_TRUE(ModelFromText(dualModel, dual, report)) << report.errorPanel << ": " << dual.objective;
        double optimum = 1;
        EXPECT_TRUE(SolveToOptimum(dual, optimum)) << dual.objective;
        EXPECT_DOUBLE_EQ(optimum, primal) << dual.objective;
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

// Exact arithmetic reads numbers beyond a double: the export refuses them
// rather than write the largest double in their place; what fits is written.
TEST(LpExport, ExactNumbersBeyondADoubleAreRefused) {
    const std::string huge = "1" + std::string(400, '0');
    const std::vector<std::pair<ProblemText, bool>> cases = {
        {{1, huge + "x+y", {"x+y<4", "x>0", "y>0"}}, false},
        {{1, "x+y", {huge + "x+y<4", "x>0", "y>0"}}, false},
        {{1, "x+y", {"x+y<" + huge, "x>0", "y>0"}}, false},
        {{1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, true},
    };
    for (const auto& [text, fits] : cases) {
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, text, report, true)) << report.errorPanel;
        if (fits) EXPECT_NO_THROW(LpText(model)) << text.objective;
        else EXPECT_THROW(LpText(model), std::runtime_error) << text.objective;
    }
}

} // namespace
} // namespace optimara::testing
