// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The learning aids of the steps: going back over the pivots made, stepping
// on, choosing the pivot by hand (from the menu or the grid's own menu), the
// road the method took drawn on the picture, and the steps written out as a
// page for printing.
#include "Feature.h"
#include "StepsPage.h"

class QAction;
class QMenu;
class QPoint;

namespace optimara {

class Questions;

class StepsFeature : public Feature {
    Q_OBJECT
public:
    explicit StepsFeature(FeatureHost& host);

    void StepsShown() override;
    void DrawLayer(QImage& layer, const QSize& size, int variables) override;

    void StepBack1Click();
    // Writes the page of the steps made so far to the file.
    void SaveStepsTo(const QString& fileName);
    void SaveLatexTo(const QString& fileName);
    void SavePdfTo(const QString& fileName);

private:
    void Wire();
    void StepForward1Click();
    void ChoosePivot1Click();
    void ViewPath1Click();
    void SaveStepsAs1Click();
    void ExportLatex1Click();
    void ExportPdf1Click();
    void PrintSteps1Click();
    void ExportSteps(QAction* item, QString (Questions::*choose)(QWidget*), void (StepsFeature::*save)(const QString&));
    files::StepsPage PageOfSteps();
    void ChoosePivotAt(int gridRow, int gridCol);
    void GridMenuRequested(const QPoint& pos);

    QAction* StepBack1 = nullptr;
    QAction* StepForward1 = nullptr;
    QAction* ChoosePivot1 = nullptr;
    QAction* ViewPath1 = nullptr;
    QAction* SaveStepsAs1 = nullptr;
    QAction* ExportLatex1 = nullptr;
    QAction* ExportPdf1 = nullptr;
    QAction* PrintSteps1 = nullptr;
    QMenu* GridMenu1 = nullptr;
    QAction* PivotHere1 = nullptr;
    int menuRow_ = -1, menuCol_ = -1;  // the grid cell the grid's menu was opened on
};

} // namespace optimara
