#include "Application.h"

#include <QApplication>
#include <QMainWindow>

namespace optimara {

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Optimara");
    QMainWindow window;
    window.setWindowTitle("Optimara");
    window.showMaximized();
    return app.exec();
}

} // namespace optimara
