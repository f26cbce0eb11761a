// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsPage.h"

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

// A4 with margins; a tableau and its results stay on one page.
constexpr const char* kStyle =
    "@page { size: A4; margin: 15mm; }\n"
    "body { font-family: sans-serif; font-size: 10pt; color: #000; background: #fff; }\n"
    "h1 { font-size: 14pt; } h2 { font-size: 11pt; margin: 0 0 4pt 0; }\n"
    ".dual { white-space: pre; font-family: monospace; border: 1px solid #888; padding: 4pt; }\n"
    "table.sensibilidad-restricciones, table.sensibilidad-variables { border-collapse: collapse; margin: 4pt 0; }\n"
    ".sensibilidad-restricciones td, .sensibilidad-restricciones th, .sensibilidad-variables td,"
    " .sensibilidad-variables th { border: 1px solid #888; padding: 1pt 4pt; text-align: right; }\n"
    "td.etiqueta, th { background: #eee; text-align: left; }\n"
    ".problem { white-space: pre; font-family: monospace; border: 1px solid #888; padding: 4pt; }\n"
    ".paso { page-break-inside: avoid; break-inside: avoid; margin: 10pt 0; }\n"
    "table.tabla { border-collapse: collapse; }\n"
    "table.tabla td { border: 1px solid #888; padding: 1pt 4pt; text-align: right; white-space: nowrap; }\n"
    "table.tabla td.etiqueta { background: #eee; font-style: italic; }\n"
    "table.tabla td.pivote { background: #fc9; font-weight: bold; outline: 2px solid #c30; }\n"
    "ul { margin: 2pt 0; padding-left: 1em; }\n"
    "li { display: inline-block; margin-right: 1.5em; }\n"
    "p { margin: 3pt 0; }\n"
    "table.cocientes { border-collapse: collapse; margin: 3pt 0; }\n"
    "table.cocientes th, table.cocientes td { border: 1px solid #bbb; padding: 1pt 4pt; text-align: right; }\n"
    "table.cocientes tr.sale td { font-weight: bold; background: #fc9; }\n"
    ".explicacion p { margin: 2pt 0; }\n";

// The textbooks' forms: their tables, the dictionary's lines, the standard form.
constexpr const char* kFormStyle =
    "table.completa th, .matricial th { background: #eee; border: 1px solid #888; padding: 1pt 4pt; }\n"
    "table.completa tr.sale td:last-child { font-weight: bold; background: #fc9; }\n"
    ".matricial table { border-collapse: collapse; margin: 3pt 0; }\n"
    ".matricial td { border: 1px solid #888; padding: 1pt 4pt; text-align: right; white-space: nowrap; }\n"
    ".matricial caption { text-align: left; font-style: italic; }\n"
    ".diccionario p, .forma-estandar p { font-family: monospace; margin: 1pt 0; }\n"
    ".forma-estandar { border: 1px solid #888; padding: 4pt; margin: 4pt 0; }\n";

// Above the first tableau of a textbook form: the problem as the method reads it.
void StandardForm(std::string& out, const StepsPage& page) {
    if (page.form == StepsPageForm::Compact) return;
    out += "<div class=\"forma-estandar\">\n<h2>Forma estándar</h2>\n";
    for (const std::string& line : page.standardForm) Element(out, "<p>", line, "</p>\n");
    out += "</div>\n";
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

void Lines(std::string& out, const char* heading, const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    out += "<p>";
    out += heading;
    out += "</p>\n<ul>";
    for (const std::string& line : lines) Element(out, "<li>", line, "</li>");
    out += "</ul>\n";
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

// The explanation's paragraphs, then its ratio test.
void Explained(std::string& out, const StepsPageTableau& t, StepsPageForm form) {
    if (t.explanation.empty()) return;
    out += "<div class=\"explicacion\">\n";
    for (const std::string& p : t.explanation) Element(out, "<p>", p, "</p>\n");
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
    const std::string step = t.number == 0 ? "Tabla inicial" : "Paso " + std::to_string(t.number);
    Element(out, "<h2>", t.node.empty() ? step : t.node + " · " + step, "</h2>\n");
    Shown(out, t, form);
    Lines(out, "Solución:", t.solution);
    Lines(out, "Variables libres:", t.freeVariables);
    Element(out, "<p>Valor: ", t.value, "</p>\n");
    Element(out, "<p>Fase: ", t.phase, "</p>\n");
    Element(out, "<p>Estado: ", t.status, "</p>\n");
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

} // namespace

QByteArray StepsPageHtml(const StepsPage& page) {
    std::string out;
    out += "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += "<title>Optimara: pasos</title>\n<style>\n";
    out += kStyle;
    if (page.form != StepsPageForm::Compact) out += kFormStyle;
    out += "</style>\n</head>\n<body>\n";
    Problem(out, page);
    StandardForm(out, page);
    for (const StepsPageTableau& t : page.tableaux) Tableau(out, t, page.form);
    for (const std::string& cut : page.cuts) Element(out, "<p class=\"corte\">", cut, "</p>\n");
    if (!page.practice.empty()) Element(out, "<p class=\"practica\">", page.practice, "</p>\n");
    Sensitivity(out, page.sensitivity);
    Tree(out, page.tree);
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
