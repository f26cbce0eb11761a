// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"

#include <QCommandLineParser>

#include "AuxWindows.h"

namespace optimara {

CommandLine ParseCommandLine(const QStringList& arguments) {
    // Only the parser's reading is used: its own help and messages are English.
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOption(help);
    parser.addOption(version);
    const bool understood = parser.parse(arguments);
    CommandLine command;
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
    } else if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
    } else if (!understood) {
        command.action = CommandLine::Action::Error;
        const QStringList unknown = parser.unknownOptionNames();
        const QString name = unknown.isEmpty() ? QString() : unknown.first();
        command.error = QString::fromUtf8("Opción desconocida: %1%2").arg(name.size() == 1 ? "-" : "--", name);
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
        "Resuelve problemas de programación lineal con el método símplex, paso a paso.\n"
        "\n"
        "  ARCHIVO         un problema (.lpf) que se abre y se resuelve al empezar\n"
        "  -h, --help      muestra esta ayuda y termina\n"
        "  -v, --version   muestra la versión y termina\n");
}

QString VersionText() { return "Optimara " + ProgramVersion() + "\n"; }

} // namespace optimara
