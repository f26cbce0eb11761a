// SPDX-License-Identifier: GPL-3.0-or-later
// Generated exercises: every kind over fifty seeds and a spread of sizes,
// read back from their text by a reader of the test's own and judged by
// glpsol (the status, the optimum, and whether the optimum is unique), the
// key checked in exact rationals, and every tableau of both deterministic
// paths walked again for the small numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "BranchAndBound.h"
#include "BuildProblem.h"
#include "Exercises.h"
#include "LpExport.h"
#include "GlpkOracle.h"

namespace optimara::testing {
namespace {

// --- A reader of the generator's few forms: "3x-y+0z", "x+2y<6", "x>0".

struct TypedRow {
    std::map<std::string, mpq_class> terms;
    char rel = 0;
    mpq_class rhs;
};

std::map<std::string, mpq_class> ReadTerms(const std::string& side) {
    std::map<std::string, mpq_class> terms;
    size_t at = 0;
    while (at < side.size()) {
        bool negative = false;
        if (side[at] == '+' || side[at] == '-') negative = side[at++] == '-';
        std::string digits;
        while (at < side.size() && std::isdigit(static_cast<unsigned char>(side[at]))) digits += side[at++];
        std::string name;
        while (at < side.size() && std::isalpha(static_cast<unsigned char>(side[at]))) name += side[at++];
        mpq_class c = digits.empty() ? mpq_class(1) : mpq_class(digits);
        terms[name] += negative ? mpq_class(-c) : c;
    }
    return terms;
}

TypedRow ReadRow(const std::string& line) {
    const size_t rel = line.find_first_of("<>=");
    return {ReadTerms(line.substr(0, rel)), line[rel], mpq_class(line.substr(rel + 1))};
}

struct Typed {
    bool maximize = true;
    std::map<std::string, mpq_class> objective;
    std::vector<TypedRow> rows;  // sign lines included
    std::vector<std::string> integers;
};

Typed ReadExercise(const ProblemText& text) {
    Typed t;
    t.maximize = text.comboIndex == 1;
    t.objective = ReadTerms(text.objective);
    for (const std::string& line : text.lines) {
        if (line.rfind("entero: ", 0) == 0) {
            std::string name;
            for (char c : line.substr(8) + ",")
                if (c == ',') t.integers.push_back(name), name.clear();
                else if (c != ' ') name += c;
        } else {
            t.rows.push_back(ReadRow(line));
        }
    }
    return t;
}

std::vector<LpTerm> LpTerms(const std::map<std::string, mpq_class>& terms) {
    std::vector<LpTerm> out;
    for (const auto& [name, c] : terms)
        if (c != 0) out.push_back({c.get_d(), name});
    return out;
}

LpModel LpOf(const Typed& t) {
    LpModel m;
    m.maximize = t.maximize;
    m.objective = LpTerms(t.objective);
    for (const TypedRow& r : t.rows) m.rows.push_back({LpTerms(r.terms), r.rel, r.rhs.get_d()});
    return m;
}

// glpsol as a MIP solver: the same text with the integer variables named.
LpAnswer SolveMip(const LpModel& m, const std::vector<std::string>& integers) {
    std::string lp = LpText(m);
    std::string general = "Generals\n";
    for (const std::string& v : integers) general += " " + LpName(v) + "\n";
    lp.insert(lp.rfind("End\n"), general);
    return ParseAnswer(RunGlpsol(lp, "").output);
}

double Num(const std::string& text) { return mpq_class(text).get_d(); }

// The range one variable takes over the optimal face, by glpsol.
std::pair<double, double> RangeOnOptimalFace(LpModel m, double optimum, const std::string& var) {
    m.rows.push_back({m.objective, m.maximize ? '>' : '<', optimum + (m.maximize ? -1e-9 : 1e-9)});
    m.objective = {{1.0, var}};
    m.maximize = false;
    const LpAnswer low = SolveWithGlpk(m);
    m.maximize = true;
    const LpAnswer high = SolveWithGlpk(m);
    EXPECT_EQ(low.status, LpStatus::Optimal) << low.raw;
    EXPECT_EQ(high.status, LpStatus::Optimal) << high.raw;
    return {low.objective, high.objective};
}

bool AlternativeOptimaByGlpk(const LpModel& m, double optimum, const Typed& t) {
    std::set<std::string> names;
    for (const TypedRow& r : t.rows)
        for (const auto& [name, c] : r.terms) names.insert(name);
    for (const std::string& name : names) {
        const auto [low, high] = RangeOnOptimalFace(m, optimum, name);
        if (high - low > 1e-4) return true;
    }
    return false;
}

// --- The engine's paths, walked here: every tableau of both rules.

struct Walked {
    bool small = true;
    bool degenerate = false;
    SolveStage stage = SolveStage::Building;
    int pivots = 0;
};

Walked Walk(const ProblemText& text, PivotRule rule) {
    ProblemState s;
    s.Exact = true;
    s.Rule = rule;
    BuildReport report;
    BuildProblem(s, text, report);
    EXPECT_EQ(report.errorPanel, "") << text.objective;
    Walked w;
    for (;;) {
        const MatrixQ& t = s.ExactTableau;
        for (uint32_t i = 1; i <= t.rows; ++i)
            for (uint32_t j = 1; j <= t.cols; ++j) {
                const mpq_class& v = t.Index(i, j);
                w.small = w.small && v.get_den() <= 12 && abs(v) <= 100;
                if (i < t.rows && j == t.cols && v == 0) w.degenerate = true;
            }
        if (s.Stage != SolveStage::Choosing || w.pivots > 200) break;
        NextStep(s);
        ++w.pivots;
    }
    w.stage = s.Stage;
    return w;
}

// The branch and bound search with both rules reaches glpsol's integer
// optimum, every node's path within the small numbers.
void CheckSearches(const ProblemText& text, double optimum, const std::string& what) {
    ProblemModel model;
    BuildReport report;
    ASSERT_TRUE(ModelFromText(model, text, report, true)) << what;
    for (PivotRule rule : {PivotRule::LargestCoefficient, PivotRule::SmallestIndex}) {
        RandomGenerator random;
        const BranchResult search = BranchAndBound(text, model, random, rule, [] { return false; }, true);
        ASSERT_EQ(search.stage, SolveStage::Optimal) << what;
        EXPECT_NEAR(search.nodes[size_t(search.best - 1)].exactValue.get_d(), optimum, 1e-6) << what;
        for (const BranchNode& node : search.nodes)
            EXPECT_TRUE(Walk(NodeText(text, model, node.bounds), rule).small) << what << " node " << node.number;
    }
}

// The key's solution satisfies every line exactly and is worth the optimum.
void CheckKeyPoint(const Typed& t, const std::vector<std::pair<std::string, std::string>>& solution,
                   const std::string& optimum, const std::string& what) {
    std::map<std::string, mpq_class> x;
    for (const auto& [name, value] : solution) x[name] = mpq_class(value);
    const auto dot = [&](const std::map<std::string, mpq_class>& terms) {
        mpq_class s = 0;
        for (const auto& [name, c] : terms) s += c * x[name];
        return s;
    };
    for (const TypedRow& r : t.rows) {
        const mpq_class lhs = dot(r.terms);
        EXPECT_TRUE(r.rel == '<' ? lhs <= r.rhs : r.rel == '>' ? lhs >= r.rhs : lhs == r.rhs) << what;
    }
    EXPECT_EQ(dot(t.objective), mpq_class(optimum)) << what;
    for (const std::string& v : t.integers) EXPECT_EQ(x[v].get_den(), 1) << what;
}

std::string Describe(const ExerciseResult& r) { return ExerciseListing(r, true); }

// Fifty seeds, the sizes and the options spread over them.
ExerciseRequest RequestFor(ExerciseKind kind, uint64_t seed) {
    ExerciseRequest q;
    q.kind = kind;
    q.seed = seed;
    q.variables = uint32_t(2 + seed % 3);
    q.lines = uint32_t(2 + (seed / 3) % 4);
    q.maximize = seed % 2 == 0;
    q.greaterAndEqual = kind == ExerciseKind::Infeasible || seed % 4 >= 2;
    q.integer = kind == ExerciseKind::IntegerGap;
    return q;
}

class EveryKind : public ::testing::TestWithParam<ExerciseKind> {};

TEST_P(EveryKind, GlpsolAgreesAndThePathsKeepSmallNumbers) {
    if (!GlpsolAvailable()) GTEST_SKIP() << "glpsol is not installed";
    const ExerciseKind kind = GetParam();
    for (uint64_t seed = 1; seed <= 50; ++seed) {
        const ExerciseResult r = MakeExercise(RequestFor(kind, seed));
        ASSERT_TRUE(r.made) << r.refusal;
        const std::string what = Describe(r);
        const Typed t = ReadExercise(r.text);
        const LpModel lp = LpOf(t);
        const LpAnswer glpk = SolveWithGlpk(lp, true);
        for (PivotRule rule : {PivotRule::LargestCoefficient, PivotRule::SmallestIndex}) {
            const Walked w = Walk(r.text, rule);
            EXPECT_TRUE(w.small) << what;
            EXPECT_GT(w.pivots, 0) << what;
            if (kind == ExerciseKind::Degenerate) {
                EXPECT_TRUE(w.degenerate) << what;
            }
            if (kind == ExerciseKind::Unique) {
                EXPECT_FALSE(w.degenerate) << what;
            }
        }
        switch (kind) {
        case ExerciseKind::Unbounded:
            EXPECT_EQ(glpk.status, LpStatus::Unbounded) << what;
            EXPECT_EQ(r.status, "ilimitado");
            EXPECT_TRUE(r.solution.empty() && r.optimum.empty());
            continue;
        case ExerciseKind::Infeasible:
            EXPECT_EQ(glpk.status, LpStatus::Infeasible) << what;
            EXPECT_EQ(r.status, "no factible");
            EXPECT_TRUE(r.solution.empty() && r.optimum.empty());
            continue;
        default: break;
        }
        ASSERT_EQ(glpk.status, LpStatus::Optimal) << what;
        EXPECT_EQ(r.status, "óptimo");
        if (kind == ExerciseKind::IntegerGap) {
            EXPECT_NEAR(glpk.objective, Num(r.relaxationOptimum), 1e-7) << what;
            CheckKeyPoint(Typed{t.maximize, t.objective, t.rows, {}}, r.relaxationSolution, r.relaxationOptimum, what);
            const LpAnswer mip = SolveMip(lp, t.integers);
            ASSERT_EQ(mip.status, LpStatus::Optimal) << mip.raw << what;
            EXPECT_NEAR(mip.objective, Num(r.optimum), 1e-6) << what;
            EXPECT_GT(std::fabs(mip.objective - glpk.objective), 1e-6) << what;
            EXPECT_EQ(t.integers.size(), r.solution.size()) << what;
            CheckSearches(r.text, mip.objective, what);
        } else {
            EXPECT_NEAR(glpk.objective, Num(r.optimum), 1e-7) << what;
        }
        if (kind == ExerciseKind::Unique || kind == ExerciseKind::Alternative) {
            const bool alternative = AlternativeOptimaByGlpk(lp, Num(r.optimum), t);
            if (kind == ExerciseKind::Unique) {
                EXPECT_FALSE(alternative) << what;
            }
            if (kind == ExerciseKind::Alternative) {
                EXPECT_TRUE(alternative) << what;
                // The engine's second vertex: another point, as good.
                EXPECT_NE(r.otherSolution, r.solution) << what;
                CheckKeyPoint(t, r.otherSolution, r.optimum, what);
            } else {
                EXPECT_TRUE(r.otherSolution.empty()) << what;
            }
        }
        CheckKeyPoint(t, r.solution, r.optimum, what);
    }
}

INSTANTIATE_TEST_SUITE_P(Exercises, EveryKind, ::testing::ValuesIn(ExerciseKinds()),
                         [](const auto& info) { return ExerciseKindName(info.param); });

TEST(Exercises, KindsAreNamedBothWays) {
    struct Row {
        ExerciseKind kind;
        const char* name;
        const char* caption;
    };
    const std::vector<Row> rows = {
        {ExerciseKind::Unique, "unico", "óptimo único"},
        {ExerciseKind::Degenerate, "degenerado", "degenerado"},
        {ExerciseKind::Alternative, "alternativos", "óptimos alternativos"},
        {ExerciseKind::Unbounded, "ilimitado", "ilimitado"},
        {ExerciseKind::Infeasible, "infactible", "no factible"},
        {ExerciseKind::IntegerGap, "entero", "entero con hueco"},
    };
    ASSERT_EQ(ExerciseKinds().size(), rows.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        const Row& row = rows[k];
        EXPECT_EQ(ExerciseKinds()[k], row.kind);
        EXPECT_EQ(ExerciseKindName(row.kind), row.name);
        EXPECT_EQ(ExerciseKindCaption(row.kind), row.caption);
        EXPECT_EQ(ExerciseKindFromName(row.name), row.kind);
        EXPECT_EQ(ExerciseKindFromCaption(row.caption), row.kind);
    }
    for (const char* unknown : {"", "Unico", "único", "no factible ", "entero con hueco"})
        EXPECT_EQ(ExerciseKindFromName(unknown), std::nullopt) << unknown;
    EXPECT_EQ(ExerciseKindFromCaption("unico"), std::nullopt);
}

TEST(Exercises, RequestsItCannotMeetAreRefusedWithTheReason) {
    using K = ExerciseKind;
    struct Row {
        ExerciseRequest request;
        std::string refusal;
    };
    const std::string noSecond = "Un problema no factible necesita líneas «≥» o «=»: con solo líneas «≤» de lado "
                                 "derecho positivo el origen siempre es factible.";
    const std::vector<Row> rows = {
        {{K::Infeasible, 2, 3, true, false, false, 1}, noSecond},
        {{K::Infeasible, 4, 5, false, false, false, 9}, noSecond},
        {{K::Unique, 1, 3, true, false, false, 1}, "El número de variables debe estar entre 2 y 4."},
        {{K::Unique, 5, 3, true, false, false, 1}, "El número de variables debe estar entre 2 y 4."},
        {{K::Unbounded, 2, 1, true, false, false, 1}, "El número de líneas debe estar entre 2 y 5."},
        {{K::Unbounded, 2, 6, true, false, false, 1}, "El número de líneas debe estar entre 2 y 5."},
        {{K::IntegerGap, 2, 3, true, false, false, 1}, "El tipo «entero con hueco» necesita variables enteras."},
        {{K::Alternative, 2, 3, true, false, true, 1}, "Solo el tipo «entero con hueco» lleva variables enteras."},
    };
    for (const Row& row : rows) {
        const ExerciseResult r = MakeExercise(row.request);
        EXPECT_FALSE(r.made);
        EXPECT_EQ(r.refusal, row.refusal);
        EXPECT_EQ(ExerciseListing(r, true), "; " + row.refusal + "\n");
    }
    // The same requests within the limits are made.
    EXPECT_TRUE(MakeExercise({K::Infeasible, 2, 3, true, true, false, 1}).made);
    EXPECT_TRUE(MakeExercise({K::Unique, 2, 5, true, false, false, 1}).made);
    EXPECT_TRUE(MakeExercise({K::IntegerGap, 4, 2, true, false, true, 1}).made);
}

// The listing is what the program reads typed: its lines after the first
// two, comments included, build the very tableau of the exercise's text.
TEST(Exercises, TheListingReadsBackAsTheExercise) {
    for (ExerciseKind kind : ExerciseKinds()) {
        const ExerciseResult r = MakeExercise(RequestFor(kind, 11));
        ASSERT_TRUE(r.made) << r.refusal;
        const std::string listing = ExerciseListing(r, true);
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = listing.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(listing.substr(at, end - at));
        ASSERT_GT(lines.size(), 3u);
        EXPECT_EQ(lines[0], r.text.comboIndex == 1 ? "Maximizar" : "Minimizar");
        EXPECT_EQ(lines[1], r.text.objective);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "; clave"), lines.end());
        ProblemText typed{r.text.comboIndex, lines[1], {lines.begin() + 2, lines.end()}};
        ProblemState fromListing, fromText;
        BuildReport a, b;
        BuildProblem(fromListing, typed, a);
        BuildProblem(fromText, r.text, b);
        EXPECT_EQ(a.errorPanel, "");
        EXPECT_EQ(fromListing.Model.integers, fromText.Model.integers);
        ASSERT_EQ(fromListing.Tableau.rows, fromText.Tableau.rows);
        ASSERT_EQ(fromListing.Tableau.cols, fromText.Tableau.cols);
        for (uint32_t i = 1; i <= fromText.Tableau.rows; ++i)
            for (uint32_t j = 1; j <= fromText.Tableau.cols; ++j)
                EXPECT_EQ(fromListing.Tableau.Index(i, j), fromText.Tableau.Index(i, j));
        // Without the key, only the problem.
        EXPECT_EQ(ExerciseListing(r, false), listing.substr(0, listing.find("; clave\n")));
    }
}

TEST(Exercises, TheSeedAloneChoosesTheExercise) {
    for (ExerciseKind kind : ExerciseKinds()) {
        std::set<std::string> texts;
        for (uint64_t seed = 1; seed <= 20; ++seed) {
            const std::string once = ExerciseListing(MakeExercise(RequestFor(kind, seed)), true);
            EXPECT_EQ(once, ExerciseListing(MakeExercise(RequestFor(kind, seed)), true));
            texts.insert(once);
        }
        EXPECT_GE(texts.size(), 18u) << ExerciseKindName(kind);
    }
}

// The same seed gives the same exercise on every machine: these listings
// were made once and must never change.
TEST(Exercises, GoldenListingsOfSeedSeven) {
    const std::vector<std::pair<ExerciseKind, std::string>> golden = {
        {ExerciseKind::Unique,
         "Maximizar\n5x+9y+4z\nx+3y+2z<14\n2y+z<8\n2x+y<5\nx>0\ny>0\nz>0\n; clave\n; estado: óptimo\n"
         "; óptimo: 40\n; solución: x = 1, y = 3, z = 2\n"},
        {ExerciseKind::Degenerate,
         "Maximizar\n8x-2y+8z\n2y+3z<6\n3x+z<1\n2x+3z<3\nx>0\ny>0\nz>0\n; clave\n; estado: óptimo\n"
         "; óptimo: 8\n; solución: x = 0, y = 0, z = 1\n"},
        {ExerciseKind::Alternative,
         "Maximizar\n2x+8y+6z\nx+2y+z<11\n2x+y<9\n2y+2z<10\nx>0\ny>0\nz>0\n; clave\n; estado: óptimo\n"
         "; óptimo: 42\n; solución: x = 1, y = 5, z = 0\n; otra solución óptima: x = 3, y = 3, z = 2\n"},
        {ExerciseKind::Unbounded,
         "Maximizar\nx+2y+2z\n2x+2y-2z<5\n-x+2y-2z<7\n-2z<2\nx>0\ny>0\nz>0\n; clave\n; estado: ilimitado\n"},
        {ExerciseKind::Infeasible,
         "Maximizar\nx+y+5z\n2x+z<8\nx+2y+2z>3\n2x>11\nx>0\ny>0\nz>0\n; clave\n; estado: no factible\n"},
        {ExerciseKind::IntegerGap,
         "Maximizar\n4x+5y+5z\n4x+y+4z<10\n4x+3y+z<5\n2y<11\nx>0\ny>0\nz>0\nentero: x, y, z\n; clave\n"
         "; estado: óptimo\n; relajación lineal: óptimo 175/11 en x = 0, y = 10/11, z = 25/11\n"
         "; óptimo entero: 15\n; solución entera: x = 0, y = 1, z = 2\n"},
    };
    for (const auto& [kind, listing] : golden) {
        const bool infeasible = kind == ExerciseKind::Infeasible, integer = kind == ExerciseKind::IntegerGap;
        const ExerciseRequest q{kind, 3, 3, true, infeasible, integer, 7};
        EXPECT_EQ(ExerciseListing(MakeExercise(q), true), listing) << ExerciseKindName(kind);
    }
}

} // namespace
} // namespace optimara::testing
