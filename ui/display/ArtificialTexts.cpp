// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtificialTexts.h"

#include <algorithm>

#include "WorkedNumbers.h"

namespace optimara {
namespace {

constexpr const char* kMinus = "\xE2\x88\x92";  // U+2212

template <class Num>
std::string MText(const Num& a, const Num& b, const NumberText& t) {
    if (a == 0) return b < 0 ? kMinus + Text(Num(-b), t) : Text(b, t);
    std::string out = a < 0 ? kMinus : "";
    const std::string magnitude = Text(Num(a < 0 ? Num(-a) : a), t);
    if (magnitude != "1") out += magnitude.find('/') != std::string::npos ? "(" + magnitude + ")" : magnitude;
    out += "M";
    if (b == 0) return out;
    return out + (b < 0 ? kMinus + Text(Num(-b), t) : "+" + Text(b, t));
}

// The value of the artificial basic in row `row`, as the notation writes it.
std::string RowValue(const ProblemState& s, uint32_t row, const NumberText& t) {
    const uint32_t last = s.Tableau.cols;
    if (s.Exact) return Text(mpq_class(-s.ExactTableau.Index(row, last)), t);
    return Text(-s.Tableau.Index(row, last) + 0.0, t);
}

std::string FinalReason(const ProblemState& s, const NumberText& t) {
    const uint32_t added = ConstraintRows(s) + 1, last = s.Tableau.cols;
    if (s.Method == SolveMethod::TwoPhases) {
        const std::string w = s.Exact ? Text(mpq_class(-s.ExactTableau.Index(added, last)), t)
                                      : Text(-s.Tableau.Index(added, last) + 0.0, t);
        return "No factible: al final de la fase 1, w = " + w + " > 0.";
    }
    const uint32_t n = s.Tableau.cols - 1;
    for (uint32_t i = 1; i + 1 <= added; ++i) {
        const uint32_t k = ArtificialOf(s, static_cast<uint32_t>(s.Labels.Index(n + i, 1)));
        if (k == 0) continue;
        const std::string value = RowValue(s, i, t);
        if (value != "0")
            return "No factible: la variable artificial " + ArtificialName(k) + " = " + value +
                   " sigue positiva al final de la Gran M.";
    }
    return "No factible: una variable artificial sigue positiva al final de la Gran M.";
}

} // namespace

std::string BigMText(double a, double b, const NumberText& numbers) { return MText(a, b, numbers); }
std::string BigMText(const mpq_class& a, const mpq_class& b, const NumberText& numbers) {
    return MText(a, b, numbers);
}

std::string PhaseText(const EngineState& state) {
    if (state.Method != SolveMethod::TwoPhases) return "";
    return state.Artificials.phase == 1 ? "Fase 1 (w)" : "Fase 2";
}

std::string ArtificialMethodName(SolveMethod method) {
    switch (method) {
    case SolveMethod::TwoPhases: return "Dos fases";
    case SolveMethod::BigM: return "Gran M";
    case SolveMethod::DualSimplex: return "Símplex dual";
    default: return "Compacto (sin artificiales)";
    }
}

std::string ArtificialName(uint32_t number) { return "a" + std::to_string(number); }

std::vector<std::string> ArtificialNotes(const ProblemState& s, const NumberText& t) {
    std::vector<std::string> notes;
    if (!UsesArtificials(s.Method)) return notes;
    const ArtificialPart& a = s.Artificials;
    if (a.leftAtLastStep != 0) {
        const bool driven = std::find(a.driven.begin(), a.driven.end(), a.leftAtLastStep) != a.driven.end();
        notes.push_back("Sale de la base la variable artificial " + ArtificialName(a.leftAtLastStep) +
                        (driven ? " (seguía en la base con valor 0)." : "."));
    }
    if (a.phase == 1 && a.drivingOut && s.Stage == SolveStage::Choosing && !a.driven.empty())
        notes.push_back(ArtificialName(a.driven.back()) +
                        " sigue en la base con valor 0 al final de la fase 1: sale con un pivote en una columna "
                        "no artificial.");
    for (uint32_t k : a.dropped)
        notes.push_back("La fila de " + ArtificialName(k) +
                        " es redundante (ninguna columna no artificial tiene en ella una entrada distinta de 0): "
                        "se elimina.");
    if (s.Stage == SolveStage::Infeasible && a.positiveAtEnd) notes.push_back(FinalReason(s, t));
    return notes;
}

} // namespace optimara
