// SPDX-License-Identifier: GPL-3.0-or-later
// The reader on documents written the way Windows rich-text controls write them.
#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

// Riched20 as a Delphi rich edit saves a problem: default font underlined,
// typed text not, "<" and ">" underlined.
const char* kRiched20 =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\ul\\f0\\fs20 1Maximizar\\par\r\n"
    "3x+2y\\par\r\n"
    "Sujeto a:\\par\r\n"
    "\\ulnone x+y\\ul <\\ulnone 4\\par\r\n"
    "x\\ul >\\ulnone 0\\par\r\n"
    "}\r\n";

// Msftedit (WordPad of later Windows): more fonts, a colour table, paragraph
// spacing, \lang runs and \nouicompat.
const char kMsftedit[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang3082{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
    "{\\f1\\fswiss\\fprq2\\fcharset0 Arial;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\cf1\\ul\\f1\\fs20\\lang10 0Minimizar\\par\r\n"
    "\\cf0\\ulnone 0.6a+0.35b\\par\r\n"
    "Restricciones\\par\r\n"
    "5a+7b\\ul >\\ulnone 8\\lang1033\\par\r\n"
    "\\pard\\sa200\\sl276\\slmult1\\par\r\n"
    "}\r\n\0";

// Riched32 of old: no code page, the paragraph mark before the line break
// and the text after it ("\par x"), \plain to reset each line.
const char* kRiched32 =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
    "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 Arial;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;}\r\n"
    "\\deflang3082\\pard\\plain\\f2\\fs20\\ul 1Maximizar\r\n"
    "\\par 3x + 2y\r\n"
    "\\par Sujeto a:\r\n"
    "\\par \\plain\\f2\\fs20 x + y \\plain\\f2\\fs20\\ul <\\plain\\f2\\fs20  4\r\n"
    "\\par }";

} // namespace

TEST(RtfReaderWindows, Riched20ProblemKeepsLinesAndUnderlines) {
    const RichDocument doc = ReadRtf(kRiched20);
    ASSERT_EQ(doc.size(), 5u);
    EXPECT_EQ(Texts(doc), (QStringList{"1Maximizar", "3x+2y", "Sujeto a:", "x+y<4", "x>0"}));
    EXPECT_EQ(UnderlineMap(doc[0]), "__________");
    EXPECT_EQ(UnderlineMap(doc[2]), "_________");
    EXPECT_EQ(doc[3], Typed("x+y<4"));
    EXPECT_EQ(doc[4], Typed("x>0"));
}

TEST(RtfReaderWindows, MsfteditSkipsTablesAndKeepsTrailingEmptyLine) {
    const RichDocument doc = ReadRtf(Raw(kMsftedit));
    EXPECT_EQ(Texts(doc), (QStringList{"0Minimizar", "0.6a+0.35b", "Restricciones", "5a+7b>8", ""}));
    EXPECT_EQ(UnderlineMap(doc[0]), "__________");
    EXPECT_EQ(doc[1], RichParagraph::Plain("0.6a+0.35b"));
    EXPECT_EQ(doc[3], Typed("5a+7b>8"));
}

TEST(RtfReaderWindows, Riched32ParagraphMarkBeforeLineText) {
    const RichDocument doc = ReadRtf(kRiched32);
    EXPECT_EQ(Texts(doc), (QStringList{"1Maximizar", "3x + 2y", "Sujeto a:", "x + y < 4"}));
    EXPECT_EQ(UnderlineMap(doc[3]), "......_..");
    EXPECT_EQ(UnderlineMap(doc[1]), "_______");
}

TEST(RtfReaderWindows, HexEscapesAreWindows1252) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1\\ansi\\ansicpg1252 Diet\\'e9tica \\'80 \\'93x\\'94 \\'F1\\'d1\\'a0\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, QString::fromUtf8("Dietética € “x” ñÑ\u00A0"));
}

TEST(RtfReaderWindows, UnicodeEscapesSkipTheirFallback) {
    // \uc1 with '?' and with \'hh fallbacks, \uc2 with two, \uc0 with none,
    // a negative value, and a surrogate pair written as two escapes.
    const RichDocument doc = ReadRtf(
        "{\\rtf1\\ansi\\uc1 a\\u8721?b\\u233\\'e9c{\\uc2 \\u8364\\'80\\'80d}\\u8364?e"
        "{\\uc0 \\u8800 f}\\u-3913?g\\u-10179?\\u-8704?h\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, QString::fromUtf8("a∑béc€d€e≠f\uF0B7g😀h"));
}

TEST(RtfReaderWindows, FallbackCountEndsAtGroupBoundary) {
    // The fallback is cut short by the closing brace; the text after it stays.
    const RichDocument doc = ReadRtf("{\\rtf1{\\uc3 \\u8721?}xy\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, QString::fromUtf8("∑xy"));
}

TEST(RtfReaderWindows, UnderlineTogglesMidLine) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1 ab\\ul cd\\ul0 ef\\ul1 gh\\ulnone ij\\uld kl\\ulw mn\\ulnone\\ulc1 op\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, "abcdefghijklmnop");
    EXPECT_EQ(UnderlineMap(doc[0]), "..__..__..____..");
}

TEST(RtfReaderWindows, GroupsRestoreAndPlainResets) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1 a{\\ul b{\\ulnone c}d}e\\ul f\\plain g{\\b h}\\ul\\i i\\pard j\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, "abcdefghij");
    EXPECT_EQ(UnderlineMap(doc[0]), "._._._..__");
}

TEST(RtfReaderWindows, UnderlineCarriesOverParagraphEnds) {
    const RichDocument doc = ReadRtf("{\\rtf1\\ul a\\par b\\ulnone\\par c\\par}");
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_EQ(doc[1], RichParagraph::Underlined("b"));
    EXPECT_EQ(doc[2], RichParagraph::Plain("c"));
}

TEST(RtfReaderWindows, EscapesTabsAndSpecialSymbols) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1 \\\\a\\{b\\}c\\tab d\te\\~f\\-g\\_h\\emdash\\endash\\bullet"
        "\\lquote\\rquote\\ldblquote\\rdblquote\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, QString::fromUtf8("\\a{b}c\td\te\u00A0fg\u2011h—–•‘’“”"));
}

TEST(RtfReaderWindows, LineBreaksInTheStreamAreNotText) {
    const RichDocument doc = ReadRtf("{\\rtf1 x+\r\ny\r<\n4\\par\r\n\r\nz\\\r\nw}");
    EXPECT_EQ(Texts(doc), (QStringList{"x+y<4", "z", "w"}));
}

TEST(RtfReaderWindows, LineSectPageAndRowEndLines) {
    const RichDocument doc = ReadRtf("{\\rtf1 a\\line b\\sect c\\page d\\cell e\\row f}");
    EXPECT_EQ(Texts(doc), (QStringList{"a", "b", "c", "d\te", "f"}));
}

TEST(RtfReaderWindows, DestinationsAreSkipped) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1;}{\\stylesheet{\\s0 Normal;}}"
        "{\\info{\\title T}{\\author A}}{\\*\\unknowndest junk\\par}{\\*\\generator G;}"
        "{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}"
        "{\\pict\\wmetafile8 0123456789abcdef\\par}{\\header H\\par}"
        "{\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul link}}}"
        " text\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, "link text");
    EXPECT_EQ(UnderlineMap(doc[0]), "____.....");
}

TEST(RtfReaderWindows, ControlWordDelimiters) {
    // A space after a word belongs to it; a second one is text; digits after
    // a word are its parameter; anything else ends the word and is kept.
    const RichDocument doc = ReadRtf("{\\rtf1\\pard  a\\fs20;b\\b0-c\\par}");
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text, " a;b-c");
}

TEST(RtfReaderWindows, TrailingParagraphRule) {
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\par b\\par}")), (QStringList{"a", "b"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\par b}")), (QStringList{"a", "b"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\par\\par}")), (QStringList{"a", ""}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\par\\ul }")), (QStringList{"a"}));
    EXPECT_TRUE(ReadRtf("{\\rtf1\\ansi}").empty());
}

TEST(RtfReaderWindows, TextAfterTheDocumentIsIgnored) {
    EXPECT_EQ(Texts(ReadRtf(Raw("{\\rtf1 a\\par}\r\n\0garbage{\\rtf1 b\\par}"))), (QStringList{"a"}));
}

TEST(RichTextDispatch, RtfOnlyWhenTheDataStartsWithTheHeader) {
    EXPECT_TRUE(IsRichText("{\\rtf1 x}"));
    EXPECT_FALSE(IsRichText(" {\\rtf1 x}"));
    EXPECT_FALSE(IsRichText("{\\rt"));
    EXPECT_EQ(Texts(ReadRichText("{\\rtf1 a\\par}")), (QStringList{"a"}));
    EXPECT_EQ(Texts(ReadRichText(" {\\rtf1 a\\par}")), (QStringList{" {\\rtf1 a\\par}"}));
}
