// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The problem as the user typed it, between the text and the tableau: the
// variables, each left side of each line with its relation and right-hand
// side, the bounds the sign lines give, and for every tableau row and column
// where it came from. Everything the build, the export and the sensitivity
// report say about the problem is read from here.
#include <gmpxx.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "MatrixQ.h"
#include "MatrixR.h"

namespace optimara {

struct BuildReport;
struct ProblemText;

struct ModelVariable {
    std::string name;          // as first written
    bool nonNegative = false;  // some sign line bounds it below by 0
};

// Nothing in the model holds a rational: the exact value of a number is
// made from its text only where exact arithmetic asks for it (ExactNumber),
// so reading in floating arithmetic costs what it did before exact
// arithmetic existed, and lines and terms move without a copy. A term
// points into its side's text rather than holding a copy of its number.
struct ModelTerm {
    uint32_t variable;  // index into the variables
    // Where the number as typed starts in its side's text, sign included
    // ("" and "-" are 1 and -1; a cut's number is a fraction).
    uint32_t at;
    double coef;        // as typed, never 0; in exact arithmetic the text's nearest double
};

// One left side of a line; a line with "," groups has several, each a
// constraint of its own that shares the relation and the right-hand side.
struct ModelSide {
    std::vector<ModelTerm> terms;  // in the order typed
    std::string text;              // the left side as typed, blanks removed
};

// A term's number as typed: its sign, digits, points and strokes, up to the
// name, which starts with none of them.
inline std::string_view TermText(const ModelSide& side, const ModelTerm& t) {
    const std::string_view s = std::string_view(side.text).substr(t.at);
    size_t end = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    while (end < s.size() && ((s[end] >= '0' && s[end] <= '9') || s[end] == '.' || s[end] == '/')) ++end;
    return s.substr(0, end);
}

struct ModelLine {
    int source = 0;               // the editor's line number, from 0
    std::vector<ModelSide> sides;
    char relation = 0;            // '<', '>' or '='; 0 for a line whose reading failed
    double rhs = 0;
    std::string rhsText;          // the right-hand side as typed, blanks removed; a cut's is a fraction
};

// Where a row of the tableau (or of the rows as read) came from.
struct RowOrigin {
    uint32_t line = 0;     // index into the lines
    uint32_t side = 0;     // index into that line's sides
    bool negated = false;  // a ">" side, or the second row of an "=" side
    bool second = false;   // the second row of an "=" side
};

// A sign line's row: a bound of its variable, not a row of the tableau.
struct BoundOrigin {
    RowOrigin row;
    uint32_t variable = 0;
};

// Where a column of the tableau came from: a variable, or the negative part
// of a free one, whose column is the negation of the positive part's.
struct ColumnOrigin {
    uint32_t variable = 0;
    bool negativePart = false;
};

struct ProblemModel {
    bool maximize = true;                // false for "Minimizar": the objective row holds -c
    std::vector<ModelVariable> variables;
    // Per variable, as typed (0 for a variable only the constraints name).
    // While the objective is read it may hold one term more than there are
    // variables: the coefficient read before a missing or repeated name.
    std::vector<double> objective;
    std::vector<std::string> objectiveText;  // the same as typed
    std::vector<ModelLine> lines;
    std::vector<uint32_t> integers;      // variables restricted to whole values
    // Set once the whole text has been read: every row as read, in order;
    // the constraint rows that stay in the tableau and their slack names;
    // the sign rows; the tableau's columns.
    std::vector<RowOrigin> readRows;
    std::vector<RowOrigin> rows;
    std::vector<std::string> slackNames;
    std::vector<BoundOrigin> bounds;
    std::vector<ColumnOrigin> columns;
    bool complete = false;
    // Read for exact arithmetic: the doubles are only the texts' nearest
    // values, so signs are taken from the texts.
    bool exact = false;
};

// Reads the typed text into the model, checking it as the build checks it
// (same scanners, same errors in the same order). A fault fills `report` and
// leaves the model as far as it was read. `earlier` are names already in the
// names list, which the objective may not use again. With `exact` the
// numbers are read by the exact reader, which takes numbers of any length.
void ReadModel(ProblemModel& model, const ProblemText& text, const std::vector<std::string>& earlier,
               BuildReport& report, bool exact = false);

// Finds the sign rows, the constraint rows with their slack names and the
// columns of a model whose text was read without fault.
void CompleteModel(ProblemModel& model);

// The coefficient of a variable in one row, and the row's constant, as the
// tableau holds them (signs of the relation applied, +0 for any zero).
double RowCell(const ProblemModel& model, const RowOrigin& row, uint32_t variable);
double RowConstant(const ProblemModel& model, const RowOrigin& row);

// Every row as read, sign rows included, over one column per variable, with
// the objective row last: the tableau before sign rows go and free
// variables split. For a model whose reading failed, the rows read so far
// (the failed line's rows as far as they got, with constant 0).
MatrixR RowsAsRead(const ProblemModel& model);

// The first tableau of a completed model, and the same in exact rationals.
MatrixR TableauFromModel(const ProblemModel& model);
MatrixQ ExactTableauFromModel(const ProblemModel& model);
// A term's exact cell in one of its line's rows and the row's exact
// constant, with the signs of the floating ones.
mpq_class ExactTermCell(const ModelLine& line, const RowOrigin& row, const ModelTerm& t);
mpq_class ExactConstant(const ModelLine& line, const RowOrigin& row);

// The exact value of a number as the scanner reads it: sign, digits and a
// decimal point; no digits at all stand for 1. A cut's number is written as
// its rational prints, "-3/4": digits after a "/" divide.
mpq_class ExactNumber(std::string_view text);

// A term's number as typed, exactly.
inline mpq_class TermValue(const ModelSide& side, const ModelTerm& t) { return ExactNumber(TermText(side, t)); }

// The sign of ExactNumber(text), without making the rational.
int TextSign(std::string_view text);

// The double nearest to ExactNumber(text), the largest one for a number
// beyond the doubles' range: a number's floating value in exact arithmetic.
double NearestDoubleOf(std::string_view text);

// The slack names of the constraint rows, in tableau row order: h1, h2, ...
// by the left sides that make constraint rows, the second row of an "="
// side primed (h3, h3').
std::vector<std::string> SlackNames(const ProblemModel& model);

// The constraint as typed: a left side, its relation and right-hand side.
std::string SideText(const ProblemModel& model, uint32_t line, uint32_t side);

} // namespace optimara
