// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pivots made since the first tableau of a problem, so that they can be
// taken back one by one and looked at again.
//
// Kept compactly: a full copy of the engine state at every kCheckpointEvery-th
// tableau and of the few latest ones, and for every step only the cell that
// was pivoted on. Any other tableau is found again by replaying the recorded
// pivots from the nearest copy before it; the pivot, the snap and the choice
// of the next pivot are deterministic, so the replay is bit for bit the
// tableau the user saw.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Simplex.h"

namespace optimara {

// What the window noted of one tableau: the stage it showed, whether the
// basic solution was feasible, the rule that chose its pivot (and the
// draw's rank), its objective cell, and the values of the first three
// problem variables (for the road on the picture).
struct StepNote {
    SolveStage stage = SolveStage::Building;
    bool atBuild = false;
    bool feasible = true;
    PivotRule rule = PivotRule::Random;
    int32_t draw = -1;
    double objective = 0.0;
    mpq_class exactObjective;  // the objective cell itself, in exact arithmetic
    int variables = 0;
    double point[3] = {0, 0, 0};
};

class StepHistory {
public:
    static constexpr size_t kCheckpointEvery = 64;
    static constexpr size_t kRecentKept = 4;

    // A new problem: its first tableau is tableau 0.
    void Start(const EngineState& first, StepNote note);
    void Clear();
    bool Started() const { return !notes_.empty(); }
    // Pivots made since the first tableau (the number of the current tableau).
    size_t Steps() const { return notes_.empty() ? 0 : notes_.size() - 1; }
    bool CanUndo() const { return Steps() > 0; }
    const std::vector<StepNote>& Notes() const { return notes_; }

    // The pivot the next step will make: the cell chosen for the current
    // tableau, by the rule or by the user (byHand), so that the explanation
    // credits the choice to whoever made it.
    PivotCell NextPivot() const { return next_; }
    bool NextByHand() const { return nextByHand_; }
    void SetNextPivot(PivotCell cell, bool byHand = false) {
        next_ = cell;
        nextByHand_ = byHand;
    }

    // A pivot on NextPivot() was made; `after` is the new current tableau.
    // With keepCopy the tableau is kept whole, so taking the next step back
    // costs one copy; without, only checkpoints are copied.
    void Record(const EngineState& after, StepNote note, bool keepCopy = true);
    // A step that is no pivot: the tableau itself changed (a row was
    // appended). It is kept whole for as long as it is in the history, so
    // that no replay ever crosses it; its pivot is row 0.
    void RecordChange(const EngineState& after, StepNote note);

    // Takes the last pivot back: `state` becomes the previous tableau
    // exactly as it was shown. Nothing happens without a step to undo.
    // Each replayed choice takes the rule it was made with; the state's
    // own rule is left as it was.
    void Undo(EngineState& state);

    // Every tableau from the first to the current one, in order, rebuilt in
    // `work` (whose other fields the caller sets up).
    void ForEachTableau(EngineState& work, const std::function<void(size_t, const EngineState&)>& visit) const;

    // Bytes held by the copies and the per-step records.
    size_t MemoryBytes() const;

private:
    struct Copy {
        MatrixR tableau{1, 1};
        MatrixQ exact{1, 1};  // kept only for an exact solve
        uint32_t labelRows = 1, labelCols = 1, markRows = 1, markCols = 1;
        std::vector<int32_t> labels, marks;
        int32_t candidates = 0;
        RandomGenerator random;
        SolveStage stage = SolveStage::Building;
        bool atBuild = false;
        int32_t draw = -1;
        ArtificialPart artificials;
        // The method is carried: a change may switch it, and the steps
        // replayed from a copy take the method they were made with.
        SolveMethod method = SolveMethod::Compact;
    };
    static Copy Take(const EngineState& state);
    static void Put(const Copy& copy, EngineState& state);
    template <typename State, typename Kept>
    static void CarryFields(State& state, Kept& copy);
    // Brings `state` from tableau `from` (already in it) to tableau `to`.
    void Replay(EngineState& state, size_t from, size_t to, std::map<size_t, Copy>* keep) const;
    void DropOldCopies();

    std::vector<StepNote> notes_;      // one per tableau
    std::vector<PivotCell> pivots_;    // pivots_[k]: the cell pivoted on to reach tableau k (k >= 1)
public:
    // The cell pivoted on to reach tableau k (row 0 for the first), and
    // whether the user chose it by hand.
    PivotCell PivotTo(size_t k) const { return k < pivots_.size() ? pivots_[k] : PivotCell{}; }
    bool ByHandTo(size_t k) const { return k < byHand_.size() && byHand_[k] != 0; }
private:
    std::vector<char> byHand_;         // byHand_[k]: pivots_[k] was chosen by the user
    std::map<size_t, Copy> copies_;    // tableau number -> whole state
    std::vector<size_t> changes_;      // the tableaux that are changes, in order; always copied
    PivotCell next_;
    bool nextByHand_ = false;
};

} // namespace optimara
