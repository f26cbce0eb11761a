// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorDocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace optimara {

namespace {

// A flag missing at the end of a paragraph reads as "not underlined".
bool FlagAt(const files::RichParagraph& paragraph, qsizetype i) {
    const auto k = static_cast<size_t>(i);
    return k < paragraph.underline.size() && paragraph.underline[k];
}

void InsertParagraph(QTextCursor& cursor, const files::RichParagraph& paragraph) {
    // One insertion per run of equal underline keeps long lines cheap.
    const qsizetype size = paragraph.text.size();
    qsizetype start = 0;
    while (start < size) {
        const bool underlined = FlagAt(paragraph, start);
        qsizetype end = start + 1;
        while (end < size && FlagAt(paragraph, end) == underlined) ++end;
        QTextCharFormat format;
        format.setFontUnderline(underlined);
        cursor.insertText(paragraph.text.mid(start, end - start), format);
        start = end;
    }
}

} // namespace

bool ShownUnderlined(const QTextCharFormat& format, bool byDefault) {
    if (format.hasProperty(QTextFormat::TextUnderlineStyle) || format.hasProperty(QTextFormat::FontUnderline))
        return format.fontUnderline();
    return byDefault;
}

files::RichDocument ToRichDocument(const QTextDocument& document) {
    files::RichDocument paragraphs;
    if (document.isEmpty()) return paragraphs;
    const bool byDefault = document.defaultFont().underline();
    paragraphs.reserve(static_cast<size_t>(document.blockCount()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        files::RichParagraph paragraph;
        paragraph.text.reserve(block.length());
        paragraph.underline.reserve(static_cast<size_t>(block.length()));
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid()) continue;
            const bool underlined = ShownUnderlined(fragment.charFormat(), byDefault);
            for (const QChar unit : fragment.text()) paragraph.Append(unit, underlined);
        }
        paragraphs.push_back(std::move(paragraph));
    }
    return paragraphs;
}

void LoadRichDocument(QTextEdit& editor, const files::RichDocument& paragraphs) {
    editor.clear();
    QTextCursor cursor(editor.document());
    cursor.beginEditBlock();
    for (size_t k = 0; k < paragraphs.size(); ++k) {
        if (k > 0) cursor.insertBlock();
        InsertParagraph(cursor, paragraphs[k]);
    }
    cursor.endEditBlock();
    // What was there before belongs to another problem: undoing into it
    // would mix two problems in one editor.
    editor.document()->clearUndoRedoStacks();
    editor.moveCursor(QTextCursor::Start);
}

} // namespace optimara
