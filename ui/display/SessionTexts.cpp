// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionTexts.h"

#include "ArtificialTexts.h"
#include "BranchView.h"
#include "Explanation.h"
#include "StepsReport.h"

namespace optimara {

namespace {

std::string StepWords(const StepNote& note) {
    const char* end = EndWords(note.stage);
    return end ? end : PhaseWords(note.feasible);
}

// A method other than the compact one is named, with its phase.
std::string MethodWords(const ProblemState& p) {
    if (p.Method == SolveMethod::Compact) return "";
    const std::string phase = PhaseText(p);
    return " · " + ArtificialMethodName(p.Method) + (phase.empty() ? "" : " · " + phase);
}

} // namespace

std::string StepPanelText(const SolveSession& session) {
    if (session.Branches.Started()) return NodePanelText(session);
    if (!session.Steps.Started()) return "";
    const StepNote& note = session.Steps.Notes().back();
    // The first phase of two looks for a feasible point, though every row
    // of its tableau is feasible.
    const bool seeking = session.problem.Method == SolveMethod::TwoPhases &&
                         session.problem.Artificials.phase == 1 && !EndWords(note.stage);
    return "Paso " + std::to_string(session.Steps.Steps()) + " · " + (seeking ? PhaseWords(false) : StepWords(note)) +
           MethodWords(session.problem) + (session.problem.Exact ? " · exacta" : "");
}

std::string NodePanelText(const SolveSession& session) {
    const BranchSearch& search = session.Branches;
    const BranchResult& r = search.Result();
    if (!search.Active()) return NodeCountText(r);
    const int k = session.shownNode;
    if (k < 1 || size_t(k) > r.nodes.size()) return "";
    const BranchNode& node = r.nodes[size_t(k - 1)];
    std::string text = "Nodo " + std::to_string(k);
    if (!node.bounds.empty()) text += " · " + BoundLine(search.Model(), node.bounds.back());
    text += " · paso " + std::to_string(session.Steps.Steps());
    if (!(search.NodeOpen() && k == search.Current())) text += std::string(" · ") + NodeEndText(node.end);
    if (r.unboundedRelaxation && r.best == 0) text += " · relajación ilimitada, sin punto entero conocido";
    return text + (session.problem.Exact ? " · exacta" : "");
}

std::string SearchWords(const SolveSession& session, bool floating, const std::string& separator, bool& only) {
    const BranchSearch& search = session.Branches;
    only = false;
    if (!search.Started()) return "";
    const BranchResult& r = search.Result();
    const int k = session.shownNode;
    const BranchNode* node = k >= 1 && size_t(k) <= r.nodes.size() ? &r.nodes[size_t(k - 1)] : nullptr;
    const bool open = search.NodeOpen() && k == search.Current();
    auto reason = [&] { return NodeEndReason(r, search.Model(), *node, floating, separator); };
    std::vector<std::string> parts;
    if (!search.Active()) {
        only = true;
        parts = SearchEnding(search, floating, separator);
        if (node && k != r.best) parts.push_back(reason());
    } else if (node && !open) {
        // A node looked at says only how it ended; the one just concluded
        // adds it to its last step.
        only = session.nodeLook;
        parts.push_back(reason());
    } else if (node && session.nodeLook) {
        only = true;
        parts.push_back("Nodo " + std::to_string(k) + ": en curso; la búsqueda sigue en él.");
    }
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "\n\n") + p;
    return text;
}

} // namespace optimara
