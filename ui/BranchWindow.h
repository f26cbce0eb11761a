// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Árbol de ramificación": the nodes of the last branch and bound beside
// the main window, without blocking it. Choosing a node asks the main
// window to show it; the window itself only shows the rows it is given.
#include <QWidget>
#include <functional>
#include <vector>

#include "BranchView.h"

class QLabel;
class QTableWidget;

namespace optimara {

class TBranchForm : public QWidget {
    Q_OBJECT
public:
    // Its size at normal zoom.
    static constexpr QSize kDesignSize{640, 420};

    explicit TBranchForm(QWidget* parent = nullptr);
    // The rows, the current one that of node `shown` (none for 0).
    void Show(const std::vector<std::string>& headings, const std::vector<BranchRow>& rows,
              const std::string& summary, int shown = 0);
    // Run with the node's number when the user chooses a row: a click, the
    // arrow keys moving the current row, or Enter.
    std::function<void(int)> chooseNode;

    QLabel* Summary = nullptr;
    QTableWidget* Nodes = nullptr;

private:
    void Choose(int row);
    int chosen_ = -1;  // the row last chosen or shown
};

} // namespace optimara
