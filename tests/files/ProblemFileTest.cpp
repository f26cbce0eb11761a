// SPDX-License-Identifier: GPL-3.0-or-later
// The problem file: header lines, parsing as the editor does, round trips
// of the known problems through real files.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FileIO.h"
#include "ProblemFile.h"
#include "Support.h"
#include "catalogue/Catalogue.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

ProblemDocument TypedProblem(int comboIndex, const QString& objective, const QStringList& lines,
                             const QString& caption = QString::fromUtf8("Sujeto a:")) {
    ProblemDocument problem;
    problem.comboIndex = comboIndex;
    problem.comboText = comboIndex == 0 ? "Minimizar" : "Maximizar";
    problem.objective = objective;
    problem.caption = caption;
    for (const QString& line : lines) problem.lines.push_back(Typed(line));
    return problem;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(ProblemFile, ComposedParagraphsOfTheWorkedExample) {
    const RichDocument doc = ComposeProblem(TypedProblem(1, "3x+2y", {"x+y<4"}));
    EXPECT_EQ(Texts(doc), (QStringList{"1Maximizar", "3x+2y", "Sujeto a:", "x+y<4"}));
    EXPECT_EQ(doc[3], Typed("x+y<4"));
    // The header lines take the editor's own, underlined font.
    EXPECT_EQ(doc[1], RichParagraph::Underlined("3x+2y"));
}

TEST(ProblemFile, EveryKnownProblemSurvivesSaveAndOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const auto& known : optimara::catalogue::Problems()) {
        SCOPED_TRACE(known.name);
        QStringList lines;
        for (const auto& line : known.lines) lines << QString::fromStdString(line);
        const ProblemDocument problem =
            TypedProblem(known.comboIndex, QString::fromStdString(known.objective), lines);
        const QString path = dir.filePath(QString::fromStdString(known.name) + ".lpf");
        WriteProblemFile(path, problem);
        const ProblemDocument back = ReadProblemFile(path);
        EXPECT_EQ(back.comboIndex, known.comboIndex);
        EXPECT_EQ(back.objective.toStdString(), known.objective);
        EXPECT_EQ(back.caption, "Sujeto a:");
        EXPECT_EQ(back.lines, problem.lines);
    }
}

TEST(ProblemFile, AccentsAndSymbolsSurviveSaveAndOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const ProblemDocument problem = TypedProblem(
        0, QString::fromUtf8("0.5café + 2ñ"), {QString::fromUtf8("; dieta económica ∑ {x}"), "", "café<3"},
        QString::fromUtf8("Restricción:"));
    const QString path = dir.filePath(QString::fromUtf8("problema ñ.lpf"));
    WriteProblemFile(path, problem);
    const ProblemDocument back = ReadProblemFile(path);
    EXPECT_EQ(back.comboIndex, 0);
    EXPECT_EQ(back.objective, problem.objective);
    EXPECT_EQ(back.caption, problem.caption);
    EXPECT_EQ(back.lines, problem.lines);
}

TEST(ProblemFile, FirstCharacterChoosesTheSense) {
    const auto sense = [](const QStringList& lines) {
        RichDocument doc;
        for (const QString& line : lines) doc.push_back(RichParagraph::Plain(line));
        return ParseProblem(doc).comboIndex;
    };
    EXPECT_EQ(sense({"0Minimizar", "x", "Sujeto a:"}), 0);
    EXPECT_EQ(sense({"0"}), 0);
    EXPECT_EQ(sense({"0Maximizar"}), 0);  // only the first character counts
    EXPECT_EQ(sense({"1Minimizar"}), 1);
    EXPECT_EQ(sense({"1Maximizar"}), 1);
    EXPECT_EQ(sense({"7"}), 1);
    EXPECT_EQ(sense({" 0Minimizar"}), 1);
    EXPECT_EQ(sense({"", "0"}), 1);  // the text starts with a line break
    EXPECT_EQ(sense({}), 1);
}

TEST(ProblemFile, SecondAndThirdLinesWhateverTheyHold) {
    RichDocument doc{RichParagraph::Plain("1Maximizar"), RichParagraph::Plain("  x + y  "),
                     RichParagraph::Plain("Restricciones"), Typed("x<1"), Typed(""), Typed("; nota")};
    const ProblemDocument problem = ParseProblem(doc);
    EXPECT_EQ(problem.objective, "  x + y  ");
    EXPECT_EQ(problem.caption, "Restricciones");
    EXPECT_EQ(problem.lines, (RichDocument{Typed("x<1"), Typed(""), Typed("; nota")}));
    EXPECT_TRUE(problem.comboText.isEmpty());
}

TEST(ProblemFile, ShortDocumentsLeaveTheRestEmpty) {
    const ProblemDocument two = ParseProblem({RichParagraph::Plain("0"), RichParagraph::Plain("x")});
    EXPECT_EQ(two.comboIndex, 0);
    EXPECT_EQ(two.objective, "x");
    EXPECT_TRUE(two.caption.isEmpty());
    EXPECT_TRUE(two.lines.empty());
    const ProblemDocument none = ParseProblem({});
    EXPECT_EQ(none.comboIndex, 1);
    EXPECT_TRUE(none.objective.isEmpty());
    EXPECT_TRUE(none.caption.isEmpty());
    EXPECT_TRUE(none.lines.empty());
}

TEST(ProblemFile, PlainTextFilesOpenLikeRichText) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString crlf = dir.filePath("crlf.lpf");
    WriteBytes(crlf, "0Minimizar\r\n3x + 2y\r\nSujeto a:\r\nx + y < 4\r\n\r\nx>0\r\n");
    const ProblemDocument problem = ReadProblemFile(crlf);
    EXPECT_EQ(problem.comboIndex, 0);
    EXPECT_EQ(problem.objective, "3x + 2y");
    EXPECT_EQ(problem.caption, "Sujeto a:");
    EXPECT_EQ(Texts(problem.lines), (QStringList{"x + y < 4", "", "x>0"}));

    const QString lf = dir.filePath("lf.lpf");
    WriteBytes(lf, "1Maximizar\n3x\nSujeto a:\nx<4");
    EXPECT_EQ(Texts(ReadProblemFile(lf).lines), (QStringList{"x<4"}));

    const QString cr = dir.filePath("cr.lpf");
    WriteBytes(cr, "1Maximizar\r3x\rRestricci\xf3n\rx<4\r");
    const ProblemDocument fromCr = ReadProblemFile(cr);
    EXPECT_EQ(fromCr.caption, QString::fromUtf8("Restricción"));
    EXPECT_EQ(Texts(fromCr.lines), (QStringList{"x<4"}));
}

// A problem whose file the reader would refuse is not written: the old file
// stays, and the error says the size. Up to the limit it reads back whole.
TEST(ProblemFile, OnlyWhatOpensAgainIsSaved) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.lpf");
    const ProblemDocument small = TypedProblem(1, "x", {"x<1"});
    WriteProblemFile(path, small);
    const QByteArray before = ReadWholeFile(path);
    for (const qint64 extra : {-1000LL, 1000LL}) {
        const ProblemDocument big = TypedProblem(1, QString(kMaxReadSize + extra - 200, 'x'), {"x<1"});
        const qint64 size = WriteRtf(ComposeProblem(big)).size();
        if (size <= kMaxReadSize) {
            WriteProblemFile(path, big);
            EXPECT_EQ(ReadProblemFile(path).objective, big.objective);
            WriteProblemFile(path, small);
            continue;
        }
        try {
            WriteProblemFile(path, big);
            ADD_FAILURE() << "written";
        } catch (const FileError& error) {
            EXPECT_EQ(error.text(), TooLargeToSaveText(size));
            EXPECT_TRUE(error.text().contains(QString::number(size)));
        }
        EXPECT_EQ(ReadWholeFile(path), before);
    }
}
