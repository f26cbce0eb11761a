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

std::vector<BranchRow> BranchRows(const BranchResult& result, const ProblemModel& model, bool floating,
                                  const std::string& separator) {
    std::vector<BranchRow> rows;
    for (const BranchNode& node : result.nodes) {
        BranchRow row;
        row.best = node.number == result.best;
        row.cells[0] = std::to_string(node.number);
        row.cells[1] = node.parent == 0 ? "—" : std::to_string(node.parent);
        row.cells[2] = BoundsText(model, node);
        if (node.stage == SolveStage::Optimal) {
            // In exact arithmetic the node's own exact numbers, never their roundings.
            const bool exact = result.exact && node.exactSolution.size() == node.solution.size();
            auto text = [&](double x, size_t v, bool objective) {
                if (!exact) return FormatNumber(x, floating, separator);
                return FormatExact(objective ? node.exactValue : node.exactSolution[v], floating, separator);
            };
            row.cells[3] = text(node.value, 0, true);
            for (size_t v = 0; v < node.solution.size() && v < model.variables.size(); ++v)
                row.cells[4] += (v ? "; " : "") + model.variables[v].name + "=" + text(node.solution[v], v, false);
        }
        row.cells[5] = std::string(NodeEndText(node.end)) + (row.best ? " (mejor)" : "");
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
    auto add = [&](ProblemState& shown, const StepHistory& steps, const BranchNode& node) {
        files::StepsPage part = BuildStepsPage(shown, steps, input);
        const std::string title =
            "Nodo " + std::to_string(node.number) + (node.bounds.empty() ? "" : " · " + BoundsText(search.Model(), node));
        for (files::StepsPageTableau& t : part.tableaux) {
            t.node = title;
            all.push_back(std::move(t));
        }
    };
    for (size_t k = 0; k < kept.size() && k < r.nodes.size(); ++k) {
        ProblemState shown;
        CopyProblemState(*r.nodes[k].last, shown);
        add(shown, kept[k], r.nodes[k]);
    }
    if (open && !r.nodes.empty()) add(*open, openSteps, r.nodes.back());
    page.tableaux = std::move(all);
    std::copy(kBranchHeadings.begin(), kBranchHeadings.end(), page.tree.headings.begin());
    for (const BranchRow& row : BranchRows(r, search.Model(), input.numbers.floating, input.numbers.separator))
        page.tree.rows.push_back(row.cells);
}

} // namespace optimara
