// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The explanation of every step, the rule that chooses the pivot, the exact
// arithmetic and the names of the slack variables: the panel under the work
// area shows what the display's explanation says, and the user's choices
// are kept in the preferences.
#include "Feature.h"
#include "ProblemState.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace optimara {

class ExplainFeature : public Feature {
    Q_OBJECT
public:
    explicit ExplainFeature(FeatureHost& host);

    void ZoomChanged(int percent) override;
    void TableauShown() override;
    void WorkAreaShown(bool visible) override;
    void PivotRefused(int gridRow, int gridCol) override;

private:
    void CreateMenus();
    void Wire();
    void SavePreferences() const;
    void RuleClick(PivotRule rule);
    void ViewExplanation1Click();
    void SlackNames1Click();
    void ExactArithmetic1Click();

    QPlainTextEdit* Explicacion = nullptr;
    QMenu* RuleMenu1 = nullptr;
    QAction* RuleRandom1 = nullptr;
    QAction* RuleLargest1 = nullptr;
    QAction* RuleBland1 = nullptr;
    QAction* ViewExplanation1 = nullptr;
    QAction* SlackNames1 = nullptr;
    QAction* ExactArithmetic1 = nullptr;
};

} // namespace optimara
