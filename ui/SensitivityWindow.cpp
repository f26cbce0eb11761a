// SPDX-License-Identifier: GPL-3.0-or-later
#include "SensitivityWindow.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Application.h"

namespace optimara {
namespace {

QTableWidget* MakeTable(const std::array<const char*, 5>& headings, const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(0, 5, parent);
    table->setObjectName(name);
    QStringList labels;
    for (const char* h : headings) labels << QString::fromUtf8(h);
    table->setHorizontalHeaderLabels(labels);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return table;
}

void Fill(QTableWidget* table, const std::vector<std::array<std::string, 5>>& rows) {
    table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[size_t(r)][size_t(c)]));
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
}

QString Joined(const std::vector<std::string>& lines) {
    QStringList list;
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list.join('\n');
}

QPlainTextEdit* MakeText(const QString& name, QWidget* parent) {
    auto* text = new QPlainTextEdit(parent);
    text->setObjectName(name);
    text->setReadOnly(true);
    return text;
}

} // namespace

TSensitivityForm::TSensitivityForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Sensibilidad");
    setWindowTitle("Sensibilidad");
    auto* layout = new QVBoxLayout(this);
    Nothing = new QLabel(this);
    Nothing->setObjectName("SensitivityNothing");
    Nothing->setWordWrap(true);
    layout->addWidget(Nothing);
    Pages = new QTabWidget(this);
    Pages->setObjectName("SensitivityPages");
    layout->addWidget(Pages);

    auto* ranging = new QWidget(Pages);
    auto* rangingLayout = new QVBoxLayout(ranging);
    rangingLayout->addWidget(new QLabel("Restricciones:", ranging));
    LinesTable = MakeTable(kSensitivityLineHeadings, "SensitivityLines", ranging);
    rangingLayout->addWidget(LinesTable);
    rangingLayout->addWidget(new QLabel("Variables:", ranging));
    VariablesTable = MakeTable(kSensitivityVariableHeadings, "SensitivityVariables", ranging);
    rangingLayout->addWidget(VariablesTable);
    for (QLabel** label : {&Words, &Bounds}) {
        *label = new QLabel(ranging);
        (*label)->setWordWrap(true);
        rangingLayout->addWidget(*label);
    }
    Words->setObjectName("SensitivityWords");
    Bounds->setObjectName("SensitivityBounds");
    Pages->addTab(ranging, "&Sensibilidad");

    auto* dual = new QWidget(Pages);
    auto* dualLayout = new QGridLayout(dual);
    dualLayout->addWidget(new QLabel("Problema primal:", dual), 0, 0);
    dualLayout->addWidget(new QLabel("Problema dual:", dual), 0, 1);
    PrimalText = MakeText("PrimalText", dual);
    DualText = MakeText("DualText", dual);
    dualLayout->addWidget(PrimalText, 1, 0);
    dualLayout->addWidget(DualText, 1, 1);
    PrimalOptimum = new QLabel(dual);
    PrimalOptimum->setObjectName("PrimalOptimum");
    DualOptimum = new QLabel(dual);
    DualOptimum->setObjectName("DualOptimum");
    dualLayout->addWidget(PrimalOptimum, 2, 0);
    dualLayout->addWidget(DualOptimum, 2, 1);
    OpenDualButton = new QPushButton("Abrir el dual", dual);
    OpenDualButton->setObjectName("OpenDual");
    dualLayout->addWidget(OpenDualButton, 3, 1, Qt::AlignRight);
    Pages->addTab(dual, "&Problema dual");
    connect(OpenDualButton, &QPushButton::clicked, this, [this] {
        if (openDual) RunGuarded([this] { openDual(); });
    });
    resize(kDesignSize);
}

void TSensitivityForm::Show(const SensitivityView& view) {
    Nothing->setText(QString::fromStdString(view.nothing));
    Nothing->setVisible(!view.available);
    Pages->setEnabled(view.available);
    Fill(LinesTable, view.lines);
    Fill(VariablesTable, view.variables);
    Words->setText(QString::fromStdString(view.words));
    Bounds->setText(QString::fromStdString(view.bounds));
    Bounds->setVisible(!view.bounds.empty());
    PrimalText->setPlainText(Joined(view.primal));
    DualText->setPlainText(Joined(view.dual));
    PrimalOptimum->setText(view.available ? QString::fromUtf8("Óptimo: ") + QString::fromStdString(view.primalOptimum)
                                          : QString());
    DualOptimum->setText(view.available ? QString::fromUtf8("Óptimo: ") + QString::fromStdString(view.dualOptimum)
                                        : QString());
    OpenDualButton->setEnabled(view.available && !view.dualText.objective.empty());
}

} // namespace optimara
