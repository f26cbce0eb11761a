// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The textbook forms of the tableau as texts in the current notation: the
// standard form's lines, the full tableau, the dictionary and the matrix
// form as tables of texts with their marks, and the grid the window shows.
// No toolkit code here.
#include <string>
#include <vector>

#include "Display.h"
#include "Explanation.h"
#include "TableauForms.h"

namespace optimara {

// What a cell of a form says beyond its text.
enum class FormMark : uint8_t {
    None,
    Heading,    // a heading or a row's label
    Candidate,  // a tied pivot candidate ("*")
    Pivot,      // the chosen pivot ("**")
    Entering,   // the entering variable's heading, or the z line naming it
    Leaving,    // the leaving row's quotient, or the leaving variable's line
};

// One table of a form: a row of headings, then rows each led by its label.
struct FormTable {
    std::string kind;     // the page's class: "completa", "base", "binversa", "xb", "duales", "reducidos"
    std::string caption;  // "B", "B⁻¹", ... ("" for the full tableau)
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
    std::vector<FormMark> headingMarks;
    std::vector<std::vector<FormMark>> marks;  // the shape of rows
};

// A form of the current tableau: its tables, or for the dictionary its
// lines, each with a note ("sale", "entra x").
struct FormText {
    TableauForm form = TableauForm::Compact;
    std::vector<FormTable> tables;
    std::vector<std::string> lines;
    std::vector<std::string> notes;          // beside each line; "" for none
    std::vector<FormMark> lineMarks;
    std::vector<std::string> standardForm;   // the problem as the method reads it
    bool filled = false;                     // false when the state has no tableau to read
};

// The form's texts (nothing filled for Compact, which ComputeTableauView
// shows, or for a state the forms cannot be read from); the standard form
// only when asked for, since it changes with the problem, not the step.
FormText ComputeFormText(const ProblemState& state, TableauForm form, const NumberText& numbers,
                         bool withStandardForm = true);

// The standard form's lines, e.g. "Maximizar z = 3x + 5y", "x + h1 = 4",
// "x, y, h1 ≥ 0"; empty when the state has no tableau to read.
std::vector<std::string> StandardFormLines(const ProblemState& state, const NumberText& numbers);

// What the window's grid shows: every table of the form one under the
// other (a blank row between two), or the dictionary's lines with their
// notes; cells hold whole texts (the window cuts long ones as the compact
// grid does) and the marks say which to highlight. Compact gives the
// compact grid itself, with the slacks named. The standard form above it
// is StandardFormLines, once per build.
struct FormGrid {
    int rowCount = 0, colCount = 0;
    std::vector<std::string> cells;  // row-major
    std::vector<FormMark> marks;
    bool filled = false;
    const std::string& At(int row, int col) const { return cells[size_t(row) * size_t(colCount) + size_t(col)]; }
    FormMark MarkAt(int row, int col) const { return marks[size_t(row) * size_t(colCount) + size_t(col)]; }
};
FormGrid ComputeFormGrid(ProblemState& state, TableauForm form, const NumberText& numbers);

// A form as plain text: tables in tab-separated rows, the dictionary line
// by line; for the explanation pane, the clipboard and the read-me.
std::string FormPlainText(const FormText& text);

// The explanation of the current tableau in the form's language: Compact
// as ExplainTableau; the other forms speak of z_j - c_j, the Solución
// column and the minimum ratio, and their ratio lines are the full
// tableau's quotients.
Explanation ExplainInForm(const ProblemState& state, const StepFacts& facts, const NumberText& numbers,
                          TableauForm form);

// The window's grid in a textbook form: the compact view's cells give way to
// the form's grid; its solution, value and marker stay. Nothing changes for
// Compact or a view that shows no tableau.
void PutFormInView(TableauView& view, ProblemState& state, TableauForm form, const NumberText& numbers);

// The form's name as the menu shows it, without the accelerator.
const char* FormName(TableauForm form);

} // namespace optimara
