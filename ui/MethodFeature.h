// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The methods courses teach, chosen in the steps menu: the compact method,
// two phases, big M and the dual simplex for the next build; branch and
// bound or Gomory's cutting planes for integer problems; a line added at an
// optimum, restored by the dual simplex. The choices are the user's
// settings; the cuts are a layer of the picture.
#include <array>

#include "Feature.h"

class QAction;
class QMenu;

namespace optimara {

class MethodFeature : public Feature {
    Q_OBJECT
public:
    explicit MethodFeature(FeatureHost& host);

    void StepsShown() override;
    void DrawLayer(QImage& layer, const QSize& size, int variables) override;

private:
    void CreateMethodMenu();
    void CreateIntegerMenu();
    void ChooseMethod(SolveMethod method);
    void ChooseIntegers(IntegerMethod method);
    void AddConstraint1Click();
    void DrawCutPlanes(QImage& layer);

    QMenu* MethodMenu1 = nullptr;
    QMenu* IntegerMethodMenu1 = nullptr;
    QAction* NodesFromParent1 = nullptr;
    QAction* AddConstraint1 = nullptr;
    std::array<QAction*, 4> methods_{};   // in the order of SolveMethod
    std::array<QAction*, 2> integers_{};  // in the order of IntegerMethod
};

} // namespace optimara
