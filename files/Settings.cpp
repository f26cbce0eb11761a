// SPDX-License-Identifier: GPL-3.0-or-later
#include "Settings.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "FileIO.h"
#include "TextCodec.h"

namespace optimara::files {

namespace {

// The white space of C's isspace in the "C" locale.
bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A line longer than this holds nothing more that the format can use.
constexpr qint64 kMaxSettingsLine = 64 * 1024;

// "%d" on data[pos...]: white space, an optional sign, at least one digit.
// Saturates instead of overflowing; nullopt when no number is there.
std::optional<long long> ScanInteger(QByteArrayView data, qsizetype& pos) {
    qsizetype i = pos;
    while (i < data.size() && IsCSpace(data[i])) ++i;
    bool negative = false;
    if (i < data.size() && (data[i] == '+' || data[i] == '-')) negative = data[i++] == '-';
    if (i >= data.size() || data[i] < '0' || data[i] > '9') return std::nullopt;
    long long value = 0;
    for (; i < data.size() && data[i] >= '0' && data[i] <= '9'; ++i) {
        value = std::min(10'000'000'000LL, value * 10 + (data[i] - '0'));
    }
    pos = i;
    return negative ? -value : value;
}

bool ScanComma(QByteArrayView data, qsizetype& pos) {
    if (pos >= data.size() || data[pos] != ',') return false;
    ++pos;
    return true;
}

// The first `limit` code points of the text; a surrogate pair is never split.
QString FirstCodePoints(const QString& text, int limit) {
    qsizetype units = 0;
    for (int count = 0; count < limit && units < text.size(); ++count) {
        units += (text[units].isHighSurrogate() && units + 1 < text.size() &&
                  text[units + 1].isLowSurrogate()) ? 2 : 1;
    }
    return text.left(units);
}

} // namespace

QByteArray FormatSettingsLine(const Settings& settings) {
    QString name = settings.fileName;
    name.replace(u' ', u'*');
    const QByteArray flags = QByteArray::number(settings.modified ? 1 : 0) + ',' +
                             QByteArray::number(settings.rational ? 1 : 0) + ',';
    const QByteArray line = flags + name.toUtf8();
    // A name the line cannot give back exactly ("*", white space other than
    // a blank, too long, a broken character) is stored as none: the next
    // "&Guardar" then asks for a name instead of writing another file.
    if (ParseSettingsLine(line).fileName != settings.fileName) return flags;
    return line;
}

Settings ParseSettingsLine(QByteArrayView data) {
    const qsizetype lineEnd = data.indexOf('\n');
    if (lineEnd >= 0) data = data.first(lineEnd);
    Settings settings;
    qsizetype pos = 0;
    const auto modified = ScanInteger(data, pos);
    if (!modified) return settings;
    settings.modified = *modified == 1;
    if (!ScanComma(data, pos)) return settings;
    const auto notation = ScanInteger(data, pos);
    if (!notation) return settings;
    settings.rational = *notation == 1;
    if (!ScanComma(data, pos)) return settings;
    while (pos < data.size() && IsCSpace(data[pos])) ++pos;
    qsizetype end = pos;
    // A NUL ends the word as it would end the C string it was read into.
    while (end < data.size() && !IsCSpace(data[end]) && data[end] != '\0') ++end;
    QString name = FirstCodePoints(DecodeUtf8OrWindows1252(data.sliced(pos, end - pos)), kMaxSettingsName);
    name.replace(u'*', u' ');
    settings.fileName = name;
    return settings;
}

std::optional<Settings> ReadSettingsFile(const QString& fileName) {
    if (!QFileInfo(fileName).isFile()) return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray data = file.read(kMaxSettingsLine);
    if (data.isNull() && file.error() != QFileDevice::NoError) return std::nullopt;
    return ParseSettingsLine(data);
}

bool WriteSettingsFile(const Settings& settings, const QString& fileName) {
    try {
        WriteWholeFile(fileName, FormatSettingsLine(settings));
        return true;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace optimara::files
