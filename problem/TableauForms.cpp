// SPDX-License-Identifier: GPL-3.0-or-later
// The standard form, the full tableau and the dictionary, read off the
// compact tableau.
//
// Row r of the compact tableau states -(basic of r) = sum_k T(r,k) (column k)
// + T(r,n+1), so the basic variable is T(r,n+1) negated less the row's
// entries times the non-basic variables: the full tableau's row r holds
// T(r,k) in the column of the variable at position k, a 1 in its basic
// variable's column and -T(r,n+1) as its Solución. The objective row states
// z' = sum_k T(m+1,k) (column k) + T(m+1,n+1) with z' = z for "Maximizar" and
// -z for "Minimizar", so z_j - c_j = -sense T(m+1,k).
#include "TableauForms.h"

#include "FormNumbers.h"

namespace optimara {

bool FormsFit(const ProblemState& state) {
    const MatrixR& T = state.Tableau;
    const uint32_t m = ConstraintRows(state), n = T.cols - 1;
    const ProblemModel& model = state.Model;
    if (T.rows < 1 + state.Artificials.extraRows || n < state.Artificials.surplusColumns) return false;
    // Readiness is not asked for: an edit leaves the last tableau shown,
    // and the model it was built from with it.
    if (!model.complete || model.rows.size() != m || model.columns.size() + state.Artificials.surplusColumns != n ||
        model.slackNames.size() != m || state.Labels.rows != m + n || state.Labels.cols != 1 ||
        state.SignMarks.rows < model.columns.size() || state.Names.size() < model.columns.size())
        return false;
    if (state.Exact && (state.ExactTableau.rows != T.rows || state.ExactTableau.cols != T.cols)) return false;
    return state.CandidateCount == 0 || (state.PivotMarks.rows == m && state.PivotMarks.cols == n);
}

std::vector<std::string> FormVariableNames(const ProblemState& s) {
    const uint32_t m = ConstraintRows(s), n = s.Tableau.cols - 1;
    std::vector<std::string> names(static_cast<size_t>(n) + m, "?");
    const uint32_t columns = n - s.Artificials.surplusColumns;
    for (uint32_t v = 1; v <= columns && v <= s.Names.size() && v <= s.SignMarks.rows; ++v) {
        if (s.SignMarks.Index(v, 1) != 0) {
            names[v - 1] = s.Names[v - 1];
            continue;
        }
        names[v - 1] = s.Names[v - 1] + "'";
        if (v < n) names[v] = s.Names[v - 1] + "''";
        ++v;
    }
    for (uint32_t i = 1; i <= m; ++i)
        names[n + i - 1] = i <= s.Model.slackNames.size() ? s.Model.slackNames[i - 1] : "h" + std::to_string(i);
    // The artificial methods: a surplus column carries its row's slack
    // name, and the row's own variable is its artificial a1, a2, ...
    const std::vector<uint32_t>& rows = s.Artificials.rows;
    for (uint32_t k = 1; k <= rows.size() && rows[k - 1] <= m; ++k) {
        names[columns + k - 1] = names[n + rows[k - 1] - 1];
        names[n + rows[k - 1] - 1] = "a" + std::to_string(k);
    }
    return names;
}

template <class Num>
BasicStandardForm<Num> StandardFormOf(const ProblemState& state) {
    using K = FormNumbers<Num>;
    const ProblemModel& model = state.Model;
    const auto first = K::First(model);
    const uint32_t m = first.rows - 1, n = first.cols - 1;
    const Num sense = model.maximize ? 1 : -1;
    BasicStandardForm<Num> f;
    f.maximize = model.maximize;
    f.n = n;
    f.names = FormVariableNames(state);
    if (UsesArtificials(state.Method)) {
        // The problem's own standard form: its columns, then its slacks.
        std::vector<std::string> names(f.names.begin(), f.names.begin() + n);
        names.insert(names.end(), model.slackNames.begin(), model.slackNames.end());
        f.names = std::move(names);
    }
    for (uint32_t j = 1; j <= n; ++j) f.cost.push_back(K::Clean(Num(sense * first.Index(m + 1, j))));
    for (uint32_t i = 1; i <= m; ++i) {
        typename BasicStandardForm<Num>::Row row;
        row.origin = model.rows[i - 1];
        row.slackSign = row.origin.negated ? -1 : 1;
        const Num sigma = row.slackSign;
        for (uint32_t j = 1; j <= n; ++j) row.coef.push_back(K::Clean(Num(sigma * first.Index(i, j))));
        row.rhs = K::Clean(Num(-sigma * first.Index(i, n + 1)));
        f.rows.push_back(std::move(row));
    }
    for (uint32_t j = 1; j <= model.columns.size(); ++j) {
        const ColumnOrigin& col = model.columns[j - 1];
        const ModelVariable& v = model.variables[col.variable];
        if (col.negativePart) continue;
        if (v.nonNegative) f.bounded.push_back(v.name);
        else f.splits.emplace_back(v.name, j);
    }
    return f;
}

namespace {

// Where each variable stands now: position 1..n a column, n+r row r.
std::vector<uint32_t> Positions(const MatrixZ& labels) {
    std::vector<uint32_t> position(labels.rows + 1, 0);
    for (uint32_t k = 1; k <= labels.rows; ++k) position[static_cast<uint32_t>(labels.Index(k, 1))] = k;
    return position;
}

template <class Num>
void FullRatios(const typename FormNumbers<Num>::Matrix& T, BasicFullTableau<Num>& f, uint32_t col, uint32_t m) {
    for (const auto& rr : RatioTest(T, f.drivingRow, col, m)) {
        BasicFullRatio<Num> ratio;
        ratio.tied = rr.tied;
        switch (rr.part) {
        case RowPart::Limits: ratio.kind = FullRatioKind::Limits; break;
        case RowPart::Driving: ratio.kind = FullRatioKind::Driving; break;
        case RowPart::NotPositive: ratio.kind = FullRatioKind::NotPositive; break;
        case RowPart::AboveDriving: ratio.kind = FullRatioKind::AboveDriving; break;
        }
        // The engine's quotient constant / entry is Solución / entry with
        // the other sign; a row that limits at once stands at 0.
        if (rr.part == RowPart::Limits || rr.part == RowPart::Driving)
            ratio.value = rr.ratio == 0 ? Num(0) : Num(-rr.ratio);
        f.ratios.push_back(std::move(ratio));
    }
}

// The dual simplex's ratio test along the leaving row: only a negative entry
// keeps every z_j - c_j of the optimum's sign when its column enters.
template <class Num>
void DualRatios(BasicFullTableau<Num>& f) {
    const auto magnitude = [](const Num& x) { return x < 0 ? Num(-x) : x; };
    Num least = 0;
    bool any = false;
    f.dualRatios.assign(f.width, BasicFullRatio<Num>{});
    for (uint32_t v = 1; v <= f.width; ++v) {
        const Num& a = f.At(f.pivotRow, v);
        if (!(a < 0)) continue;
        BasicFullRatio<Num>& q = f.dualRatios[v - 1];
        q.kind = FullRatioKind::Limits;
        q.value = magnitude(f.z[v - 1]) / magnitude(a);
        if (!any || q.value < least) least = q.value;
        any = true;
    }
    for (auto& q : f.dualRatios) q.tied = q.kind == FullRatioKind::Limits && q.value == least;
}

// The artificial methods' added row, in the full tableau's terms: phase 1's
// w row (the tableau holds -w: w_j - c_j is the entry itself, w is minus
// the constant), or big M's M part of every z_j - c_j and of z.
template <class Num>
void AddedRow(const ProblemState& state, const typename FormNumbers<Num>::Matrix& T, BasicFullTableau<Num>& f) {
    using K = FormNumbers<Num>;
    if (!UsesArtificials(state.Method) || state.Artificials.extraRows == 0) return;
    const uint32_t added = f.m + 1, n = T.cols - 1;
    const bool bigM = state.Method == SolveMethod::BigM;
    if (!bigM && state.Artificials.phase != 1) return;
    const Num sign = bigM ? Num(state.Model.maximize ? -1 : 1) : Num(1);
    std::vector<Num>& row = bigM ? f.zM : f.w;
    row.assign(f.width, Num(0));
    for (uint32_t k = 1; k <= n; ++k)
        row[static_cast<uint32_t>(state.Labels.Index(k, 1)) - 1] = K::Clean(Num(sign * T.Index(added, k)));
    const Num value = K::Clean(Num(-sign * T.Index(added, n + 1)));
    if (bigM) f.zValueM = value;
    else f.wValue = value;
}

} // namespace

template <class Num>
BasicFullTableau<Num> FullTableauOf(const ProblemState& state) {
    using K = FormNumbers<Num>;
    const auto& T = K::Current(state);
    const uint32_t m = ConstraintRows(state), n = T.cols - 1, zRow = T.rows;
    const Num sense = state.Model.maximize ? 1 : -1;
    BasicFullTableau<Num> f;
    f.m = m;
    f.width = n + m;
    f.maximize = state.Model.maximize;
    f.headings = FormVariableNames(state);
    f.basic.assign(m, 0);
    f.z.assign(f.width, Num(0));
    f.cells.assign(size_t(m) * f.width, Num(0));
    f.marks.assign(size_t(m) * f.width, 0);
    const bool marked = state.CandidateCount > 0 && state.Stage == SolveStage::Choosing;
    for (uint32_t r = 1; r <= m; ++r) {
        const auto v = static_cast<uint32_t>(state.Labels.Index(n + r, 1));
        f.basic[r - 1] = v;
        f.cells[size_t(r - 1) * f.width + (v - 1)] = 1;
        f.solution.push_back(K::Clean(Num(-T.Index(r, n + 1))));
    }
    for (uint32_t r = 1; r <= m; ++r) {
        Num* row = f.cells.data() + size_t(r - 1) * f.width;
        int8_t* marks = f.marks.data() + size_t(r - 1) * f.width;
        for (uint32_t k = 1; k <= n; ++k) {
            const auto v = static_cast<uint32_t>(state.Labels.Index(k, 1));
            row[v - 1] = K::Clean(T.Index(r, k));
            if (marked) marks[v - 1] = static_cast<int8_t>(state.PivotMarks.Index(r, k));
        }
    }
    for (uint32_t k = 1; k <= n; ++k)
        f.z[static_cast<uint32_t>(state.Labels.Index(k, 1)) - 1] = K::Clean(Num(-sense * T.Index(zRow, k)));
    f.zValue = K::Clean(Num(sense * T.Index(zRow, n + 1)));
    AddedRow(state, T, f);
    f.drivingRow = m == 0 || UsesArtificials(state.Method) ? 0 : LastInfeasibleRow(T);
    if (!marked) return f;
    const PivotCell chosen = ChosenCell(state.PivotMarks);
    if (chosen.row == 0) return f;
    f.pivotRow = chosen.row;
    f.pivotCol = static_cast<uint32_t>(state.Labels.Index(chosen.col, 1));
    if (state.Method == SolveMethod::DualSimplex) DualRatios(f);
    else FullRatios<Num>(T, f, chosen.col, m);
    return f;
}

template <class Num>
BasicDictionary<Num> DictionaryOf(const ProblemState& state) {
    using K = FormNumbers<Num>;
    const auto& T = K::Current(state);
    const uint32_t m = ConstraintRows(state), n = T.cols - 1, zRow = T.rows;
    const Num sense = state.Model.maximize ? 1 : -1;
    BasicDictionary<Num> d;
    d.names = FormVariableNames(state);
    const auto column = [&](uint32_t k) { return static_cast<uint32_t>(state.Labels.Index(k, 1)); };
    // The non-basic variables in the order of the full tableau's columns.
    std::vector<uint32_t> order;
    const std::vector<uint32_t> position = Positions(state.Labels);
    for (uint32_t v = 1; v <= n + m; ++v)
        if (position[v] <= n) order.push_back(position[v]);
    for (uint32_t r = 1; r <= m; ++r) {
        BasicDictionaryLine<Num> line;
        line.variable = column(n + r);
        line.constant = K::Clean(Num(-T.Index(r, n + 1)));
        for (uint32_t k : order) line.terms.emplace_back(column(k), K::Clean(Num(-T.Index(r, k))));
        d.lines.push_back(std::move(line));
    }
    BasicDictionaryLine<Num> z;
    z.constant = K::Clean(Num(sense * T.Index(zRow, n + 1)));
    for (uint32_t k : order) z.terms.emplace_back(column(k), K::Clean(Num(sense * T.Index(zRow, k))));
    d.lines.push_back(std::move(z));
    if (state.CandidateCount > 0 && state.Stage == SolveStage::Choosing) {
        const PivotCell chosen = ChosenCell(state.PivotMarks);
        if (chosen.row != 0) {
            d.entering = column(chosen.col);
            d.leaving = column(n + chosen.row);
        }
    }
    return d;
}

namespace {

// One dual value per typed constraint: an "=" line's two rows are one
// constraint, whose dual value is the sum of their multipliers.
template <class Num>
void LineDuals(const ProblemModel& model, BasicMatrixForm<Num>& f) {
    for (uint32_t k = 1; k <= f.m; ++k) {
        const RowOrigin& row = model.rows[k - 1];
        if (!f.duals.empty() && f.duals.back().line == row.line && f.duals.back().side == row.side) {
            f.duals.back().value = FormNumbers<Num>::Clean(Num(f.duals.back().value + f.y[k - 1]));
            continue;
        }
        f.duals.push_back({row.line, row.side, SideText(model, row.line, row.side), model.slackNames[k - 1],
                           f.y[k - 1]});
    }
}

} // namespace

template <class Num>
BasicMatrixForm<Num> MatrixFormOf(const ProblemState& state, const BasicStandardForm<Num>& standard) {
    using K = FormNumbers<Num>;
    const auto& T = K::Current(state);
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    const std::vector<uint32_t> position = Positions(state.Labels);
    BasicMatrixForm<Num> f;
    f.m = m;
    f.names = standard.names;
    // A variable's column in the standard form, entry of row k (1-based).
    const auto standardEntry = [&](uint32_t v, uint32_t k) -> Num {
        if (v <= n) return standard.rows[k - 1].coef[v - 1];
        return v == n + k ? Num(standard.rows[k - 1].slackSign) : Num(0);
    };
    const auto cost = [&](uint32_t v) -> Num { return v <= n ? standard.cost[v - 1] : Num(0); };
    for (uint32_t r = 1; r <= m; ++r) f.basic.push_back(static_cast<uint32_t>(state.Labels.Index(n + r, 1)));
    f.B.assign(size_t(m) * m, Num(0));
    f.inverse.assign(size_t(m) * m, Num(0));
    for (uint32_t k = 1; k <= m; ++k) {
        for (uint32_t r = 1; r <= m; ++r) f.B[size_t(k - 1) * m + (r - 1)] = standardEntry(f.basic[r - 1], k);
        // B^-1's column k is the full tableau's column of slack k, turned to
        // the standard form's orientation of row k.
        const Num sigma = standard.rows[k - 1].slackSign;
        const uint32_t p = position[n + k];
        for (uint32_t r = 1; r <= m; ++r) {
            const Num entry = p > n ? Num(p - n == r ? 1 : 0) : Num(T.Index(r, p));
            f.inverse[size_t(r - 1) * m + (k - 1)] = K::Clean(Num(sigma * entry));
        }
        f.b.push_back(standard.rows[k - 1].rhs);
    }
    f.xB.assign(m, Num(0));
    f.y.assign(m, Num(0));
    for (uint32_t r = 1; r <= m; ++r) {
        f.cB.push_back(cost(f.basic[r - 1]));
        for (uint32_t k = 1; k <= m; ++k) f.xB[r - 1] += f.InverseAt(r, k) * f.b[k - 1];
    }
    for (uint32_t r = 1; r <= m; ++r)
        for (uint32_t k = 1; k <= m; ++k) f.y[k - 1] += f.cB[r - 1] * f.InverseAt(r, k);
    for (uint32_t r = 1; r <= m; ++r) f.z += f.cB[r - 1] * f.xB[r - 1];
    for (uint32_t j = 1; j <= n; ++j) {
        const auto v = static_cast<uint32_t>(state.Labels.Index(j, 1));
        Num d = -cost(v);
        for (uint32_t k = 1; k <= m; ++k) d += f.y[k - 1] * standardEntry(v, k);
        f.nonbasic.push_back(v);
        f.reduced.push_back(K::Clean(d));
    }
    for (uint32_t k = 1; k <= m; ++k) {
        f.xB[k - 1] = K::Clean(f.xB[k - 1]);
        f.y[k - 1] = K::Clean(f.y[k - 1]);
    }
    f.z = K::Clean(f.z);
    LineDuals(state.Model, f);
    return f;
}

template BasicStandardForm<double> StandardFormOf<double>(const ProblemState&);
template BasicStandardForm<mpq_class> StandardFormOf<mpq_class>(const ProblemState&);
template BasicFullTableau<double> FullTableauOf<double>(const ProblemState&);
template BasicFullTableau<mpq_class> FullTableauOf<mpq_class>(const ProblemState&);
template BasicDictionary<double> DictionaryOf<double>(const ProblemState&);
template BasicDictionary<mpq_class> DictionaryOf<mpq_class>(const ProblemState&);
template BasicMatrixForm<double> MatrixFormOf<double>(const ProblemState&, const BasicStandardForm<double>&);
template BasicMatrixForm<mpq_class> MatrixFormOf<mpq_class>(const ProblemState&, const BasicStandardForm<mpq_class>&);

PivotCell TableauCellOfGrid(const ProblemState& state, TableauForm form, int gridRow, int gridCol) {
    const uint32_t m = state.Tableau.rows - 1, n = state.Tableau.cols - 1;
    if (gridRow < 1 || gridCol < 1) return {};
    const auto row = static_cast<uint32_t>(gridRow), col = static_cast<uint32_t>(gridCol);
    if (form == TableauForm::Compact) return row <= m && col <= n ? PivotCell{row, col} : PivotCell{};
    // The full grid: the headings, the z row, then the constraint rows.
    if (form != TableauForm::Full || !FormsFit(state)) return {};
    // Phase 1 shows its w row under z.
    const uint32_t above = 1 + (state.Method == SolveMethod::TwoPhases && state.Artificials.phase == 1 ? 1 : 0);
    const uint32_t constraints = ConstraintRows(state);
    if (row <= above || row > constraints + above || col > n + constraints) return {};
    for (uint32_t k = 1; k <= n; ++k)
        if (static_cast<uint32_t>(state.Labels.Index(k, 1)) == col) return {row - above, k};
    return {};
}

uint32_t TableauColumnOfGrid(const ProblemState& state, TableauForm form, int gridCol) {
    const uint32_t n = state.Tableau.cols - 1;
    if (gridCol < 1) return 0;
    if (form == TableauForm::Compact) return uint32_t(gridCol) <= n ? uint32_t(gridCol) : 0;
    if (form != TableauForm::Full || !FormsFit(state)) return 0;
    for (uint32_t k = 1; k <= n; ++k)
        if (state.Labels.Index(k, 1) == gridCol) return k;
    return 0;
}

std::string NameAtPosition(const std::vector<std::string>& names, const MatrixZ& labels, uint32_t position) {
    const int32_t v = position >= 1 && position <= labels.rows ? labels.Index(position, 1) : 0;
    return v >= 1 && size_t(v) <= names.size() ? names[size_t(v - 1)] : std::string("?");
}

} // namespace optimara
