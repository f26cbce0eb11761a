// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One problem being solved as the user drives it, without a window: the
// problem state, the pivots made on it, the integer search with the steps
// of its nodes, the error text of the last build, the pivot rule and the
// form the tableau is read in. Its operations are the user's commands; its
// questions say where
// the solution stands. The window shows what the operations leave and
// answers the long solution's questions through its host; tests and
// benchmarks drive a session the same way.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AddedRows.h"
#include "BranchAndBound.h"
#include "CuttingPlanes.h"
#include "Practice.h"
#include "Sensitivity.h"
#include "StepHistory.h"
#include "TableauForms.h"

namespace optimara {

// The note of the tableau the problem state now holds.
StepNote NoteOf(ProblemState& state, bool maximize);

// What a press of "Una Solución" or "Paso a paso" ran: the simplex, the
// integer search, or nothing (an ended search starts over only from an
// optimum).
enum class SolveRun { Simplex, Search, Nothing, Cuts };

// How an integer problem is solved: by branch and bound, or by Gomory's
// cutting planes from the optimum of its relaxation.
enum class IntegerMethod : uint8_t { BranchAndBound, Cuts };

// The cutting planes ask whether to go on after every so many cuts.
inline constexpr int kCutsPerQuestion = 50;

class SolveSession {
public:
    ProblemState problem;
    // The pivots made on the current problem, to go back over them.
    StepHistory Steps;
    // The search of an integer problem, going on or ended; empty when the
    // current solution is no such search. The node whose tableau is shown.
    BranchSearch Branches;
    int shownNode = 0;
    // The node shown was chosen in the tree or is the search's end, rather
    // than the one the presses are solving.
    bool nodeLook = false;
    // Each concluded node's steps, for the page (while they fit in memory).
    std::vector<StepHistory> nodeSteps;
    size_t nodeStepsBytes = 0;
    // The error text of the last build: empty when it read without fault.
    std::string error;
    // The form the grid shows the tableau in; a grid cell is that form's.
    TableauForm form = TableauForm::Compact;
    // "Modo práctica": the student's choices, answer and counts.
    Practice practice;
    // The problem as typed now, read only when the session needs it.
    using TypedText = std::function<ProblemText()>;

    // "Una Solución": the steps to the end, or the integer search to its
    // end, through the solve loop; the host answers its questions.
    SolveRun Solve(const TypedText& typed, NodeSolveHost& host);
    // "Paso a paso": one step, or one press of the integer search.
    SolveRun Step(const TypedText& typed, NodeSolveHost& host);
    // Takes the last pivot back: the tableau, its stage and its note (a
    // step that added a line takes the line back).
    void Back();
    // "Añadir restricción...": one more typed line, at an optimum of a
    // problem that is no integer search. Its rows are appended in terms of
    // the current basis, the dual simplex becomes the method of the rest of
    // this solve and chooses its pivot; the addition is one step of the
    // history. Returns the reader's error or the refusal; empty when added.
    // The host shows the new tableau (and notes it, as every tableau shown)
    // and redraws the picture with the new line.
    std::string AddConstraint(const std::string& line, SolveHost& host);

    // "Nodos desde el padre" for the next branch and bound search.
    bool NodesFromParent() const { return nodesFromParent_; }
    void SetNodesFromParent(bool on) { nodesFromParent_ = on; }
    // The integer method of the next press on an integer problem.
    IntegerMethod Integers() const { return integerMethod_; }
    void SetIntegers(IntegerMethod method) { integerMethod_ = method; }
    // The cuts of the current cutting-plane solve, in order; each is also a
    // line of the model and a row of the picture (planeRow).
    const std::vector<GomoryCut>& Cuts() const { return cuts_; }
    // Why the cutting planes could not go on (empty when they could).
    const std::string& CutRefusal() const { return cutRefusal_; }
    // A cutting-plane solve is going on: the next press goes on with it.
    bool Cutting() const { return cutting_; }
    // The tableau's cell under a cell of the grid in the current form; row
    // 0 for a cell that stands for none.
    PivotCell TableauCell(int gridRow, int gridCol) const {
        return TableauCellOfGrid(problem, form, gridRow, gridCol);
    }
    // Practice. The student's choice of a grid cell: its column first, then
    // its row; the whole cell ("Elegir pivote") chooses both at once.
    enum class PracticeChoice { NotNow, Column, Row, Refused };
    PracticeChoice ChooseInPractice(int gridRow, int gridCol, bool wholeCell);
    // The typed next tableau checked; when right the session makes the
    // step, credited to the student, and the host shows it.
    PracticeCheck CheckPractice(const std::vector<std::string>& typed, const std::string& separator,
                                SolveHost& host);
    // "Pista": the next hint on the first wrong cell.
    PracticeHint HintInPractice();
    // "Mostrar paso": the step made as without practice, on the pivot
    // chosen when there is one.
    void ShowPracticeStep(SolveHost& host);
    // Whether the cell of the grid may be pivoted on now; choosing it makes
    // it the next pivot, credited to the user.
    bool IsCandidate(int gridRow, int gridCol) const;
    bool ChoosePivot(int gridRow, int gridCol);
    // Puts a node's last tableau in the problem state; with ownRegion the
    // node's region, else the typed problem's. False for no such node.
    bool ShowNode(int number, bool ownRegion);
    // Forgets the steps and, unless a press of the search builds a node,
    // the search.
    void Forget();
    // Notes the tableau now in the problem state: the first of a build (the
    // history starts over) or one more pivot (keepCopy keeps it whole).
    void NoteTableau(bool afterBuild, bool keepCopy, bool maximize);

    // The method chosen for the next build: a problem being solved keeps
    // the method it was built with (or the dual simplex a constraint added
    // at its optimum switched it to).
    SolveMethod Method() const { return method_; }
    void SetMethod(SolveMethod method) { method_ = method; }
    // Why the last build was not solved by the chosen method (a dual simplex
    // from a start that is not dual feasible); empty otherwise.
    std::string MethodRefusal() const;

    PivotRule Rule() const { return problem.Rule; }
    void SetRule(PivotRule rule) { problem.Rule = rule; }

    // Built from the text now typed, without fault.
    bool Ready() const { return problem.ProblemReady && error.empty(); }
    // Ready and the method has not ended: a pivot may be made.
    bool Running() const { return Ready() && !Ended(problem.Stage); }
    SolveStage Stage() const { return problem.Stage; }
    // A press of the search is building or stepping a node.
    bool Searching() const { return searching_; }
    // The first node's optimum, whose sensitivity an integer problem shows.
    const ProblemState* Relaxation() const;
    // There is an optimum to analyse: the problem's, or for an integer
    // problem its relaxation's.
    bool Optimal() const;
    // The analysis of that optimum (of the relaxation once a search started),
    // made at the first request and kept until the problem state changes.
    // Only while Optimal().
    const SensitivityReport& Sensitivity() const;
    // The dual of that optimum's problem solved to its optimum, kept with
    // the analysis; false when it has none.
    bool DualOptimum(double& objective) const;
    // How many analyses and dual solves were made: a kept one is not made again.
    int SensitivityAnalyses() const { return analyses_; }

private:
    // The integer search and all that was kept of its nodes.
    void ForgetSearch();
    bool IntegerAhead(const TypedText& typed, ProblemText& text, ProblemModel& model) const;
    // Where a press goes: to the integer search going on or to one the
    // typed text asks for (started here; with onlyFromOptimum nowhere when
    // an ended solution is no optimum), else to the simplex.
    SolveRun PressGoesTo(const TypedText& typed, bool onlyFromOptimum);
    void PressSearch(NodeSolveHost& host);

    // A press that builds takes the chosen method.
    void TakeMethodWhenBuilding(SolveRun run);

    // A line appended as one step of the history, shown through the host.
    void AppendAsStep(ModelLine line, SolveHost& host);
    // One press of the cutting planes: the build, a pivot, or a cut.
    void PressCuts(NodeSolveHost& host);
    void SettleCuts();

    SolveMethod method_ = SolveMethod::Compact;
    IntegerMethod integerMethod_ = IntegerMethod::BranchAndBound;
    std::vector<GomoryCut> cuts_;
    std::string cutRefusal_;
    bool cutting_ = false, cutsStopped_ = false, changePending_ = false, nodesFromParent_ = false;
    // The lines added to the current solve, to take back with their steps.
    std::vector<AddedMark> added_;
    bool searching_ = false;
    mutable std::optional<SensitivityReport> sensitivity_;
    // The dual's optimum, when solved: whether it has one, and its value.
    mutable std::optional<std::pair<bool, double>> dual_;
    mutable int analyses_ = 0;
    // The last text read that asks for no integer search, in its arithmetic:
    // every press of "Paso a paso" on it would read it whole again.
    mutable std::optional<std::pair<ProblemText, bool>> noIntegers_;
};

} // namespace optimara
