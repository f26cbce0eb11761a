// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Helpers shared by the tests of the files library.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "RichText.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace optimara::files {

inline void PrintTo(const RichParagraph& paragraph, std::ostream* os) {
    *os << '"' << paragraph.text.toStdString() << "\" underline ";
    for (bool flag : paragraph.underline) *os << (flag ? '_' : '.');
}

} // namespace optimara::files

namespace optimara::files::test {

// A line as the editor keeps it after typing: "<" and ">" underlined,
// every other character not.
inline RichParagraph Typed(const QString& text) {
    RichParagraph paragraph;
    for (QChar c : text) paragraph.Append(c, c == u'<' || c == u'>');
    return paragraph;
}

inline RichParagraph Typed(const char* utf8) { return Typed(QString::fromUtf8(utf8)); }

// Which characters are underlined, as a string of '_' and '.'.
inline std::string UnderlineMap(const RichParagraph& paragraph) {
    std::string map;
    for (bool flag : paragraph.underline) map += flag ? '_' : '.';
    return map;
}

inline QStringList Texts(const RichDocument& document) {
    QStringList texts;
    for (const auto& paragraph : document) texts << paragraph.text;
    return texts;
}

// The whole literal, NUL bytes included.
template <size_t N>
QByteArrayView Raw(const char (&literal)[N]) { return QByteArrayView(literal, N - 1); }

// The user whom permissions bind in RunBoundByPermissions: nobody when the
// tests run as root, else the tests' own user.
inline uid_t BoundUser() { return geteuid() == 0 ? 65534 : geteuid(); }

// Runs the check in a child process as a user whom permissions bind (the
// tests may run as root); its exit code is the check's result, -1 when it
// did not end normally.
inline int RunBoundByPermissions(const std::function<int()>& check) {
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(BoundUser()) != 0 || setuid(BoundUser()) != 0)) _exit(100);
        _exit(check());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

} // namespace optimara::files::test
