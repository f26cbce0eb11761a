// SPDX-License-Identifier: GPL-3.0-or-later
#include "SensitivityView.h"

#include <cmath>

#include "Driver.h"
#include "ErrorTexts.h"
#include "Notation.h"
#include "Sensitivity.h"

namespace optimara {

const std::array<const char*, 5> kSensitivityLineHeadings = {"Línea", "Holgura", "Precio dual", "Límite inferior",
                                                             "Límite superior"};
const std::array<const char*, 5> kSensitivityVariableHeadings = {"Variable", "Valor", "Coste reducido",
                                                                 "Límite inferior", "Límite superior"};

namespace {

struct Numbers {
    bool floating;
    const std::string& separator;
    std::string operator()(double v) const {
        if (std::isinf(v)) return v > 0 ? "∞" : "-∞";
        return FormatNumber(v, floating, separator);
    }
};

std::vector<std::string> Typed(const ProblemText& text) {
    std::vector<std::string> lines{text.comboIndex == 0 ? "Minimizar" : "Maximizar", text.objective, "Sujeto a:"};
    for (const std::string& line : text.lines)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

const char* NothingWords(bool solved, SolveStage stage) {
    if (!solved) return "El problema ha cambiado desde que se resolvió (o aún no se ha resuelto): no hay nada que "
                        "analizar. Pulsa \"Una Solución\".";
    if (stage == SolveStage::Infeasible) return "El problema no tiene solución factible: no hay nada que analizar.";
    if (stage == SolveStage::Unbounded) return "El objetivo es ilimitado: no hay nada que analizar.";
    return "El problema aún no está resuelto: no hay nada que analizar.";
}

std::string OptimaWords(const SensitivityReport& r) {
    std::string words;
    if (r.degenerate)
        words = "El óptimo es degenerado: alguna variable básica vale 0, así que algún precio dual puede no ser "
                "único y algún rango es unilateral. ";
    if (r.otherOptima) words += "Hay otros óptimos: alguna variable puede entrar en la base sin cambiar el valor del "
                                "objetivo.";
    if (words.empty()) words = "El óptimo es único y no degenerado.";
    return words;
}

} // namespace

SensitivityView ComputeSensitivityView(const ProblemState& state, const ProblemText& typed, bool solved,
                                       bool floating, const std::string& separator, const SolveSession* analysed) {
    SensitivityView view;
    // At the build too: the first tableau may already be optimal.
    const bool ready = solved && state.Model.complete && state.Stage == SolveStage::Optimal;
    if (!ready) {
        view.nothing = NothingWords(solved && state.Model.complete, state.Stage);
        return view;
    }
    const Numbers number{floating, separator};
    const SensitivityReport r =
        analysed ? analysed->Sensitivity() : AnalyseOptimum(state.Model, state.Tableau, state.Labels);
    view.available = true;
    for (const LineRanging& line : r.lines)
        view.lines.push_back({line.slackName + ": " + line.text, number(line.slack), number(line.price),
                              number(line.rhs.lower), number(line.rhs.upper)});
    for (const VariableRanging& v : r.variables)
        view.variables.push_back({v.name, number(v.value), number(v.reducedCost), number(v.cost.lower),
                                  number(v.cost.upper)});
    view.words = OptimaWords(r);
    view.bounds = state.Model.bounds.empty()
                      ? ""
                      : "Las líneas de signo («x>0») son cotas de las variables, no restricciones: no tienen fila "
                        "en la tabla; su efecto se ve en el coste reducido de la variable.";
    view.primal = Typed(typed);
    view.primalOptimum = number(r.objective);
    view.dualText = DualProblem(state.Model);
    view.dual = Typed(view.dualText);
    double dualOptimum = 0;
    // The session keeps the dual's optimum with its analysis: a refresh of
    // the window does not solve the dual again.
    const bool dualSolved =
        analysed ? analysed->DualOptimum(dualOptimum) : SolveToOptimum(view.dualText, dualOptimum);
    view.dualOptimum = dualSolved ? number(dualOptimum) : "—";
    return view;
}

SensitivityView SessionSensitivityView(const SolveSession& session, const ProblemText& typed, bool floating,
                                       const std::string& separator) {
    const bool solved = session.Ready();
    const ProblemState* relaxation = session.Relaxation();
    if (!session.Branches.Started())
        return ComputeSensitivityView(session.problem, typed, solved, floating, separator, &session);
    // An integer problem: the typed problem's relaxation, never a node's
    // problem with its bounds.
    SensitivityView view =
        ComputeSensitivityView(relaxation ? *relaxation : session.problem, typed, solved && relaxation, floating,
                               separator, &session);
    if (!relaxation)
        view.nothing = "Con variables enteras se analiza la relajación lineal, y no hay un óptimo suyo que analizar.";
    if (!view.available) return view;
    view.words = std::string("Relajación lineal (el problema sin «entero:»): los precios, los intervalos y el dual no "
                             "valen para las soluciones enteras. ") + view.words;
    return view;
}

} // namespace optimara
