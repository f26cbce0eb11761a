// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up from the outside: the arguments the program is given, a problem
// file opened from the command line through the real windows, and the
// read-me found where an installed copy keeps it.
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "Application.h"
#include "AuxWindows.h"
#include "CommandLine.h"
#include "Exercises.h"
#include "ProblemFile.h"
#include "ToolRun.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineReading, EachLineMeansOneThing) {
    struct Row {
        QStringList arguments;
        Action action;
        QString startFile;
        QString error;
    };
    const std::vector<Row> rows = {
        {{}, Action::Run, "", ""},
        {{"dieta.lpf"}, Action::Run, "dieta.lpf", ""},
        {{"--", "-raro.lpf"}, Action::Run, "-raro.lpf", ""},
        {{"--help"}, Action::Help, "", ""},
        {{"-h", "dieta.lpf"}, Action::Help, "", ""},
        {{"dieta.lpf", "--version"}, Action::Version, "", ""},
        {{"-v"}, Action::Version, "", ""},
        // The toolkit's own options do not hide a question for help.
        {{"-platform", "offscreen", "--version"}, Action::Version, "", ""},
        {{"--frobnicate"}, Action::Error, "", QString::fromUtf8("Opción desconocida: --frobnicate")},
        {{"-x", "dieta.lpf"}, Action::Error, "", QString::fromUtf8("Opción desconocida: -x")},
        {{"a.lpf", "b.lpf"}, Action::Error, "", QString::fromUtf8("Solo se puede abrir un archivo a la vez.")},
    };
    for (const Row& row : rows) {
        const CommandLine command = ParseCommandLine(QStringList{"optimara"} + row.arguments);
        const QString line = row.arguments.join(' ');
        EXPECT_EQ(command.action, row.action) << line.toStdString();
        EXPECT_EQ(command.startFile, row.startFile) << line.toStdString();
        EXPECT_EQ(command.error, row.error) << line.toStdString();
    }
}

// The built program itself, run without any display (or offscreen).
ToolRun RunProgram(const QStringList& arguments, bool offscreen = false) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
    if (offscreen) env.insert("QT_QPA_PLATFORM", "offscreen");
    return RunTool(QStringLiteral(OPTIMARA_EXE), arguments, env);
}

TEST(CommandLineProgram, VersionAndHelpArePrintedInSpanishWithoutADisplay) {
    const ToolRun version = RunProgram({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "Optimara 4.0\n");
    EXPECT_EQ(version.err, "");
    // The same version as the About window's.
    TForm2 about;
    EXPECT_EQ("Version " + version.out.trimmed().section(' ', 1), about.Version->text());

    const ToolRun help = RunProgram({"-h"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, HelpText());
    EXPECT_TRUE(help.out.startsWith("Uso: optimara [ARCHIVO]\n"));
    EXPECT_TRUE(help.out.contains("--version")) << help.out.toStdString();
    EXPECT_EQ(help.err, "");
}

TEST(CommandLineProgram, ArgumentsItCannotUseEndItWithAComplaint) {
    // Read once the toolkit has taken its own options, so on a platform.
    const ToolRun run = RunProgram({"--frobnicate"}, true);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.contains(QString::fromUtf8("Opción desconocida: --frobnicate\nPrueba «optimara --help».")))
        << run.err.toStdString();
}

// The exercise options: what each line asks for, and the complaint of each
// line that asks for nothing the generator can read.
TEST(CommandLineReading, ExerciseLinesAskForOneExercise) {
    struct Row {
        QStringList arguments;
        Action action;
        ExerciseKind kind;
        uint64_t seed;
        uint32_t variables, lines;
        bool key;
        QString error;
    };
    using K = ExerciseKind;
    const QString seedError = QString::fromUtf8("La semilla debe ser un número entero no negativo: «%1».");
    const std::vector<Row> rows = {
        {{"--ejercicio", "unico", "--semilla", "3"}, Action::Exercise, K::Unique, 3, 2, 3, false, ""},
        {{"--semilla", "18446744073709551615", "--ejercicio", "entero", "--clave"}, Action::Exercise, K::IntegerGap,
         18446744073709551615ull, 2, 3, true, ""},
        {{"--ejercicio=infactible", "--semilla=0", "--variables", "4", "--lineas", "5"}, Action::Exercise,
         K::Infeasible, 0, 4, 5, false, ""},
        {{"--ejercicio", "alternativos", "--semilla", "7", "--lineas", "2"}, Action::Exercise, K::Alternative, 7, 2,
         2, false, ""},
        // The generator's own limits are its refusal, not the reader's.
        {{"--ejercicio", "ilimitado", "--semilla", "1", "--variables", "9"}, Action::Exercise, K::Unbounded, 1, 9, 3,
         false, ""},
        {{"--ejercicio", "degenerado", "--semilla", "5", "--help"}, Action::Help, K::Unique, 1, 2, 3, false, ""},
        {{"--ejercicio", "único", "--semilla", "1"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("Tipo de ejercicio desconocido: «único»; los tipos son unico, degenerado, alternativos, "
                           "ilimitado, infactible y entero.")},
        {{"--ejercicio", "unico"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("Falta la semilla del ejercicio: --semilla N.")},
        {{"--ejercicio", "unico", "--semilla", "-3"}, Action::Error, K::Unique, 1, 2, 3, false, seedError.arg("-3")},
        {{"--ejercicio", "unico", "--semilla", "3x"}, Action::Error, K::Unique, 1, 2, 3, false, seedError.arg("3x")},
        {{"--ejercicio", "unico", "--semilla", "1", "--variables", "dos"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("El número de variables no es válido: «dos».")},
        {{"--ejercicio", "unico", "--semilla", "1", "--lineas", "-1"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("El número de líneas no es válido: «-1».")},
        {{"--semilla", "4", "--clave"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("Las opciones --semilla, --variables, --lineas y --clave solo valen con --ejercicio.")},
        {{"--ejercicio", "unico", "--semilla", "1", "dieta.lpf"}, Action::Error, K::Unique, 1, 2, 3, false,
         QString::fromUtf8("Un ejercicio no abre ningún archivo.")},
        {{"--ejercicio"}, Action::Error, K::Unique, 1, 2, 3, false, QString::fromUtf8("Falta el valor de --ejercicio.")},
    };
    for (const Row& row : rows) {
        const CommandLine command = ParseCommandLine(QStringList{"optimara"} + row.arguments);
        const std::string line = row.arguments.join(' ').toStdString();
        EXPECT_EQ(command.action, row.action) << line;
        EXPECT_EQ(command.error, row.error) << line;
        EXPECT_EQ(command.exerciseAsked, row.action != Action::Help) << line;
        EXPECT_EQ(command.startFile, "") << line;
        if (row.action != Action::Exercise) continue;
        const ExerciseRequest& q = command.exercise;
        EXPECT_EQ(q.kind, row.kind) << line;
        EXPECT_EQ(q.seed, row.seed) << line;
        EXPECT_EQ(q.variables, row.variables) << line;
        EXPECT_EQ(q.lines, row.lines) << line;
        EXPECT_EQ(command.exerciseKey, row.key) << line;
        // Maximizar; «≥» lines only where the kind needs them, integers only for "entero".
        EXPECT_TRUE(q.maximize) << line;
        EXPECT_EQ(q.greaterAndEqual, row.kind == K::Infeasible) << line;
        EXPECT_EQ(q.integer, row.kind == K::IntegerGap) << line;
    }
    // A line without exercise options asks for none.
    EXPECT_FALSE(ParseCommandLine({"optimara", "dieta.lpf"}).exerciseAsked);
}

// The exercise is printed by the program itself, without any display, and
// a line it cannot use ends it with the complaint on the error stream.
TEST(CommandLineProgram, ExercisesArePrintedWithoutADisplay) {
    const ToolRun run = RunProgram({"--ejercicio", "entero", "--semilla", "12", "--variables", "3", "--clave"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    const ExerciseResult made = MakeExercise({ExerciseKind::IntegerGap, 3, 3, true, false, true, 12});
    ASSERT_TRUE(made.made);
    EXPECT_EQ(run.out, QString::fromStdString(ExerciseListing(made, true)));
    EXPECT_TRUE(run.out.startsWith("Maximizar\n")) << run.out.toStdString();

    const ToolRun plain = RunProgram({"--ejercicio", "infactible", "--semilla", "12"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_FALSE(plain.out.contains("; clave")) << plain.out.toStdString();

    struct Row {
        QStringList arguments;
        QString err;
    };
    const std::vector<Row> rows = {
        {{"--ejercicio", "raro", "--semilla", "1"},
         QString::fromUtf8("Tipo de ejercicio desconocido: «raro»; los tipos son unico, degenerado, alternativos, "
                           "ilimitado, infactible y entero.\nPrueba «optimara --help».\n")},
        {{"--ejercicio", "unico", "--semilla", "uno"},
         QString::fromUtf8("La semilla debe ser un número entero no negativo: «uno».\nPrueba «optimara --help».\n")},
        {{"--ejercicio", "unico", "--semilla", "1", "--lineas", "6"},
         QString::fromUtf8("El número de líneas debe estar entre 2 y 5.\n")},
        {{"--ejercicio", "unico", "--semilla", "1", "--frobnicate"},
         QString::fromUtf8("Opción desconocida: --frobnicate\nPrueba «optimara --help».\n")},
    };
    for (const Row& row : rows) {
        const ToolRun bad = RunProgram(row.arguments);
        EXPECT_EQ(bad.exitCode, 2) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(bad.out, "");
        EXPECT_EQ(bad.err, row.err);
    }
}

// A working directory of the test's own, with the last run's session in it.
class StartFile : public ::testing::Test, public WindowProbe {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        // A read-me in place, so that every box a test sees is about the problem.
        Write(QString::fromUtf8("Léame.txt"), "Hola\r\n");
        ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
        Write("prob.lpf", "1Maximizar\r\n3x+2y\r\nRestricciones\r\nx+y<4\r\nx<3\r\nx>0\r\ny>0\r\n");
        probPath = dir.filePath("prob.lpf");
        // The last run: Minimizar x with x>1, answer 1.
        Write("tabvex.lp~", "0Minimizar\r\nx\r\nSujeto a:\r\nx>1\r\n");
    }
    void TearDown() override {
        windows.reset();
        QDir::setCurrent(previous);
    }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Creates the windows as start-up does and shows the main window.
    void Start(const QString& startFile, std::vector<ModalAnswerer::Action> answers = {}) {
        StartOptions options;
        options.startFile = startFile;
        {
            ModalAnswerer answerer(std::move(answers));
            auto scripted = std::make_unique<ScriptedQuestions>();
            questions = scripted.get();
            windows = CreateWindows(options, std::move(scripted));
            seen = answerer.Seen();
        }
        form = windows->main.get();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    std::string Panel(int k) const { return StatusBar1()->Text(k); }

    QTemporaryDir dir;
    QString previous;
    QString probPath;
    std::unique_ptr<Windows> windows;
    TForm1* form = nullptr;
    ScriptedQuestions* questions = nullptr;  // owned by form
    std::vector<SeenDialog> seen;
    const TForm1* Probed() const override { return form; }
};

TEST_F(StartFile, GivenFileIsOpenedAndSolvedInPlaceOfTheLastRun) {
    Write("tabvex.qzt", "0,1,/viejo/dieta.lpf");
    // Named relative to the working directory, the way a shell passes it.
    Start("sub/../prob.lpf");
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(form->windowTitle(), "Optimara- " + probPath);
    EXPECT_FALSE(form->State().session.Modified);
    EXPECT_EQ(ComboBox1()->currentIndex(), 1);
    EXPECT_EQ(Edit1()->text(), "3x+2y");
    EXPECT_EQ(Label1()->text(), "Restricciones");
    EXPECT_EQ(RichEdit1()->toPlainText(), "x+y<4\nx<3\nx>0\ny>0");
    // Shown solved, in the notation the last run chose.
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_TRUE(Rational1()->isChecked());
    EXPECT_EQ(Edit2()->text(), "11");

    QString preset = "<no dialog>";
    questions->saveFile = [&](const QString& offered) {
        preset = offered;
        return QString();
    };
    Saveas1()->trigger();
    EXPECT_EQ(preset, probPath);

    // The close writes the session as always: the opened file is the one
    // the next start restores.
    form->close();
    EXPECT_EQ(Read("tabvex.qzt"), ("0,1," + probPath).toUtf8());
    const files::ProblemDocument saved = files::ReadProblemFile(dir.filePath("tabvex.lp~"));
    EXPECT_EQ(saved.objective, "3x+2y");
    EXPECT_EQ(saved.caption, "Restricciones");
}

TEST_F(StartFile, UnreadableFileIsReportedAsOpenReportsItAndTheLastRunComesBack) {
    Write("tabvex.qzt", "0,0,/viejo/dieta.lpf");
    Start("falta.lpf", {ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot open file " + dir.filePath("falta.lpf") + ".");
    EXPECT_EQ(seen[0].title, "Optimara");
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    // As a start without the argument.
    EXPECT_EQ(form->windowTitle(), "Optimara- /viejo/dieta.lpf");
    EXPECT_EQ(ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(Edit1()->text(), "x");
    EXPECT_EQ(Panel(1), "Hecho");
    EXPECT_EQ(Edit2()->text(), "1");

    // "&Abrir" reports the same file with the same box.
    questions->openFile = [&] { return dir.filePath("falta.lpf"); };
    ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::Ok)});
    RunGuarded([&] { form->Open1Click(); });
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].text, seen[0].text);
}

TEST_F(StartFile, UnsavedWorkOfTheLastRunIsOfferedForSavingFirst) {
    struct Row {
        const char* what;
        std::vector<ModalAnswerer::Action> answers;
        bool rescued;
        bool opened;
    };
    const QString rescue = dir.filePath("rescate.lpf");
    std::vector<Row> rows;
    rows.push_back({"yes, saved", {ModalAnswerer::Click(QMessageBox::Yes), ModalAnswerer::ChooseFile(rescue)}, true, true});
    rows.push_back({"no", {ModalAnswerer::Click(QMessageBox::No)}, false, true});
    rows.push_back({"yes, dialog cancelled", {ModalAnswerer::Click(QMessageBox::Yes), ModalAnswerer::Cancel()}, false, false});
    for (Row& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(rescue);
        Write("tabvex.qzt", "1,0,");
        Start(probPath, std::move(row.answers));
        ASSERT_GE(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, QString::fromUtf8("¿Deseas guardar ahora tu trabajo? "));
        EXPECT_EQ(QFile::exists(rescue), row.rescued);
        if (row.rescued) {
            EXPECT_EQ(files::ReadProblemFile(rescue).objective, "x");
        }
        if (row.opened) {
            EXPECT_EQ(form->windowTitle(), "Optimara- " + probPath);
            EXPECT_EQ(Edit1()->text(), "3x+2y");
        } else {
            // The unsaved work stays on screen, still unsaved.
            EXPECT_EQ(form->windowTitle(), "Optimara-  Modificado");
            EXPECT_EQ(Edit1()->text(), "x");
        }
        windows.reset();
    }
}

TEST(ReadmeLookup, WorkingDirectoryFirstThenTheDataFolder) {
    struct Row {
        const char* inWork;  // nullptr: no file there
        const char* inData;
        QString shown;
        bool error;
    };
    const std::vector<Row> rows = {
        {"trabajo\r\n", "instalado\r\n", "trabajo\n", false},
        {nullptr, "instalado\r\n", "instalado\n", false},
        {nullptr, nullptr, "", true},
    };
    const QString previous = QDir::currentPath();
    for (const Row& row : rows) {
        QTemporaryDir work, data;
        ASSERT_TRUE(work.isValid() && data.isValid());
        const QString name = QString::fromUtf8("Léame.txt");
        for (auto [folder, text] : {std::pair{&work, row.inWork}, std::pair{&data, row.inData}}) {
            if (!text) continue;
            QFile file(folder->filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
        }
        ASSERT_TRUE(QDir::setCurrent(work.path()));
        StartOptions options;
        options.dataFolder = data.path();
        std::unique_ptr<Windows> windows;
        ModalAnswerer answerer({ModalAnswerer::Click(QMessageBox::Ok)});
        windows = CreateWindows(options);
        QDir::setCurrent(previous);
        EXPECT_EQ(windows->readme->Memo1->toPlainText(), row.shown);
        ASSERT_EQ(answerer.Seen().size(), row.error ? 1u : 0u);
        if (row.error) {
            EXPECT_EQ(answerer.Seen()[0].text, QString::fromUtf8("Cannot open file Léame.txt."));
        }
    }
}

} // namespace
} // namespace optimara::uitest
