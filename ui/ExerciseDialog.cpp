// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of "Nuevo ejercicio...": what kind of exercise to make.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include "Questions.h"

namespace optimara {

bool DialogQuestions::AskExercise(QWidget* window, ExerciseRequest& request) {
    QDialog dialog(window);
    dialog.setObjectName("ExerciseQuestion");
    dialog.setWindowTitle(QString::fromUtf8("Nuevo ejercicio"));
    auto* form = new QFormLayout(&dialog);
    const auto spin = [&dialog](const char* name, int low, int high, int value) {
        auto* box = new QSpinBox(&dialog);
        box->setObjectName(name);
        box->setRange(low, high);
        box->setValue(value);
        return box;
    };
    QSpinBox* variables = spin("ExerciseVariables", 2, 4, int(request.variables));
    QSpinBox* lines = spin("ExerciseLines", 2, 5, int(request.lines));
    auto* sense = new QComboBox(&dialog);
    sense->setObjectName("ExerciseSense");
    sense->addItems({"Maximizar", "Minimizar"});
    sense->setCurrentIndex(request.maximize ? 0 : 1);
    auto* greater = new QCheckBox(QString::fromUtf8("Líneas «≥» y «=»"), &dialog);
    greater->setObjectName("ExerciseGreater");
    greater->setChecked(request.greaterAndEqual);
    auto* integer = new QCheckBox("Variables enteras", &dialog);
    integer->setObjectName("ExerciseInteger");
    integer->setChecked(request.integer);
    auto* kind = new QComboBox(&dialog);
    kind->setObjectName("ExerciseKind");
    for (ExerciseKind k : ExerciseKinds()) kind->addItem(QString::fromStdString(ExerciseKindCaption(k)));
    kind->setCurrentIndex(int(std::find(ExerciseKinds().begin(), ExerciseKinds().end(), request.kind) -
                              ExerciseKinds().begin()));
    QSpinBox* seed = spin("ExerciseSeed", 1, 999999, int(request.seed));
    form->addRow("Variables:", variables);
    form->addRow(QString::fromUtf8("Líneas:"), lines);
    form->addRow("Objetivo:", sense);
    form->addRow("", greater);
    form->addRow("", integer);
    form->addRow("Tipo:", kind);
    form->addRow("Semilla:", seed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    request.variables = uint32_t(variables->value());
    request.lines = uint32_t(lines->value());
    request.maximize = sense->currentIndex() == 0;
    request.greaterAndEqual = greater->isChecked();
    request.integer = integer->isChecked();
    request.kind = ExerciseKinds()[size_t(kind->currentIndex())];
    request.seed = uint64_t(seed->value());
    return true;
}

} // namespace optimara
