// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLibraryInfo>
#include <QTranslator>
#include <QMessageBox>
#include <cstdio>
#include <csignal>
#include <exception>

#include "AuxWindows.h"
#include "CommandLine.h"
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

void WidenToCaption(QMessageBox& box) {
    // A window manager cuts a caption wider than its window; the caption
    // gets the room of its text in a bold face, and of the title bar's buttons.
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsWidth;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void ConnectToggle(QAction* item, QObject* context, std::function<void()> command) {
    QObject::connect(item, &QAction::triggered, context, [item, command](bool checked) {
        item->setChecked(!checked);
        RunGuarded(command);
    });
}

bool LoadToolkitTranslation() {
    // The toolkit's own texts (dialog buttons, file dialogs) in Spanish, as
    // the rest of the program; the program's own texts are not translated.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load("qtbase_es", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

void SetUpApplication() {
    // A write beyond the file-size limit must fail like a full disk, with
    // its message and the old file intact, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("Optimara");
    LoadToolkitTranslation();
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

StartOptions DefaultStartOptions() {
    StartOptions options;
    options.dataFolder = InstalledDataFolder();
    return options;
}

std::unique_ptr<Windows> CreateWindows(const StartOptions& options, std::unique_ptr<Questions> questions) {
    auto windows = std::make_unique<Windows>();
    windows->main = std::make_unique<TForm1>(std::move(questions), options.startFile);
    windows->about = std::make_unique<TForm2>();
    windows->readme = std::make_unique<TForm4>();
    const bool ownFolder =
        windows->main->State().sessionFolder.place == files::SessionFolder::Place::WorkingDirectory;
    RunGuarded([&] { windows->readme->FormCreate(QString::fromUtf8("Léame.txt"), options.dataFolder, ownFolder); });
    windows->main->SetAuxWindows(windows->about.get(), windows->readme.get());
    return windows;
}

namespace {

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int RunApplication(int argc, char** argv) {
    // Help and version are answered before the toolkit looks for a display.
    QStringList raw;
    for (int k = 0; k < argc; ++k) raw << QString::fromLocal8Bit(argv[k]);
    const CommandLine early = ParseCommandLine(raw);
    if (early.action == CommandLine::Action::Help) {
        Print(stdout, HelpText());
        return 0;
    }
    if (early.action == CommandLine::Action::Version) {
        Print(stdout, VersionText());
        return 0;
    }
    // An exercise is printed, and a faulty exercise line refused, without
    // the toolkit: a teacher may make them on a machine without a display.
    if (early.action == CommandLine::Action::Exercise) {
        const ExerciseResult exercise = MakeExercise(early.exercise);
        if (!exercise.made) {
            Print(stderr, QString::fromStdString(exercise.refusal) + "\n");
            return 2;
        }
        Print(stdout, QString::fromStdString(ExerciseListing(exercise, early.exerciseKey)));
        return 0;
    }
    if (early.action == CommandLine::Action::Error && early.exerciseAsked) {
        Print(stderr, early.error + QString::fromUtf8("\nPrueba «optimara --help».\n"));
        return 2;
    }
    OptimaraApplication app(argc, argv);
    // Read again without the toolkit's own options (-platform and the like).
    const CommandLine command = ParseCommandLine(QApplication::arguments());
    if (command.action == CommandLine::Action::Error) {
        Print(stderr, command.error + QString::fromUtf8("\nPrueba «optimara --help».\n"));
        return 2;
    }
    SetUpApplication();
    StartOptions options = DefaultStartOptions();
    options.startFile = command.startFile;
    std::unique_ptr<Windows> windows = CreateWindows(options);
    windows->main->showMaximized();
    try {
        return app.exec();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
        return 0;
    }
}

} // namespace optimara
