// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form the grid shows the tableau in: the compact exchange tableau, the
// textbooks' full tableau, the dictionary or the matrix form with B⁻¹. Only
// the reading changes: the steps, the pivots and the path stay the method's.
#include <array>

#include "Feature.h"
#include "TableauForms.h"

class QAction;
class QMenu;

namespace optimara {

class TableauFormFeature : public Feature {
    Q_OBJECT
public:
    explicit TableauFormFeature(FeatureHost& host);

private:
    void Choose(TableauForm form);

    QMenu* TableFormMenu1 = nullptr;
    std::array<QAction*, 4> items_{};  // in the order of TableauForm
};

} // namespace optimara
