// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The compact exchange tableau read in the forms of the textbooks: the
// problem in standard form, the full tableau with a column for every
// variable and a z row of z_j - c_j, the dictionary, and the revised
// method's matrices B, B^-1 and the simplex multipliers. Each is computed
// from the tableau the engine pivots, its labels and the problem model;
// none is pivoted or solved on its own, so the forms always show the same
// step. The records are templates over the number type: doubles for the
// floating tableau, exact rationals for the exact one.
//
// Orientation: the standard form writes every line as typed, a slack with
// coefficient +1 for "<" and a surplus with -1 for ">" (the second row of
// an "=" line is a ">" row). The tableau's own rows are the "<" form, the
// negated ones times -1; B^-1 A and B^-1 b are the same either way, so the
// full tableau is the compact one's columns put in place.
#include <cstdint>
#include <string>
#include <vector>

#include "ProblemState.h"

namespace optimara {

// Which form of the tableau is shown.
enum class TableauForm : uint8_t { Compact, Full, Dictionary, Matrix };

// Whether the model, labels and marks belong to the tableau, so that the
// forms can be read from them (false after a build that failed, or for
// the empty problem).
bool FormsFit(const ProblemState& state);

// The name of every variable by its number (1-based; index 0 is variable 1):
// the tableau's columns, a split free variable's two columns primed as the
// compact grid names them, then the slacks h1, h2, ...
std::vector<std::string> FormVariableNames(const ProblemState& state);
// The name of the variable standing at a position of the compact tableau
// (1..n its columns, n+r row r), from those names; "?" for none.
std::string NameAtPosition(const std::vector<std::string>& names, const MatrixZ& labels, uint32_t position);

// The problem as the method reads it.
template <class Num>
struct BasicStandardForm {
    bool maximize = true;
    uint32_t n = 0;                  // structural columns; variables n+1..n+m are the slacks
    std::vector<std::string> names;  // by variable number, as FormVariableNames
    std::vector<Num> cost;           // per structural column, as typed (a negative part's is -c)
    struct Row {
        std::vector<Num> coef;       // per structural column, as typed
        int slackSign = 1;           // +1 slack, -1 surplus
        Num rhs = 0;
        RowOrigin origin;
    };
    std::vector<Row> rows;           // one per tableau row, in order
    // The free variables' names and the first of their two columns (1-based).
    std::vector<std::pair<std::string, uint32_t>> splits;
    // The variables a sign line bounds, as typed.
    std::vector<std::string> bounded;
};

// Why a row of the full tableau has, or has not, a quotient.
enum class FullRatioKind : uint8_t {
    Limits,        // entry > 0: Solución / entry
    Driving,       // first phase: the row being made feasible, entry < 0
    NotPositive,   // entry <= 0: the row never limits the entering variable
    AboveDriving,  // first phase: rows above the one being made feasible do not count
};

template <class Num>
struct BasicFullRatio {
    FullRatioKind kind = FullRatioKind::NotPositive;
    Num value = 0;       // Solución / entry, only for Limits and Driving
    bool tied = false;   // one of the rows of the smallest quotient
};

// The textbook's tableau of the current basis. Columns are the variables by
// number (0-based index v-1), rows the constraint rows in tableau order.
template <class Num>
struct BasicFullTableau {
    uint32_t m = 0, width = 0;            // constraint rows; variable columns (n + m)
    bool maximize = true;
    std::vector<std::string> headings;    // width names
    std::vector<uint32_t> basic;          // per row, the variable basic in it
    std::vector<Num> z;                   // per column, z_j - c_j of the typed objective
    Num zValue = 0;                       // the objective's value, as the user asked for it
    // Big M: the M part of every z_j - c_j and of z (each entry is zM·M + z);
    // empty under the other methods.
    std::vector<Num> zM;
    Num zValueM = 0;
    // Two phases, while phase 1 lasts: w_j - c_j of w = the artificials'
    // sum, minimised, and w's value; empty otherwise.
    std::vector<Num> w;
    Num wValue = 0;
    std::vector<Num> cells;               // m * width, row-major
    std::vector<Num> solution;            // per row, the basic variable's value
    std::vector<int8_t> marks;            // m * width: 1 tied candidate, 2 chosen pivot
    uint32_t pivotRow = 0, pivotCol = 0;  // 1-based; 0 without a chosen pivot
    uint32_t drivingRow = 0;              // first phase: the last row with a negative Solución
    std::vector<BasicFullRatio<Num>> ratios;  // per row, while a pivot is chosen
    // The dual simplex's ratio row instead, per column: |z_j - c_j| / |a_rj|
    // over the leaving row's negative entries (Limits), NotPositive elsewhere.
    std::vector<BasicFullRatio<Num>> dualRatios;
    const Num& At(uint32_t row, uint32_t col) const { return cells[size_t(row - 1) * width + (col - 1)]; }
    int8_t Mark(uint32_t row, uint32_t col) const { return marks[size_t(row - 1) * width + (col - 1)]; }
};

// "h1 = 4 - x - y", and "z = 0 + 3x + 2y" last (variable 0).
template <class Num>
struct BasicDictionaryLine {
    uint32_t variable = 0;
    Num constant = 0;
    std::vector<std::pair<uint32_t, Num>> terms;  // the non-basic variables, by number
};

template <class Num>
struct BasicDictionary {
    std::vector<std::string> names;
    std::vector<BasicDictionaryLine<Num>> lines;  // one per row, then z
    uint32_t entering = 0, leaving = 0;           // variables; 0 without a chosen pivot
};

// The revised method's view of the basis, in the standard form's orientation.
template <class Num>
struct BasicMatrixForm {
    uint32_t m = 0;
    std::vector<std::string> names;
    std::vector<uint32_t> basic;      // per row of the tableau, its basic variable (B's columns)
    std::vector<Num> B, inverse;      // m * m, row-major
    std::vector<Num> b;               // the standard form's right-hand sides
    std::vector<Num> xB, cB, y;       // B^-1 b, the basic costs, c_B B^-1 (one per row)
    std::vector<uint32_t> nonbasic;   // the non-basic variables, in the compact grid's order
    std::vector<Num> reduced;         // their z_j - c_j = y a_j - c_j
    Num z = 0;                        // c_B x_B
    struct LineDual {
        uint32_t line = 0, side = 0;
        std::string text;             // the constraint as typed
        std::string slack;            // its (first) row's slack
        Num value = 0;                // its rows' multipliers summed: the dual value
    };
    std::vector<LineDual> duals;      // one per typed constraint, in order
    const Num& InverseAt(uint32_t r, uint32_t c) const { return inverse[size_t(r - 1) * m + (c - 1)]; }
    const Num& BAt(uint32_t r, uint32_t c) const { return B[size_t(r - 1) * m + (c - 1)]; }
};

using StandardForm = BasicStandardForm<double>;
using ExactStandardForm = BasicStandardForm<mpq_class>;
using FullTableau = BasicFullTableau<double>;
using ExactFullTableau = BasicFullTableau<mpq_class>;
using Dictionary = BasicDictionary<double>;
using ExactDictionary = BasicDictionary<mpq_class>;
using MatrixForm = BasicMatrixForm<double>;
using ExactMatrixForm = BasicMatrixForm<mpq_class>;

// Each form of the state's current tableau: the floating one with double,
// the exact one with mpq_class. Precondition: FormsFit(state) (and with
// mpq_class, state.Exact).
template <class Num>
BasicStandardForm<Num> StandardFormOf(const ProblemState& state);
template <class Num>
BasicFullTableau<Num> FullTableauOf(const ProblemState& state);
template <class Num>
BasicDictionary<Num> DictionaryOf(const ProblemState& state);
template <class Num>
BasicMatrixForm<Num> MatrixFormOf(const ProblemState& state, const BasicStandardForm<Num>& standard);

// The tableau's cell (1-based row and column of the compact tableau) under
// a cell of the form's grid, to choose or explain a pivot there: the
// compact grid's cells are the tableau's; in the full tableau a constraint
// row's cell in the column of a non-basic variable. Row 0 for any other.
PivotCell TableauCellOfGrid(const ProblemState& state, TableauForm form, int gridRow, int gridCol);
// The tableau's column (1-based) under a column of the grid, its heading's
// included; 0 for none.
uint32_t TableauColumnOfGrid(const ProblemState& state, TableauForm form, int gridCol);

} // namespace optimara
