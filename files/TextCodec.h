// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two 8-bit readings our files can have: Windows-1252 (what the program
// always wrote) and UTF-8 (what a plain-text file written today usually is).
#include <QByteArrayView>
#include <QString>

namespace optimara::files {

// The character of one Windows-1252 byte. The five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows does,
// so that every byte has a reading and comes back unchanged when written.
char16_t Windows1252Char(unsigned char byte);

// The Windows-1252 byte of a UTF-16 code unit, or -1 when it has none.
int Windows1252Byte(char16_t unit);

QString DecodeWindows1252(QByteArrayView bytes);

// Length of the strict UTF-8 sequence at bytes[i] (i < size), or 0 when
// none starts there.
qsizetype Utf8SequenceLength(QByteArrayView bytes, qsizetype i);

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF,
// no truncated sequence.
bool IsValidUtf8(QByteArrayView bytes);

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252.
QString DecodeUtf8OrWindows1252(QByteArrayView bytes);

} // namespace optimara::files
