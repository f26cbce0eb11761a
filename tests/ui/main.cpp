// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests run real widgets on the offscreen platform, inside the
// program's own application object (so its error box is the one tested).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "Application.h"

int main(int argc, char** argv) {
    // The offscreen screen is 1280 x 800, so a maximised window has a size
    // of its own, larger than the design size.
    QTemporaryDir screen;
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        QFile config(screen.filePath("screen.json"));
        if (!screen.isValid() || !config.open(QIODevice::WriteOnly)) return 1;
        config.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1280, "height": 800,)"
                     R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toUtf8());
    }
    // Qt's file dialogs remember their last directory in the user's settings,
    // the window its zoom; the tests keep theirs to themselves.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", settings.path().toUtf8());
    // Every window reads and writes its session files in the working
    // directory: the run starts in an empty one of its own.
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) return 1;
    optimara::OptimaraApplication app(argc, argv);
    optimara::SetUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
