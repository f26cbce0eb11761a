// SPDX-License-Identifier: GPL-3.0-or-later
// From the typed text to the problem model, and from the model to the rows
// of the tableau.
#include "ProblemModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>
#include <unordered_map>

#include "BuildProblem.h"
#include "ErrorTexts.h"
#include "TextRules.h"

namespace optimara {
namespace {

using text::CharAt;

// Lines and terms hold no rational: growing their vectors moves them.
static_assert(std::is_nothrow_move_constructible_v<ModelLine>);
static_assert(std::is_nothrow_move_constructible_v<ModelTerm>);

// A cell that becomes zero is stored as +0, never -0, so that a negated
// or sign-flipped zero cannot show up as "-0" in the first tableau.
inline double Stored(double v) { return v == 0.0 ? 0.0 : v; }

struct Reader {
    ProblemModel& model;
    BuildReport& report;
    // Folded name -> variable index + 1; 0 for a name from before this
    // reading, which the objective reports as a duplicate and a constraint
    // takes as new.
    std::unordered_map<std::string, uint32_t> index;
    // Per variable, the number of the last left side it was placed in.
    std::vector<uint32_t> placedIn;
    uint32_t side = 0;
    // The number of terms of the last side read.
    size_t lastTerms = 0;
    // The variables of the last side read, in order: a dense text names
    // them in the same order line after line, so the name found there
    // needs no lookup.
    std::vector<uint32_t> lastOrder;
    // The «entero:» lines, checked once every name of the text is known:
    // the list (blank-free, after the colon) and the line's number.
    std::vector<std::pair<std::string, int>> integerLines;
    // Per variable, whether an «entero:» line named it already.
    std::vector<char> integer;
};

bool Failed(const Reader& r) { return !r.report.errorPanel.empty(); }

bool Fail(Reader& r, const char* message, int source) {
    ReportSyntaxError(r.report, message, source);
    return false;
}

uint32_t AddVariable(Reader& r, const std::string& name) {
    r.model.variables.push_back({name, false});
    r.placedIn.push_back(0);
    const auto v = static_cast<uint32_t>(r.model.variables.size() - 1);
    r.index[text::FoldedName(name)] = v + 1;
    return v;
}

// The number at pos and its text. The floating reader computes its value
// as it scans; the exact one only finds its end and takes the text's
// nearest double. Either way no rational is made here.
inline bool ReadNumber(Reader& r, const std::string& s, int& pos, int L, bool required, int source, double& value,
                       std::string_view& text) {
    const int start = pos;
    if (r.model.exact) SkipNumber(s, pos, L, required, source, r.report);
    else value = ScanNumber(s, pos, L, required, source, r.report);
    if (Failed(r)) return false;
    text = std::string_view(s.data() + (start - 1), size_t(pos - start));
    if (r.model.exact) value = NearestDoubleOf(text);
    return true;
}

bool ReadObjective(Reader& r, const ProblemText& problem) {
    const std::string s = text::WithoutBlanks(problem.objective);
    const int L = static_cast<int>(s.size());
    if (L == 0) return Fail(r, kNothingToOptimize, -1);
    int pos = 1;
    do {
        double c = 0;
        std::string_view number;
        if (!ReadNumber(r, s, pos, L, false, -1, c, number)) return false;
        r.model.objective.push_back(c);
        r.model.objectiveText.emplace_back(number);
        if (pos > L) return Fail(r, kError4, -1);
        const std::string name = ScanVariable(s, pos, L, -1, r.report);
        if (Failed(r)) return false;
        if (r.index.count(text::FoldedName(name)) != 0) return Fail(r, kError5, -1);
        AddVariable(r, name);
    } while (pos <= L);
    return true;
}

// Puts c·name into the side being read, adding a variable for a new name.
bool PlaceTerm(Reader& r, ModelSide& side, const std::string& name, double c, uint32_t at, int k) {
    const size_t t = side.terms.size();
    uint32_t v = 0;
    if (t < r.lastOrder.size() && r.model.variables[r.lastOrder[t]].name == name) {
        // The same spelling is the same folded name, which stands for this variable.
        v = r.lastOrder[t];
        if (r.placedIn[v] == r.side) return Fail(r, kError16Duplicate, k);
    } else if (const auto found = r.index.find(text::FoldedName(name)); found == r.index.end() || found->second == 0) {
        v = AddVariable(r, name);
    } else {
        v = found->second - 1;
        if (r.placedIn[v] == r.side) return Fail(r, kError16Duplicate, k);
    }
    r.placedIn[v] = r.side;
    side.terms.push_back({v, at, c});
    return true;
}

void NoteSideRead(Reader& r, const ModelSide& side) {
    r.lastTerms = side.terms.size();
    r.lastOrder.resize(side.terms.size());
    for (size_t t = 0; t < side.terms.size(); ++t) r.lastOrder[t] = side.terms[t].variable;
}

// The list after «entero:» or «enteros:», or nothing for any other line.
// Such a line has no relation, so no line that reads today starts so.
bool IntegerList(const std::string& s, std::string& list) {
    // Only the line's start can be the word: a long line is not folded whole.
    const std::string folded = text::FoldedName(s.substr(0, 8));
    for (const char* word : {"entero:", "enteros:"}) {
        const std::string w = word;
        if (folded.compare(0, w.size(), w) == 0) {
            list = s.substr(w.size());
            return true;
        }
    }
    return false;
}

// Marks the listed variables integer; each name must be one of the text's.
bool ReadIntegers(Reader& r, const std::string& list, int k) {
    if (list.empty()) return Fail(r, kError18, k);
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (name.empty()) return Fail(r, kError18, k);
        const auto found = r.index.find(text::FoldedName(name));
        if (found == r.index.end() || found->second == 0) return Fail(r, kError17, k);
        const uint32_t v = found->second - 1;
        // Marked, not searched for: a list of thousands of names stays linear.
        if (r.integer.size() < r.model.variables.size()) r.integer.resize(r.model.variables.size(), 0);
        if (!r.integer[v]) r.model.integers.push_back(v);
        r.integer[v] = 1;
        if (comma == std::string::npos) return true;
        start = comma + 1;
    }
}

bool ReadLine(Reader& r, const std::string& raw, int k) {
    const std::string s = text::WithoutBlanks(raw);
    const int L = static_cast<int>(s.size());
    if (L == 0 || s[0] == ';') return true;
    std::string list;
    if (IntegerList(s, list)) {
        r.integerLines.emplace_back(list, k);
        return true;
    }
    ModelLine& line = r.model.lines.emplace_back();
    line.source = k;
    // Room for as many terms as the last side had: dense lines grow no vector.
    line.sides.emplace_back().terms.reserve(r.lastTerms);
    ++r.side;
    int pos = 1, sideStart = 1;
    std::string_view number;
    while (!text::IsRelation(CharAt(s, pos, L))) {
        double c = 0;
        const auto at = static_cast<uint32_t>(pos - sideStart);
        if (!ReadNumber(r, s, pos, L, false, k, c, number)) return false;
        if (pos > L) return Fail(r, kError6, k);
        const std::string name = ScanVariable(s, pos, L, k, r.report);
        if (Failed(r)) return false;
        if (pos > L) return Fail(r, kError7, k);
        // A floating value is 0 only for a number of zeros; an exact one
        // may be 0 for a number too small for a double.
        if (r.model.exact ? TextSign(number) == 0 : c == 0.0) return Fail(r, kError15, k);
        if (!PlaceTerm(r, line.sides.back(), name, c, at, k)) return false;
        if (CharAt(s, pos, L) == ',') {
            line.sides.back().text = s.substr(size_t(sideStart - 1), size_t(pos - sideStart));
            NoteSideRead(r, line.sides.back());
            line.sides.emplace_back().terms.reserve(r.lastTerms);
            ++r.side;
            sideStart = ++pos;
            // Written without a selection; the next check of the error text
            // ends the reading (or a fault in the right-hand side replaces it).
            if (pos > L)
                r.report.errorPanel = kError9;
            else if (text::IsRelation(CharAt(s, pos, L)))
                r.report.errorPanel = kError10;
        }
    }
    line.sides.back().text = s.substr(size_t(sideStart - 1), size_t(pos - sideStart));
    NoteSideRead(r, line.sides.back());
    const int rel = CharAt(s, pos, L);
    ++pos;
    double rhs = 0;
    std::string_view rhsText;
    if (!ReadNumber(r, s, pos, L, true, k, rhs, rhsText)) return false;
    if (pos <= L) return Fail(r, kError11, k);
    line.relation = static_cast<char>(rel);
    line.rhs = rhs;
    line.rhsText = rhsText;
    return true;
}

// The rows of one side as read: one, or two for an "=" side.
template <typename Visit>
void ForEachRowOfLine(const ModelLine& line, uint32_t l, Visit visit) {
    for (uint32_t s = 0; s < line.sides.size(); ++s) {
        visit(RowOrigin{l, s, line.relation == '>', false});
        if (line.relation == '=') visit(RowOrigin{l, s, true, true});
    }
}

template <typename Visit>
void ForEachRowAsRead(const ProblemModel& model, Visit visit) {
    for (uint32_t l = 0; l < model.lines.size(); ++l) ForEachRowOfLine(model.lines[l], l, visit);
}

// A row c·x >= 0 with c > 0 only says that x is non-negative.
// In exact arithmetic the signs are the typed numbers' own, which a double
// may have lost (a constant of 1e-400 is no zero).
bool IsSignRow(const ProblemModel& model, const RowOrigin& row, uint32_t& variable) {
    const ModelLine& line = model.lines[row.line];
    const ModelSide& side = line.sides[row.side];
    if (line.relation == 0 || side.terms.size() != 1) return false;
    variable = side.terms[0].variable;
    if (model.exact) return TextSign(line.rhsText) == 0 && (row.negated ? -1 : 1) * TextSign(TermText(side, side.terms[0])) < 0;
    return RowConstant(model, row) == 0.0 && RowCell(model, row, variable) < 0.0;
}

// A term's cell in one of its line's rows; a line whose reading failed
// keeps its terms as typed.
double TermCell(const ModelLine& line, const RowOrigin& row, const ModelTerm& t) {
    return line.relation == 0 ? t.coef : Stored(row.negated ? -t.coef : t.coef);
}

size_t ColumnCount(const ProblemModel& model) {
    return std::max(model.variables.size(), model.objective.size());
}

double ObjectiveCell(const ProblemModel& model, uint32_t variable) {
    if (variable >= model.objective.size()) return 0.0;
    const double c = model.objective[variable];
    return Stored(model.maximize ? c : -c);
}

} // namespace

void ReadModel(ProblemModel& model, const ProblemText& problem, const std::vector<std::string>& earlier,
               BuildReport& report, bool exact) {
    model = ProblemModel{};
    model.exact = exact;
    model.maximize = problem.comboIndex != 0;
    model.lines.reserve(problem.lines.size());
    Reader r{model, report, {}, {}, 0, 0, {}, {}, {}};
    for (const std::string& old : earlier) r.index.emplace(text::FoldedName(old), 0);
    if (!ReadObjective(r, problem)) return;
    // The lines mostly name the variables in the objective's order.
    for (uint32_t v = 0; v < model.variables.size(); ++v) r.lastOrder.push_back(v);
    for (size_t k = 0; k < problem.lines.size(); ++k)
        if (!ReadLine(r, problem.lines[k], static_cast<int>(k))) return;
    for (const auto& [list, k] : r.integerLines)
        if (!ReadIntegers(r, list, k)) return;
    // Kept in the order of the names, the order branching looks at them.
    std::sort(model.integers.begin(), model.integers.end());
    if (model.lines.empty()) ReportSyntaxError(report, kError16NoConstraints, 0);
}

double RowCell(const ProblemModel& model, const RowOrigin& row, uint32_t variable) {
    const ModelLine& line = model.lines[row.line];
    for (const ModelTerm& t : line.sides[row.side].terms)
        if (t.variable == variable) return TermCell(line, row, t);
    return 0.0;
}

double RowConstant(const ProblemModel& model, const RowOrigin& row) {
    const ModelLine& line = model.lines[row.line];
    if (line.relation == 0) return 0.0;
    return Stored(row.negated ? line.rhs : -line.rhs);
}

void CompleteModel(ProblemModel& model) {
    model.readRows.clear();
    model.rows.clear();
    model.bounds.clear();
    model.slackNames.clear();
    int number = 0;
    for (uint32_t l = 0; l < model.lines.size(); ++l) {
        const ModelLine& line = model.lines[l];
        uint32_t lastSide = UINT32_MAX;
        ForEachRowOfLine(line, l, [&](const RowOrigin& row) {
            model.readRows.push_back(row);
            uint32_t v = 0;
            if (IsSignRow(model, row, v)) {
                model.bounds.push_back({row, v});
                model.variables[v].nonNegative = true;
                return;
            }
            if (row.side != lastSide) ++number, lastSide = row.side;
            model.rows.push_back(row);
            model.slackNames.push_back("h" + std::to_string(number) + (row.second ? "'" : ""));
        });
    }
    model.columns.clear();
    for (uint32_t v = 0; v < model.variables.size(); ++v) {
        model.columns.push_back({v, false});
        if (!model.variables[v].nonNegative) model.columns.push_back({v, true});
    }
    model.complete = true;
}

MatrixR RowsAsRead(const ProblemModel& model) {
    const auto n = static_cast<uint32_t>(ColumnCount(model));
    std::vector<RowOrigin> rows;
    ForEachRowAsRead(model, [&](const RowOrigin& row) { rows.push_back(row); });
    MatrixR T(static_cast<uint32_t>(rows.size()) + 1, n + 1);
    for (uint32_t i = 1; i <= rows.size(); ++i) {
        const RowOrigin& row = rows[i - 1];
        for (const ModelTerm& t : model.lines[row.line].sides[row.side].terms)
            T.Index(i, t.variable + 1) = TermCell(model.lines[row.line], row, t);
        T.Index(i, n + 1) = RowConstant(model, row);
    }
    for (uint32_t j = 1; j <= n; ++j) T.Index(T.rows, j) = ObjectiveCell(model, j - 1);
    return T;
}

mpq_class ExactTermCell(const ModelLine& line, const RowOrigin& row, const ModelTerm& t) {
    mpq_class c = TermValue(line.sides[row.side], t);
    if (line.relation != 0 && row.negated) mpq_neg(c.get_mpq_t(), c.get_mpq_t());
    return c;
}

mpq_class ExactConstant(const ModelLine& line, const RowOrigin& row) {
    if (line.relation == 0) return 0;
    mpq_class c = ExactNumber(line.rhsText);
    if (!row.negated) mpq_neg(c.get_mpq_t(), c.get_mpq_t());
    return c;
}

namespace {

// The objective's exact cell, with the same sign as the floating one.
mpq_class ExactObjectiveCell(const ProblemModel& model, uint32_t variable) {
    if (variable >= model.objectiveText.size()) return 0;
    mpq_class c = ExactNumber(model.objectiveText[variable]);
    if (!model.maximize) mpq_neg(c.get_mpq_t(), c.get_mpq_t());
    return c;
}

// The tableau over any number: a variable's first column, a free
// variable's negative part right after it, negated.
template <class Matrix, class Term, class Constant, class Objective>
Matrix TableauOf(const ProblemModel& model, Term term, Constant constant, Objective objective) {
    const auto m = static_cast<uint32_t>(model.rows.size()), n = static_cast<uint32_t>(model.columns.size());
    std::vector<uint32_t> first(model.variables.size(), 0);
    for (uint32_t j = n; j >= 1; --j) first[model.columns[j - 1].variable] = j;
    Matrix T(m + 1, n + 1);
    const auto place = [&](uint32_t i, uint32_t v, const auto& cell) {
        const uint32_t j = first[v];
        T.Index(i, j) = cell;
        if (j < n && model.columns[j].variable == v) T.Index(i, j + 1) = -cell;
    };
    for (uint32_t i = 1; i <= m; ++i) {
        const RowOrigin& row = model.rows[i - 1];
        const ModelLine& line = model.lines[row.line];
        for (const ModelTerm& t : line.sides[row.side].terms) place(i, t.variable, term(line, row, t));
        T.Index(i, n + 1) = constant(line, row);
    }
    for (uint32_t v = 0; v < model.variables.size(); ++v) place(m + 1, v, objective(v));
    return T;
}

} // namespace

MatrixR TableauFromModel(const ProblemModel& model) {
    MatrixR T = TableauOf<MatrixR>(
        model, [](const ModelLine& line, const RowOrigin& row, const ModelTerm& t) { return TermCell(line, row, t); },
        [&](const ModelLine&, const RowOrigin& row) { return RowConstant(model, row); },
        [&](uint32_t v) { return ObjectiveCell(model, v); });
    // A negated zero is stored as +0, so that "-0" never shows.
    for (uint32_t i = 1; i <= T.rows; ++i)
        for (uint32_t j = 1; j <= T.cols; ++j) T.Index(i, j) = Stored(T.Index(i, j));
    return T;
}

MatrixQ ExactTableauFromModel(const ProblemModel& model) {
    return TableauOf<MatrixQ>(model, ExactTermCell, ExactConstant,
                              [&](uint32_t v) { return ExactObjectiveCell(model, v); });
}

mpq_class ExactNumber(std::string_view text) {
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    // The digits are gathered and converted once: thousands of them cost a
    // conversion, not one multiplication each.
    std::string digits;
    size_t fractionDigits = 0;
    bool any = false, fraction = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !fraction) {
            fraction = true;
            any = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        digits.push_back(c);
        if (fraction) ++fractionDigits;
        any = true;
    }
    if (!any) return negative ? mpq_class(-1) : mpq_class(1);
    mpz_class numerator = 0, scale = 1;
    if (!digits.empty()) numerator.set_str(digits, 10);
    mpz_ui_pow_ui(scale.get_mpz_t(), 10, static_cast<unsigned long>(fractionDigits));
    if (at + 1 < text.size() && text[at] == '/') scale *= mpz_class(std::string(text.substr(at + 1)), 10);
    mpq_class value(numerator, scale);
    value.canonicalize();
    if (negative) mpq_neg(value.get_mpq_t(), value.get_mpq_t());
    return value;
}

int TextSign(std::string_view text) {
    for (const char c : text) {
        if (c == '/') break;
        if (c >= '1' && c <= '9') return text[0] == '-' ? -1 : 1;
    }
    // No number at all is 1 or -1; only zeros, or a lone point, are zero.
    return text.find_first_of("0123456789.") != std::string_view::npos ? 0 : text.empty() || text[0] != '-' ? 1 : -1;
}

double NearestDoubleOf(std::string_view text) {
    // A plain decimal whose value is a normal double is converted directly,
    // rounded to nearest; anything else goes through its rational.
    const size_t at = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    double value = 0;
    const auto [end, fault] = std::from_chars(text.data() + at, text.data() + text.size(), value, std::chars_format::fixed);
    if (fault == std::errc() && end == text.data() + text.size() && std::fabs(value) >= std::numeric_limits<double>::min())
        return text[0] == '-' ? -value : value;
    if (fault == std::errc() && end == text.data() + text.size() && TextSign(text) == 0) return 0.0;
    const double nearest = NearestDouble(ExactNumber(text));
    return std::isinf(nearest) ? std::copysign(std::numeric_limits<double>::max(), nearest) : nearest;
}

std::vector<std::string> SlackNames(const ProblemModel& model) { return model.slackNames; }

std::string SideText(const ProblemModel& model, uint32_t l, uint32_t s) {
    const ModelLine& line = model.lines[l];
    return line.sides[s].text + line.relation + line.rhsText;
}

} // namespace optimara
