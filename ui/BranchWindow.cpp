// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Application.h"

namespace optimara {

TBranchForm::TBranchForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("Arbol");
    setWindowTitle(QString::fromUtf8("Árbol de ramificación"));
    auto* layout = new QVBoxLayout(this);
    Summary = new QLabel(this);
    Summary->setObjectName("ArbolSummary");
    layout->addWidget(Summary);
    Nodes = new QTableWidget(0, int(kBranchHeadings.size()), this);
    Nodes->setObjectName("ArbolNodes");
    QStringList labels;
    for (const char* h : kBranchHeadings) labels << QString::fromUtf8(h);
    Nodes->setHorizontalHeaderLabels(labels);
    Nodes->verticalHeader()->hide();
    Nodes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Nodes->setSelectionBehavior(QAbstractItemView::SelectRows);
    Nodes->setSelectionMode(QAbstractItemView::SingleSelection);
    Nodes->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(Nodes);
    connect(Nodes, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (chooseNode) RunGuarded([this, row] { chooseNode(row + 1); });
    });
    resize(640, 420);
}

void TBranchForm::Show(const std::vector<BranchRow>& rows, const std::string& summary) {
    Summary->setText(QString::fromStdString(summary));
    Nodes->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < Nodes->rowCount(); ++r)
        for (int c = 0; c < int(kBranchHeadings.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[size_t(r)].cells[size_t(c)]));
            if (rows[size_t(r)].best) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            Nodes->setItem(r, c, item);
        }
}

} // namespace optimara
