// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Practice: the student makes the step the program would make. The student
// chooses the entering column and the leaving row, checked against the
// pivot rule's candidates, then types the next tableau, checked cell by cell
// against the engine's own next tableau (exactly in exact arithmetic, else
// within a relative 1e-9), and may ask for hints on the first wrong cell.
// Engine values only; the words are the display's.
#include <gmpxx.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TableauForms.h"

namespace optimara {

enum class PracticeStage : uint8_t { Column, Row, Typing };

// A number as the student types it: b, or a·M + b under big M.
struct TypedEntry {
    enum class Fault : uint8_t { None, Blank, Unreadable, ZeroDenominator };
    Fault fault = Fault::Blank;
    mpq_class m, value;
};

// Integers, decimals (with the user's separator, or a point), fractions
// "3/2", true minus signs, and under big M "−2M+3", "M", "-M", "3-2M".
TypedEntry ReadTypedEntry(const std::string& text, const std::string& separator, bool bigM);

// One cell the student types, at its place in the practice grid.
struct PracticeCell {
    int row = 0, col = 0;
    mpq_class m, value;  // the engine's number, m·M + value
};

// The next tableau as the student types it: the fixed texts (headings and
// basic variables) and the cells to type, in reading order.
struct PracticeGrid {
    int rows = 0, cols = 0;
    std::vector<std::string> labels;  // rows * cols; empty where a number is typed
    std::vector<PracticeCell> cells;
    bool bigM = false;
    bool full = false;  // the textbook's full tableau, else the compact one
    int Find(int row, int col) const;
    const std::string& Label(int row, int col) const { return labels[size_t(row) * size_t(cols) + size_t(col)]; }
};

// The grid of the state's tableau: the full tableau in the textbook forms
// (the dictionary and B⁻¹ are typed as the full tableau), else the compact.
PracticeGrid PracticeGridOf(const ProblemState& state, TableauForm form);

// The student's answer against the engine's.
struct PracticeCheck {
    std::vector<int> wrong;  // indices into the grid's cells, blanks and unreadable included
    int first = -1;          // the first of them in reading order
    TypedEntry::Fault firstFault = TypedEntry::Fault::None;
    mpq_class firstTyped, firstTypedM;  // what the first wrong cell holds, when it reads
    bool Right() const { return wrong.empty(); }
};

PracticeCheck CheckTyped(const PracticeGrid& expected, const std::vector<std::string>& typed,
                         const std::string& separator, bool exact);

// A hint on one cell of the next tableau: what the cell is, then the rule
// with its four numbers of the tableau now shown, then its value.
struct PracticeHint {
    enum class Kind : uint8_t { Pivot, PivotRow, PivotColumn, Rectangle, Changed };
    Kind kind = Kind::Rectangle;
    int level = 1;  // 1, 2 or 3
    int cell = -1;  // index into the next grid's cells
    // The numbers of the rule, m·M + value: the cell now, its row's entry in
    // the pivot column, its column's entry in the pivot row, the pivot.
    mpq_class now, nowM, rowEntry, rowEntryM, colEntry, colEntryM, pivot;
};

// What the student did last, for the words that answer it.
struct PracticeEvent {
    enum class Kind : uint8_t { None, Column, Row, ColumnRefused, RowRefused, Checked, Hinted };
    Kind kind = Kind::None;
    PivotCell cell;  // in the tableau's terms: the column (and row) chosen or refused
    PracticeHint hint;
};

// The choice, the answer and the counts of one exercise.
class Practice {
public:
    bool On() const { return on_; }
    void SetOn(bool on);
    PracticeStage Stage() const { return stage_; }
    // A new tableau is shown: the next step starts from its column.
    void NewTableau();

    // The column, then the row, in the tableau's terms (1-based); true when
    // the rule's candidates hold it. The whole cell chooses both at once.
    bool ChooseColumn(const ProblemState& state, uint32_t col);
    bool ChooseRow(const ProblemState& state, uint32_t row);
    bool ChooseCell(const ProblemState& state, PivotCell cell);
    PivotCell Chosen() const { return {row_, col_}; }

    // The typed tableau's target, made when the pivot is chosen.
    const PracticeGrid& Next() const { return next_; }
    const PracticeGrid& Now() const { return now_; }
    // Checks the typed cells; the first check of a step counts its wrong cells.
    const PracticeCheck& Check(const std::vector<std::string>& typed, const std::string& separator, bool exact);
    const PracticeCheck& LastCheck() const { return check_; }
    bool Checked() const { return checked_; }
    // The next hint on the first wrong cell (the first cell before a check).
    PracticeHint Hint();

    // The last thing the student did, noted by the session.
    const PracticeEvent& Last() const { return last_; }
    void Note(PracticeEvent event) { last_ = std::move(event); }
    // Grows with every pivot chosen: a new tableau to type.
    uint32_t TargetNumber() const { return targets_; }
    // A step made right by the student.
    void StepMade() { ++steps_; }
    size_t Steps() const { return steps_; }
    size_t WrongAtFirstTry() const { return wrongFirst_; }
    size_t Hints() const { return hints_; }
    // A new exercise: the counts start over.
    void Restart();
    // The form the next tableau is typed in, from the next choice on.
    void SetForm(TableauForm form) { form_ = form; }

private:
    void Target(const ProblemState& state);
    bool on_ = false;
    TableauForm form_ = TableauForm::Compact;
    PracticeStage stage_ = PracticeStage::Column;
    uint32_t row_ = 0, col_ = 0;
    int pivotRow_ = 0, pivotCol_ = 0;  // in the grid
    PracticeGrid now_, next_;
    PracticeCheck check_;
    bool checked_ = false;
    int hintCell_ = -1, hintLevel_ = 0;
    size_t steps_ = 0, wrongFirst_ = 0, hints_ = 0;
    PracticeEvent last_;
    uint32_t targets_ = 0;
};

// Whether a column of the tableau (1-based) holds a candidate of the rule's
// choice, and whether a cell is one.
bool CandidateColumn(const ProblemState& state, uint32_t col);
bool CandidateCell(const ProblemState& state, PivotCell cell);

} // namespace optimara
