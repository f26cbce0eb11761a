// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252 and UTF-8 recognition.
#include "Support.h"
#include "TextCodec.h"

using namespace optimara::files;
using namespace optimara::files::test;

TEST(TextCodec, EveryWindows1252ByteComesBack) {
    for (int byte = 0; byte < 256; ++byte) {
        const char16_t unit = Windows1252Char(static_cast<unsigned char>(byte));
        EXPECT_EQ(Windows1252Byte(unit), byte) << byte;
    }
    EXPECT_EQ(Windows1252Char(0x80), u'€');
    EXPECT_EQ(Windows1252Char(0x9F), u'Ÿ');
    EXPECT_EQ(Windows1252Char(0xE9), u'é');
    EXPECT_EQ(Windows1252Byte(u'∑'), -1);
    EXPECT_EQ(Windows1252Byte(0x0085), -1);  // a C1 control the code page does not hold
}

TEST(TextCodec, StrictUtf8) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("caf\xe9"));             // Windows-1252
    EXPECT_FALSE(IsValidUtf8("\xc3"));                 // truncated
    EXPECT_FALSE(IsValidUtf8("\xe2\x82"));             // truncated
    EXPECT_FALSE(IsValidUtf8("\xc0\xaf"));             // overlong
    EXPECT_FALSE(IsValidUtf8("\xe0\x80\xaf"));         // overlong
    EXPECT_FALSE(IsValidUtf8("\xed\xa0\x80"));         // surrogate
    EXPECT_FALSE(IsValidUtf8("\xf4\x90\x80\x80"));     // beyond U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\x80"));                 // lone continuation
}

TEST(TextCodec, PlainLinesAndEncodings) {
    EXPECT_EQ(Texts(ReadPlainText("a\r\nb\nc\rd")), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(Texts(ReadPlainText("a\r\n\r\n")), (QStringList{"a", ""}));
    EXPECT_EQ(Texts(ReadPlainText("a\n\r")), (QStringList{"a", ""}));
    EXPECT_TRUE(ReadPlainText("").empty());
    EXPECT_EQ(Texts(ReadPlainText("\xef\xbb\xbf" "caf\xc3\xa9\r\n")), (QStringList{QString::fromUtf8("café")}));
    EXPECT_EQ(Texts(ReadPlainText("caf\xe9 \x80\r\n")), (QStringList{QString::fromUtf8("café €")}));
    // One invalid byte makes the whole file Windows-1252.
    EXPECT_EQ(Texts(ReadPlainText("\xc3\xa9\n\xe9")), (QStringList{QString::fromUtf8("Ã©"), QString::fromUtf8("é")}));
    EXPECT_EQ(Texts(ReadPlainText(Raw("a\0b\n"))), (QStringList{"ab"}));
    for (const auto& paragraph : ReadPlainText("x<4\ny>2")) {
        EXPECT_EQ(paragraph.underline, std::vector<bool>(static_cast<size_t>(paragraph.text.size()), false));
    }
}

TEST(TextCodec, PlainTextOfTwentyMegabytes) {
    QByteArray data;
    const QByteArray line = "x + y < 4\r\n";
    const qsizetype lines = 20 * 1024 * 1024 / line.size();
    data.reserve(line.size() * lines);
    for (qsizetype k = 0; k < lines; ++k) data += line;
    const RichDocument doc = ReadPlainText(data);
    ASSERT_EQ(static_cast<qsizetype>(doc.size()), lines);
    EXPECT_EQ(doc.back().text, "x + y < 4");
}
