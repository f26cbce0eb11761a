#include "Application.h"

#include <QFont>
#include <QMessageBox>
#include <csignal>
#include <exception>

#include "AuxWindows.h"
#include "MainWindow.h"

namespace optimara {

OptimaraApplication::OptimaraApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OptimaraApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
    return false;
}

std::function<void(const QString& text)>& ErrorBoxHook() {
    static std::function<void(const QString& text)> hook;
    return hook;
}

void ShowErrorBox(const QString& text) {
    if (ErrorBoxHook()) {
        ErrorBoxHook()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, "Optimara", text + ".", QMessageBox::Ok);
    box.setObjectName("ErrorBox");
    box.exec();
}

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void SetUpApplication() {
    // A write beyond the file-size limit must fail like a full disk, with
    // its message and the old file intact, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("Optimara");
    // No display name: the platform would append it to every caption,
    // and the main window's caption is exactly the file name and its state.
    QApplication::setWindowIcon(ProgramIcon());
    // The design's faces are Windows faces; Liberation Sans and Mono have
    // the same metrics as Arial and Courier New and are close to MS Sans Serif.
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("Courier New", "Liberation Mono");
}

Windows::Windows() = default;
Windows::~Windows() = default;

std::unique_ptr<Windows> CreateWindows() {
    auto windows = std::make_unique<Windows>();
    windows->main = std::make_unique<TForm1>();
    windows->about = std::make_unique<TForm2>();
    windows->readme = std::make_unique<TForm4>();
    RunGuarded([&] { windows->readme->FormCreate(); });
    windows->main->SetAuxWindows(windows->about.get(), windows->readme.get());
    return windows;
}

int RunApplication(int argc, char** argv) {
    OptimaraApplication app(argc, argv);
    SetUpApplication();
    std::unique_ptr<Windows> windows = CreateWindows();
    windows->main->showMaximized();
    try {
        return app.exec();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
        return 0;
    }
}

} // namespace optimara
