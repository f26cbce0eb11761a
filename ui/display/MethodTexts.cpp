// SPDX-License-Identifier: GPL-3.0-or-later
#include "MethodTexts.h"

#include "DualSimplex.h"
#include "SolveSession.h"
#include "WorkedNumbers.h"

namespace optimara {
std::string MoreCutsQuestion(size_t cuts) {
    return "Se han añadido " + std::to_string(cuts) + " cortes y la solución aún no es entera. ¿Desea añadir otros " +
           std::to_string(kCutsPerQuestion) + "?";
}

std::string DualChoiceText(const ProblemState& state, const NumberText& numbers) {
    bool proof = false;
    const std::vector<DualRowChoice> rows =
        state.Exact ? ExamineDualRows(state.ExactTableau, proof) : ExamineDualRows(state.Tableau, proof);
    const std::vector<std::string> names = VariableNames(state);
    const uint32_t n = state.Tableau.cols - 1;
    if (rows.empty())
        return "Símplex dual: ninguna variable básica es negativa y todos los z_j − c_j tienen el signo del óptimo: "
               "la tabla es óptima.";
    if (proof)
        for (const DualRowChoice& r : rows)
            if (r.columns.empty())
                return "Símplex dual: la fila " + std::to_string(r.row) + " (" + NameAtPosition(names, state.Labels, n + r.row) +
                       " = " + Text(r.value, numbers) +
                       ") no tiene ninguna entrada negativa: ningún valor de las variables la hace no negativa, "
                       "luego el problema no es factible.";
    const PivotCell chosen = ChosenCell(state.PivotMarks);
    const DualRowChoice* leaving = &rows.front();
    for (const DualRowChoice& r : rows)
        if (r.row == chosen.row) leaving = &r;
    std::string s = "Símplex dual: sale " + NameAtPosition(names, state.Labels, n + leaving->row) + " (fila " +
                    std::to_string(leaving->row) + ", Solución " + Text(leaving->value, numbers) + ")";
    s += std::string(", ") +
         (state.Rule == PivotRule::LargestCoefficient ? "la variable básica más negativa"
          : state.Rule == PivotRule::SmallestIndex    ? "la primera variable básica negativa por su índice (Bland)"
                                                      : "una de las variables básicas negativas, sorteada") +
         ". ";
    s += "Entra " + NameAtPosition(names, state.Labels, chosen.col) +
         ": la menor razón dual |z_j − c_j| / |a_rj| entre las entradas negativas de la fila, " +
         Text(leaving->ratio, numbers) + "; así todos los z_j − c_j conservan el signo del óptimo.";
    return s;
}

std::string AddedLineText(const std::string& line, bool stillOptimal) {
    std::string s = "Se añade la restricción «" + line +
                    "» a la tabla óptima, escrita en función de las variables no básicas (cada variable básica "
                    "sustituida por su fila).";
    return s + (stillOptimal ? " La solución óptima ya la cumple: sigue siendo óptima."
                             : " La solución actual no la cumple: el símplex dual restablece la factibilidad.");
}

std::string CutText(const GomoryCut& cut, size_t number, const NumberText& numbers) {
    return "Corte " + std::to_string(number) + " (Gomory): " + cut.variable + " vale " + Text(cut.value, numbers) +
           ", no entero; la parte fraccionaria de su fila da el corte " + cut.text +
           ", que deja fuera la solución actual sin quitar ningún punto entero. Se añade como nueva fila y el "
           "símplex dual vuelve a optimizar.";
}

std::string CutsEndText(size_t cuts) {
    return "Solución entera tras " + std::to_string(cuts) + (cuts == 1 ? " corte." : " cortes.");
}

std::string MethodExplanation(const SolveSession& session, const NumberText& numbers) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!part.empty()) text += (text.empty() ? "" : "\n\n") + part;
    };
    const std::vector<GomoryCut>& cuts = session.Cuts();
    if (!cuts.empty()) add(CutText(cuts.back(), cuts.size(), numbers));
    add(session.CutRefusal());
    if (session.problem.Method == SolveMethod::DualSimplex) add(DualChoiceText(session.problem, numbers));
    if (!cuts.empty() && !session.Cutting() && session.problem.Stage == SolveStage::Optimal)
        add(CutsEndText(cuts.size()));
    return text;
}

} // namespace optimara
