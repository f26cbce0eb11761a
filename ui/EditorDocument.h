// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The constraint editor's content as the problem file keeps it: one
// paragraph per text block, with the underline of every character.
#include <QTextEdit>

#include "RichText.h"

class QTextDocument;

namespace optimara {

// Whether a character of this format is shown underlined: by its own format
// when the format says so, by the document's default font (`byDefault`)
// otherwise.
bool ShownUnderlined(const QTextCharFormat& format, bool byDefault);

// The paragraphs of the document, one per text block, each character
// underlined as it is shown. An empty document (one
// empty block) has no paragraph.
files::RichDocument ToRichDocument(const QTextDocument& document);

// Replaces the editor's content with the paragraphs, each character
// underlined or not as its flag says; everything else about the text (face,
// size) comes from the editor's default font, which stays as it was. The
// loading is one change of the editor and cannot be undone.
void LoadRichDocument(QTextEdit& editor, const files::RichDocument& paragraphs);

} // namespace optimara
