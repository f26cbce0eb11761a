// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepsLatex.h"

#include <algorithm>
#include <cstdio>

#include "FileIO.h"
#include "LatexText.h"

namespace optimara::files {
namespace {

using latex::Cell;
using latex::CellMark;
using latex::Prose;
using latex::Text;

// A table that fits the line scaled down to it, and down to most of the
// page's height; a code for what no font here can show.
constexpr const char* kPreamble = R"(\documentclass[a4paper,10pt]{article}
\usepackage[utf8]{inputenc}
\usepackage[T1]{fontenc}
\IfFileExists{lmodern.sty}{\usepackage{lmodern}}{}
\usepackage{textcomp}
\usepackage[a4paper,margin=15mm]{geometry}
\usepackage{array}
\usepackage{booktabs}
\usepackage{longtable}
\usepackage{amsmath}
\usepackage{graphicx}
\usepackage{pdflscape}
\setlength{\parindent}{0pt}
\setlength{\parskip}{3pt}
\setlength{\emergencystretch}{3em}
\renewcommand{\arraystretch}{1.3}
\setlength{\LTleft}{0pt}
\setlength{\LTright}{\fill}
\hyphenpenalty=10000
\raggedright
\newcommand{\optimaracodigo}[1]{\textsf{[U+#1]}}
\newsavebox{\optimaracaja}
\newcommand{\optimaraajustada}{%
  \ifdim\wd\optimaracaja>\linewidth
    \sbox{\optimaracaja}{\resizebox{\linewidth}{!}{\usebox{\optimaracaja}}}\fi
  \ifdim\dimexpr\ht\optimaracaja+\dp\optimaracaja\relax>0.8\textheight
    \sbox{\optimaracaja}{\resizebox*{!}{0.8\textheight}{\usebox{\optimaracaja}}}\fi
  \par\noindent\usebox{\optimaracaja}\par}
\begin{document}
)";

// The text block of A4 less 15 mm margins, upright and turned, in points.
constexpr double kUprightWidth = 510;
constexpr double kTurnedWidth = 757;
// Taller tables than this break across pages.
constexpr int kLongRows = 40;

struct TypeSize {
    const char* command;
    double points;
};

// Smaller type for more columns.
TypeSize SizeFor(size_t columns) {
    if (columns <= 8) return {"\\normalsize", 10};
    if (columns <= 12) return {"\\small", 9};
    if (columns <= 18) return {"\\footnotesize", 8};
    return {"\\scriptsize", 7};
}

// A table of cells already set in LaTeX, with the widest raw text of each
// column to guess its width.
struct Table {
    std::string columns;  // the tabular's preamble
    std::vector<std::vector<std::string>> rows;
    std::vector<int> widths;
    std::vector<bool> words;  // a column with some text other than a number
    bool rules = false;   // booktabs rules rather than \hline
    double fixedWidth = 0;  // the width of a table with paragraph columns
    void Add(const std::vector<std::string>& raw, std::vector<std::string> set) {
        if (widths.size() < raw.size()) widths.resize(raw.size(), 0);
        if (words.size() < raw.size()) words.resize(raw.size(), false);
        std::string math;
        for (size_t c = 0; c < raw.size(); ++c) {
            widths[c] = std::max(widths[c], latex::CellWidth(raw[c]));
            const bool number = raw[c].empty() || raw[c] == "—" || latex::NumberMath(raw[c], math);
            if (!number && !rows.empty()) words[c] = true;
        }
        rows.push_back(std::move(set));
    }
    // Digits are half an em wide; each column has 6 pt on either side.
    double Width(double points) const {
        if (fixedWidth > 0) return fixedWidth;
        double w = 0;
        for (int chars : widths) w += chars * 0.5 * points + 12;
        return w;
    }
    TypeSize Size() const { return SizeFor(widths.size()); }
    bool Wide() const { return Width(Size().points) > kUprightWidth; }
};

void Row(std::string& out, const std::vector<std::string>& cells) {
    for (size_t c = 0; c < cells.size(); ++c) {
        if (c > 0) out += " & ";
        out += cells[c];
    }
    out += " \\\\\n";
}

// The head row, its rule, the rest. A tall table that fits the line breaks
// across pages with its head repeated; any other is boxed and scaled down
// when it does not fit.
void SetTable(std::string& out, const Table& t, bool turned) {
    if (t.rows.empty()) return;
    const TypeSize size = t.Size();
    const bool fits = t.Width(size.points) <= (turned ? kTurnedWidth : kUprightWidth);
    const char* rule = t.rules ? "\\midrule\n" : "\\hline\n";
    out += "\\begingroup";
    out += size.command;
    out += "\n";
    if (t.rows.size() > kLongRows && fits) {
        out += "\\begin{longtable}{" + t.columns + "}\n";
        if (t.rules) out += "\\toprule\n";
        Row(out, t.rows[0]);
        out += rule;
        out += "\\endhead\n";
        for (size_t r = 1; r < t.rows.size(); ++r) Row(out, t.rows[r]);
        if (t.rules) out += "\\bottomrule\n";
        out += "\\end{longtable}\n\\endgroup\n";
        return;
    }
    out += "\\begin{lrbox}{\\optimaracaja}\n\\begin{tabular}{" + t.columns + "}\n";
    if (t.rules) out += "\\toprule\n";
    for (size_t r = 0; r < t.rows.size(); ++r) {
        Row(out, t.rows[r]);
        if (r == 0) out += rule;
    }
    if (t.rules) out += "\\bottomrule\n";
    out += "\\end{tabular}\n\\end{lrbox}\n\\optimaraajustada\n\\endgroup\n";
}

// The compact grid: names along row 0 and column 0.
Table GridTable(const StepsPageTableau& t) {
    Table table;
    table.columns = "l|" + std::string(static_cast<size_t>(std::max(t.cols - 1, 0)), 'r');
    for (int r = 0; r < t.rows; ++r) {
        std::vector<std::string> raw, set;
        for (int c = 0; c < t.cols; ++c) {
            const size_t at = static_cast<size_t>(r) * static_cast<size_t>(t.cols) + static_cast<size_t>(c);
            raw.push_back(at < t.cells.size() ? t.cells[at] : std::string());
            set.push_back(Cell(raw.back(), r == t.pivotRow && c == t.pivotCol ? CellMark::Pivot : CellMark::None));
        }
        table.Add(raw, std::move(set));
    }
    return table;
}

// A table of a textbook form: its headings, then its rows; the leaving
// row's last cell in bold.
Table FormGrid(const StepsPageTable& form) {
    Table table;
    size_t columns = form.headings.size();
    for (const auto& row : form.rows) columns = std::max(columns, row.size());
    const bool labelled = form.kind != "duales";
    table.columns = labelled ? "l|" + std::string(columns > 0 ? columns - 1 : 0, 'r') : std::string(columns, 'r');
    std::vector<std::string> heads = form.headings, set;
    heads.resize(columns);
    for (const std::string& h : heads) set.push_back(Prose(h));
    table.Add(heads, std::move(set));
    for (size_t r = 0; r < form.rows.size(); ++r) {
        std::vector<std::string> raw = form.rows[r];
        raw.resize(columns);
        set.clear();
        const int row = static_cast<int>(r);
        for (size_t c = 0; c < columns; ++c) {
            const bool pivot = row == form.pivotRow && static_cast<int>(c) == form.pivotCol;
            const bool leaving = row == form.leavingRow && c + 1 == form.rows[r].size();
            set.push_back(Cell(raw[c], pivot ? CellMark::Pivot : leaving ? CellMark::Bold : CellMark::None));
        }
        table.Add(raw, std::move(set));
    }
    return table;
}

// The columns of a table of words: numbers right, words left; when they do
// not fit the line, the widest become paragraphs until each has 60 pt at
// least of what the others leave, shared by their widths.
void WordsColumns(Table& table) {
    // Set in the normal size (never more than 8 columns).
    std::vector<double> natural;
    for (int chars : table.widths) natural.push_back(chars * 0.5 * 10 + 12);
    std::vector<size_t> order(natural.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return natural[a] > natural[b]; });
    std::vector<bool> paragraph(natural.size(), false);
    double rest = kUprightWidth, shared = 0;
    for (double w : natural) rest -= w;
    for (size_t k = 0; k < order.size() && rest < 60.0 * static_cast<double>(k); ++k) {
        paragraph[order[k]] = true;
        rest += natural[order[k]];
        shared += natural[order[k]];
    }
    for (size_t c = 0; c < natural.size(); ++c) {
        if (!paragraph[c]) {
            table.columns += table.words[c] ? "l" : "r";
            continue;
        }
        char width[112];
        std::snprintf(width, sizeof width, ">{\\raggedright\\arraybackslash}p{\\dimexpr %.3f\\linewidth-2\\tabcolsep\\relax}",
                      std::max(rest * natural[c] / shared, 60.0) / kUprightWidth);
        table.columns += width;
        table.fixedWidth = kUprightWidth;
    }
}

// A table of words and numbers: the ratio test, the sensitivity, the tree.
Table WordsTable(const std::vector<std::string>& headings, const std::vector<std::vector<std::string>>& rows,
                 int boldRow = -1) {
    Table table;
    table.rules = true;
    std::vector<std::string> set;
    for (const std::string& h : headings) set.push_back(Prose(h));
    table.Add(headings, std::move(set));
    for (size_t r = 0; r < rows.size(); ++r) {
        set.clear();
        for (const std::string& cell : rows[r])
            set.push_back(Cell(cell, static_cast<int>(r) == boldRow ? CellMark::Bold : CellMark::None));
        std::vector<std::string> raw = rows[r];
        raw.resize(headings.size());
        set.resize(headings.size());
        table.Add(raw, std::move(set));
    }
    WordsColumns(table);
    return table;
}

std::vector<std::vector<std::string>> RatioRows(const std::vector<StepsPageRatio>& ratios, bool growth, int& leaving) {
    std::vector<std::vector<std::string>> rows;
    for (const StepsPageRatio& r : ratios) {
        if (r.leaves) leaving = static_cast<int>(rows.size());
        if (growth) rows.push_back({r.row, r.constant, r.entry, r.growth, r.ratio, r.why});
        else rows.push_back({r.row, r.constant, r.entry, r.ratio, r.why});
    }
    return rows;
}

// The ratio test after the explanation: how far each row lets the entering
// variable grow in the compact form, Solución / entrada in the textbooks'
// (the full tableau holds its quotients in its own column).
void Ratios(std::string& out, const StepsPageTableau& t, StepsPageForm form, bool turned) {
    if (t.ratios.empty() || form == StepsPageForm::Full) return;
    int leaving = -1;
    if (form == StepsPageForm::Compact) {
        const auto rows = RatioRows(t.ratios, true, leaving);
        SetTable(out, WordsTable({"Fila", "Constante", "Entrada", "Crece hasta", "Cociente", "Por qué"}, rows, leaving),
                 turned);
    } else {
        const auto rows = RatioRows(t.ratios, false, leaving);
        SetTable(out, WordsTable({"Fila", "Solución", "Entrada", "Cociente", "Por qué"}, rows, leaving), turned);
    }
}

// The tableau's tables in the page's form (none for the dictionary).
std::vector<Table> TablesOf(const StepsPageTableau& t, StepsPageForm form) {
    std::vector<Table> tables;
    if (form == StepsPageForm::Compact) tables.push_back(GridTable(t));
    else if (form != StepsPageForm::Dictionary)
        for (const StepsPageTable& table : t.tables) tables.push_back(FormGrid(table));
    return tables;
}

void Lines(std::string& out, const std::vector<std::string>& lines, bool typed) {
    if (lines.empty()) return;
    out += typed ? "\\begin{flushleft}\\ttfamily\n" : "\\begin{flushleft}\n";
    for (const std::string& line : lines) out += "\\mbox{}" + (typed ? Text(line) : Prose(line)) + "\\\\\n";
    out += "\\end{flushleft}\n";
}

void Items(std::string& out, const char* heading, const std::vector<std::string>& items) {
    if (items.empty()) return;
    out += heading;
    for (const std::string& item : items) out += "\\quad " + Prose(item);
    out += "\\par\n";
}

void Said(std::string& out, const char* label, const std::string& text) {
    out += label;
    out += Cell(text);
    out += "\\par\n";
}

void Tableau(std::string& out, const StepsPageTableau& t, StepsPageForm form, bool turned) {
    const std::string step = t.number == 0 ? "Tabla inicial" : "Paso " + std::to_string(t.number);
    out += "\\subsection*{" + Prose(t.node.empty() ? step : t.node + " · " + step) + "}\n";
    std::vector<Table> tables = TablesOf(t, form);
    for (size_t k = 0; k < tables.size(); ++k) {
        if (form == StepsPageForm::Matrix && k < t.tables.size() && !t.tables[k].caption.empty())
            out += "\\textit{" + Prose(t.tables[k].caption) + "}\\par\n";
        SetTable(out, tables[k], turned);
    }
    if (form == StepsPageForm::Dictionary) Lines(out, t.dictionary, false);
    Items(out, "Solución:", t.solution);
    Items(out, "Variables libres:", t.freeVariables);
    Said(out, "Valor: ", t.value);
    Said(out, "Fase: ", t.phase);
    Said(out, "Estado: ", t.status);
    for (const std::string& p : t.explanation) out += Prose(p) + "\\par\n";
    Ratios(out, t, form, turned);
}

// Wide tableaux in a row share landscape pages.
void Tableaux(std::string& out, const StepsPage& page) {
    bool turned = false;
    for (const StepsPageTableau& t : page.tableaux) {
        const std::vector<Table> tables = TablesOf(t, page.form);
        const bool wide = std::any_of(tables.begin(), tables.end(), [](const Table& x) { return x.Wide(); });
        if (wide != turned) out += wide ? "\\begin{landscape}\n" : "\\end{landscape}\n";
        turned = wide;
        Tableau(out, t, page.form, turned);
    }
    if (turned) out += "\\end{landscape}\n";
}

void Problem(std::string& out, const StepsPage& page) {
    out += "\\section*{Pasos del método símplex}\n";
    std::vector<std::string> typed = {page.sense, page.objective, page.heading};
    typed.insert(typed.end(), page.lines.begin(), page.lines.end());
    Lines(out, typed, true);
    out += "Notación: " + Prose(page.notation) + "\\par\n";
    if (page.form != StepsPageForm::Dictionary)
        out += "El pivote elegido va recuadrado y los candidatos, subrayados.\\par\n";
    if (page.form == StepsPageForm::Compact) return;
    out += "\\subsection*{Forma estándar}\n";
    Lines(out, page.standardForm, false);
}

void Sensitivity(std::string& out, const StepsPageSensitivity& s) {
    if (s.lines.empty() && s.variables.empty()) return;
    auto rows = [](const std::vector<StepsPageSensitivity::Row>& from) {
        std::vector<std::vector<std::string>> to;
        for (const auto& row : from) to.emplace_back(row.begin(), row.end());
        return to;
    };
    out += "\\subsection*{Sensibilidad}\n";
    const std::vector<std::string> lineHeads(s.lineHeadings.begin(), s.lineHeadings.end());
    const std::vector<std::string> variableHeads(s.variableHeadings.begin(), s.variableHeadings.end());
    SetTable(out, WordsTable(lineHeads, rows(s.lines)), false);
    SetTable(out, WordsTable(variableHeads, rows(s.variables)), false);
    out += Prose(s.words) + "\\par\n\\subsection*{Problema dual}\n";
    Lines(out, s.dual, false);
    out += Prose(s.optima) + "\\par\n";
}

void Tree(std::string& out, const StepsPageTree& tree) {
    if (tree.rows.empty()) return;
    out += "\\subsection*{Árbol de ramificación}\n";
    SetTable(out, WordsTable(tree.headings, tree.rows), false);
    for (const std::string& p : tree.ending) out += Prose(p) + "\\par\n";
}

} // namespace

std::string StepsPageLatex(const StepsPage& page) {
    std::string out = kPreamble;
    Problem(out, page);
    Tableaux(out, page);
    for (const std::string& cut : page.cuts) out += Prose(cut) + "\\par\n";
    if (!page.practice.empty()) out += Prose(page.practice) + "\\par\n";
    Sensitivity(out, page.sensitivity);
    Tree(out, page.tree);
    out += "\\end{document}\n";
    return out;
}

void WriteStepsLatex(const QString& fileName, const StepsPage& page) {
    WriteWholeFile(fileName, QByteArray::fromStdString(StepsPageLatex(page)));
}

} // namespace optimara::files
