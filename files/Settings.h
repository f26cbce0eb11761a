// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file: one line "%d,%d,%s" (modified flag, notation flag,
// current file name with every blank written as "*"), without a line end.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace optimara::files {

// Both live in the session folder: the working directory when it is the
// user's own, else the state folder (SessionFolder.h).
inline constexpr const char* kSettingsFileName = "tabvex.qzt";
inline constexpr const char* kAutosaveFileName = "tabvex.lp~";

// Longest name, in characters (Unicode code points): a longer one is not
// stored, and a longer one read is cut, never inside a character.
inline constexpr int kMaxSettingsName = 260;

struct Settings {
    bool modified = false;  // the flag read was 1
    bool rational = false;  // the notation flag read was 1
    QString fileName;       // blanks restored
};

// The line to write: modified and rational as 1/0, the name with blanks as
// "*" in UTF-8, no line end. A name that would not read back as it is
// (longer than kMaxSettingsName characters, holding "*" or white space
// other than a blank) is written as no name.
QByteArray FormatSettingsLine(const Settings& settings);

// Reads the line as "%d,%d,%s" would: each number after optional white
// space, a number that cannot be read counts as 0 and stops the reading
// (what follows stays 0 or empty), the name is one word up to the first
// white space, at most kMaxSettingsName characters, every "*" a blank.
// Only the first line of the data is looked at. The name is UTF-8 when its
// bytes are valid UTF-8 and Windows-1252 otherwise.
Settings ParseSettingsLine(QByteArrayView data);

// The settings of a file, or nothing when it cannot be opened or read.
std::optional<Settings> ReadSettingsFile(const QString& fileName = QString::fromLatin1(kSettingsFileName));

// Writes the line through a temporary file; false when that fails, which
// the caller passes over silently.
bool WriteSettingsFile(const Settings& settings,
                       const QString& fileName = QString::fromLatin1(kSettingsFileName));

} // namespace optimara::files
