// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of a solution as one self-contained HTML page, for reading and
// printing away from the program: no scripts, no links, no fonts or pictures
// from elsewhere; one table per tableau, never split across printed pages.
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace optimara::files {

// One row of a step's ratio test.
struct StepsPageRatio {
    std::string row;       // the row's name: its variable
    std::string constant, entry;
    std::string ratio;     // the quotient constant / entry, or "—" for a row left out
    bool leaves = false;
    std::string growth;    // how far the row lets the entering variable grow, or "—"
    std::string why;       // why the row counts or not
};

// Which form of the tableau the page writes: the compact grid the window
// shows first, or one of the textbooks' forms.
enum class StepsPageForm : uint8_t { Compact, Full, Dictionary, Matrix };

// One table of a textbook form: a row of headings, then rows each led by
// its label (a table of kind "duales" has no labels: one cell per line).
struct StepsPageTable {
    std::string kind;                  // its class: "completa", "binversa", "duales", ...
    std::string caption;               // "" for none
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    int pivotRow = -1, pivotCol = -1;  // the chosen pivot's cell in rows; -1 without one
    int leavingRow = -1;               // the row whose variable leaves; -1 without one
};

// One tableau as the window showed it. Texts are UTF-8; on the page a
// control character shows as its picture (U+0001 as U+2401), and what HTML
// text cannot hold or would hide, broken UTF-8 included, as U+FFFD.
struct StepsPageTableau {
    int number = 0;                   // pivots made before it
    std::string node;                 // the node of an integer search it belongs to, "Nodo 3 · x<2"
    int rows = 1, cols = 1;           // the grid's size
    std::vector<std::string> cells;   // row-major, the grid's texts ("*", "**" marks included)
    int pivotRow = -1, pivotCol = -1; // the grid cell of the chosen pivot; -1 without one
    std::vector<std::string> solution;       // "x=3" lines
    std::vector<std::string> freeVariables;  // "x=x'-x''" lines
    std::string value;                // the objective's value
    std::string phase;                // what the method is doing, in words
    std::string status;               // whether it goes on or how it ended, in words
    std::vector<std::string> explanation;  // the step in words, paragraph by paragraph
    std::vector<StepsPageRatio> ratios;    // the ratio test of the chosen pivot's column
    // In a textbook form, the tableau in that form instead of the grid:
    // its tables, or the dictionary's lines.
    std::vector<StepsPageTable> tables;
    std::vector<std::string> dictionary;
};

// What the optimum says beyond itself, written after the last tableau;
// absent (no rows) unless the solution ended optimal.
struct StepsPageSensitivity {
    using Row = std::array<std::string, 5>;
    Row lineHeadings, variableHeadings;
    std::vector<Row> lines;      // line, slack, dual price, lower limit, upper limit
    std::vector<Row> variables;  // variable, value, reduced cost, lower limit, upper limit of its cost
    std::string words;           // degenerate, other optima
    std::vector<std::string> dual;  // the dual problem as typed, one line each
    std::string optima;          // the two optima side by side
};

// The tree of branch and bound, written after the steps: one row per node
// (number, parent, bounds added, value, solution, end, and the pivots when
// nodes start from their parent's tableau); none without one.
struct StepsPageTree {
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> ending;  // where the search stands or how it ended, in words
};

struct StepsPage {
    std::string sense;                 // "Minimizar" or "Maximizar"
    std::string objective;             // as typed
    std::string heading;               // the caption above the constraints
    std::vector<std::string> lines;    // the constraints as typed
    std::string notation;              // the notation the numbers are written in
    std::vector<StepsPageTableau> tableaux;
    StepsPageForm form = StepsPageForm::Compact;
    std::vector<std::string> standardForm;  // the problem as the method reads it, for a textbook form
    // The cutting planes made, in order, each in words with its inequality.
    std::vector<std::string> cuts;
    // The student's practice, in words; empty without it.
    std::string practice;
    StepsPageSensitivity sensitivity;
    StepsPageTree tree;
};

// The page in UTF-8.
QByteArray StepsPageHtml(const StepsPage& page);

// One piece of the page that is never split across printed pages: the
// problem, a tableau's step, the sensitivity, the dual, the tree... as HTML
// without the page's head and style. A narrow one (its tables fit half an
// A4 line) may stand beside the next narrow one.
struct StepsPageBlock {
    std::string html;
    bool narrow = false;
};

// The page's blocks in order, the problem first.
std::vector<StepsPageBlock> StepsPageBlocks(const StepsPage& page);

// Where each row of the page starts: a block, or two narrow blocks in a row
// side by side (taken in pairs from the left).
std::vector<size_t> StepsPageRows(const std::vector<StepsPageBlock>& blocks);

// The style sheet of the page in the form.
std::string StepsPageStyle(StepsPageForm form);

// One tableau's block of the page in the given form, as StepsPageHtml
// writes it (without the page's head and style).
QByteArray StepsPageTableauHtml(const StepsPageTableau& tableau, StepsPageForm form);

// Writes the page through the safe whole-file writer; throws FileError as
// WriteWholeFile does.
void WriteStepsPage(const QString& fileName, const StepsPage& page);

} // namespace optimara::files
