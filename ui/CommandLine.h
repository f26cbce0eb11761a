// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program is asked to do when it starts: run (with a problem file
// to open, or none), print its help or its version, print an exercise, or
// refuse arguments it does not understand.
#include <QString>
#include <QStringList>

#include "Exercises.h"

namespace optimara {

struct CommandLine {
    enum class Action { Run, Help, Version, Exercise, Error };
    Action action = Action::Run;
    QString startFile;  // as given; empty when none
    QString error;      // the complaint when the arguments make no sense
    // --ejercicio and its options: the exercise asked for, with its key or
    // not. exerciseAsked also for a faulty exercise line, whose complaint
    // needs no display either.
    ExerciseRequest exercise;
    bool exerciseKey = false;
    bool exerciseAsked = false;
};

// The arguments include the program name first, as argv has it. Help and
// version win over everything else on the line. An exercise asked for with
// --ejercicio TIPO --semilla N [--variables V] [--lineas L] [--clave]
// maximizes; only "infactible" has «≥» and «=» lines, and only "entero"
// integer variables.
CommandLine ParseCommandLine(const QStringList& arguments);

QString HelpText();
QString VersionText();

} // namespace optimara
