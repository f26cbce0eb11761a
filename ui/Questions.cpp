// SPDX-License-Identifier: GPL-3.0-or-later
#include "Questions.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "Application.h"
#include "Driver.h"

namespace optimara {

namespace {

const char* const kMoreNodesText = "Ramificación de 1000 nodos. Deseas probar otros 1000 nodos más?";
const char* const kMoreNodesCaption = "Ramificación y acotación";
const char* const kMoreCutsText = "Se han añadido 50 planos de corte. ¿Añadir otros 50 más?";
const char* const kMoreCutsCaption = "Planos de corte";
const char* const kFileFilter = "Linear Programing Files (*.lpf)";
// What other tools write, read as problems too.
const char* const kOtherToolFilters = "Archivos LP (*.lp);;Archivos MPS (*.mps *.fmps)";
const char* const kFileSuffix = "lpf";

QFileDialog* MakeFileDialog(QWidget* parent, const QString& name, QFileDialog::AcceptMode mode,
                           const QString& suffix, const QString& filter) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(name);
    dialog->setAcceptMode(mode);
    dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(suffix);
    dialog->setNameFilter(filter);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setOption(QFileDialog::ReadOnly, false);
    return dialog;
}

QFileDialog* MakeProblemDialog(QWidget* parent, const QString& name, QFileDialog::AcceptMode mode) {
    return MakeFileDialog(parent, name, mode, kFileSuffix, kFileFilter);
}

QString ChosenFile(QFileDialog* dialog) {
    if (dialog->exec() != QDialog::Accepted) return QString();
    const QStringList files = dialog->selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

// A file to write, from a dialog made the first time it is asked for and
// kept, so that it opens again where the user left it.
QString ChosenFileToSave(QFileDialog*& dialog, QWidget* window, const char* name, const char* suffix,
                         const char* filter) {
    if (!dialog) dialog = MakeFileDialog(window, name, QFileDialog::AcceptSave, suffix, QString::fromUtf8(filter));
    return ChosenFile(dialog);
}

bool AnsweredYes(QWidget* window, const char* caption, const char* text, const char* name = "") {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setObjectName(name);
    WidenToCaption(box);
    return box.exec() == QMessageBox::Yes;
}

} // namespace

bool DialogQuestions::AskRestart(QWidget* window) { return AnsweredYes(window, kRestartCaption, kRestartText); }

bool DialogQuestions::AskMoreNodes(QWidget* window) {
    return AnsweredYes(window, kMoreNodesCaption, kMoreNodesText, "NodesQuestion");
}

bool DialogQuestions::AskMoreCuts(QWidget* window) {
    return AnsweredYes(window, kMoreCutsCaption, kMoreCutsText, "CutsQuestion");
}

QString DialogQuestions::AskConstraint(QWidget* window) {
    QInputDialog dialog(window);
    dialog.setObjectName("ConstraintQuestion");
    dialog.setWindowTitle(QString::fromUtf8("Añadir restricción"));
    dialog.setLabelText(QString::fromUtf8("Restricción (como una línea del problema, p. ej. x+y<3):"));
    dialog.setInputMode(QInputDialog::TextInput);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString DialogQuestions::ChooseOpenFile(QWidget* window) {
    if (!OpenDialog1) {
        OpenDialog1 = MakeProblemDialog(window, "OpenDialog1", QFileDialog::AcceptOpen);
        OpenDialog1->setNameFilters(QStringList{QString::fromUtf8(kFileFilter)} +
                                    QString::fromUtf8(kOtherToolFilters).split(";;"));
    }
    return ChosenFile(OpenDialog1);
}

QString DialogQuestions::ChooseSaveFile(QWidget* window, const QString& preset) {
    if (!SaveDialog1) SaveDialog1 = MakeProblemDialog(window, "SaveDialog1", QFileDialog::AcceptSave);
    if (!preset.isEmpty()) {
        SaveDialog1->selectFile(preset);
    } else if (auto* name = SaveDialog1->findChild<QLineEdit*>("fileNameEdit")) {
        // With no current file nothing is offered, not the last name chosen.
        name->clear();
    }
    return ChosenFile(SaveDialog1);
}

bool DialogQuestions::AskToSave(QWidget* window) {
    return AnsweredYes(window, "Tu trabajo no se ha guardado ", "¿Deseas guardar ahora tu trabajo? ", "SaveQuestion");
}

QString DialogQuestions::ChooseImageFile(QWidget* window) {
    return ChosenFileToSave(SaveDialog2, window, "SaveDialog2", "bmp", "Bitmap Files (*.bmp)");
}

QString DialogQuestions::ChooseStepsFile(QWidget* window) {
    return ChosenFileToSave(SaveDialog3, window, "SaveDialog3", "html", "Páginas HTML (*.html *.htm)");
}

QString DialogQuestions::ChooseLatexFile(QWidget* window) {
    return ChosenFileToSave(SaveDialog5, window, "SaveDialog5", "tex", "Documentos LaTeX (*.tex)");
}

QString DialogQuestions::ChoosePdfFile(QWidget* window) {
    return ChosenFileToSave(SaveDialog6, window, "SaveDialog6", "pdf", "Documentos PDF (*.pdf)");
}

// The preview's print button asks for the printer in the print dialog.
bool DialogQuestions::PrintSteps(QWidget* window, const std::function<void(QPrinter&)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("Optimara: pasos"));
    QPrintPreviewDialog preview(&printer, window);
    preview.setObjectName("PrintPreview1");
    preview.setWindowTitle(QString::fromUtf8("Imprimir pasos"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&paint](QPrinter* p) { paint(*p); });
    return preview.exec() == QDialog::Accepted;
}

QString DialogQuestions::ChooseLpFile(QWidget* window) {
    return ChosenFileToSave(SaveDialog4, window, "SaveDialog4", "lp", "CPLEX LP (*.lp)");
}

} // namespace optimara
