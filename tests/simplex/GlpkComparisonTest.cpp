// The method against an independent solver: random small problems are built
// into tableaux by the reading rules, solved to the end, and compared with
// GLPK's glpsol on the same problem.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "Simplex.h"
#include "TableauHelpers.h"

using namespace optimara;

namespace {

struct Constraint {
    std::vector<double> a;
    char relation;  // '<', '>', '='
    double b;
};

struct RandomProblem {
    bool maximize;
    std::vector<double> cost;
    std::vector<bool> nonNegative;
    std::vector<Constraint> constraints;
};

enum class Verdict { Optimal, Infeasible, Unbounded, Unfinished };

struct Outcome {
    Verdict verdict;
    double objective = 0;
    std::vector<double> values;
};

double Coefficient(std::mt19937& rng) {
    if (rng() % 4 == 0) return 0.0;
    if (rng() % 3 == 0) return double(int(rng() % 61) - 30) / 10.0;  // one decimal
    return double(int(rng() % 11) - 5);
}

RandomProblem Generate(std::mt19937& rng, size_t minVars, size_t maxVars, size_t maxRows) {
    RandomProblem p;
    size_t n = minVars + rng() % (maxVars - minVars + 1), m = 1 + rng() % maxRows;
    p.maximize = rng() % 2;
    for (size_t j = 0; j < n; ++j) {
        p.cost.push_back(Coefficient(rng));
        p.nonNegative.push_back(rng() % 3 != 0);
    }
    for (size_t i = 0; i < m; ++i) {
        Constraint c;
        bool any = false;
        for (size_t j = 0; j < n; ++j) {
            c.a.push_back(Coefficient(rng));
            any = any || c.a.back() != 0;
        }
        if (!any) c.a[rng() % n] = 1;
        int r = rng() % 5;
        c.relation = r < 2 ? '<' : r < 4 ? '>' : '=';
        c.b = double(int(rng() % 21) - 5);
        p.constraints.push_back(c);
    }
    return p;
}

// Rows a.x - b <= 0 in order, the sign rows -x_j <= 0 removed into the
// sign marks, free variables split into two adjacent columns.
void BuildTableau(const RandomProblem& p, MatrixR& T, MatrixZ& labels, MatrixZ& signs) {
    std::vector<std::vector<double>> rows;
    for (const auto& c : p.constraints) {
        std::vector<double> row(c.a);
        row.push_back(-c.b);
        if (c.relation == '>')
            for (double& v : row) v = -v;
        rows.push_back(row);
        if (c.relation == '=') {
            for (double& v : row) v = -v;
            rows.push_back(row);
        }
    }
    std::vector<double> objective;
    for (double c : p.cost) objective.push_back(p.maximize ? c : -c);
    objective.push_back(0);
    rows.push_back(objective);
    // Expand columns of free variables.
    std::vector<std::vector<double>> split(rows.size());
    std::vector<int32_t> marks;
    for (size_t j = 0; j < p.cost.size(); ++j) {
        for (size_t i = 0; i < rows.size(); ++i) {
            split[i].push_back(rows[i][j]);
            if (!p.nonNegative[j]) split[i].push_back(-rows[i][j]);
        }
        marks.push_back(p.nonNegative[j] ? 1 : 0);
        if (!p.nonNegative[j]) marks.push_back(0);
    }
    for (size_t i = 0; i < rows.size(); ++i) split[i].push_back(rows[i].back());
    optimara::testing::SetRows(T, split);
    optimara::testing::SetColumn(signs, marks);
    labels.Redefine(T.rows - 1 + T.cols - 1, 1);
    for (uint32_t k = 1; k <= labels.rows; ++k) labels.Index(k, 1) = int32_t(k);
}

void Snap(MatrixR& T) {
    for (uint32_t i = 1; i <= T.rows; ++i)
        for (uint32_t j = 1; j <= T.cols; ++j)
            if (-1e-15 < T.Index(i, j) && T.Index(i, j) < 1e-15) T.Index(i, j) = 0.0;
}

Outcome SolveWithMethod(const RandomProblem& p, RandomGenerator& random) {
    MatrixR T(1, 1);
    MatrixZ labels(1, 1), signs(1, 1), marks(1, 1);
    int32_t count = 0;
    BuildTableau(p, T, labels, signs);
    int32_t status = SelectPivot(T, marks, count, random);
    for (int steps = 0; status == PivotChosen; ++steps) {
        if (steps == 500) return {Verdict::Unfinished, 0, {}};
        PivotStep(T, marks, count, labels);
        Snap(T);
        status = SelectPivot(T, marks, count, random);
    }
    if (status == Infeasible) return {Verdict::Infeasible, 0, {}};
    if (status == Unbounded) return {Verdict::Unbounded, 0, {}};
    auto reading = ReadSolution(T, labels, signs, p.maximize);
    return {Verdict::Optimal, reading.objective, reading.values};
}

std::string Term(double v, size_t j) {
    std::ostringstream s;
    s.precision(17);
    s << (v < 0 ? " - " : " + ") << std::fabs(v) << " x" << j + 1;
    return s.str();
}

Outcome SolveWithGlpk(const RandomProblem& p, const std::filesystem::path& dir) {
    auto lp = dir / "p.lp", out = dir / "p.out";
    {
        std::ofstream f(lp);
        f << (p.maximize ? "Maximize\n obj:" : "Minimize\n obj:");
        for (size_t j = 0; j < p.cost.size(); ++j) f << Term(p.cost[j], j);
        f << "\nSubject To\n";
        for (size_t i = 0; i < p.constraints.size(); ++i) {
            const auto& c = p.constraints[i];
            f << " c" << i + 1 << ":";
            for (size_t j = 0; j < c.a.size(); ++j)
                if (c.a[j] != 0) f << Term(c.a[j], j);
            f << (c.relation == '<' ? " <= " : c.relation == '>' ? " >= " : " = ") << c.b << "\n";
        }
        f << "Bounds\n";
        for (size_t j = 0; j < p.cost.size(); ++j)
            f << " x" << j + 1 << (p.nonNegative[j] ? " >= 0\n" : " free\n");
        f << "End\n";
    }
    std::string command = "glpsol --nopresol --lp " + lp.string() + " -o " + out.string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) ADD_FAILURE() << "glpsol failed on " << lp;
    std::ifstream r(out);
    std::string line;
    Outcome o{Verdict::Unfinished, 0, {}};
    while (std::getline(r, line)) {
        if (line.rfind("Status:", 0) == 0) {
            if (line.find("OPTIMAL") != std::string::npos) o.verdict = Verdict::Optimal;
            else if (line.find("INFEASIBLE") != std::string::npos) o.verdict = Verdict::Infeasible;
            else if (line.find("UNBOUNDED") != std::string::npos) o.verdict = Verdict::Unbounded;
        } else if (line.rfind("Objective:", 0) == 0) {
            o.objective = std::strtod(line.substr(line.find('=') + 1).c_str(), nullptr);
        }
    }
    return o;
}

bool Satisfies(const RandomProblem& p, const std::vector<double>& x) {
    for (size_t j = 0; j < x.size(); ++j)
        if (p.nonNegative[j] && x[j] < -1e-9) return false;
    for (const auto& c : p.constraints) {
        double lhs = 0;
        for (size_t j = 0; j < x.size(); ++j) lhs += c.a[j] * x[j];
        double slack = 1e-7 * (1 + std::fabs(c.b));
        if (c.relation != '>' && lhs > c.b + slack) return false;
        if (c.relation != '<' && lhs < c.b - slack) return false;
    }
    return true;
}

const char* Name(Verdict v) {
    switch (v) {
    case Verdict::Optimal: return "optimal";
    case Verdict::Infeasible: return "infeasible";
    case Verdict::Unbounded: return "unbounded";
    default: return "unfinished";
    }
}

struct Tally {
    int seen[4] = {0, 0, 0, 0};
};

Tally CompareRandomProblems(int trials, size_t minVars, size_t maxVars, size_t maxRows, unsigned seed) {
    Tally tally;
    auto dir = std::filesystem::temp_directory_path() / ("optimara-glpk-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::mt19937 rng(seed);
    RandomGenerator random;
    for (int trial = 0; trial < trials; ++trial) {
        RandomProblem p = Generate(rng, minVars, maxVars, maxRows);
        Outcome ours = SolveWithMethod(p, random);
        Outcome theirs = SolveWithGlpk(p, dir);
        tally.seen[int(theirs.verdict)]++;
        SCOPED_TRACE("trial " + std::to_string(trial));
        if (ours.verdict == Verdict::Unfinished) {
            EXPECT_EQ(theirs.verdict, Verdict::Unbounded) << "cycling is accepted only on unbounded problems";
            continue;
        }
        EXPECT_EQ(Name(ours.verdict), std::string(Name(theirs.verdict)));
        if (ours.verdict == Verdict::Optimal && theirs.verdict == Verdict::Optimal) {
            EXPECT_NEAR(ours.objective, theirs.objective, 1e-6 * (1 + std::fabs(theirs.objective)));
            EXPECT_TRUE(Satisfies(p, ours.values));
        }
    }
    std::filesystem::remove_all(dir);
    return tally;
}

} // namespace

TEST(GlpkComparison, RandomSmallProblemsAgreeWithGlpsol) {
    ASSERT_EQ(std::system("command -v glpsol >/dev/null 2>&1"), 0)
        << "glpsol (Debian package glpk-utils) is needed for this comparison";
    Tally t = CompareRandomProblems(300, 2, 5, 5, 20261208);
    // The generator must exercise every outcome, or the comparison proves little.
    EXPECT_GT(t.seen[int(Verdict::Optimal)], 50);
    EXPECT_GT(t.seen[int(Verdict::Infeasible)], 10);
    EXPECT_GT(t.seen[int(Verdict::Unbounded)], 10);
}

// Larger problems are where round-off residue used to decide pivots.
TEST(GlpkComparison, LargerProblemsAgreeWithGlpsol) {
    ASSERT_EQ(std::system("command -v glpsol >/dev/null 2>&1"), 0)
        << "glpsol (Debian package glpk-utils) is needed for this comparison";
    Tally t = CompareRandomProblems(200, 6, 13, 12, 7);
    EXPECT_GT(t.seen[int(Verdict::Optimal)], 20);
}

