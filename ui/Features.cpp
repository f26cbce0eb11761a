// SPDX-License-Identifier: GPL-3.0-or-later
// The window's features: a new one is a line here.
#include "BranchFeature.h"
#include "ExerciseFeature.h"
#include "ExplainFeature.h"
#include "MethodFeature.h"
#include "PracticeFeature.h"
#include "Feature.h"
#include "SensitivityFeature.h"
#include "StepsFeature.h"
#include "TableauFormFeature.h"
#include "ZoomFeature.h"

namespace optimara {

std::vector<std::unique_ptr<Feature>> CreateFeatures(FeatureHost& host) {
    std::vector<std::unique_ptr<Feature>> features;
    // Their layers are drawn over the picture in this order.
    features.push_back(std::make_unique<ExplainFeature>(host));
    features.push_back(std::make_unique<ZoomFeature>(host));
    features.push_back(std::make_unique<BranchFeature>(host));
    features.push_back(std::make_unique<StepsFeature>(host));
    features.push_back(std::make_unique<PracticeFeature>(host));
    features.push_back(std::make_unique<MethodFeature>(host));
    features.push_back(std::make_unique<SensitivityFeature>(host));
    features.push_back(std::make_unique<TableauFormFeature>(host));
    features.push_back(std::make_unique<ExerciseFeature>(host));
    return features;
}

} // namespace optimara
