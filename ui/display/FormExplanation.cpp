// SPDX-License-Identifier: GPL-3.0-or-later
// The explanation of a step in the language of the textbooks' tableau: the
// z row of z_j - c_j, the Solución column and the minimum ratio. The choice
// is the engine's, read from the same records as the compact explanation;
// only the words and the signs are the full tableau's.
#include <algorithm>

#include "Artificial.h"
#include "ArtificialTexts.h"
#include "FormView.h"
#include "Notation.h"
#include "WorkedNumbers.h"

namespace optimara {
namespace {

template <class Num> Num Before(const StepFacts& f);
template <> double Before<double>(const StepFacts& f) { return f.objectiveBefore; }
template <> mpq_class Before<mpq_class>(const StepFacts& f) { return f.exactObjectiveBefore; }

std::string Join(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t k = 0; k < parts.size(); ++k) out += (k == 0 ? "" : k + 1 == parts.size() ? " y " : ", ") + parts[k];
    return out;
}

template <class Num>
struct Full {
    const ProblemState& state;
    const NumberText& t;
    BasicFullTableau<Num> f;
    uint32_t n;
    Full(const ProblemState& s, const NumberText& numbers)
        : state(s), t(numbers), f(FullTableauOf<Num>(s)), n(s.Tableau.cols - 1) {}
    std::string Number(const Num& x) const { return Text(x, t); }
    const std::string& Name(uint32_t v) const { return f.headings[v - 1]; }
    // The variable at a position of the compact tableau.
    const std::string& At(uint32_t position) const { return Name(uint32_t(state.Labels.Index(position, 1))); }
    std::string Row(uint32_t r) const { return "la fila de " + Name(f.basic[r - 1]) + " (fila " + std::to_string(r) + ")"; }
    const char* Better() const { return f.maximize ? "negativo" : "positivo"; }
    Num Shown(const Num& z) const { return f.maximize ? Num(z) : Num(-z); }
};

// The columns that may enter, each with its z_j - c_j, or in the first
// phase its entry in the row being made feasible.
template <class Num>
std::string Options(const Full<Num>& c, const BasicPivotRecord<Num>& record) {
    std::vector<std::string> options;
    for (const auto& col : record.columns) {
        const uint32_t v = uint32_t(c.state.Labels.Index(col.col, 1));
        const Num shown = record.drivingRow != 0 ? c.f.At(record.drivingRow, v) : c.f.z[v - 1];
        options.push_back(c.Name(v) + " (" + c.Number(shown) + ")");
    }
    return Join(options);
}

template <class Num>
std::string RuleWords(const Full<Num>& c, const BasicPivotRecord<Num>& record, const StepFacts& f) {
    std::string s = std::string("Regla «") + RuleName(f.rule) + "»: ";
    switch (f.rule) {
    case PivotRule::LargestCoefficient:
        if (record.drivingRow != 0) return s + "entra la variable de entrada más negativa en esa fila; de las filas empatadas en la razón mínima, la de más arriba.";
        return s + "entra la variable de z_j − c_j más " + c.Better() +
               " (la de más a la izquierda si empatan); de las filas empatadas en la razón mínima, la de más arriba.";
    case PivotRule::SmallestIndex:
        return s + "entra, de las variables que pueden entrar, la que va primero en el orden de las columnas; de las "
                   "filas empatadas sale la variable que va primero.";
    case PivotRule::Random: break;
    }
    const size_t count = record.candidateRows.size();
    if (count <= 1) return s + "hay una sola celda candidata.";
    s += "hay " + std::to_string(count) + " celdas candidatas empatadas (marcadas con *); ";
    if (f.draw < 1 || static_cast<size_t>(f.draw) > count) return s + "el sorteo eligió una de ellas.";
    return s + "el sorteo eligió la número " + std::to_string(f.draw) + ", contando fila por fila.";
}

template <class Num>
void Entering(const Full<Num>& c, const BasicPivotRecord<Num>& record, const StepFacts& f, Explanation& e) {
    const uint32_t a = record.drivingRow;
    if (a == 0) {
        e.paragraphs.push_back(std::string("Segunda fase: la solución es factible (toda Solución ≥ 0). Puede entrar "
                                           "una variable no básica con z_j − c_j ") + c.Better() + ", que " +
                               (c.f.maximize ? "aumenta" : "disminuye") + " z: " + Options(c, record) + ".");
    } else {
        std::vector<std::string> above;
        for (uint32_t r = 1; r < a; ++r)
            if (c.f.solution[r - 1] < 0) above.push_back(c.Name(c.f.basic[r - 1]));
        std::string s = "Primera fase: " + c.Row(a) + " tiene Solución " + c.Number(c.f.solution[a - 1]) +
                        " < 0, así que la solución básica no es factible; se atiende la última fila con Solución "
                        "negativa";
        if (!above.empty()) s += " (también " + Join(above) + ", más arriba, después)";
        e.paragraphs.push_back(s + ". Puede entrar una variable con entrada negativa en esa fila, que al crecer la "
                                   "acerca a 0: " + Options(c, record) + ".");
    }
    const uint32_t v = c.f.pivotCol;
    e.paragraphs.push_back("Entra " + c.Name(v) + (f.byHand ? ", elegida a mano. " : ". ") + RuleWords(c, record, f));
}

template <class Num>
std::string Why(const Full<Num>& c, uint32_t r) {
    const BasicFullRatio<Num>& q = c.f.ratios[r - 1];
    const std::string best = q.tied ? ", la menor" : "";
    switch (q.kind) {
    case FullRatioKind::Limits: return "entrada > 0: limita" + best;
    case FullRatioKind::Driving: return "entrada < 0 y Solución < 0: se hace factible" + best;
    case FullRatioKind::NotPositive: return "entrada ≤ 0: no limita";
    case FullRatioKind::AboveDriving:
        return c.f.solution[r - 1] < 0 ? "primera fase: fila de arriba con Solución < 0, se atenderá después"
                                       : "primera fase: fila de arriba, no cuenta";
    }
    return "";
}

template <class Num>
void Ratios(const Full<Num>& c, Explanation& e) {
    e.ratiosAfter = e.paragraphs.size();
    const uint32_t v = c.f.pivotCol;
    std::vector<std::string> limits;
    for (uint32_t r = 1; r <= c.f.m; ++r) {
        const BasicFullRatio<Num>& q = c.f.ratios[r - 1];
        const bool counts = q.kind == FullRatioKind::Limits || q.kind == FullRatioKind::Driving;
        RatioLine line;
        line.row = "Fila " + std::to_string(r);
        line.variable = c.Name(c.f.basic[r - 1]);
        line.constant = c.Number(c.f.solution[r - 1]);
        line.entry = c.Number(c.f.At(r, v));
        line.growth = line.ratio = counts ? c.Number(q.value) : "—";
        line.why = Why(c, r);
        line.leaves = r == c.f.pivotRow;
        if (counts) limits.push_back(line.variable + " " + line.constant + " / " + line.entry + " = " + line.ratio);
        e.ratios.push_back(std::move(line));
    }
    const uint32_t r = c.f.pivotRow;
    std::string s = "Razón mínima: en la columna de " + c.Name(v) + ", Solución / entrada de las filas ";
    s += c.f.drivingRow == 0 ? "con entrada positiva" : "que cuentan en la primera fase (la fila que se hace factible y las de debajo con entrada positiva)";
    s += ": " + Join(limits) + ". Sale " + c.Name(c.f.basic[r - 1]) + " (fila " + std::to_string(r) +
         "), la de menor cociente, " + c.Number(c.f.ratios[r - 1].value) + ": " + c.Name(v) +
         " crece hasta ahí y ninguna Solución " + (c.f.drivingRow == 0 ? "" : "que cuenta ") + "se vuelve negativa.";
    e.paragraphs.push_back(s);
}

template <class Num>
void End(const Full<Num>& c, const BasicPivotRecord<Num>& record, Explanation& e) {
    switch (c.state.Stage) {
    case SolveStage::Optimal:
        e.paragraphs.push_back(std::string("Óptimo: toda Solución es ≥ 0 (la solución es factible) y todo z_j − c_j "
                                           "es ") + (c.f.maximize ? "≥ 0" : "≤ 0") +
                               ": ninguna variable no básica puede mejorar z.");
        return;
    case SolveStage::Infeasible:
        if (record.drivingRow == 0) return;
        e.paragraphs.push_back("No factible: " + c.Row(record.drivingRow) + " tiene Solución " +
                               c.Number(c.f.solution[record.drivingRow - 1]) +
                               " < 0 y ninguna entrada negativa: ninguna variable puede hacerla crecer hasta 0. La "
                               "restricción no se puede cumplir con las demás.");
        return;
    case SolveStage::Unbounded: {
        std::vector<std::string> columns;
        for (const auto& col : record.columns)
            if (!col.limited) {
                const uint32_t v = uint32_t(c.state.Labels.Index(col.col, 1));
                columns.push_back(c.Name(v) + " (z_j − c_j = " + c.Number(c.f.z[v - 1]) + ")");
            }
        e.paragraphs.push_back("Ilimitado: " + Join(columns) + " mejora z y su columna no tiene ninguna entrada "
                               "positiva: ninguna fila limita la razón, la variable puede crecer sin fin y z con ella.");
        return;
    }
    default: return;
    }
}

template <class Num>
Explanation Explain(const ProblemState& state, const StepFacts& f, const NumberText& numbers) {
    Explanation e;
    e.fullForm = true;
    if (!FormsFit(state)) return e;
    const Full<Num> c(state, numbers);
    e.paragraphs.push_back((f.number == 0 ? std::string("Tabla inicial") : "Paso " + std::to_string(f.number)) +
                           " · " + PhaseWords(f.feasible));
    if (f.number == 0)
        e.paragraphs.push_back(std::string("Cómo leer la tabla completa: cada fila dice básica + Σ entrada · no "
                                           "básica = Solución; las no básicas valen 0 y cada básica vale su "
                                           "Solución. La fila z guarda z_j − c_j del objetivo escrito: al ") +
                               (c.f.maximize ? "maximizar, la tabla es óptima cuando todos son ≥ 0."
                                             : "minimizar, la tabla es óptima cuando todos son ≤ 0."));
    if (f.lastPivot.row != 0 && f.lastPivot.row <= c.f.m && f.lastPivot.col <= c.n)
        e.paragraphs.push_back("Se pivotó en la fila " + std::to_string(f.lastPivot.row) + ": entró " +
                               c.Name(c.f.basic[f.lastPivot.row - 1]) + " y salió " + c.At(f.lastPivot.col) +
                               ". z pasó de " + c.Number(c.Shown(Before<Num>(f))) + " a " + c.Number(c.f.zValue) + ".");
    if (c.f.m == 0 || c.n == 0) return e;
    const auto record = ExaminePivots(Worked(state, Num()));
    const bool dual = state.Method == SolveMethod::DualSimplex;
    if (state.Stage != SolveStage::Choosing || c.f.pivotRow == 0) {
        if (!dual || state.Stage != SolveStage::Infeasible) End(c, record, e);
        return e;
    }
    if (!dual) {
        Entering(c, record, f, e);
        Ratios(c, e);
    }
    const uint32_t r = c.f.pivotRow, v = c.f.pivotCol;
    const Num& p = c.f.At(r, v);
    const Num after = c.f.zValue - c.f.z[v - 1] * c.f.solution[r - 1] / p;
    e.paragraphs.push_back("Pivote " + c.Number(p) + " en la fila de " + c.Name(c.f.basic[r - 1]) + ", columna de " +
                           c.Name(v) + ": su fila se divide entre " + c.Number(p) +
                           " y se resta de las demás, la fila z incluida, hasta dejar un 1 y ceros en la columna de " +
                           c.Name(v) + ". z pasará de " + c.Number(c.f.zValue) + " a " + c.Number(after) + ".");
    return e;
}

// Better for the objective the phase improves: w's entries (w is minimised)
// when positive; z's of the sense asked, big M's M part compared first.
template <class Num>
bool Improves(const Full<Num>& c, uint32_t v) {
    const auto sign = [](const Num& x) { return x > 0 ? 1 : x < 0 ? -1 : 0; };
    if (!c.f.w.empty()) return sign(c.f.w[v - 1]) > 0;
    const int better = c.f.maximize ? -1 : 1;
    if (!c.f.zM.empty() && sign(c.f.zM[v - 1]) != 0) return sign(c.f.zM[v - 1]) == better;
    return sign(c.f.z[v - 1]) == better;
}

// The artificial methods' choice: the column that improves the phase's
// objective (w in phase 1; z with its M part first under big M), then the
// minimum ratio of the full tableau.
template <class Num>
void ArtificialChoice(const Full<Num>& c, const StepFacts& f, Explanation& e) {
    const bool phaseOne = !c.f.w.empty(), bigM = !c.f.zM.empty();
    std::vector<std::string> options;
    for (uint32_t v = 1; v <= c.f.width; ++v) {
        const bool basic = std::find(c.f.basic.begin(), c.f.basic.end(), v) != c.f.basic.end();
        if (basic || ArtificialOf(c.state, v) != 0 || !Improves(c, v)) continue;
        options.push_back(c.Name(v) + " (" +
                          (phaseOne ? c.Number(c.f.w[v - 1])
                           : bigM   ? BigMText(c.f.zM[v - 1], c.f.z[v - 1], c.t)
                                    : c.Number(c.f.z[v - 1])) +
                          ")");
    }
    std::string s = phaseOne ? "Fase 1: se minimiza w, la suma de las artificiales. Puede entrar una variable no "
                               "básica con w_j − c_j positivo, que disminuye w: "
                    : bigM ? std::string("Gran M: cada z_j − c_j es a·M + b y se compara con M → ∞, primero la "
                                         "parte de M. Puede entrar una variable no básica con z_j − c_j ") +
                                 c.Better() + ": "
                           : std::string("Puede entrar una variable no básica con z_j − c_j ") + c.Better() +
                                 ", que " + (c.f.maximize ? "aumenta" : "disminuye") + " z: ";
    e.paragraphs.push_back(s + Join(options) + ". Las artificiales que salieron no vuelven a entrar.");
    e.paragraphs.push_back("Entra " + c.Name(c.f.pivotCol) + (f.byHand ? ", elegida a mano" : "") + " (regla «" +
                           RuleName(f.rule) + "»).");
    Ratios(c, e);
    const uint32_t r = c.f.pivotRow;
    const Num& p = c.f.At(r, c.f.pivotCol);
    e.paragraphs.push_back("Pivote " + c.Number(p) + " en la fila de " + c.Name(c.f.basic[r - 1]) +
                           ": su fila se divide entre " + c.Number(p) + " y se resta de las demás, " +
                           (phaseOne ? "las filas z y w incluidas." : "la fila z incluida."));
}

template <class Num>
void ExplainArtificial(const ProblemState& state, const StepFacts& facts, const NumberText& numbers, Explanation& e) {
    const Full<Num> c(state, numbers);
    if (state.Stage != SolveStage::Choosing || c.f.pivotRow == 0 || state.Artificials.drivingOut) return;
    ArtificialChoice(c, facts, e);
}

} // namespace

Explanation ExplainInForm(const ProblemState& state, const StepFacts& facts, const NumberText& numbers,
                          TableauForm form) {
    if (UsesArtificials(state.Method)) {
        // The artificial methods say their method, phase and artificials.
        Explanation e;
        const std::string phase = PhaseText(state);
        e.paragraphs.push_back("Método: " + ArtificialMethodName(state.Method) + (phase.empty() ? "" : " · " + phase));
        for (std::string& note : ArtificialNotes(state, numbers)) e.paragraphs.push_back(std::move(note));
        if (FormsFit(state)) {
            e.fullForm = true;
            if (state.Exact) ExplainArtificial<mpq_class>(state, facts, numbers, e);
            else ExplainArtificial<double>(state, facts, numbers, e);
        }
        return e;
    }
    if (form == TableauForm::Compact) return ExplainTableau(state, facts, numbers);
    if (state.Exact) return Explain<mpq_class>(state, facts, numbers);
    return Explain<double>(state, facts, numbers);
}

} // namespace optimara
