// SPDX-License-Identifier: GPL-3.0-or-later
// The constraint editor's content to and from the paragraphs a problem file
// holds: one paragraph per line, the underline of every character.
#include "EditorDocument.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

using files::RichDocument;
using files::RichParagraph;

RichParagraph Marked(const QString& text, const char* marks) {
    RichParagraph paragraph;
    for (qsizetype i = 0; i < text.size(); ++i) paragraph.Append(text[i], marks[i] == '_');
    return paragraph;
}

class EditorParagraphs : public WindowTest {
protected:
    // What the editor shows, character by character, line by line.
    std::vector<std::vector<bool>> ShownFlags() const {
        std::vector<std::vector<bool>> lines(1);
        const QString text = RichEdit1()->toPlainText();
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                lines.emplace_back();
                continue;
            }
            lines.back().push_back(ShownUnderlined(RichEdit1(), i));
        }
        return lines;
    }
};

TEST_F(EditorParagraphs, EmptyEditorHasNoParagraphButEmptyLinesCount) {
    EXPECT_TRUE(ToRichDocument(*RichEdit1()->document()).empty());
    TypeConstraints({"x<1", "", ""});
    const RichDocument document = ToRichDocument(*RichEdit1()->document());
    ASSERT_EQ(document.size(), 3u);
    EXPECT_EQ(document[0].text, "x<1");
    EXPECT_EQ(document[1], RichParagraph());
    EXPECT_EQ(document[2], RichParagraph());
}

TEST_F(EditorParagraphs, TypedSignsAreTheOnlyUnderlinedCharacters) {
    TypeConstraints({"2x+y<4", "x>0"});
    const RichDocument document = ToRichDocument(*RichEdit1()->document());
    ASSERT_EQ(document.size(), 2u);
    EXPECT_EQ(document[0], Marked("2x+y<4", "...._."));
    EXPECT_EQ(document[1], Marked("x>0", "._."));
}

TEST_F(EditorParagraphs, UnformattedTextTakesTheDefaultFontsUnderline) {
    RichEdit1()->setPlainText("a<b\nc");
    RichDocument document = ToRichDocument(*RichEdit1()->document());
    ASSERT_EQ(document.size(), 2u);
    EXPECT_EQ(document[0], RichParagraph::Underlined("a<b"));
    EXPECT_EQ(document[1], RichParagraph::Underlined("c"));
    QFont plain = RichEdit1()->document()->defaultFont();
    plain.setUnderline(false);
    RichEdit1()->document()->setDefaultFont(plain);
    document = ToRichDocument(*RichEdit1()->document());
    EXPECT_EQ(document[0], RichParagraph::Plain("a<b"));
}

TEST_F(EditorParagraphs, LoadedParagraphsShowTheirUnderlinesAndReadBackTheSame) {
    TypeConstraints({"something", "to replace"});
    const RichDocument document = {
        Marked("x+y<4", "...__"),
        RichParagraph(),
        Marked(QString::fromUtf8("año\t<ñ"), "_._._."),
        Marked(QString::fromUtf8("z\U0001F600>"), "_.._"),  // a pair of units, equal flags
        RichParagraph(),
    };
    LoadRichDocument(*RichEdit1(), document);
    EXPECT_EQ(RichEdit1()->toPlainText(),
              QString::fromUtf8("x+y<4\n\naño\t<ñ\nz\U0001F600>\n"));
    const std::vector<std::vector<bool>> shown = ShownFlags();
    ASSERT_EQ(shown.size(), document.size());
    for (size_t k = 0; k < document.size(); ++k) EXPECT_EQ(shown[k], document[k].underline) << "line " << k;
    EXPECT_EQ(ToRichDocument(*RichEdit1()->document()), document);

    // The editor stays the underlined Arial one; the loading cannot be undone.
    const QFont font = RichEdit1()->document()->defaultFont();
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(font.family(), "Arial");
    EXPECT_FALSE(RichEdit1()->document()->isUndoAvailable());
    EXPECT_EQ(RichEdit1()->textCursor().position(), 0);
}

TEST_F(EditorParagraphs, MissingFlagsReadAsPlainAndNothingLoadsAsEmpty) {
    RichParagraph shortFlags;
    shortFlags.text = "abc";
    shortFlags.underline = {true};
    LoadRichDocument(*RichEdit1(), {shortFlags});
    EXPECT_EQ(ToRichDocument(*RichEdit1()->document()).at(0), Marked("abc", "_.."));
    LoadRichDocument(*RichEdit1(), {});
    EXPECT_EQ(RichEdit1()->toPlainText(), "");
    EXPECT_TRUE(ToRichDocument(*RichEdit1()->document()).empty());
}

TEST_F(EditorParagraphs, TypingAfterALoadStillUnderlinesOnlyTheSigns) {
    LoadRichDocument(*RichEdit1(), {RichParagraph::Underlined("abc")});
    RichEdit1()->setFocus();
    RichEdit1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(RichEdit1(), "d<e");
    EXPECT_EQ(ToRichDocument(*RichEdit1()->document()).at(0), Marked("abcd<e", "___._."));
}

} // namespace
} // namespace optimara::uitest
