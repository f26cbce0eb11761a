// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs another program to its end and keeps what it said.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace optimara::uitest {

struct ToolRun {
    int exitCode = -1;  // -1 also when it did not start, crashed or hung
    QString out;
    QString err;
};

inline ToolRun RunTool(const QString& program, const QStringList& arguments,
                       const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForStarted(10000)) {
        run.err = program + " did not start";
        return run;
    }
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace optimara::uitest
