// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program is asked to do when it starts: run (with a problem file
// to open, or none), print its help or its version, or refuse arguments it
// does not understand.
#include <QString>
#include <QStringList>

namespace optimara {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString startFile;  // as given; empty when none
    QString error;      // the complaint when the arguments make no sense
};

// The arguments include the program name first, as argv has it. Help and
// version win over everything else on the line.
CommandLine ParseCommandLine(const QStringList& arguments);

QString HelpText();
QString VersionText();

} // namespace optimara
