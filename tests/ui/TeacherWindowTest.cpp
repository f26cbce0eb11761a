// SPDX-License-Identifier: GPL-3.0-or-later
// What the teacher takes from the window: the steps as a LaTeX document
// that compiles, written from the menu as a teacher writes it.
#include <QFile>
#include <QProcess>
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

} // namespace
} // namespace optimara::uitest
