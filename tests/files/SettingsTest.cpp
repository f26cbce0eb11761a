// SPDX-License-Identifier: GPL-3.0-or-later
// The settings line: written as "%d,%d,%s" with blanks as "*", read back
// with the same semantics and never past the line.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Settings.h"
#include "Support.h"

using namespace optimara::files;
using namespace optimara::files::test;

namespace {

Settings Make(bool modified, bool rational, const QString& name) {
    Settings settings;
    settings.modified = modified;
    settings.rational = rational;
    settings.fileName = name;
    return settings;
}

void ExpectSettings(const Settings& s, bool modified, bool rational, const QString& name) {
    EXPECT_EQ(s.modified, modified);
    EXPECT_EQ(s.rational, rational);
    EXPECT_EQ(s.fileName, name);
}

} // namespace

TEST(SettingsLine, ModifiedRationalWithABlankInTheName) {
    const QString name = "C:\\Mis problemas\\dieta.lpf";
    EXPECT_EQ(FormatSettingsLine(Make(true, true, name)), "1,1,C:\\Mis*problemas\\dieta.lpf");
    ExpectSettings(ParseSettingsLine("1,1,C:\\Mis*problemas\\dieta.lpf"), true, true, name);
    EXPECT_EQ(FormatSettingsLine(Make(true, false, name)), "1,0,C:\\Mis*problemas\\dieta.lpf");
    ExpectSettings(ParseSettingsLine("1,0,C:\\Mis*problemas\\dieta.lpf"), true, false, name);
}

TEST(SettingsLine, NothingModifiedNoFile) {
    EXPECT_EQ(FormatSettingsLine(Make(false, false, "")), "0,0,");
    ExpectSettings(ParseSettingsLine("0,0,"), false, false, "");
    ExpectSettings(ParseSettingsLine("0,1,"), false, true, "");
}

TEST(SettingsLine, NamesOfUpToTwoHundredSixtyCharactersAreWrittenWhole) {
    EXPECT_EQ(FormatSettingsLine(Make(false, false, QString(260, u'a'))), "0,0," + QByteArray(260, 'a'));
    // Characters, not bytes: 260 two-byte characters are written whole.
    const QByteArray line = FormatSettingsLine(Make(false, false, QString(260, QChar(0x00E9))));
    EXPECT_EQ(QString::fromUtf8(line.sliced(4)), QString(260, QChar(0x00E9)));
    // So are 259 characters and one of two UTF-16 units.
    const QString astral = QString(259, u'b') + QString::fromUtf8("😀");
    EXPECT_EQ(QString::fromUtf8(FormatSettingsLine(Make(false, false, astral)).sliced(4)), astral);
    // A name this long is only ever read by its first 260 characters too.
    ExpectSettings(ParseSettingsLine("1,1," + QByteArray(300, 'c')), true, true, QString(260, u'c'));
    ExpectSettings(ParseSettingsLine("1,1," + QByteArray(300, '*')), true, true, QString(260, u' '));
}

TEST(SettingsLine, FlagsOtherThanOneCountAsUnset) {
    ExpectSettings(ParseSettingsLine("2,7,x"), false, false, "x");
    ExpectSettings(ParseSettingsLine("-1,+1,x"), false, true, "x");
    ExpectSettings(ParseSettingsLine("99999999999999999999,1,x"), false, true, "x");
}

TEST(SettingsLine, MissingOrUnreadableFieldsStopTheReading) {
    ExpectSettings(ParseSettingsLine(""), false, false, "");
    ExpectSettings(ParseSettingsLine("1"), true, false, "");
    ExpectSettings(ParseSettingsLine("1,"), true, false, "");
    ExpectSettings(ParseSettingsLine("1,1"), true, true, "");
    ExpectSettings(ParseSettingsLine("x,1,name"), false, false, "");
    ExpectSettings(ParseSettingsLine("1,x,name"), true, false, "");
    ExpectSettings(ParseSettingsLine("1 ,1,name"), true, false, "");  // "," must follow at once
    ExpectSettings(ParseSettingsLine("1;1;name"), true, false, "");
}

TEST(SettingsLine, WhiteSpaceAsScanfTreatsIt) {
    ExpectSettings(ParseSettingsLine("  1, 1,   a*b c"), true, true, "a b");
    ExpectSettings(ParseSettingsLine("0,1,a\tb"), false, true, "a");
    ExpectSettings(ParseSettingsLine("0,1,name\r\n"), false, true, "name");
    ExpectSettings(ParseSettingsLine(Raw("0,1,na\0me")), false, true, "na");
}

TEST(SettingsLine, NeverReadsPastTheFirstLine) {
    ExpectSettings(ParseSettingsLine("1,\n1,name"), true, false, "");
    ExpectSettings(ParseSettingsLine("1,1,\nname"), true, true, "");
    ExpectSettings(ParseSettingsLine("\n1,1,name"), false, false, "");
}

TEST(SettingsLine, ALineOfTenThousandCharacters) {
    ExpectSettings(ParseSettingsLine("1,0," + QByteArray(9996, 'd')), true, false, QString(260, u'd'));
    ExpectSettings(ParseSettingsLine(QByteArray(9990, ' ') + "1,1,x"), true, true, "x");
    ExpectSettings(ParseSettingsLine(QByteArray(10000, '9')), false, false, "");
}

// A name the line would give back changed is not stored at all: a later
// "&Guardar" must never write to another file than the one chosen.
TEST(SettingsLine, NamesThatWouldComeBackChangedAreStoredAsNone) {
    const QString unfaithful[] = {
        QString(261, u'a'),
        QString(300, QChar(0x00E9)),
        QString(259, u'b') + QString::fromUtf8("😀😀"),
        "C:\\a*b.lpf",
        "/tmp/a\tb.lpf",
        "/tmp/a\nb.lpf",
        "/tmp/a\rb.lpf",
        "/tmp/a\vb.lpf",
        "/tmp/a\fb.lpf",
        QString("/tmp/a") + QChar(0) + "b.lpf",
        QString("/tmp/a") + QChar(0xD800) + "b.lpf",
    };
    for (const QString& name : unfaithful) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(FormatSettingsLine(Make(true, true, name)), "1,1,");
    }
    const QString faithful[] = {"/tmp/a b.lpf", " lead and trail ", QString::fromUtf8("/tmp/a\u00a0\u2028b.lpf")};
    for (const QString& name : faithful) {
        SCOPED_TRACE(name.toStdString());
        ExpectSettings(ParseSettingsLine(FormatSettingsLine(Make(true, false, name))), true, false, name);
    }
}

TEST(SettingsLine, NameEncodings) {
    const QString name = QString::fromUtf8("/home/ana/Dietética ñ.lpf");
    const QByteArray line = FormatSettingsLine(Make(false, true, name));
    EXPECT_EQ(line, QString::fromUtf8("0,1,/home/ana/Dietética*ñ.lpf").toUtf8());
    ExpectSettings(ParseSettingsLine(line), false, true, name);
    // A line written by the Windows program holds Windows-1252.
    ExpectSettings(ParseSettingsLine("0,0,C:\\Diet\xe9tica.lpf"), false, false, QString::fromUtf8("C:\\Dietética.lpf"));
}

TEST(SettingsFile, WrittenExactlyAndReadBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(kSettingsFileName);
    const Settings settings = Make(true, true, "C:\\Mis problemas\\dieta.lpf");
    ASSERT_TRUE(WriteSettingsFile(settings, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "1,1,C:\\Mis*problemas\\dieta.lpf");  // no line end
    const auto back = ReadSettingsFile(path);
    ASSERT_TRUE(back.has_value());
    ExpectSettings(*back, true, true, "C:\\Mis problemas\\dieta.lpf");
}

TEST(SettingsFile, MissingFileAndUnwritablePlace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(ReadSettingsFile(dir.filePath(kSettingsFileName)).has_value());
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_FALSE(ReadSettingsFile(folder).has_value());
    EXPECT_FALSE(WriteSettingsFile(Make(false, false, ""), folder));
    EXPECT_FALSE(WriteSettingsFile(Make(false, false, ""), dir.filePath("none/x.qzt")));
    EXPECT_TRUE(QDir(folder).exists());
}

TEST(SettingsFile, DefaultNamesLiveInTheWorkingDirectory) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool written = WriteSettingsFile(Make(false, true, "a b"));
    const auto back = ReadSettingsFile();
    const bool there = QFile::exists(dir.filePath("tabvex.qzt"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(written);
    EXPECT_TRUE(there);
    ASSERT_TRUE(back.has_value());
    ExpectSettings(*back, false, true, "a b");
}
