// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "StepHistory.h"
#include "support/MatrixRows.h"

using namespace optimara;
using namespace optimara::testing;

namespace {

// max sum c_j x_j with x_j <= u_j and a few dense rows that never bind:
// every pivot brings one variable to its bound, so the solution takes n
// steps, more than two checkpoints' worth for n = 150.
void BoxProblem(EngineState& s, uint32_t n, uint32_t seed) {
    std::mt19937 rng(seed);
    const uint32_t m = n + 3;
    s.Tableau.Redefine(m + 1, n + 1);
    for (uint32_t i = 1; i <= n; ++i) {
        s.Tableau.Index(i, i) = 1;
        s.Tableau.Index(i, n + 1) = -static_cast<double>(1 + rng() % 9);
    }
    for (uint32_t i = n + 1; i <= m; ++i) {
        for (uint32_t j = 1; j <= n; ++j) s.Tableau.Index(i, j) = (rng() % 7) / 3.0;
        s.Tableau.Index(i, n + 1) = -1e6;
    }
    for (uint32_t j = 1; j <= n; ++j) s.Tableau.Index(m + 1, j) = 1 + (rng() % 5) / 7.0;
    s.Labels.Redefine(m + n, 1);
    for (uint32_t i = 1; i <= m + n; ++i) s.Labels.Index(i, 1) = static_cast<int32_t>(i);
    SnapTableau(s.Tableau);
    SelectPivot(s.Tableau, s.PivotMarks, s.CandidateCount, s.Random);
}

struct Bits {
    std::vector<std::vector<double>> tableau;
    std::vector<int32_t> labels;
    std::vector<std::vector<int32_t>> marks;
    int32_t candidates;
    uint32_t random;
};

Bits Take(const EngineState& s) {
    return {RowsOf(s.Tableau), ColumnOf(s.Labels), MarksOf(s.PivotMarks), s.CandidateCount, s.Random.state};
}

void ExpectSame(const EngineState& s, const Bits& b, const MatrixR& tableau) {
    EXPECT_TRUE(SameBits(s.Tableau, tableau));
    EXPECT_EQ(ColumnOf(s.Labels), b.labels);
    EXPECT_EQ(MarksOf(s.PivotMarks), b.marks);
    EXPECT_EQ(s.CandidateCount, b.candidates);
    EXPECT_EQ(s.Random.state, b.random);
}

// One solve step as the solve button makes it, with a chosen cell now and then.
void Step(EngineState& s, StepHistory& h, std::mt19937& rng, bool keepCopy) {
    std::vector<PivotCell> candidates;
    for (uint32_t r = 1; r <= s.PivotMarks.rows; ++r)
        for (uint32_t c = 1; c <= s.PivotMarks.cols; ++c)
            if (s.PivotMarks.Index(r, c) == 1) candidates.push_back({r, c});
    if (!candidates.empty() && rng() % 3 == 0) {
        const PivotCell cell = candidates[rng() % candidates.size()];
        ASSERT_TRUE(ChoosePivotCell(s.PivotMarks, cell));
        h.SetNextPivot(cell);
    }
    // Now and then the user picks another rule for the next choice; the
    // note keeps the rule each choice was made with.
    if (rng() % 5 == 0) s.Rule = static_cast<PivotRule>(rng() % 3);
    NextStep(s);
    StepNote note;
    note.rule = s.Rule;
    h.Record(s, note, keepCopy);
}

TEST(StepHistory, UndoReplaysEveryTableauExactlyAcrossCheckpoints) {
    for (bool keepCopy : {true, false}) {
        EngineState s;
        BoxProblem(s, 150, 7);
        StepHistory h;
        h.Start(s, {});
        std::vector<Bits> seen{Take(s)};
        std::vector<MatrixR> tableaux{s.Tableau};
        std::mt19937 rng(11);
        while (s.CandidateCount > 0) {
            Step(s, h, rng, keepCopy);
            seen.push_back(Take(s));
            tableaux.push_back(s.Tableau);
        }
        ASSERT_GT(h.Steps(), 2 * StepHistory::kCheckpointEvery);
        // Only checkpoints and the latest tableaux are kept whole.
        const size_t wholeBytes = tableaux[0].Capacity() * sizeof(double);
        EXPECT_LT(h.MemoryBytes(), 20 * wholeBytes);
        // Every tableau visited in order, as it was.
        size_t visited = 0;
        EngineState work;
        h.ForEachTableau(work, [&](size_t k, const EngineState& t) {
            EXPECT_TRUE(SameBits(t.Tableau, tableaux[k])) << k;
            EXPECT_EQ(ColumnOf(t.Labels), seen[k].labels) << k;
            ++visited;
        });
        EXPECT_EQ(visited, seen.size());
        // Going back replays each choice with its own rule and leaves the
        // rule the user has now.
        s.Rule = PivotRule::LargestCoefficient;
        for (size_t k = seen.size() - 1; k > 0; --k) {
            h.Undo(s);
            EXPECT_EQ(s.Rule, PivotRule::LargestCoefficient);
            SCOPED_TRACE(k - 1);
            ExpectSame(s, seen[k - 1], tableaux[k - 1]);
            EXPECT_EQ(h.Steps(), k - 1);
        }
        EXPECT_FALSE(h.CanUndo());
        h.Undo(s);  // nothing left: nothing changes
        ExpectSame(s, seen[0], tableaux[0]);
    }
}

TEST(StepHistory, ChoosingTakesOnlyCandidates) {
    MatrixZ marks(2, 3);
    marks.Index(1, 1) = 1;
    marks.Index(2, 2) = 2;
    marks.Index(1, 3) = 0;
    EXPECT_FALSE(ChoosePivotCell(marks, {1, 3}));
    EXPECT_FALSE(ChoosePivotCell(marks, {3, 1}));
    EXPECT_FALSE(ChoosePivotCell(marks, {0, 0}));
    EXPECT_EQ(ChosenCell(marks), (PivotCell{2, 2}));
    EXPECT_TRUE(ChoosePivotCell(marks, {1, 1}));
    EXPECT_EQ(MarksOf(marks), (std::vector<std::vector<int32_t>>{{2, 0, 0}, {0, 1, 0}}));
    EXPECT_TRUE(ChoosePivotCell(marks, {1, 1}));  // already chosen
    EXPECT_EQ(ChosenCell(marks), (PivotCell{1, 1}));
}

TEST(StepHistory, NothingIsRecordedBeforeAStart) {
    EngineState s;
    StepHistory h;
    h.Record(s, {});
    EXPECT_FALSE(h.Started());
    EXPECT_EQ(h.Steps(), 0u);
    StepNote note;
    note.stage = SolveStage::Optimal;
    h.Start(s, note);
    EXPECT_EQ(h.Notes().back().stage, SolveStage::Optimal);
    h.Clear();
    EXPECT_FALSE(h.Started());
}

} // namespace
