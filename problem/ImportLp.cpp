// SPDX-License-Identifier: GPL-3.0-or-later
// The CPLEX LP reader: sections by the keyword that opens their line,
// everything within a section read as one run of tokens, since a
// constraint may go on over several lines.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "ImportedModel.h"

namespace optimara::import {
namespace {

enum class Kind { Name, Number, Plus, Minus, Relation, Colon, Other };

struct Token {
    Kind kind;
    std::string_view text;
    char relation = 0;  // '<', '>' or '='
    int line = 0;
};

enum class Section { None, Objective, Constraints, Bounds, Generals, Binaries, End };

const char* const kQuadratic = "términos cuadráticos: el programa solo resuelve problemas lineales.";
const char* const kIndicator = "restricciones indicadoras: el programa no las admite.";

bool Is(std::string_view text, std::string_view word) {
    return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == b;
           });
}

bool IsInfinity(std::string_view text) { return Is(text, "inf") || Is(text, "infinity"); }

// The characters of a name in the format, besides letters and digits;
// bytes beyond ASCII are taken too, for names in other alphabets.
bool NameChar(unsigned char c) {
    static const auto table = [] {
        std::array<bool, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[size_t(b)] = std::isalnum(b) || b >= 0x80 ||
                           std::string_view("!\"#$%&()/,.;?@_`'{}|~").find(char(b)) != std::string_view::npos;
        return t;
    }();
    return table[c];
}

size_t NumberEnd(std::string_view s, size_t i) {
    while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.')) ++i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            return j;
        }
    }
    return i;
}

// The relation at s[i], of one or two characters ("<", "<=", "=<", ...).
size_t Relation(std::string_view s, size_t i, char& relation) {
    const char c = s[i], next = i + 1 < s.size() ? s[i + 1] : 0;
    if (c == '<' || c == '>') {
        relation = c;
        return i + (next == '=' ? 2 : 1);
    }
    relation = next == '<' || next == '>' ? next : '=';
    return i + (next == '<' || next == '>' || next == '=' ? 2 : 1);
}

// The tokens of one line (its comment already cut). Quadratic brackets and
// indicator arrows are refused where they stand.
void Tokenize(std::string_view s, int line, std::vector<Token>& out) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t start = i;
        Token t{Kind::Other, {}, 0, line};
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '[' || c == ']' || c == '^') Refuse(line, kQuadratic);
        if ((c == '-' && i + 1 < s.size() && s[i + 1] == '>') || s.substr(i, 3) == "<->") Refuse(line, kIndicator);
        if (c == '+' || c == '-') {
            t.kind = c == '+' ? Kind::Plus : Kind::Minus;
            ++i;
        } else if (c == '<' || c == '>' || c == '=') {
            t.kind = Kind::Relation;
            i = Relation(s, i, t.relation);
        } else if (c == ':') {
            t.kind = Kind::Colon;
            ++i;
        } else if (std::isdigit(c) || c == '.') {
            t.kind = Kind::Number;
            i = NumberEnd(s, i);
            if (i == start) ++i, t.kind = Kind::Other;
        } else if (NameChar(c)) {
            t.kind = Kind::Name;
            while (i < s.size() && NameChar(static_cast<unsigned char>(s[i]))) ++i;
        } else {
            ++i;
        }
        t.text = s.substr(start, i - start);
        out.push_back(t);
    }
}

struct Keyword {
    std::string_view word;
    Section section;
    const char* refusal;  // for sections the program cannot take
};

// Longer words first, so that "minimize" is not taken for "min".
const Keyword kKeywords[] = {
    {"maximize", Section::Objective, nullptr},
    {"maximise", Section::Objective, nullptr},
    {"maximum", Section::Objective, nullptr},
    {"max", Section::Objective, nullptr},
    {"minimize", Section::Objective, nullptr},
    {"minimise", Section::Objective, nullptr},
    {"minimum", Section::Objective, nullptr},
    {"min", Section::Objective, nullptr},
    {"subject to", Section::Constraints, nullptr},
    {"such that", Section::Constraints, nullptr},
    {"s.t.", Section::Constraints, nullptr},
    {"st.", Section::Constraints, nullptr},
    {"st", Section::Constraints, nullptr},
    {"bounds", Section::Bounds, nullptr},
    {"bound", Section::Bounds, nullptr},
    {"general constraints", Section::None, "restricciones generales: el programa no las admite."},
    {"generals", Section::Generals, nullptr},
    {"general", Section::Generals, nullptr},
    {"gen", Section::Generals, nullptr},
    {"integers", Section::Generals, nullptr},
    {"integer", Section::Generals, nullptr},
    {"binaries", Section::Binaries, nullptr},
    {"binary", Section::Binaries, nullptr},
    {"bin", Section::Binaries, nullptr},
    {"semi-continuous", Section::None, "variables semicontinuas: el programa no las admite."},
    {"semis", Section::None, "variables semicontinuas: el programa no las admite."},
    {"semi", Section::None, "variables semicontinuas: el programa no las admite."},
    {"sos", Section::None, "conjuntos especiales (SOS): el programa no los admite."},
    {"lazy constraints", Section::None, "restricciones diferidas (lazy constraints): el programa no las admite."},
    {"user cuts", Section::None, "cortes de usuario (user cuts): el programa no los admite."},
    {"end", Section::End, nullptr},
};

// The keyword that opens the line, if any, and where the rest begins.
const Keyword* OpeningKeyword(std::string_view s, size_t& rest) {
    for (const Keyword& k : kKeywords) {
        if (s.size() < k.word.size() || !Is(s.substr(0, k.word.size()), k.word)) continue;
        const size_t end = k.word.size();
        // "max:" or "st:" names a row; "maxx" is a name.
        if (end < s.size() && s[end] != ' ' && s[end] != '\t') continue;
        rest = end;
        return &k;
    }
    return nullptr;
}

struct Expression {
    Terms terms;
    double constant = 0.0;
    int constantLine = 0;
};

bool Label(const std::vector<Token>& t, size_t i) {
    return i + 1 < t.size() && t[i].kind == Kind::Name && t[i + 1].kind == Kind::Colon;
}

// A sum of terms, each "[sign] [number] name" or a constant; it ends at
// the first token that does not go on with it.
Expression ReadExpression(const std::vector<Token>& t, size_t& i, ImportedModel& model) {
    Expression e;
    if (t.empty()) return e;
    for (bool first = true;; first = false) {
        double sign = 1.0;
        bool signed_ = false;
        for (; i < t.size() && (t[i].kind == Kind::Plus || t[i].kind == Kind::Minus); ++i, signed_ = true)
            if (t[i].kind == Kind::Minus) sign = -sign;
        if (!first && !signed_) return e;
        const int line = i < t.size() ? t[i].line : t.back().line;
        double coef = 1.0;
        bool number = false;
        if (i < t.size() && t[i].kind == Kind::Number) {
            coef = FileNumber(t[i++].text, line);
            number = true;
        }
        if (i < t.size() && t[i].kind == Kind::Name && !Label(t, i)) {
            e.terms.emplace_back(model.Column(std::string(t[i++].text)), sign * coef);
        } else if (number) {
            e.constant += sign * coef;
            e.constantLine = line;
        } else if (signed_) {
            Refuse(line, "se esperaba un número o una variable tras el signo.");
        } else {
            return e;
        }
    }
}

[[noreturn]] void Unexpected(const Token& t, const char* what) {
    Refuse(t.line, std::string("se esperaba ") + what + " y se lee «" + std::string(t.text) + "».");
}

double SignedNumber(const std::vector<Token>& t, size_t& i, bool infinite, int line) {
    double sign = 1.0;
    for (; i < t.size() && (t[i].kind == Kind::Plus || t[i].kind == Kind::Minus); ++i)
        if (t[i].kind == Kind::Minus) sign = -sign;
    if (i >= t.size()) Refuse(line, "se esperaba un número al final de la línea.");
    if (infinite && t[i].kind == Kind::Name && IsInfinity(t[i].text)) return ++i, sign * kInfinity;
    if (t[i].kind != Kind::Number) Unexpected(t[i], "un número");
    const double v = sign * FileNumber(t[i].text, t[i].line);
    ++i;
    return infinite && std::fabs(v) >= kInfiniteBound ? sign * kInfinity : v;
}

char Flipped(char relation) { return relation == '<' ? '>' : relation == '>' ? '<' : '='; }

void AddRow(ImportedModel& model, Terms terms, char relation, double rhs, int line) {
    model.rows.push_back({std::move(terms), relation, rhs, line});
}

// One constraint: "expression rel number", "number rel expression" or the
// range "number rel expression rel number", which becomes two rows.
void ReadConstraint(const std::vector<Token>& t, size_t& i, ImportedModel& model) {
    const int line = t[i].line;
    if (Label(t, i)) i += 2;
    Expression left = ReadExpression(t, i, model);
    if (i >= t.size()) Refuse(t.back().line, "falta la relación (<=, >= o =) de la restricción.");
    if (t[i].kind != Kind::Relation) Unexpected(t[i], "una relación (<=, >= o =)");
    const char first = t[i++].relation;
    if (!left.terms.empty()) {
        const double rhs = SignedNumber(t, i, false, line);
        AddRow(model, std::move(left.terms), first, rhs - left.constant, line);
        return;
    }
    Expression middle = ReadExpression(t, i, model);
    if (middle.terms.empty()) Refuse(line, "restricción sin variables.");
    if (i < t.size() && t[i].kind == Kind::Relation) {
        const char second = t[i++].relation;
        const double rhs = SignedNumber(t, i, false, line);
        AddRow(model, middle.terms, Flipped(first), left.constant - middle.constant, line);
        AddRow(model, std::move(middle.terms), second, rhs - middle.constant, line);
        return;
    }
    AddRow(model, std::move(middle.terms), Flipped(first), left.constant - middle.constant, line);
}

void ReadObjective(const std::vector<Token>& t, ImportedModel& model) {
    size_t i = Label(t, 0) ? 2 : 0;
    Expression e = ReadExpression(t, i, model);
    if (i < t.size()) Unexpected(t[i], "un término de la función objetivo");
    if (e.constant != 0.0)
        Refuse(e.constantLine,
               "constante en la función objetivo: el programa no admite constantes en la función objetivo.");
    model.objective = std::move(e.terms);
}

void Bound(ImportedColumn& c, char relation, double value) {
    if (relation != '>') c.upper = value;
    if (relation != '<') c.lower = value;
}

// "x >= l", "x <= u", "x = v", "x free", "l <= x", "l <= x <= u".
void ReadBound(const std::vector<Token>& t, size_t& i, ImportedModel& model) {
    const int line = t[i].line;
    const bool valueFirst = t[i].kind != Kind::Name ||
                            (IsInfinity(t[i].text) && i + 2 < t.size() && t[i + 1].kind == Kind::Relation);
    if (!valueFirst) {
        ImportedColumn& c = model.columns[model.Column(std::string(t[i++].text))];
        if (i < t.size() && t[i].kind == Kind::Name && Is(t[i].text, "free")) {
            c.lower = -kInfinity, c.upper = kInfinity;
            ++i;
            return;
        }
        if (i >= t.size() || t[i].kind != Kind::Relation) Refuse(line, "cota incompleta.");
        const char relation = t[i++].relation;
        Bound(c, relation, SignedNumber(t, i, true, line));
        return;
    }
    const double value = SignedNumber(t, i, true, line);
    if (i + 1 >= t.size() || t[i].kind != Kind::Relation || t[i + 1].kind != Kind::Name)
        Refuse(line, "cota incompleta.");
    const char relation = t[i].relation;
    ImportedColumn& c = model.columns[model.Column(std::string(t[i + 1].text))];
    i += 2;
    Bound(c, Flipped(relation), value);
    if (i < t.size() && t[i].kind == Kind::Relation) {
        const char second = t[i++].relation;
        Bound(c, second, SignedNumber(t, i, true, line));
    }
}

void ReadSection(Section section, const std::vector<Token>& t, ImportedModel& model) {
    size_t i = 0;
    switch (section) {
    case Section::Objective: ReadObjective(t, model); return;
    case Section::Constraints:
        while (i < t.size()) ReadConstraint(t, i, model);
        return;
    case Section::Bounds:
        while (i < t.size()) ReadBound(t, i, model);
        return;
    case Section::Generals:
    case Section::Binaries:
        for (const Token& name : t) {
            if (name.kind != Kind::Name) Unexpected(name, "el nombre de una variable");
            ImportedColumn& c = model.columns[model.Column(std::string(name.text))];
            c.integer = true;
            if (section == Section::Binaries) c.lower = 0.0, c.upper = 1.0;
        }
        return;
    case Section::End: return;
    default:
        if (!t.empty()) Unexpected(t[0], "Maximize o Minimize");
    }
}

std::string_view Trimmed(std::string_view s) {
    const size_t comment = s.find('\\');
    if (comment != std::string_view::npos) s = s.substr(0, comment);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

} // namespace

namespace {

// The program's own export opens with "\ Optimara" and then says, one
// comment line each, "\ name = typed name" for every name it had to change.
void RestoreTypedNames(std::string_view all, ImportedModel& model) {
    std::vector<std::pair<std::string_view, std::string_view>> renames;
    bool first = true;
    for (size_t at = 0; at < all.size();) {
        const size_t end = std::min(all.find('\n', at), all.size());
        std::string_view s = all.substr(at, end - at);
        at = end + 1;
        if (!s.empty() && s.back() == '\r') s.remove_suffix(1);
        if (first && s != "\\ Optimara") return;
        if (!first && s.substr(0, 2) != "\\ ") break;
        first = false;
        const size_t equals = s.find(" = ");
        if (equals != std::string_view::npos) renames.emplace_back(s.substr(2, equals - 2), s.substr(equals + 3));
    }
    for (const auto& [name, typed] : renames) {
        const int64_t v = model.Find(std::string(name));
        if (v >= 0) model.columns[size_t(v)].typed = std::string(typed);
    }
}

} // namespace

ImportedModel ReadLp(std::string_view bytes) {
    ImportedModel model;
    Section section = Section::None;
    bool sawObjective = false;
    std::vector<Token> tokens;
    const std::string_view all = bytes;
    int line = 0;
    for (size_t at = 0; at < all.size() && section != Section::End;) {
        const size_t end = std::min(all.find('\n', at), all.size());
        const std::string_view s = Trimmed(all.substr(at, end - at));
        at = end + 1;
        ++line;
        size_t rest = 0;
        const Keyword* k = s.empty() ? nullptr : OpeningKeyword(s, rest);
        if (k != nullptr) {
            if (k->refusal != nullptr) Refuse(line, k->refusal);
            ReadSection(section, tokens, model);
            tokens.clear();
            section = k->section;
            if (section == Section::Objective) {
                if (sawObjective) Refuse(line, "segunda función objetivo: el programa admite una sola.");
                sawObjective = true;
                model.maximize = std::tolower(static_cast<unsigned char>(s[1])) == 'a';
                model.objectiveLine = line;
            }
            Tokenize(s.substr(rest), line, tokens);
        } else {
            const size_t before = tokens.size();
            Tokenize(s, line, tokens);
            // A named constraint starts a new one: those before it are read
            // now, so that only one constraint's tokens are held at a time.
            if (section == Section::Constraints && before > 0 && Label(tokens, before)) {
                const std::vector<Token> done(tokens.begin(), tokens.begin() + std::ptrdiff_t(before));
                tokens.erase(tokens.begin(), tokens.begin() + std::ptrdiff_t(before));
                ReadSection(section, done, model);
            }
        }
    }
    ReadSection(section, tokens, model);
    if (!sawObjective)
        Refuse(0, "El archivo no tiene función objetivo (Maximize o Minimize): no parece un archivo LP.");
    RestoreTypedNames(all, model);
    return model;
}

} // namespace optimara::import
