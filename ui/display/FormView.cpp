// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormView.h"

#include "ArtificialTexts.h"
#include "Display.h"
#include "Notation.h"
#include "WorkedNumbers.h"

namespace optimara {
namespace {

constexpr const char* kMinus = "\xE2\x88\x92";  // U+2212, the minus between terms

inline bool Negative(double x) { return x < 0; }
inline bool Negative(const mpq_class& x) { return sgn(x) < 0; }
inline bool Zero(double x) { return x == 0; }
inline bool Zero(const mpq_class& x) { return sgn(x) == 0; }

// A number standing alone, its sign as the minus of the terms.
template <class Num>
std::string Signed(const Num& x, const NumberText& t) {
    return Negative(x) ? kMinus + Text(Num(-x), t) : Text(x, t);
}

// "3x - y + (1/2)z": zero terms left out, a coefficient 1 unwritten, a
// fraction in brackets so that it does not read as a division by the name.
template <class Num>
void AppendTerm(std::string& out, const Num& coef, const std::string& name, const NumberText& t) {
    if (Zero(coef)) return;
    const bool negative = Negative(coef);
    if (out.empty()) out += negative ? kMinus : "";
    else out += negative ? std::string(" ") + kMinus + " " : " + ";
    std::string magnitude = Text(Num(negative ? Num(-coef) : coef), t);
    if (magnitude == "1") magnitude.clear();
    else if (magnitude.find('/') != std::string::npos) magnitude = "(" + magnitude + ")";
    out += magnitude + name;
}

template <class Num>
std::vector<std::string> StandardLines(const BasicStandardForm<Num>& f, const NumberText& t) {
    std::vector<std::string> lines;
    std::string objective;
    for (uint32_t j = 0; j < f.n; ++j) AppendTerm(objective, f.cost[j], f.names[j], t);
    lines.push_back(std::string(f.maximize ? "Maximizar" : "Minimizar") + " z = " + (objective.empty() ? "0" : objective));
    for (size_t i = 0; i < f.rows.size(); ++i) {
        std::string row;
        for (uint32_t j = 0; j < f.n; ++j) AppendTerm(row, f.rows[i].coef[j], f.names[j], t);
        AppendTerm(row, Num(f.rows[i].slackSign), f.names[f.n + i], t);
        lines.push_back(row + " = " + Signed(f.rows[i].rhs, t));
    }
    std::string all;
    for (const std::string& name : f.names) all += (all.empty() ? "" : ", ") + name;
    if (!all.empty()) lines.push_back(all + " ≥ 0");
    for (const auto& [name, column] : f.splits)
        lines.push_back(name + " = " + f.names[column - 1] + " " + kMinus + " " + f.names[column] + " (" + name +
                        " libre)");
    return lines;
}

FormMark CellMark(int8_t mark) {
    return mark == 2 ? FormMark::Pivot : mark == 1 ? FormMark::Candidate : FormMark::None;
}

template <class Num>
std::string RatioText(const BasicFullTableau<Num>& f, uint32_t r, const NumberText& t) {
    const BasicFullRatio<Num>& q = f.ratios[r - 1];
    switch (q.kind) {
    case FullRatioKind::Limits: return Text(q.value, t);
    case FullRatioKind::Driving: return Text(q.value, t) + " (se hace factible)";
    case FullRatioKind::NotPositive: return "— (entrada ≤ 0)";
    case FullRatioKind::AboveDriving:
        return Negative(f.solution[r - 1]) ? "— (Solución < 0, primera fase: más tarde)" : "— (primera fase: no cuenta)";
    }
    return "";
}

// The dual simplex's quotients, one per column under the rows; the
// entering column's is marked as it enters.
template <class Num>
void DualRatioRow(const BasicFullTableau<Num>& f, const NumberText& t, FormTable& table) {
    std::vector<std::string> row{"Cociente"};
    std::vector<FormMark> marks{FormMark::Heading};
    for (uint32_t v = 1; v <= f.width; ++v) {
        const BasicFullRatio<Num>& q = f.dualRatios[v - 1];
        row.push_back(q.kind == FullRatioKind::Limits ? Text(q.value, t) : "—");
        marks.push_back(v == f.pivotCol ? FormMark::Entering : FormMark::None);
    }
    row.emplace_back();
    marks.push_back(FormMark::None);
    table.rows.push_back(std::move(row));
    table.marks.push_back(std::move(marks));
}

template <class Num>
FormTable FullTable(const BasicFullTableau<Num>& f, const NumberText& t) {
    FormTable table;
    table.kind = "completa";
    const bool ratios = !f.ratios.empty();
    table.headings.push_back("Básica");
    table.headings.insert(table.headings.end(), f.headings.begin(), f.headings.end());
    table.headings.push_back("Solución");
    if (ratios) table.headings.push_back("Cociente");
    table.headingMarks.assign(table.headings.size(), FormMark::Heading);
    if (f.pivotCol != 0) table.headingMarks[f.pivotCol] = FormMark::Entering;
    // Big M writes every z entry as a·M + b; phase 1 adds its w row under z.
    const bool bigM = !f.zM.empty();
    std::vector<std::string> z{"z"};
    for (size_t j = 0; j < f.z.size(); ++j) z.push_back(bigM ? BigMText(f.zM[j], f.z[j], t) : Text(f.z[j], t));
    z.push_back(bigM ? BigMText(f.zValueM, f.zValue, t) : Text(f.zValue, t));
    if (ratios) z.emplace_back();
    table.rows.push_back(std::move(z));
    table.marks.emplace_back(table.headings.size(), FormMark::None);
    table.marks.back()[0] = FormMark::Heading;
    if (!f.w.empty()) {
        std::vector<std::string> w{"w"};
        for (const Num& d : f.w) w.push_back(Text(d, t));
        w.push_back(Text(f.wValue, t));
        if (ratios) w.emplace_back();
        table.rows.push_back(std::move(w));
        table.marks.emplace_back(table.headings.size(), FormMark::None);
        table.marks.back()[0] = FormMark::Heading;
    }
    for (uint32_t r = 1; r <= f.m; ++r) {
        std::vector<std::string> row{f.headings[f.basic[r - 1] - 1]};
        std::vector<FormMark> marks{FormMark::Heading};
        for (uint32_t c = 1; c <= f.width; ++c) {
            const int8_t mark = f.Mark(r, c);
            // Half the cells are the zeros of the basic columns.
            const Num& x = f.At(r, c);
            row.push_back((mark == 2 ? "**" : mark == 1 ? "*" : "") + (Zero(x) ? std::string("0") : Text(x, t)));
            marks.push_back(CellMark(mark));
        }
        row.push_back(Text(f.solution[r - 1], t));
        marks.push_back(FormMark::None);
        if (ratios) {
            row.push_back(RatioText(f, r, t));
            marks.push_back(r == f.pivotRow ? FormMark::Leaving : FormMark::None);
        }
        table.rows.push_back(std::move(row));
        table.marks.push_back(std::move(marks));
    }
    if (!f.dualRatios.empty()) DualRatioRow(f, t, table);
    return table;
}

template <class Num>
void DictionaryLines(const BasicDictionary<Num>& d, const NumberText& t, FormText& out) {
    for (const auto& line : d.lines) {
        std::string text = (line.variable == 0 ? std::string("z") : d.names[line.variable - 1]) + " = " +
                           Signed(line.constant, t);
        for (const auto& [v, coef] : line.terms) {
            std::string term;
            AppendTerm(term, coef, d.names[v - 1], t);
            if (term.empty()) continue;
            text += term.rfind(kMinus, 0) == 0 ? " " + std::string(kMinus) + " " + term.substr(3) : " + " + term;
        }
        out.lines.push_back(std::move(text));
        const bool leaves = line.variable != 0 && line.variable == d.leaving;
        const bool enters = line.variable == 0 && d.entering != 0;
        out.notes.push_back(leaves ? "← sale " + d.names[d.leaving - 1]
                            : enters ? "← entra " + d.names[d.entering - 1]
                                     : "");
        out.lineMarks.push_back(leaves ? FormMark::Leaving : enters ? FormMark::Entering : FormMark::None);
    }
}

// A table of labelled rows, every cell unmarked but the labels.
FormTable Labelled(const char* kind, const char* caption, std::vector<std::string> headings) {
    FormTable table;
    table.kind = kind;
    table.caption = caption;
    table.headings = std::move(headings);
    table.headingMarks.assign(table.headings.size(), FormMark::Heading);
    return table;
}

void AddRow(FormTable& table, std::vector<std::string> row) {
    std::vector<FormMark> marks(row.size(), FormMark::None);
    marks[0] = FormMark::Heading;
    table.rows.push_back(std::move(row));
    table.marks.push_back(std::move(marks));
}

template <class Num>
std::vector<std::string> Texts(std::string label, const std::vector<Num>& values, const NumberText& t) {
    std::vector<std::string> row{std::move(label)};
    for (const Num& x : values) row.push_back(Text(x, t));
    return row;
}

template <class Num>
void MatrixTables(const BasicMatrixForm<Num>& f, const NumberText& t, FormText& out) {
    const uint32_t m = f.m, n = static_cast<uint32_t>(f.names.size()) - m;
    std::vector<std::string> basics{""}, slacks{""};
    for (uint32_t v : f.basic) basics.push_back(f.names[v - 1]);
    for (uint32_t k = 1; k <= m; ++k) slacks.push_back(f.names[n + k - 1]);
    // B beside the right-hand sides, one row per constraint.
    std::vector<std::string> withB = basics;
    withB.push_back("b");
    FormTable B = Labelled("base", "B | b", withB);
    FormTable inverse = Labelled("binversa", "B⁻¹", slacks);
    for (uint32_t k = 1; k <= m; ++k) {
        std::vector<std::string> row{slacks[k]}, inv{basics[k]};
        for (uint32_t c = 1; c <= m; ++c) {
            row.push_back(Text(f.BAt(k, c), t));
            inv.push_back(Text(f.InverseAt(k, c), t));
        }
        row.push_back(Text(f.b[k - 1], t));
        AddRow(B, std::move(row));
        AddRow(inverse, std::move(inv));
    }
    FormTable basis = Labelled("xb", "x_B = B⁻¹b", basics);
    AddRow(basis, Texts("x_B", f.xB, t));
    AddRow(basis, Texts("c_B", f.cB, t));
    std::vector<std::string> lines{""};
    std::vector<Num> duals;
    for (const auto& d : f.duals) {
        lines.push_back(d.text + " (" + d.slack + ")");
        duals.push_back(d.value);
    }
    FormTable y = Labelled("duales", "y = c_B B⁻¹", lines);
    AddRow(y, Texts("y", duals, t));
    std::vector<std::string> nonbasic{""};
    for (uint32_t v : f.nonbasic) nonbasic.push_back(f.names[v - 1]);
    FormTable reduced = Labelled("reducidos", "z_j − c_j = y a_j − c_j", nonbasic);
    AddRow(reduced, Texts("z_j − c_j", f.reduced, t));
    FormTable z = Labelled("valor", "z = c_B x_B", {"", "z"});
    AddRow(z, {"z", Text(f.z, t)});
    for (FormTable* table : {&B, &inverse, &basis, &y, &reduced, &z}) out.tables.push_back(std::move(*table));
}

template <class Num>
FormText Compute(const ProblemState& state, TableauForm form, const NumberText& t, bool withStandardForm) {
    FormText out;
    out.form = form;
    if (withStandardForm) out.standardForm = StandardLines(StandardFormOf<Num>(state), t);
    switch (form) {
    case TableauForm::Full: out.tables.push_back(FullTable(FullTableauOf<Num>(state), t)); break;
    case TableauForm::Dictionary: DictionaryLines(DictionaryOf<Num>(state), t, out); break;
    case TableauForm::Matrix:
        // B and its inverse are the problem's own basis: no artificial method reads it.
        if (UsesArtificials(state.Method)) return out;
        MatrixTables(MatrixFormOf<Num>(state, StandardFormOf<Num>(state)), t, out);
        break;
    case TableauForm::Compact: break;
    }
    out.filled = true;
    return out;
}

void Put(FormGrid& grid, int row, int col, std::string text, FormMark mark) {
    const size_t at = size_t(row) * size_t(grid.colCount) + size_t(col);
    grid.cells[at] = std::move(text);
    grid.marks[at] = mark;
}

void Shape(FormGrid& grid, int rows, int cols) {
    grid.rowCount = rows;
    grid.colCount = cols;
    grid.cells.assign(size_t(rows) * size_t(cols), std::string());
    grid.marks.assign(size_t(rows) * size_t(cols), FormMark::None);
}

FormGrid CompactGrid(ProblemState& state, const NumberText& t) {
    FormGrid grid;
    double point[3] = {0, 0, 0};
    TableauView view = ComputeTableauView(state, state.Model.maximize, true, t.floating, t.separator, point, true);
    Shape(grid, view.rowCount, view.colCount);
    grid.cells = std::move(view.cells);
    for (int r = 0; r < grid.rowCount; ++r)
        for (int c = 0; c < grid.colCount; ++c) {
            const std::string& text = grid.At(r, c);
            const FormMark mark = r == 0 || c == 0             ? FormMark::Heading
                                  : text.rfind("**", 0) == 0 ? FormMark::Pivot
                                  : text.rfind("*", 0) == 0  ? FormMark::Candidate
                                                             : FormMark::None;
            grid.marks[size_t(r) * size_t(grid.colCount) + size_t(c)] = mark;
        }
    grid.filled = view.filled;
    return grid;
}

} // namespace

const char* FormName(TableauForm form) {
    switch (form) {
    case TableauForm::Full: return "Completa (libro de texto)";
    case TableauForm::Dictionary: return "Diccionario";
    case TableauForm::Matrix: return "Matricial (B⁻¹)";
    default: return "Compacta";
    }
}

FormText ComputeFormText(const ProblemState& state, TableauForm form, const NumberText& numbers,
                         bool withStandardForm) {
    if (form == TableauForm::Compact || !FormsFit(state)) return {};
    return state.Exact ? Compute<mpq_class>(state, form, numbers, withStandardForm)
                       : Compute<double>(state, form, numbers, withStandardForm);
}

std::vector<std::string> StandardFormLines(const ProblemState& state, const NumberText& numbers) {
    if (!FormsFit(state)) return {};
    return state.Exact ? StandardLines(StandardFormOf<mpq_class>(state), numbers)
                       : StandardLines(StandardFormOf<double>(state), numbers);
}

FormGrid ComputeFormGrid(ProblemState& state, TableauForm form, const NumberText& numbers) {
    if (form == TableauForm::Compact) return CompactGrid(state, numbers);
    FormText text = ComputeFormText(state, form, numbers, false);
    FormGrid grid;
    if (!text.filled) return grid;
    grid.filled = true;
    if (form == TableauForm::Dictionary) {
        Shape(grid, static_cast<int>(text.lines.size()), 2);
        for (size_t k = 0; k < text.lines.size(); ++k) {
            Put(grid, int(k), 0, std::move(text.lines[k]), text.lineMarks[k]);
            Put(grid, int(k), 1, std::move(text.notes[k]), text.lineMarks[k]);
        }
        return grid;
    }
    int rows = -1, cols = 0;
    for (const FormTable& table : text.tables) {
        rows += static_cast<int>(table.rows.size()) + 2;
        cols = std::max(cols, static_cast<int>(table.headings.size()));
    }
    Shape(grid, rows, cols);
    int at = 0;
    for (FormTable& table : text.tables) {
        // A table without a caption of its own is headed by its first heading.
        for (size_t c = 0; c < table.headings.size(); ++c)
            Put(grid, at, int(c), c == 0 && !table.caption.empty() ? table.caption : table.headings[c],
                table.headingMarks[c]);
        for (size_t r = 0; r < table.rows.size(); ++r)
            for (size_t c = 0; c < table.rows[r].size(); ++c)
                Put(grid, at + 1 + int(r), int(c), std::move(table.rows[r][c]), table.marks[r][c]);
        at += static_cast<int>(table.rows.size()) + 2;
    }
    return grid;
}

std::string FormPlainText(const FormText& text) {
    std::string out;
    for (const std::string& line : text.standardForm) out += line + "\n";
    for (size_t k = 0; k < text.lines.size(); ++k)
        out += "\n" + text.lines[k] + (text.notes[k].empty() ? "" : "   " + text.notes[k]);
    for (const FormTable& table : text.tables) {
        out += "\n";
        if (!table.caption.empty()) out += table.caption + "\n";
        const auto row = [&out](const std::vector<std::string>& cells) {
            for (size_t c = 0; c < cells.size(); ++c) out += (c > 0 ? "\t" : "") + cells[c];
            out += "\n";
        };
        row(table.headings);
        for (const auto& r : table.rows) row(r);
    }
    return out;
}

void PutFormInView(TableauView& view, ProblemState& state, TableauForm form, const NumberText& numbers) {
    if (form == TableauForm::Compact || !view.filled) return;
    FormGrid grid = ComputeFormGrid(state, form, numbers);
    if (!grid.filled) return;
    // The grid has no colours: the leaving row's quotient says it leaves, as
    // the explanation's ratio table does.
    if (form == TableauForm::Full && grid.colCount > 0)
        for (int r = 1; r < grid.rowCount; ++r)
            if (grid.MarkAt(r, grid.colCount - 1) == FormMark::Leaving)
                grid.cells[size_t(r) * size_t(grid.colCount) + size_t(grid.colCount - 1)] += "  ← sale";
    view.rowCount = grid.rowCount;
    view.colCount = grid.colCount;
    view.cells = std::move(grid.cells);
}

} // namespace optimara
