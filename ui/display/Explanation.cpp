// SPDX-License-Identifier: GPL-3.0-or-later
#include "Explanation.h"

#include <algorithm>
#include <cmath>

#include "Display.h"
#include "Notation.h"
#include "WorkedNumbers.h"
#include "TableauForms.h"

namespace optimara {
namespace {


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

// The cell the rule took on this tableau: the draw's rank names it among
// the candidates; the other rules take it again from the same record. Row 0
// when it is not known.
template <class Num>
PivotCell RulesCell(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f) {
    if (f.rule == PivotRule::Random) {
        if (f.draw < 1 || static_cast<size_t>(f.draw) > r.candidateRows.size()) return {};
        return {r.candidateRows[static_cast<size_t>(f.draw - 1)], r.candidateCols[static_cast<size_t>(f.draw - 1)]};
    }
    RandomGenerator unused;
    const RuleChoice choice = ChooseByRule(r, f.rule, &c.state.Labels, unused);
    return choice.row == 0 ? PivotCell{} : PivotCell{choice.row, choice.col};
}

// Why the rule takes its cell.
template <class Num>
std::string RuleSentence(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f) {
    const size_t count = r.candidateRows.size();
    std::string s = std::string("Regla «") + RuleName(f.rule) + "»: ";
    switch (f.rule) {
    case PivotRule::Random:
        if (count == 1) return s + "hay una sola celda candidata.";
        s += "hay " + std::to_string(count) + " celdas candidatas empatadas (marcadas con *); ";
        if (f.draw < 1 || static_cast<size_t>(f.draw) > count) return s + "el sorteo eligió una de ellas.";
        return s + "el sorteo eligió la número " + std::to_string(f.draw) + ", contando fila por fila.";
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

// Who chose the pivot: the rule, with its reason, or the student, with
// what the rule would have taken instead. A cell the rule did not take is
// never credited to it.
template <class Num>
std::string ChoiceSentence(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f,
                           PivotCell chosen) {
    const PivotCell rule = RulesCell(c, r, f);
    const std::string enters =
        "Entra " + c.ColumnVariable(chosen.col) + " (columna " + std::to_string(chosen.col) + ")";
    const bool ruleTookIt = rule.row != 0 && rule == chosen;
    if (!f.byHand && (ruleTookIt || rule.row == 0)) return enters + ". " + RuleSentence(c, r, f);
    const std::string name = std::string("la regla «") + RuleName(f.rule) + "»";
    if (ruleTookIt) return enters + ", elegida a mano: es la misma celda que elige " + name + ". " + RuleSentence(c, r, f);
    if (rule.row == 0) return enters + ", elegida a mano.";
    std::string drawn;
    if (f.rule == PivotRule::Random)
        drawn = " (el sorteo eligió la celda número " + std::to_string(f.draw) + " de las " +
                std::to_string(r.candidateRows.size()) + " candidatas, contando fila por fila)";
    if (rule.col != chosen.col)
        return enters + ", elegida a mano; " + name + " habría elegido " + c.ColumnVariable(rule.col) + drawn + ".";
    return enters + ", elegida a mano con " + c.Row(chosen.row) + "; " + name + " habría elegido la misma columna con " +
           c.Row(rule.row) + drawn + ".";
}

template <class Num>
void EnteringParagraphs(const Context<Num>& c, const BasicPivotRecord<Num>& r, const StepFacts& f, PivotCell chosen,
                        Explanation& e) {
    const uint32_t a = r.drivingRow;
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
    e.paragraphs.push_back(ChoiceSentence(c, r, f, chosen));
}

// How far a row lets the entering variable grow: the quotient with the
// other sign (0 for a row that limits at once).
template <class Num>
Num Growth(const BasicRowRatio<Num>& rr) {
    return rr.ratio == 0 ? Num(0) : Num(-rr.ratio);
}

// Why a row of the ratio test counts or not, as its entry's sign in the table shows.
template <class Num>
std::string RowWhy(const Context<Num>& c, const BasicRowRatio<Num>& rr, size_t tiedCount) {
    const std::string best = !rr.tied ? "" : tiedCount > 1 ? ", empata en el menor" : ", el menor";
    switch (rr.part) {
    case RowPart::Driving: return "entrada < 0: se hace factible" + best;
    case RowPart::Limits: return "entrada > 0: limita" + best;
    case RowPart::NotPositive: return "entrada ≤ 0: no limita";
    case RowPart::AboveDriving:
        return c.Cell(rr.row, c.n + 1) > 0 ? "fila de arriba, no factible: no cuenta" : "fila de arriba: no cuenta";
    }
    return "";
}

// What the rows of the test say, in words that match the table's signs.
template <class Num>
std::string RatioWords(const Context<Num>& c, uint32_t a, PivotCell chosen, const std::vector<BasicRowRatio<Num>>& rows) {
    const std::string x = c.ColumnVariable(chosen.col);
    std::vector<std::string> tied, above;
    for (const auto& rr : rows) {
        if (rr.tied) tied.push_back(c.RowVariable(rr.row));
        if (rr.part == RowPart::AboveDriving && c.Cell(rr.row, c.n + 1) > 0)
            above.push_back(c.RowVariable(rr.row) + " (fila " + std::to_string(rr.row) + ")");
    }
    const std::string falls = "su variable, que vale −constante − entrada·" + x + ", baja a medida que " + x +
                              " crece y llega a 0 cuando " + x + " vale −constante / entrada";
    std::string s = "Cuánto puede crecer " + x + ": ";
    if (a == 0) {
        s += "limitan las filas con entrada positiva, porque " + falls + "; las de entrada ≤ 0 no limitan.";
    } else {
        const auto& driving = rows[a - 1];
        s += c.Row(a) + " tiene entrada " + c.Number(c.Cell(a, chosen.col)) + " < 0, así que " + c.RowVariable(a) +
             " crece con " + x + " y se hace factible (llega a 0) cuando " + x + " vale " +
             c.Number(Growth(driving)) + ".";
        if (a < c.m)
            s += " De las filas de debajo, que ya son factibles, limitan las de entrada positiva, porque " + falls +
                 "; las de entrada ≤ 0 no limitan.";
        if (a > 1) {
            s += " Las filas de arriba no cuentan en esta fase";
            if (!above.empty())
                s += std::string("; de ellas, ") + (above.size() > 1 ? "no son factibles " : "no es factible ") +
                     Join(above) + ", que se atenderá" + (above.size() > 1 ? "n" : "") + " en pasos siguientes";
            s += ".";
        }
    }
    const uint32_t r = chosen.row;
    s += " Sale " + c.RowVariable(r) + " (fila " + std::to_string(r) + "): " + x + " crece hasta el menor límite, " +
         c.Number(Growth(rows[r - 1]));
    if (tied.size() > 1) s += "; empatan " + Join(tied) + " con el mismo límite";
    s += ".";
    if (a != 0 && (r == a || rows[a - 1].tied)) s += " " + c.RowVariable(a) + " queda factible, con valor 0.";
    else if (a != 0) s += " " + c.RowVariable(a) + " sigue sin ser factible: la primera fase sigue con su fila.";
    return s + " El cociente constante / entrada de la tabla es cada límite con el signo cambiado: el menor límite "
               "es el cociente mayor, el más cercano a 0.";
}

template <class Num>
void RatioTable(const Context<Num>& c, uint32_t a, PivotCell chosen, Explanation& e) {
    e.ratiosAfter = e.paragraphs.size();
    const auto rows = RatioTest(c.T(), a, chosen.col);
    const auto tiedCount =
        static_cast<size_t>(std::count_if(rows.begin(), rows.end(), [](const auto& rr) { return rr.tied; }));
    for (const auto& rr : rows) {
        RatioLine line;
        line.row = "Fila " + std::to_string(rr.row);
        line.variable = c.RowVariable(rr.row);
        line.constant = c.Number(c.Cell(rr.row, c.n + 1));
        line.entry = c.Number(c.Cell(rr.row, chosen.col));
        line.leaves = rr.row == chosen.row;
        const bool counts = rr.part == RowPart::Limits || rr.part == RowPart::Driving;
        line.growth = counts ? c.Number(Growth(rr)) : "—";
        line.ratio = counts ? c.Number(rr.ratio) : "—";
        line.why = RowWhy(c, rr, tiedCount);
        e.ratios.push_back(std::move(line));
    }
    e.paragraphs.push_back(RatioWords(c, a, chosen, rows));
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

std::vector<std::string> VariableNames(const ProblemState& s) { return FormVariableNames(s); }

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
                               std::to_string(f.lastPivot.col) + (f.lastByHand ? " (pivote elegido a mano)" : "") + ": entró " + c.RowVariable(f.lastPivot.row) +
                               " y salió " + c.ColumnVariable(f.lastPivot.col) + ". El objetivo pasó de " +
                               c.Number(c.Shown(Before<Num>(f), f.maximize)) + " a " +
                               c.Number(c.Shown(z, f.maximize)) + ".");
    }
    if (c.m == 0 || c.n == 0) return e;
    const auto record = ExaminePivots(c.T());
    const PivotCell chosen = state.CandidateCount > 0 ? ChosenCell(state.PivotMarks) : PivotCell{};
    // The dual simplex's row, column and proof are its own texts' to tell.
    const bool dual = state.Method == SolveMethod::DualSimplex;
    if (state.Stage != SolveStage::Choosing || chosen.row == 0) {
        if (!dual || state.Stage != SolveStage::Infeasible) EndParagraph(c, record, f, e);
        return e;
    }
    if (!dual) {
        EnteringParagraphs(c, record, f, chosen, e);
        RatioTable(c, record.drivingRow, chosen, e);
    }
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
        return "En la primera fase solo pueden ser pivote " + c.Row(a) + " y las filas de debajo: las de arriba no "
               "cuentan.";
    if (here.part == RowPart::NotPositive)
        return "Su entrada es " + c.Number(c.Cell(row, col)) + ", no positiva: la variable de esa fila no baja "
               "cuando " + column + " crece, así que la fila no limita la columna y no puede ser pivote.";
    // A row that reaches 0 sooner as the variable grows: a limiting row would
    // go negative past it; the row being made feasible ends the step there.
    const Num mine = Growth(here);
    const BasicRowRatio<Num>* sooner = nullptr;
    for (const auto& other : ratios)
        if ((other.part == RowPart::Limits || other.part == RowPart::Driving) && Growth(other) < mine) {
            const bool first = !sooner || Growth(other) < Growth(*sooner);
            const bool harms = sooner && Growth(other) == Growth(*sooner) && sooner->part == RowPart::Driving;
            if (first || harms) sooner = &other;
        }
    if (!sooner) return "Esta celda no es candidata.";
    std::string s = "L" + c.Row(row).substr(1) +
                    (here.part == RowPart::Driving ? " se hace factible cuando " + column + " llega a "
                                                   : " deja crecer " + column + " hasta ") +
                    c.Number(mine) + ", pero " + c.Row(sooner->row);
    if (sooner->part == RowPart::Driving)
        return s + " se hace factible antes, cuando " + column + " llega a " + c.Number(Growth(*sooner)) +
               ": el paso se detiene en el menor límite, y sale " + c.RowVariable(sooner->row) + ".";
    return s + " solo lo deja crecer hasta " + c.Number(Growth(*sooner)) + ": pivotar aquí dejaría a " +
           c.RowVariable(sooner->row) + " con valor negativo, fuera de la región.";
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
            std::string table = e.fullForm ? "Fila\tVariable\tSolución\tEntrada\tCociente\tPor qué"
                                           : "Fila\tVariable\tConstante\tEntrada\tCrece hasta\tCociente\tPor qué";
            for (const RatioLine& l : e.ratios)
                table += "\n" + l.row + "\t" + l.variable + "\t" + l.constant + "\t" + l.entry + "\t" +
                         (e.fullForm ? "" : l.growth + "\t") + l.ratio + "\t" + l.why + (l.leaves ? "  ← sale" : "");
            paragraph(table);
        }
        paragraph(e.paragraphs[k]);
    }
    return out;
}

} // namespace optimara
