// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExerciseFeature.h"

#include "Questions.h"

namespace optimara {

ExerciseFeature::ExerciseFeature(FeatureHost& host) : Feature(host) {
    setObjectName("ExerciseFeature");
    NewExercise1 = host_.AddMenuItem(MenuPlace::FileNew, "Nuevo &ejercicio...", "NewExercise1");
    OnTrigger(NewExercise1, [this] { NewExercise1Click(); });
}

void ExerciseFeature::NewExercise1Click() {
    ExerciseRequest request = last_;
    if (!host_.Ask().AskExercise(host_.Window(), request)) return;
    last_ = request;
    // An impossible request says why; nothing on screen is touched.
    const ExerciseResult exercise = MakeExercise(request);
    if (!exercise.made) {
        ShowErrorBox(QString::fromStdString(exercise.refusal));
        return;
    }
    if (host_.MayReplaceProblem()) host_.PutNewProblem(exercise.text);
}

} // namespace optimara
