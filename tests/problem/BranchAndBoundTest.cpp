// SPDX-License-Identifier: GPL-3.0-or-later
// Integer variables: the «entero:» line, the tree of branch and bound on
// problems worked by hand, and the integer optimum against glpsol's.
#include <random>
#include <set>

#include "BranchAndBound.h"
#include "Comparison.h"
#include "LpExport.h"
#include "TestHelpers.h"
#include "TextRules.h"

namespace optimara::testing {
namespace {

ProblemModel ReadOk(const ProblemText& text) {
    ProblemModel model;
    BuildReport report;
    EXPECT_TRUE(ModelFromText(model, text, report)) << report.errorPanel;
    return model;
}

TEST(IntegerLine, NamesTheIntegerVariablesAndMakesNoRow) {
    struct Case {
        std::vector<std::string> lines;
        std::vector<uint32_t> integers;
    };
    const std::vector<Case> cases = {
        {{"x+y+z<4", "entero: x, z"}, {0, 2}},
        {{"ENTEROS :Z,y", "x+y+z<4"}, {1, 2}},
        {{"x+y+z<4", " Entero : y , Y", "enteros:x"}, {0, 1}},
        {{"x+y+z<4", ";entero: x"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> plain;
        for (const std::string& l : c.lines)
            if (text::FoldedName(text::WithoutBlanks(l)).rfind("enter", 0) != 0) plain.push_back(l);
        Outcome with, without;
        Build(with, 1, "x+2y+3z", c.lines);
        Build(without, 1, "x+2y+3z", plain);
        ASSERT_EQ(with.report.errorPanel, "") << c.lines[1];
        EXPECT_EQ(with.state.Model.integers, c.integers) << c.lines[1];
        EXPECT_EQ(RowsOf(with.state.Tableau), RowsOf(without.state.Tableau)) << c.lines[1];
    }
}

TEST(IntegerLine, UnknownNamesAndEmptyListsAreErrorsOfTheirLine) {
    struct Case {
        std::vector<std::string> lines;
        std::string text;
        int source;
    };
    const std::vector<Case> cases = {
        {{"x+y<4", "entero: x, w"}, "ERROR17: Variable entera desconocida", 1},
        {{"entero: q", "x+y<4"}, "ERROR17: Variable entera desconocida", 0},
        {{"x+y<4", ";", "enteros:"}, "ERROR18: Lista de enteros vacía", 2},
        {{"x+y<4", "entero: x,,y"}, "ERROR18: Lista de enteros vacía", 1},
        {{"x+y<4", "entero: x,"}, "ERROR18: Lista de enteros vacía", 1},
        {{"entero: x"}, "ERROR16: No hay restricciones", 0},
        {{"x+y<4", "entera: x"}, "ERROR7: Inesperado final      ", 1},
    };
    for (const Case& c : cases) {
        Outcome out;
        Build(out, 1, "x+y", c.lines);
        EXPECT_EQ(out.report.errorPanel, c.text) << c.lines.back();
        EXPECT_TRUE(out.report.select);
        EXPECT_EQ(out.report.source, c.source) << c.lines.back();
    }
}

struct TreeCase {
    const char* name;
    ProblemText text;
    SolveStage stage;
    std::vector<NodeEnd> ends;
    std::vector<int> parents;
    int best;
    double value;
};

// Worked by hand: the relaxation's optimum (3, 1.5) branches on y, the
// "<" side on x; (3, 1) and then (4, 0) are integer; y > 2 is worth 18.
TEST(BranchAndBound, TreesWorkedByHand) {
    using E = NodeEnd;
    const std::vector<TreeCase> cases = {
        {"two branchings", {1, "5x+4y", {"6x+4y<24", "x+2y<6", "x>0", "y>0", "entero: x,y"}}, SolveStage::Optimal,
         {E::Branched, E::Branched, E::Integer, E::Integer, E::PrunedByBound}, {0, 1, 2, 2, 1}, 4, 20},
        {"no integer point, Minimizar", {0, "x", {"4x<3", "4x>1", "x>0", "entero:x"}}, SolveStage::Infeasible,
         {E::Branched, E::Infeasible, E::Infeasible}, {0, 1, 1}, 0, 0},
        {"integer at once", {0, "x+y", {"x+y>2", "x>0", "y>0", "x<5", "y<5", "entero:x"}}, SolveStage::Optimal,
         {E::Integer}, {0}, 1, 2},
    };
    for (PivotRule rule : {PivotRule::Random, PivotRule::SmallestIndex}) {
        for (const TreeCase& c : cases) {
            RandomGenerator random;
            const BranchResult r = BranchAndBound(c.text, ReadOk(c.text), random, rule, [] { return true; });
            EXPECT_EQ(r.stage, c.stage) << c.name;
            std::vector<NodeEnd> ends;
            std::vector<int> parents;
            for (const BranchNode& n : r.nodes) ends.push_back(n.end), parents.push_back(n.parent);
            EXPECT_EQ(ends, c.ends) << c.name;
            EXPECT_EQ(parents, c.parents) << c.name;
            EXPECT_EQ(r.best, c.best) << c.name;
            if (r.best != 0) {
                EXPECT_NEAR(r.nodes[size_t(r.best - 1)].value, c.value, 1e-9) << c.name;
            }
        }
    }
    // The first tree's bounds, as the node lines read.
    const ProblemText first = cases[0].text;
    RandomGenerator random;
    const ProblemModel model = ReadOk(first);
    const BranchResult r = BranchAndBound(first, model, random, PivotRule::Random, [] { return true; });
    std::vector<std::string> lines;
    for (const BranchNode& n : r.nodes) lines.push_back(n.bounds.empty() ? "" : BoundLine(model, n.bounds.back()));
    EXPECT_EQ(lines, (std::vector<std::string>{"", "y<1", "x<3", "x>4", "y>2"}));
}

// A search that never ends by itself: 1/4 < x - y < 3/4 has no integer
// point but a fractional one under every bound, and nothing bounds the
// objective 0 away; the user's No stops it.
TEST(BranchAndBound, TheNodeLimitAsksAndNoStops) {
    const ProblemText text{1, "0x", {"4x-4y<3", "4x-4y>1", "entero: x,y"}};
    RandomGenerator random;
    int asked = 0;
    const BranchResult r = BranchAndBound(text, ReadOk(text), random, PivotRule::SmallestIndex, [&] { return ++asked < 1; });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(r.stage, SolveStage::Choosing);
    EXPECT_EQ(r.nodes.size(), size_t(kNodeLimit));
    EXPECT_EQ(r.best, 0);
}

// 3x < 10^16+1 puts x at 3333333333333333.67, beyond what a double tells
// apart from its neighbours: only exact bounds branch at the true floor.
TEST(BranchAndBound, ExactBoundsAreTheTrueWholeNumbers) {
    const ProblemText text{1, "x", {"3x<10000000000000001", "x>0", "entero: x"}};
    RandomGenerator random;
    const ProblemModel model = ReadOk(text);
    const BranchResult r = BranchAndBound(text, model, random, PivotRule::Random, [] { return true; }, true);
    ASSERT_EQ(r.stage, SolveStage::Optimal);
    ASSERT_EQ(r.nodes.size(), 3u);
    EXPECT_EQ(BoundLine(model, r.nodes[1].bounds.back()), "x<3333333333333333");
    EXPECT_EQ(BoundLine(model, r.nodes[2].bounds.back()), "x>3333333333333334");
    EXPECT_EQ(r.nodes[2].end, NodeEnd::Infeasible);
    EXPECT_EQ(r.best, 2);
    EXPECT_EQ(r.nodes[1].exactValue, mpq_class("3333333333333333"));
}

// An «=» line of integer variables whose whole coefficients' greatest common
// divisor does not divide its right-hand side ends the search at its first
// tableau; a continuous variable, an inequality or a divisor that divides
// leave the search to its nodes.
TEST(BranchAndBound, TheDivisorOfAnEqualityProvesNoIntegerPoint) {
    struct Case {
        std::vector<std::string> lines;
        int line;           // the proving line, -1 for none
        const char* scale;  // and the numbers the proof names
        const char* divisor;
        const char* rhs;
        SolveStage stage;
    };
    const std::vector<Case> cases = {
        {{"2a+4b=3", "entero: a,b"}, 0, "1", "2", "3", SolveStage::Infeasible},
        {{"2a-2b=1", "entero: a,b"}, 0, "1", "2", "1", SolveStage::Infeasible},
        {{"a+b<8", "0.5a+b=0.25", "enteros: a,b"}, 1, "4", "2", "1", SolveStage::Infeasible},
        {{"3a+6b=4.5", "entero: a,b"}, 0, "2", "6", "9", SolveStage::Infeasible},
        {{"a+b<6", "a-b,2a+4b=3", "entero: a,b"}, 1, "1", "2", "3", SolveStage::Infeasible},
        {{"2a+4b=3", "entero: a"}, -1, "", "", "", SolveStage::Optimal},
        {{"2a+4b=6", "entero: a,b"}, -1, "", "", "", SolveStage::Optimal},
        {{"2a+4b<3", "entero: a,b"}, -1, "", "", "", SolveStage::Optimal},
    };
    for (const Case& c : cases) {
        ProblemText text{1, "a+b", c.lines};
        for (const char* bound : {"a>0", "b>0", "a<5", "b<5"}) text.lines.push_back(bound);
        const ProblemModel model = ReadOk(text);
        const DivisorProof proof = FindDivisorProof(model);
        EXPECT_EQ(proof.line, c.line) << c.lines[0];
        if (c.line >= 0) {
            EXPECT_EQ(proof.side, c.line == 1 && c.lines[1][0] == 'a' ? 1u : 0u) << c.lines[0];
            EXPECT_EQ(proof.scale.get_str(), c.scale) << c.lines[0];
            EXPECT_EQ(proof.divisor.get_str(), c.divisor) << c.lines[0];
            EXPECT_EQ(proof.rhs.get_str(), c.rhs) << c.lines[0];
        }
        for (bool exact : {false, true}) {
            RandomGenerator random;
            const BranchResult r = BranchAndBound(text, model, random, PivotRule::Random, [] { return true; }, exact);
            EXPECT_EQ(r.stage, c.stage) << c.lines[0];
            // The proof needs no branching: the first node ends the search.
            if (c.line >= 0) {
                ASSERT_EQ(r.nodes.size(), 1u) << c.lines[0];
                EXPECT_EQ(r.nodes[0].end, NodeEnd::Infeasible);
            }
        }
    }
}

// An unbounded relaxation says nothing yet of the integer problem: with an
// integer point it is unbounded too, a search that closes every node proves
// there is none, and a search without end stays the user's to stop.
TEST(BranchAndBound, UnboundedRelaxationNeedsAnIntegerPoint) {
    struct Case {
        ProblemText text;
        SolveStage stage;
        bool found;  // an integer point is named
    };
    const std::vector<Case> cases = {
        {{1, "x+y", {"x-y<1.5", "x>0", "y>0", "entero: x,y"}}, SolveStage::Unbounded, true},
        {{1, "x+y", {"x-y<1.5", "entero: x"}}, SolveStage::Unbounded, true},
        {{1, "x+y", {"x-y<1.5", "x>0.5", "x<0.9", "y>0", "entero: y"}}, SolveStage::Unbounded, true},
        {{1, "y", {"4x<3", "4x>1", "x>0", "y>0", "entero: x"}}, SolveStage::Infeasible, false},
        {{1, "x+y", {"4x-4y<3", "4x-4y>1", "entero: x,y"}}, SolveStage::Choosing, false},
        {{0, "-x-y", {"4x-4y<3", "4x-4y>1", "x>0", "entero: x,y"}}, SolveStage::Choosing, false},
    };
    for (PivotRule rule : {PivotRule::Random, PivotRule::LargestCoefficient, PivotRule::SmallestIndex})
        for (const Case& c : cases) {
            RandomGenerator random;
            const ProblemModel model = ReadOk(c.text);
            const bool exact = rule == PivotRule::LargestCoefficient;
            const BranchResult r = BranchAndBound(c.text, model, random, rule, [] { return false; }, exact);
            const std::string what = c.text.lines[0] + " rule " + std::to_string(int(rule));
            EXPECT_TRUE(r.unboundedRelaxation) << what;
            EXPECT_EQ(r.stage, c.stage) << what;
            ASSERT_EQ(r.best != 0, c.found) << what;
            if (!c.found) continue;
            // The point named satisfies every line and is whole where it must be.
            const BranchNode& point = r.nodes[size_t(r.best - 1)];
            for (uint32_t v : model.integers) EXPECT_NEAR(point.solution[v], std::round(point.solution[v]), 1e-9) << what;
            EXPECT_LT(point.solution[0] - point.solution[1], 1.5 + 1e-9) << what;
        }
}

// A deep search: every node's bounds hold at most one bound per variable
// and side, and its tableau no more rows than the typed problem's and two
// per integer variable, however deep the node.
TEST(BranchAndBound, DeepSearchTableauxStayBounded) {
    const ProblemText text{1, "0x", {"4x-4y<3", "4x-4y>1", "entero: x,y"}};
    RandomGenerator random;
    int asked = 0;
    const BranchResult r = BranchAndBound(text, ReadOk(text), random, PivotRule::SmallestIndex, [&] { return ++asked < 2; });
    ASSERT_EQ(r.nodes.size(), size_t(2 * kNodeLimit));
    const uint32_t typedRows = r.nodes[0].last->Tableau.rows;
    std::vector<int> depth(r.nodes.size() + 1, 0);
    int deepest = 0;
    for (const BranchNode& n : r.nodes) {
        depth[size_t(n.number)] = n.parent == 0 ? 0 : depth[size_t(n.parent)] + 1;
        deepest = std::max(deepest, depth[size_t(n.number)]);
        std::set<std::pair<uint32_t, bool>> sides;
        for (const NodeBound& b : n.bounds) EXPECT_TRUE(sides.insert({b.variable, b.upper}).second) << n.number;
        ASSERT_TRUE(n.last) << n.number;
        EXPECT_LE(n.last->Tableau.rows, typedRows + 4) << n.number;
    }
    EXPECT_GT(deepest, 100);
    // A child's bound replaces its parent's and comes last.
    const BranchNode& child = r.nodes.back();
    const BranchNode& parent = r.nodes[size_t(child.parent - 1)];
    EXPECT_EQ(child.bounds.back().variable, parent.made[0].variable);
}

// Beyond their memory budget the nodes' tableaux are let go, but for the
// first, the best and the last; a node let go is solved again to the same
// value.
TEST(BranchAndBound, KeptTableauxStayWithinTheirBudget) {
    // A third line makes every tableau larger: the budget is reached sooner.
    const ProblemText text{1, "0x", {"4x-4y<3", "4x-4y>1", "x+y<1000000", "entero: x,y"}};
    const ProblemModel model = ReadOk(text);
    RandomGenerator random;
    int asked = 0;
    const BranchResult r = BranchAndBound(text, model, random, PivotRule::SmallestIndex, [&] { return ++asked < 15; });
    size_t kept = 0, gone = 0;
    for (const BranchNode& n : r.nodes) n.last ? kept += StateBytes(*n.last) : ++gone;
    EXPECT_GT(gone, 0u);
    EXPECT_LE(kept, kKeptTableauBytes + 2 * StateBytes(*r.nodes.front().last));
    ASSERT_TRUE(r.nodes.front().last && r.nodes.back().last);
    for (size_t k = r.nodes.size() - 1; k > 0; --k) {
        if (r.nodes[k - 1].last) continue;
        ProblemState again;
        again.Rule = PivotRule::SmallestIndex;
        SolveNodeAgain(text, model, r.nodes[k - 1], false, again);
        ASSERT_EQ(again.Stage, r.nodes[k - 1].stage);
        EXPECT_NEAR(ReadSolution(again.Tableau, again.Labels, again.SignMarks, true).objective, r.nodes[k - 1].value, 1e-9);
        break;
    }
}

// Small boxed integer problems, 2 to 4 variables, some of them integer.
ProblemText RandomBoxed(std::mt19937& rng) {
    ProblemText t;
    t.comboIndex = Draw(rng, 0, 1);
    const int n = Draw(rng, 2, 4);
    auto side = [&](std::vector<int> coef) {
        std::string s;
        for (int j = 0; j < n; ++j)
            if (coef[size_t(j)] != 0) s += (s.empty() || coef[size_t(j)] < 0 ? "" : "+") + std::to_string(coef[size_t(j)]) + VarName(j + 1);
        return s;
    };
    std::vector<int> cost;
    for (int j = 0; j < n; ++j) cost.push_back(Draw(rng, -6, 6));
    if (cost[0] == 0) cost[0] = 3;
    t.objective = side(cost);
    const int m = Draw(rng, 1, 3);
    for (int i = 0; i < m; ++i) {
        std::vector<int> a;
        for (int j = 0; j < n; ++j) a.push_back(Draw(rng, -5, 5));
        if (side(a).empty()) a[0] = 2;
        const char rel = Chance(rng, 0.1) ? '=' : Chance(rng, 0.6) ? '<' : '>';
        t.lines.push_back(side(a) + rel + std::to_string(Draw(rng, -6, 15)) + (Chance(rng, 0.3) ? ".5" : ""));
    }
    std::string integers;
    for (int j = 1; j <= n; ++j) {
        t.lines.push_back(VarName(j) + (Chance(rng, 0.5) ? ">0" : ">-" + std::to_string(Draw(rng, 1, 4))));
        t.lines.push_back(VarName(j) + "<" + std::to_string(Draw(rng, 1, 7)));
        if (j == 1 || Chance(rng, 0.6)) integers += (integers.empty() ? "" : ",") + VarName(j);
    }
    t.lines.push_back("entero: " + integers);
    return t;
}

LpStatus StatusOf(SolveStage stage) {
    switch (stage) {
    case SolveStage::Optimal: return LpStatus::Optimal;
    case SolveStage::Infeasible: return LpStatus::Infeasible;
    case SolveStage::Unbounded: return LpStatus::Unbounded;
    default: return LpStatus::Unknown;
    }
}

TEST(BranchAndBound, SameEndAndOptimumAsGlpsolAsMipSolver) {
    ASSERT_TRUE(GlpsolAvailable());
    std::mt19937 rng(2026u);
    RandomGenerator random;
    int optima = 0, empty = 0;
    for (int k = 0; k < 60; ++k) {
        const ProblemText text = RandomBoxed(rng);
        ProblemModel model = ReadOk(text);
        const std::string lp = LpText(model);
        ASSERT_NE(lp.find("General\n"), std::string::npos);
        const BranchResult ours = BranchAndBound(text, model, random, k % 2 ? PivotRule::SmallestIndex : PivotRule::Random,
                                                 [] { return false; });
        // glpsol searches for integers only from an optimal relaxation.
        ProblemModel relaxed = model;
        relaxed.integers.clear();
        LpAnswer glpk = ParseAnswer(RunGlpsol(LpText(relaxed), "--exact").output);
        if (glpk.status == LpStatus::Optimal) {
            const std::string out = RunGlpsol(lp, "").output;
            glpk = ParseAnswer(out);
            if (out.find("INTEGER EMPTY") != std::string::npos) glpk.status = LpStatus::Infeasible;
        }
        std::string what = (text.comboIndex ? "Max " : "Min ") + text.objective;
        for (const std::string& l : text.lines) what += " | " + l;
        ASSERT_EQ(StatusName(StatusOf(ours.stage)), StatusName(glpk.status)) << what << "\n" << glpk.raw;
        if (glpk.status != LpStatus::Optimal) {
            ++empty;
            continue;
        }
        ++optima;
        const BranchNode& best = ours.nodes.at(size_t(ours.best - 1));
        EXPECT_NEAR(best.value, glpk.objective, 1e-6 * std::max(1.0, std::fabs(glpk.objective))) << what;
        for (uint32_t v : model.integers) EXPECT_NEAR(best.solution[v], std::round(best.solution[v]), 1e-6) << what;
        if (k % 3) continue;
        // The same search in exact arithmetic: whole integer values, glpsol's optimum.
        const BranchResult exact = BranchAndBound(text, model, random, PivotRule::Random, [] { return false; }, true);
        ASSERT_EQ(exact.stage, SolveStage::Optimal) << what;
        const BranchNode& e = exact.nodes.at(size_t(exact.best - 1));
        EXPECT_NEAR(e.exactValue.get_d(), glpk.objective, 1e-6 * std::max(1.0, std::fabs(glpk.objective))) << what;
        for (uint32_t v : model.integers) EXPECT_EQ(e.exactSolution.at(v).get_den(), 1) << what;
    }
    EXPECT_GT(optima, 20);
    EXPECT_GT(empty, 0);
}

} // namespace
} // namespace optimara::testing

namespace optimara::testing {
namespace {

// "Nodos desde el padre": every node after the first from its parent's
// optimum with its bound appended, by the dual simplex; the search must end
// where the search from the nodes' texts ends (checked against glpsol
// above), with the same optimum.
TEST(BranchAndBound, NodesFromTheParentEndWhereNodesFromTheirTextEnd) {
    std::mt19937 rng(2027u);
    RandomGenerator random;
    int fromParent = 0, optima = 0;
    for (int k = 0; k < 40; ++k) {
        const ProblemText text = RandomBoxed(rng);
        const ProblemModel model = ReadOk(text);
        const bool exact = k % 2 == 1;
        const BranchResult plain = BranchAndBound(text, model, random, PivotRule::SmallestIndex, [] { return false; }, exact);
        const BranchResult parent =
            BranchAndBound(text, model, random, PivotRule::SmallestIndex, [] { return false; }, exact, true);
        std::string what = text.objective;
        for (const std::string& l : text.lines) what += " | " + l;
        ASSERT_EQ(parent.stage, plain.stage) << what;
        for (const BranchNode& node : parent.nodes) fromParent += node.fromParent ? 1 : 0;
        if (plain.stage != SolveStage::Optimal) continue;
        ++optima;
        const double best = plain.nodes.at(size_t(plain.best - 1)).value;
        EXPECT_NEAR(parent.nodes.at(size_t(parent.best - 1)).value, best, 1e-7 * std::max(1.0, std::fabs(best))) << what;
    }
    EXPECT_GT(optima, 10);
    EXPECT_GT(fromParent, 20);
}

} // namespace
} // namespace optimara::testing
