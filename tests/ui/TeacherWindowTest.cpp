// SPDX-License-Identifier: GPL-3.0-or-later
// What the teacher takes from the window: the steps as a LaTeX document
// that compiles, as a PDF and on paper, written from the menu as a teacher
// writes them.
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "LearningAidsFixture.h"

namespace optimara::uitest {
namespace {

class TeacherTest : public LearningAids {};

TEST_F(TeacherTest, StepsExportedToLatexCompile) {
    TypeProblem(1, "3x_1+5y", {"x_1<4", "2y<12", "3x_1+2y<18", "x_1>0", "y>0"});
    Solve();
    QTemporaryDir dir;
    const QString name = dir.filePath("pasos.tex");
    questions->latexFile = [name] { return name; };
    Action("ExportLatex1")->trigger();
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString tex = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(tex.startsWith("\\documentclass")) << tex.left(200).toStdString();
    EXPECT_TRUE(tex.contains("x\\_1")) << "the typed name escaped";
    QProcess latex;
    latex.setWorkingDirectory(dir.path());
    latex.start("pdflatex", {"-halt-on-error", "-interaction=nonstopmode", "pasos.tex"});
    if (!latex.waitForStarted()) GTEST_SKIP() << "pdflatex is not installed";
    ASSERT_TRUE(latex.waitForFinished(60000));
    EXPECT_EQ(latex.exitCode(), 0) << latex.readAllStandardOutput().right(2000).toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("pasos.pdf")));
}

// What pdfinfo and pdftotext read of a PDF: its pages and its text; no
// pages when poppler is missing.
struct PdfRead {
    int pages = 0;
    QString text;
};

PdfRead ReadPdf(const QString& file) {
    PdfRead read;
    QProcess info;
    info.start("pdfinfo", {file});
    if (!info.waitForStarted() || !info.waitForFinished(60000)) return read;
    const QRegularExpressionMatch m = QRegularExpression("\\nPages: +(\\d+)").match(info.readAllStandardOutput());
    read.pages = m.hasMatch() ? m.captured(1).toInt() : -1;
    QProcess text;
    text.start("pdftotext", {"-enc", "UTF-8", file, "-"});
    text.waitForFinished(60000);
    read.text = QString::fromUtf8(text.readAllStandardOutput());
    return read;
}

// The worked example on one page, from "Exportar pasos a PDF..." and from
// "Imprimir pasos..." printed to a PDF file; cancelled, nothing is written.
TEST_F(TeacherTest, StepsExportedAndPrintedOnOnePage) {
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Solve();
    QTemporaryDir dir;
    questions->pdfFile = [] { return QString(); };
    Action("ExportPdf1")->trigger();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    const QString exported = dir.filePath("pasos.pdf"), printed = dir.filePath("impresos.pdf");
    questions->pdfFile = [exported] { return exported; };
    Action("ExportPdf1")->trigger();
    int printings = 0;
    questions->printSteps = [&](const std::function<void(QPrinter&)>& paint) {
        ++printings;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed);
        printer.setPageSize(QPageSize(QPageSize::A4));
        paint(printer);
        return true;
    };
    Action("PrintSteps1")->trigger();
    EXPECT_EQ(printings, 1);
    for (const QString& file : {exported, printed}) {
        ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
        const PdfRead read = ReadPdf(file);
        if (read.pages == 0) GTEST_SKIP() << "pdfinfo is not installed";
        EXPECT_EQ(read.pages, 1) << file.toStdString();
        for (const char* part : {"3x+2y", "Tabla inicial", "Paso 1", "Sensibilidad", "Problema dual", "Página 1 de 1"})
            EXPECT_EQ(read.text.count(QString::fromUtf8(part)), 1) << part << " in " << file.toStdString();
    }
}

// The real print question: the preview, which shows the steps' one page
// before the print dialog is asked for; closed, nothing is printed.
TEST_F(TeacherTest, PrintPreviewShowsTheSteps) {
    TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"});
    Solve();
    int pages = -1;
    ModalAnswerer answerer({[&pages](QWidget* w) {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
        ASSERT_NE(preview, nullptr) << "expected the print preview";
        EXPECT_EQ(preview->objectName(), "PrintPreview1");
        const auto* view = preview->findChild<QPrintPreviewWidget*>();
        ASSERT_NE(view, nullptr);
        pages = view->pageCount();
        preview->reject();
    }});
    Action("PrintSteps1")->trigger();
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title.toStdString(), "Imprimir pasos");
    EXPECT_EQ(pages, 1);
}

} // namespace
} // namespace optimara::uitest
