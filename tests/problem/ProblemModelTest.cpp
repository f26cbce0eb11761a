// SPDX-License-Identifier: GPL-3.0-or-later
// The problem model between the text and the tableau: the tableau built from
// it is the tableau the build rules give, bit for bit, and every row and
// column knows where it came from.
#include <random>

#include "Comparison.h"
#include "TestHelpers.h"
#include "TextRules.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

// The build rules step by step, growing the tableau a row and a column at a
// time, for texts without faults: the reference the model's tableau must match.
struct Reference {
    MatrixR T{1, 1};
    std::vector<std::string> names;
    std::vector<int32_t> marks;
};

uint32_t Column(const Reference& r, const std::string& name) {
    for (uint32_t j = 0; j < r.names.size(); ++j)
        if (text::FoldedName(r.names[j]) == text::FoldedName(name)) return j + 1;
    return 0;
}

double Flip(double v) { return v == 0 ? 0.0 : -v; }

void ReferenceLine(Reference& r, const std::string& raw, BuildReport& report) {
    const std::string s = text::WithoutBlanks(raw);
    const int L = static_cast<int>(s.size());
    if (L == 0 || s[0] == ';') return;
    uint32_t extra = 0;
    r.T.AddRow(r.T.rows - 1, 0);
    int pos = 1;
    while (!text::IsRelation(text::CharAt(s, pos, L))) {
        const double c = ScanNumber(s, pos, L, false, 0, report);
        const std::string name = ScanVariable(s, pos, L, 0, report);
        uint32_t j = Column(r, name);
        if (j == 0) r.T.AddCol(r.T.cols - 1, 0), r.names.push_back(name), j = r.T.cols - 1;
        r.T.Index(r.T.rows - 1, j) = c;
        if (text::CharAt(s, pos, L) == ',') ++extra, ++pos, r.T.AddRow(r.T.rows - 1, 0);
    }
    const int rel = text::CharAt(s, pos++, L);
    const double b = ScanNumber(s, pos, L, true, 0, report);
    const uint32_t last = r.T.rows - 1, first = last - extra;
    for (uint32_t i = first; i <= last; ++i) {
        r.T.Index(i, r.T.cols) = Flip(b);
        if (rel == '>')
            for (uint32_t j = 1; j <= r.T.cols; ++j) r.T.Index(i, j) = Flip(r.T.Index(i, j));
    }
    for (uint32_t i = first; rel == '=' && i <= last + extra; i += 2) {
        r.T.AddRow(i, 0);
        for (uint32_t j = 1; j <= r.T.cols; ++j) r.T.Index(i + 1, j) = Flip(r.T.Index(i, j));
    }
}

Reference ReferenceBuild(const ProblemText& text) {
    Reference r;
    BuildReport report;
    const std::string obj = text::WithoutBlanks(text.objective);
    for (int pos = 1, L = static_cast<int>(obj.size()); pos <= L;) {
        const double c = ScanNumber(obj, pos, L, false, -1, report);
        r.T.AddCol(r.T.cols - 1, text.comboIndex == 0 ? Flip(c) : c == 0 ? 0.0 : c);
        r.names.push_back(ScanVariable(obj, pos, L, -1, report));
    }
    for (const std::string& line : text.lines) ReferenceLine(r, line, report);
    EXPECT_EQ(report.errorPanel, "");
    std::vector<uint32_t> signRows;
    r.marks.assign(r.T.cols - 1, 0);
    for (uint32_t i = 1; i < r.T.rows; ++i) {
        uint32_t count = 0, at = 0;
        for (uint32_t j = 1; j < r.T.cols; ++j)
            if (r.T.Index(i, j) != 0) ++count, at = j;
        if (r.T.Index(i, r.T.cols) == 0 && count == 1 && r.T.Index(i, at) < 0) signRows.push_back(i), r.marks[at - 1] = 1;
    }
    for (auto i = signRows.rbegin(); i != signRows.rend(); ++i) r.T.DelRow(*i);
    for (uint32_t j = 1; j <= r.marks.size(); ++j) {
        if (r.marks[j - 1] != 0) continue;
        r.marks.insert(r.marks.begin() + j, 0);
        r.names.insert(r.names.begin() + j, r.names[j - 1]);
        r.T.AddCol(j, 0);
        for (uint32_t i = 1; i <= r.T.rows; ++i) r.T.Index(i, j + 1) = Flip(r.T.Index(i, j));
        ++j;
    }
    SnapTableau(r.T);
    return r;
}

void ExpectSameTableau(const ProblemText& text, const std::string& what) {
    ProblemState state;
    BuildReport report;
    BuildProblem(state, text, report);
    ASSERT_EQ(report.errorPanel, "") << what;
    const Reference r = ReferenceBuild(text);
    EXPECT_TRUE(SameBits(state.Tableau, r.T)) << what;
    EXPECT_EQ(state.Names, r.names) << what;
    EXPECT_EQ(ColumnOf(state.SignMarks), r.marks) << what;
    EXPECT_EQ(state.Model.rows.size(), state.Tableau.rows - 1) << what;
    EXPECT_EQ(state.Model.columns.size(), state.Tableau.cols - 1) << what;
}

TEST(ProblemModel, TableauIsBitIdenticalOnTheCatalogue) {
    for (const catalogue::KnownProblem& p : catalogue::Problems())
        ExpectSameTableau({p.comboIndex, p.objective, p.lines}, p.name);
}

TEST(ProblemModel, TableauIsBitIdenticalOnTheGeneratedFamilies) {
    for (const Family& family : Families()) {
        std::mt19937 rng(4242u);
        for (int k = 0; k < 25; ++k) {
            const TypedProblem p = family.make(rng);
            ExpectSameTableau(p.text, std::string(family.name) + ": " + Describe(p));
        }
    }
}

// Where each row comes from and what its slack is called.
struct OriginCase {
    std::vector<std::string> lines;
    std::vector<std::string> slacks;     // per tableau row
    std::vector<bool> negated;           // per tableau row
    size_t bounds;                       // sign rows taken as bounds
    std::vector<bool> negativeParts;     // per tableau column
};

TEST(ProblemModel, RowsAndColumnsKnowWhereTheyCameFrom) {
    const std::vector<OriginCase> cases = {
        {{"x+y<4", "x>0", "x-y>1"}, {"h1", "h2"}, {false, true}, 1, {false, false, true}},
        {{"x,y=1", "x>0", "y>0"}, {"h1", "h1'", "h2", "h2'"}, {false, true, false, true}, 2, {false, false}},
        // «x=0»: the second row is a sign row, the first stays.
        {{"x=0", "y<2"}, {"h1", "h2"}, {false, false}, 1, {false, false, true}},
        {{"; comment", "x>0", "y>0", "x+y>2", "x<3"}, {"h1", "h2"}, {true, false}, 2, {false, false}},
    };
    for (const OriginCase& c : cases) {
        ProblemState state;
        BuildReport report;
        BuildProblem(state, {0, "x+y", c.lines}, report);
        ASSERT_EQ(report.errorPanel, "");
        EXPECT_EQ(SlackNames(state.Model), c.slacks) << c.lines[0];
        std::vector<bool> negated, parts;
        for (const RowOrigin& row : state.Model.rows) negated.push_back(row.negated);
        for (const ColumnOrigin& col : state.Model.columns) parts.push_back(col.negativePart);
        EXPECT_EQ(negated, c.negated) << c.lines[0];
        EXPECT_EQ(state.Model.bounds.size(), c.bounds) << c.lines[0];
        EXPECT_EQ(parts, c.negativeParts) << c.lines[0];
        EXPECT_FALSE(state.Model.maximize);
        EXPECT_TRUE(state.Model.integers.empty());
    }
}

} // namespace
} // namespace optimara::testing
