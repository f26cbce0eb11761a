// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The problem file (".lpf", also the autosave "tabvex.lp~"): the lines of the
// constraint editor with three header lines in front, as rich text.
//   line 1  the combo box index in decimal, directly followed by its text ("1Maximizar")
//   line 2  the objective exactly as typed
//   line 3  the caption of the label above the constraints ("Sujeto a:")
//   line 4… the constraint lines, each with its underlining
#include <QString>

#include "RichText.h"

namespace optimara::files {

struct ProblemDocument {
    int comboIndex = 1;  // 0 "Minimizar", 1 "Maximizar"
    QString comboText;   // written after the index; never read back
    QString objective;
    QString caption;
    RichDocument lines;  // the constraint editor's lines
    bool richText = true;  // false when the file held plain lines, without formatting
};

// The header lines are underlined: they take the editor's own font, which is
// underlined, when they are put in front of its lines.
RichDocument ComposeProblem(const ProblemDocument& problem);

// Reads back what ComposeProblem wrote, or any other document, as the
// editor would: the choice is "Minimizar" (0) exactly when the whole text
// starts with "0" and "Maximizar" (1) otherwise; the objective and caption
// are the second and third lines whatever they hold (empty when missing);
// the lines from the fourth on are the constraints. comboText stays empty.
ProblemDocument ParseProblem(const RichDocument& document);

// The problem read from a file, rich text or plain lines. Throws FileError
// with "Cannot open file <name>" or "Failed to Load Stream".
ProblemDocument ReadProblemFile(const QString& fileName);

// Writes the problem as RTF through a temporary file. Throws FileError with
// "Cannot create file <name>" or "Failed to Save Stream", or with
// TooLargeToSaveText when the file would be larger than a file the program
// opens; a file already there is then left as it was.
void WriteProblemFile(const QString& fileName, const ProblemDocument& problem);
QString TooLargeToSaveText(qint64 bytes);

} // namespace optimara::files
