// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchView.h"

#include <algorithm>

#include "Notation.h"

namespace optimara {

const char* NodeEndText(NodeEnd end) {
    switch (end) {
    case NodeEnd::Branched: return "ramificado";
    case NodeEnd::PrunedByBound: return "podado por cota";
    case NodeEnd::Infeasible: return "no factible";
    case NodeEnd::Integer: return "entero";
    case NodeEnd::Unbounded: return "ilimitado";
    default: return "sin terminar";
    }
}

std::string BoundsText(const ProblemModel& model, const BranchNode& node) {
    if (node.bounds.empty()) return "—";
    std::string text;
    for (const NodeBound& b : node.bounds) text += (text.empty() ? "" : ", ") + BoundLine(model, b);
    return text;
}

namespace {

// The node's value and point, in the window's notation; in exact
// arithmetic the node's own exact numbers, never their roundings.
struct NodeNumbers {
    std::string value, point;
};

NodeNumbers NumbersOf(const BranchResult& result, const ProblemModel& model, const BranchNode& node, bool floating,
                      const std::string& separator) {
    const bool exact = result.exact && node.exactSolution.size() == node.solution.size();
    auto text = [&](double x, size_t v, bool objective) {
        if (!exact) return FormatNumber(x, floating, separator);
        return FormatExact(objective ? node.exactValue : node.exactSolution[v], floating, separator);
    };
    NodeNumbers n;
    n.value = text(node.value, 0, true);
    for (size_t v = 0; v < node.solution.size() && v < model.variables.size(); ++v)
        n.point += (v ? "; " : "") + model.variables[v].name + "=" + text(node.solution[v], v, false);
    return n;
}

std::string Whole(const mpz_class& z) { return z.get_str(); }

std::string DivisorText(const ProblemModel& model, const DivisorProof& proof) {
    std::string text = "La línea " + SideText(model, uint32_t(proof.line), proof.side);
    if (proof.scale != 1) {
        std::string whole;
        for (const auto& [v, c] : proof.terms)
            whole += (whole.empty() || c < 0 ? "" : "+") + Whole(c) + model.variables[v].name;
        text += ", multiplicada por " + Whole(proof.scale) + " para que sus números sean enteros (" + whole + "=" +
                Whole(proof.rhs) + ")";
    }
    return text + ", solo tiene variables enteras y el máximo común divisor de sus coeficientes, " +
           Whole(proof.divisor) + ", no divide a su lado derecho, " + Whole(proof.rhs) +
           ": no tiene ningún punto entero.";
}

std::string Plural(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string NodeEndReason(const BranchResult& r, const ProblemModel& model, const BranchNode& node, bool floating,
                          const std::string& separator) {
    const std::string head = "Nodo " + std::to_string(node.number) + ": ";
    const NodeNumbers n = NumbersOf(r, model, node, floating, separator);
    switch (node.end) {
    case NodeEnd::Branched: {
        if (node.made.size() != 2) return head + "ramificado.";
        const NodeBound& b = node.made[0];
        const size_t v = b.variable;
        std::string x = model.variables.at(v).name + " = ";
        if (r.exact && v < node.exactSolution.size()) x += FormatExact(node.exactSolution[v], floating, separator);
        else {
            double value = v < node.solution.size() ? node.solution[v] : 0.0;
            x += FormatNumber(value, floating, separator);
        }
        const char* where =
            node.stage == SolveStage::Unbounded ? "la relajación es ilimitada; en el vértice donde se detuvo, " : "";
        return head + where + x + " no es entero: se ramifica en dos nodos, uno con " +
               BoundLine(model, node.made[0]) + " y otro con " + BoundLine(model, node.made[1]) + ".";
    }
    case NodeEnd::PrunedByBound: {
        std::string text = head + "su valor, " + n.value + ", no mejora";
        if (node.against >= 1 && size_t(node.against) <= r.nodes.size()) {
            const BranchNode& best = r.nodes[size_t(node.against - 1)];
            text += " el mejor valor entero hallado, " + NumbersOf(r, model, best, floating, separator).value +
                    " (nodo " + std::to_string(best.number) + ")";
        }
        return text + ": se poda por cota.";
    }
    case NodeEnd::Infeasible:
        if (node.number == 1 && r.divisor.line >= 0) {
            std::string proof = DivisorText(model, r.divisor);
            proof[0] = 'l';  // "La línea" within the sentence
            return head + proof;
        }
        return head + "la relajación no tiene ningún punto factible: se cierra.";
    case NodeEnd::Integer:
        if (r.unboundedRelaxation)
            return head + "un punto entero (" + n.point + ") de un problema cuya relajación es ilimitada.";
        return head + "solución entera (" + n.point + ") de valor " + n.value + ", la mejor hallada hasta entonces.";
    case NodeEnd::Unbounded:
        return head + "la relajación es ilimitada y el vértice donde se detuvo (" + n.point + ") es entero.";
    default: return head + "sin terminar.";
    }
}

std::vector<std::string> SearchEnding(const BranchSearch& search, bool floating, const std::string& separator) {
    const BranchResult& r = search.Result();
    const ProblemModel& model = search.Model();
    std::array<size_t, 6> count{};
    for (const BranchNode& node : r.nodes) ++count[size_t(node.end)];
    const std::string closed = "Todos los nodos están cerrados: " + Plural(count[0], "ramificado", "ramificados") +
                               ", " + Plural(count[1], "podado por cota", "podados por cota") + ", " +
                               Plural(count[2], "no factible", "no factibles") + " y " +
                               Plural(count[3], "entero", "enteros") + ".";
    const BranchNode* best = r.best >= 1 && size_t(r.best) <= r.nodes.size() ? &r.nodes[size_t(r.best - 1)] : nullptr;
    std::vector<std::string> text;
    if (search.Active() || r.stage == SolveStage::Choosing) {
        text.push_back("Búsqueda sin terminar: " + NodeCountText(r) + ".");
        if (best && !r.unboundedRelaxation) {
            const NodeNumbers n = NumbersOf(r, model, *best, floating, separator);
            text.push_back("La mejor solución entera hasta ahora vale " + n.value + ", en el nodo " +
                           std::to_string(best->number) + " (" + n.point + ").");
        } else if (r.unboundedRelaxation) {
            text.push_back("La relajación lineal es ilimitada y aún no se conoce ningún punto entero.");
        }
        return text;
    }
    if (r.stage == SolveStage::Infeasible && r.divisor.line >= 0) {
        text.push_back("Fin de la búsqueda: No factible, sin ramificar.");
        text.push_back(DivisorText(model, r.divisor));
    } else if (r.stage == SolveStage::Infeasible) {
        text.push_back("Fin de la búsqueda: No factible, no hay ningún punto entero.");
        text.push_back(closed);
    } else if (r.stage == SolveStage::Optimal && best) {
        const NodeNumbers n = NumbersOf(r, model, *best, floating, separator);
        text.push_back("Fin de la búsqueda: el óptimo entero vale " + n.value + ", en el nodo " +
                       std::to_string(best->number) + " (" + n.point + ").");
        text.push_back(closed);
    } else if (r.stage == SolveStage::Unbounded && best) {
        const NodeNumbers n = NumbersOf(r, model, *best, floating, separator);
        text.push_back("Fin de la búsqueda: Ilimitado. La relajación lineal es ilimitada y el nodo " +
                       std::to_string(best->number) + " tiene un punto entero (" + n.point +
                       "); con datos racionales, el problema entero es entonces ilimitado.");
    }
    return text;
}

std::vector<std::string> BranchHeadings(const BranchResult& result) {
    std::vector<std::string> headings(kBranchHeadings.begin(), kBranchHeadings.end());
    for (const BranchNode& node : result.nodes)
        if (node.fromParent) {
            headings.emplace_back("Pivotes");
            break;
        }
    return headings;
}

std::vector<BranchRow> BranchRows(const BranchResult& result, const ProblemModel& model, bool floating,
                                  const std::string& separator) {
    std::vector<BranchRow> rows;
    const bool pivots = BranchHeadings(result).size() > kBranchHeadings.size();
    for (const BranchNode& node : result.nodes) {
        BranchRow row;
        row.cells.resize(kBranchHeadings.size());
        row.best = node.number == result.best;
        row.cells[0] = std::to_string(node.number);
        row.cells[1] = node.parent == 0 ? "—" : std::to_string(node.parent);
        row.cells[2] = BoundsText(model, node);
        if (node.stage == SolveStage::Optimal || node.stage == SolveStage::Unbounded) {
            NodeNumbers n = NumbersOf(result, model, node, floating, separator);
            row.cells[3] = node.stage == SolveStage::Unbounded ? "ilimitado" : std::move(n.value);
            row.cells[4] = std::move(n.point);
        }
        row.cells[5] = std::string(NodeEndText(node.end)) + (row.best ? " (mejor)" : "");
        // Every tableau after the node's first is one pivot.
        if (pivots)
            row.cells.push_back(std::to_string(std::max(node.steps - 1, 0)) + (node.fromParent ? " desde el padre" : ""));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string NodeCountText(const BranchResult& result) {
    const size_t n = result.nodes.size();
    return std::to_string(n) + (n == 1 ? " nodo resuelto" : " nodos resueltos");
}

void WriteSearchPage(files::StepsPage& page, const BranchSearch& search, const std::vector<StepHistory>& kept,
                     ProblemState* open, const StepHistory& openSteps, const StepsPageInput& input) {
    const BranchResult& r = search.Result();
    std::vector<files::StepsPageTableau> all;
    const bool floating = input.numbers.floating;
    auto add = [&](ProblemState& shown, const StepHistory& steps, const BranchNode& node, bool concluded) {
        files::StepsPage part = BuildStepsPage(shown, steps, input);
        const std::string title =
            "Nodo " + std::to_string(node.number) + (node.bounds.empty() ? "" : " · " + BoundsText(search.Model(), node));
        for (files::StepsPageTableau& t : part.tableaux) t.node = title;
        // The node's last tableau says why the node ended.
        if (concluded && !part.tableaux.empty())
            part.tableaux.back().explanation.push_back(
                NodeEndReason(r, search.Model(), node, floating, input.numbers.separator));
        for (files::StepsPageTableau& t : part.tableaux) all.push_back(std::move(t));
    };
    for (size_t k = 0; k < kept.size() && k < r.nodes.size(); ++k) {
        ProblemState shown;
        if (r.nodes[k].last) CopyProblemState(*r.nodes[k].last, shown);
        else search.SolveAgain(int(k + 1), shown);
        add(shown, kept[k], r.nodes[k], !(search.NodeOpen() && k + 1 == r.nodes.size()));
    }
    if (open && !r.nodes.empty()) add(*open, openSteps, r.nodes.back(), false);
    page.tableaux = std::move(all);
    page.tree.ending = SearchEnding(search, floating, input.numbers.separator);
    page.tree.headings = BranchHeadings(r);
    for (const BranchRow& row : BranchRows(r, search.Model(), input.numbers.floating, input.numbers.separator))
        page.tree.rows.push_back(row.cells);
}

} // namespace optimara
