// SPDX-License-Identifier: GPL-3.0-or-later
// Malformed and hostile input: whatever can be read comes back, nothing
// crashes, hangs or reads past the data.
#include <random>

#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

void ExpectConsistent(const RichDocument& doc) {
    for (const auto& paragraph : doc) {
        ASSERT_EQ(paragraph.underline.size(), static_cast<size_t>(paragraph.text.size()));
        EXPECT_FALSE(paragraph.text.contains(QChar(0)));
    }
}

const char* kSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
    "{\\*\\generator Riched20 5.50.99.2050;}\\viewkind4\\uc1\\pard\\ul\\f0\\fs20 1Maximizar\\par\r\n"
    "caf\\'e9 \\u8721?\\par\r\n"
    "Sujeto a:\\par\r\n"
    "\\ulnone x+y\\ul <\\ulnone 4\\par\r\n"
    "{\\b x}\\ul >\\ulnone 0\\par\r\n"
    "}\r\n";

} // namespace

TEST(RtfHostile, EveryTruncationKeepsTheCompleteLines) {
    const QByteArray full(kSample);
    const RichDocument whole = ReadRtf(full);
    ASSERT_EQ(whole.size(), 5u);
    for (qsizetype length = 0; length <= full.size(); ++length) {
        const RichDocument part = ReadRtf(full.first(length));
        SCOPED_TRACE(length);
        ExpectConsistent(part);
        ASSERT_LE(part.size(), whole.size());
        // Every line but the one cut short is whole, with its underlines.
        for (size_t k = 0; k + 1 < part.size(); ++k) EXPECT_EQ(part[k], whole[k]);
    }
}

TEST(RtfHostile, UnbalancedBraces) {
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 {{{a\\par b")), (QStringList{"a", "b"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\par }}}} b\\par")), (QStringList{"a"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 {\\ul a}}}{\\par")), (QStringList{"a"}));
    EXPECT_TRUE(ReadRtf("{\\rtf").empty());
    EXPECT_TRUE(ReadRtf("{\\rtf1\\").empty());
}

TEST(RtfHostile, TruncatedEscapes) {
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\'e")), (QStringList{"ab"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\'ez")), (QStringList{"abz"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\'")), (QStringList{"ab"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\'zz")), (QStringList{"abzz"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\u-")), (QStringList{"ab-"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 ab\\u65?")), (QStringList{"abA"}));
}

TEST(RtfHostile, HugeParametersSaturate) {
    const RichDocument doc = ReadRtf(
        "{\\rtf1 a\\u99999999999999999999999999?b{\\uc99999999999999999999 \\u66 cd}e\\par}");
    ExpectConsistent(doc);
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text.size(), 5);
    EXPECT_TRUE(doc[0].text.startsWith(u'a'));
    EXPECT_TRUE(doc[0].text.endsWith(u"bBe"));
}

TEST(RtfHostile, NestingAHundredThousandDeep) {
    const int depth = 100000;
    QByteArray data = "{\\rtf1 ";
    data += QByteArray(depth, '{') + "x" + QByteArray(depth, '}') + "y\\par}";
    EXPECT_EQ(Texts(ReadRtf(data)), (QStringList{"xy"}));
}

TEST(RtfHostile, NestingWithAlternatingUnderlineRestoresEveryLevel) {
    const int depth = 100000;
    QByteArray data = "{\\rtf1 ";
    for (int k = 0; k < depth; ++k) data += (k % 2 == 0) ? "{\\ul a" : "{\\ulnone b";
    for (int k = 0; k < depth; ++k) data += "}c";
    data += "\\par}";
    const RichDocument doc = ReadRtf(data);
    ASSERT_EQ(doc.size(), 1u);
    ASSERT_EQ(doc[0].text.size(), 2 * depth);
    // Opening: a underlined, b not. Closing level k restores level k-1.
    for (int k = 0; k < depth; ++k) ASSERT_EQ(doc[0].underline[k], k % 2 == 0) << k;
    for (int k = 0; k < depth; ++k) {
        const int innerLevelLeft = depth - 1 - k;  // level whose state is restored
        const bool expected = innerLevelLeft > 0 && (innerLevelLeft - 1) % 2 == 0;
        ASSERT_EQ(doc[0].underline[depth + k], expected) << k;
    }
}

TEST(RtfHostile, BinaryDataIsSkippedAndClamped) {
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\bin4 {}\\xb\\par}")), (QStringList{"ab"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\bin999999999999999 b\\par}")), (QStringList{"a"}));
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 a\\bin-5 b\\par}")), (QStringList{"ab"}));
    // Binary data inside a skipped picture may hold braces.
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 {\\pict\\bin3 }}}}x\\par}")), (QStringList{"x"}));
}

TEST(RtfHostile, NulAndControlBytesAreNoText) {
    const RichDocument doc = ReadRtf(Raw("{\\rtf1 a\0b\x01\x1f" "c\\'00d\\u0?e\\par}"));
    EXPECT_EQ(Texts(doc), (QStringList{"abcde"}));
}

TEST(RtfHostile, RawHighBytesReadAsWindows1252) {
    EXPECT_EQ(Texts(ReadRtf("{\\rtf1 caf\xe9 \x80\\par}")), (QStringList{QString::fromUtf8("café €")}));
}

TEST(RtfHostile, RandomTokenSoupNeverBreaksTheModel) {
    const std::vector<QByteArray> tokens = {
        "{", "}", "\\", "\\par ", "\\ul ", "\\ulnone ", "\\u", "\\uc", "-", "7", "65", "?",
        "\\'", "e9", "z", "\\*", "\\bin", "3 ", "\\fonttbl", "\\plain", " ", "\r\n", QByteArray("\0", 1),
        "\xff", "x<4", "\\tab", "\\line", "\\~", "\\\\", "\\{", "\\}"};
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<size_t> pick(0, tokens.size() - 1);
    std::uniform_int_distribution<int> length(0, 200);
    for (int round = 0; round < 3000; ++round) {
        QByteArray data = "{\\rtf1 ";
        for (int k = length(generator); k > 0; --k) data += tokens[pick(generator)];
        const RichDocument doc = ReadRtf(data);
        ExpectConsistent(doc);
        if (HasFatalFailure()) return;
    }
}

TEST(RtfHostile, TwentyMegabytesInOnePass) {
    const QByteArray line = "x+y\\ul <\\ulnone 4 caf\\'e9 \\u8721?\\par\r\n";
    const qsizetype lines = 20 * 1024 * 1024 / line.size();
    QByteArray data = "{\\rtf1\\ansi ";
    data.reserve(line.size() * lines + 32);
    for (qsizetype k = 0; k < lines; ++k) data += line;
    data += "}";
    const RichDocument doc = ReadRtf(data);
    ASSERT_EQ(static_cast<qsizetype>(doc.size()), lines);
    const RichParagraph expected = Typed(QString::fromUtf8("x+y<4 café ∑"));
    EXPECT_EQ(doc.front(), expected);
    EXPECT_EQ(doc[lines / 2], expected);
    EXPECT_EQ(doc.back(), expected);
}

TEST(RtfHostile, TwentyMegabytesInOneGroupAndOneLine) {
    QByteArray data = "{\\rtf1 {\\ul ";
    data += QByteArray(20 * 1024 * 1024, 'x');
    const RichDocument doc = ReadRtf(data);
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_EQ(doc[0].text.size(), 20 * 1024 * 1024);
    EXPECT_TRUE(doc[0].underline.back());
}
