// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated problems, typed as a user would type them, solved the way the
// "Una Solución" button solves them (the solve driver over a host without a
// window) and judged against glpsol on the same programme.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BuildProblem.h"
#include "Driver.h"
#include "Fault.h"
#include "GlpkOracle.h"
#include "../ui/display/StatusTexts.h"

namespace optimara::testing {

inline constexpr int kCompareStepLimit = 5000;

struct TypedProblem {
    ProblemText text;
    LpModel model;
    bool exactJudge = false;  // glpsol's floating answer may be wrong here
};

// --- Typing: coefficients are decimal texts, read back for the model.

// units / 10^places as typed text, e.g. (-125, 2) -> "-1.25".
inline std::string DecimalText(int64_t units, int places) {
    std::string digits = std::to_string(units < 0 ? -units : units);
    if (places > 0) {
        if (digits.size() <= size_t(places)) digits.insert(0, size_t(places) + 1 - digits.size(), '0');
        digits.insert(digits.size() - size_t(places), ".");
    }
    return (units < 0 ? "-" : "") + digits;
}

// units * 10^exponent as typed text (no exponent notation in the language).
inline std::string ScaledText(int64_t units, int exponent) {
    if (exponent >= 0) return DecimalText(units, 0) + std::string(size_t(exponent), '0');
    return DecimalText(units, -exponent);
}

class ProblemTypist {
public:
    explicit ProblemTypist(bool maximize) {
        p_.text.comboIndex = maximize ? 1 : 0;
        p_.model.maximize = maximize;
    }
    using Terms = std::vector<std::pair<std::string, std::string>>;  // (coefficient text, name)

    void Objective(const Terms& terms) { p_.text.objective = Side(terms, p_.model.objective); }
    void Line(const Terms& terms, char rel, const std::string& rhs) {
        LpRow row{{}, rel, std::strtod(rhs.c_str(), nullptr)};
        const std::string left = Side(terms, row.terms);
        if (row.terms.empty()) return;  // every coefficient was 0
        p_.text.lines.push_back(left + rel + rhs);
        p_.model.rows.push_back(row);
    }
    void NonNegative(const std::string& name) { Line({{"1", name}}, '>', "0"); }
    TypedProblem Done(bool exactJudge = false) {
        p_.exactJudge = exactJudge;
        return p_;
    }

private:
    static std::string Side(const Terms& terms, std::vector<LpTerm>& out) {
        std::string s;
        for (const auto& [coef, name] : terms) {
            const double v = std::strtod(coef.c_str(), nullptr);
            if (v == 0) continue;
            if (!s.empty() && coef[0] != '-') s += '+';
            s += (coef == "1" ? "" : coef == "-1" ? "-" : coef) + name;
            out.push_back({v, name});
        }
        return s;
    }
    TypedProblem p_;
};

inline std::string VarName(int k) { return "x" + std::to_string(k); }

// --- The families.

struct Family {
    const char* name;
    TypedProblem (*make)(std::mt19937& rng);
};

inline int Draw(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
inline bool Chance(std::mt19937& rng, double p) { return std::bernoulli_distribution(p)(rng); }
inline char Relation(std::mt19937& rng, double equal) {
    if (Chance(rng, equal)) return '=';
    return Chance(rng, 0.5) ? '<' : '>';
}

// Random integer problem data, shared by the families that type it.
struct IntegerData {
    int n = 0;
    std::vector<int> cost;
    std::vector<std::vector<int>> a;
    std::vector<int> b;
    std::vector<char> rel;
    std::vector<bool> nonNegative;
};

inline IntegerData RandomIntegers(std::mt19937& rng, int maxVars, int maxRows, double nonNegative) {
    IntegerData d;
    d.n = Draw(rng, 2, maxVars);
    for (int j = 0; j < d.n; ++j) {
        d.cost.push_back(Chance(rng, 0.2) ? 0 : Draw(rng, -5, 5));
        d.nonNegative.push_back(Chance(rng, nonNegative));
    }
    if (d.cost[0] == 0) d.cost[0] = Draw(rng, 1, 5);
    const int m = Draw(rng, 1, maxRows);
    for (int i = 0; i < m; ++i) {
        std::vector<int> row;
        for (int j = 0; j < d.n; ++j) row.push_back(Chance(rng, 0.25) ? 0 : Draw(rng, -5, 5));
        if (std::count(row.begin(), row.end(), 0) == d.n) row[size_t(Draw(rng, 0, d.n - 1))] = Draw(rng, 1, 5);
        d.a.push_back(row);
        d.b.push_back(Draw(rng, -5, 10));
        d.rel.push_back(Relation(rng, 0.2));
    }
    return d;
}

// Types the data with row i scaled by 10^rowExp[i] and column j by
// 10^colExp[j] (x_j = 10^colExp[j] x'_j): the same problem in other units.
inline TypedProblem TypeIntegers(const IntegerData& d, bool maximize, const std::vector<int>& rowExp,
                                 const std::vector<int>& colExp, bool exactJudge) {
    ProblemTypist t(maximize);
    ProblemTypist::Terms objective;
    for (int j = 0; j < d.n; ++j) objective.push_back({ScaledText(d.cost[size_t(j)], colExp[size_t(j)]), VarName(j + 1)});
    t.Objective(objective);
    for (size_t i = 0; i < d.a.size(); ++i) {
        ProblemTypist::Terms terms;
        for (int j = 0; j < d.n; ++j)
            terms.push_back({ScaledText(d.a[i][size_t(j)], rowExp[i] + colExp[size_t(j)]), VarName(j + 1)});
        t.Line(terms, d.rel[i], ScaledText(d.b[i], rowExp[i]));
    }
    for (int j = 0; j < d.n; ++j)
        if (d.nonNegative[size_t(j)]) t.NonNegative(VarName(j + 1));
    return t.Done(exactJudge);
}

inline TypedProblem SmallIntegers(std::mt19937& rng) {
    const IntegerData d = RandomIntegers(rng, 5, 6, 0.5);
    return TypeIntegers(d, Chance(rng, 0.5), std::vector<int>(d.a.size(), 0), std::vector<int>(size_t(d.n), 0), false);
}

inline TypedProblem BadlyScaled(std::mt19937& rng) {
    const IntegerData d = RandomIntegers(rng, 4, 5, 0.7);
    std::vector<int> rowExp, colExp;
    for (size_t i = 0; i < d.a.size(); ++i) rowExp.push_back(Draw(rng, -3, 3));
    for (int j = 0; j < d.n; ++j) colExp.push_back(Draw(rng, -3, 3));
    return TypeIntegers(d, Chance(rng, 0.5), rowExp, colExp, true);
}

inline TypedProblem Decimals(std::mt19937& rng) {
    const int n = Draw(rng, 2, 5), m = Draw(rng, 2, 6);
    auto number = [&](int range) { return DecimalText(Draw(rng, -range, range), Draw(rng, 1, 2)); };
    ProblemTypist t(Chance(rng, 0.5));
    ProblemTypist::Terms objective;
    for (int j = 1; j <= n; ++j) objective.push_back({number(999), VarName(j)});
    objective[0].first = DecimalText(Draw(rng, 1, 99), 1);
    t.Objective(objective);
    for (int i = 0; i < m; ++i) {
        ProblemTypist::Terms terms;
        for (int j = 1; j <= n; ++j)
            if (Chance(rng, 0.75)) terms.push_back({number(999), VarName(j)});
        if (terms.empty()) terms.push_back({DecimalText(Draw(rng, 1, 99), 2), VarName(Draw(rng, 1, n))});
        t.Line(terms, Relation(rng, 0.15), DecimalText(Draw(rng, -500, 2000), Draw(rng, 1, 2)));
    }
    for (int j = 1; j <= n; ++j)
        if (Chance(rng, 0.8)) t.NonNegative(VarName(j));
    return t.Done();
}

// Rows through one vertex, zero right-hand sides and repeated rows.
inline TypedProblem Degenerate(std::mt19937& rng) {
    const int n = Draw(rng, 2, 4);
    std::vector<int> vertex;
    for (int j = 0; j < n; ++j) vertex.push_back(Chance(rng, 0.3) ? 0 : Draw(rng, 0, 3));
    ProblemTypist t(Chance(rng, 0.5));
    ProblemTypist::Terms objective;
    for (int j = 1; j <= n; ++j) objective.push_back({std::to_string(Draw(rng, -4, 4)), VarName(j)});
    if (objective[0].first == "0") objective[0].first = "1";
    t.Objective(objective);
    std::vector<std::pair<ProblemTypist::Terms, std::string>> rows;
    const int m = Draw(rng, n, n + 4);
    for (int i = 0; i < m; ++i) {
        std::vector<int> a;
        for (int j = 0; j < n; ++j) a.push_back(Draw(rng, -3, 3));
        if (a[0] == 0) a[0] = 1;
        // Through the vertex, or through the origin (a zero right-hand side).
        const bool throughVertex = Chance(rng, 0.7);
        ProblemTypist::Terms terms;
        int rhs = 0;
        for (int j = 0; j < n; ++j) {
            terms.push_back({std::to_string(a[size_t(j)]), VarName(j + 1)});
            rhs += throughVertex ? a[size_t(j)] * vertex[size_t(j)] : 0;
        }
        rows.push_back({terms, std::to_string(rhs)});
        if (Chance(rng, 0.25)) rows.push_back(rows.back());  // a repeated row
    }
    // Mostly a bounded region: the sum of the variables, also through the vertex.
    if (Chance(rng, 0.7)) {
        ProblemTypist::Terms sum;
        int total = 0;
        for (int j = 0; j < n; ++j) {
            sum.push_back({"1", VarName(j + 1)});
            total += vertex[size_t(j)];
        }
        rows.push_back({sum, std::to_string(total)});
    }
    for (const auto& [terms, rhs] : rows) t.Line(terms, Chance(rng, 0.8) ? '<' : '>', rhs);
    for (int j = 1; j <= n; ++j)
        if (Chance(rng, 0.9)) t.NonNegative(VarName(j));
    return t.Done();
}

// Mostly equalities through a known point, some redundant (sums of others),
// some contradicting another.
inline TypedProblem Equalities(std::mt19937& rng) {
    const int n = Draw(rng, 3, 6);
    std::vector<int> point;
    for (int j = 0; j < n; ++j) point.push_back(Draw(rng, 0, 4));
    std::vector<std::vector<int>> a;
    std::vector<int> b;
    const int m = Draw(rng, 2, n);
    for (int i = 0; i < m; ++i) {
        std::vector<int> row;
        int rhs = 0;
        for (int j = 0; j < n; ++j) {
            row.push_back(Chance(rng, 0.3) ? 0 : Draw(rng, -3, 3));
            rhs += row.back() * point[size_t(j)];
        }
        a.push_back(row);
        b.push_back(rhs);
    }
    if (Chance(rng, 0.5)) {  // redundant: the sum of two rows
        std::vector<int> row(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) row[size_t(j)] = a[0][size_t(j)] + a[1][size_t(j)];
        a.push_back(row);
        b.push_back(b[0] + b[1]);
    }
    if (Chance(rng, 0.2)) {  // contradictory: the same left side, another right side
        a.push_back(a[0]);
        b.push_back(b[0] + Draw(rng, 1, 3));
    }
    ProblemTypist t(Chance(rng, 0.5));
    ProblemTypist::Terms objective;
    for (int j = 1; j <= n; ++j) objective.push_back({std::to_string(Draw(rng, -5, 5)), VarName(j)});
    if (objective[0].first == "0") objective[0].first = "2";
    t.Objective(objective);
    for (size_t i = 0; i < a.size(); ++i) {
        ProblemTypist::Terms terms;
        for (int j = 0; j < n; ++j) terms.push_back({std::to_string(a[i][size_t(j)]), VarName(j + 1)});
        t.Line(terms, Chance(rng, 0.85) ? '=' : '<', std::to_string(b[i]));
    }
    for (int j = 1; j <= n; ++j) {
        if (Chance(rng, 0.8)) t.NonNegative(VarName(j));
        if (Chance(rng, 0.3)) t.Line({{"1", VarName(j)}}, '<', std::to_string(Draw(rng, 2, 8)));
    }
    return t.Done();
}

// Transportation (supplies <=, demands >= or =) and assignment, up to 8 x 8.
inline TypedProblem Transportation(std::mt19937& rng) {
    const bool assignment = Chance(rng, 0.4);
    const int k = Draw(rng, 2, 8), l = assignment ? k : Draw(rng, 2, 8);
    auto name = [](int i, int j) { return "x" + std::to_string(i) + "_" + std::to_string(j); };
    ProblemTypist t(false);
    ProblemTypist::Terms objective;
    for (int i = 1; i <= k; ++i)
        for (int j = 1; j <= l; ++j) objective.push_back({std::to_string(Draw(rng, 1, 20)), name(i, j)});
    t.Objective(objective);
    std::vector<int> supply, demand;
    int total = 0;
    for (int i = 0; i < k; ++i) total += supply.emplace_back(assignment ? 1 : Draw(rng, 5, 30));
    int left = Chance(rng, 0.1) ? total + Draw(rng, 1, 10) : total - (Chance(rng, 0.5) ? 0 : Draw(rng, 0, total / 4));
    if (assignment) left = k;
    for (int j = 0; j < l; ++j) {
        const int d = assignment ? 1 : j == l - 1 ? left : std::min(left, Draw(rng, 0, 2 * left / (l - j)));
        demand.push_back(d);
        left -= d;
    }
    for (int i = 1; i <= k; ++i) {
        ProblemTypist::Terms terms;
        for (int j = 1; j <= l; ++j) terms.push_back({"1", name(i, j)});
        t.Line(terms, assignment ? '=' : '<', std::to_string(supply[size_t(i - 1)]));
    }
    for (int j = 1; j <= l; ++j) {
        ProblemTypist::Terms terms;
        for (int i = 1; i <= k; ++i) terms.push_back({"1", name(i, j)});
        t.Line(terms, assignment || Chance(rng, 0.5) ? '=' : '>', std::to_string(demand[size_t(j - 1)]));
    }
    for (int i = 1; i <= k; ++i)
        for (int j = 1; j <= l; ++j) t.NonNegative(name(i, j));
    return t.Done();
}

// The cube of Klee and Minty in n = 2..10 dimensions, with its rows in a
// random order and each multiplied by a small positive integer.
inline TypedProblem KleeMinty(std::mt19937& rng) {
    const int n = Draw(rng, 2, 10);
    ProblemTypist t(true);
    ProblemTypist::Terms objective;
    for (int j = 1; j <= n; ++j) objective.push_back({std::to_string(int64_t(1) << (n - j)), VarName(j)});
    t.Objective(objective);
    std::vector<int> order;
    for (int i = 1; i <= n; ++i) order.push_back(i);
    std::shuffle(order.begin(), order.end(), rng);
    for (int i : order) {
        const int64_t factor = Draw(rng, 1, 3);
        ProblemTypist::Terms terms;
        for (int j = 1; j < i; ++j) terms.push_back({std::to_string(factor * (int64_t(1) << (i - j + 1))), VarName(j)});
        terms.push_back({std::to_string(factor), VarName(i)});
        int64_t rhs = factor;
        for (int p = 0; p < i; ++p) rhs *= 5;
        t.Line(terms, '<', std::to_string(rhs));
    }
    for (int j = 1; j <= n; ++j) t.NonNegative(VarName(j));
    return t.Done(true);
}

inline const std::vector<Family>& Families() {
    static const std::vector<Family> families = {
        {"small integers, free variables", SmallIntegers},
        {"one and two decimals", Decimals},
        {"degenerate", Degenerate},
        {"mostly equalities", Equalities},
        {"transportation and assignment", Transportation},
        {"Klee-Minty", KleeMinty},
        {"badly scaled", BadlyScaled},
    };
    return families;
}

// --- Solving through the solve driver.

// What the window does, without a window: the build calls BuildProblem, the
// display is unseen (it shows nothing that changes the state), the restart
// question answers Yes until kCompareStepLimit steps. Each display checks
// what a teacher relies on: once every constraint row is feasible, no step
// makes one infeasible and the objective row's value never gets worse.
class HeadlessHost : public SolveHost {
public:
    ProblemState state;
    ProblemText text;
    std::string errorPanel, statusPanel;
    int steps = 0;            // calls of the one-step button, the build included
    int invariantBreaks = 0;

    EngineState& Engine() override { return state; }
    std::string ErrorPanel() const override { return errorPanel; }
    void SetErrorPanel(const std::string& t) override { errorPanel = t; }
    void ShowStage() override { statusPanel = StatusPanelText(state.Stage, state.AtBuild); }
    void ClearNames() override { state.Names.clear(); }
    void BuildProblem() override {
        BuildReport report;
        optimara::BuildProblem(state, text, report);
        errorPanel = report.errorPanel;
        ShowStage();
        feasible_ = false;
    }
    void ClearPicture() override {}
    void DrawPlot() override {}
    void ShowTableau() override {
        ++steps;
        if (errorPanel.empty()) CheckInvariant();
    }
    bool AskRestart() override { return steps < kCompareStepLimit; }

private:
    void CheckInvariant() {
        const MatrixR& T = state.Tableau;
        if (UsesArtificials(state.Method)) return CheckArtificialInvariant();
        const uint32_t m = T.rows - 1, n = T.cols - 1;
        bool feasible = true;
        for (uint32_t i = 1; i <= m; ++i) {
            double scale = 0.0;
            for (uint32_t j = 1; j <= n; ++j) scale = std::max(scale, std::fabs(T.Index(i, j)));
            if (T.Index(i, n + 1) > 1e-7 * scale) feasible = false;
        }
        const double z = T.Index(m + 1, n + 1);
        if (feasible_ && (!feasible || z < z_ - 1e-9 * (1.0 + std::fabs(z_)))) ++invariantBreaks;
        feasible_ = feasible;
        z_ = z;
    }
    // The artificial methods keep every row feasible; phase 1 never lets w
    // grow, phase 2 never lets z fall, big M never lets the penalised
    // objective fall (its M part first).
    void CheckArtificialInvariant() {
        const MatrixR& T = state.Tableau;
        const uint32_t m = ConstraintRows(state), n = T.cols - 1;
        bool feasible = true;
        for (uint32_t i = 1; i <= m; ++i) {
            double scale = 1.0;
            for (uint32_t j = 1; j <= n; ++j) scale = std::max(scale, std::fabs(T.Index(i, j)));
            if (T.Index(i, n + 1) > 1e-7 * scale) feasible = false;
        }
        const bool phaseOne = state.Method == SolveMethod::TwoPhases && state.Artificials.phase == 1;
        const double key = phaseOne ? T.Index(m + 1, n + 1) : T.Index(T.rows, n + 1);
        const double penalty = state.Method == SolveMethod::BigM ? T.Index(m + 1, n + 1) : 0.0;
        const auto worse = [](double now, double before) { return now < before - 1e-9 * (1.0 + std::fabs(before)); };
        if (!feasible) ++invariantBreaks;
        else if (feasible_ && phase_ == phaseOne) {
            if (worse(penalty, penalty_) || (penalty <= penalty_ + 1e-9 * (1.0 + std::fabs(penalty_)) && worse(key, z_)))
                ++invariantBreaks;
        }
        feasible_ = feasible;
        phase_ = phaseOne;
        z_ = key;
        penalty_ = penalty;
    }
    bool feasible_ = false;
    bool phase_ = false;
    double z_ = 0.0, penalty_ = 0.0;
};

struct CompareResult {
    LpStatus ours = LpStatus::Unknown;
    LpStatus glpk = LpStatus::Unknown;
    int pivots = 0;
    std::string failure;  // empty when the run agrees in every respect
};

inline LpStatus StatusOfPanel(const std::string& panel) {
    if (panel == "vale" || panel == "Hecho") return LpStatus::Optimal;
    if (panel == "no factible" || panel == "No factible") return LpStatus::Infeasible;
    if (panel == "ilimitado" || panel == "Ilimitado") return LpStatus::Unbounded;
    return LpStatus::Unknown;
}

inline const char* StatusName(LpStatus s) {
    switch (s) {
    case LpStatus::Optimal: return "optimal";
    case LpStatus::Infeasible: return "infeasible";
    case LpStatus::Unbounded: return "unbounded";
    default: return "unknown";
    }
}

// The reported point must satisfy every typed line.
inline std::string CheckPoint(const LpModel& model, const ProblemState& state, const SolutionReading& reading) {
    std::map<std::string, double> value;
    for (size_t k = 0; k < reading.places.size(); ++k)
        value[LpName(state.Names.at(reading.places[k].column - 1))] = reading.values[k];
    for (const LpRow& row : model.rows) {
        double lhs = 0.0, scale = 1.0 + std::fabs(row.rhs);
        for (const LpTerm& t : row.terms) {
            lhs += t.coef * value.at(LpName(t.var));
            scale += std::fabs(t.coef * value.at(LpName(t.var)));
        }
        const double slack = 1e-7 * scale;
        if ((row.rel != '>' && lhs > row.rhs + slack) || (row.rel != '<' && lhs < row.rhs - slack))
            return "the point breaks a line (lhs " + std::to_string(lhs) + ", rhs " + std::to_string(row.rhs) + ")";
    }
    return "";
}

// Solves one typed problem with "Una Solución" and with glpsol and says
// where they differ. `random` carries the pivot generator from run to run,
// as the window's does; `rule` is the pivot rule of every choice.
inline CompareResult CompareOne(const TypedProblem& p, RandomGenerator& random, PivotRule rule = PivotRule::Random,
                                SolveMethod method = SolveMethod::Compact, bool exact = false) {
    CompareResult r;
    HeadlessHost host;
    host.text = p.text;
    host.state.BuildMethod = method;
    host.state.Exact = exact;
    host.state.Random = random;
    host.state.Rule = rule;
    host.state.Method = method;
    try {
        Button1Click(host);
    } catch (const FloatingPointFault& fault) {
        r.failure = std::string("fault: ") + fault.what();
    }
    random = host.state.Random;
    r.pivots = std::max(0, host.steps - 1);
    if (!r.failure.empty()) return r;
    if (!host.errorPanel.empty()) return r.failure = "build error: " + host.errorPanel, r;
    r.ours = StatusOfPanel(host.statusPanel);
    if (r.ours == LpStatus::Unknown) return r.failure = "unfinished after " + std::to_string(host.steps) + " steps", r;
    if (host.invariantBreaks > 0) return r.failure = "a step left the feasible region or lost value", r;

    const SolutionReading reading = ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks,
                                                 p.text.comboIndex == 1);
    auto judge = [&](const LpAnswer& glpk) -> std::string {
        r.glpk = glpk.status;
        if (r.glpk != r.ours) return std::string("verdict ") + StatusName(r.ours) + ", glpsol " + StatusName(r.glpk);
        if (r.ours != LpStatus::Optimal) return "";
        if (std::fabs(reading.objective - glpk.objective) > 1e-6 * std::max(1.0, std::fabs(glpk.objective)))
            return "optimum " + std::to_string(reading.objective) + ", glpsol " + std::to_string(glpk.objective);
        return CheckPoint(p.model, host.state, reading);
    };
    r.failure = judge(SolveWithGlpk(p.model, p.exactJudge));
    // glpsol's floating answer may itself be wrong: exact arithmetic settles it.
    if (!r.failure.empty() && !p.exactJudge) r.failure = judge(SolveWithGlpk(p.model, true));
    return r;
}

// The text of a problem, for a failure message.
inline std::string Describe(const TypedProblem& p) {
    std::string s = (p.text.comboIndex == 1 ? "Maximizar " : "Minimizar ") + p.text.objective;
    for (const std::string& line : p.text.lines) s += " | " + line;
    return s;
}

} // namespace optimara::testing
