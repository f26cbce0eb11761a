// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsPage.h"

#include <algorithm>

#include "FileIO.h"
#include "TextCodec.h"

namespace optimara::files {
namespace {

// The replacement character U+FFFD.
constexpr const char* kReplacement = "\xEF\xBF\xBD";

// Characters an HTML page may not hold in its text, or that would show as
// nothing or as a break of the line: C1 controls, the line and paragraph
// separators, the byte-order mark and the noncharacters.
bool Unshowable(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c == 0x2028 || c == 0x2029 || c == 0xFEFF || (c >= 0xFDD0 && c <= 0xFDEF) ||
           (c & 0xFFFE) == 0xFFFE;
}

char32_t CodePoint(const char* p, qsizetype length) {
    static constexpr unsigned char kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = static_cast<unsigned char>(p[0]) & kLeadBits[length];
    for (qsizetype k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(p[k]) & 0x3F);
    return c;
}

// The user's text as HTML text that any parser reads back. The five
// characters HTML gives a meaning become references. A control character
// (the tab aside) becomes its picture, U+2400 + code ("\x01" shows as U+2401),
// and DEL U+2421, so the reader sees which one the problem holds; what
// Unshowable names, and every byte that starts no UTF-8 sequence, becomes
// U+FFFD. The rest is written as it is.
void Escaped(std::string& out, const std::string& text) {
    const QByteArrayView bytes(text);
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        const char32_t c = CodePoint(bytes.data() + i, length);
        if (c < 0x20 && c != '\t') {
            out += "\xE2\x90";
            out += static_cast<char>(0x80 + c);
        } else if (c == 0x7F) {
            out += "\xE2\x90\xA1";
        } else if (Unshowable(c)) {
            out += kReplacement;
        } else {
            switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out.append(text, static_cast<size_t>(i), static_cast<size_t>(length));
            }
        }
        i += length;
    }
}

void Element(std::string& out, const char* open, const std::string& text, const char* close) {
    out += open;
    Escaped(out, text);
    out += close;
}

// A4 with small margins and small type: a handout that saves paper. A
// step's block is never split, nor its heading parted from it; two narrow
// blocks stand side by side.
constexpr const char* kStyle =
    "@page { size: A4; margin: 10mm; }\n"
    "body { font-family: sans-serif; font-size: 8pt; color: #000; background: #fff; }\n"
    "h1 { font-size: 12pt; margin-top: 0; margin-bottom: 4px; page-break-after: avoid; break-after: avoid; }\n"
    "h2 { font-size: 9.5pt; margin-top: 0; margin-bottom: 2px; page-break-after: avoid; break-after: avoid; }\n"
    ".dual { white-space: pre; font-family: monospace; border: 1px solid #888; padding: 4px; }\n"
    "table.sensibilidad-restricciones, table.sensibilidad-variables { border-collapse: collapse; margin: 4px 0; }\n"
    ".sensibilidad-restricciones td, .sensibilidad-restricciones th, .sensibilidad-variables td,"
    " .sensibilidad-variables th { border: 1px solid #888; padding: 1px 4px; text-align: right; font-size: 7.5pt; }\n"
    "td.etiqueta, th { background: #eee; text-align: left; }\n"
    ".problem { white-space: pre; font-family: monospace; border: 1px solid #888; padding: 4px; }\n"
    ".paso { page-break-inside: avoid; break-inside: avoid; margin: 8px 0; }\n"
    ".pareja { display: flex; gap: 6mm; align-items: flex-start; page-break-inside: avoid; break-inside: avoid; }\n"
    ".pareja > .paso { flex: 1 1 0; min-width: 0; }\n"
    "table.tabla { border-collapse: collapse; }\n"
    "table.tabla td { border: 1px solid #888; padding: 1px 4px; text-align: right; white-space: nowrap;"
    " font-size: 8pt; }\n"
    "table.tabla td.etiqueta { background: #eee; font-style: italic; }\n"
    "table.tabla td.pivote { background: #fc9; font-weight: bold; outline: 2px solid #c30; }\n"
    "p { margin: 2px 0; }\n"
    "table.cocientes { border-collapse: collapse; margin: 2px 0; }\n"
    "table.cocientes th, table.cocientes td { border: 1px solid #bbb; padding: 1px 3px; text-align: right;"
    " font-size: 7pt; }\n"
    "table.cocientes tr.sale td { font-weight: bold; background: #fc9; }\n"
    ".explicacion p { margin: 1px 0; font-size: 7.5pt; }\n";

// The textbooks' forms: their tables, the dictionary's lines, the standard form.
constexpr const char* kFormStyle =
    "table.completa th, .matricial th { background: #eee; border: 1px solid #888; padding: 1px 4px; }\n"
    "table.completa tr.sale td:last-child { font-weight: bold; background: #fc9; }\n"
    ".matricial table { border-collapse: collapse; margin: 4px 0; }\n"
    ".matricial td { border: 1px solid #888; padding: 1px 4px; text-align: right; white-space: nowrap; }\n"
    ".matricial caption { text-align: left; font-style: italic; }\n"
    ".diccionario p, .forma-estandar p { font-family: monospace; margin: 1px 0; }\n"
    ".forma-estandar { border: 1px solid #888; padding: 4px; margin: 4px 0; }\n";

// Above the first tableau of a textbook form: the problem as the method reads it.
void StandardForm(std::string& out, const StepsPage& page) {
    if (page.form == StepsPageForm::Compact) return;
    out += "<div class=\"forma-estandar\">\n<h2>Forma estándar</h2>\n";
    for (const std::string& line : page.standardForm) Element(out, "<p>", line, "</p>\n");
    out += "</div>\n";
}

std::string StepName(const StepsPageTableau& t) {
    return t.number == 0 ? "Tabla inicial" : "Paso " + std::to_string(t.number);
}

void Problem(std::string& out, const StepsPage& page) {
    out += "<h1>Pasos del método símplex</h1>\n";
    out += "<div class=\"problem\">";
    Escaped(out, page.sense);
    out += '\n';
    Escaped(out, page.objective);
    out += '\n';
    Escaped(out, page.heading);
    for (const std::string& line : page.lines) {
        out += '\n';
        Escaped(out, line);
    }
    out += "</div>\n";
    Element(out, "<p>Notación: ", page.notation, "</p>\n");
}

void Grid(std::string& out, const StepsPageTableau& t) {
    out += "<table class=\"tabla\">\n";
    for (int r = 0; r < t.rows; ++r) {
        out += "<tr>";
        for (int c = 0; c < t.cols; ++c) {
            const size_t at = static_cast<size_t>(r) * static_cast<size_t>(t.cols) + static_cast<size_t>(c);
            const std::string& text = at < t.cells.size() ? t.cells[at] : std::string();
            // Row 0 and column 0 hold the variables' names.
            const char* open = r == t.pivotRow && c == t.pivotCol ? "<td class=\"pivote\">"
                               : r == 0 || c == 0                 ? "<td class=\"etiqueta\">"
                                                                  : "<td>";
            Element(out, open, text, "</td>");
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

// The values on one line, not one line each.
void Lines(std::string& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out += "<p>";
    out += heading;
    for (size_t k = 0; k < lines.size(); ++k) {
        out += k == 0 ? " " : ", ";
        Escaped(out, lines[k]);
    }
    out += "</p>\n";
}

void Ratios(std::string& out, const std::vector<StepsPageRatio>& ratios) {
    if (ratios.empty()) return;
    // How far each row lets the entering variable grow comes first; the
    // tableau's own quotient is that number with the other sign.
    out += "<table class=\"cocientes\">\n<tr><th>Fila</th><th>Constante</th><th>Entrada</th><th>Crece hasta</th>"
           "<th>Cociente</th><th>Por qué</th></tr>\n";
    for (const StepsPageRatio& r : ratios) {
        out += r.leaves ? "<tr class=\"sale\">" : "<tr>";
        for (const std::string* cell : {&r.row, &r.constant, &r.entry, &r.growth, &r.ratio, &r.why})
            Element(out, "<td>", *cell, "</td>");
        out += "</tr>\n";
    }
    out += "</table>\n";
}

// The ratio test in the textbooks' terms: Solución / entrada.
void FormRatios(std::string& out, const std::vector<StepsPageRatio>& ratios) {
    if (ratios.empty()) return;
    out += "<table class=\"cocientes\">\n<tr><th>Fila</th><th>Solución</th><th>Entrada</th><th>Cociente</th>"
           "<th>Por qué</th></tr>\n";
    for (const StepsPageRatio& r : ratios) {
        out += r.leaves ? "<tr class=\"sale\">" : "<tr>";
        for (const std::string* cell : {&r.row, &r.constant, &r.entry, &r.ratio, &r.why})
            Element(out, "<td>", *cell, "</td>");
        out += "</tr>\n";
    }
    out += "</table>\n";
}

// The explanation's paragraphs, then its ratio test. Its first paragraph
// names the step and its phase, as the panel's title; on the page the
// heading and the phase's line have said them.
void Explained(std::string& out, const StepsPageTableau& t, StepsPageForm form) {
    if (t.explanation.empty()) return;
    out += "<div class=\"explicacion\">\n";
    const std::string title = StepName(t) + " · " + t.phase;
    for (const std::string& p : t.explanation)
        if (p != title) Element(out, "<p>", p, "</p>\n");
    // The full tableau holds its quotients in its own column.
    if (form == StepsPageForm::Compact) Ratios(out, t.ratios);
    else if (form != StepsPageForm::Full) FormRatios(out, t.ratios);
    out += "</div>\n";
}

// A table of a textbook form: the headings as its first row.
void FormTable(std::string& out, const StepsPageTable& table) {
    out += table.kind == "completa" ? "<table class=\"tabla completa\">\n" : "<table class=\"" + table.kind + "\">\n";
    if (!table.caption.empty()) Element(out, "<caption>", table.caption, "</caption>\n");
    out += "<tr>";
    for (size_t c = 0; c < table.headings.size(); ++c) Element(out, "<th>", table.headings[c], "</th>");
    out += "</tr>\n";
    const bool labelled = table.kind != "duales";
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const int row = static_cast<int>(r);
        out += row == table.leavingRow ? "<tr class=\"sale\">" : "<tr>";
        for (size_t c = 0; c < table.rows[r].size(); ++c) {
            const char* open = row == table.pivotRow && static_cast<int>(c) == table.pivotCol ? "<td class=\"pivote\">"
                               : c == 0 && labelled                                              ? "<td class=\"etiqueta\">"
                                                                                                 : "<td>";
            Element(out, open, table.rows[r][c], "</td>");
        }
        out += "</tr>\n";
    }
    out += "</table>\n";
}

// The tableau in the page's form: the grid, or a textbook form.
void Shown(std::string& out, const StepsPageTableau& t, StepsPageForm form) {
    switch (form) {
    case StepsPageForm::Compact: Grid(out, t); return;
    case StepsPageForm::Dictionary:
        out += "<div class=\"diccionario\">\n";
        for (const std::string& line : t.dictionary) Element(out, "<p>", line, "</p>\n");
        out += "</div>\n";
        return;
    case StepsPageForm::Matrix:
        out += "<div class=\"matricial\">\n";
        for (const StepsPageTable& table : t.tables) FormTable(out, table);
        out += "</div>\n";
        return;
    case StepsPageForm::Full:
        for (const StepsPageTable& table : t.tables) FormTable(out, table);
        return;
    }
}

void Tableau(std::string& out, const StepsPageTableau& t, StepsPageForm form) {
    out += "<div class=\"paso\">\n";
    const std::string step = StepName(t);
    Element(out, "<h2>", t.node.empty() ? step : t.node + " · " + step, "</h2>\n");
    Shown(out, t, form);
    Lines(out, "Solución:", t.solution);
    Lines(out, "Variables libres:", t.freeVariables);
    // The value, the phase and the state said once, on one line.
    Element(out, "<p class=\"estado\">Valor: ", t.value, "");
    Element(out, " · Fase: ", t.phase, "");
    Element(out, " · Estado: ", t.status, "</p>\n");
    Explained(out, t, form);
    out += "</div>\n";
}

void SensitivityTable(std::string& out, const char* kind, const StepsPageSensitivity::Row& headings,
                      const std::vector<StepsPageSensitivity::Row>& rows) {
    out += "<table class=\"";
    out += kind;
    out += "\">\n<tr>";
    for (const std::string& h : headings) Element(out, "<th>", h, "</th>");
    out += "</tr>\n";
    for (const StepsPageSensitivity::Row& row : rows) {
        out += "<tr>";
        for (size_t c = 0; c < row.size(); ++c) Element(out, c == 0 ? "<td class=\"etiqueta\">" : "<td>", row[c], "</td>");
        out += "</tr>\n";
    }
    out += "</table>\n";
}

// Appended after the last tableau when the solution ended optimal.
void Sensitivity(std::string& out, const StepsPageSensitivity& s) {
    if (s.lines.empty() && s.variables.empty()) return;
    out += "<div class=\"paso\">\n<h2>Sensibilidad</h2>\n";
    SensitivityTable(out, "sensibilidad-restricciones", s.lineHeadings, s.lines);
    SensitivityTable(out, "sensibilidad-variables", s.variableHeadings, s.variables);
    Element(out, "<p>", s.words, "</p>\n");
    out += "</div>\n<div class=\"paso\">\n<h2>Problema dual</h2>\n<div class=\"dual\">";
    for (size_t k = 0; k < s.dual.size(); ++k) {
        if (k > 0) out += '\n';
        Escaped(out, s.dual[k]);
    }
    out += "</div>\n";
    Element(out, "<p>", s.optima, "</p>\n</div>\n");
}

void Tree(std::string& out, const StepsPageTree& tree) {
    if (tree.rows.empty()) return;
    out += "<div class=\"paso\">\n<h2>Árbol de ramificación</h2>\n<table class=\"arbol\">\n<tr>";
    for (const std::string& h : tree.headings) Element(out, "<th>", h, "</th>");
    out += "</tr>\n";
    for (const auto& row : tree.rows) {
        out += "<tr>";
        for (const std::string& cell : row) Element(out, "<td>", cell, "</td>");
        out += "</tr>\n";
    }
    out += "</table>\n";
    for (const std::string& p : tree.ending) Element(out, "<p>", p, "</p>\n");
    out += "</div>\n";
}

// Points: a character of the tables' small type, a cell's padding and
// borders, and half the line of an A4 page less the gap between two blocks.
constexpr double kCharPoints = 4.4, kCellPoints = 8, kHalfLine = 250;

size_t Characters(const std::string& text) {
    size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// A heading breaks between its words.
size_t LongestWord(const std::string& text) {
    size_t longest = 0, from = 0;
    for (size_t at = text.find(' '); from <= text.size(); from = at + 1, at = text.find(' ', from)) {
        longest = std::max(longest, Characters(text.substr(from, at == std::string::npos ? at : at - from)));
        if (at == std::string::npos) break;
    }
    return longest;
}

// The widest cell of each column, in characters.
struct Columns {
    std::vector<size_t> chars;
    void Add(size_t column, size_t n) {
        if (chars.size() <= column) chars.resize(column + 1, 0);
        chars[column] = std::max(chars[column], n);
    }
    void AddHeadings(const std::vector<std::string>& row) {
        for (size_t c = 0; c < row.size(); ++c) Add(c, LongestWord(row[c]));
    }
    void AddRow(const std::vector<std::string>& row) {
        for (size_t c = 0; c < row.size(); ++c) Add(c, Characters(row[c]));
    }
    bool Narrow() const {
        double points = 0;
        for (const size_t n : chars) points += static_cast<double>(n) * kCharPoints + kCellPoints;
        return points <= kHalfLine;
    }
};

bool NarrowLines(const std::vector<std::string>& lines) {
    size_t widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, Characters(line));
    return static_cast<double>(widest) * kCharPoints * 1.2 + 2 * kCellPoints <= kHalfLine;
}

bool NarrowTableau(const StepsPageTableau& t, StepsPageForm form) {
    if (form == StepsPageForm::Dictionary) return NarrowLines(t.dictionary);
    if (form == StepsPageForm::Compact) {
        Columns columns;
        for (size_t at = 0; at < t.cells.size(); ++at)
            columns.Add(at % static_cast<size_t>(std::max(t.cols, 1)), Characters(t.cells[at]));
        return columns.Narrow();
    }
    for (const StepsPageTable& table : t.tables) {
        Columns columns;
        columns.AddHeadings(table.headings);
        for (const auto& row : table.rows) columns.AddRow(row);
        if (!columns.Narrow()) return false;
    }
    return true;
}

bool NarrowSensitivity(const StepsPageSensitivity& s) {
    using Row = StepsPageSensitivity::Row;
    const auto narrow = [](const Row& headings, const std::vector<Row>& rows) {
        Columns columns;
        columns.AddHeadings(std::vector<std::string>(headings.begin(), headings.end()));
        for (const auto& row : rows) columns.AddRow(std::vector<std::string>(row.begin(), row.end()));
        return columns.Narrow();
    };
    return narrow(s.lineHeadings, s.lines) && narrow(s.variableHeadings, s.variables);
}

// The sensitivity and the dual problem, each a block.
void SensitivityBlocks(std::vector<StepsPageBlock>& blocks, const StepsPageSensitivity& s) {
    if (s.lines.empty() && s.variables.empty()) return;
    std::string out;
    Sensitivity(out, s);
    const size_t dual = out.find("<div class=\"paso\">\n<h2>Problema dual</h2>");
    blocks.push_back({out.substr(0, dual), NarrowSensitivity(s)});
    blocks.push_back({out.substr(dual), NarrowLines(s.dual)});
}

} // namespace

std::vector<StepsPageBlock> StepsPageBlocks(const StepsPage& page) {
    std::vector<StepsPageBlock> blocks(1);
    Problem(blocks[0].html, page);
    StandardForm(blocks[0].html, page);
    for (const StepsPageTableau& t : page.tableaux) {
        blocks.push_back({"", NarrowTableau(t, page.form)});
        Tableau(blocks.back().html, t, page.form);
    }
    std::string notes;
    for (const std::string& cut : page.cuts) Element(notes, "<p class=\"corte\">", cut, "</p>\n");
    if (!page.practice.empty()) Element(notes, "<p class=\"practica\">", page.practice, "</p>\n");
    if (!notes.empty()) blocks.push_back({notes, false});
    SensitivityBlocks(blocks, page.sensitivity);
    std::string tree;
    Tree(tree, page.tree);
    if (!tree.empty()) blocks.push_back({tree, false});
    return blocks;
}

std::vector<size_t> StepsPageRows(const std::vector<StepsPageBlock>& blocks) {
    std::vector<size_t> rows;
    for (size_t k = 0; k < blocks.size(); ++k) {
        rows.push_back(k);
        if (blocks[k].narrow && k + 1 < blocks.size() && blocks[k + 1].narrow) ++k;
    }
    return rows;
}

std::string StepsPageStyle(StepsPageForm form) {
    return std::string(kStyle) + (form == StepsPageForm::Compact ? "" : kFormStyle);
}

QByteArray StepsPageHtml(const StepsPage& page) {
    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<title>Optimara: pasos</title>\n<style>\n";
    out += StepsPageStyle(page.form);
    out += "</style>\n</head>\n<body>\n";
    const std::vector<StepsPageBlock> blocks = StepsPageBlocks(page);
    const std::vector<size_t> rows = StepsPageRows(blocks);
    for (size_t r = 0; r < rows.size(); ++r) {
        const size_t end = r + 1 < rows.size() ? rows[r + 1] : blocks.size();
        if (end - rows[r] == 2)
            out += "<div class=\"pareja\">\n" + blocks[rows[r]].html + blocks[rows[r] + 1].html + "</div>\n";
        else
            out += blocks[rows[r]].html;
    }
    out += "</body>\n</html>\n";
    return QByteArray::fromStdString(out);
}

QByteArray StepsPageTableauHtml(const StepsPageTableau& tableau, StepsPageForm form) {
    std::string out;
    Tableau(out, tableau, form);
    return QByteArray::fromStdString(out);
}

void WriteStepsPage(const QString& fileName, const StepsPage& page) { WriteWholeFile(fileName, StepsPageHtml(page)); }

} // namespace optimara::files
