// SPDX-License-Identifier: GPL-3.0-or-later
// The work of one run in the next: closing the window writes the settings
// line and the autosave into the working directory, and the next window
// created there restores the problem, its file, its state and the notation;
// a folder that is not the user's own keeps nothing of it.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Application.h"
#include "AuxWindows.h"
#include "FileIO.h"
#include "ProblemFile.h"
#include "UiTestSupport.h"

namespace optimara::uitest {
namespace {

using Dialogs = std::vector<ModalAnswerer::Action>;

class Session : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
    }
    void TearDown() override {
        form.reset();
        QDir::setCurrent(previous);
    }

    // A new main window in the working directory, as the program creates
    // it, shown; the boxes its start-up shows are answered as listed.
    std::vector<SeenDialog> Start(Dialogs answers = {}) {
        ModalAnswerer answerer(std::move(answers));
        form = NewWindow();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return answerer.Seen();
    }
    std::vector<SeenDialog> Close(Dialogs answers = {}) {
        ModalAnswerer answerer(std::move(answers));
        EXPECT_TRUE(form->close());
        EXPECT_FALSE(form->isVisible());
        return answerer.Seen();
    }
    std::vector<SeenDialog> Run(QAction* item, Dialogs answers = {}) {
        ModalAnswerer answerer(std::move(answers));
        item->trigger();
        return answerer.Seen();
    }

    QByteArray FileBytes(const char* name) const {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    void WriteFile(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString Underlines() const { return uitest::Underlines(RichEdit1()); }

    QTemporaryDir dir;
    QString previous;
};

TEST_F(Session, FirstRunStartsAsDesigned) {
    EXPECT_TRUE(Start().empty());
    EXPECT_EQ(form->windowTitle(), "Optimara");
    EXPECT_TRUE(FloatingPoint1()->isChecked());
    EXPECT_FALSE(Rational1()->isChecked());
    EXPECT_EQ(ComboBox1()->currentIndex(), 1);
    EXPECT_FALSE(form->State().session.Modified);
    EXPECT_EQ(form->CurrentFileName(), "");
    EXPECT_EQ(Panel(0), "Nada para optimizar     ");
}

// What a user sees: a problem typed, fractions chosen, the window closed,
// and the program started again in the same folder.
TEST_F(Session, RestartBringsTheProblemBackSolvedAsTheUserLeftIt) {
    ASSERT_TRUE(Start().empty());
    TypeProblem(0, "-x-y", {"2x+y<4", "x+2y<4", "; vertice", "x>0", "y>0"});
    const QString text = RichEdit1()->toPlainText();
    const QString underlines = Underlines();
    Run(Rational1());
    ASSERT_TRUE(Close().empty());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "1,1,");

    // The whole start-up, with its read-me file in place.
    WriteFile("L\xc3\xa9" "ame.txt", "Optimara\r\n");
    std::unique_ptr<Windows> windows;
    auto restoredQuestions = std::make_unique<ScriptedQuestions>();
    ScriptedQuestions* const answers = restoredQuestions.get();
    {
        ModalAnswerer answerer;
        windows = CreateWindows(DefaultStartOptions(), std::move(restoredQuestions));
        ASSERT_TRUE(answerer.Seen().empty());
    }
    TForm1* restored = windows->main.get();
    const WindowProbe shown(restored);
    EXPECT_EQ(shown.ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(shown.Edit1()->text(), "-x-y");
    EXPECT_EQ(shown.Label1()->text(), "Sujeto a:");
    EXPECT_EQ(shown.RichEdit1()->toPlainText(), text);
    EXPECT_TRUE(shown.Rational1()->isChecked());
    EXPECT_FALSE(shown.FloatingPoint1()->isChecked());
    EXPECT_TRUE(restored->State().session.Modified);
    EXPECT_EQ(restored->windowTitle(), "Optimara-  Modificado");
    restored->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(restored));
    EXPECT_EQ(shown.StatusBar1()->Text(1), "Hecho");
    EXPECT_EQ(shown.Edit2()->text(), "-8/3");
    EXPECT_EQ(Items(shown.ListBox2()), QStringList({"x=4/3", "y=4/3"}));
    form.reset(windows->main.release());
    questions = answers;
    EXPECT_EQ(Underlines(), underlines);
    // Still modified: opening another problem asks first.
    questions->openFile = [this] { return dir.filePath("tabvex.lp~"); };
    EXPECT_EQ(Run(Open1(), {ModalAnswerer::Click(QMessageBox::No)}).size(), 1u);
}

TEST_F(Session, FileNameWithBlanksModifiedAndFractionsGiveTheirSettingsLine) {
    ASSERT_TRUE(Start().empty());
    TypeProblem(1, "x", {"x<2"});
    // A Windows-style name is a plain relative file name here.
    const QString name = "C:\\Mis problemas\\dieta.lpf";
    questions->saveFile = [name](const QString&) { return name; };
    ASSERT_TRUE(Run(Saveas1()).empty());
    ASSERT_TRUE(QFile::exists(dir.filePath(name)));
    QTest::keyClicks(Edit1(), "+y");
    Run(Rational1());
    ASSERT_TRUE(Close().empty());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "1,1,C:\\Mis*problemas\\dieta.lpf");

    ASSERT_TRUE(Start().empty());
    EXPECT_EQ(form->windowTitle(), "Optimara- C:\\Mis problemas\\dieta.lpf Modificado");
    EXPECT_EQ(form->CurrentFileName(), name);
    EXPECT_TRUE(Rational1()->isChecked());
    EXPECT_EQ(Edit1()->text(), "x+y");
    // "&Guardar" writes the restored file name without asking.
    questions->saveFile = [](const QString&) -> QString {
        ADD_FAILURE() << "no dialog expected";
        return QString();
    };
    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(files::ReadProblemFile(dir.filePath(name)).objective, "x+y");
    EXPECT_EQ(form->windowTitle(), "Optimara- C:\\Mis problemas\\dieta.lpf");
}

TEST_F(Session, UntouchedRunWritesAnEmptyNameAndStartsWithoutAFile) {
    ASSERT_TRUE(Start().empty());
    ASSERT_TRUE(Close().empty());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "0,0,");
    const files::RichDocument autosave = files::ReadRichTextFile(dir.filePath("tabvex.lp~"));
    ASSERT_EQ(autosave.size(), 3u);
    EXPECT_EQ(autosave[0].text, "1Maximizar");
    EXPECT_EQ(autosave[1].text, "");
    EXPECT_EQ(autosave[2].text, "Sujeto a:");

    ASSERT_TRUE(Start().empty());
    EXPECT_EQ(form->windowTitle(), "Optimara- ");
    EXPECT_EQ(form->CurrentFileName(), "");
    EXPECT_FALSE(form->State().session.Modified);
    EXPECT_EQ(RichEdit1()->toPlainText(), "");
    EXPECT_EQ(Panel(0), "Nada para optimizar     ");
}

TEST_F(Session, HeadingAndAnUnreadableProblemComeBackAsText) {
    WriteFile("mio.lpf", "0Minimizar\r\n3x+\r\nRestricciones\r\nx<1\r\n");
    ASSERT_TRUE(Start().empty());
    questions->openFile = [this] { return dir.filePath("mio.lpf"); };
    ASSERT_TRUE(Run(Open1()).empty());
    ASSERT_EQ(Panel(0), "ERROR2: Número esperado       +");
    ASSERT_TRUE(Close().empty());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "0,0," + dir.filePath("mio.lpf").toUtf8());

    ASSERT_TRUE(Start().empty());
    EXPECT_EQ(Label1()->text(), "Restricciones");
    EXPECT_EQ(Edit1()->text(), "3x+");
    EXPECT_EQ(ComboBox1()->currentIndex(), 0);
    EXPECT_EQ(form->windowTitle(), "Optimara- " + dir.filePath("mio.lpf"));
    EXPECT_EQ(Panel(0), "ERROR2: Número esperado       +");
}

TEST_F(Session, ClosingWhileEnlargedRestoresTheWorkAreaFirst) {
    ASSERT_TRUE(Start().empty());
    TypeProblem(1, "3x+2y", {"x+y<4", "x>0", "y>0"});
    Press(Button1());
    Run(Enlarge1());
    ASSERT_TRUE(Restore1()->isEnabled());
    ASSERT_TRUE(Close().empty());
    EXPECT_FALSE(Restore1()->isEnabled());
    EXPECT_TRUE(Enlarge1()->isEnabled());
    EXPECT_TRUE(Image3()->isHidden());
    EXPECT_FALSE(Edit1()->isHidden());
    EXPECT_FALSE(StatusBar1()->isHidden());
    EXPECT_EQ(files::ReadProblemFile(dir.filePath("tabvex.lp~")).objective, "3x+2y");
}

TEST_F(Session, MissingOrUnreadableAutosaveIsReportedAndTheRestGoesOn) {
    WriteFile("tabvex.qzt", "1,1,C:\\a*b.lpf");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round == 1) {
            ASSERT_TRUE(QDir(dir.path()).mkdir("tabvex.lp~"));
        }
        const auto seen = Start({ModalAnswerer::Click(QMessageBox::Ok)});
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "Cannot open file tabvex.lp~.");
        EXPECT_EQ(seen[0].title, "Optimara");
        EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
        EXPECT_TRUE(Rational1()->isChecked());
        EXPECT_EQ(form->windowTitle(), "Optimara");
        EXPECT_FALSE(form->State().session.Modified);
        EXPECT_EQ(Edit1()->text(), "");
        EXPECT_EQ(RichEdit1()->toPlainText(), "");
        EXPECT_EQ(Panel(0), "Nada para optimizar     ");
        QTest::keyClicks(Edit1(), "x");
        EXPECT_EQ(form->windowTitle(), "Optimara- C:\\a b.lpf Modificado");
        form.reset();  // not closed: the settings stay for the next round
    }
}

TEST_F(Session, CutOrOddSettingsLinesCountAsZeroAndEmpty) {
    WriteFile("tabvex.lp~", "1Maximizar\r\nx\r\nSujeto a:\r\nx<1\r\n");
    const struct { QByteArray line; bool rational, modified; QString caption; } cases[] = {
        {"1,1", true, true, "Optimara-  Modificado"},
        {"1", false, true, "Optimara-  Modificado"},
        {"", false, false, "Optimara- "},
        {"x,1,nombre", false, false, "Optimara- "},
        {" 0 , 1,a*b c", false, false, "Optimara- "},
        {"0,1,a*b c\r\n", true, false, "Optimara- a b"},
        {"2,-1,p.lpf", false, false, "Optimara- p.lpf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        WriteFile("tabvex.qzt", c.line);
        ASSERT_TRUE(Start().empty());
        EXPECT_EQ(Rational1()->isChecked(), c.rational);
        EXPECT_EQ(FloatingPoint1()->isChecked(), !c.rational);
        EXPECT_EQ(form->State().session.Modified, c.modified);
        EXPECT_EQ(form->windowTitle(), c.caption);
        EXPECT_EQ(Edit1()->text(), "x");
        form.reset();
    }
}

TEST_F(Session, UnwritableSettingsArePassedOverSilently) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("tabvex.qzt"));
    ASSERT_TRUE(Start().empty());
    TypeProblem(1, "x", {"x<1"});
    EXPECT_TRUE(Close().empty());
    EXPECT_EQ(files::ReadProblemFile(dir.filePath("tabvex.lp~")).objective, "x");
}

TEST_F(Session, UnwritableAutosaveIsReportedAndTheWindowClosesAllTheSame) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("tabvex.lp~"));
    ASSERT_TRUE(Start().empty());
    TypeProblem(1, "x", {"x<1"});
    const auto seen = Close({ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot create file tabvex.lp~.");
    EXPECT_EQ(FileBytes("tabvex.qzt"), "1,0,");
    EXPECT_TRUE(form->State().session.Modified);
}

// Started in another user's folder: nothing it holds is shown or
// overwritten, the session lives in the user's state folder, and where
// that cannot be made either the first close of the run says so.
TEST_F(Session, AnotherUsersFolderShowsAndKeepsNothing) {
    if (geteuid() != 0) GTEST_SKIP() << "a second user must own the folder";
    QTemporaryDir state, data;
    const QByteArray savedState = qgetenv("XDG_STATE_HOME");
    const auto restore = qScopeGuard([&] {
        if (!savedState.isNull()) qputenv("XDG_STATE_HOME", savedState);
        if (savedState.isNull()) qunsetenv("XDG_STATE_HOME");
    });
    WriteFile("tabvex.qzt", "1,1,ajeno.lpf");
    WriteFile("L\xc3\xa9" "ame.txt", "ajeno");
    QFile installed(QDir(data.path()).filePath(QString::fromUtf8("Léame.txt")));
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly) && installed.write("instalado") == 9);
    installed.close();
    ASSERT_EQ(chown(QFile::encodeName(dir.path()).constData(), 65534, 65534), 0);
    std::unique_ptr<Windows> windows;
    const auto startProgram = [&](const QString& stateHome) {
        qputenv("XDG_STATE_HOME", QFile::encodeName(stateHome));
        auto scripted = std::make_unique<ScriptedQuestions>();
        questions = scripted.get();
        ModalAnswerer answerer;
        windows = CreateWindows({QString(), data.path()}, std::move(scripted));
        form.reset(windows->main.release());
        form->show();
        EXPECT_TRUE(answerer.Seen().empty());
    };
    startProgram(state.path());
    EXPECT_EQ(form->windowTitle(), "Optimara");
    EXPECT_EQ(windows->readme->Memo1->toPlainText(), "instalado");
    TypeProblem(1, "x", {"x<2"});
    ASSERT_TRUE(Close().empty());
    startProgram(state.path());
    EXPECT_EQ(RichEdit1()->toPlainText(), "x<2");
    // A file stands where the state folder would be made.
    startProgram(dir.filePath("tabvex.qzt"));
    const auto seen = Close({ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QString::fromUtf8("No se puede guardar la sesión en ninguna carpeta."));
    form->show();
    EXPECT_TRUE(Close().empty());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "1,1,ajeno.lpf");
}

TEST_F(Session, SalirClosesTheWindowAndWritesBothFiles) {
    ASSERT_TRUE(Start().empty());
    TypeProblem(1, "2x", {"x<3"});
    EXPECT_TRUE(Run(Exit1()).empty());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(FileBytes("tabvex.qzt"), "1,0,");
    const files::ProblemDocument autosave = files::ReadProblemFile(dir.filePath("tabvex.lp~"));
    EXPECT_EQ(autosave.objective, "2x");
    ASSERT_EQ(autosave.lines.size(), 1u);
    EXPECT_EQ(autosave.lines[0].text, "x<3");
    EXPECT_EQ(autosave.lines[0].underline, std::vector<bool>({false, true, false}));
}

// A settings file that cannot be read (a folder, a dangling link, no read
// permission) or none at all: the autosave comes back with default
// settings, and the next close keeps the problem instead of emptying it.
TEST_F(Session, BrokenSettingsStillBringBackTheAutosave) {
    const QString settings = dir.filePath("tabvex.qzt");
    const std::function<bool()> breakers[] = {
        [&] { return QDir(dir.path()).mkdir("tabvex.qzt"); },
        [&] { return QFile::link(dir.filePath("nowhere"), settings); },
        [&] {
            WriteFile("tabvex.qzt", "1,1,C:\\a.lpf");
            // Permissions do not bind every user; then the line is simply read.
            return QFile::setPermissions(settings, QFileDevice::Permissions()) && access(QFile::encodeName(settings).constData(), R_OK) != 0;
        },
        [] { return true; },  // no settings file at all
    };
    for (size_t k = 0; k < std::size(breakers); ++k) {
        SCOPED_TRACE(k);
        files::ProblemDocument problem;
        problem.comboIndex = 0;
        problem.objective = "x+y";
        problem.caption = "Sujeto a:";
        problem.lines = {files::RichParagraph::Plain("x+y>1"), files::RichParagraph::Plain("x>0"),
                         files::RichParagraph::Plain("y>0")};
        files::WriteProblemFile(dir.filePath("tabvex.lp~"), problem);
        if (!breakers[k]()) {
            QFile::setPermissions(settings, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            QFile::remove(settings);
            continue;
        }
        ASSERT_TRUE(Start().empty());
        EXPECT_EQ(Edit1()->text(), "x+y");
        EXPECT_EQ(ComboBox1()->currentIndex(), 0);
        EXPECT_EQ(RichEdit1()->toPlainText(), "x+y>1\nx>0\ny>0");
        EXPECT_TRUE(FloatingPoint1()->isChecked());
        EXPECT_FALSE(form->State().session.Modified);
        EXPECT_EQ(form->windowTitle(), "Optimara- ");
        EXPECT_EQ(Panel(1), "Hecho");
        form->close();
        form.reset();
        EXPECT_EQ(files::ReadProblemFile(dir.filePath("tabvex.lp~")).objective, "x+y");
        QFile::setPermissions(settings, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QDir(dir.path()).rmdir("tabvex.qzt");
        QFile::remove(settings);
    }
}

// A file name the settings line cannot hold as it is: the next run has no
// current file, so "&Guardar" asks instead of writing to another file.
TEST_F(Session, NameTheSettingsCannotHoldIsForgottenNotChanged) {
    const QString names[] = {dir.filePath("a*b.lpf"), dir.filePath("a\tb.lpf"), dir.filePath("a\nb.lpf"),
                             dir.path() + "/" + QString(250, u'n') + ".lpf"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(Start().empty());
        TypeProblem(1, "x", {"x<1"});
        questions->saveFile = [&](const QString&) { return name; };
        ASSERT_TRUE(Run(Saveas1()).empty());
        ASSERT_TRUE(Close().empty());
        EXPECT_EQ(FileBytes("tabvex.qzt"), "0,0,");
        ASSERT_TRUE(Start().empty());
        EXPECT_EQ(form->CurrentFileName(), "");
        int asked = 0;
        questions->saveFile = [&](const QString& preset) {
            ++asked;
            EXPECT_EQ(preset, "");
            return QString();
        };
        EXPECT_TRUE(Run(Save1()).empty());
        EXPECT_EQ(asked, 1);
        form.reset();
        QFile::remove(name);
        QFile::remove(dir.filePath("tabvex.qzt"));
        QFile::remove(dir.filePath("tabvex.lp~"));
    }
}

// The program's set-up makes a write beyond the file-size limit fail like a
// full disk: reported, the old file intact, the process alive. Tried in a
// child process, whose limit and signal handling the test may change.
TEST(FileSizeLimit, WriteBeyondTheLimitFailsWithoutEndingTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("p.lpf");
    files::ProblemDocument old;
    old.objective = "x";
    files::WriteProblemFile(target, old);
    const QByteArray before = [&] { QFile f(target); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        SetUpApplication();
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 4096;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
        files::ProblemDocument big;
        big.objective = QString(20000, u'x');
        try {
            files::WriteProblemFile(target, big);
        } catch (const files::FileError& error) {
            _exit(error.text() == "Failed to Save Stream" ? 0 : 2);
        }
        _exit(1);
    }
    ASSERT_GT(child, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    QFile after(target);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"p.lpf"});
}

} // namespace
} // namespace optimara::uitest
