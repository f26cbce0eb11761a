// SPDX-License-Identifier: GPL-3.0-or-later
// The printed handout: the page of steps as a PDF, built as the window
// builds it, read back by poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <regex>

#include "SolvedPage.h"
#include "StepsPdf.h"
#include "catalogue/Catalogue.h"
#include "support/KleeMinty.h"

namespace optimara {
namespace {

bool HaveTools() {
    for (const char* tool : {"pdftotext", "pdfinfo"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) return false;
    return true;
}

#define NEED_POPPLER() \
    if (!HaveTools()) GTEST_SKIP() << "pdftotext or pdfinfo is missing (make setup installs them)"

// Qt's text documents need fonts, which need an application.
void NeedFonts() {
    static int argc = 1;
    static char name[] = "test_display";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QGuiApplication::instance() == nullptr) new QGuiApplication(argc, argv);
}

// What poppler reads of a PDF: its pages' count and sizes, each page's
// text as laid out, and its words' boxes.
struct Read {
    int pages = 0;
    std::string info, boxes;
    std::vector<std::string> text;  // page by page
};

Read ReadPdf(const QByteArray& pdf) {
    QTemporaryDir dir;
    QFile file(dir.filePath("pasos.pdf"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pdf);
    file.close();
    Read read;
    int code = 0;
    read.info = Run("pdfinfo", {"-f", "1", "-l", "100000", "pasos.pdf"}, dir.path(), code);
    EXPECT_EQ(code, 0) << read.info;
    std::smatch m;
    if (std::regex_search(read.info, m, std::regex(R"(\nPages: +([0-9]+))"))) read.pages = std::stoi(m[1]);
    const std::string all = Run("pdftotext", {"-layout", "-enc", "UTF-8", "pasos.pdf", "-"}, dir.path(), code);
    for (size_t from = 0, at; (at = all.find('\f', from)) != std::string::npos; from = at + 1)
        read.text.push_back(all.substr(from, at - from));
    read.boxes = Run("pdftotext", {"-bbox", "pasos.pdf", "-"}, dir.path(), code);
    return read;
}

// Every page A4 upright, as Qt writes it (to the point).
void ExpectA4(const Read& read) {
    static const std::regex size(R"(Page +[0-9]+ size: +([0-9.]+) x ([0-9.]+) pts)");
    int pages = 0;
    for (std::sregex_iterator it(read.info.begin(), read.info.end(), size), end; it != end; ++it, ++pages) {
        EXPECT_NEAR(std::stod((*it)[1]), 595.3, 1.0);
        EXPECT_NEAR(std::stod((*it)[2]), 841.9, 1.0);
    }
    EXPECT_EQ(pages, read.pages);
}

// The right edge of the rightmost word on any page, in points.
double RightmostWord(const Read& read) {
    static const std::regex word(R"re(<word xMin="[0-9.]+" yMin="[0-9.]+" xMax="([0-9.]+)")re");
    double right = 0;
    for (std::sregex_iterator it(read.boxes.begin(), read.boxes.end(), word), end; it != end; ++it)
        right = std::max(right, std::stod((*it)[1]));
    return right;
}

size_t Matches(const std::string& text, const std::regex& pattern) {
    return size_t(std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()));
}

std::string Escaped(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.*+?^${}()|\[\]\\/-])"), R"(\$&)");
}

// The heading of a tableau, not "Paso 1" of "Paso 12".
std::regex Heading(const files::StepsPageTableau& t) {
    return std::regex(t.number == 0 ? std::string("Tabla inicial") : "Paso " + std::to_string(t.number) + "(?![0-9])");
}

// The last row of a tableau's grid as pdftotext lays it out on one line.
std::regex LastRow(const files::StepsPageTableau& t) {
    std::string pattern;
    for (int c = 0; c < t.cols; ++c) {
        const std::string& cell = t.cells[size_t((t.rows - 1) * t.cols + c)];
        if (!cell.empty()) pattern += (pattern.empty() ? "" : " +") + Escaped(cell);
    }
    return std::regex(pattern);
}

// The worked example and a diet problem (Minimizar the cost of three foods
// under two nutrients' minimums), solved by the default rule and method in
// one and two pivots: each on one A4 page with its sensitivity and dual,
// each step and its phase and state said once.
TEST(StepsPdf, WorkedExampleAndDietProblemOnOnePageEach) {
    NEED_POPPLER();
    NeedFonts();
    const struct {
        const char* what;
        ProblemText typed;
        size_t tableaux;
    } cases[] = {
        {"worked example", {1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}}, 2},
        {"diet", {0, "2a+3b+4c", {"a+2b+c>8", "2a+b+3c>6", "a>0", "b>0", "c>0"}}, 3},
    };
    for (const auto& c : cases) {
        Solved s(c.typed, SolveMethod::Compact, true, 10000, PivotRule::Random);
        const files::StepsPage page = PageOf(s, TableauForm::Compact, {false, "."});
        ASSERT_EQ(page.tableaux.size(), c.tableaux) << c.what;
        ASSERT_FALSE(page.sensitivity.lines.empty()) << c.what;
        const Read read = ReadPdf(files::StepsPdf(page));
        EXPECT_EQ(read.pages, 1) << c.what;
        ExpectA4(read);
        ASSERT_EQ(read.text.size(), 1u) << c.what;
        const std::string& text = read.text[0];
        for (const files::StepsPageTableau& t : page.tableaux) {
            EXPECT_EQ(Matches(text, Heading(t)), 1u) << c.what << " " << t.number;
            EXPECT_EQ(Matches(text, LastRow(t)), 1u) << c.what << " " << t.number;
        }
        EXPECT_EQ(Count(text, "Fase:"), c.tableaux) << c.what;
        EXPECT_EQ(Count(text, "Estado:"), c.tableaux) << c.what;
        EXPECT_EQ(Count(text, "Sensibilidad"), 1u) << c.what;
        EXPECT_EQ(Count(text, "Problema dual"), 1u) << c.what;
        EXPECT_EQ(Count(text, "Página 1 de 1"), 1u) << c.what;
    }
}

// Klee and Minty's cube in 7 dimensions: 127 pivots by the largest
// coefficient. Every page numbered "Página k de N"; every tableau's heading
// on the page of its grid's last row, and each step's state line with it.
TEST(StepsPdf, HundredStepsNumberTheirPagesAndSplitNoTableau) {
    NEED_POPPLER();
    NeedFonts();
    Solved s(testing::KleeMinty(7), SolveMethod::Compact, true);
    const files::StepsPage page = PageOf(s, TableauForm::Compact, {false, "."});
    ASSERT_EQ(page.tableaux.size(), 128u);
    const Read read = ReadPdf(files::StepsPdf(page));
    ExpectA4(read);
    ASSERT_EQ(read.text.size(), size_t(read.pages));
    // Two steps a page at most: their grids are narrow, their explanations long.
    EXPECT_GE(read.pages, 64);
    const std::string of = " de " + std::to_string(read.pages);
    size_t headings = 0;
    for (int p = 0; p < read.pages; ++p) {
        const std::string& text = read.text[size_t(p)];
        EXPECT_EQ(Count(text, "Página " + std::to_string(p + 1) + of), 1u) << p + 1;
        size_t here = 0;
        for (const files::StepsPageTableau& t : page.tableaux) {
            if (Matches(text, Heading(t)) == 0) continue;
            ++here;
            EXPECT_EQ(Matches(text, LastRow(t)), 1u) << "tableau " << t.number << " split on page " << p + 1;
        }
        EXPECT_EQ(Count(text, "Estado:"), here) << "page " << p + 1;
        headings += here;
    }
    EXPECT_EQ(headings, page.tableaux.size());
}

// Every problem of the catalogue in every form of the tableau and both
// notations: each heading once, no word past the right margin.
TEST(StepsPdf, EveryFormOfTheCatalogueStaysWithinThePage) {
    NEED_POPPLER();
    NeedFonts();
    const struct {
        TableauForm form;
        NumberText numbers;
        SolveMethod method;
    } ways[] = {
        {TableauForm::Compact, {true, ","}, SolveMethod::BigM},
        {TableauForm::Full, {false, "."}, SolveMethod::TwoPhases},
        {TableauForm::Dictionary, {true, "."}, SolveMethod::Compact},
        {TableauForm::Matrix, {false, "."}, SolveMethod::Compact},
    };
    for (const auto& way : ways) {
        for (const catalogue::KnownProblem& known : catalogue::Problems()) {
            Solved s({known.comboIndex, known.objective, known.lines}, way.method, !way.numbers.floating);
            const files::StepsPage page = PageOf(s, way.form, way.numbers);
            const Read read = ReadPdf(files::StepsPdf(page));
            const std::string what = known.name + ", form " + std::to_string(int(way.form));
            ASSERT_GE(read.pages, 1) << what;
            std::string all;
            for (const std::string& text : read.text) all += text;
            for (const files::StepsPageTableau& t : page.tableaux) EXPECT_EQ(Matches(all, Heading(t)), 1u) << what;
            EXPECT_LE(RightmostWord(read), 595.3 - 28.3 + 1) << what;
        }
    }
}

// A tableau wider than the page is drawn smaller, within the margins; a
// block taller than a page (a long tree) breaks between its rows.
TEST(StepsPdf, WideTableauShrinksAndLongTreeBreaks) {
    NEED_POPPLER();
    NeedFonts();
    files::StepsPage page;
    files::StepsPageTableau wide;
    wide.rows = 3;
    wide.cols = 40;
    for (int c = 0; c < wide.cols * wide.rows; ++c) wide.cells.push_back("-" + std::to_string(100000 + c) + "/7");
    page.tableaux = {wide};
    page.tree.headings = {"Nodo", "Padre", "Valor"};
    for (int k = 1; k <= 300; ++k) page.tree.rows.push_back({"N" + std::to_string(k), "P", "V" + std::to_string(k)});
    const Read read = ReadPdf(files::StepsPdf(page));
    EXPECT_GE(read.pages, 3);
    std::string all;
    for (const std::string& text : read.text) all += text;
    // Every cell of the grid, the last column too, and every node once.
    for (const std::string& cell : wide.cells) EXPECT_EQ(Count(all, cell), 1u) << cell;
    for (int k = 1; k <= 300; ++k) {
        const std::string n = std::to_string(k);
        EXPECT_EQ(Matches(all, std::regex("N" + n + " +P +V" + n + "\\b")), 1u) << k;
    }
    // Within A4's width less its 10 mm margin.
    EXPECT_LE(RightmostWord(read), 595.3 - 28.3 + 1);
    EXPECT_GT(RightmostWord(read), 400);
}

// Two narrow tableaux, one taller than a sheet: not side by side; the tall
// one breaks between its rows, the other follows it whole.
TEST(StepsPdf, NarrowTableauTallerThanASheetStandsAlone) {
    NEED_POPPLER();
    NeedFonts();
    files::StepsPage page;
    for (const int rows : {150, 3}) {
        files::StepsPageTableau t;
        t.number = int(page.tableaux.size());
        t.rows = rows;
        t.cols = 2;
        for (int r = 0; r < rows; ++r) t.cells.insert(t.cells.end(), {"f" + std::to_string(r), std::to_string(r * 7) + "/3"});
        page.tableaux.push_back(t);
    }
    const std::vector<files::StepsPageBlock> blocks = files::StepsPageBlocks(page);
    ASSERT_TRUE(blocks[1].narrow && blocks[2].narrow);
    const Read read = ReadPdf(files::StepsPdf(page));
    EXPECT_GE(read.pages, 3);
    std::string all;
    for (const std::string& text : read.text) all += text;
    for (const files::StepsPageTableau& t : page.tableaux) {
        EXPECT_EQ(Matches(all, Heading(t)), 1u) << t.number;
        // The short one's rows are the tall one's first three.
        for (int r = 0; r < t.rows; ++r)
            EXPECT_EQ(Matches(all, std::regex("f" + std::to_string(r) + " +" + std::to_string(r * 7) + "/3(?![0-9])")),
                      r < 3 ? 2u : 1u) << t.number << " " << r;
    }
    // The short one after the tall one's end, on its last sheet.
    EXPECT_EQ(Matches(read.text.back(), Heading(page.tableaux[1])), 1u);
}

} // namespace
} // namespace optimara
