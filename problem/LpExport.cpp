// SPDX-License-Identifier: GPL-3.0-or-later
#include "LpExport.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <set>
#include <stdexcept>

#include "BuildProblem.h"
#include "TextRules.h"

namespace optimara {
namespace {

// The longest name the format reads.
constexpr size_t kLongestLpName = 255;

bool LpNameChar(unsigned char c, bool first) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_') return true;
    if (first) return false;
    return (c >= '0' && c <= '9') || std::string("!\"#$%&()/,.;?@`'{}|~").find(char(c)) != std::string::npos;
}

// Words the format gives a meaning where a name may stand.
bool Keyword(const std::string& folded) {
    static const std::set<std::string> words = {
        "max", "maximize", "maximise", "maximum", "min", "minimize", "minimise", "minimum", "s.t.", "st",
        "st.", "subject", "such", "bound", "bounds", "gen", "general", "generals", "int", "integer",
        "integers", "bin", "binary", "binaries", "end", "free", "inf", "infinity", "obj"};
    return words.count(folded) != 0;
}

// The shortest text that reads back to the same double: 0.1 stays 0.1.
std::string Number(double v) {
    if (!std::isfinite(v)) throw std::runtime_error("El problema tiene un número demasiado grande para un archivo LP.");
    char text[40];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

// The typed name for a comment: control characters, which the format
// refuses even there, as \xNN.
std::string Printable(const std::string& name) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32 && c != 127) out += ch;
        else out += std::string("\\x") + digits[c >> 4] + digits[c & 15];
    }
    return out;
}

void Terms(std::string& out, const std::vector<ModelTerm>& terms, const std::vector<std::string>& names) {
    if (terms.empty()) {
        // The format wants a variable in every row; a left side without
        // one holds for every point or none.
        out += " 0 " + names.at(0);
        return;
    }
    bool first = true;
    for (const ModelTerm& t : terms) {
        out += t.coef < 0 ? " - " : first ? " " : " + ";
        out += Number(t.coef < 0 ? -t.coef : t.coef) + " " + names[t.variable];
        first = false;
    }
}

} // namespace

bool ModelFromText(ProblemModel& model, const ProblemText& text, BuildReport& report, bool exact) {
    ReadModel(model, text, {}, report, exact);
    if (!report.errorPanel.empty()) return false;
    CompleteModel(model);
    return true;
}

std::vector<std::string> LpNames(const ProblemModel& model) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const ModelVariable& v : model.variables) {
        std::string name;
        for (size_t k = 0; k < v.name.size(); ++k)
            name += LpNameChar(static_cast<unsigned char>(v.name[k]), k == 0) ? v.name[k] : '_';
        if (Keyword(text::FoldedName(name))) name += '_';
        // The format reads no name longer than kLongestLpName; the cut leaves
        // room for the number that tells cut names apart.
        if (name.size() > kLongestLpName) name.resize(kLongestLpName - 16);
        // The format tells names apart by case; the problem does not, but
        // two names may have become one above.
        const std::string stem = name;
        for (int k = 2; taken.count(text::FoldedName(name)) != 0; ++k) name = stem + "_" + std::to_string(k);
        taken.insert(text::FoldedName(name));
        names.push_back(name);
    }
    return names;
}

namespace {

// Exact arithmetic reads numbers of any length; the file holds doubles, and
// a number beyond them would be written as the largest one, silently wrong.
void CheckExactFitsDoubles(const ProblemModel& model) {
    if (!model.exact) return;
    static const mpq_class largest(std::numeric_limits<double>::max());
    auto check = [](const mpq_class& q) {
        if (abs(q) > largest) throw std::runtime_error("El problema tiene un número demasiado grande para un archivo LP.");
    };
    for (const std::string& number : model.objectiveText) check(ExactNumber(number));
    for (const ModelLine& line : model.lines) {
        check(ExactNumber(line.rhsText));
        for (const ModelSide& side : line.sides)
            for (const ModelTerm& t : side.terms) check(TermValue(side, t));
    }
}

} // namespace

std::string LpText(const ProblemModel& model) {
    CheckExactFitsDoubles(model);
    const std::vector<std::string> names = LpNames(model);
    std::string out = "\\ Optimara\n";
    // A name the format could not take as typed is told in a comment.
    for (uint32_t v = 0; v < model.variables.size(); ++v)
        if (names[v] != model.variables[v].name)
            out += "\\ " + names[v] + " = " + Printable(model.variables[v].name) + "\n";
    out += model.maximize ? "Maximize\n obj:" : "Minimize\n obj:";
    std::vector<ModelTerm> objective;
    for (uint32_t v = 0; v < model.variables.size(); ++v)
        if (v < model.objective.size() && model.objective[v] != 0) objective.push_back({v, 0, model.objective[v]});
    Terms(out, objective, names);
    out += "\nSubject To\n";
    // A side becomes a constraint unless all its rows are bounds.
    for (size_t r = 0; r < model.rows.size(); ++r) {
        const RowOrigin& row = model.rows[r];
        if (row.second && r > 0 && model.rows[r - 1].line == row.line && model.rows[r - 1].side == row.side) continue;
        const ModelLine& line = model.lines[row.line];
        std::string name = model.slackNames[r];
        if (row.second) name.pop_back();
        out += " " + name + ":";
        Terms(out, line.sides[row.side].terms, names);
        out += line.relation == '<' ? " <= " : line.relation == '>' ? " >= " : " = ";
        out += Number(line.rhs) + "\n";
    }
    // The format wants at least one constraint: one that every point meets.
    if (model.rows.empty())
        out += "\\ Sin restricciones: sólo las cotas de las líneas de signo.\n h0: 0 " + names.at(0) + " >= 0\n";
    out += "Bounds\n";
    for (uint32_t v = 0; v < model.variables.size(); ++v)
        out += " " + names[v] + (model.variables[v].nonNegative ? " >= 0\n" : " free\n");
    if (!model.integers.empty()) {
        out += "General\n";
        for (uint32_t v : model.integers) out += " " + names[v] + "\n";
    }
    out += "End\n";
    return out;
}

} // namespace optimara
