// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepHistory.h"

#include <algorithm>
#include <iterator>

namespace optimara {
namespace {

// One field carried between the state and a copy: from whichever side is
// const to the other.
template <typename T>
void Carry(const T& from, T& to) {
    to = from;
}
template <typename T>
void Carry(T& to, const T& from) {
    to = from;
}

void Carry(const MatrixZ& from, uint32_t& rows, uint32_t& cols, std::vector<int32_t>& to) {
    rows = from.rows;
    cols = from.cols;
    to.assign(from.RowData(1), from.RowData(1) + static_cast<size_t>(rows) * cols);
}

void Carry(MatrixZ& to, const uint32_t& rows, const uint32_t& cols, const std::vector<int32_t>& from) {
    to.Redefine(rows, cols);
    std::copy(from.begin(), from.end(), to.RowData(1));
}

} // namespace

// The fields a copy keeps, listed once for both ways: Take carries them
// from the state (const) into the copy, Put from the copy (const) back.
// The rule, the readiness and the arithmetic stay the state's own.
template <typename State, typename Kept>
void StepHistory::CarryFields(State& s, Kept& copy) {
    Carry(s.Tableau, copy.tableau);
    if (s.Exact) Carry(s.ExactTableau, copy.exact);
    Carry(s.Labels, copy.labelRows, copy.labelCols, copy.labels);
    Carry(s.PivotMarks, copy.markRows, copy.markCols, copy.marks);
    Carry(s.CandidateCount, copy.candidates);
    Carry(s.Random, copy.random);
    Carry(s.Stage, copy.stage);
    Carry(s.AtBuild, copy.atBuild);
    Carry(s.LastDraw, copy.draw);
    Carry(s.Artificials, copy.artificials);
    Carry(s.Method, copy.method);
}

StepHistory::Copy StepHistory::Take(const EngineState& s) {
    Copy copy;
    CarryFields(s, copy);
    // A copy put back is shown: it keeps its doubles.
    if (s.RoundedBehind) copy.tableau = s.ExactTableau.ToReal();
    return copy;
}

void StepHistory::Put(const Copy& copy, EngineState& s) {
    CarryFields(s, copy);
    s.RoundedBehind = false;
}

void StepHistory::Start(const EngineState& first, StepNote note) {
    Clear();
    notes_.push_back(std::move(note));
    pivots_.push_back({});
    byHand_.push_back(0);
    copies_.emplace(0, Take(first));
    next_ = ChosenCell(first.PivotMarks);
    nextByHand_ = false;
}

void StepHistory::Clear() {
    notes_.clear();
    changes_.clear();
    pivots_.clear();
    byHand_.clear();
    copies_.clear();
    next_ = {};
    nextByHand_ = false;
}

void StepHistory::Record(const EngineState& after, StepNote note, bool keepCopy) {
    if (!Started()) return;
    notes_.push_back(std::move(note));
    pivots_.push_back(next_);
    byHand_.push_back(nextByHand_ ? 1 : 0);
    const size_t k = Steps();
    if (keepCopy || k % kCheckpointEvery == 0) copies_.insert_or_assign(k, Take(after));
    DropOldCopies();
    next_ = ChosenCell(after.PivotMarks);
    nextByHand_ = false;
}

void StepHistory::RecordChange(const EngineState& after, StepNote note) {
    if (!Started()) return;
    SetNextPivot({});
    changes_.push_back(Steps() + 1);
    Record(after, std::move(note), true);
}

void StepHistory::DropOldCopies() {
    const size_t head = Steps();
    while (!changes_.empty() && changes_.back() > head) changes_.pop_back();
    for (auto it = copies_.begin(); it != copies_.end();) {
        const bool checkpoint = it->first % kCheckpointEvery == 0 ||
                                std::find(changes_.begin(), changes_.end(), it->first) != changes_.end();
        const bool recent = it->first + kRecentKept >= head;
        it = checkpoint || recent ? std::next(it) : copies_.erase(it);
    }
}

void StepHistory::Replay(EngineState& s, size_t from, size_t to, std::map<size_t, Copy>* keep) const {
    const PivotRule current = s.Rule;
    for (size_t k = from + 1; k <= to; ++k) {
        // The same step the solve button made, on the cell it pivoted on,
        // and the next choice by the rule it was made with.
        ChoosePivotCell(s.PivotMarks, pivots_[k]);
        s.Rule = notes_[k].rule;
        NextStep(s);
        if (keep) keep->insert_or_assign(k, Take(s));
    }
    s.Rule = current;
}

void StepHistory::Undo(EngineState& state) {
    if (!CanUndo()) return;
    const size_t target = Steps() - 1;
    notes_.pop_back();
    pivots_.pop_back();
    byHand_.pop_back();
    copies_.erase(target + 1);
    auto base = std::prev(copies_.upper_bound(target));
    const size_t from = base->first;
    Put(base->second, state);
    // The copies made on the way make the following steps back cheap.
    std::map<size_t, Copy> made;
    Replay(state, from, target, &made);
    copies_.merge(made);
    DropOldCopies();
    // The tableau comes back with the rule's own choice, as it was first shown.
    next_ = ChosenCell(state.PivotMarks);
    nextByHand_ = false;
}

void StepHistory::ForEachTableau(EngineState& work,
                                 const std::function<void(size_t, const EngineState&)>& visit) const {
    if (!Started()) return;
    // Each tableau is shown with the pivot that was made on it, drawn or
    // chosen by the user.
    Put(copies_.at(0), work);
    for (size_t k = 0;; ++k) {
        if (k < Steps()) ChoosePivotCell(work.PivotMarks, pivots_[k + 1]);
        visit(k, work);
        if (k == Steps()) break;
        auto copy = copies_.find(k + 1);
        if (copy != copies_.end()) Put(copy->second, work);
        else Replay(work, k, k + 1, nullptr);
    }
}

size_t StepHistory::MemoryBytes() const {
    size_t bytes = notes_.capacity() * sizeof(StepNote) + pivots_.capacity() * sizeof(PivotCell) +
                   byHand_.capacity();
    for (const auto& [k, copy] : copies_) {
        (void)k;
        bytes += sizeof(Copy) + static_cast<size_t>(copy.tableau.Capacity()) * sizeof(double) +
                 (copy.labels.capacity() + copy.marks.capacity()) * sizeof(int32_t);
    }
    return bytes;
}

} // namespace optimara
