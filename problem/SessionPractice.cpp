// SPDX-License-Identifier: GPL-3.0-or-later
// The session's practice: the student's choice of the pivot, the typed next
// tableau checked, and the step made when it is right or when the student
// asks to see it.
#include "SolveSession.h"

namespace optimara {

SolveSession::PracticeChoice SolveSession::ChooseInPractice(int gridRow, int gridCol, bool wholeCell) {
    if (!practice.On() || !Running() || problem.Stage != SolveStage::Choosing ||
        practice.Stage() == PracticeStage::Typing)
        return PracticeChoice::NotNow;
    practice.SetForm(form);
    using K = PracticeEvent::Kind;
    const auto note = [this](K kind, PivotCell cell, PracticeChoice choice) {
        practice.Note({kind, cell, {}});
        return choice;
    };
    const PivotCell cell = TableauCell(gridRow, gridCol);
    if (wholeCell)
        return practice.ChooseCell(problem, cell) ? note(K::Row, cell, PracticeChoice::Row)
                                                  : note(K::RowRefused, cell, PracticeChoice::Refused);
    // A heading chooses the column again.
    if (practice.Stage() == PracticeStage::Column || gridRow == 0) {
        const uint32_t col = TableauColumnOfGrid(problem, form, gridCol);
        return practice.ChooseColumn(problem, col) ? note(K::Column, {0, col}, PracticeChoice::Column)
                                                   : note(K::ColumnRefused, {0, col}, PracticeChoice::Refused);
    }
    const PivotCell chosen{cell.row, practice.Chosen().col};
    return practice.ChooseRow(problem, cell.row) ? note(K::Row, chosen, PracticeChoice::Row)
                                                 : note(K::RowRefused, chosen, PracticeChoice::Refused);
}

PracticeCheck SolveSession::CheckPractice(const std::vector<std::string>& typed, const std::string& separator,
                                          SolveHost& host) {
    if (practice.Stage() != PracticeStage::Typing || !Running()) return {};
    PracticeCheck check = practice.Check(typed, separator, problem.Exact);
    practice.Note({PracticeEvent::Kind::Checked, practice.Chosen(), {}});
    if (!check.Right()) return check;
    const PivotCell cell = practice.Chosen();
    // The counts outlive the new tableau the step shows.
    practice.StepMade();
    ChoosePivotCell(problem.PivotMarks, cell);
    Steps.SetNextPivot(cell, true);
    Button2Click(host);
    practice.Note({PracticeEvent::Kind::Checked, cell, {}});
    return check;
}

PracticeHint SolveSession::HintInPractice() {
    if (practice.Stage() != PracticeStage::Typing) return {};
    PracticeHint hint = practice.Hint();
    practice.Note({PracticeEvent::Kind::Hinted, practice.Chosen(), hint});
    return hint;
}

void SolveSession::ShowPracticeStep(SolveHost& host) {
    if (!Running()) return;
    if (practice.Stage() == PracticeStage::Typing) {
        const PivotCell cell = practice.Chosen();
        ChoosePivotCell(problem.PivotMarks, cell);
        Steps.SetNextPivot(cell, true);
    }
    Button2Click(host);
}

} // namespace optimara
