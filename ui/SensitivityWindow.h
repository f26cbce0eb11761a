// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Sensibilidad": what the optimum says beyond itself, shown beside the main
// window without blocking it. It only shows the texts it is given; the main
// window decides when to give them and what "Abrir el dual" does.
#include <QWidget>
#include <functional>

#include "SensitivityView.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTabWidget;

namespace optimara {

class TSensitivityForm : public QWidget {
    Q_OBJECT
public:
    // Its size at normal zoom.
    static constexpr QSize kDesignSize{620, 480};

    explicit TSensitivityForm(QWidget* parent = nullptr);
    void Show(const SensitivityView& view);
    // Run by "Abrir el dual".
    std::function<void()> openDual;

    QLabel* Nothing = nullptr;
    QTabWidget* Pages = nullptr;
    QTableWidget* LinesTable = nullptr;
    QTableWidget* VariablesTable = nullptr;
    QLabel* Words = nullptr;
    QLabel* Bounds = nullptr;
    QPlainTextEdit* PrimalText = nullptr;
    QPlainTextEdit* DualText = nullptr;
    QLabel* PrimalOptimum = nullptr;
    QLabel* DualOptimum = nullptr;
    QPushButton* OpenDualButton = nullptr;
};

} // namespace optimara
