// SPDX-License-Identifier: GPL-3.0-or-later
#include "ZoomFeature.h"

#include <QAbstractItemView>
#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QWheelEvent>

#include "Application.h"
#include "Zoom.h"

namespace optimara {

namespace {

constexpr char kZoomKey[] = "zoom";

QSettings ZoomSettings() { return QSettings("Optimara", "Optimara"); }

} // namespace

ZoomFeature::ZoomFeature(FeatureHost& host) : Feature(host) {
    setObjectName("ZoomFeature");
    QMenu* menu = host_.AddMenu(MenuPlace::BarView, "&Ver", "ViewMenu");
    ZoomIn1 = menu->addAction("A&mpliar");
    ZoomIn1->setObjectName("ZoomIn1");
    ZoomIn1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ZoomOut1 = menu->addAction("Red&ucir");
    ZoomOut1->setObjectName("ZoomOut1");
    ZoomOut1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ZoomNormal1 = menu->addAction(QString::fromUtf8("Tamaño &normal"));
    ZoomNormal1->setObjectName("ZoomNormal1");
    ZoomNormal1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    host_.Grid()->viewport()->installEventFilter(this);
    OnTrigger(ZoomIn1, [this] { SetZoom(ZoomIn(host_.Zoom())); });
    OnTrigger(ZoomOut1, [this] { SetZoom(ZoomOut(host_.Zoom())); });
    OnTrigger(ZoomNormal1, [this] { SetZoom(kNormalZoom); });
}

void ZoomFeature::Start() { ShowZoom(ZoomStep(ZoomSettings().value(kZoomKey, kNormalZoom).toInt())); }

void ZoomFeature::SetZoom(int percent) {
    percent = ZoomStep(percent);
    if (percent == host_.Zoom()) return;
    ZoomSettings().setValue(kZoomKey, percent);
    ShowZoom(percent);
}

void ZoomFeature::ShowZoom(int percent) {
    ZoomIn1->setEnabled(percent < kZoomSteps.back());
    ZoomOut1->setEnabled(percent > kZoomSteps.front());
    host_.ShowZoom(percent);
}

bool ZoomFeature::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return Feature::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!(wheel->modifiers() & Qt::ControlModifier)) return false;
    // A touchpad turns in small parts of a notch: a step per whole notch.
    wheelZoom_ += wheel->angleDelta().y();
    for (; wheelZoom_ >= 120; wheelZoom_ -= 120) ZoomIn1->trigger();
    for (; wheelZoom_ <= -120; wheelZoom_ += 120) ZoomOut1->trigger();
    return true;
}

} // namespace optimara
