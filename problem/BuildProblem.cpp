// From the typed text to the problem state and its first tableau.
#include "BuildProblem.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <string>
#include <vector>

#include "ErrorTexts.h"
#include "Fault.h"
#include "TextRules.h"

namespace optimara {
namespace {

using text::CharAt;

// A cell that becomes zero is stored as +0, never -0, so that a negated
// or sign-flipped zero cannot show up as "-0" in the first tableau.
inline double Stored(double v) { return v == 0.0 ? 0.0 : v; }

// The matrix grows its storage only to the size asked for, so a tableau
// built one row or column at a time would be copied whole at every step.
// Room is made ahead, doubling, so that copies stay few; the rows and
// columns themselves are still added one at a time.
void MakeRoom(MatrixR& T, uint64_t needed) {
    if (needed <= T.Capacity()) return;
    // Beyond 32 bits the matrix itself reports the exhaustion when it grows.
    if (needed > UINT32_MAX) return;
    const uint64_t doubled = std::min<uint64_t>(2 * uint64_t(T.Capacity()), UINT32_MAX);
    const uint64_t target = std::max(needed, doubled);
    MatrixR bigger(static_cast<uint32_t>(target), 1);
    bigger.Redefine(T.rows, T.cols);
    for (uint32_t i = 1; i <= T.rows; ++i) std::copy_n(T.RowData(i), T.cols, bigger.RowData(i));
    T.Swap(bigger);
}

void AddRowAfter(MatrixR& T, uint32_t p) {
    MakeRoom(T, uint64_t(T.rows + 1) * T.cols);
    T.AddRow(p, 0.0);
}

void AddColAfter(MatrixR& T, uint32_t p, double v) {
    MakeRoom(T, uint64_t(T.rows) * (T.cols + 1));
    T.AddCol(p, v);
}

struct RowOrigin {
    uint32_t leftSide = 0;
    bool second = false;
};

struct Build {
    ProblemState& state;
    BuildReport& report;
    // Names already in the list when the build began (the caller normally
    // empties it); this build's column j is list entry base + j.
    size_t base;
    // Folded name -> column of this build; 0 for a name left over from
    // before, which the objective reports as a duplicate.
    std::unordered_map<std::string, uint32_t> columns;
    // For every constraint row, in row order: the left side it came from
    // (numbered over the whole text) and whether it is the second row of
    // an "=" line.
    std::vector<RowOrigin> origins;
    uint32_t leftSides = 0;
};

bool Failed(const Build& b) { return !b.report.errorPanel.empty(); }

bool Fail(Build& b, const char* message, int source) {
    ReportSyntaxError(b.report, message, source);
    return false;
}

// Appends a name for the column just added before the constant column.
void AddName(Build& b, const std::string& name) {
    b.state.Names.push_back(name);
    b.columns[text::FoldedName(name)] = b.state.Tableau.cols - 1;
}

bool ReadObjective(Build& b, const ProblemText& problem) {
    MatrixR& T = b.state.Tableau;
    const std::string s = text::WithoutBlanks(problem.objective);
    const int L = static_cast<int>(s.size());
    if (L == 0) return Fail(b, kNothingToOptimize, -1);
    int pos = 1;
    do {
        double c = ScanNumber(s, pos, L, false, -1, b.report);
        if (Failed(b)) return false;
        if (problem.comboIndex == 0) c = -c;
        AddColAfter(T, T.cols - 1, Stored(c));
        if (pos > L) return Fail(b, kError4, -1);
        const std::string name = ScanVariable(s, pos, L, -1, b.report);
        if (Failed(b)) return false;
        if (b.columns.count(text::FoldedName(name)) != 0) return Fail(b, kError5, -1);
        AddName(b, name);
    } while (pos <= L);
    return true;
}

// Puts c·name into the current row, adding a column for a new name.
bool PlaceTerm(Build& b, const std::string& name, double c, int k) {
    MatrixR& T = b.state.Tableau;
    const uint32_t row = T.rows - 1;
    const auto found = b.columns.find(text::FoldedName(name));
    if (found == b.columns.end() || found->second == 0) {
        AddColAfter(T, T.cols - 1, 0.0);
        AddName(b, name);
        T.Index(row, T.cols - 1) = c;
        return true;
    }
    double& cell = T.Index(row, found->second);
    if (cell != 0.0) return Fail(b, kError16Duplicate, k);
    cell = c;
    return true;
}

// Gives the line's extra+1 rows (just above the objective row) their
// constant and the orientation of the relation.
void FinishLine(MatrixR& T, uint32_t extra, int rel, double rhs) {
    const uint32_t last = T.rows - 1, first = last - extra, width = T.cols;
    for (uint32_t r = first; r <= last; ++r) T.Index(r, width) = Stored(-rhs);
    if (rel == '>') {
        for (uint32_t r = first; r <= last; ++r)
            for (uint32_t j = 1; j <= width; ++j) T.Index(r, j) = Stored(-T.Index(r, j));
    } else if (rel == '=') {
        uint32_t r = first;
        for (uint32_t i = 0; i <= extra; ++i, r += 2) {
            AddRowAfter(T, r);
            for (uint32_t j = 1; j <= width; ++j) T.Index(r + 1, j) = Stored(-T.Index(r, j));
        }
    }
}

bool ReadLine(Build& b, const std::string& raw, int k) {
    MatrixR& T = b.state.Tableau;
    const std::string s = text::WithoutBlanks(raw);
    const int L = static_cast<int>(s.size());
    if (L == 0 || s[0] == ';') return true;
    uint32_t extra = 0;
    AddRowAfter(T, T.rows - 1);
    int pos = 1;
    while (!text::IsRelation(CharAt(s, pos, L))) {
        const double c = ScanNumber(s, pos, L, false, k, b.report);
        if (Failed(b)) return false;
        if (pos > L) return Fail(b, kError6, k);
        const std::string name = ScanVariable(s, pos, L, k, b.report);
        if (Failed(b)) return false;
        if (pos > L) return Fail(b, kError7, k);
        if (c == 0.0) return Fail(b, kError15, k);
        if (!PlaceTerm(b, name, c, k)) return false;
        if (CharAt(s, pos, L) == ',') {
            ++extra;
            AddRowAfter(T, T.rows - 1);
            ++pos;
            // Written without a selection; the next check of the error text
            // ends the build (or a fault in the right-hand side replaces it).
            if (pos > L)
                b.report.errorPanel = kError9;
            else if (text::IsRelation(CharAt(s, pos, L)))
                b.report.errorPanel = kError10;
        }
    }
    const int rel = CharAt(s, pos, L);
    ++pos;
    const double rhs = ScanNumber(s, pos, L, true, k, b.report);
    if (Failed(b)) return false;
    if (pos <= L) return Fail(b, kError11, k);
    FinishLine(T, extra, rel, rhs);
    for (uint32_t i = 0; i <= extra; ++i) {
        ++b.leftSides;
        b.origins.push_back({b.leftSides, false});
        if (rel == '=') b.origins.push_back({b.leftSides, true});
    }
    return true;
}

// Copies for the plot, taken before sign rows go and free variables split.
void TakePlotCopies(ProblemState& state) {
    const MatrixR& T = state.Tableau;
    state.ConstraintPlanes.Redefine(T.rows - 1, T.cols);
    for (uint32_t i = 1; i < T.rows; ++i)
        for (uint32_t j = 1; j <= T.cols; ++j) state.ConstraintPlanes.Index(i, j) = T.Index(i, j);
    state.ObjectiveVector.Redefine(T.cols - 1, 1);
    for (uint32_t j = 1; j < T.cols; ++j) state.ObjectiveVector.Index(j, 1) = T.Index(T.rows, j);
}

// A row c·x >= 0 with c > 0 only says that x is non-negative: it becomes
// a sign mark instead of a constraint row.
std::vector<uint32_t> TakeSignRows(ProblemState& state) {
    MatrixR& T = state.Tableau;
    const uint32_t n = T.cols - 1;
    state.SignMarks.Redefine(n, 1);
    std::vector<uint32_t> doomed;
    for (uint32_t s = 1; s < T.rows; ++s) {
        if (T.Index(s, n + 1) != 0.0) continue;
        uint32_t nonZero = 0, at = 0;
        for (uint32_t j = 1; j <= n; ++j)
            if (T.Index(s, j) != 0.0) ++nonZero, at = j;
        if (nonZero == 1 && T.Index(s, at) < 0.0) {
            doomed.push_back(s);
            state.SignMarks.Index(at, 1) = 1;
        }
    }
    for (auto r = doomed.rbegin(); r != doomed.rend(); ++r) T.DelRow(*r);
    return doomed;
}

// The slack variables' names: h1, h2, ... by left side in the order typed,
// the second row of an "=" line primed. Rows that became sign marks have no
// slack and take no number.
std::vector<std::string> SlackNames(std::vector<RowOrigin> origins, const std::vector<uint32_t>& signRows) {
    for (auto r = signRows.rbegin(); r != signRows.rend(); ++r) origins.erase(origins.begin() + (*r - 1));
    std::vector<std::string> names;
    uint32_t number = 0, last = 0;
    for (const RowOrigin& o : origins) {
        const bool pairKept = o.second && o.leftSide == last;
        if (o.leftSide != last) ++number;
        last = o.leftSide;
        names.push_back("h" + std::to_string(number) + (pairKept ? "'" : ""));
    }
    return names;
}

// Every variable without a sign mark becomes the difference of two
// non-negative columns, side by side, both carrying its name.
void SplitFreeVariables(ProblemState& state, size_t base) {
    MatrixR& T = state.Tableau;
    uint32_t j = 1;
    while (j <= state.SignMarks.rows) {
        if (state.SignMarks.Index(j, 1) != 0) {
            ++j;
            continue;
        }
        state.SignMarks.AddRow(j, 0);
        const std::string name = state.Names[base + j - 1];
        state.Names.insert(state.Names.begin() + static_cast<std::ptrdiff_t>(base + j), name);
        AddColAfter(T, j, 0.0);
        for (uint32_t i = 1; i <= T.rows; ++i) T.Index(i, j + 1) = Stored(-T.Index(i, j));
        j += 2;
    }
}

const char* BuildStatusText(int32_t status) {
    switch (status) {
    case PivotChosen: return kBuildPivotChosen;
    case Infeasible: return kBuildInfeasible;
    case Unbounded: return kBuildUnbounded;
    default: return kBuildOptimal;
    }
}

} // namespace

namespace {

void BuildFromText(ProblemState& state, const ProblemText& problem, BuildReport& report) {
    Build b{state, report, state.Names.size(), {}, {}, 0};
    for (const std::string& old : state.Names) b.columns.emplace(text::FoldedName(old), 0);

    state.Tableau.Redefine(1, 1);
    if (!ReadObjective(b, problem)) return;
    for (size_t k = 0; k < problem.lines.size(); ++k)
        if (!ReadLine(b, problem.lines[k], static_cast<int>(k))) return;
    if (state.Tableau.rows == 1) {
        ReportSyntaxError(report, kError16NoConstraints, 0);
        return;
    }
    TakePlotCopies(state);
    state.RowNames = SlackNames(b.origins, TakeSignRows(state));
    SplitFreeVariables(state, b.base);

    MatrixR& T = state.Tableau;
    state.Labels.Redefine(T.rows + T.cols - 2, 1);
    for (uint32_t i = 1; i <= state.Labels.rows; ++i) state.Labels.Index(i, 1) = static_cast<int32_t>(i);
    // The first pivot is chosen on the tableau as it is shown.
    SnapTableau(T);
    const int32_t status =
        SelectPivot(T, state.PivotMarks, state.CandidateCount, state.Random, state.Rule, &state.Labels, &state.LastDraw);
    report.statusPanel = BuildStatusText(status);
    state.Stage = StageOf(status);
    state.AtBuild = true;
}

} // namespace

void BuildProblem(ProblemState& state, const ProblemText& problem, BuildReport& report) {
    // An overflowing number abandons the build; the report must then hold
    // nothing of it (an ERROR9/ERROR10 text may already have been written).
    const BuildReport before = report;
    try {
        BuildFromText(state, problem, report);
    } catch (const FloatingPointFault&) {
        report = before;
        throw;
    }
}

} // namespace optimara
