// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: what Windows controls need to find in the document, and
// that our reader gives back exactly what was written.
#include <random>

#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

TEST(RtfWriter, WindowsHeaderFontTableAndOneParPerLine) {
    const QByteArray rtf = WriteRtf({Typed("x+y<4"), Typed("x>0"), Typed("")});
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082"
                               "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"));
    EXPECT_TRUE(rtf.contains("\\viewkind4\\uc1\\pard"));
    EXPECT_TRUE(rtf.contains("\\f0\\fs20"));
    EXPECT_EQ(rtf.count("\\par\r\n"), 3);
    EXPECT_EQ(rtf.count("\\par"), 4);  // the three line ends and \pard
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_EQ(rtf.count('{'), rtf.count('}'));
}

TEST(RtfWriter, UnderlinedRunsAreToggledWhereTheyChange) {
    const QByteArray rtf = WriteRtf({RichParagraph::Underlined("1Maximizar"), Typed("x+y<4")});
    EXPECT_TRUE(rtf.contains("\\pard\\ul\\f0\\fs20 1Maximizar\\par\r\n"));
    EXPECT_TRUE(rtf.contains("\\ulnone x+y\\ul <\\ulnone 4\\par"));
    EXPECT_EQ(rtf.count("\\ul "), 1);
}

TEST(RtfWriter, OnlySevenBitBytesAndTheRightEscapes) {
    const QString text = QString::fromUtf8("é€“∑😀\\{}\t9");
    const QByteArray rtf = WriteRtf({RichParagraph::Plain(text)});
    for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_TRUE(rtf.contains("\\'e9\\'80\\'93\\u8721?\\u-10179?\\u-8704?\\\\\\{\\}\\tab 9"));
}

TEST(RtfWriter, DigitsAndBlanksAfterControlWordsStayText) {
    // After \ul a digit would become its parameter and a blank its
    // delimiter unless a delimiting blank is written first.
    RichParagraph paragraph = Typed(" 7< 2");
    const RichDocument doc{paragraph, Typed(" leading blank"), Typed("\t1")};
    EXPECT_EQ(ReadRtf(WriteRtf(doc)), doc);
}

TEST(RtfWriter, LineEndsInsideATextBecomeLinesAndOtherControlsStay) {
    const RichDocument doc{RichParagraph::Plain(
        QString::fromUtf8("a\r\nb\u2028c\x01" "d\x7f\u2029" "e\nf\x0b" "g\rh\x1f\u0085i") + QChar(0) + "j")};
    EXPECT_EQ(Texts(ReadRtf(WriteRtf(doc))),
              (QStringList{"a", QString::fromUtf8("b\u2028c\x01" "d\x7f"), "e", "f\x0bg",
                           QString::fromUtf8("h\x1f\u0085ij")}));
}

// Whatever a reader puts inside a line comes back inside the same line
// after writing and reading again, and the lines stay the same.
TEST(RtfWriter, ReadWriteReadKeepsTheLines) {
    QByteArray controls;
    for (char c = 1; c < 0x20; ++c) controls += c;
    const QByteArray sources[] = {
        "1Maximizar\r\nx\x0by\r\nSujeto a:\r\nx\x0c<1\xe2\x80\xa8y\r\n\xe2\x80\xa9z\x01\x1f\r\n",
        "a" + controls + "b\r\nc",
        "{\\rtf1 a\\'0bb\\'0dc\\u8232?d\\u8233?e\\'01\\'1ff\\'0a\\par g\\'00h\\par}",
    };
    for (const QByteArray& source : sources) {
        SCOPED_TRACE(source.toStdString());
        const RichDocument once = ReadRichText(source);
        EXPECT_EQ(ReadRichText(WriteRtf(once)), once);
    }
}

TEST(RtfWriter, EmptyDocumentsAndEmptyLines) {
    EXPECT_TRUE(ReadRtf(WriteRtf({})).empty());
    const RichDocument blanks{Typed(""), Typed("a"), Typed(""), Typed("")};
    EXPECT_EQ(ReadRtf(WriteRtf(blanks)), blanks);
}

TEST(RtfWriter, RandomDocumentsRoundTrip) {
    // Characters, some of them two UTF-16 units long.
    const QStringList alphabet = QString::fromUtf8(
        "a x < > = + - . , ; 0 9 \\ { } ? ' é ñ Ñ € “ ” ‚ ÿ \u0081 Š ∑ ≠ \u00A0 😀 𝔁").split(u' ');
    std::mt19937 generator(7);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> lines(0, 6), length(0, 30), coin(0, 1);
    for (int round = 0; round < 500; ++round) {
        RichDocument doc;
        for (int l = lines(generator); l > 0; --l) {
            RichParagraph paragraph;
            for (int k = length(generator); k > 0; --k) {
                const bool underlined = coin(generator) == 1;
                const QString character = k % 7 == 0 ? QString(u' ') : k % 11 == 0 ? QString(u'\t')
                                                                                    : alphabet[pick(generator)];
                for (QChar unit : character) paragraph.Append(unit, underlined);
            }
            doc.push_back(paragraph);
        }
        const QByteArray rtf = WriteRtf(doc);
        ASSERT_EQ(ReadRtf(rtf), doc) << rtf.toStdString();
    }
}
