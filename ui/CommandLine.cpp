// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>

#include "AuxWindows.h"

namespace optimara {
namespace {

struct ExerciseOptions {
    QCommandLineOption kind{"ejercicio", "", "tipo"};
    QCommandLineOption seed{"semilla", "", "n"};
    QCommandLineOption variables{"variables", "", "v"};
    QCommandLineOption lines{"lineas", "", "l"};
    QCommandLineOption key{"clave"};
    bool AnySet(const QCommandLineParser& parser) const {
        for (const QCommandLineOption* o : {&kind, &seed, &variables, &lines, &key})
            if (parser.isSet(*o)) return true;
        return false;
    }
};

CommandLine Refused(CommandLine command, const char* text, const QString& value = QString()) {
    command.action = CommandLine::Action::Error;
    command.error = value.isNull() ? QString::fromUtf8(text) : QString::fromUtf8(text).arg(value);
    return command;
}

// The exercise's options read; the request keeps its defaults for the rest.
CommandLine ExerciseCommand(const QCommandLineParser& parser, const ExerciseOptions& o) {
    CommandLine command;
    command.exerciseAsked = true;
    if (!parser.isSet(o.kind))
        return Refused(command, "Las opciones --semilla, --variables, --lineas y --clave solo valen con --ejercicio.");
    if (!parser.positionalArguments().isEmpty()) return Refused(command, "Un ejercicio no abre ningún archivo.");
    const QString kindName = parser.value(o.kind);
    const std::optional<ExerciseKind> kind = ExerciseKindFromName(kindName.toStdString());
    if (!kind)
        return Refused(command,
                       "Tipo de ejercicio desconocido: «%1»; los tipos son unico, degenerado, alternativos, "
                       "ilimitado, infactible y entero.",
                       kindName);
    if (!parser.isSet(o.seed)) return Refused(command, "Falta la semilla del ejercicio: --semilla N.");
    bool ok = false;
    ExerciseRequest& q = command.exercise;
    q.kind = *kind;
    q.seed = parser.value(o.seed).toULongLong(&ok, 10);
    if (!ok) return Refused(command, "La semilla debe ser un número entero no negativo: «%1».", parser.value(o.seed));
    if (parser.isSet(o.variables)) {
        q.variables = parser.value(o.variables).toUInt(&ok, 10);
        if (!ok) return Refused(command, "El número de variables no es válido: «%1».", parser.value(o.variables));
    }
    if (parser.isSet(o.lines)) {
        q.lines = parser.value(o.lines).toUInt(&ok, 10);
        if (!ok) return Refused(command, "El número de líneas no es válido: «%1».", parser.value(o.lines));
    }
    q.maximize = true;
    q.greaterAndEqual = q.kind == ExerciseKind::Infeasible;
    q.integer = q.kind == ExerciseKind::IntegerGap;
    command.exerciseKey = parser.isSet(o.key);
    command.action = CommandLine::Action::Exercise;
    return command;
}

// The parser's own complaints are not the program's: an unknown option, or
// an option left without its value, which only the last argument can be.
QString NotUnderstood(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        const QString last = arguments.isEmpty() ? QString() : arguments.last();
        return QString::fromUtf8("Falta el valor de %1.").arg(last);
    }
    const QString name = unknown.first();
    return QString::fromUtf8("Opción desconocida: %1%2").arg(name.size() == 1 ? "-" : "--", name);
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    // Only the parser's reading is used: its own help and messages are English.
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    const ExerciseOptions exercise;
    parser.addOption(help);
    parser.addOption(version);
    for (const QCommandLineOption* o :
         {&exercise.kind, &exercise.seed, &exercise.variables, &exercise.lines, &exercise.key})
        parser.addOption(*o);
    const bool understood = parser.parse(arguments);
    CommandLine command;
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
    } else if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
    } else if (!understood) {
        command.action = CommandLine::Action::Error;
        command.error = NotUnderstood(parser, arguments);
        command.exerciseAsked = exercise.AnySet(parser);
    } else if (exercise.AnySet(parser)) {
        command = ExerciseCommand(parser, exercise);
    } else if (parser.positionalArguments().size() > 1) {
        command.action = CommandLine::Action::Error;
        command.error = QString::fromUtf8("Solo se puede abrir un archivo a la vez.");
    } else if (parser.positionalArguments().size() == 1) {
        command.startFile = parser.positionalArguments().first();
    }
    return command;
}

QString HelpText() {
    return QString::fromUtf8(
        "Uso: optimara [ARCHIVO]\n"
        "     optimara --ejercicio TIPO --semilla N [--variables V] [--lineas L] [--clave]\n"
        "Resuelve problemas de programación lineal con el método símplex, paso a paso.\n"
        "\n"
        "  ARCHIVO           un problema (.lpf) que se abre y se resuelve al empezar\n"
        "  -h, --help        muestra esta ayuda y termina\n"
        "  -v, --version     muestra la versión y termina\n"
        "\n"
        "Ejercicios nuevos con números pequeños, escritos en la salida sin abrir ninguna ventana:\n"
        "  --ejercicio TIPO  unico, degenerado, alternativos, ilimitado, infactible o entero\n"
        "  --semilla N       el mismo número da el mismo ejercicio en cualquier equipo\n"
        "  --variables V     de 2 a 4 variables (2 si no se indica)\n"
        "  --lineas L        de 2 a 5 restricciones sin contar las de signo (3 si no se indica)\n"
        "  --clave           añade la solución al final, en líneas de comentario «;»\n"
        "Los ejercicios maximizan; solo «infactible» lleva líneas «≥» o «=», y solo «entero»\n"
        "variables enteras.\n");
}

QString VersionText() { return "Optimara " + ProgramVersion() + "\n"; }

} // namespace optimara
