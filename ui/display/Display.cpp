// SPDX-License-Identifier: GPL-3.0-or-later
#include "Display.h"

#include "Notation.h"
#include "TableauForms.h"

namespace optimara {
namespace {

struct Grid {
    TableauView& view;
    std::string& At(uint32_t c, uint32_t r) {
        return view.cells[static_cast<size_t>(r) * static_cast<size_t>(view.colCount) + c];
    }
};

// Every tableau cell through FormatNumber (which snaps the cell itself), the
// tied candidates prefixed with "*" and the chosen pivot with "**".
void FillCells(ProblemState& state, Grid grid, uint32_t m, uint32_t n, bool floating, const std::string& separator) {
    MatrixR& T = state.Tableau;
    const MatrixQ& exact = state.ExactTableau;
    // An artificial method's added objective row has no marks.
    const uint32_t marked = ConstraintRows(state);
    for (uint32_t r = 1; r <= m + 1; ++r) {
        for (uint32_t c = 1; c <= n + 1; ++c) {
            std::string text = state.Exact ? FormatExact(exact, r, c, floating, separator)
                                           : FormatNumber(T.Index(r, c), floating, separator);
            if (r <= marked && c <= n) {
                const int32_t mark = state.PivotMarks.Index(r, c);
                if (mark == 1 || mark == 2) text = std::string(mark == 1 ? "*" : "**") + text;
            }
            grid.At(c, r) = std::move(text);
        }
    }
}

// One line per problem variable, as the engine reads it; the labels go
// where each column variable stands.
void ReadVariables(ProblemState& state, TableauView& view, const SolutionReading& reading, bool floating,
                   const std::string& separator, double solutionPoint[3]) {
    Grid grid{view};
    const uint32_t n = state.Tableau.cols - 1;
    auto name = [&](uint32_t k) -> const std::string& { return state.Names.at(k - 1); };
    auto label = [&](uint32_t p, std::string text) {
        if (p <= n)
            grid.At(p, 0) = std::move(text);
        else
            grid.At(0, p - n) = std::move(text);
    };
    for (size_t k = 0; k < reading.places.size(); ++k) {
        const VariablePlace& place = reading.places[k];
        uint32_t i = place.column;
        if (place.secondPosition == 0) {
            label(place.position, name(i));
        } else {
            label(place.position, name(i) + "'");
            ++i;
            label(place.secondPosition, name(i - 1) + "''");
            const std::string& x = name(i);
            view.freeVariables.push_back(x + "=" + x + "'-" + x + "''");
        }
        double value = reading.values[k];
        std::string line = name(i);
        line += '=';
        line += state.Exact ? FormatExact(ExactValue(state, place), floating, separator)
                            : FormatNumber(value, floating, separator);
        view.solution.push_back(std::move(line));
        ++view.count;
        if (view.count <= 3) solutionPoint[view.count - 1] = value;
    }
}

} // namespace

bool FitsTableau(const ProblemState& state) {
    const MatrixR& T = state.Tableau;
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    // Without variable columns nothing but the tableau is read.
    if (n == 0) return true;
    // The artificial methods add surplus columns and an objective row.
    const ArtificialPart& a = state.Artificials;
    if (m < a.extraRows || n < a.surplusColumns) return false;
    const uint32_t rows = m - a.extraRows, columns = n - a.surplusColumns;
    if (state.Labels.rows != rows + n || state.SignMarks.rows < columns || state.Names.size() < columns) return false;
    if (state.Exact && (state.ExactTableau.rows != T.rows || state.ExactTableau.cols != T.cols)) return false;
    // Without constraint rows no pivot is chosen and the marks are never read.
    return rows == 0 || (state.PivotMarks.rows == rows && state.PivotMarks.cols == n);
}

// The slack variables' names where they stand.
void NameSlacks(const ProblemState& state, TableauView& view) {
    Grid grid{view};
    if (UsesArtificials(state.Method)) {
        // Surpluses, artificials and slacks, and the added row's own name.
        const uint32_t n = state.Tableau.cols - 1, m = ConstraintRows(state);
        const uint32_t columns = n - state.Artificials.surplusColumns;
        const std::vector<std::string> names = FormVariableNames(state);
        for (uint32_t p = 1; p <= n + m; ++p) {
            const auto v = static_cast<uint32_t>(state.Labels.Index(p, 1));
            if (v <= columns || v > names.size()) continue;
            if (p <= n) grid.At(p, 0) = names[v - 1];
            else grid.At(0, p - n) = names[v - 1];
        }
        if (state.Artificials.extraRows != 0)
            grid.At(0, m + 1) = state.Method == SolveMethod::BigM ? "M" : state.Artificials.phase == 1 ? "w" : "(w)";
        return;
    }
    const uint32_t n = state.Tableau.cols - 1, m = state.Tableau.rows - 1;
    for (uint32_t p = 1; p <= n + m; ++p) {
        const int32_t v = state.Labels.Index(p, 1);
        if (v <= static_cast<int32_t>(n) || static_cast<size_t>(v - n) > state.Model.slackNames.size()) continue;
        const std::string& name = state.Model.slackNames[static_cast<size_t>(v - n - 1)];
        if (p <= n) grid.At(p, 0) = name;
        else grid.At(0, p - n) = name;
    }
}

TableauView ComputeTableauView(ProblemState& state, bool maximize, bool errorPanelEmpty,
                               bool floating, const std::string& separator, double solutionPoint[3],
                               bool slackNames) {
    TableauView view;
    MatrixR& T = state.Tableau;
    // A cleared or half-built problem has nothing to show, and its marks,
    // labels and names belong to another tableau.
    if (errorPanelEmpty && !FitsTableau(state)) {
        view.cells.assign(1, std::string());
        return view;
    }
    const uint32_t m = T.rows - 1, n = T.cols - 1;
    view.rowCount = static_cast<int>(m + 2);
    view.colCount = static_cast<int>(n + 2);
    view.cells.assign(static_cast<size_t>(view.rowCount) * static_cast<size_t>(view.colCount), std::string());
    if (!errorPanelEmpty) return view;

    FillCells(state, Grid{view}, m, n, floating, separator);
    const SolutionReading reading = ReadSolution(T, state.Labels, state.SignMarks, maximize);
    double z = reading.objective;
    view.value = state.Exact ? FormatExact(ExactObjective(state, maximize), floating, separator)
                             : FormatNumber(z, floating, separator);
    view.solution.reserve(reading.values.size());
    ReadVariables(state, view, reading, floating, separator, solutionPoint);
    if (slackNames) NameSlacks(state, view);
    view.filled = true;
    return view;
}

} // namespace optimara
