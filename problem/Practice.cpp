// SPDX-License-Identifier: GPL-3.0-or-later
#include "Practice.h"

#include <algorithm>
#include <cctype>

#include "BranchAndBound.h"

namespace optimara {
namespace {

mpq_class Exactly(double x) { return mpq_class(x); }
const mpq_class& Exactly(const mpq_class& x) { return x; }

// "−" (U+2212) reads as "-"; blanks go.
std::string Plain(const std::string& text) {
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text.compare(k, 3, "\xE2\x88\x92") == 0) {
            out += '-';
            k += 2;
        } else if (!std::isspace(static_cast<unsigned char>(text[k]))) {
            out += text[k];
        }
    }
    return out;
}

// An unsigned decimal or fraction: "12", "1.5", "3/2", "2.5/3".
bool ReadMagnitude(const std::string& s, const std::string& separator, mpq_class& out, bool& zeroDenominator) {
    const size_t slash = s.find('/');
    const auto decimal = [&separator](std::string part, mpq_class& value) {
        if (!separator.empty() && separator != ".")
            for (size_t at = part.find(separator); at != std::string::npos; at = part.find(separator))
                part.replace(at, separator.size(), ".");
        const size_t point = part.find('.');
        std::string digits = point == std::string::npos ? part : part.substr(0, point) + part.substr(point + 1);
        if (digits.empty() || part.find('.', point == std::string::npos ? part.size() : point + 1) != std::string::npos)
            return false;
        for (char c : digits)
            if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        mpz_class whole(digits, 10), scale = 1;
        if (point != std::string::npos)
            for (size_t k = point + 1; k < part.size(); ++k) scale *= 10;
        value = mpq_class(whole, scale);
        value.canonicalize();
        return true;
    };
    if (slash == std::string::npos) return decimal(s, out);
    mpq_class top, bottom;
    if (!decimal(s.substr(0, slash), top) || !decimal(s.substr(slash + 1), bottom)) return false;
    if (bottom == 0) {
        zeroDenominator = true;
        return false;
    }
    out = top / bottom;
    return true;
}

// A signed term: "-3/2", "+M", "2M", "-1.5M".
bool ReadTerm(const std::string& s, const std::string& separator, bool& isM, mpq_class& out, bool& zero) {
    if (s.empty()) return false;
    size_t at = 0;
    int sign = 1;
    if (s[0] == '+' || s[0] == '-') {
        sign = s[0] == '-' ? -1 : 1;
        at = 1;
    }
    std::string body = s.substr(at);
    isM = !body.empty() && (body.back() == 'M' || body.back() == 'm');
    if (isM) body.pop_back();
    if (body.empty()) {
        if (!isM) return false;
        out = sign;
        return true;
    }
    if (!ReadMagnitude(body, separator, out, zero)) return false;
    if (sign < 0) out = -out;
    return true;
}

template <class Num>
void FullGrid(const ProblemState& state, PracticeGrid& g) {
    const BasicFullTableau<Num> f = FullTableauOf<Num>(state);
    const bool w = !f.w.empty();
    g.bigM = !f.zM.empty();
    g.full = true;
    g.rows = int(2 + (w ? 1 : 0) + f.m);
    g.cols = int(f.width + 2);
    g.labels.assign(size_t(g.rows) * size_t(g.cols), std::string());
    const auto label = [&g](int r, int c, std::string text) { g.labels[size_t(r) * size_t(g.cols) + size_t(c)] = std::move(text); };
    label(0, 0, "Básica");
    for (uint32_t v = 1; v <= f.width; ++v) label(0, int(v), f.headings[v - 1]);
    label(0, g.cols - 1, "Solución");
    const auto cell = [&g](int r, int c, const Num& value, const Num& m) {
        g.cells.push_back({r, c, Exactly(m), Exactly(value)});
    };
    label(1, 0, "z");
    for (uint32_t v = 1; v <= f.width; ++v) cell(1, int(v), f.z[v - 1], g.bigM ? f.zM[v - 1] : Num(0));
    cell(1, g.cols - 1, f.zValue, g.bigM ? f.zValueM : Num(0));
    if (w) {
        label(2, 0, "w");
        for (uint32_t v = 1; v <= f.width; ++v) cell(2, int(v), f.w[v - 1], Num(0));
        cell(2, g.cols - 1, f.wValue, Num(0));
    }
    for (uint32_t r = 1; r <= f.m; ++r) {
        const int row = int(r) + (w ? 2 : 1);
        label(row, 0, f.headings[f.basic[r - 1] - 1]);
        for (uint32_t v = 1; v <= f.width; ++v) cell(row, int(v), f.At(r, v), Num(0));
        cell(row, g.cols - 1, f.solution[r - 1], Num(0));
    }
}

template <class Matrix>
void CompactGrid(const ProblemState& state, const Matrix& T, PracticeGrid& g) {
    const uint32_t n = T.cols - 1, m = ConstraintRows(state);
    const std::vector<std::string> names = FormVariableNames(state);
    const auto name = [&](uint32_t position) { return NameAtPosition(names, state.Labels, position); };
    g.rows = int(T.rows + 1);
    g.cols = int(T.cols + 1);
    g.labels.assign(size_t(g.rows) * size_t(g.cols), std::string());
    for (uint32_t c = 1; c <= n; ++c) g.labels[c] = name(c);
    for (uint32_t r = 1; r <= m; ++r) g.labels[size_t(r) * size_t(g.cols)] = name(n + r);
    // The artificial methods' added row, named as the grid names it.
    if (state.Artificials.extraRows != 0)
        g.labels[size_t(m + 1) * size_t(g.cols)] =
            state.Method == SolveMethod::BigM ? "M" : state.Artificials.phase == 1 ? "w" : "(w)";
    for (uint32_t r = 1; r <= T.rows; ++r)
        for (uint32_t c = 1; c <= T.cols; ++c) g.cells.push_back({int(r), int(c), 0, Exactly(T.Index(r, c))});
}

bool Near(const mpq_class& typed, const mpq_class& expected) {
    const double e = expected.get_d(), t = typed.get_d();
    return std::abs(t - e) <= 1e-9 * std::max(1.0, std::abs(e));
}

} // namespace

TypedEntry ReadTypedEntry(const std::string& text, const std::string& separator, bool bigM) {
    TypedEntry out;
    const std::string s = Plain(text);
    if (s.empty()) return out;
    out.fault = TypedEntry::Fault::Unreadable;
    // Split into signed terms at every sign after the first character.
    std::vector<std::string> terms;
    size_t start = 0;
    for (size_t k = 1; k <= s.size(); ++k)
        if (k == s.size() || ((s[k] == '+' || s[k] == '-') && s[k - 1] != '/')) {
            terms.push_back(s.substr(start, k - start));
            start = k;
        }
    if (terms.size() > 2) return out;
    bool seenM = false, seenPlain = false;
    for (const std::string& term : terms) {
        bool isM = false, zero = false;
        mpq_class value;
        if (!ReadTerm(term, separator, isM, value, zero)) {
            if (zero) out.fault = TypedEntry::Fault::ZeroDenominator;
            return out;
        }
        if (isM && (!bigM || seenM)) return out;
        if (!isM && seenPlain) return out;
        (isM ? out.m : out.value) = value;
        (isM ? seenM : seenPlain) = true;
    }
    out.fault = TypedEntry::Fault::None;
    return out;
}

int PracticeGrid::Find(int row, int col) const {
    for (size_t k = 0; k < cells.size(); ++k)
        if (cells[k].row == row && cells[k].col == col) return int(k);
    return -1;
}

PracticeGrid PracticeGridOf(const ProblemState& state, TableauForm form) {
    PracticeGrid g;
    if (form != TableauForm::Compact && FormsFit(state)) {
        if (state.Exact) FullGrid<mpq_class>(state, g);
        else FullGrid<double>(state, g);
    } else if (state.Exact) {
        CompactGrid(state, state.ExactTableau, g);
    } else {
        CompactGrid(state, state.Tableau, g);
    }
    return g;
}

PracticeCheck CheckTyped(const PracticeGrid& expected, const std::vector<std::string>& typed,
                         const std::string& separator, bool exact) {
    PracticeCheck check;
    for (size_t k = 0; k < expected.cells.size(); ++k) {
        const TypedEntry t = ReadTypedEntry(k < typed.size() ? typed[k] : std::string(), separator, expected.bigM);
        const PracticeCell& e = expected.cells[k];
        const bool right = t.fault == TypedEntry::Fault::None &&
                           (exact ? t.m == e.m && t.value == e.value : Near(t.m, e.m) && Near(t.value, e.value));
        if (right) continue;
        if (check.first < 0) {
            check.first = int(k);
            check.firstFault = t.fault;
            check.firstTyped = t.value;
            check.firstTypedM = t.m;
        }
        check.wrong.push_back(int(k));
    }
    return check;
}

bool CandidateCell(const ProblemState& state, PivotCell cell) {
    const MatrixZ& marks = state.PivotMarks;
    if (state.Stage != SolveStage::Choosing || state.CandidateCount == 0) return false;
    if (cell.row == 0 || cell.row > marks.rows || cell.col == 0 || cell.col > marks.cols) return false;
    const int32_t mark = marks.Index(cell.row, cell.col);
    return mark == 1 || mark == 2;
}

bool CandidateColumn(const ProblemState& state, uint32_t col) {
    for (uint32_t r = 1; r <= state.PivotMarks.rows; ++r)
        if (CandidateCell(state, {r, col})) return true;
    return false;
}

void Practice::SetOn(bool on) {
    on_ = on;
    Restart();
}

void Practice::Restart() {
    steps_ = wrongFirst_ = hints_ = 0;
    NewTableau();
}

void Practice::NewTableau() {
    stage_ = PracticeStage::Column;
    row_ = col_ = 0;
    now_ = next_ = PracticeGrid{};
    check_ = PracticeCheck{};
    checked_ = false;
    hintCell_ = -1;
    hintLevel_ = 0;
    last_ = PracticeEvent{};
}

bool Practice::ChooseColumn(const ProblemState& state, uint32_t col) {
    if (stage_ == PracticeStage::Typing || !CandidateColumn(state, col)) return false;
    col_ = col;
    row_ = 0;
    stage_ = PracticeStage::Row;
    return true;
}

bool Practice::ChooseRow(const ProblemState& state, uint32_t row) {
    if (stage_ != PracticeStage::Row || !CandidateCell(state, {row, col_})) return false;
    row_ = row;
    Target(state);
    return true;
}

bool Practice::ChooseCell(const ProblemState& state, PivotCell cell) {
    if (stage_ == PracticeStage::Typing || !CandidateCell(state, cell)) return false;
    col_ = cell.col;
    row_ = cell.row;
    Target(state);
    return true;
}

void Practice::Target(const ProblemState& state) {
    // The engine's own next tableau, from a copy pivoted on the choice.
    ProblemState next;
    CopyProblemState(state, next);
    ChoosePivotCell(next.PivotMarks, {row_, col_});
    NextStep(next);
    now_ = PracticeGridOf(state, form_);
    next_ = PracticeGridOf(next, form_);
    // The full grid's columns are the variables, its rows z (and w) first.
    pivotRow_ = int(row_) + (now_.full ? now_.rows - 1 - int(ConstraintRows(state)) : 0);
    pivotCol_ = now_.full ? int(state.Labels.Index(col_, 1)) : int(col_);
    stage_ = PracticeStage::Typing;
    ++targets_;
    checked_ = false;
    hintCell_ = -1;
    hintLevel_ = 0;
}

const PracticeCheck& Practice::Check(const std::vector<std::string>& typed, const std::string& separator, bool exact) {
    check_ = CheckTyped(next_, typed, separator, exact);
    if (!checked_) wrongFirst_ += check_.wrong.size();
    checked_ = true;
    return check_;
}

PracticeHint Practice::Hint() {
    PracticeHint hint;
    const int cell = checked_ && check_.first >= 0 ? check_.first : 0;
    if (next_.cells.empty()) return hint;
    hintLevel_ = cell == hintCell_ ? std::min(hintLevel_ + 1, 3) : 1;
    hintCell_ = cell;
    ++hints_;
    hint.cell = cell;
    hint.level = hintLevel_;
    const PracticeCell& target = next_.cells[size_t(cell)];
    // A phase that ends changes the tableau's shape: no rule maps its cells.
    if (now_.rows != next_.rows || now_.cols != next_.cols || now_.cells.size() != next_.cells.size()) {
        hint.kind = PracticeHint::Kind::Changed;
        if (hint.level == 2) hint.level = hintLevel_ = 3;
        return hint;
    }
    const int pr = pivotRow_, pc = pivotCol_;
    const auto at = [this](int r, int c) -> const PracticeCell& { return now_.cells[size_t(now_.Find(r, c))]; };
    const PracticeCell& here = at(target.row, target.col);
    hint.now = here.value;
    hint.nowM = here.m;
    hint.pivot = at(pr, pc).value;
    hint.rowEntry = at(target.row, pc).value;
    hint.rowEntryM = at(target.row, pc).m;
    hint.colEntry = at(pr, target.col).value;
    hint.colEntryM = at(pr, target.col).m;
    // The compact tableau exchanges the pivot's two variables; the full one
    // divides the pivot's row and clears the rest of its column.
    if (target.row == pr && target.col == pc && !now_.full) hint.kind = PracticeHint::Kind::Pivot;
    else if (target.row == pr) hint.kind = PracticeHint::Kind::PivotRow;
    else if (target.col == pc && !now_.full) hint.kind = PracticeHint::Kind::PivotColumn;
    else hint.kind = PracticeHint::Kind::Rectangle;
    return hint;
}

} // namespace optimara
