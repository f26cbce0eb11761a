// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A part of the window that owns itself: its menu items, its panel or
// windows, its picture layer and its settings keys. It is made with the
// window (in the list of Features.cpp) and sees the window only as its
// host; the window tells every feature of what may concern it.
#include <QAction>
#include <QObject>
#include <QSize>
#include <memory>
#include <vector>

#include "Application.h"
#include "FeatureHost.h"

class QImage;

namespace optimara {

class Feature : public QObject {
    Q_OBJECT
public:
    explicit Feature(FeatureHost& host) : host_(host) {}

    // Once every feature is made: what it shows from the start.
    virtual void Start() {}

    // The results' texts are now shown at this zoom.
    virtual void ZoomChanged(int /*percent*/) {}
    // A tableau, or an error in its place, has just been shown.
    virtual void TableauShown() {}
    // The work area is shown again, or hidden behind the enlarged picture.
    virtual void WorkAreaShown(bool /*visible*/) {}
    // The user chose a grid cell that cannot be the pivot.
    virtual void PivotRefused(int /*gridRow*/, int /*gridCol*/) {}
    // The steps may have moved: a solve, a step, a node shown, the work
    // area, an edit of the problem.
    virtual void StepsShown() {}
    // A press of "Una Solución" or "Paso a paso" ran this.
    virtual void SolveRan(SolveRun /*run*/) {}
    // The steps were forgotten with the picture they were drawn on.
    virtual void StepsForgotten() {}
    // Draws the feature's layer over the picture of `size` for a problem of
    // `variables` variables; `layer` is null while nothing was drawn on it.
    virtual void DrawLayer(QImage& /*layer*/, const QSize& /*size*/, int /*variables*/) {}

protected:
    // A menu item's command, run as every command is: a failure is shown,
    // never let out of the handler.
    void OnTrigger(QAction* item, std::function<void()> command) {
        ConnectGuarded(item, &QAction::triggered, this, std::move(command));
    }
    // A checkable item turns its mark over by itself; the command does that.
    void OnToggle(QAction* item, std::function<void()> command) { ConnectToggle(item, this, std::move(command)); }

    FeatureHost& host_;
};

// Every feature hears of it, in the list's order.
template <typename Notice>
void Tell(const std::vector<std::unique_ptr<Feature>>& features, Notice notice) {
    for (const auto& feature : features) notice(*feature);
}

// Every feature of the window, in the order they are made.
std::vector<std::unique_ptr<Feature>> CreateFeatures(FeatureHost& host);

} // namespace optimara
