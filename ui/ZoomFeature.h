// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The zoom of the results' texts and the picture's lines: the "&Ver" menu,
// Ctrl with the wheel over the grid, and the zoom remembered for the next run.
#include "Feature.h"

class QAction;
class QEvent;

namespace optimara {

class ZoomFeature : public Feature {
    Q_OBJECT
public:
    explicit ZoomFeature(FeatureHost& host);

    // Shows the results at the step nearest to `percent` and keeps it.
    void SetZoom(int percent);
    // The zoom of the last run.
    void Start() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowZoom(int percent);

    QAction* ZoomIn1 = nullptr;
    QAction* ZoomOut1 = nullptr;
    QAction* ZoomNormal1 = nullptr;
    int wheelZoom_ = 0;  // the wheel's turn not yet made a zoom step
};

} // namespace optimara
