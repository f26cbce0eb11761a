// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Nuevo ejercicio...": a fresh problem of the kind the user asks for, with
// small numbers on every tableau of its path, put in place of the one on
// screen (unsaved work saved or let go first).
#include "Exercises.h"
#include "Feature.h"

namespace optimara {

class ExerciseFeature : public Feature {
    Q_OBJECT
public:
    explicit ExerciseFeature(FeatureHost& host);

private:
    void NewExercise1Click();
    QAction* NewExercise1 = nullptr;
    ExerciseRequest last_;  // the dialog offers the last request again
};

} // namespace optimara
