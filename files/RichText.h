// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small rich-text model (lines with per-character underline) and our own
// Rich Text Format codec for it. The problem files are RTF documents as a
// Windows rich-text edit control writes them; these functions read such
// documents and write documents that those controls read back.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace optimara::files {

// One line of the editor. `underline` holds one flag per UTF-16 code unit of
// `text` (so positions match QString and QTextCursor positions); a
// character outside the Basic Multilingual Plane has two equal flags.
struct RichParagraph {
    QString text;
    std::vector<bool> underline;

    // A paragraph with no underlined character.
    static RichParagraph Plain(const QString& text);
    // A paragraph with every character underlined.
    static RichParagraph Underlined(const QString& text);

    // Appends one code unit with its flag.
    void Append(QChar unit, bool underlined);

    friend bool operator==(const RichParagraph&, const RichParagraph&) = default;
};

using RichDocument = std::vector<RichParagraph>;

// True when the data starts with "{\rtf".
bool IsRichText(QByteArrayView data);

// Reads RTF when the data is RTF, plain lines otherwise.
RichDocument ReadRichText(QByteArrayView data);

// Reads RTF. Every \par (also \line, \sect, \page, \row) ends a line; text
// after the last line end forms a final line only when it holds at least
// one character, so "a\par b\par}" and "a\par b}" are both the lines a, b and
// a document written with one \par per line reads back to the same lines.
// Fonts, colours, styles, pictures and every {\* ...} group are skipped;
// \'hh is read as Windows-1252 whatever the \ansicpg says; an escaped CR,
// LF or U+2029 ends the line. Malformed input
// never fails: whatever can be read is returned, in time linear in its size.
RichDocument ReadRtf(QByteArrayView data);

// Reads plain text: lines ended by CR LF, LF, CR or U+2029; the text after the last
// line end forms a line only when it is not empty. UTF-8 when the whole data
// is valid UTF-8 (a leading byte-order mark is dropped), Windows-1252
// otherwise. NUL characters are dropped. Nothing is underlined.
RichDocument ReadPlainText(QByteArrayView data);

// Writes a Windows-style RTF document: Arial 10 pt, code page 1252, one
// \par per line, underlined runs between \ul and \ulnone. Characters outside
// ASCII are written as \'hh when Windows-1252 has them and as \uN? otherwise.
// A tab is written as \tab; a line end inside a paragraph's text (CR LF, CR,
// LF, U+2029) is written as \par, so it reads back as two lines, as the
// readers read it; other control characters (U+000B, U+2028...) are written
// escaped and read back inside the line. NUL, which no reader keeps, is left out.
QByteArray WriteRtf(const RichDocument& document);

} // namespace optimara::files
