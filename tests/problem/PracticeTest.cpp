// SPDX-License-Identifier: GPL-3.0-or-later
// Practice: the student's choice checked against the rule, the typed next
// tableau checked cell by cell against tableaux worked by hand, each single
// wrong cell flagged where it is, and hints whose rule gives the engine's
// value.
#include <gtest/gtest.h>

#include <cstdio>

#include "SessionHost.h"

namespace optimara::testing {
namespace {

const ProblemText kTextbook{1, "3x+5y", {"x<4", "2y<12", "3x+2y<18", "x>0", "y>0"}};

TEST(Practice, TypedEntriesRead) {
    using F = TypedEntry::Fault;
    const struct {
        const char* text;
        const char* separator;
        bool bigM;
        F fault;
        mpq_class m, value;
    } rows[] = {
        {"3", ".", false, F::None, 0, 3},
        {" -2 ", ".", false, F::None, 0, -2},
        {"\xE2\x88\x92" "7/4", ".", false, F::None, 0, mpq_class(-7, 4)},
        {"1,25", ",", false, F::None, 0, mpq_class(5, 4)},
        {"1.25", ",", false, F::None, 0, mpq_class(5, 4)},
        {"2/0", ".", false, F::ZeroDenominator, 0, 0},
        {"", ".", false, F::Blank, 0, 0},
        {"3x", ".", false, F::Unreadable, 0, 0},
        {"1.2.3", ".", false, F::Unreadable, 0, 0},
        {"\xE2\x88\x92" "2M+3", ".", true, F::None, -2, 3},
        {"M", ".", true, F::None, 1, 0},
        {"3-1/2M", ".", true, F::None, mpq_class(-1, 2), 3},
        {"2M", ".", false, F::Unreadable, 0, 0},
        {"M+M", ".", true, F::Unreadable, 0, 0},
    };
    for (const auto& r : rows) {
        const TypedEntry t = ReadTypedEntry(r.text, r.separator, r.bigM);
        EXPECT_EQ(int(t.fault), int(r.fault)) << r.text;
        if (r.fault != F::None) continue;
        EXPECT_EQ(t.m, r.m) << r.text;
        EXPECT_EQ(t.value, r.value) << r.text;
    }
}

// The first pivot of Max 3x+5y worked by hand in both forms: y enters, h2
// leaves. Compact rows (x, h2, constant): the exchange; full rows the
// textbook's.
const std::vector<std::string> kCompactNext = {"1", "0", "-4", "0", "1/2", "-6", "3", "-1", "-6", "3", "-5/2", "30"};
const std::vector<std::string> kFullNext = {"-3", "0", "0", "5/2", "0", "30", "1", "0", "1", "0", "0", "4",
                                            "0",  "1", "0", "1/2", "0", "6",  "3", "0", "0", "-1", "1", "6"};

struct Started {
    SolveSession session;
    SessionHost host;
    Started(const ProblemText& text, bool exact, TableauForm form, SolveMethod method = SolveMethod::Compact)
        : host(session, text) {
        session.problem.Exact = exact;
        session.SetRule(PivotRule::LargestCoefficient);
        session.SetMethod(method);
        session.form = form;
        session.practice.SetOn(true);
        session.Step(host.Typed(), host);  // the build
    }
};

TEST(Practice, ChoicesAreCheckedAndTheRightTableauMakesTheStep) {
    for (const bool exact : {false, true})
        for (const TableauForm form : {TableauForm::Compact, TableauForm::Full}) {
            Started s(kTextbook, exact, form);
            const bool full = form == TableauForm::Full;
            // The press makes no step. x may enter too, but h1 limits it
            // first; a heading chooses the column again.
            s.session.Step(s.host.Typed(), s.host);
            EXPECT_EQ(s.session.Steps.Steps(), 0u);
            const int x = 1, y = 2, h1 = full ? 2 : 1, h2 = full ? 3 : 2, h3 = h2 + 1;
            using C = SolveSession::PracticeChoice;
            EXPECT_EQ(s.session.ChooseInPractice(h2, x, false), C::Column);
            EXPECT_EQ(s.session.ChooseInPractice(h2, x, false), C::Refused);
            EXPECT_EQ(s.session.ChooseInPractice(h3, x, false), C::Refused);
            EXPECT_EQ(s.session.ChooseInPractice(0, y, false), C::Column);
            EXPECT_EQ(s.session.ChooseInPractice(h1, y, false), C::Refused);
            EXPECT_EQ(s.session.ChooseInPractice(h2, y, false), C::Row);
            const PracticeGrid& next = s.session.practice.Next();
            EXPECT_EQ(next.Label(full ? 3 : 2, 0), "y");
            std::vector<std::string> typed = full ? kFullNext : kCompactNext;
            typed[0] = "7";
            EXPECT_FALSE(s.session.CheckPractice(typed, ".", s.host).Right());
            typed = full ? kFullNext : kCompactNext;
            EXPECT_TRUE(s.session.CheckPractice(typed, ".", s.host).Right());
            EXPECT_EQ(s.session.Steps.Steps(), 1u);
            EXPECT_EQ(s.session.practice.Steps(), 1u);
            EXPECT_EQ(s.session.practice.WrongAtFirstTry(), 1u);
            EXPECT_EQ(s.session.practice.Stage(), PracticeStage::Column);
        }
}

// Every cell of the next tableau, wrong alone, is flagged alone; its hint's
// rule, worked from the numbers it names, gives the engine's value. Across
// forms, number types and methods, on the textbook problem and on one that
// needs artificial variables.
TEST(Practice, EachSingleWrongCellIsFlaggedAndItsHintRuleGivesItsValue) {
    const ProblemText textbookMin{0, "2x+3y", {"x+y>4", "x+3y>6", "x>0", "y>0"}};
    const struct {
        const ProblemText* text;
        SolveMethod method;
    } cases[] = {{&kTextbook, SolveMethod::Compact}, {&textbookMin, SolveMethod::TwoPhases},
                 {&textbookMin, SolveMethod::BigM}, {&textbookMin, SolveMethod::DualSimplex}};
    for (const auto& c : cases)
        for (const bool exact : {false, true})
            for (const TableauForm form : {TableauForm::Compact, TableauForm::Full}) {
                Started s(*c.text, exact, form, c.method);
                const PivotCell chosen = ChosenCell(s.session.problem.PivotMarks);
                ASSERT_TRUE(s.session.practice.ChooseCell(s.session.problem, chosen));
                const PracticeGrid& next = s.session.practice.Next();
                ASSERT_FALSE(next.cells.empty());
                const auto text = [](const mpq_class& m, const mpq_class& value) {
                    return m == 0 ? value.get_str() : m.get_str() + "M" + (value >= 0 ? "+" : "") + value.get_str();
                };
                for (size_t k = 0; k < next.cells.size(); ++k) {
                    std::vector<std::string> typed;
                    for (const PracticeCell& cell : next.cells) typed.push_back(text(cell.m, cell.value));
                    typed[k] = text(next.cells[k].m, next.cells[k].value + 1);
                    const PracticeCheck check = s.session.practice.Check(typed, ".", exact);
                    ASSERT_EQ(check.wrong, std::vector<int>{int(k)}) << int(c.method) << exact << int(form);
                    PracticeHint hint = s.session.practice.Hint();
                    ASSERT_EQ(hint.cell, int(k));
                    hint = s.session.practice.Hint();
                    EXPECT_EQ(hint.level, hint.kind == PracticeHint::Kind::Changed ? 3 : 2);
                    const mpq_class& p = hint.pivot;
                    mpq_class value, m;
                    switch (hint.kind) {
                    case PracticeHint::Kind::Pivot: value = 1 / p; break;
                    case PracticeHint::Kind::PivotRow: value = hint.now / p, m = hint.nowM / p; break;
                    case PracticeHint::Kind::PivotColumn: value = -hint.now / p, m = -hint.nowM / p; break;
                    case PracticeHint::Kind::Rectangle:
                        value = hint.now - hint.rowEntry * hint.colEntry / p;
                        m = hint.nowM - hint.rowEntryM * hint.colEntry / p;
                        break;
                    case PracticeHint::Kind::Changed: continue;
                    }
                    if (exact) {
                        EXPECT_EQ(value, next.cells[k].value) << k;
                        EXPECT_EQ(m, next.cells[k].m) << k;
                    } else {
                        EXPECT_NEAR(value.get_d(), next.cells[k].value.get_d(), 1e-9) << k;
                    }
                    EXPECT_EQ(s.session.practice.Hint().level, 3);
                }
            }
}

// Floating point accepts a typed decimal within a relative 1e-9 and no
// further; exact arithmetic accepts only the exact number.
TEST(Practice, ToleranceInFloatingPointOnly) {
    const ProblemText ugly{1, "x+y", {"3x+7y<10", "9x+y<11", "x>0", "y>0"}};
    for (const bool exact : {false, true}) {
        Started s(ugly, exact, TableauForm::Compact);
        ASSERT_TRUE(s.session.practice.ChooseCell(s.session.problem, ChosenCell(s.session.problem.PivotMarks)));
        const PracticeGrid& next = s.session.practice.Next();
        for (const double error : {1e-12, 1e-6}) {
            std::vector<std::string> typed;
            for (const PracticeCell& cell : next.cells) {
                char text[64];
                std::snprintf(text, sizeof text, "%.17g", cell.value.get_d() * (1 + error) + (cell.value == 0 ? error : 0));
                typed.push_back(text);
            }
            const bool right = s.session.practice.Check(typed, ".", exact).Right();
            EXPECT_EQ(right, !exact && error < 1e-9) << exact << error;
        }
    }
}

} // namespace
} // namespace optimara::testing
