// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the optimum says beyond itself: the sensitivity window with the dual
// problem, the objective's level line on the picture, and the problem
// exported as an LP file for other solvers.
#include "Feature.h"
#include "SensitivityView.h"

class QAction;

namespace optimara {

class TSensitivityForm;

class SensitivityFeature : public Feature {
    Q_OBJECT
public:
    explicit SensitivityFeature(FeatureHost& host);

    void StepsShown() override;
    void ZoomChanged(int percent) override;
    void DrawLayer(QImage& layer, const QSize& size, int variables) override;

private:
    void Wire();
    SensitivityView CurrentSensitivity() const;
    void Sensitivity1Click();
    void OpenDual();
    void ExportLp1Click();
    void ViewObjective1Click();

    QAction* ExportLp1 = nullptr;
    QAction* Sensitivity1 = nullptr;
    QAction* ViewObjective1 = nullptr;
    TSensitivityForm* sensitivity_ = nullptr;
};

} // namespace optimara
