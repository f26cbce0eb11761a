// SPDX-License-Identifier: GPL-3.0-or-later
// The problem-file commands on the real window: saving, opening, clearing,
// the caption with its modified state, the question before unsaved work is
// replaced, and what a failed save or an unreadable file leaves behind.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <sys/resource.h>

#include "FileIO.h"
#include "UiTestSupport.h"
#include "catalogue/Catalogue.h"

namespace optimara::uitest {
namespace {

using Dialogs = std::vector<ModalAnswerer::Action>;

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray();
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Everything of the window a file command may change.
struct WindowShot {
    int combo;
    QString objective, caption, text, underlines, title, fileName, status, error, value;
    bool modified, ready;
    QStringList solution;
    bool operator==(const WindowShot&) const = default;
};

void PrintTo(const WindowShot& s, std::ostream* os) {
    *os << "{" << s.combo << " '" << s.objective.toStdString() << "' '" << s.caption.toStdString() << "' '"
        << s.text.toStdString() << "' " << s.underlines.toStdString() << " '" << s.title.toStdString()
        << "' modified=" << s.modified << " status='" << s.status.toStdString() << "'}";
}

// What typing gives: the signs underlined and nothing else.
QString TypedUnderlines(const QStringList& lines) {
    QString marks;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        if (k > 0) marks += '|';
        for (QChar c : lines[k]) marks += (c == '<' || c == '>') ? '_' : '.';
    }
    return marks;
}

QStringList ToLines(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list;
}

class FileCommands : public WindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        QDir::setCurrent(previous);
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    // Runs a menu command; every box it shows is answered as listed (and any
    // further one rejected), and the boxes seen are returned.
    std::vector<SeenDialog> Run(QAction* item, Dialogs answers = {}) {
        ModalAnswerer answerer(std::move(answers));
        item->trigger();
        return answerer.Seen();
    }
    // The file dialogs answered through the window's hooks.
    std::vector<SeenDialog> SaveAs(const QString& path, Dialogs answers = {}) {
        questions->saveFile = [path](const QString&) { return path; };
        return Run(Saveas1(), std::move(answers));
    }
    std::vector<SeenDialog> Open(const QString& path, Dialogs answers = {}) {
        questions->openFile = [path] { return path; };
        return Run(Open1(), std::move(answers));
    }

    WindowShot Shot() const {
        return WindowShot{ComboBox1()->currentIndex(),    Edit1()->text(),
                          Label1()->text(),               RichEdit1()->toPlainText(),
                          Underlines(RichEdit1()),        form->windowTitle(),
                          form->CurrentFileName(),      QString::fromStdString(Panel(1)),
                          QString::fromStdString(Panel(0)),   Edit2()->text(),
                          form->State().session.Modified,             form->State().problem.ProblemReady,
                          Items(ListBox2())};
    }

    void TypeWorkedExample() { TypeProblem(1, "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}); }

    QTemporaryDir dir;
    QString previous;
};

// Every known problem typed key by key, saved, cleared and opened again:
// the same choice, objective, heading, lines and underlines, and solved.
TEST_F(FileCommands, KnownProblemsSurviveSaveClearAndOpen) {
    using catalogue::Outcome;
    int k = 0;
    for (const catalogue::KnownProblem& p : catalogue::Problems()) {
        SCOPED_TRACE(p.name);
        const QStringList lines = ToLines(p.lines);
        TypeProblem(p.comboIndex, QString::fromStdString(p.objective), lines);
        ASSERT_EQ(Underlines(RichEdit1()), TypedUnderlines(lines));
        const WindowShot typed = Shot();
        EXPECT_TRUE(typed.modified);

        const QString path = Path(QString("problem %1.lpf").arg(++k));
        EXPECT_TRUE(SaveAs(path).empty());
        EXPECT_EQ(form->windowTitle(), "Optimara- " + path);
        EXPECT_FALSE(form->State().session.Modified);
        EXPECT_TRUE(Run(Clear1()).empty());
        EXPECT_EQ(RichEdit1()->toPlainText(), "");

        EXPECT_TRUE(Open(path).empty());
        const WindowShot opened = Shot();
        EXPECT_EQ(opened.combo, p.comboIndex);
        EXPECT_EQ(opened.objective, typed.objective);
        EXPECT_EQ(opened.caption, "Sujeto a:");
        EXPECT_EQ(opened.text, typed.text);
        EXPECT_EQ(opened.underlines, typed.underlines);
        EXPECT_EQ(opened.title, "Optimara- " + path);
        EXPECT_EQ(opened.fileName, path);
        EXPECT_FALSE(opened.modified);
        EXPECT_EQ(opened.error, "");
        if (p.outcome == Outcome::Optimal) {
            EXPECT_TRUE(opened.status == "Hecho" || opened.status == "vale") << opened.status.toStdString();
            EXPECT_NEAR(opened.value.toDouble(), p.objectiveValue, 1e-9);
        } else {
            const QString expected = p.outcome == Outcome::Infeasible ? "No factible" : "Ilimitado";
            EXPECT_EQ(opened.status.toLower(), expected.toLower());
        }
    }
}

TEST_F(FileCommands, SavedFileHoldsTheThreeHeaderLinesBeforeTheConstraints) {
    TypeProblem(1, "3x+2y", {"x+y<4"});
    const QString path = Path("ejemplo.lpf");
    ASSERT_TRUE(SaveAs(path).empty());
    const QByteArray bytes = FileBytes(path);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1")) << bytes.left(40).toStdString();
    const files::RichDocument saved = files::ReadRichTextFile(path);
    ASSERT_EQ(saved.size(), 4u);
    EXPECT_EQ(saved[0].text, "1Maximizar");
    EXPECT_EQ(saved[1].text, "3x+2y");
    EXPECT_EQ(saved[2].text, "Sujeto a:");
    EXPECT_EQ(saved[3].text, "x+y<4");
    EXPECT_EQ(saved[3].underline, std::vector<bool>({false, false, false, true, false}));
    // The save writes the file only: the editor keeps its one line.
    EXPECT_EQ(RichEdit1()->toPlainText(), "x+y<4");

    SetSense(0);
    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(files::ReadRichTextFile(path).at(0).text, "0Minimizar");
}

TEST_F(FileCommands, OnlyALeadingZeroOpensAsMinimize) {
    const struct { QByteArray first; int combo; } cases[] = {
        {"0", 0}, {"0Maximizar", 0}, {"1Minimizar", 1}, {"7", 1}, {"", 1}, {" 0Minimizar", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first.toStdString());
        WriteBytes(Path("sense.lpf"), c.first + "\r\nx+y\r\nSujeto a:\r\nx<1\r\ny<1\r\nx>0\r\ny>0\r\n");
        // Start from the other choice, so the opening has to set it.
        ComboBox1()->setCurrentIndex(1 - c.combo);
        ASSERT_TRUE(Open(Path("sense.lpf")).empty());
        EXPECT_EQ(ComboBox1()->currentIndex(), c.combo);
        EXPECT_EQ(Edit2()->text(), c.combo == 0 ? "0" : "2");
    }
}

TEST_F(FileCommands, ThirdLineRelabelsTheConstraintsAndClearKeepsIt) {
    WriteBytes(Path("r.lpf"), "1Maximizar\r\nx\r\nRestricciones\r\nx<3\r\nx>0\r\n");
    ASSERT_TRUE(Open(Path("r.lpf")).empty());
    EXPECT_EQ(Label1()->text(), "Restricciones");
    EXPECT_GE(Label1()->width(), Label1()->sizeHint().width());
    ASSERT_TRUE(Run(Clear1()).empty());
    EXPECT_EQ(Label1()->text(), "Restricciones");
    // A heading that looks like markup is shown as it is.
    WriteBytes(Path("m.lpf"), "1Maximizar\r\nx\r\n<b>R</b>\r\nx<3\r\n");
    ASSERT_TRUE(Open(Path("m.lpf")).empty());
    EXPECT_EQ(Label1()->text(), "<b>R</b>");
    EXPECT_EQ(Label1()->textFormat(), Qt::PlainText);
}

TEST_F(FileCommands, PlainTextFileOpensLikeARichTextOne) {
    TypeWorkedExample();
    ASSERT_TRUE(SaveAs(Path("rich.lpf")).empty());
    ASSERT_TRUE(Open(Path("rich.lpf")).empty());
    const WindowShot rich = Shot();
    ASSERT_TRUE(Run(Clear1()).empty());
    WriteBytes(Path("plain.lpf"), "1Maximizar\r\n3x+2y\r\nSujeto a:\r\nx+y<4\r\nx+3y<6\r\nx>0\r\ny>0\r\n");
    ASSERT_TRUE(Open(Path("plain.lpf")).empty());
    const WindowShot plain = Shot();
    EXPECT_EQ(plain.combo, rich.combo);
    EXPECT_EQ(plain.objective, rich.objective);
    EXPECT_EQ(plain.text, rich.text);
    // Plain lines take the editor's underlined font.
    EXPECT_FALSE(plain.underlines.contains('.')) << plain.underlines.toStdString();
    EXPECT_EQ(plain.status, "Hecho");
    EXPECT_EQ(plain.value, "12");
    EXPECT_EQ(plain.solution, rich.solution);
    EXPECT_EQ(plain.title, "Optimara- " + Path("plain.lpf"));
}

TEST_F(FileCommands, TypingAfterOpeningMarksTheCaptionOnce) {
    // A Windows-style name is a plain relative file name here.
    WriteBytes(Path("C:\\p.lpf"), "1Maximizar\r\nx\r\nSujeto a:\r\nx<1\r\n");
    questions->openFile = [] { return QString("C:\\p.lpf"); };
    ASSERT_TRUE(Run(Open1()).empty());
    EXPECT_EQ(form->windowTitle(), "Optimara- C:\\p.lpf");
    EXPECT_TRUE(form->State().problem.ProblemReady);
    Edit1()->setFocus();
    QTest::keyClick(Edit1(), Qt::Key_End);
    QTest::keyClicks(Edit1(), "+");
    EXPECT_EQ(form->windowTitle(), "Optimara- C:\\p.lpf Modificado");
    EXPECT_TRUE(form->State().session.Modified);
    EXPECT_FALSE(form->State().problem.ProblemReady);
    QTest::keyClicks(RichEdit1(), "y");
    EXPECT_EQ(form->windowTitle(), "Optimara- C:\\p.lpf Modificado");
}

TEST_F(FileCommands, NeverSavedModifiedProblemShowsTwoBlanks) {
    QTest::keyClicks(Edit1(), "x");
    EXPECT_EQ(form->windowTitle(), "Optimara-  Modificado");
}

TEST_F(FileCommands, SaveWithoutAFileAsksForANameAndItsCancelWritesNothing) {
    TypeWorkedExample();
    int asked = 0;
    QString preset = "unset";
    questions->saveFile = [&](const QString& p) { ++asked; preset = p; return QString(); };
    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(preset, "");
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_TRUE(form->State().session.Modified);
    EXPECT_EQ(form->windowTitle(), "Optimara-  Modificado");

    const QString path = Path("guardado.lpf");
    questions->saveFile = [&](const QString& p) { ++asked; preset = p; return path; };
    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(form->windowTitle(), "Optimara- " + path);

    // With a current file "&Guardar" asks nothing and writes it again.
    QTest::keyClicks(Edit1(), "+y");
    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(files::ReadRichTextFile(path).at(1).text, "3x+2y+y");
    EXPECT_FALSE(form->State().session.Modified);
    // "Guardar Como..." offers the current name.
    ASSERT_TRUE(Run(Saveas1()).empty());
    EXPECT_EQ(preset, path);
}

TEST_F(FileCommands, OpenAsksOnlyWhileModified) {
    WriteBytes(Path("a.lpf"), "0Minimizar\r\nx+y\r\nSujeto a:\r\nx+y>2\r\nx>0\r\ny>0\r\n");
    ASSERT_TRUE(Open(Path("a.lpf")).empty());
    EXPECT_EQ(Edit2()->text(), "2");

    QTest::keyClicks(Edit1(), "+x");
    const auto seen = Open(Path("a.lpf"), {ModalAnswerer::Click(QMessageBox::No)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, QString::fromUtf8("¿Deseas guardar ahora tu trabajo? "));
    EXPECT_EQ(seen[0].title, "Tu trabajo no se ha guardado ");
    EXPECT_EQ(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
    // No: the change is dropped and the file opened as it is.
    EXPECT_EQ(Edit1()->text(), "x+y");
    EXPECT_EQ(files::ReadRichTextFile(Path("a.lpf")).at(1).text, "x+y");
    EXPECT_FALSE(form->State().session.Modified);

    // Yes with a current file saves it without a dialog, then opens.
    QTest::keyClicks(Edit1(), "+x");
    questions->saveFile = [](const QString&) -> QString {
        ADD_FAILURE() << "no dialog expected";
        return QString();
    };
    ASSERT_EQ(Open(Path("a.lpf"), {ModalAnswerer::Click(QMessageBox::Yes)}).size(), 1u);
    EXPECT_EQ(files::ReadRichTextFile(Path("a.lpf")).at(1).text, "x+y+x");
    EXPECT_EQ(Edit1()->text(), "x+y+x");
    EXPECT_EQ(form->windowTitle(), "Optimara- " + Path("a.lpf"));
}

TEST_F(FileCommands, ClearEmptiesTheProblemButNotTheNotation) {
    TypeWorkedExample();
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    ASSERT_TRUE(Shape1()->isVisible());
    ASSERT_TRUE(SaveAs(Path("c.lpf")).empty());
    Rational1()->trigger();
    ASSERT_TRUE(Run(Clear1()).empty());

    EXPECT_EQ(GridModel()->rowCount(), 1);
    EXPECT_EQ(GridModel()->columnCount(), 1);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(ListBox1()->count(), 0);
    EXPECT_TRUE(form->State().problem.Names.empty());
    EXPECT_EQ(ListBox2()->count(), 0);
    EXPECT_EQ(Edit1()->text(), "");
    EXPECT_EQ(Edit2()->text(), "");
    EXPECT_EQ(RichEdit1()->toPlainText(), "");
    EXPECT_EQ(ComboBox1()->currentIndex(), 1);
    EXPECT_FALSE(form->State().problem.ProblemReady);
    EXPECT_FALSE(Shape1()->isVisible());
    EXPECT_FALSE(form->State().session.Modified);
    EXPECT_EQ(form->CurrentFileName(), "");
    EXPECT_EQ(form->windowTitle(), "Optimara");
    const QImage& picture = Image1()->Picture();
    const QColor face = form->Colors().btnFace;
    for (const QPoint p : {QPoint(0, 0), QPoint(picture.width() / 2, picture.height() / 2),
                           QPoint(picture.width() - 1, picture.height() - 1)})
        EXPECT_EQ(picture.pixelColor(p), face) << p.x() << "," << p.y();
    EXPECT_TRUE(Rational1()->isChecked());
    EXPECT_EQ(Label1()->text(), "Sujeto a:");
    // The editor is still the underlined Arial one.
    EXPECT_TRUE(RichEdit1()->document()->defaultFont().underline());
    EXPECT_EQ(RichEdit1()->document()->defaultFont().family(), "Arial");
}

TEST_F(FileCommands, RealDialogsAddTheSuffixAndConfirmOverwriting) {
    TypeWorkedExample();
    QStringList filters;
    auto choose = [&](const QString& name) {
        return [&filters, name](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            ModalAnswerer::ChooseFile(name)(w);
        };
    };
    auto seen = Run(Saveas1(), {choose(Path("problema"))});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(filters, QStringList({"Linear Programing Files (*.lpf)"}));
    EXPECT_EQ(form->CurrentFileName(), Path("problema.lpf"));
    const QByteArray first = FileBytes(Path("problema.lpf"));
    ASSERT_FALSE(first.isEmpty());

    // The dialog offers the current name; choosing an existing file asks
    // before replacing it, and "No" followed by a cancel writes nothing.
    QString offered;
    QString confirmation;
    QTest::keyClicks(Edit1(), "+y");
    // The confirmation opens inside the file dialog's own answer, so it is
    // answered from a timer of its own.
    auto chooseExisting = [&](QWidget* w) {
        offered = qobject_cast<QFileDialog*>(w)->selectedFiles().value(0);
        QTimer::singleShot(20, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            confirmation = box->text();
            box->button(QMessageBox::No)->click();
        });
        ModalAnswerer::ChooseFile(Path("problema.lpf"))(w);
    };
    seen = Run(Saveas1(), {chooseExisting, ModalAnswerer::Cancel()});
    EXPECT_EQ(offered, Path("problema.lpf"));
    EXPECT_TRUE(confirmation.contains("problema.lpf")) << confirmation.toStdString();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(FileBytes(Path("problema.lpf")), first);
    EXPECT_TRUE(form->State().session.Modified);

    ASSERT_TRUE(Run(Clear1()).empty());
    // Without a current file nothing is offered, not the last name chosen.
    offered = "unset";
    seen = Run(Saveas1(), {[&](QWidget* w) {
                                   offered = w->findChild<QLineEdit*>("fileNameEdit")->text();
                                   ModalAnswerer::Cancel()(w);
                               }});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(offered, "");
    seen = Run(Open1(), {choose(Path("problema.lpf"))});
    ASSERT_EQ(seen.size(), 1u);
    // Opening offers the problem files first, then other tools' files.
    EXPECT_EQ(filters, QStringList({"Linear Programing Files (*.lpf)", "Archivos LP (*.lp)",
                                    "Archivos MPS (*.mps *.fmps)"}));
    EXPECT_EQ(Edit1()->text(), "3x+2y");
    EXPECT_EQ(Panel(1), "Hecho");
}

TEST_F(FileCommands, CancelledOpenDialogChangesNothing) {
    TypeWorkedExample();
    const WindowShot before = Shot();
    ASSERT_TRUE(Open(QString()).empty());
    EXPECT_EQ(Shot(), before);
}

// Writes beyond this size fail, for root too; the signal that would end
// the process is ignored so the write reports the failure instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

TEST_F(FileCommands, FailedSaveKeepsTheOldFileAndTheModifiedState) {
    TypeWorkedExample();
    const QString path = Path("keep.lpf");
    ASSERT_TRUE(SaveAs(path).empty());
    const QByteArray old = FileBytes(path);
    ASSERT_LT(old.size(), 1000);
    // A much longer problem that cannot be written whole.
    QStringList lines;
    for (int i = 0; i < 200; ++i) lines << QString("x+%1y<%2").arg(i + 1).arg(100 + i);
    PasteProblem(1, "3x+2y", lines);
    const WindowShot before = Shot();
    ASSERT_TRUE(before.modified);
    std::vector<SeenDialog> seen;
    {
        FileSizeLimit limit(static_cast<rlim_t>(old.size()) + 16);
        seen = Run(Save1(), {ModalAnswerer::Click(QMessageBox::Ok)});
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Failed to Save Stream.");
    EXPECT_EQ(seen[0].title, "Optimara");
    EXPECT_EQ(seen[0].icon, QMessageBox::Critical);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.lpf"}));
    EXPECT_EQ(Shot(), before);

    ASSERT_TRUE(Run(Save1()).empty());
    EXPECT_EQ(files::ReadRichTextFile(path).size(), 203u);
}

TEST_F(FileCommands, FailedPictureExportKeepsTheOldBitmap) {
    TypeWorkedExample();
    Press(Button1());
    ASSERT_TRUE(Image1()->HasPicture());
    const QString path = Path("region.bmp");
    const QByteArray old = "an older picture";
    WriteBytes(path, old);
    // The dialog asks before replacing the file; it is accepted once the
    // answerer has returned, so that it can answer that question too.
    const ModalAnswerer::Action choose = [path](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog*>(dialog)->accept(); });
    };
    std::vector<SeenDialog> seen;
    {
        FileSizeLimit limit(1000);
        seen = Run(SaveImageAs1(), {choose, ModalAnswerer::Click(QMessageBox::Yes),
                                        ModalAnswerer::Click(QMessageBox::Ok)});
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().text, "Failed to Save Stream.");
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"region.bmp"}));
    // Without the limit the same export replaces it with the picture.
    Run(SaveImageAs1(), {choose, ModalAnswerer::Click(QMessageBox::Yes)});
    EXPECT_EQ(QImage(path).size(), Image1()->Picture().size());
}

// A file far larger than any problem is refused before the window is
// cleared; the problem on screen stays as it was.
TEST_F(FileCommands, OversizedFileIsRefusedBeforeAnythingIsCleared) {
    TypeWorkedExample();
    Press(Button1());
    const WindowShot before = Shot();
    QByteArray big = "1Maximizar\r\nx\r\nSujeto a:\r\nx<1\r\n";
    const QByteArray comment = "; " + QByteArray(60, 'c') + "\r\n";
    while (big.size() <= files::kMaxReadSize) big += comment;
    WriteBytes(Path("big.lpf"), big);
    const auto seen = Open(Path("big.lpf"), {ModalAnswerer::Click(QMessageBox::No), ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Failed to Load Stream.");
    EXPECT_EQ(Shot(), before);
    // Cut to the limit it opens.
    WriteBytes(Path("big.lpf"), big.first(files::kMaxReadSize));
    EXPECT_EQ(Open(Path("big.lpf"), {ModalAnswerer::Click(QMessageBox::No)}).size(), 1u);
    EXPECT_EQ(Edit1()->text(), "x");
}

TEST_F(FileCommands, UncreatableFileIsReportedAndNothingChanges) {
    QDir(dir.path()).mkdir("carpeta.lpf");
    for (const QString& target : {Path("carpeta.lpf"), Path("no existe/p.lpf")}) {
        SCOPED_TRACE(target.toStdString());
        TypeWorkedExample();
        const WindowShot before = Shot();
        const auto seen = SaveAs(target, {ModalAnswerer::Click(QMessageBox::Ok)});
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, "Cannot create file " + target + ".");
        const WindowShot after = Shot();
        EXPECT_EQ(after.title, before.title);
        EXPECT_TRUE(after.modified);
        EXPECT_EQ(after.text, before.text);
    }
}

TEST_F(FileCommands, CancelledSaveAfterYesCancelsTheOpening) {
    WriteBytes(Path("otro.lpf"), "0Minimizar\r\nx\r\nSujeto a:\r\nx>1\r\n");
    TypeWorkedExample();
    Press(Button1());
    const WindowShot before = Shot();
    questions->saveFile = [](const QString&) { return QString(); };
    const auto seen = Open(Path("otro.lpf"), {ModalAnswerer::Click(QMessageBox::Yes)});
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, "Tu trabajo no se ha guardado ");
    EXPECT_EQ(Shot(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"otro.lpf"}));
}

TEST_F(FileCommands, FailedSaveAfterYesStopsTheOpening) {
    WriteBytes(Path("otro.lpf"), "0Minimizar\r\nx\r\nSujeto a:\r\nx>1\r\n");
    TypeWorkedExample();
    const WindowShot before = Shot();
    questions->saveFile = [this](const QString&) { return dir.path(); };
    const auto seen =
        Open(Path("otro.lpf"), {ModalAnswerer::Click(QMessageBox::Yes), ModalAnswerer::Click(QMessageBox::Ok)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].text, "Cannot create file " + dir.path() + ".");
    EXPECT_EQ(Edit1()->text(), before.objective);
    EXPECT_EQ(RichEdit1()->toPlainText(), before.text);
    EXPECT_TRUE(form->State().session.Modified);
}

TEST_F(FileCommands, UnreadableFileLeavesTheWindowAsItWas) {
    TypeWorkedExample();
    ASSERT_TRUE(SaveAs(Path("actual.lpf")).empty());
    TypeObjective("3x+3y");
    Press(Button1());
    ASSERT_EQ(Panel(1), "Hecho");
    QDir(dir.path()).mkdir("carpeta");
    const WindowShot before = Shot();
    for (const QString& name : {Path("borrado.lpf"), Path("carpeta")}) {
        SCOPED_TRACE(name.toStdString());
        // Modified: the question comes first, then the file fails to open.
        const auto seen =
            Open(name, {ModalAnswerer::Click(QMessageBox::No), ModalAnswerer::Click(QMessageBox::Ok)});
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].text, "Cannot open file " + name + ".");
        EXPECT_EQ(seen[1].icon, QMessageBox::Critical);
        EXPECT_EQ(Shot(), before);
        EXPECT_EQ(GridModel()->rowCount(), 4);
    }
}

} // namespace
} // namespace optimara::uitest
