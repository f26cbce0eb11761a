// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The generated problems the window benchmarks type (n variables, n dense
// rows and the sign rows, with two-decimal coefficients) and the
// application they run in.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdint>

#include "Application.h"

namespace benchproblems {

// max c.x subject to A x <= b, x >= 0 with every coefficient positive: the
// origin is feasible and every variable is bounded by every row. Two-decimal
// coefficients and right-hand sides make ties, and so degenerate vertices,
// unlikely; the tableau fills with values that are no small fractions, the
// hardest case for the rational notation.
// With relation '>' the rows read A x >= b instead: the origin breaks every
// row, so the method first looks for a feasible point (for "Minimizar").
inline void GenerateProblem(int n, uint32_t seed, QString& objective, QStringList& lines, char relation = '<') {
    auto next = [&seed](uint32_t range) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % range;
    };
    auto coefficient = [&] { return QString::number(1.0 + next(900) / 100.0, 'f', 2); };
    auto term = [&](int j) { return (j > 1 ? "+" : "") + coefficient() + QString("x%1").arg(j); };
    objective.clear();
    lines.clear();
    for (int j = 1; j <= n; ++j) objective += term(j);
    for (int i = 0; i < n; ++i) {
        QString line;
        for (int j = 1; j <= n; ++j) line += term(j);
        lines << line + QChar(relation) + QString::number(100.0 + next(90000) / 100.0, 'f', 2);
    }
    QString signs;
    for (int j = 1; j <= n; ++j) signs += QString(j > 1 ? ",x%1" : "x%1").arg(j);
    lines << signs + ">0";
}

// Runs the benchmarks inside the program's application object, on the
// offscreen platform unless another is asked for.
inline int RunInApplication(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows' zoom is kept in settings of the run's own, not the user's.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    optimara::OptimaraApplication app(argc, argv);
    optimara::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchproblems
