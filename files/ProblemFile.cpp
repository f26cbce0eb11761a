// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProblemFile.h"

#include "FileIO.h"

namespace optimara::files {

RichDocument ComposeProblem(const ProblemDocument& problem) {
    RichDocument document;
    document.reserve(problem.lines.size() + 3);
    document.push_back(RichParagraph::Underlined(QString::number(problem.comboIndex) + problem.comboText));
    document.push_back(RichParagraph::Underlined(problem.objective));
    document.push_back(RichParagraph::Underlined(problem.caption));
    document.insert(document.end(), problem.lines.begin(), problem.lines.end());
    return document;
}

ProblemDocument ParseProblem(const RichDocument& document) {
    ProblemDocument problem;
    // Only the very first character counts; an empty first line starts the
    // text with a line break, which is not "0".
    const bool minimise = !document.empty() && document[0].text.startsWith(u'0');
    problem.comboIndex = minimise ? 0 : 1;
    if (document.size() > 1) problem.objective = document[1].text;
    if (document.size() > 2) problem.caption = document[2].text;
    if (document.size() > 3) problem.lines.assign(document.begin() + 3, document.end());
    return problem;
}

ProblemDocument ReadProblemFile(const QString& fileName) {
    const QByteArray data = ReadWholeFile(fileName);
    ProblemDocument problem = ParseProblem(ReadRichText(data));
    problem.richText = IsRichText(data);
    return problem;
}

void WriteProblemFile(const QString& fileName, const ProblemDocument& problem) {
    const QByteArray bytes = WriteRtf(ComposeProblem(problem));
    // A file the program could not open again would lose the problem at the
    // next opening: refused, with the size, before the old file is touched.
    if (bytes.size() > kMaxReadSize)
        throw FileError(TooLargeToSaveText(bytes.size()));
    WriteWholeFile(fileName, bytes);
}

QString TooLargeToSaveText(qint64 bytes) {
    return QString::fromUtf8("El problema ocuparía %1 bytes en el archivo, más de los %2 que se pueden abrir; "
                             "no se ha guardado")
        .arg(bytes)
        .arg(kMaxReadSize);
}

} // namespace optimara::files
