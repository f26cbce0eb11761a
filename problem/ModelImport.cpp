// SPDX-License-Identifier: GPL-3.0-or-later
// From what a file reader made of a file to the typed problem: names the
// typed text can hold, numbers without exponents, one line per row and per
// bound, and the refusals in the user's words.
#include "ModelImport.h"

#include "Sensitivity.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>

#include "BuildProblem.h"
#include "ImportedModel.h"
#include "Sensitivity.h"
#include "TextRules.h"

namespace optimara {
namespace import {

std::string Refusal::Text() const {
    return line > 0 ? "Línea " + std::to_string(line) + ": " + what : what;
}

void Refuse(int line, const std::string& what) { throw Refusal{line, what}; }

uint32_t ImportedModel::Column(const std::string& name) {
    // Looked up before it is added: most names are met again and again.
    const auto at = index.find(name);
    if (at != index.end()) return at->second;
    index.emplace(name, static_cast<uint32_t>(columns.size()));
    columns.push_back(ImportedColumn{name, {}});
    return static_cast<uint32_t>(columns.size() - 1);
}

int64_t ImportedModel::Find(const std::string& name) const {
    const auto at = index.find(name);
    return at == index.end() ? -1 : static_cast<int64_t>(at->second);
}

bool ParsesAsNumber(std::string_view text, double& value) {
    if (!text.empty() && text[0] == '+') text.remove_prefix(1);
    if (text.empty() || text[0] == '+') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    // Beyond the doubles, either way: a number still, but none the typed
    // text could hold.
    if (error == std::errc::result_out_of_range && end == text.data() + text.size()) {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    return error == std::errc() && end == text.data() + text.size();
}

double FileNumber(std::string_view text, int line) {
    double value = 0.0;
    if (!ParsesAsNumber(text, value)) Refuse(line, "se esperaba un número y se lee «" + std::string(text) + "».");
    // The program reads digits one by one into a double and divides once by
    // a power of ten: a number beyond these would overflow in that reading.
    const double size = std::fabs(value);
    if (std::isnan(value) || size > 1e300 || (size != 0.0 && size < 1e-280))
        Refuse(line, "número fuera del alcance del programa: «" + std::string(text) + "».");
    return value;
}

std::string TypedNumber(double value) {
    // The problem's own writing of a number; a negative zero is 0.
    return optimara::TypedNumber(value == 0.0 ? 0.0 : value);
}

namespace {

// A byte that may continue a typed name: no blank, no control character,
// none of the seven delimiters.
bool ContinuesName(unsigned char c) { return c > 32 && c != 127 && !text::IsDelimiter(c); }

// The file's name in the typed syntax: other characters become "_", and a
// name that could not start a typed name gets a letter before it (a digit,
// a point, a letter beyond ASCII) or "_" instead of its first character.
std::string TypedName(const std::string& name) {
    std::string out;
    for (char ch : name) out += ContinuesName(static_cast<unsigned char>(ch)) ? ch : '_';
    if (out.empty()) return "x";
    const auto first = static_cast<unsigned char>(out[0]);
    if (!text::StartsName(first)) {
        if (first >= 0x80 || text::IsDigit(first) || first == '.') out.insert(0, "x");
        else out[0] = '_';
    }
    // A line that opens so is read as the list of integer variables.
    const std::string folded = text::FoldedName(out);
    if (folded.rfind("entero:", 0) == 0 || folded.rfind("enteros:", 0) == 0) out.insert(0, "x");
    return out;
}

// Control characters, which an editor line cannot show, as \xNN.
std::string Printable(const std::string& name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 32 && c != 127) out += ch;
        else out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
    }
    return out;
}

// The typed names, and a comment line for each one written otherwise than
// in the file. The program does not tell case apart; the formats do.
std::vector<std::string> TypedNames(const ImportedModel& model, std::vector<std::string>& notes) {
    std::vector<std::string> names;
    std::unordered_set<std::string> taken;
    for (const ImportedColumn& column : model.columns) {
        const bool restored = !column.typed.empty() && TypedName(column.typed) == column.typed;
        const std::string stem = restored ? column.typed : TypedName(column.name);
        std::string name = stem;
        for (int k = 2; taken.count(text::FoldedName(name)) != 0; ++k) name = stem + "_" + std::to_string(k);
        taken.insert(text::FoldedName(name));
        if (name != column.name && !(restored && name == column.typed))
            notes.push_back("; «" + name + "» es «" + Printable(column.name) + "» en el archivo");
        names.push_back(std::move(name));
    }
    return names;
}

// Terms of one column summed, in the order first written, zeros kept.
Terms Merged(const Terms& terms, std::vector<int64_t>& slot) {
    Terms out;
    for (const auto& [column, coef] : terms) {
        if (slot[column] < 0) {
            slot[column] = static_cast<int64_t>(out.size());
            out.emplace_back(column, coef);
        } else {
            out[size_t(slot[column])].second += coef;
        }
    }
    for (const auto& term : out) slot[term.first] = -1;
    return out;
}

// Counts the first tableau as the build will make it, line by line: a sign
// line makes no row but keeps its variable to one column.
struct TableauSize {
    uint64_t rows = 1;
    std::vector<char> nonNegative;
    std::vector<char> used;

    void Line(const Terms& terms, char relation, double rhs) {
        for (const auto& term : terms) used[term.first] = 1;
        const bool single = terms.size() == 1 && rhs == 0.0;
        const bool sign = single && ((relation == '>' && terms[0].second > 0) ||
                                     (relation == '<' && terms[0].second < 0) || relation == '=');
        if (sign) nonNegative[terms[0].first] = 1;
        rows += relation == '=' ? (sign ? 1 : 2) : (sign ? 0 : 1);
    }
    void Check() const {
        uint64_t cols = 1;
        for (size_t v = 0; v < used.size(); ++v)
            if (used[v]) cols += nonNegative[v] ? 1 : 2;
        if (rows * cols <= kMaxTableauCells) return;
        Refuse(0, "El problema es demasiado grande: su tabla tendría " + std::to_string(rows) + " filas y " +
                      std::to_string(cols) + " columnas (" + std::to_string(rows * cols) +
                      " celdas; se admiten como mucho " + std::to_string(kMaxTableauCells) + ").");
    }
};

class Typist {
public:
    Typist(const ImportedModel& model, std::vector<std::string> names)
        : model_(model), names_(std::move(names)), slot_(model.columns.size(), -1) {
        size_.nonNegative.assign(model.columns.size(), 0);
        size_.used.assign(model.columns.size(), 0);
    }

    std::string Objective() {
        const Terms terms = Merged(model_.objective, slot_);
        if (terms.empty())
            Refuse(model_.objectiveLine,
                   "función objetivo vacía: el programa necesita al menos una variable en la función objetivo.");
        for (const auto& term : terms) size_.used[term.first] = 1;
        return Side(terms);
    }

    void Rows(std::vector<std::string>& lines) {
        for (const ImportedRow& row : model_.rows) {
            Terms terms = Merged(row.terms, slot_);
            // The program refuses a term with a zero: it has no effect.
            Terms kept;
            for (const auto& term : terms)
                if (term.second != 0.0) kept.push_back(term);
            if (kept.empty() && Holds(row.relation, row.rhs)) continue;
            Line(lines, kept, row.relation, row.rhs);
        }
    }

    void Bounds(std::vector<std::string>& lines) {
        for (uint32_t v = 0; v < model_.columns.size(); ++v) {
            const ImportedColumn& c = model_.columns[v];
            const Terms x{{v, 1.0}};
            if (c.lower == kInfinity || c.upper == -kInfinity)
                Refuse(0, "La variable «" + Printable(c.name) +
                              "» tiene una cota inferior +∞ o una superior −∞: ningún valor la cumple.");
            if (c.lower == c.upper) {
                Line(lines, x, '=', c.lower);
                continue;
            }
            // A variable at or above a positive bound is also above 0: one
            // column in the tableau, not the two of a free variable.
            if (c.lower >= 0.0) Line(lines, x, '>', 0.0);
            if (c.lower != 0.0 && std::isfinite(c.lower)) Line(lines, x, '>', c.lower);
            if (std::isfinite(c.upper)) Line(lines, x, '<', c.upper);
        }
    }

    void Integers(std::vector<std::string>& lines) const {
        std::string list;
        for (uint32_t v = 0; v < model_.columns.size(); ++v)
            if (model_.columns[v].integer && size_.used[v]) list += (list.empty() ? "" : ", ") + names_[v];
        if (!list.empty()) lines.push_back("entero: " + list);
    }

    const TableauSize& Size() const { return size_; }

private:
    static bool Holds(char relation, double rhs) {
        return relation == '<' ? 0.0 <= rhs : relation == '>' ? 0.0 >= rhs : rhs == 0.0;
    }

    void Line(std::vector<std::string>& lines, const Terms& terms, char relation, double rhs) {
        size_.Line(terms, relation, rhs);
        lines.push_back(Side(terms) + relation + TypedNumber(rhs));
    }

    std::string Side(const Terms& terms) const {
        std::string out;
        for (const auto& [column, coef] : terms) {
            if (coef >= 0 && !out.empty()) out += '+';
            if (coef == -1.0) out += "-";
            else if (coef != 1.0) out += TypedNumber(coef);
            out += names_[column];
        }
        return out;
    }

    const ImportedModel& model_;
    std::vector<std::string> names_;
    std::vector<int64_t> slot_;
    TableauSize size_;
};

} // namespace

ProblemText Typed(const ImportedModel& model) {
    ProblemText text;
    text.comboIndex = model.maximize ? 1 : 0;
    std::vector<std::string> notes;
    Typist typist(model, TypedNames(model, notes));
    text.objective = typist.Objective();
    for (const std::string& note : model.notes) notes.push_back("; " + Printable(note));
    text.lines = std::move(notes);
    typist.Rows(text.lines);
    typist.Bounds(text.lines);
    typist.Integers(text.lines);
    typist.Size().Check();
    if (std::none_of(text.lines.begin(), text.lines.end(), [](const std::string& l) { return l[0] != ';'; }))
        Refuse(0, "El problema no tiene restricciones ni cotas: el programa necesita al menos una línea.");
    return text;
}

} // namespace import

namespace {

template <class Reader>
ImportResult Imported(const std::string& bytes, Reader read) {
    ImportResult result;
    if (bytes.size() > kMaxImportBytes) {
        result.refusal = kImportTooLarge;
        return result;
    }
    // Editors on Windows may open the file with a byte order mark.
    std::string_view text = bytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    try {
        result.text = import::Typed(read(text));
        result.ok = true;
    } catch (const import::Refusal& refusal) {
        result.text = ProblemText{};
        result.refusal = refusal.Text();
    }
    return result;
}

} // namespace

ImportResult ImportLp(const std::string& bytes) { return Imported(bytes, import::ReadLp); }

ImportResult ImportMps(const std::string& bytes) { return Imported(bytes, import::ReadMps); }

} // namespace optimara
