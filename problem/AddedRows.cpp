// SPDX-License-Identifier: GPL-3.0-or-later
#include "AddedRows.h"

#include <algorithm>

#include "BuildProblem.h"
#include "DualSimplex.h"

namespace optimara {
namespace {

// The rows of one line as the build makes them: one per side, two for "=".
std::vector<RowOrigin> RowsOfLine(const ModelLine& line, uint32_t l) {
    std::vector<RowOrigin> rows;
    for (uint32_t s = 0; s < line.sides.size(); ++s) {
        rows.push_back({l, s, line.relation == '>', false});
        if (line.relation == '=') rows.push_back({l, s, true, true});
    }
    return rows;
}

// The number of a term in the tableau's type: the typed number itself in
// exact arithmetic.
template <class Num> Num Pick(double d, std::string_view typed);
template <> double Pick<double>(double d, std::string_view) { return d; }
template <> mpq_class Pick<mpq_class>(double, std::string_view typed) { return ExactNumber(typed); }

// The new row over the first tableau's columns: a variable's column, and
// its negation in a free variable's negative part.
template <class Num>
std::vector<Num> FirstColumns(const ProblemModel& model, const ModelLine& line, const RowOrigin& row, Num& constant) {
    std::vector<Num> cells(model.columns.size() + 1, Num(0));
    for (uint32_t j = 0; j < model.columns.size(); ++j)
        for (const ModelTerm& t : line.sides[row.side].terms)
            if (t.variable == model.columns[j].variable) {
                Num c = Pick<Num>(t.coef, TermText(line.sides[row.side], t));
                if (row.negated) c = -c;
                cells[j] = model.columns[j].negativePart ? Num(-c) : c;
            }
    const Num rhs = Pick<Num>(line.rhs, line.rhsText);
    constant = row.negated ? rhs : Num(-rhs);
    return cells;
}

// Row -h = sum cells_k x_k + constant over the first columns, written over
// the current tableau: a variable still a column heading keeps its entry, a
// basic one (-x = row i) adds minus its entry times row i.
template <class Matrix, class Num>
void AppendRow(Matrix& T, MatrixZ& labels, const std::vector<Num>& cells, const Num& constant) {
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    std::vector<uint32_t> position(n + m + 1, 0);
    for (uint32_t p = 1; p <= n + m; ++p) position[uint32_t(labels.Index(p, 1))] = p;
    std::vector<Num> row(n + 1, Num(0));
    row[n] = constant;
    for (uint32_t k = 1; k <= n; ++k) {
        const Num& a = cells[k - 1];
        if (a == 0) continue;
        const uint32_t p = position[k];
        if (p <= n) {
            row[p - 1] += a;
            continue;
        }
        const Num* basic = T.RowData(p - n);
        for (uint32_t j = 0; j <= n; ++j) row[j] -= a * basic[j];
    }
    Matrix grown(m + 2, n + 1);
    for (uint32_t i = 1; i <= m; ++i)
        for (uint32_t j = 1; j <= n + 1; ++j) grown.Index(i, j) = T.Index(i, j);
    for (uint32_t j = 1; j <= n + 1; ++j) {
        grown.Index(m + 1, j) = row[j - 1];
        grown.Index(m + 2, j) = T.Index(m + 1, j);
    }
    T = grown;
}

void GrowLabels(MatrixZ& labels) {
    MatrixZ grown(labels.rows + 1, 1);
    for (uint32_t p = 1; p <= labels.rows; ++p) grown.Index(p, 1) = labels.Index(p, 1);
    grown.Index(labels.rows + 1, 1) = static_cast<int32_t>(labels.rows + 1);
    CopyMatrix(grown, labels);
}

void AppendPlane(ProblemState& s, const ModelLine& line, const RowOrigin& row) {
    MatrixR& planes = s.ConstraintPlanes;
    const uint32_t width = planes.cols;
    MatrixR grown(planes.rows + 1, width);
    for (uint32_t i = 1; i <= planes.rows; ++i)
        for (uint32_t j = 1; j <= width; ++j) grown.Index(i, j) = planes.Index(i, j);
    for (const ModelTerm& t : line.sides[row.side].terms)
        if (t.variable + 1 < width) grown.Index(planes.rows + 1, t.variable + 1) = row.negated ? -t.coef : t.coef;
    grown.Index(planes.rows + 1, width) = row.negated ? line.rhs : -line.rhs;
    planes = grown;
}

} // namespace

std::string ReadAddedLine(const ProblemState& state, const std::string& text, ModelLine& line) {
    const ProblemModel& model = state.Model;
    // The problem's variables in their order, so that the line's names take
    // the same indices; the objective's coefficients play no part.
    ProblemText typed{1, "", {text}};
    for (const ModelVariable& v : model.variables) typed.objective += (typed.objective.empty() ? "" : "+") + v.name;
    ProblemModel read;
    BuildReport report;
    ReadModel(read, typed, {}, report, model.exact);
    if (!report.errorPanel.empty()) return report.errorPanel;
    if (read.variables.size() > model.variables.size()) return kAddUnknownVariable;
    if (read.lines.size() != 1 || !read.integers.empty()) return kAddOneLine;
    line = read.lines.front();
    return "";
}

AddedMark MarkOf(const ProblemState& s, size_t step) {
    return {step, s.Model.lines.size(), s.Model.readRows.size(), s.Model.rows.size(), s.ConstraintPlanes.rows};
}

void TakeBack(ProblemState& s, const AddedMark& mark) {
    ProblemModel& model = s.Model;
    model.lines.resize(mark.lines);
    model.readRows.resize(mark.readRows);
    model.rows.resize(mark.rows);
    model.slackNames.resize(mark.rows);
    MatrixR& planes = s.ConstraintPlanes;
    if (planes.rows <= mark.planes) return;
    MatrixR kept(static_cast<uint32_t>(mark.planes), planes.cols);
    for (uint32_t i = 1; i <= mark.planes; ++i)
        for (uint32_t j = 1; j <= planes.cols; ++j) kept.Index(i, j) = planes.Index(i, j);
    planes = kept;
}

void AppendLine(ProblemState& s, ModelLine line) {
    ProblemModel& model = s.Model;
    const auto l = static_cast<uint32_t>(model.lines.size());
    int source = 0;
    for (const ModelLine& earlier : model.lines) source = std::max(source, earlier.source + 1);
    line.source = source;
    model.lines.push_back(line);
    int number = 0;
    for (const RowOrigin& row : model.rows) number += row.second ? 0 : 1;
    for (const RowOrigin& row : RowsOfLine(line, l)) {
        model.readRows.push_back(row);
        model.rows.push_back(row);
        if (!row.second) ++number;
        model.slackNames.push_back("h" + std::to_string(number) + (row.second ? "'" : ""));
        if (s.Exact) {
            mpq_class constant;
            AppendRow(s.ExactTableau, s.Labels, FirstColumns(model, line, row, constant), constant);
        } else {
            double constant = 0;
            AppendRow(s.Tableau, s.Labels, FirstColumns(model, line, row, constant), constant);
        }
        GrowLabels(s.Labels);
        AppendPlane(s, line, row);
    }
    if (s.Exact) {
        RoundExactTableau(s);
    } else {
        SnapTableau(s.Tableau);
    }
    // From an optimum the tableau is dual feasible: the dual simplex
    // restores the feasibility the new rows may have taken.
    s.Method = SolveMethod::DualSimplex;
    s.Stage = StageOf(SelectMethodPivot(s));
    s.AtBuild = false;
}

} // namespace optimara
