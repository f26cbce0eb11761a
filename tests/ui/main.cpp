// The window tests run real widgets on the offscreen platform, inside the
// program's own application object (so its error box is the one tested).
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "Application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's file dialogs remember their last directory in the user's settings;
    // the tests keep theirs to themselves.
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
