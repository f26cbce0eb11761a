// SPDX-License-Identifier: GPL-3.0-or-later
#include "Explanation.h"

#include <algorithm>
#include <cmath>

#include "Display.h"
#include "Notation.h"

namespace optimara {
namespace {

// The tableau the method works on, floating or exact, and how its numbers
// are written.
inline const MatrixR& Worked(const ProblemState& s, double) { return s.Tableau; }
inline const MatrixQ& Worked(const ProblemState& s, const mpq_class&) { return s.ExactTableau; }
inline std::string Text(double x, const NumberText& t) { return FormatNumber(x, t.floating, t.separator); }
inline std::string Text(const mpq_class& x, const NumberText& t) { return FormatExact(x, t.floating, t.separator); }

template <class Num>
struct Context {
    using Number_t = Num;
    const ProblemState& state;
    const NumberText& numbers;
    std::vector<std::string> names;
    uint32_t m, n;
    Context(const ProblemState& s, const NumberText& t)
        : state(s), numbers(t), names(VariableNames(s)), m(s.Tableau.rows - 1), n(s.Tableau.cols - 1) {}

    const auto& T() const { return Worked(state, Num()); }
    std::string Number(const Num& x) const { return Text(x, numbers); }
    Num Cell(uint32_t r, uint32_t c) const { return T().Index(r, c); }
    // The variable standing at a position (1..n columns, n+1..n+m rows).
    const std::string& At(uint32_t position) const {
        static const std::string unknown = "?";
        const int32_t v = state.Labels.Index(position, 1);
        return v >= 1 && static_cast<size_t>(v) <= names.size() ? names[static_cast<size_t>(v - 1)] : unknown;
    }
    const std::string& ColumnVariable(uint32_t col) const { return At(col); }
    const std::string& RowVariable(uint32_t row) const { return At(n + row); }
    std::string Row(uint32_t row) const { return "la fila " + std::to_string(row) + " (" + RowVariable(row) + ")"; }
    Num Shown(const Num& z, bool maximize) const { return maximize ? Num(z) : Num(-z); }
};

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) out += k + 1 == parts.size() ? " y " : ", ";
        out += parts[k];
    }
    return out;
}

inline double Magnitude(double x) { return std::fabs(x); }
inline mpq_class Magnitude(const mpq_class& x) { return abs(x); }

template <class Num>
const BasicEligibleColumn<Num>* FindColumn(const BasicPivotRecord<Num>& r, uint32_t col) {
    for (const auto& c : r.columns)
        if (c.col == col) return &c;
    return nullptr;
}

template <class Num>
std::string RuleSentence(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f, PivotCell chosen) {
    const size_t count = r.candidateRows.size();
    std::string s = std::string("Regla «") + RuleName(f.rule) + "»: ";
    switch (f.rule) {
    case PivotRule::Random:
        if (count == 1) return s + "hay una sola celda candidata.";
        s += "hay " + std::to_string(count) + " celdas candidatas empatadas (marcadas con *); ";
        if (f.draw >= 1 && static_cast<size_t>(f.draw) <= count && r.candidateRows[f.draw - 1] == chosen.row &&
            r.candidateCols[f.draw - 1] == chosen.col)
            return s + "el sorteo eligió la número " + std::to_string(f.draw) + ", contando fila por fila.";
        return s + "el pivote se eligió a mano.";
    case PivotRule::LargestCoefficient: {
        Num largest = 0;
        for (const auto& e : r.columns)
            if (Magnitude(e.reference) > largest) largest = Magnitude(e.reference);
        std::vector<std::string> tied;
        for (const auto& e : r.columns)
            if (Magnitude(e.reference) == largest) tied.push_back(c.ColumnVariable(e.col));
        s += "entra la columna de mayor coeficiente en valor absoluto";
        if (tied.size() > 1) s += " (empatan " + Join(tied) + ": se toma la de más a la izquierda)";
        return s + "; de las filas empatadas, la de más arriba.";
    }
    case PivotRule::SmallestIndex:
        return s + "entra, de las columnas que pueden entrar, la variable que va primero en el orden de las "
                   "variables y holguras; de las filas empatadas sale la variable que va primero.";
    }
    return s;
}

template <class Num>
void EnteringParagraphs(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f, PivotCell chosen,
                        Explanation& e) {
    const uint32_t q = chosen.col, a = r.drivingRow;
    std::vector<std::string> options;
    for (const auto& col : r.columns)
        options.push_back(c.ColumnVariable(col.col) + " (" + c.Number(col.reference) + ")");
    if (a != 0) {
        const Num& b = c.Cell(a, c.n + 1);
        e.paragraphs.push_back("Primera fase: " + c.Row(a) + " tiene constante " + c.Number(b) + " > 0, así que " +
                               c.RowVariable(a) + " vale " + c.Number(Num(-b)) +
                               " y no es factible. Puede entrar una variable con entrada negativa en esa fila: " +
                               Join(options) + ".");
    } else {
        e.paragraphs.push_back("Segunda fase: puede entrar una variable con coeficiente positivo en la fila del "
                               "objetivo: " + Join(options) + ".");
    }
    e.paragraphs.push_back("Entra " + c.ColumnVariable(q) + " (columna " + std::to_string(q) + "). " +
                           RuleSentence(c, r, f, chosen));
}

template <class Num>
void RatioTable(const Context<Num>& c, uint32_t a, PivotCell chosen, Explanation& e) {
    e.ratiosAfter = e.paragraphs.size();
    std::vector<std::string> tied;
    for (const auto& rr : RatioTest(c.T(), a, chosen.col)) {
        RatioLine line;
        line.row = "Fila " + std::to_string(rr.row);
        line.variable = c.RowVariable(rr.row);
        line.constant = c.Number(c.Cell(rr.row, c.n + 1));
        line.entry = c.Number(c.Cell(rr.row, chosen.col));
        line.leaves = rr.row == chosen.row;
        switch (rr.part) {
        case RowPart::Limits:
        case RowPart::Driving:
            line.ratio = c.Number(rr.ratio);
            line.why = rr.part == RowPart::Driving ? "se hace factible" : "limita";
            if (rr.tied) {
                line.why += ", el mayor";
                tied.push_back(line.variable);
            }
            break;
        case RowPart::NotPositive: line.ratio = "—"; line.why = "entrada ≤ 0, no limita"; break;
        case RowPart::AboveDriving: line.ratio = "—"; line.why = "fila de arriba: no cuenta"; break;
        }
        e.ratios.push_back(std::move(line));
    }
    const uint32_t r = chosen.row;
    const Num ratio = c.Cell(r, c.n + 1) / c.Cell(r, chosen.col);
    std::string s = "Cocientes constante / entrada de las filas con entrada positiva: con los signos de esta tabla "
                    "son ≤ 0 y limita el mayor (el más cercano a 0). Sale " + c.RowVariable(r) + " (" + c.Row(r) +
                    ")";
    if (tied.size() > 1) s += "; empatan " + Join(tied);
    s += ". " + c.ColumnVariable(chosen.col) + " crece hasta " + c.Number(ratio == 0 ? Num(0) : Num(-ratio)) + ".";
    e.paragraphs.push_back(s);
}

template <class Num>
void EndParagraph(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f, Explanation& e) {
    switch (c.state.Stage) {
    case SolveStage::Optimal:
        e.paragraphs.push_back("Óptimo: la solución es factible y todas las entradas de la fila del objetivo son "
                               "≤ 0, así que ninguna variable de columna puede mejorar el objetivo.");
        return;
    case SolveStage::Infeasible: {
        const uint32_t a = r.drivingRow;
        if (a == 0) break;
        e.paragraphs.push_back("No factible: " + c.Row(a) + " tiene constante " + c.Number(c.Cell(a, c.n + 1)) +
                               " > 0, así que " + c.RowVariable(a) +
                               " es negativa, y ninguna entrada de esa fila es negativa: ninguna variable de "
                               "columna puede hacerla crecer. La restricción no se puede cumplir con las demás.");
        return;
    }
    case SolveStage::Unbounded: {
        // The column the rule took, or (drawing) every column, none limited.
        std::vector<std::string> columns;
        RandomGenerator unused;
        const RuleChoice choice =
            f.rule == PivotRule::Random ? RuleChoice{} : ChooseByRule(r, f.rule, &c.state.Labels, unused);
        for (const auto& col : r.columns)
            if (!col.limited && (choice.col == 0 || choice.col == col.col))
                columns.push_back(c.ColumnVariable(col.col) + " (" + c.Number(col.reference) + ")");
        e.paragraphs.push_back(std::string(columns.size() > 1 ? "Ilimitado: las columnas de " : "Ilimitado: la columna de ") + Join(columns) +
                               " mejora el objetivo y ninguna fila la limita (todas sus entradas son ≤ 0): la "
                               "variable puede crecer sin fin y el objetivo con ella.");
        return;
    }
    default: break;
    }
}

template <class Num>
void Convention(const Context<Num>& c, const StepFacts& f, Explanation& e) {
    std::string s = "Cómo leer la tabla: la fila de una variable dice −variable = … + constante, así que su valor "
                    "es menos la constante de su fila; las variables de las columnas valen 0.";
    if (!f.maximize) s += " Con «Minimizar» la fila del objetivo guarda −z: el valor es menos su constante.";
    if (c.state.Exact)
        s += " Aritmética exacta: cada número es su valor exacto, sin redondeo ni tolerancia; un empate se decide "
             "exactamente, así que el pivote puede no ser el que elegiría la coma flotante (el exacto es el "
             "correcto).";
    e.paragraphs.push_back(s);
}

} // namespace

std::vector<std::string> VariableNames(const ProblemState& s) {
    const uint32_t m = s.Tableau.rows - 1, n = s.Tableau.cols - 1;
    std::vector<std::string> names(static_cast<size_t>(n) + m, "?");
    for (uint32_t v = 1; v <= n && v <= s.Names.size() && v <= s.SignMarks.rows; ++v) {
        if (s.SignMarks.Index(v, 1) != 0) {
            names[v - 1] = s.Names[v - 1];
            continue;
        }
        names[v - 1] = s.Names[v - 1] + "'";
        if (v < n) names[v] = s.Names[v - 1] + "''";
        ++v;
    }
    for (uint32_t i = 1; i <= m; ++i)
        names[n + i - 1] = i <= s.Model.slackNames.size() ? s.Model.slackNames[i - 1] : "h" + std::to_string(i);
    return names;
}

const char* PhaseWords(bool feasible) { return feasible ? "mejorando el objetivo" : "buscando una solución factible"; }

const char* RuleName(PivotRule rule) {
    switch (rule) {
    case PivotRule::LargestCoefficient: return "Mayor coeficiente";
    case PivotRule::SmallestIndex: return "Menor índice (Bland)";
    default: return "Aleatoria";
    }
}

namespace {

template <class Num> Num Before(const StepFacts& f);
template <> double Before<double>(const StepFacts& f) { return f.objectiveBefore; }
template <> mpq_class Before<mpq_class>(const StepFacts& f) { return f.exactObjectiveBefore; }

template <class Num>
Explanation Explain(const ProblemState& state, const StepFacts& f, const NumberText& numbers) {
    Explanation e;
    // Marks, labels and names that belong to another tableau say nothing.
    if (!FitsTableau(state) || state.Labels.rows != state.Tableau.rows + state.Tableau.cols - 2) return e;
    const Context<Num> c(state, numbers);
    const Num& z = c.Cell(c.m + 1, c.n + 1);
    e.paragraphs.push_back((f.number == 0 ? std::string("Tabla inicial") : "Paso " + std::to_string(f.number)) +
                           " · " + PhaseWords(f.feasible));
    if (f.number == 0) Convention(c, f, e);
    if (f.lastPivot.row != 0 && f.lastPivot.row <= c.m && f.lastPivot.col <= c.n) {
        // The exchanged variables now stand where the other stood.
        e.paragraphs.push_back("Se pivotó en la fila " + std::to_string(f.lastPivot.row) + ", columna " +
                               std::to_string(f.lastPivot.col) + ": entró " + c.RowVariable(f.lastPivot.row) +
                               " y salió " + c.ColumnVariable(f.lastPivot.col) + ". El objetivo pasó de " +
                               c.Number(c.Shown(Before<Num>(f), f.maximize)) + " a " +
                               c.Number(c.Shown(z, f.maximize)) + ".");
    }
    if (c.m == 0 || c.n == 0) return e;
    const auto record = ExaminePivots(c.T());
    const PivotCell chosen = state.CandidateCount > 0 ? ChosenCell(state.PivotMarks) : PivotCell{};
    if (state.Stage != SolveStage::Choosing || chosen.row == 0) {
        EndParagraph(c, record, f, e);
        return e;
    }
    EnteringParagraphs(c, record, f, chosen, e);
    RatioTable(c, record.drivingRow, chosen, e);
    const Num& p = c.Cell(chosen.row, chosen.col);
    const Num after = z - c.Cell(c.m + 1, chosen.col) * c.Cell(chosen.row, c.n + 1) / p;
    e.paragraphs.push_back("Pivote " + c.Number(p) + " en la fila " + std::to_string(chosen.row) + ", columna " +
                           std::to_string(chosen.col) + ". El objetivo pasará de " +
                           c.Number(c.Shown(z, f.maximize)) + " a " + c.Number(c.Shown(after, f.maximize)) + ".");
    return e;
}

template <class Num>
std::string WhyNot(const ProblemState& state, uint32_t row, uint32_t col, const NumberText& numbers) {
    if (!state.ProblemReady || state.Stage != SolveStage::Choosing)
        return "No hay pivote que elegir: el método no está en marcha.";
    if (!FitsTableau(state) || state.Labels.rows != state.Tableau.rows + state.Tableau.cols - 2) return "";
    const Context<Num> c(state, numbers);
    if (row < 1 || row > c.m || col < 1 || col > c.n)
        return "Solo una celda de una restricción en la columna de una variable puede ser pivote.";
    const int32_t mark = state.PivotMarks.Index(row, col);
    if (mark == 1 || mark == 2) return "";
    const auto r = ExaminePivots(c.T());
    const uint32_t a = r.drivingRow;
    const std::string column = c.ColumnVariable(col);
    if (!FindColumn(r, col)) {
        if (a != 0)
            return "La columna de " + column + " no acerca " + c.Row(a) + " a la factibilidad: su entrada en esa "
                   "fila es " + c.Number(c.Cell(a, col)) + ", no negativa.";
        return "La columna de " + column + " no mejora el objetivo: su coeficiente en la fila del objetivo es " +
               c.Number(c.Cell(c.m + 1, col)) + ", no positivo.";
    }
    const auto ratios = RatioTest(c.T(), a, col);
    const auto& here = ratios[row - 1];
    if (here.part == RowPart::AboveDriving)
        return "En la primera fase solo pueden ser pivote " + c.Row(a) + " y las filas de debajo.";
    if (here.part == RowPart::NotPositive)
        return "Su entrada es " + c.Number(c.Cell(row, col)) + ": una entrada que no es positiva no limita la "
               "columna y no puede ser pivote.";
    for (const auto& best : ratios)
        if (best.tied)
            return "El cociente de " + c.Row(row) + " es " + c.Number(here.ratio) + ", pero el de " + c.Row(best.row) +
                   " es " + c.Number(best.ratio) + ", mayor: pivotar aquí dejaría a " + c.RowVariable(best.row) +
                   " con valor negativo, fuera de la región.";
    return "Esta celda no es candidata.";
}

} // namespace

Explanation ExplainTableau(const ProblemState& state, const StepFacts& f, const NumberText& numbers) {
    if (state.Exact && state.ExactTableau.rows == state.Tableau.rows && state.ExactTableau.cols == state.Tableau.cols)
        return Explain<mpq_class>(state, f, numbers);
    return Explain<double>(state, f, numbers);
}

std::string WhyNotPivot(const ProblemState& state, uint32_t row, uint32_t col, const NumberText& numbers) {
    if (state.Exact && state.ExactTableau.rows == state.Tableau.rows && state.ExactTableau.cols == state.Tableau.cols)
        return WhyNot<mpq_class>(state, row, col, numbers);
    return WhyNot<double>(state, row, col, numbers);
}

std::string ExplanationText(const Explanation& e) {
    std::string out;
    auto paragraph = [&out](const std::string& p) {
        if (!out.empty()) out += "\n\n";
        out += p;
    };
    for (size_t k = 0; k < e.paragraphs.size(); ++k) {
        if (k == e.ratiosAfter && !e.ratios.empty()) {
            std::string table = "Fila\tVariable\tConstante\tEntrada\tCociente";
            for (const RatioLine& l : e.ratios)
                table += "\n" + l.row + "\t" + l.variable + "\t" + l.constant + "\t" + l.entry + "\t" + l.ratio +
                         "\t" + l.why + (l.leaves ? "  ← sale" : "");
            paragraph(table);
        }
        paragraph(e.paragraphs[k]);
    }
    return out;
}

} // namespace optimara
