// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <libxml/HTMLparser.h>

#include <QTemporaryDir>

#include "FileIO.h"
#include "StepsPage.h"

using namespace optimara::files;

namespace {

StepsPage TwoTableaux() {
    StepsPage page;
    page.sense = "Maximizar";
    page.objective = "3x + 2y";
    page.heading = "Sujeto a:";
    page.lines = {"x + y < 4", "x>0 & y>0"};
    page.notation = "racional";
    StepsPageTableau first;
    first.rows = 2;
    first.cols = 3;
    first.cells = {"", "x", "y", "", "**1", "*2"};
    first.pivotRow = 1;
    first.pivotCol = 1;
    first.solution = {"x=0", "y=0"};
    first.value = "0";
    first.phase = "mejorando el objetivo";
    first.status = "en curso";
    StepsPageTableau last = first;
    last.number = 1;
    last.pivotRow = last.pivotCol = -1;
    last.freeVariables = {"z=z'-z''"};
    last.status = "óptimo";
    page.tableaux = {first, last};
    return page;
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(StepsPage, OneTablePerTableauWithTheUsersTextEscaped) {
    const std::string html = StepsPageHtml(TwoTableaux()).toStdString();
    EXPECT_EQ(Count(html, "<table"), 2);
    EXPECT_EQ(Count(html, "<div class=\"paso\">"), 2);
    EXPECT_EQ(Count(html, "<td class=\"pivote\">**1</td>"), 1);  // only the first has a pivot
    EXPECT_NE(html.find("x + y &lt; 4"), std::string::npos);
    EXPECT_NE(html.find("x&gt;0 &amp; y&gt;0"), std::string::npos);
    EXPECT_EQ(html.find("x + y < 4"), std::string::npos);
    EXPECT_NE(html.find("<p>Variables libres: z=z&#39;-z&#39;&#39;</p>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Tabla inicial</h2>"), std::string::npos);
    EXPECT_NE(html.find("<h2>Paso 1</h2>"), std::string::npos);
    EXPECT_NE(html.find("Estado: óptimo"), std::string::npos);
    EXPECT_NE(html.find("Fase: mejorando el objetivo"), std::string::npos);
    EXPECT_NE(html.find("Notación: racional"), std::string::npos);
    // Prints on A4, a tableau never split; nothing fetched, nothing run.
    EXPECT_NE(html.find("size: A4"), std::string::npos);
    EXPECT_NE(html.find(".paso { page-break-inside: avoid;"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("src="), std::string::npos);
    EXPECT_EQ(html.find("href"), std::string::npos);
}

// The text of the page as libxml2's HTML parser reads it, with the number of
// errors and warnings it gave.
std::string ParsedText(const QByteArray& html, int& complaints) {
    complaints = 0;
    xmlSetStructuredErrorFunc(&complaints, [](void* n, xmlErrorPtr) { ++*static_cast<int*>(n); });
    htmlDocPtr doc = htmlReadMemory(html.constData(), static_cast<int>(html.size()), nullptr, "UTF-8", HTML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (doc == nullptr) return ++complaints, std::string();
    xmlChar* content = xmlNodeGetContent(xmlDocGetRootElement(doc));
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    xmlFreeDoc(doc);
    return text;
}

TEST(StepsPage, HostileTextsStayValidAndRecognisable) {
    const std::pair<std::string, const char*> cases[] = {  // as given, as shown
        {"3x\x01+2y", "3x␁+2y"}, {std::string("a\0b\x1F\x7F", 5), "a␀b␟␡"},
        {"x\ny\rz", "x␊y␍z"}, {"x\ty", "x\ty"}, {"x y ", "x�y�"},
        {"\xEF\xBB\xBFx", "�x"}, {"x\xC2\x85\xEF\xBF\xBE", "x��"},  // NEL, U+FFFE
        {"x\xED\xA0\x80", "x���"}, {"x\xFFy\xC3", "x�y�"},  // a surrogate, broken UTF-8
        {"a]]>b", "a]]>b"}, {"<script>alert(1)</script>", "<script>alert(1)</script>"}, {"ñ€𝑥", "ñ€𝑥"},
    };
    for (const auto& [given, shown] : cases) {
        StepsPage page = TwoTableaux();
        page.objective = page.lines[0] = page.tableaux[0].cells[1] = page.tableaux[1].solution[0] = given;
        int complaints = 0;
        const std::string text = ParsedText(StepsPageHtml(page), complaints);
        EXPECT_EQ(complaints, 0) << shown;
        EXPECT_EQ(Count(text, shown), 4) << text;
    }
}

TEST(StepsPage, WrittenWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString file = dir.filePath("pasos.html");
    WriteStepsPage(file, TwoTableaux());
    EXPECT_EQ(ReadWholeFile(file), StepsPageHtml(TwoTableaux()));
    try {
        WriteStepsPage(dir.filePath("no/such/folder/pasos.html"), TwoTableaux());
        FAIL() << "a page in a missing folder was written";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.text().startsWith("Cannot create file"));
    }
}

} // namespace
