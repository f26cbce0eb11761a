// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a large typed problem: 200 variables, 200 constraint lines with
// every variable in every line, so every term is scanned and the tableau
// grows one row and one column at a time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "BranchAndBound.h"
#include "LpExport.h"
#include "ModelImport.h"
#include "BuildProblem.h"
#include "Sensitivity.h"

namespace {

using namespace optimara;

constexpr int kVariables = 200;
constexpr int kLines = 200;

std::string Coefficient(int i, int j) {
    const int tenths = (i * 31 + j * 17) % 97 + 1;
    const char* sign = (i + j) % 3 == 0 ? "-" : (j == 1 ? "" : "+");
    return std::string(sign) + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

ProblemText LargeProblem(bool nonNegative) {
    ProblemText text;
    text.comboIndex = 1;
    for (int j = 1; j <= kVariables; ++j) text.objective += Coefficient(0, j) + "x" + std::to_string(j);
    const char relations[] = {'<', '>', '<', '='};
    for (int i = 1; i <= kLines; ++i) {
        std::string line;
        for (int j = 1; j <= kVariables; ++j) line += Coefficient(i, j) + "x" + std::to_string(j) + " ";
        line += relations[i % 4] + std::to_string(100 + i);
        text.lines.push_back(line);
    }
    if (nonNegative) {
        std::string signs;
        for (int j = 1; j <= kVariables; ++j) signs += (j > 1 ? "," : "") + std::string("x") + std::to_string(j);
        text.lines.push_back(signs + ">0");
    }
    return text;
}

// A fresh state each time: the tableau's storage grows from 1x1, as in
// the first build of a session.
void BM_BuildProblemFresh(benchmark::State& bench, bool nonNegative) {
    const ProblemText text = LargeProblem(nonNegative);
    for (auto _ : bench) {
        ProblemState state;
        BuildReport report;
        BuildProblem(state, text, report);
        if (!report.errorPanel.empty()) bench.SkipWithError(report.errorPanel.c_str());
        benchmark::DoNotOptimize(state.Tableau.rows);
    }
}

// The same state rebuilt, as every press of a solve button does.
void BM_BuildProblemRebuild(benchmark::State& bench, bool nonNegative) {
    const ProblemText text = LargeProblem(nonNegative);
    ProblemState state;
    for (auto _ : bench) {
        state.Names.clear();
        BuildReport report;
        BuildProblem(state, text, report);
        if (!report.errorPanel.empty()) bench.SkipWithError(report.errorPanel.c_str());
        benchmark::DoNotOptimize(state.Tableau.rows);
    }
}

BENCHMARK_CAPTURE(BM_BuildProblemFresh, free_variables, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildProblemFresh, non_negative, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildProblemRebuild, free_variables, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BuildProblemRebuild, non_negative, true)->Unit(benchmark::kMillisecond);

// A 100 x 100 problem solved to its optimum, then read for its sensitivity:
// every line's price and range, every variable's reduced cost and cost
// range, and the dual problem's text.
void SolveSquare(ProblemState& state, int size) {
    ProblemText text;
    text.comboIndex = 1;
    std::string signs;
    for (int j = 1; j <= size; ++j) {
        text.objective += "+" + std::to_string(1 + (j * 7) % 13) + "x" + std::to_string(j);
        signs += (j > 1 ? "," : "") + std::string("x") + std::to_string(j);
    }
    for (int i = 1; i <= size; ++i) {
        std::string line;
        for (int j = 1; j <= size; ++j) line += "+" + std::to_string(1 + (i * 31 + j * 17) % 19) + "x" + std::to_string(j);
        text.lines.push_back(line + "<" + std::to_string(1000 + 37 * i));
    }
    text.lines.push_back(signs + ">0");
    BuildReport report;
    BuildProblem(state, text, report);
    int32_t status = report.statusPanel.empty() ? PivotChosen : Optimal;
    while (status == PivotChosen) status = NextStep(state);
}

void BM_Sensitivity100x100(benchmark::State& bench) {
    ProblemState state;
    SolveSquare(state, 100);
    for (auto _ : bench) {
        const SensitivityReport report = AnalyseOptimum(state.Model, state.Tableau, state.Labels);
        const ProblemText dual = DualProblem(state.Model);
        benchmark::DoNotOptimize(report.lines.data());
        benchmark::DoNotOptimize(dual.lines.data());
    }
}

// What the window adds: the dual solved, to show its optimum beside the primal's.
void BM_SensitivityWithDualSolved100x100(benchmark::State& bench) {
    ProblemState state;
    SolveSquare(state, 100);
    for (auto _ : bench) {
        const SensitivityReport report = AnalyseOptimum(state.Model, state.Tableau, state.Labels);
        double optimum = 0;
        if (!SolveToOptimum(DualProblem(state.Model), optimum)) bench.SkipWithError("the dual did not solve");
        benchmark::DoNotOptimize(report.lines.data());
        benchmark::DoNotOptimize(optimum);
    }
}

// Minimise a positive cost over 100 variables and 100 dense lines, 50 of
// them ">" lines the origin breaks and 50 "<" lines with room: solved to
// its optimum from the text by the compact method, by two phases and by
// big M (each from a fresh state, so every run takes the same path).
ProblemText HalfCoveringProblem() {
    ProblemText text;
    text.comboIndex = 0;
    std::string signs;
    for (int j = 1; j <= 100; ++j) {
        text.objective += "+" + std::to_string(1 + (j * 7) % 13) + "x" + std::to_string(j);
        signs += (j > 1 ? "," : "") + std::string("x") + std::to_string(j);
    }
    for (int i = 1; i <= 100; ++i) {
        std::string line;
        for (int j = 1; j <= 100; ++j) line += "+" + std::to_string(1 + (i * 31 + j * 17) % 19) + "x" + std::to_string(j);
        text.lines.push_back(line + (i % 2 == 0 ? ">" + std::to_string(100 + 37 * i) : "<" + std::to_string(100000 + i)));
    }
    text.lines.push_back(signs + ">0");
    return text;
}

void BM_Solve100x100With50GreaterLines(benchmark::State& bench, SolveMethod method) {
    const ProblemText text = HalfCoveringProblem();
    int64_t pivots = 0;
    for (auto _ : bench) {
        ProblemState state;
        state.BuildMethod = method;
        BuildReport report;
        BuildProblem(state, text, report);
        int32_t status = state.Stage == SolveStage::Choosing ? PivotChosen : Optimal;
        pivots = 0;
        while (status == PivotChosen) status = NextStep(state), ++pivots;
        if (status != Optimal) bench.SkipWithError("no optimum");
        benchmark::DoNotOptimize(state.Tableau.rows);
    }
    bench.counters["pivots"] = static_cast<double>(pivots);
}

BENCHMARK_CAPTURE(BM_Solve100x100With50GreaterLines, compact, SolveMethod::Compact)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solve100x100With50GreaterLines, two_phases, SolveMethod::TwoPhases)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Solve100x100With50GreaterLines, big_m, SolveMethod::BigM)->Unit(benchmark::kMillisecond);

BENCHMARK(BM_Sensitivity100x100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SensitivityWithDualSolved100x100)->Unit(benchmark::kMillisecond);

// Branch and bound of two integer variables on a strip without integer
// points, 1/4 < x - y < 3/4, in a box of half-width k: every node is
// feasible and fractional until the box runs out. k grows until the tree
// has about 50 nodes.
ProblemText IntegerBox(int k) {
    const std::string K = std::to_string(k);
    return {1, "x+y", {"4x-4y<3", "4x-4y>1", "x<" + K, "x>-" + K, "y<" + K, "y>-" + K, "entero: x, y"}};
}

void BM_BranchAndBound2Variables(benchmark::State& st) {
    ProblemText text;
    ProblemModel model;
    size_t nodes = 0;
    for (int k = 1; nodes < 50; ++k) {
        text = IntegerBox(k);
        BuildReport report;
        ModelFromText(model, text, report);
        RandomGenerator random;
        nodes = BranchAndBound(text, model, random, PivotRule::Random, [] { return true; }).nodes.size();
    }
    for (auto _ : st) {
        RandomGenerator random;
        benchmark::DoNotOptimize(BranchAndBound(text, model, random, PivotRule::Random, [] { return true; }));
    }
    st.counters["nodes"] = double(nodes);
}
BENCHMARK(BM_BranchAndBound2Variables)->Unit(benchmark::kMillisecond);

// A search without end on the same strip, unboxed: 3,000 nodes, ever
// deeper. Reported: the time per 1,000 nodes, the memory the nodes' kept
// tableaux take and the largest node tableau against the typed problem's.
void BM_DeepSearch3000Nodes(benchmark::State& st) {
    const ProblemText text{1, "0x", {"4x-4y<3", "4x-4y>1", "entero: x, y"}};
    ProblemModel model;
    BuildReport report;
    ModelFromText(model, text, report);
    BranchResult r;
    double ms = 0;
    for (auto _ : st) {
        RandomGenerator random;
        int asked = 0;
        const auto start = std::chrono::steady_clock::now();
        r = BranchAndBound(text, model, random, PivotRule(st.range(0)), [&] { return ++asked < 3; }, st.range(1) != 0);
        ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    size_t kept = 0;
    uint32_t rows = 0;
    for (const BranchNode& n : r.nodes)
        if (n.last) kept += StateBytes(*n.last), rows = std::max(rows, n.last->Tableau.rows);
    st.counters["nodes"] = double(r.nodes.size());
    st.counters["ms_per_1000_nodes"] = ms * 1000.0 / double(r.nodes.size());
    st.counters["kept_MB"] = double(kept) / (1024.0 * 1024.0);
    st.counters["typed_rows"] = double(r.nodes.front().last->Tableau.rows);
    st.counters["max_rows"] = double(rows);
}
BENCHMARK(BM_DeepSearch3000Nodes)->Args({2, 0})->Args({0, 0})->Args({2, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

// Opening another tool's file: the same sparse problem, 4000 variables and
// up to 4000 rows of 380 terms (about 17 MB as LP at the largest), as LP
// and as free MPS (more of it: 3000 rows make 18 MB). The reading is linear: twice the rows, twice the time.
struct SparseFile {
    std::string lp, mps;
};

SparseFile SparseProblem(int rows) {
    constexpr int variables = 4000, perRow = 380;
    std::vector<std::vector<std::pair<int, int>>> columns(variables);  // (row, tenths)
    SparseFile f;
    f.lp = "Maximize\n obj: x0 + x1\nSubject To\n";
    for (int r = 0; r < rows; ++r) {
        f.lp += " c" + std::to_string(r) + ":";
        for (int k = 0; k < perRow; ++k) {
            const int v = (r * 7 + k * 10) % variables, tenths = (r + k) % 50 + 1;
            f.lp += " + " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " x" + std::to_string(v);
            columns[size_t(v)].push_back({r, tenths});
        }
        f.lp += " <= " + std::to_string(100 + r) + "\n";
    }
    f.lp += "End\n";
    f.mps = "NAME sparse\nROWS\n N obj\n";
    for (int r = 0; r < rows; ++r) f.mps += " L c" + std::to_string(r) + "\n";
    f.mps += "COLUMNS\n";
    for (int v = 0; v < variables; ++v) {
        const std::string name = " x" + std::to_string(v);
        if (v < 2) f.mps += name + " obj 1\n";
        for (const auto& [r, tenths] : columns[size_t(v)])
            f.mps += name + " c" + std::to_string(r) + " " + std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "\n";
    }
    f.mps += "RHS\n";
    for (int r = 0; r < rows; ++r) f.mps += " rhs c" + std::to_string(r) + " " + std::to_string(100 + r) + "\n";
    f.mps += "ENDATA\n";
    return f;
}

void BM_ImportFile(benchmark::State& st, bool mps) {
    const SparseFile f = SparseProblem(int(st.range(0)));
    const std::string& bytes = mps ? f.mps : f.lp;
    for (auto _ : st) {
        const ImportResult r = mps ? ImportMps(bytes) : ImportLp(bytes);
        if (!r.ok) st.SkipWithError(r.refusal.c_str());
        benchmark::DoNotOptimize(r.text.lines.data());
    }
    st.counters["MB"] = double(bytes.size()) / (1024.0 * 1024.0);
    st.SetBytesProcessed(int64_t(st.iterations()) * int64_t(bytes.size()));
}
BENCHMARK_CAPTURE(BM_ImportFile, lp, false)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImportFile, mps, true)->Arg(1000)->Arg(2000)->Arg(3000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
