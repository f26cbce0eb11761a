// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Integer variables: the presses of "Una Solución" and "Paso a paso" that
// searched by branch and bound shown node after node, the tree beside the
// main window, a chosen node's last tableau in the grid, and the integer
// points with the node's bounds as a layer of the picture.
#include "Feature.h"

class QAction;

namespace optimara {

class TBranchForm;

class BranchFeature : public Feature {
    Q_OBJECT
public:
    explicit BranchFeature(FeatureHost& host);

    void SolveRan(SolveRun run) override;
    void StepsForgotten() override;
    void ZoomChanged(int percent) override;
    void DrawLayer(QImage& layer, const QSize& size, int variables) override;

private:
    // After presses of the search: where it stands, or the end it reached.
    void ShowSearchState();
    void ShowSearchEnd();
    // Shows a node's last tableau; with ownRegion the picture shows the
    // node's region, else the typed problem's.
    void ShowBranchNode(int number, bool ownRegion);
    void UpdateBranchWindow();
    void Tree1Click();
    void ViewIntegers1Click();

    QAction* Tree1 = nullptr;
    QAction* ViewIntegers1 = nullptr;
    TBranchForm* tree_ = nullptr;
};

} // namespace optimara
