// SPDX-License-Identifier: GPL-3.0-or-later
// The problem-file commands of the "&Archivo" menu, the caption that shows
// the file and its modified state, and the session that lives on from one
// run to the next (settings line and autosave).
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

#include "Application.h"
#include "EditorDocument.h"
#include "FileIO.h"
#include "ModelImport.h"
#include "MainWindow.h"
#include "WindowFrame.h"
#include "ProblemFile.h"
#include "Settings.h"
#include "WindowHost.h"

namespace optimara {

namespace {

// A file of the session, in the folder chosen for it.
QString SessionFile(const files::SessionFolder& folder, const char* name) {
    return folder.FilePath(QString::fromLatin1(name));
}

// A file of another tool: a CPLEX LP or an MPS file, by its name.
bool OtherToolFile(const QString& name) {
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == "lp" || suffix == "mps" || suffix == "fmps";
}

// Reads another tool's file into the typed problem; false, the refusal
// shown, when it cannot be read, and false without a word for a problem file.
bool ReadOtherTool(const QString& name, ProblemText& text) {
    if (!OtherToolFile(name)) return false;
    QFile file(name);
    // A huge file is refused by its size, without reading it.
    QString refusal;
    ImportResult result;
    if (file.size() > qint64(kMaxImportBytes)) {
        refusal = QString::fromUtf8(kImportTooLarge);
    } else if (!file.open(QIODevice::ReadOnly)) {
        refusal = QString::fromUtf8("No se puede abrir el archivo «%1».").arg(name);
    } else {
        const std::string bytes = file.readAll().toStdString();
        result = QFileInfo(name).suffix().toLower() == "lp" ? ImportLp(bytes) : ImportMps(bytes);
        refusal = QString::fromStdString(result.refusal);
    }
    if (!result.ok) {
        ShowErrorBox(refusal);
        return false;
    }
    text = result.text;
    return true;
}

} // namespace

QString TForm1::CurrentFileName() const { return QString::fromStdString(state_.session.CurrentFileName); }

void TForm1::ShowCaption() { setWindowTitle(QString::fromStdString(state_.session.Caption())); }


void TForm1::ProblemFileWriter(const QString& fileName) {
    // The header lines go straight into the document written; the editor
    // itself is never touched by a save.
    files::ProblemDocument problem;
    problem.comboIndex = ComboBox1->currentIndex();
    problem.comboText = ComboBox1->currentText();
    problem.objective = Edit1->text();
    problem.caption = Label1->text();
    problem.lines = ToRichDocument(*RichEdit1->document());
    files::WriteProblemFile(fileName, problem);
    state_.session.Saved();
    ShowCaption();
}

bool TForm1::SaveProblemAs() {
    const QString name = questions_->ChooseSaveFile(this, CurrentFileName());
    if (name.isEmpty()) return false;
    state_.session.CurrentFileName = name.toStdString();
    ProblemFileWriter(name);
    return true;
}

bool TForm1::SaveProblem() {
    if (state_.session.CurrentFileName.empty()) return SaveProblemAs();
    ProblemFileWriter(CurrentFileName());
    return true;
}

void TForm1::Saveas1Click() { SaveProblemAs(); }

void TForm1::Save1Click() { SaveProblem(); }

void TForm1::Open1Click() {
    const QString name = questions_->ChooseOpenFile(this);
    if (name.isEmpty()) return;
    // Another tool's file is read whole before anything is asked or cleared:
    // a refusal leaves the problem on screen as it was.
    ProblemText imported;
    if (ReadOtherTool(name, imported)) {
        if (MayReplaceProblem()) frame_->PutNewProblem(imported);
        return;
    }
    if (OtherToolFile(name)) return;
    // Unsaved work is replaced only with the user's consent: a cancelled
    // save dialog cancels the opening, and a failed save stops it with its error.
    if (!MayReplaceProblem()) return;
    // Read before anything is cleared, so a file that cannot be read leaves
    // the problem on screen as it was.
    ReplaceProblem(files::ReadProblemFile(name), name);
    Button1Click();
}

void TForm1::ReplaceProblem(const files::ProblemDocument& problem, const QString& fileName) {
    Clear1Click();
    LoadProblem(problem);
    // The loads above were reported as edits; the opened problem is not modified.
    state_.session.Opened(fileName.toStdString());
    ShowCaption();
}

void TForm1::LoadProblem(const files::ProblemDocument& problem) {
    files::RichDocument lines = problem.lines;
    // Plain lines carry no formatting of their own: they take the editor's
    // font, which is underlined.
    if (!problem.richText)
        for (files::RichParagraph& line : lines) line.underline.assign(size_t(line.text.size()), true);
    LoadRichDocument(*RichEdit1, lines);
    ComboBox1->setCurrentIndex(problem.comboIndex);
    Edit1->setText(problem.objective);
    // Whatever the file holds is shown as it is, never as markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(problem.caption);
    Label1->adjustSize();
}

void TForm1::Clear1Click() {
    state_.session.Cleared();
    ShowCaption();
    // The grid keeps its top-left cell, as a grid cut down to one cell does.
    GridModel->SetCells(1, 1, {GridModel->Cell(0, 0)});
    frame_->host.SetErrorPanel("");
    StatusBar1->SetText(1, "");
    frame_->host.ClearNames();
    ListBox2->clear();
    Edit1->clear();
    Edit2->clear();
    RichEdit1->clear();
    ComboBox1->setCurrentIndex(1);
    // Nothing of the cleared problem may be shown or drawn again by a
    // notation switch or a view command.
    ForgetProblem(state_.problem, true);
    ListBox3->clear();
    SetViewButtonsEnabled(false);
    Image3->DropPicture();
    ClearPicture();  // blanks Image1 in the button face and hides Shape1
    Shape1->hide();
    // Emptying the texts above is no edit of the user's.
    state_.session.Cleared();
    ShowCaption();
}

void TForm1::RestoreSession() {
    // Nowhere to keep a session: every run starts as the first.
    if (!state_.sessionFolder.Usable()) return;
    const QString autosave = SessionFile(state_.sessionFolder, files::kAutosaveFileName);
    std::optional<files::Settings> settings = files::ReadSettingsFile(SessionFile(state_.sessionFolder, files::kSettingsFileName));
    if (!settings) {
        // First run: the window stays as designed. A settings file that is
        // broken (unreadable, a folder, a dangling link) must not cost the
        // last problem, which the next close would overwrite with nothing.
        if (!QFileInfo(autosave).isFile()) return;
        settings = files::Settings{};
    }
    settings->rational ? Rational1Click() : FloatingPoint1Click();
    state_.session.CurrentFileName = settings->fileName.toStdString();
    // A missing or unreadable autosave raises its error here; the window
    // then starts with an empty problem, not modified, caption as designed.
    const files::ProblemDocument problem = files::ReadProblemFile(autosave);
    LoadProblem(problem);
    state_.session.Restored(settings->fileName.toStdString(), settings->modified);
    ShowCaption();
}

void TForm1::OpenStartFile(const QString& fileName) {
    // Named as the open dialog names a chosen file.
    const QString name = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
    const std::optional<files::Settings> settings =
        state_.sessionFolder.Usable() ? files::ReadSettingsFile(SessionFile(state_.sessionFolder, files::kSettingsFileName))
                                      : std::nullopt;
    // The notation is the user's preference, not part of a problem.
    if (settings) settings->rational ? Rational1Click() : FloatingPoint1Click();
    files::ProblemDocument problem;
    try {
        problem = files::ReadProblemFile(name);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
        RestoreSession();
        return;
    }
    // Work left unsaved at the last close lives only in the autosave, which
    // this run's close overwrites: it is offered for saving as "&Abrir"
    // offers it, and a cancelled save dialog keeps it on screen instead.
    if (settings && settings->modified && questions_->AskToSave(this)) {
        bool restored = false;
        RunGuarded([&] {
            RestoreSession();
            restored = true;
        });
        if (restored && !SaveProblem()) return;
    }
    ReplaceProblem(problem, name);
}

void TForm1::FormCloseQuery() {
    // A failure to redraw the restored layout must not keep the work from
    // being written.
    if (Restore1->isEnabled()) RunGuarded([this] { Restore1Click(); });
    if (!state_.sessionFolder.Usable()) {
        // Said once: a user who closes the window again already knows.
        if (state_.sessionLossReported) return;
        state_.sessionLossReported = true;
        ShowErrorBox(QString::fromUtf8("No se puede guardar la sesión en ninguna carpeta"));
        return;
    }
    files::Settings settings;
    settings.modified = state_.session.Modified;
    settings.rational = Rational1->isChecked();
    settings.fileName = CurrentFileName();
    files::WriteSettingsFile(settings, SessionFile(state_.sessionFolder, files::kSettingsFileName));  // not writable: passed over silently
    ProblemFileWriter(SessionFile(state_.sessionFolder, files::kAutosaveFileName));
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The close never waits for the user: a failed autosave is reported and
    // the window closes all the same (the settings and the last saved file
    // are what the next start finds).
    RunGuarded([this] { FormCloseQuery(); });
    event->accept();
}

bool TForm1::MayReplaceProblem() {
    return !(state_.session.Modified && questions_->AskToSave(this) && !SaveProblem());
}

} // namespace optimara
