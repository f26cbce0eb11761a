// SPDX-License-Identifier: GPL-3.0-or-later
#include "BranchWindow.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>
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
    // A press moves the current row before the click ends: the click
    // chooses only a row the keys or the window had not made current.
    connect(Nodes, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (row != previous) Choose(row);
    });
    connect(Nodes, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row != chosen_) Choose(row);
    });
    connect(Nodes, &QTableWidget::activated, this, [this](const QModelIndex& index) { Choose(index.row()); });
    resize(kDesignSize);
}

void TBranchForm::Choose(int row) {
    if (row < 0) return;
    chosen_ = row;
    if (chooseNode) RunGuarded([this, row] { chooseNode(row + 1); });
}

void TBranchForm::Show(const std::vector<std::string>& headings, const std::vector<BranchRow>& rows,
                       const std::string& summary, int shown) {
    // Filling the rows moves no choice: only the user's moves show a node.
    const QSignalBlocker quiet(Nodes);
    Summary->setText(QString::fromStdString(summary));
    // Columns fitted to their contents would be measured again at every
    // cell set, over every row: fitted once, after the whole fill.
    QHeaderView* header = Nodes->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    Nodes->setUpdatesEnabled(false);
    if (Nodes->columnCount() != int(headings.size())) {
        QStringList labels;
        for (const std::string& h : headings) labels << QString::fromStdString(h);
        Nodes->setColumnCount(int(headings.size()));
        Nodes->setHorizontalHeaderLabels(labels);
    }
    Nodes->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < Nodes->rowCount(); ++r)
        for (int c = 0; c < int(headings.size()) && c < int(rows[size_t(r)].cells.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(rows[size_t(r)].cells[size_t(c)]));
            if (rows[size_t(r)].best) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            Nodes->setItem(r, c, item);
        }
    Nodes->resizeColumnsToContents();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    Nodes->setUpdatesEnabled(true);
    if (shown >= 1 && shown <= Nodes->rowCount()) {
        Nodes->setCurrentCell(shown - 1, std::max(Nodes->currentColumn(), 0));
        chosen_ = shown - 1;
    }
}

} // namespace optimara
