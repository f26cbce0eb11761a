// SPDX-License-Identifier: GPL-3.0-or-later
// The MPS reader, fixed and free form: a section header at the start of a
// line, data lines indented under it. Fields are split at blanks; a line
// whose count of fields fits no form is read by the fixed columns, where
// names may hold blanks.
#include <algorithm>
#include <cctype>
#include <cmath>

#include "ImportedModel.h"

namespace optimara::import {
namespace {

enum class Part { None, ObjSense, ObjName, Rows, Columns, Rhs, Ranges, Bounds };

using Fields = std::vector<std::string_view>;

const char* const kConstant =
    "constante en la función objetivo: el programa no admite constantes en la función objetivo.";

Fields Split(std::string_view s) {
    Fields out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        const size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) out.push_back(s.substr(start, i - start));
    }
    return out;
}

std::string_view FixedField(std::string_view s, size_t from, size_t to) {
    if (from >= s.size()) return {};
    s = s.substr(from, std::min(to, s.size()) - from);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

// The fixed form's six fields (columns 2-3, 5-12, 15-22, 25-36, 40-47,
// 50-61), in the order the free form would give them.
Fields FixedFields(std::string_view s, Part part) {
    const std::string_view f[6] = {FixedField(s, 1, 3),   FixedField(s, 4, 12),  FixedField(s, 14, 22),
                                   FixedField(s, 24, 36), FixedField(s, 39, 47), FixedField(s, 49, 61)};
    Fields out;
    const auto add = [&](std::string_view v) {
        if (!v.empty()) out.push_back(v);
    };
    if (part == Part::Rows) return {f[0], f[1]};
    if (part == Part::Bounds) {
        add(f[0]), add(f[1]);
        out.push_back(f[2]);
        add(f[3]);
        return out;
    }
    if (part != Part::Columns) add(f[1]);
    else out.push_back(f[1]);
    out.push_back(f[2]), out.push_back(f[3]);
    add(f[4]), add(f[5]);
    return out;
}

bool CountFits(const Fields& f, Part part) {
    switch (part) {
    case Part::Rows: return f.size() == 2;
    case Part::Columns: return f.size() == 3 || f.size() == 5;
    case Part::Rhs:
    case Part::Ranges: return f.size() >= 2 && f.size() <= 5;
    case Part::Bounds: return f.size() >= 2 && f.size() <= 4;
    default: return !f.empty();
    }
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// A bound's value: 1e30 and beyond, and the words of infinity, are none.
double BoundValue(std::string_view text, int line) {
    double v = 0.0;
    if (ParsesAsNumber(text, v) && (std::isinf(v) || std::fabs(v) >= kInfiniteBound))
        return v < 0 ? -kInfinity : kInfinity;
    return FileNumber(text, line);
}

// Row of the name: -1 the objective, -2 another free row, else its index.
constexpr int64_t kObjectiveRow = -1, kFreeRow = -2;

class MpsReader {
public:
    ImportedModel Read(std::string_view bytes);

private:
    void Header(const Fields& f);
    void Data(std::string_view s);
    void Sense(std::string_view word);
    void Row(const Fields& f);
    void Column(const Fields& f);
    void Values(const Fields& f, bool ranges);
    void Bound(const Fields& f);
    void ApplyBound(const std::string& type, ImportedColumn& c, uint32_t v, double value);
    void ApplyRanges();
    void Note();
    int64_t RowOf(std::string_view name) const;

    ImportedModel model_;
    Part part_ = Part::None;
    int line_ = 0;
    bool ended_ = false;
    std::unordered_map<std::string, int64_t> rows_;
    std::string objectiveName_;
    bool haveObjective_ = false;
    bool integers_ = false;
    std::string rhsSet_, rangeSet_, boundSet_;
    std::vector<double> range_;
    std::vector<char> ranged_, lowerSet_;
    // Per column: an UP bound below 0 took its lower bound to minus
    // infinity; some bound line named it; a marker made it integer.
    std::vector<char> lowerFromNegativeUp_, bounded_, marked_;
};

void MpsReader::Sense(std::string_view word) {
    const std::string w = Upper(word);
    if (w == "MAX" || w == "MAXIMIZE" || w == "MAXIMISE") model_.maximize = true;
    else if (w == "MIN" || w == "MINIMIZE" || w == "MINIMISE") model_.maximize = false;
    else Refuse(line_, "sentido del objetivo «" + std::string(word) + "» desconocido (MAX o MIN).");
    part_ = Part::None;
}

void MpsReader::Header(const Fields& f) {
    const std::string h = Upper(f[0]);
    const auto refuse = [&](const char* what) { Refuse(line_, std::string(what)); };
    if (h == "NAME") part_ = Part::None;
    else if (h == "ROWS") part_ = Part::Rows, model_.objectiveLine = line_;
    else if (h == "COLUMNS") part_ = Part::Columns;
    else if (h == "RHS") part_ = Part::Rhs;
    else if (h == "RANGES") part_ = Part::Ranges;
    else if (h == "BOUNDS") part_ = Part::Bounds;
    else if (h == "ENDATA") ended_ = true;
    else if (h == "OBJSENSE" || h == "OBJSENSE:") {
        part_ = Part::ObjSense;
        if (f.size() > 1) Sense(f[1]);
    } else if (h == "OBJNAME") {
        part_ = Part::ObjName;
        if (f.size() > 1) objectiveName_ = std::string(f[1]), part_ = Part::None;
    } else if (h == "QUADOBJ" || h == "QMATRIX" || h == "QSECTION" || h == "QCMATRIX")
        refuse("términos cuadráticos: el programa solo resuelve problemas lineales.");
    else if (h == "SOS") refuse("conjuntos especiales (SOS): el programa no los admite.");
    else if (h == "INDICATORS") refuse("restricciones indicadoras: el programa no las admite.");
    else if (h == "LAZYCONS") refuse("restricciones diferidas (lazy constraints): el programa no las admite.");
    else if (h == "USERCUTS") refuse("cortes de usuario (user cuts): el programa no los admite.");
    else Refuse(line_, "sección «" + std::string(f[0]) + "» desconocida: el programa no sabe leerla.");
}

void MpsReader::Row(const Fields& f) {
    const std::string type = Upper(f[0]);
    const std::string name(f[1]);
    if (rows_.count(name) != 0) Refuse(line_, "fila «" + name + "» repetida.");
    if (type == "N") {
        const bool objective = !haveObjective_ && (objectiveName_.empty() || objectiveName_ == name);
        if (objective) haveObjective_ = true, model_.objectiveLine = line_;
        rows_.emplace(name, objective ? kObjectiveRow : kFreeRow);
        return;
    }
    if (type != "L" && type != "G" && type != "E")
        Refuse(line_, "tipo de fila «" + std::string(f[0]) + "» desconocido.");
    rows_.emplace(name, static_cast<int64_t>(model_.rows.size()));
    model_.rows.push_back({{}, type == "L" ? '<' : type == "G" ? '>' : '=', 0.0, line_});
}

int64_t MpsReader::RowOf(std::string_view name) const {
    const auto at = rows_.find(std::string(name));
    if (at == rows_.end()) Refuse(line_, "fila «" + std::string(name) + "» desconocida.");
    return at->second;
}

void MpsReader::Column(const Fields& f) {
    if (Upper(f[1]) == "'MARKER'" || Upper(f[1]) == "MARKER") {
        const std::string kind = Upper(f.back());
        if (kind == "'INTORG'") integers_ = true;
        else if (kind == "'INTEND'") integers_ = false;
        else Refuse(line_, "marcador «" + std::string(f.back()) + "» desconocido.");
        return;
    }
    const uint32_t v = model_.Column(std::string(f[0]));
    if (integers_) model_.columns[v].integer = true, marked_.resize(model_.columns.size(), 0), marked_[v] = 1;
    for (size_t k = 1; k + 1 < f.size(); k += 2) {
        const int64_t row = RowOf(f[k]);
        const double value = FileNumber(f[k + 1], line_);
        if (row == kObjectiveRow) model_.objective.emplace_back(v, value);
        else if (row >= 0) model_.rows[size_t(row)].terms.emplace_back(v, value);
    }
}

// RHS and RANGES lines: an optional set name, then pairs of row and value.
// Only the first set is read, as solvers do.
void MpsReader::Values(const Fields& f, bool ranges) {
    std::string& set = ranges ? rangeSet_ : rhsSet_;
    size_t k = 0;
    if (f.size() % 2 == 1) {
        if (set.empty()) set = std::string(f[0]);
        if (set != f[0]) return;
        k = 1;
    }
    for (; k + 1 < f.size(); k += 2) {
        const int64_t row = RowOf(f[k]);
        const double value = FileNumber(f[k + 1], line_);
        if (row == kObjectiveRow && !ranges && value != 0.0) Refuse(line_, kConstant);
        if (row < 0) continue;
        if (!ranges) model_.rows[size_t(row)].rhs = value;
        else range_[size_t(row)] = value, ranged_[size_t(row)] = 1;
    }
}

void MpsReader::ApplyBound(const std::string& type, ImportedColumn& c, uint32_t v, double value) {
    const bool setsLower = type == "LO" || type == "LI" || type == "FX" || type == "FR" || type == "MI" || type == "BV";
    if (setsLower) lowerFromNegativeUp_[v] = 0, lowerSet_[v] = 1;
    bounded_[v] = 1;
    if (type == "UP" || type == "UI") {
        c.upper = value;
        // The old convention: a negative upper bound with no lower one
        // makes the variable unbounded below rather than infeasible.
        if (value < 0 && !lowerSet_[v] && c.lower == 0.0) c.lower = -kInfinity, lowerFromNegativeUp_[v] = 1;
    } else if (type == "LO" || type == "LI") c.lower = value;
    else if (type == "FX") c.lower = c.upper = value;
    else if (type == "FR") c.lower = -kInfinity, c.upper = kInfinity;
    else if (type == "MI") c.lower = -kInfinity;
    else if (type == "PL") c.upper = kInfinity;
    else if (type == "BV") c.lower = 0.0, c.upper = 1.0;
    if (type == "LI" || type == "UI" || type == "BV") c.integer = true;
}

void MpsReader::Bound(const Fields& f) {
    const std::string type = Upper(f[0]);
    if (type == "SC") Refuse(line_, "variables semicontinuas: el programa no las admite.");
    const bool valued = type == "UP" || type == "LO" || type == "FX" || type == "LI" || type == "UI";
    if (!valued && type != "FR" && type != "MI" && type != "PL" && type != "BV")
        Refuse(line_, "tipo de cota «" + std::string(f[0]) + "» desconocido.");
    // With a value: [set] column value. Without: [set] column, and BV may
    // still carry a value that says nothing.
    double ignored = 0.0;
    size_t at = 1;
    if (valued) at = f.size() == 4 ? 2 : 1;
    else if (f.size() == 4 ||
             (f.size() == 3 && !(model_.Find(std::string(f[1])) >= 0 && ParsesAsNumber(f[2], ignored))))
        at = 2;
    if (valued && (f.size() < 3)) Refuse(line_, "falta el valor de la cota " + type + ".");
    if (at == 2) {
        if (boundSet_.empty()) boundSet_ = std::string(f[1]);
        if (boundSet_ != f[1]) return;
    }
    const int64_t v = model_.Find(std::string(f[at]));
    if (v < 0) Refuse(line_, "columna «" + std::string(f[at]) + "» desconocida.");
    for (auto* flags : {&lowerSet_, &lowerFromNegativeUp_, &bounded_}) flags->resize(model_.columns.size(), 0);
    const double value = valued ? BoundValue(f[at + 1], line_) : 0.0;
    ApplyBound(type, model_.columns[size_t(v)], uint32_t(v), value);
}

void MpsReader::Data(std::string_view s) {
    Fields f = Split(s);
    if (!CountFits(f, part_)) {
        Fields fixed = FixedFields(s, part_);
        if (CountFits(fixed, part_) && std::none_of(fixed.begin(), fixed.end(), [](auto x) { return x.empty(); }))
            f = std::move(fixed);
        else if (part_ != Part::None)
            Refuse(line_, "no se entiende esta línea de datos.");
    }
    switch (part_) {
    case Part::ObjSense: Sense(f[0]); return;
    case Part::ObjName: objectiveName_ = std::string(f[0]), part_ = Part::None; return;
    case Part::Rows: Row(f); return;
    case Part::Columns:
        range_.resize(model_.rows.size(), 0.0), ranged_.resize(model_.rows.size(), 0);
        Column(f);
        return;
    case Part::Rhs: Values(f, false); return;
    case Part::Ranges:
        range_.resize(model_.rows.size(), 0.0), ranged_.resize(model_.rows.size(), 0);
        Values(f, true);
        return;
    case Part::Bounds:
        Bound(f);
        return;
    default: Refuse(line_, "datos fuera de una sección.");
    }
}

// A ranged row becomes two, by the usual table: an L row reaches |R|
// below its right-hand side, a G row |R| above, an E row |R| on the side of
// R's sign.
void MpsReader::ApplyRanges() {
    std::vector<ImportedRow> rows;
    ranged_.resize(model_.rows.size(), 0);
    for (size_t r = 0; r < model_.rows.size(); ++r) {
        ImportedRow& row = model_.rows[r];
        if (!ranged_[r] || (row.relation == '=' && range_[r] == 0.0)) {
            rows.push_back(std::move(row));
            continue;
        }
        const double R = range_[r];
        double low = row.rhs, high = row.rhs;
        if (row.relation == '<') low = row.rhs - std::fabs(R);
        else if (row.relation == '>') high = row.rhs + std::fabs(R);
        else (R > 0 ? high : low) = row.rhs + R;
        if (low == high) {
            rows.push_back({std::move(row.terms), '=', low, row.line});
            continue;
        }
        rows.push_back({row.terms, '>', low, row.line});
        rows.push_back({std::move(row.terms), '<', high, row.line});
    }
    model_.rows = std::move(rows);
}

// Where readers differ, what this one did, so that the user knows.
void MpsReader::Note() {
    lowerFromNegativeUp_.resize(model_.columns.size(), 0), marked_.resize(model_.columns.size(), 0);
    bounded_.resize(model_.columns.size(), 0);
    for (size_t v = 0; v < model_.columns.size(); ++v) {
        const std::string& name = model_.columns[v].name;
        if (lowerFromNegativeUp_[v])
            model_.notes.push_back(name +
                                   ": cota UP negativa sin cota inferior; como es costumbre en MPS, la inferior es −∞");
        else if (marked_[v] && !bounded_[v])
            model_.notes.push_back(name + ": entera sin cotas en el archivo; se toma " + name +
                                   " ≥ 0 sin cota superior (algunos programas la toman binaria)");
    }
}

ImportedModel MpsReader::Read(std::string_view all) {
    for (size_t at = 0; at < all.size() && !ended_;) {
        const size_t end = std::min(all.find('\n', at), all.size());
        std::string_view s = all.substr(at, end - at);
        at = end + 1;
        ++line_;
        while (!s.empty() && (s.back() == '\r' || s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
        if (s.empty() || s[0] == '*' || Split(s).empty()) continue;
        if (s[0] != ' ' && s[0] != '\t') Header(Split(s));
        else Data(s);
    }
    ApplyRanges();
    Note();
    return std::move(model_);
}

} // namespace

ImportedModel ReadMps(std::string_view bytes) { return MpsReader().Read(bytes); }

} // namespace optimara::import
